#pragma once
// A Gantt chart window on an activity: its table (GanttTable), the attribute
// columns chosen, the highlighted rows and the first visible row, and its search.
#include <set>

#include "GanttQuery.h"
#include "GanttTable.h"
#include "HostWindow.h"

namespace host {

class GanttWindow : public HostWindow,
                          public virtual OrvGanttChartWindow,
                          public virtual OrvIGanttTableDataAccessor,
                          public virtual OrvIGanttAddRemoveColumn,
                          public virtual OrvISearchUtility {
public:
  static constexpr const char* kKind = "Gantt Chart";
  // Reads the chosen attribute columns from the Gantt setting controller and builds
  // the table. The window is not in the frame yet (HostWindows::Open).
  GanttWindow(TavUnicodeString baseName, const Ref<HostEditor>& editor, Ref<HostActivity> root);

  std::string LateType() const override { return "OrvGanttChartWindow"; }
  // window
  Ref<TavBaseUnknown> GetRoot() const override { return root_; }
  void UpdateGanttTable() override;
  // table
  void GetVisibleColumnHeaders(std::vector<TavUnicodeString>& headers) const override;
  HRESULT IsColumnNumeric(const TavUnicodeString& header, bool& numeric) const override;
  HRESULT HighlightRow(int row, bool on, bool makeVisible) override;
  std::vector<int> GetHighlightedRows() const override { return {highlighted_.begin(), highlighted_.end()}; }
  int GetRowCount() const override { return static_cast<int>(table_.RowCount()); }
  TavUnicodeString GetCellText(int row, int column) const override;
  Ref<TavBaseUnknown> GetRowObject(int row) const override;
  // columns
  HRESULT AddColumns(const std::vector<TavUnicodeString>& attributes) override;
  HRESULT RemoveColumns(const std::vector<TavUnicodeString>& attributes) override;
  std::vector<TavUnicodeString> GetAttributeColumns() const override { return {attributes_.begin(), attributes_.end()}; }
  // search
  HRESULT RunQuery(const std::vector<TavUnicodeString>& query, bool quick, std::vector<OrvGanttSearchRecord>& results,
                   TavUnicodeString& error) override;
  HRESULT ParseCondition(const TavUnicodeString& condition, TavUnicodeString& attribute, TavUnicodeString& op,
                         TavUnicodeString& value) const override;
  std::vector<TavUnicodeString> GetQuickSearchHistory() const override;
  void AddQuickSearchString(const TavUnicodeString& text) override;

  const GanttTable& Table() const { return table_; }
  // The row a make-visible highlight last scrolled to (0 at first).
  int FirstVisibleRow() const { return firstVisible_; }
  const Ref<HostActivity>& Root() const { return root_; }

  // The chosen attribute names of a column-visibility string ("$$A$$B$$"): the
  // pieces between "$$", blanks trimmed at their ends, empty pieces skipped, each once.
  static std::vector<std::string> ParseColumnChoice(const std::string& text);

protected:
  // Fills the table: by default the root's tree.
  virtual void BuildTable(GanttTable& table, const std::vector<std::string>& attributes) const {
    table.Build(*root_, attributes);
  }

private:
  bool InRange(int row) const { return row >= 0 && static_cast<std::size_t>(row) < table_.RowCount(); }
  // A name that can be an attribute column: not empty, not a standard header.
  static bool CanBeColumn(const std::string& name);

  Ref<HostActivity> root_;
  std::vector<std::string> attributes_;
  GanttTable table_;
  std::set<int> highlighted_;
  int firstVisible_ = 0;
  gantt::QuickSearchHistory history_;
};

// Opens a Gantt chart window on an activity of a plant the session shows, as the
// current window. Null with `error` when it cannot.
Ref<GanttWindow> OpenGanttWindow(const Ref<TavBaseUnknown>& activity, std::string& error);

}  // namespace host
