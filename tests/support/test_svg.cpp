// The SVG writer: what reaches a picture must be well-formed XML whatever the labels
// hold, and numbers must print the same on every run.
#include <gtest/gtest.h>

#include "Svg.h"

using support::Svg;

TEST(Svg, EscapesMarkupDropsControlsAndRepairsEncoding) {
  EXPECT_EQ(Svg::Escape("Weld <A & B> \"x\" 'y'"), "Weld &lt;A &amp; B&gt; &quot;x&quot; &apos;y&apos;");
  EXPECT_EQ(Svg::Escape(std::string("a\x01\x1f" "b\tc\n", 7)), "ab\tc\n");
  EXPECT_EQ(Svg::Escape("T\xC3\xBC r"), "T\xC3\xBC r");               // valid UTF-8 kept
  EXPECT_EQ(Svg::Escape("x\xFFy"), "x\xEF\xBF\xBDy");                  // stray byte
  EXPECT_EQ(Svg::Escape("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");      // overlong slash
  EXPECT_EQ(Svg::Escape("end\xE2\x82"), "end\xEF\xBF\xBD\xEF\xBF\xBD"); // cut sequence
  EXPECT_EQ(Svg::Escape("\xED\xA0\x80").substr(0, 3), "\xEF\xBF\xBD");     // a surrogate
  EXPECT_EQ(Svg::Escape("\xF4\x90\x80\x80").substr(0, 3), "\xEF\xBF\xBD"); // past U+10FFFF
  EXPECT_EQ(Svg::Escape("\xF0\x9F\x94\xA7"), "\xF0\x9F\x94\xA7");          // U+1F527 kept
}

TEST(Svg, NumbersAreShortAndStable) {
  EXPECT_EQ(Svg::Num(12), "12");
  EXPECT_EQ(Svg::Num(12.5), "12.5");
  EXPECT_EQ(Svg::Num(1.0 / 3), "0.33");
  EXPECT_EQ(Svg::Num(-0.001), "0");  // never "-0"
  EXPECT_EQ(Svg::Num(-2.25), "-2.25");
  EXPECT_EQ(Svg::Num(1e300 * 1e300), "0");
}

TEST(Svg, DocumentIsClosedAndTextEscaped) {
  Svg svg(100, 20.5, "Plant <1>");
  svg.BeginGroup("tip & more");
  svg.Text(1, 2, "a<b");
  svg.EndGroup();
  const std::string doc = svg.Finish();
  EXPECT_NE(doc.find("<title>Plant &lt;1&gt;</title>"), std::string::npos);
  EXPECT_NE(doc.find("<g><title>tip &amp; more</title>"), std::string::npos);
  EXPECT_NE(doc.find(">a&lt;b</text>"), std::string::npos);
  EXPECT_NE(doc.find("width=\"100\" height=\"20.5\""), std::string::npos);
  EXPECT_EQ(doc.substr(doc.size() - 7), "</svg>\n");
}
