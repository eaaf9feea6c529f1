// The statement table: one source for running, argument checks, help and
// completion; mistakes are named with the nearest valid words.
#include <gtest/gtest.h>

#include <sstream>

#include "HostScript.h"
#include "ScriptTable.h"

using namespace host;

namespace {

std::string MatchError(const ScriptWords& w) {
  ScriptMatch m;
  std::string err;
  EXPECT_FALSE(ScriptStatements().Match(w, m, err));
  return err;
}

TEST(ScriptTable, MistakesNameTheNearestWords) {
  EXPECT_EQ(MatchError({"opn", "a.xml"}), "unknown statement 'opn'; did you mean open? (help lists them)");
  EXPECT_EQ(MatchError({"frobnicate"}), "unknown statement 'frobnicate' (help lists them)");
  EXPECT_EQ(MatchError({"expect", "hso", "contian", "X"}),
            "expect hso: unknown 'contian'; did you mean contains? (one of: count, contains, lacks)");
  EXPECT_EQ(MatchError({"expect"}).substr(0, 27), "expect needs one of: messag");
  EXPECT_EQ(MatchError({"print", "tre"}).substr(0, 40), "print: unknown 'tre'; did you mean tree?");
  EXPECT_EQ(MatchError({"answer", "maybe"}).substr(0, 25), "answer: unknown 'maybe' (");
}

TEST(ScriptTable, ArgumentCountsAreChecked) {
  EXPECT_EQ(MatchError({"open"}), "usage: open FILE");
  EXPECT_EQ(MatchError({"open", "a", "b"}), "usage: open FILE");
  EXPECT_EQ(MatchError({"expect", "ended", "now"}), "usage: expect ended");
  EXPECT_EQ(MatchError({"expect", "hso", "count"}), "usage: expect hso count N");
  EXPECT_EQ(MatchError({"pick"}), "usage: pick [tree|viewer|dialog|in|graph] [PLANT] PATH...");
  ScriptMatch m;
  std::string err;
  ASSERT_TRUE(ScriptStatements().Match({"expect", "hso", "count", "2"}, m, err)) << err;
  EXPECT_EQ(m.path, "expect hso count");
  EXPECT_EQ(m.argsAt, 3u);
  ASSERT_TRUE(ScriptStatements().Match({"select"}, m, err));
  ASSERT_TRUE(ScriptStatements().Match({"echo", "a", "b", "c"}, m, err));
}

// Every statement and sub-statement explains itself; top-level ones with an example.
TEST(ScriptTable, HelpCoversEveryStatement) {
  const ScriptTable& t = ScriptStatements();
  const std::string all = t.Help();
  for (auto& s : t.All()) {
    EXPECT_NE(all.find("\n  " + s.name + " "), std::string::npos) << s.name;
    std::string text, err;
    ASSERT_TRUE(t.Help({s.name}, text, err)) << s.name;
    EXPECT_NE(text.find("Example:"), std::string::npos) << s.name;
    EXPECT_FALSE(s.summary.empty()) << s.name;
    EXPECT_TRUE(s.run || !s.subs.empty()) << s.name;
    std::vector<std::pair<std::string, const ScriptStatement*>> work;
    for (auto& sub : s.subs) work.emplace_back(s.name, &sub);
    while (!work.empty()) {
      auto [prefix, sub] = work.back();
      work.pop_back();
      EXPECT_FALSE(sub->summary.empty()) << prefix << " " << sub->name;
      EXPECT_TRUE(sub->run || !sub->subs.empty()) << prefix << " " << sub->name;
      for (auto& deeper : sub->subs) work.emplace_back(prefix + " " + sub->name, &deeper);
    }
  }
  std::string text, err;
  ASSERT_TRUE(t.Help({"expect", "hso"}, text, err));
  EXPECT_EQ(text.substr(0, 19), "expect hso count N\n");
  EXPECT_NE(text.find("expect hso lacks: it does not hold the object"), std::string::npos);
  EXPECT_FALSE(t.Help({"expect", "hsoo"}, text, err));
  EXPECT_EQ(err, "expect: no 'hsoo'; did you mean hso? (one of: message, messages, no-message, label, name, hso, cso, widget, "
                 "running, status, ended, file, no-file, colour, hidden, shown, position, window, refused, highlighted)");
}

// What start-up adds (the undo statements, say) runs, is checked and is helped
// like the built-in statements.
TEST(ScriptTable, StatementsAddedAtStartUpJoinTheTable) {
  int undone = 0;
  AddScriptStatements([&undone](ScriptTable& t) {
    t.Add({"zz-undo", {{"N", ArgKind::Number, true}}, "undo the last step", "Undoes.\nExample:\n  zz-undo",
           [&undone](ScriptRunner&, const ScriptWords& a, std::string&) {
             undone += a.empty() ? 1 : std::stoi(a[0]);
             return true;
           }});
    t.AddSub("print", {"zz-undo", {}, "the undo stack", {}, [](ScriptRunner& r, const ScriptWords&, std::string&) {
                         r.Out() << "nothing to undo\n";
                         return true;
                       }});
  });
  std::ostringstream out;
  ScriptRunner r(out);
  ASSERT_TRUE(r.RunText("zz-undo\nzz-undo 2\nprint zz-undo\nhelp zz-undo\n", "u.mirt")) << r.Error();
  EXPECT_EQ(undone, 3);
  EXPECT_NE(out.str().find("nothing to undo\nzz-undo [N]\n  undo the last step\n"), std::string::npos) << out.str();
  EXPECT_FALSE(r.RunText("zz-undo 1 2\n", "u.mirt"));
  EXPECT_EQ(r.Error(), "u.mirt:1: usage: zz-undo [N]");
  EXPECT_NE(ScriptStatements().Help().find("zz-undo [N]"), std::string::npos);
}

TEST(ScriptTable, NearestWords) {
  const std::vector<std::string> words{"open", "save", "close", "select", "set", "expect"};
  EXPECT_EQ(NearestWords("sav", words), (std::vector<std::string>{"save"}));
  EXPECT_EQ(NearestWords("slect", words), (std::vector<std::string>{"select"}));
  EXPECT_EQ(NearestWords("se", words), (std::vector<std::string>{"select", "set"}));
  EXPECT_TRUE(NearestWords("zzzzzz", words).empty());
  EXPECT_TRUE(NearestWords("open", words).empty());  // a word is not its own suggestion
  EXPECT_EQ(DidYouMean("clsoe", words), "; did you mean close?");
}

}  // namespace
