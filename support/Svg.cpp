#include "Svg.h"

#include <cmath>
#include <cstdio>

namespace support {

namespace {
// Length of the valid UTF-8 sequence at s[i], 0 when it is not one.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8 either.
  const auto c1 = n > 1 ? static_cast<unsigned char>(s[i + 1]) : 0;
  if (n == 2 && c < 0xC2) return 0;
  if (n == 3 && ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0))) return 0;
  if (n == 4 && ((c == 0xF0 && c1 < 0x90) || (c == 0xF4 && c1 >= 0x90) || c > 0xF4)) return 0;
  return n;
}
}  // namespace

Svg::Svg(double width, double height, std::string_view title) {
  out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(width) +
         "\" height=\"" + Num(height) + "\" viewBox=\"0 0 " + Num(width) + " " + Num(height) +
         "\" font-family=\"sans-serif\" font-size=\"12\">\n<title>" + Escape(title) + "</title>\n";
  Rect(0, 0, width, height, "fill=\"white\"");
}

std::string Svg::Escape(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const std::size_t n = Utf8Length(text, i);
    if (n == 0) {
      r += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (n == 1) {
      switch (c) {
        case '&': r += "&amp;"; break;
        case '<': r += "&lt;"; break;
        case '>': r += "&gt;"; break;
        case '"': r += "&quot;"; break;
        case '\'': r += "&apos;"; break;
        default:
          if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') r += c;
      }
    } else {
      r.append(text.substr(i, n));
    }
    i += n;
  }
  return r;
}

std::string Svg::Num(double v) {
  if (!std::isfinite(v)) return "0";
  double rounded = std::round(v * 100) / 100;
  if (rounded == 0) rounded = 0;  // no "-0"
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", rounded);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

void Svg::Rect(double x, double y, double w, double h, std::string_view attrs) {
  out_ += "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(w) + "\" height=\"" + Num(h) + "\"";
  if (!attrs.empty()) (out_ += ' ').append(attrs);
  out_ += "/>\n";
}

void Svg::Line(double x1, double y1, double x2, double y2, std::string_view attrs) {
  out_ += "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" + Num(y2) + "\"";
  if (!attrs.empty()) (out_ += ' ').append(attrs);
  out_ += "/>\n";
}

void Svg::Polygon(std::string_view points, std::string_view attrs) {
  out_ += "<polygon points=\"";
  out_.append(points);
  out_ += "\"";
  if (!attrs.empty()) (out_ += ' ').append(attrs);
  out_ += "/>\n";
}

void Svg::Text(double x, double y, std::string_view text, std::string_view attrs) {
  out_ += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\"";
  if (!attrs.empty()) (out_ += ' ').append(attrs);
  out_ += ">" + Escape(text) + "</text>\n";
}

void Svg::BeginGroup(std::string_view tooltip, std::string_view attrs) {
  out_ += "<g";
  if (!attrs.empty()) (out_ += ' ').append(attrs);
  out_ += "><title>" + Escape(tooltip) + "</title>\n";
}

void Svg::EndGroup() { out_ += "</g>\n"; }

std::string Svg::Finish() {
  out_ += "</svg>\n";
  return std::move(out_);
}

}  // namespace support
