#include "GanttQueryColumns.h"

#include <algorithm>
#include <vector>

#include "GanttMatchText.h"

namespace host::gantt {

namespace {
// Edits (insert, delete, replace a byte) that turn one text into the other, case aside.
std::size_t Distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (FoldCase(a[i - 1]) != FoldCase(b[j - 1]))});
      diagonal = above;
    }
  }
  return row[b.size()];
}
}  // namespace

ColumnIndex::ColumnIndex(const GanttCells& cells) : cells_(cells) {
  for (std::size_t c = 0; c < cells.ColumnCount(); ++c) first_.emplace(cells.Header(c), c);
}

std::optional<std::size_t> ColumnIndex::Find(const std::string& header) const {
  auto it = first_.find(header);
  if (it == first_.end()) return std::nullopt;
  return it->second;
}

std::string ColumnIndex::Suggestion(std::string_view header) const {
  const std::size_t allowed = header.size() < 4 ? 1 : 2;
  std::vector<std::string> close;
  for (std::size_t c = 0; c < cells_.ColumnCount() && close.size() < 3; ++c) {
    const std::string& h = cells_.Header(c);
    const std::size_t gap = h.size() > header.size() ? h.size() - header.size() : header.size() - h.size();
    if (gap <= allowed && Distance(header, h) <= allowed && std::find(close.begin(), close.end(), h) == close.end())
      close.push_back(h);
  }
  if (close.empty()) return {};
  std::string out = " (did you mean ";
  for (std::size_t i = 0; i < close.size(); ++i)
    out += (i == 0 ? "'" : i + 1 == close.size() ? " or '" : ", '") + close[i] + "'";
  return out + "?)";
}

}  // namespace host::gantt
