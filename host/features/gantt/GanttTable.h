#pragma once
// The rows and cells of a Gantt chart: a row per activity of a root's subtree (root
// first, depth first, children in order), the standard columns Name, Type, Duration
// and Description, then one column per chosen attribute. Cells are kept as UTF-8 in
// one buffer per column, so a search reads them without building strings per row.
#include <string>
#include <vector>

#include "GanttCells.h"
#include "HostModel.h"

namespace host {

class GanttTable final : public gantt::GanttCells {
public:
  static constexpr std::size_t kStandardColumns = 4;
  // "Name", "Type", "Duration", "Description".
  static const std::vector<std::string>& StandardHeaders();

  // Reads the rows and cells from the model: `attributes` are the internal names of
  // the attribute columns, in column order.
  void Build(const HostActivity& root, const std::vector<std::string>& attributes);
  // The same for rows given in their order.
  void Build(std::vector<Ref<HostActivity>> rows, const std::vector<std::string>& attributes);

  std::size_t ColumnCount() const override { return columns_.size(); }
  const std::string& Header(std::size_t column) const override { return columns_[column].header; }
  bool IsNumeric(std::size_t column) const override { return columns_[column].numeric; }
  std::size_t RowCount() const override { return rows_.size(); }
  std::string_view Cell(std::size_t row, std::size_t column) const override {
    const Column& c = columns_[column];
    const std::size_t begin = row == 0 ? 0 : c.ends[row - 1];
    return std::string_view(c.text).substr(begin, c.ends[row] - begin);
  }
  // The column of that header; ColumnCount() when none.
  std::size_t FindColumn(std::string_view header) const;
  const Ref<HostActivity>& Row(std::size_t row) const { return rows_[row]; }
  const std::vector<Ref<HostActivity>>& Rows() const { return rows_; }

private:
  void BuildColumns(const std::vector<std::string>& attributes);
  struct Column {
    std::string header;
    bool numeric = false;
    std::string text;               // the cells one after the other
    std::vector<std::size_t> ends;  // where each row's cell ends in `text`
    void Append(std::string_view cell) {
      text.append(cell);
      ends.push_back(text.size());
    }
  };
  std::vector<Column> columns_;
  std::vector<Ref<HostActivity>> rows_;
};

}  // namespace host
