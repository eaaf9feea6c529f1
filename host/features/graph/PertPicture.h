#pragma once
// A PERT chart or precedence viewer as data, as text and as a picture: a box per
// child of the root (label, duration, earliest and latest start, slack, critical,
// position) and the flows and precedences among them. The window, `print window`,
// `export window` and `mirt pert` all draw from this one model.
#include <string>

#include "PertGraph.h"

namespace host {

struct PertBox {
  Ref<HostActivity> activity;
  std::string label, path, type;
  bool timed = false;  // the tree has been solved: the times below hold
  double duration = 0, earliest = 0, latest = 0, slack = 0;
  bool critical = false;
  double x = 0, y = 0;
  bool stored = false;  // the position is the plant's, not laid out for this picture
};

struct PertLink {
  std::uint32_t from, to;
  bool precedence;  // else a control flow
  bool critical;    // between critical boxes, with no time between them
};

struct PertChart {
  Ref<HostActivity> root;
  std::string rootPath;
  int viewerKind = 0;  // 0 PERT chart, 2 precedence viewer
  std::vector<PertBox> boxes;
  std::vector<PertLink> links;
};

// Reads the root's children with their solved times and their positions in the
// kind's view; those without one get the layout MissingPositions gives (not stored).
PertChart BuildPertChart(const Ref<HostActivity>& root, int viewerKind);

// Numbers in the short form of the picture: 12, 12.5, 0.33.
std::string PertNumber(double v);
// One line for the chart, one per box, one per link.
std::string PertText(const PertChart& chart);
// A self-contained SVG document; the same chart always gives the same bytes.
std::string PertSvg(const PertChart& chart);

}  // namespace host
