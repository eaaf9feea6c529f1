// Wildcard patterns against a plain dynamic-programming matcher, and the reading of
// numbers and case of cells.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "GanttMatchPattern.h"
#include "GanttMatchText.h"

using namespace host::gantt;

namespace {

template <class Go, class Next>
bool Step(const std::string& pattern, const std::string& text, std::size_t p, std::size_t t, Go& go, Next& next) {
  if (p == pattern.size()) return t == text.size();
  if (pattern[p] == '*') {
    for (std::size_t u = t;; u = next(u)) {
      if (go(p + 1, u)) return true;
      if (u == text.size()) return false;
    }
  }
  if (t == text.size()) return false;
  if (pattern[p] == '?') return go(p + 1, next(t));
  return pattern[p] == text[t] && go(p + 1, t + 1);
}

// Whether the whole text matches, trying every split (memoised): slow but plainly right.
bool Reference(const std::string& pattern, const std::string& text) {
  auto next = [&](std::size_t t) {  // one character on from t
    ++t;
    while (t < text.size() && (static_cast<unsigned char>(text[t]) & 0xC0) == 0x80) ++t;
    return t;
  };
  std::vector<std::vector<char>> memo(pattern.size() + 1, std::vector<char>(text.size() + 1, -1));
  std::function<bool(std::size_t, std::size_t)> go = [&](std::size_t p, std::size_t t) -> bool {
    char& m = memo[p][t];
    if (m < 0) m = Step(pattern, text, p, t, go, next);
    return m == 1;
  };
  return go(0, 0);
}

std::string Random(std::mt19937& rng, const std::vector<std::string>& alphabet, std::size_t maxLength) {
  std::string s;
  for (std::size_t n = rng() % (maxLength + 1); n > 0; --n) s += alphabet[rng() % alphabet.size()];
  return s;
}

}  // namespace

TEST(GanttPattern, AgreesWithAPlainMatcher) {
  std::mt19937 rng(7);
  const std::vector<std::string> textLetters{"a", "b", "é", "ab"};
  const std::vector<std::string> patternLetters{"a", "b", "é", "*", "?", "**"};
  for (int i = 0; i < 20000; ++i) {
    const std::string pattern = Random(rng, patternLetters, 6), text = Random(rng, textLetters, 8);
    ASSERT_EQ(GanttMatchPattern(pattern).Matches(text), Reference(pattern, text))
        << "pattern '" << pattern << "' text '" << text << "'";
  }
}

TEST(GanttPattern, CopiesKeepTheirPieces) {
  std::vector<GanttMatchPattern> patterns;
  for (int i = 0; i < 40; ++i) patterns.emplace_back("a*b" + std::to_string(i) + "*c");  // moves as the vector grows
  EXPECT_TRUE(patterns[3].Matches("a-b3-c"));
  EXPECT_FALSE(patterns[3].Matches("a-b4-c"));
  const GanttMatchPattern copy = patterns[39];
  EXPECT_TRUE(copy.Matches("ab39c"));
}

TEST(GanttPattern, InvalidUtf8NeverStalls) {
  const std::string junk = "\x80\x80\xC3";
  // Continuation bytes belong to the byte before them: "\x80\x80" and "\xC3" are two characters.
  EXPECT_FALSE(GanttMatchPattern("?").Matches(junk));
  EXPECT_TRUE(GanttMatchPattern("??").Matches(junk));
  EXPECT_TRUE(GanttMatchPattern("*?").Matches(junk));
  EXPECT_FALSE(GanttMatchPattern("???").Matches(junk + "\xA9"));  // "\x80\x80" and "\xC3\xA9"
  EXPECT_TRUE(GanttMatchPattern("??").Matches(junk + "\xA9"));
}

TEST(GanttText, ReadsNumbersAsStrtodDoesWhenWhole) {
  EXPECT_EQ(ReadNumber("12"), 12.0);
  EXPECT_EQ(ReadNumber(" \t12.5e1\n "), 125.0);
  EXPECT_EQ(ReadNumber("+3"), 3.0);
  EXPECT_EQ(ReadNumber("0x10"), 16.0);
  EXPECT_EQ(ReadNumber("1e400"), HUGE_VAL);
  EXPECT_EQ(ReadNumber("-INF"), -HUGE_VAL);
  EXPECT_TRUE(std::isnan(*ReadNumber("nan")));
  EXPECT_EQ(ReadNumber(std::string(100, ' ') + "+" + std::string(80, '0') + "1"), 1.0);  // longer than the stack copy
  for (const char* bad : {"", "   ", "12abc", "info", "1e", "1,5", "- 1", "1 2", "e3", "."})
    EXPECT_FALSE(ReadNumber(bad)) << bad;
}

TEST(GanttText, FoldsAsciiLettersOnly) {
  EXPECT_EQ(FoldCase("AbZ[@Ö é"), "abz[@Ö é");
  std::string buffer = "a long text that was here before";
  FoldCaseInto("XY", buffer);
  EXPECT_EQ(buffer, "xy");
}
