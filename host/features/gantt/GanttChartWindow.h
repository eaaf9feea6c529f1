#pragma once
// The Gantt chart windows the graph commands open: a process Gantt (kind 1: a row
// per activity below the picked one) and a resource Gantt (kind 2: a lane per
// resource, activities shown in the lane of their resource). Besides the table and
// search of every Gantt window, each is drawn as text and SVG from the solved times
// of its last refresh (UpdateGanttTable or UpdateTimeBarsColor).
#include <string>
#include <vector>

#include "GanttPicture.h"
#include "GanttWindow.h"

namespace host {

class GanttChartWindow final : public GanttWindow,
                               public virtual OrvIGanttChartRows,
                               public virtual TavIWindowPicture {
public:
  // A row: a resource's lane (activity null) or an activity, in the lane of its
  // resource (resource null: a lane of its own).
  struct Row {
    Ref<HostProduct> resource;
    Ref<HostActivity> activity;
  };

  GanttChartWindow(TavUnicodeString baseName, const Ref<HostEditor>& editor, Ref<HostActivity> tableRoot,
                   TavUnicodeString title, int kind, int displayMode, std::vector<Ref<HostActivity>> roots);

  // Reads the times again too: the table and the bars show one state.
  void UpdateGanttTable() override;
  HRESULT AddRoot(const Ref<TavBaseUnknown>& row, int position, int expand) override;
  void UpdateTimeBarsColor() override;
  int GetDisplayMode() const override { return displayMode_; }
  int GetChartKind() const override { return kind_; }
  std::string GetText() const override;
  std::string GetSvg() const override;

  const TavUnicodeString& Title() const { return title_; }
  const std::vector<Row>& Rows() const { return rows_; }
  const GanttPicture& Picture() const { return picture_; }

  // The row an object stands for in a resource Gantt: a resource, or an
  // OrvEResourceGanttActivityObject on an activity. False for anything else.
  static bool ToRow(const Ref<TavBaseUnknown>& object, Row& row);

protected:
  // A resource Gantt lists the activities of its bars, lane by lane.
  void BuildTable(GanttTable& table, const std::vector<std::string>& attributes) const override;

private:
  bool Shows(const Row& row) const;
  void BuildPicture();

  TavUnicodeString title_;
  int kind_, displayMode_;
  std::vector<Ref<HostActivity>> roots_;
  std::vector<Row> rows_;
  GanttPicture picture_;
};

// Opens a Gantt chart window as the current one (OrvGanttChartWindows' factory).
// Kind 1: rows = {the activity}; kind 2: rows = {the first row}. Null when the editor
// is no host editor, the kind is unknown or the first row cannot be shown.
Ref<OrvGanttChartWindow> CreateGanttChartWindow(const TavUnicodeString& title, const Ref<TavFrmEditor>& editor,
                                                const std::vector<Ref<TavBaseUnknown>>& rows, int displayMode,
                                                const std::vector<Ref<TavBaseUnknown>>& roots, int kind, int flags);

}  // namespace host
