#pragma once
// Plain-text tables for the batch verbs' reports.
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "TavString.h"

namespace mirt {

inline std::size_t DisplayWidth(const std::string& s) { return TavUnicodeString(s).GetLengthInChar(); }

// Columns padded to their widest cell; the last column is not padded.
inline void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows, const std::string& indent = {}) {
  if (rows.empty()) return;
  std::vector<std::size_t> widths;
  for (auto& r : rows) {
    if (widths.size() < r.size()) widths.resize(r.size(), 0);
    for (std::size_t c = 0; c < r.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(r[c]));
  }
  for (auto& r : rows) {
    std::string line = indent;
    for (std::size_t c = 0; c < r.size(); ++c) {
      line += r[c];
      if (c + 1 < r.size()) line += std::string(widths[c] - DisplayWidth(r[c]) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

}  // namespace mirt
