#pragma once
// The columns a Gantt query names, found by their header text.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "GanttCells.h"

namespace host::gantt {

class ColumnIndex {
public:
  explicit ColumnIndex(const GanttCells& cells);
  // The first column with exactly this header.
  std::optional<std::size_t> Find(const std::string& header) const;
  // " (did you mean 'Duration'?)" for headers close to `header` (differing in case or
  // in a letter or two), else empty.
  std::string Suggestion(std::string_view header) const;

private:
  const GanttCells& cells_;
  std::unordered_map<std::string, std::size_t> first_;
};

}  // namespace host::gantt
