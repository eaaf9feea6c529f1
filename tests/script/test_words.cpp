// Splitting statements into words: quotes, escapes, where a comment starts, and
// whole scripts into numbered statements without running them.
#include <gtest/gtest.h>

#include "ScriptWords.h"

using namespace host;

namespace {

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> w;
  std::string err;
  EXPECT_TRUE(SplitWords(line, w, err)) << line;
  return w;
}

using W = std::vector<std::string>;

TEST(ScriptWords, QuotesGroupAndEscape) {
  EXPECT_EQ(Words("pick \"Process/Body Shop/Weld.2\""), (W{"pick", "Process/Body Shop/Weld.2"}));
  EXPECT_EQ(Words("set D.ed \"say \\\"hi\\\" \\\\ there\""), (W{"set", "D.ed", "say \"hi\" \\ there"}));
  EXPECT_EQ(Words("echo \"\" x"), (W{"echo", "", "x"}));
  EXPECT_EQ(Words("pick Process/\"Body Shop\"/Weld"), (W{"pick", "Process/Body Shop/Weld"}));
  EXPECT_EQ(Words("pick Products/A\\/B"), (W{"pick", "Products/A\\/B"}));  // the path keeps its escape
  EXPECT_EQ(Words("\techo\t a  b "), (W{"echo", "a", "b"}));
  std::vector<std::string> w;
  std::string err;
  EXPECT_FALSE(SplitWords("echo \"open", w, err));
  EXPECT_EQ(err, "unterminated quoted text");
}

// A '#' starts a comment at the start of a line, or alone between blanks; an id
// such as #op30_hinges and a word such as x#y are words.
TEST(ScriptWords, CommentsOnlyWhereTheyCannotBeAWord) {
  EXPECT_EQ(Words("# a whole line"), W{});
  EXPECT_EQ(Words("   #indented comment"), W{});
  EXPECT_EQ(Words("pick #op30_hinges"), (W{"pick", "#op30_hinges"}));
  EXPECT_EQ(Words("pick \"Process/Weld\" # the weld"), (W{"pick", "Process/Weld"}));
  EXPECT_EQ(Words("expect label #a1 x#y"), (W{"expect", "label", "#a1", "x#y"}));
  EXPECT_EQ(Words("echo done #"), (W{"echo", "done"}));
  EXPECT_EQ(Words("echo \"#\" \"# not a comment\""), (W{"echo", "#", "# not a comment"}));
  ScriptLine l = TokenizeLine("pick A # c");
  EXPECT_EQ(l.comment, 7u);
}

TEST(ScriptWords, TokensKnowWhereTheyStand) {
  ScriptLine l = TokenizeLine("pick \"Process/Body Sh");
  ASSERT_EQ(l.tokens.size(), 2u);
  EXPECT_TRUE(l.openQuote);
  EXPECT_EQ(l.tokens[1].text, "Process/Body Sh");
  EXPECT_EQ(l.tokens[1].begin, 5u);
  EXPECT_EQ(l.tokens[1].end, 21u);
  EXPECT_TRUE(l.tokens[1].quoted);
  EXPECT_FALSE(l.tokens[0].quoted);
}

TEST(ScriptWords, QuotedWordsSplitBackToThemselves) {
  for (std::string w : {"plain", "with blank", "", "#", "#id", "say \"hi\"", "back\\slash and blank", "tab\there"}) {
    std::vector<std::string> out;
    std::string err;
    ASSERT_TRUE(SplitWords("echo " + QuoteWord(w), out, err)) << w;
    EXPECT_EQ(out, (W{"echo", w})) << QuoteWord(w);
  }
  EXPECT_EQ(QuoteWord("Process/Body Shop/Framing.1.2"), "\"Process/Body Shop/Framing.1.2\"");
  EXPECT_EQ(QuoteWord("#op30_hinges"), "\"#op30_hinges\"");  // alone on a line it would be a comment
}

TEST(ScriptWords, ParsingNumbersStatementsAndReportsBadLines) {
  ParsedScript p = ParseScript("# head\r\nopen a.xml\r\n\n  \necho \"open\nsave b.xml # done\necho last");
  ASSERT_EQ(p.statements.size(), 3u);
  EXPECT_EQ(p.statements[0].line, 2);
  EXPECT_EQ(p.statements[0].words, (W{"open", "a.xml"}));
  EXPECT_EQ(p.statements[1].line, 6);
  EXPECT_EQ(p.statements[1].words, (W{"save", "b.xml"}));
  EXPECT_EQ(p.statements[2].line, 7);  // no line end after the last line
  ASSERT_EQ(p.errors.size(), 1u);
  EXPECT_EQ(p.errors[0].line, 5);
  EXPECT_EQ(p.errors[0].message, "unterminated quoted text");

  using namespace std::string_literals;
  ParsedScript n = ParseScript("echo a\npick x\0y\necho b"s);
  ASSERT_EQ(n.statements.size(), 2u);
  EXPECT_EQ(n.statements[1].line, 3);
  ASSERT_EQ(n.errors.size(), 1u);
  EXPECT_EQ(n.errors[0].line, 2);
  EXPECT_TRUE(ParseScript("").statements.empty());
  EXPECT_TRUE(ParseScript("\n\n# only comments\n").errors.empty());
}

}  // namespace
