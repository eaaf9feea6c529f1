#include "GanttMatchText.h"

#include <charconv>
#include <cstdlib>

namespace host::gantt {

void FoldCaseInto(std::string_view text, std::string& out) {
  out.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = FoldCase(text[i]);
}

std::string FoldCase(std::string_view text) {
  std::string out;
  FoldCaseInto(text, out);
  return out;
}

std::optional<double> ReadNumber(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\n\v\f\r";  // what strtod skips in the C locale
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
  // from_chars reads the usual decimal forms without a copy; whatever it reads whole,
  // strtod reads to the same value.
  double value = 0;
  const char* end = text.data() + text.size();
  if (auto [p, ec] = std::from_chars(text.data(), end, value); ec == std::errc() && p == end) return value;
  // The rest (a leading '+', hexadecimal, out of range) through strtod itself, which
  // needs a terminated copy.
  char small[64];
  std::string large;
  char* copy = small;
  if (text.size() < sizeof small) {
    text.copy(small, text.size());
    small[text.size()] = '\0';
  } else {
    large.assign(text);
    copy = large.data();
  }
  char* stop = nullptr;
  value = std::strtod(copy, &stop);
  if (stop != copy + text.size()) return std::nullopt;
  return value;
}

}  // namespace host::gantt
