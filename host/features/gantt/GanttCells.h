#pragma once
// The cells a Gantt query runs over: the visible columns of a Gantt table, as UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace host::gantt {

class GanttCells {
public:
  virtual ~GanttCells() = default;
  virtual std::size_t ColumnCount() const = 0;
  virtual const std::string& Header(std::size_t column) const = 0;
  // A numeric column holds numbers (durations, times, numeric attributes).
  virtual bool IsNumeric(std::size_t column) const = 0;
  virtual std::size_t RowCount() const = 0;
  // Valid until the table changes.
  virtual std::string_view Cell(std::size_t row, std::size_t column) const = 0;
};

}  // namespace host::gantt
