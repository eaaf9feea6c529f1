#pragma once
// The graph a PERT chart shows: the children of one activity (control nodes
// included, in order) and the flows and precedences among them.
#include <optional>
#include <utility>

#include "GraphPositions.h"

namespace host {

struct SiblingGraph {
  std::vector<Ref<HostActivity>> nodes;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> flows, precedences;  // node numbers, from -> to
};

SiblingGraph SiblingsOf(const HostActivity& father);

// The view a viewer kind draws: 2 for the precedence viewer, else the PERT chart's 1.
inline int ViewOfKind(int viewerKind) { return viewerKind == 2 ? 2 : 1; }

// Positions for the nodes that have none in `view`: where a layout of the whole
// chart puts them, moved onto the stored boxes, when that overlaps none of them;
// else laid out among themselves below the placed ones, so that nothing overlaps. An entry per node: empty for those that have a position.
std::vector<std::optional<std::pair<double, double>>> MissingPositions(const SiblingGraph& g,
                                                                       const GraphPositionStore& store, int view);

// Every node placed, x and y apart (each at least the grid), from the origin.
std::vector<std::pair<double, double>> LayoutAll(const SiblingGraph& g, double x, double y);

// The activity at the top of a's tree: a process root, or a behaviour.
Ref<HostActivity> TreeTop(const Ref<HostActivity>& a);

}  // namespace host
