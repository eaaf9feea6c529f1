#pragma once
// A small SVG writer for the graph windows' pictures: self-contained documents with
// escaped text and numbers in a fixed short form, so one model state always gives the
// same bytes.
#include <string>
#include <string_view>

namespace support {

class Svg {
public:
  // Opens <svg> with the given size (pixels) and a white background.
  Svg(double width, double height, std::string_view title);
  // "&", "<", ">", '"' and "'" as entities; control characters other than tab and
  // line breaks dropped (XML 1.0 cannot carry them); invalid UTF-8 as U+FFFD.
  static std::string Escape(std::string_view text);
  // At most 2 decimals, no trailing zeros, no "-0": 12, 12.5, 0.33.
  static std::string Num(double v);

  // Attributes are written as given: pass escaped values (Escape) where they hold text.
  void Rect(double x, double y, double w, double h, std::string_view attrs);
  void Line(double x1, double y1, double x2, double y2, std::string_view attrs);
  void Polygon(std::string_view points, std::string_view attrs);
  // `text` is escaped here.
  void Text(double x, double y, std::string_view text, std::string_view attrs = {});
  // A group with a tooltip (<title>) for what it holds; End closes it.
  void BeginGroup(std::string_view tooltip, std::string_view attrs = {});
  void EndGroup();
  void Raw(std::string_view xml) { out_.append(xml); }
  // Closes the document and returns it; the writer is spent afterwards.
  std::string Finish();

private:
  std::string out_;
};

}  // namespace support
