#pragma once
// The Gantt query language: elementary conditions 'Attribute'op'Value' joined by
// AND and OR (AND binds first), compiled once against a table's columns and then
// run over its rows. docs/gantt-query.md describes the matching.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GanttCells.h"

namespace host::gantt {

// Splits 'Attribute'op'Value': the attribute runs to the first quote followed by an
// operator (longest first: "==", "!=", ">=", "<=", "=", ">", "<") and a quote, the
// value to the last quote. False when the text is no condition.
bool ParseCondition(std::string_view text, std::string& attribute, std::string& op, std::string& value);

struct GanttMatch {
  std::size_t row = 0;
  std::vector<std::size_t> columns;  // the columns whose condition held, ascending
};

class GanttQuery {
public:
  // Null with `error` naming the fault (a malformed condition, an unknown column, a
  // misplaced AND/OR, an empty query).
  static std::unique_ptr<GanttQuery> Compile(const std::vector<std::string>& strings, const GanttCells& cells,
                                             std::string& error);
  virtual ~GanttQuery() = default;
  // Matching rows in row order.
  virtual std::vector<GanttMatch> Run(const GanttCells& cells) const = 0;
};

// Texts searched quickly, oldest first, each once (a repeat moves to the end), at most 50.
class QuickSearchHistory {
public:
  void Add(const std::string& text);
  const std::vector<std::string>& Texts() const { return texts_; }

private:
  std::vector<std::string> texts_;
};

}  // namespace host::gantt
