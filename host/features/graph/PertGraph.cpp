#include "PertGraph.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "PertLayout.h"

namespace host {

namespace {
std::vector<std::pair<std::uint32_t, std::uint32_t>> AllLinks(const SiblingGraph& g) {
  auto links = g.flows;
  links.insert(links.end(), g.precedences.begin(), g.precedences.end());
  return links;
}

bool Overlap(const std::pair<double, double>& a, const std::pair<double, double>& b) {
  return std::abs(a.first - b.first) < pert::kBoxWidth && std::abs(a.second - b.second) < pert::kBoxHeight;
}

// Stored positions usually come from an earlier layout of the same chart: lay the
// whole chart out again, move it so that the first placed box lands where it is
// stored, and give the missing boxes their places in it. Then a box added to a
// laid-out chart sits where its links put it. False (nothing set) when a missing
// box would overlap another box that way.
bool FitIntoLayout(const SiblingGraph& g, const GraphPositionStore& store, int view,
                   std::vector<std::optional<std::pair<double, double>>>& out) {
  const auto layout = LayoutAll(g, pert::kDefaultSpaceX, pert::kDefaultSpaceY);
  std::vector<std::pair<double, double>> placed;
  std::optional<std::pair<double, double>> shift;
  for (std::uint32_t i = 0; i < g.nodes.size(); ++i) {
    double x = 0, y = 0;
    if (!store.Get(*g.nodes[i], view, x, y)) continue;
    if (!shift) shift = std::make_pair(x - layout[i].first, y - layout[i].second);
    placed.push_back({x, y});
  }
  std::vector<std::optional<std::pair<double, double>>> fit(g.nodes.size());
  for (std::uint32_t i = 0; i < g.nodes.size(); ++i) {
    double x = 0, y = 0;
    if (store.Get(*g.nodes[i], view, x, y)) continue;
    const std::pair<double, double> at{layout[i].first + shift->first, layout[i].second + shift->second};
    for (auto& p : placed)
      if (Overlap(at, p)) return false;
    placed.push_back(at);
    fit[i] = at;
  }
  out = std::move(fit);
  return true;
}
}  // namespace

SiblingGraph SiblingsOf(const HostActivity& father) {
  SiblingGraph g;
  g.nodes = father.Children();
  std::unordered_map<const HostActivity*, std::uint32_t> index;
  index.reserve(g.nodes.size());
  for (std::size_t i = 0; i < g.nodes.size(); ++i) index.emplace(g.nodes[i].get(), static_cast<std::uint32_t>(i));
  auto add = [&](std::uint32_t from, const std::vector<std::weak_ptr<HostActivity>>& to, auto& list) {
    for (auto& w : to) {
      auto t = w.lock();
      auto it = t ? index.find(t.get()) : index.end();
      if (it != index.end() && it->second != from) list.push_back({from, it->second});
    }
  };
  for (std::uint32_t i = 0; i < g.nodes.size(); ++i) {
    add(i, g.nodes[i]->Next(), g.flows);
    add(i, g.nodes[i]->After(), g.precedences);  // After(): what this one must precede
  }
  return g;
}

std::vector<std::optional<std::pair<double, double>>> MissingPositions(const SiblingGraph& g,
                                                                       const GraphPositionStore& store, int view) {
  std::vector<std::optional<std::pair<double, double>>> out(g.nodes.size());
  std::vector<std::uint32_t> missing;
  std::vector<std::uint32_t> numberIn(g.nodes.size(), UINT32_MAX);
  bool anyPlaced = false;
  double minX = 0, maxY = 0;
  for (std::uint32_t i = 0; i < g.nodes.size(); ++i) {
    double x = 0, y = 0;
    if (store.Get(*g.nodes[i], view, x, y)) {
      minX = anyPlaced ? std::min(minX, x) : x;
      maxY = anyPlaced ? std::max(maxY, y) : y;
      anyPlaced = true;
    } else {
      numberIn[i] = static_cast<std::uint32_t>(missing.size());
      missing.push_back(i);
    }
  }
  if (missing.empty()) return out;
  if (anyPlaced && FitIntoLayout(g, store, view, out)) return out;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> edges;
  for (auto [f, t] : AllLinks(g))
    if (numberIn[f] != UINT32_MAX && numberIn[t] != UINT32_MAX) edges.push_back({numberIn[f], numberIn[t]});
  const pert::Layers layers = pert::LayerGraph(missing.size(), edges);
  // Below the lowest placed box, on the grid.
  const double originX = anyPlaced ? pert::Snap(minX, pert::kGrid) : 0;
  const double originY =
      anyPlaced ? pert::Snap(maxY, pert::kGrid) + pert::kBoxHeight + pert::kDefaultSpaceY + pert::kGrid : 0;
  const auto places = pert::PlaceLayers(layers, pert::kDefaultSpaceX, pert::kDefaultSpaceY, pert::kGrid,
                                        pert::Snap(originX, pert::kGrid), pert::Snap(originY, pert::kGrid));
  for (std::size_t k = 0; k < missing.size(); ++k) out[missing[k]] = places[k];
  return out;
}

std::vector<std::pair<double, double>> LayoutAll(const SiblingGraph& g, double x, double y) {
  return pert::PlaceLayers(pert::LayerGraph(g.nodes.size(), AllLinks(g)), x, y, pert::kGrid, 0, 0);
}

Ref<HostActivity> TreeTop(const Ref<HostActivity>& a) {
  Ref<HostActivity> top = a;
  while (top)
    if (auto f = top->FatherActivity()) top = std::move(f);
    else break;
  return top;
}

}  // namespace host
