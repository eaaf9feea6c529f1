// Gantt queries from arbitrary bytes, one query string a line: compiled against a
// small fixed table (plus a row of the input's own lines) and run, never a crash or a
// hang. Every line that parses as a condition rebuilds to itself; "=" and "!=" on a
// text column split the rows between them.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "GanttQuery.h"

namespace {
using host::gantt::GanttCells;
using host::gantt::GanttQuery;

class Table final : public GanttCells {
public:
  std::vector<std::string> headers{"Name", "Type", "Duration", "Robot", "O'Brien'", "Start"};
  std::vector<bool> numeric{false, false, true, false, false, true};
  std::vector<std::vector<std::string>> rows{
      {"Weld Door", "Weld", "4", "R1-left", "it's", "0"},
      {"weld roof", "Weld", "12.5", "R2-right", "", " 1e3 "},
      {"Glue Hood", "Glue", "", "r3-x", "'='", "-0x10"},
      {"Café Stop", "Pause", "n/a", "Rö-1", "a*b?c", "inf"},
      {"", "", "12abc", "", "\\", "nan"}};
  std::size_t ColumnCount() const override { return headers.size(); }
  const std::string& Header(std::size_t c) const override { return headers[c]; }
  bool IsNumeric(std::size_t c) const override { return numeric[c]; }
  std::size_t RowCount() const override { return rows.size(); }
  std::string_view Cell(std::size_t r, std::size_t c) const override { return rows[r][c]; }
};

std::vector<std::size_t> RowsOf(const GanttQuery& q, const Table& t) {
  std::vector<std::size_t> out;
  for (auto& m : q.Run(t)) {
    // Rows ascending and once; columns ascending, once, in the table, at least one.
    if (!out.empty() && m.row <= out.back()) std::abort();
    if (m.row >= t.RowCount() || m.columns.empty()) std::abort();
    if (!std::is_sorted(m.columns.begin(), m.columns.end()) ||
        std::adjacent_find(m.columns.begin(), m.columns.end()) != m.columns.end() || m.columns.back() >= t.ColumnCount())
      std::abort();
    out.push_back(m.row);
  }
  return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  if (!text.empty() && text.back() == '\n') lines.pop_back();

  Table table;
  std::vector<std::string> own(table.ColumnCount());
  for (std::size_t c = 0; c < own.size() && c < lines.size(); ++c) own[c] = lines[c];
  table.rows.push_back(own);

  std::string error;
  if (auto q = GanttQuery::Compile(lines, table, error))
    RowsOf(*q, table);
  else if (error.empty())
    std::abort();  // a refusal always says why

  std::string a, op, v, a2, op2, v2;
  for (const std::string& line : lines) {
    if (!host::gantt::ParseCondition(line, a, op, v)) continue;
    const std::string rebuilt = "'" + a + "'" + op + "'" + v + "'";
    if (rebuilt != line || !host::gantt::ParseCondition(rebuilt, a2, op2, v2) || a2 != a || op2 != op || v2 != v)
      std::abort();
    const auto column = std::find(table.headers.begin(), table.headers.end(), a);
    if (column == table.headers.end() || table.numeric[column - table.headers.begin()] || (op != "=" && op != "!="))
      continue;
    auto equal = GanttQuery::Compile({"'" + a + "'='" + v + "'"}, table, error);
    auto different = GanttQuery::Compile({"'" + a + "'!='" + v + "'"}, table, error);
    if (!equal || !different) std::abort();
    if (RowsOf(*equal, table).size() + RowsOf(*different, table).size() != table.RowCount()) std::abort();
  }
  return 0;
}
