#pragma once
// The layered layout of a PERT chart: boxes in columns by longest path over the
// links (a box stands right of everything that leads to it), ordered in each column
// by the mean row of their neighbours (a few sweeps each way, so links cross
// less), then placed on a grid so that no two boxes overlap. Linear in boxes and
// links per sweep, apart from sorting each column.
#include <cstdint>
#include <utility>
#include <vector>

namespace host::pert {

// The size of a box in the chart and in its picture.
inline constexpr double kBoxWidth = 160, kBoxHeight = 80;
inline constexpr double kGrid = 10;
// Spacing of a layout nobody asked for (a window opened on boxes without positions).
inline constexpr double kDefaultSpaceX = 40, kDefaultSpaceY = 20;

struct Layers {
  std::vector<int> rank;   // column of each node, from 0
  std::vector<int> order;  // row within its column, from 0
};

// Ranks and orders n nodes; edges are (from, to) node numbers below n (others and
// loops are ignored). A cycle is broken at its first node in number order.
Layers LayerGraph(std::size_t n, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& edges, int sweeps = 4);

// `v` rounded to the nearest multiple of `grid`.
double Snap(double v, double grid);

// Top-left corners: column c at originX + c * stepX, row r at originY + r * stepY,
// where a step is a box plus the spacing (at least one grid), rounded up to the grid.
// With the origin on the grid, every corner is on it and boxes never overlap.
std::vector<std::pair<double, double>> PlaceLayers(const Layers& layers, double spaceX, double spaceY, double grid,
                                                   double originX, double originY);

}  // namespace host::pert
