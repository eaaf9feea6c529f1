// The layered layout: columns by longest path, on the grid, no overlaps, on
// generated graphs as on hand-made ones.
#include <cmath>
#include <random>
#include <set>

#include "GraphPlant.h"
#include "PertBackend.h"
#include "PertLayout.h"

using namespace host;

namespace {

using Edges = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

void ExpectGridAndNoOverlap(const std::vector<std::pair<double, double>>& places, double grid) {
  std::set<std::pair<double, double>> seen;
  for (auto [x, y] : places) {
    EXPECT_EQ(std::fmod(x, grid), 0) << x;
    EXPECT_EQ(std::fmod(y, grid), 0) << y;
    EXPECT_TRUE(seen.insert({x, y}).second) << x << "," << y;
  }
  // Corners on a lattice whose steps exceed a box: distinct corners never overlap.
  std::set<double> xs, ys;
  for (auto [x, y] : places) xs.insert(x), ys.insert(y);
  for (auto it = xs.begin(); it != xs.end() && std::next(it) != xs.end(); ++it)
    EXPECT_GE(*std::next(it) - *it, pert::kBoxWidth + grid);
  for (auto it = ys.begin(); it != ys.end() && std::next(it) != ys.end(); ++it)
    EXPECT_GE(*std::next(it) - *it, pert::kBoxHeight + grid);
}

TEST(PertLayout, ColumnsFollowTheLongestPathAndCyclesAreBroken) {
  // 0 -> 1 -> 2 -> 4, 0 -> 3 -> 4, 0 -> 4: 4 stands right of 2.
  const auto l = pert::LayerGraph(5, {{0, 1}, {1, 2}, {2, 4}, {0, 3}, {3, 4}, {0, 4}});
  EXPECT_EQ(l.rank, (std::vector<int>{0, 1, 2, 1, 3}));
  // A cycle 1 -> 2 -> 1 behind 0: broken at 1, every node still placed once.
  const auto c = pert::LayerGraph(3, {{0, 1}, {1, 2}, {2, 1}, {5, 0}, {1, 1}});
  EXPECT_EQ(c.rank, (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(pert::LayerGraph(0, {}).rank.empty());
}

TEST(PertLayout, BarycentreOrderUncrossesTwoChains) {
  // Two chains a0->a1, b0->b1, with column 1 listed the other way round first.
  const auto l = pert::LayerGraph(4, {{0, 3}, {1, 2}});
  EXPECT_EQ(l.rank, (std::vector<int>{0, 0, 1, 1}));
  EXPECT_EQ(l.order[3], l.order[0]);
  EXPECT_EQ(l.order[2], l.order[1]);
}

TEST(PertLayout, GeneratedGraphsLandOnTheGridWithoutOverlaps) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    const std::uint32_t n = 1 + rng() % 200;
    Edges edges;
    for (std::uint32_t k = 0; k < n * 2; ++k) edges.push_back({rng() % n, rng() % n});  // cycles too
    const auto layers = pert::LayerGraph(n, edges);
    for (double space : {-50.0, 0.0, 5.0, 33.0}) {
      const auto places = pert::PlaceLayers(layers, space, 50, pert::kGrid, 0, 0);
      ASSERT_EQ(places.size(), n);
      ExpectGridAndNoOverlap(places, pert::kGrid);
    }
  }
}

TEST(PertLayout, AcyclicGraphsPointEveryLinkRight) {
  std::mt19937 rng(11);
  const std::uint32_t n = 500;
  Edges edges;
  for (std::uint32_t k = 0; k < 3 * n; ++k) {
    std::uint32_t a = rng() % n, b = rng() % n;
    if (a != b) edges.push_back({std::min(a, b), std::max(a, b)});
  }
  const auto l = pert::LayerGraph(n, edges);
  for (auto [f, t] : edges) EXPECT_LT(l.rank[f], l.rank[t]);
}

TEST(PertLayout, BackendPlacesMissingChildrenBelowPlacedOnesAndLaysOutWholeCharts) {
  GraphSession s;
  auto& backend = HostPertBackend::Instance();
  EXPECT_EQ(backend.GetDefaultGridSize(), 10);
  auto load = s.Node("Process/Cell/Load");
  auto positions = [&](int view) {
    std::vector<std::pair<double, double>> out;
    for (auto& n : s.Node("Process/Cell")->GetChildNodes()) {
      double x = 0, y = 0;
      EXPECT_TRUE(n->GetPosition(view, x, y));
      out.push_back({x, y});
    }
    return out;
  };
  // One box stored: the others go where a layout of the whole chart, moved onto it,
  // puts them (load, weld, seal by precedence, unload in a row; spare below).
  load->SetPosition(1, 0, 300);
  ASSERT_EQ(backend.SetChildPertPositions(s.Node("Process/Cell"), 1), S_OK);
  auto places = positions(1);
  EXPECT_EQ(places[0], (std::pair<double, double>{0, 300}));  // kept
  EXPECT_EQ(places[1], (std::pair<double, double>{200, 300}));
  EXPECT_EQ(places[2].second, 300);
  EXPECT_EQ(places[3].second, 300);
  EXPECT_LT(places[1].first, places[2].first);
  EXPECT_LT(places[2].first, places[3].first);
  ExpectGridAndNoOverlap(places, 10);

  EXPECT_EQ(backend.SetChildPertPositions(s.Node("Process/Cell"), 3), E_FAIL);

  // X below the grid still keeps boxes apart; the precedence view is not touched.
  ASSERT_EQ(backend.LayoutPertChart(s.Node("Process/Cell/Seal"), 5, 50), S_OK);
  places.clear();
  for (auto& n : s.Node("Process/Cell")->GetChildNodes()) {
    double x = 0, y = 0;
    ASSERT_TRUE(n->GetPosition(1, x, y));
    places.push_back({x, y});
    EXPECT_FALSE(n->GetPosition(2, x, y));
  }
  ExpectGridAndNoOverlap(places, 10);
  // load, then weld, then seal (after weld by precedence), then unload.
  EXPECT_LT(places[0].first, places[1].first);
  EXPECT_LT(places[1].first, places[2].first);
  EXPECT_LT(places[2].first, places[3].first);

  bool linked = true;
  ASSERT_EQ(backend.IsNodeLinked(s.Node("Process/Cell/Spare"), linked), S_OK);
  EXPECT_FALSE(linked);
  ASSERT_EQ(backend.IsNodeLinked(s.Node("Process/Cell/Unload"), linked), S_OK);
  EXPECT_TRUE(linked);
  EXPECT_EQ(backend.TransferGENodesPositionData(), S_OK);
  EXPECT_FALSE(backend.IsHubMode());
}

TEST(PertLayout, MissingBoxesGoBelowWhenTheChartsLayoutWouldOverlapAStoredBox) {
  // A stored box where a layout of the whole chart would put another: the missing
  // ones go below all the stored ones.
  GraphSession s2;
  auto& backend = HostPertBackend::Instance();
  s2.Node("Process/Cell/Load")->SetPosition(2, 0, 300);
  s2.Node("Process/Cell/Spare")->SetPosition(2, 200, 300);
  ASSERT_EQ(backend.SetChildPertPositions(s2.Node("Process/Cell"), 2), S_OK);
  std::vector<std::pair<double, double>> below;
  for (auto& n : s2.Node("Process/Cell")->GetChildNodes()) {
    double x = 0, y = 0;
    ASSERT_TRUE(n->GetPosition(2, x, y));
    below.push_back({x, y});
  }
  for (std::size_t i : {1u, 2u, 3u}) EXPECT_GE(below[i].second, 300 + pert::kBoxHeight) << i;
  ExpectGridAndNoOverlap(below, 10);
}

}  // namespace
