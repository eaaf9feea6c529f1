#include "PertLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace host::pert {

namespace {

struct Adjacency {
  std::vector<std::uint32_t> start, list;  // CSR: neighbours of i in list[start[i], start[i+1])
};

Adjacency Build(std::size_t n, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& edges, bool forward) {
  Adjacency a;
  a.start.assign(n + 1, 0);
  for (auto [f, t] : edges)
    if (f < n && t < n && f != t) ++a.start[(forward ? f : t) + 1];
  for (std::size_t i = 0; i < n; ++i) a.start[i + 1] += a.start[i];
  a.list.resize(a.start[n]);
  std::vector<std::uint32_t> fill(a.start.begin(), a.start.end() - 1);
  for (auto [f, t] : edges)
    if (f < n && t < n && f != t) a.list[fill[forward ? f : t]++] = forward ? t : f;
  return a;
}

// Longest-path columns by Kahn's order; when only nodes on cycles are left, the
// lowest-numbered one goes next as if its remaining inputs were not there.
std::vector<int> Ranks(std::size_t n, const Adjacency& out, const Adjacency& in) {
  std::vector<int> rank(n, 0);
  std::vector<std::uint32_t> pending(n);
  std::vector<char> done(n, 0);
  std::vector<std::uint32_t> ready;
  for (std::size_t i = 0; i < n; ++i) {
    pending[i] = in.start[i + 1] - in.start[i];
    if (pending[i] == 0) ready.push_back(static_cast<std::uint32_t>(i));
  }
  std::reverse(ready.begin(), ready.end());  // pop the lowest number first
  std::size_t next = 0, finished = 0;        // next: where to look for a cycle breaker
  while (finished < n) {
    std::uint32_t v;
    if (!ready.empty()) {
      v = ready.back();
      ready.pop_back();
    } else {
      while (done[next]) ++next;
      v = static_cast<std::uint32_t>(next);
    }
    if (done[v]) continue;
    done[v] = 1;
    ++finished;
    for (std::uint32_t k = in.start[v]; k < in.start[v + 1]; ++k)
      if (done[in.list[k]]) rank[v] = std::max(rank[v], rank[in.list[k]] + 1);
    for (std::uint32_t k = out.start[v]; k < out.start[v + 1]; ++k) {
      const std::uint32_t w = out.list[k];
      if (!done[w] && --pending[w] == 0) ready.push_back(w);
    }
  }
  return rank;
}

// Reorders each column by the mean row of the node's neighbours in earlier columns
// (downward) or later ones (upward); a node without such neighbours keeps its row.
void Sweep(std::vector<std::vector<std::uint32_t>>& columns, std::vector<int>& order, const std::vector<int>& rank,
           const Adjacency& toward, bool down) {
  const int count = static_cast<int>(columns.size());
  std::vector<std::pair<double, std::uint32_t>> keyed;
  for (int step = 0; step < count; ++step) {
    auto& column = columns[static_cast<std::size_t>(down ? step : count - 1 - step)];
    keyed.clear();
    for (std::uint32_t v : column) {
      double sum = 0;
      int seen = 0;
      for (std::uint32_t k = toward.start[v]; k < toward.start[v + 1]; ++k) {
        const std::uint32_t w = toward.list[k];
        if (down ? rank[w] < rank[v] : rank[w] > rank[v]) {
          sum += order[w];
          ++seen;
        }
      }
      keyed.push_back({seen ? sum / seen : order[v], v});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
      column[i] = keyed[i].second;
      order[keyed[i].second] = static_cast<int>(i);
    }
  }
}

double StepOf(double box, double space, double grid) {
  return std::ceil((box + std::max(space, grid)) / grid) * grid;
}

}  // namespace

Layers LayerGraph(std::size_t n, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& edges, int sweeps) {
  Layers l;
  if (n == 0) return l;
  const Adjacency out = Build(n, edges, true), in = Build(n, edges, false);
  l.rank = Ranks(n, out, in);
  const int columns = *std::max_element(l.rank.begin(), l.rank.end()) + 1;
  std::vector<std::vector<std::uint32_t>> byColumn(static_cast<std::size_t>(columns));
  l.order.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    auto& c = byColumn[static_cast<std::size_t>(l.rank[i])];
    l.order[i] = static_cast<int>(c.size());
    c.push_back(static_cast<std::uint32_t>(i));
  }
  for (int s = 0; s < sweeps; ++s) {
    Sweep(byColumn, l.order, l.rank, in, true);
    Sweep(byColumn, l.order, l.rank, out, false);
  }
  return l;
}

double Snap(double v, double grid) { return grid > 0 ? std::round(v / grid) * grid + 0.0 : v; }

std::vector<std::pair<double, double>> PlaceLayers(const Layers& layers, double spaceX, double spaceY, double grid,
                                                   double originX, double originY) {
  const double stepX = StepOf(kBoxWidth, spaceX, grid), stepY = StepOf(kBoxHeight, spaceY, grid);
  std::vector<std::pair<double, double>> out(layers.rank.size());
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = {originX + layers.rank[i] * stepX, originY + layers.order[i] * stepY};
  return out;
}

}  // namespace host::pert
