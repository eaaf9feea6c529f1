// `expect`: the checks that make a script an acceptance test. A check that does
// not hold fails the script with what was found instead.
#include <charconv>
#include <filesystem>

#include "HostScript.h"
#include "ScriptTable.h"

namespace host {

namespace {
bool Fail(std::string& err, const std::string& m) {
  err = "expectation failed: " + m;
  return false;
}

bool Count(const std::string& word, int& n, std::string& err) {
  auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
  if (ec == std::errc() && p == word.data() + word.size() && n >= 0) return true;
  err = "expected a count, not '" + word + "'";
  return false;
}

std::string Join(const ScriptWords& w, std::size_t from) {
  std::string s;
  for (std::size_t i = from; i < w.size(); ++i) s += (i > from ? " " : "") + w[i];
  return s;
}

ScriptStatement SetChecks(const std::string& set) {
  auto which = [set](ScriptRunner& r, std::string& err) -> TavSelectionSet* {
    auto ed = r.Editor(err);
    if (!ed) return nullptr;
    return set == "hso" ? &ed->GetHSO() : &ed->GetCSO();
  };
  auto holds = [which, set](bool want) {
    return [which, set, want](ScriptRunner& r, const ScriptWords& a, std::string& err) {
      TavSelectionSet* s = which(r, err);
      if (!s) return false;
      TavPathElement p = r.ResolvePath(a[0], err);
      if (p.IsEmpty()) return false;
      bool has = s->ContainsObject(p.GetLeaf());
      if (want && !has) return Fail(err, set + " does not hold " + a[0]);
      if (!want && has) return Fail(err, set + " holds " + a[0]);
      return true;
    };
  };
  const std::string upper = set == "hso" ? "highlight (HSO)" : "current selection (CSO)";
  return {set, {}, "check the " + upper, {}, nullptr,
          {{"count", {{"N", ArgKind::Number}}, "it holds N objects", {},
            [which, set](ScriptRunner& r, const ScriptWords& a, std::string& err) {
              int n = 0;
              if (!Count(a[0], n, err)) return false;
              TavSelectionSet* s = which(r, err);
              if (!s) return false;
              if (s->GetSize() != n) return Fail(err, set + " holds " + std::to_string(s->GetSize()) + ", expected " + a[0]);
              return true;
            }},
           {"contains", {{"PATH", ArgKind::Path}}, "it holds the object", {}, holds(true)},
           {"lacks", {{"PATH", ArgKind::Path}}, "it does not hold the object", {}, holds(false)}}};
}

bool Label(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  TavPathElement p = r.ResolvePath(a[0], err);
  if (p.IsEmpty()) return false;
  std::string actual;
  if (auto act = query<TavISPPAbstractActivity>(p.GetLeaf())) actual = act->GetLabel().utf8();
  else if (auto pr = query<TavIProduct>(p.GetLeaf())) actual = pr->GetName().utf8();
  if (actual != a[1]) return Fail(err, a[0] + " is labelled '" + actual + "', expected '" + a[1] + "'");
  return true;
}
}  // namespace

void AddExpectStatements(ScriptTable& t) {
  t.Add({"expect", {}, "check what a step did; the script fails when it does not hold",
         "Checks the state the last steps left: messages shown, labels, selection and\n"
         "highlight sets, widget values, the running command, files written. A check\n"
         "that does not hold fails the script, saying what was found instead.\n"
         "Example:\n  expect ended\n  expect label \"#op30_hinges\" \"Hinge mounting.1.3.2\"\n  expect hso count 0",
         nullptr,
         {{"message", {{"TEXT", ArgKind::Text}}, "the newest message contains TEXT", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
             std::string text = Join(a, 0);
             auto& msgs = r.Engine().Messages();
             if (msgs.empty()) return Fail(err, "no message was shown, expected one containing '" + text + "'");
             auto& m = msgs.back();
             if ((m.title + ": " + m.text).find(text) == std::string::npos)
               return Fail(err, "the last message is '" + m.title + ": " + m.text + "', expected it to contain '" + text + "'");
             return true;
           }},
          {"messages", {{"N", ArgKind::Number}}, "exactly N messages were shown", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
             int n = 0;
             if (!Count(a[0], n, err)) return false;
             auto shown = r.Engine().Messages().size();
             if (shown != static_cast<std::size_t>(n)) return Fail(err, std::to_string(shown) + " messages were shown, expected " + a[0]);
             return true;
           }},
          {"no-message", {}, "no message was shown", {},
           [](ScriptRunner& r, const ScriptWords&, std::string& err) {
             if (!r.Engine().Messages().empty()) return Fail(err, "a message was shown: " + r.Engine().Messages().back().text);
             return true;
           }},
          {"label", {{"PATH", ArgKind::Path}, {"TEXT", ArgKind::Word}}, "an activity's label or a product's name", {}, Label},
          {"name", {{"PATH", ArgKind::Path}, {"TEXT", ArgKind::Word}}, "the same as label", {}, Label},
          SetChecks("hso"), SetChecks("cso"),
          {"widget", {{"DIALOG.WIDGET", ArgKind::Widget}, {"VALUE", ArgKind::Text, true}},
           "a widget's value as print dialog shows it (none: empty)", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
             TavDlgWidget* wd = r.ResolveWidget(a[0], err);
             if (!wd) return false;
             std::string v = Join(a, 1);
             if (wd->ValueText() != v) return Fail(err, a[0] + " holds '" + wd->ValueText() + "', expected '" + v + "'");
             return true;
           }},
          {"running", {{"STATE", ArgKind::Word, true}}, "a command runs (in STATE)", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
             auto* c = r.Engine().RunningCommand();
             if (!c) return Fail(err, "no command is running");
             if (!a.empty() && c->GetCurrentState() && c->GetCurrentState()->GetName() != a[0])
               return Fail(err, c->GetName() + " is in state " + c->GetCurrentState()->GetName() + ", expected " + a[0]);
             return true;
           }},
          {"status", {{"TEXT", ArgKind::Text, true}}, "the status line contains TEXT (none: it is empty)", {},
           [](ScriptRunner&, const ScriptWords& a, std::string& err) {
             const std::string status = TavApplicationFrame::GetStatusText().utf8(), text = Join(a, 0);
             if (text.empty() ? !status.empty() : status.find(text) == std::string::npos)
               return Fail(err, "the status line reads '" + status + "', expected " + (text.empty() ? "it empty" : "'" + text + "'"));
             return true;
           }},
          {"ended", {}, "no command runs", {},
           [](ScriptRunner& r, const ScriptWords&, std::string& err) {
             if (auto* c = r.Engine().RunningCommand()) return Fail(err, c->GetName() + " is still running");
             return true;
           }},
          {"file", {{"PATH", ArgKind::File}}, "a file was written", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
             if (!std::filesystem::exists(r.FilePath(a[0], true))) return Fail(err, "no file " + a[0]);
             return true;
           }},
          {"no-file", {{"PATH", ArgKind::File}}, "no file was written there", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
             std::error_code ec;
             if (std::filesystem::exists(r.FilePath(a[0], true), ec)) return Fail(err, a[0] + " exists");
             return true;
           }}}});
}

}  // namespace host
