#pragma once
// The picture of a Gantt chart, as text and SVG, from solved times: a row per
// activity of a process (indented by level) and a lane per resource (its activities'
// bars, overlapping ones stacked and flagged). Gantt windows and `mirt gantt` draw
// through it, so both give the same bytes for the same rows. Rows read the times of
// the latest solve (OrvModelTimeSolver::FullSolve); a row never solved has no bar.
#include <string>
#include <vector>

#include "HostModel.h"

namespace host {

struct GanttPictureBar {
  Ref<HostActivity> activity;
  double begin = 0, end = 0, slack = 0;
  bool critical = false;
  bool milestone = false;  // lasts no time: drawn as a diamond
  int stack = 0;           // in a resource lane: 0 first level, 1 the next for an overlap
  bool overlaps = false;   // in a resource lane: overlaps another bar of the lane
};

struct GanttPictureRow {
  enum class Kind { Activity, Resource };
  Kind kind = Kind::Activity;
  std::string label;  // the activity's label or the resource's name
  std::string path;   // the object's path, shown as the tooltip
  int level = 0;      // indentation: 0 the root
  bool timed = false; // false: not solved (no bar drawn)
  std::vector<GanttPictureBar> bars;  // one for an activity row
  double busy = 0;    // a resource lane: time covered by at least one bar
  double utilisation = 0;  // busy / span of the chart (0 when the span is 0)
  int stacks = 1;     // a resource lane: its height in bar levels
  bool doubleBooked = false;
};

struct GanttPicture {
  std::string title;  // "Process Gantt: Body Shop"
  std::string plant;  // the plant's file name
  std::string root;   // the root's path
  double span = 0;    // end of the latest bar
  std::vector<GanttPictureRow> rows;
};

// A row per activity of `root`'s tree (root first, depth first, children in order)
// down to `maxDepth` levels below it (negative: all), control nodes left out.
void AddProcessRows(GanttPicture& picture, const HostDocument& doc, const Ref<HostActivity>& root, int maxDepth = -1);
// A lane for `resource`: a bar for each activity of `activities` (all timed ones
// that use it when empty) that holds it as a resource, in begin order.
void AddResourceLane(GanttPicture& picture, const HostDocument& doc, const Ref<HostProduct>& resource,
                     const std::vector<Ref<HostActivity>>& activities = {});
// One line per row: label, begin, end, slack, "critical" / lane utilisation.
std::string GanttPictureText(const GanttPicture& picture);
// A self-contained SVG: title, time axis with round ticks and grid, labels at left,
// bars (critical red, slack a thin tail, milestones diamonds), lanes, a legend.
std::string GanttPictureSvg(const GanttPicture& picture);

}  // namespace host
