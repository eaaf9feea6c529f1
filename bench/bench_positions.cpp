// Design positions and synchronisations at scale.
// 1. The displaced list plus Restore all on generated plants of 10^4, 10^5 and 10^6
//    products and resources, 1% displaced (every 100th, a shift or a quarter turn).
//    Target: the cost per product at 10^6 at most 2x that at 10^4.
// 2. One HasIndirectConstraints over a chain of 10^3 and 10^5 synchronised activities
//    (the walk visits the whole chain: the target is unrelated), from cold caches.
//    Target: the cost per activity at 10^5 at most 2x that at 10^3.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchMain.h"
#include "HostPositions.h"
#include "OrvVekDesignRestore.h"
#include "PlantGenerator.h"

namespace {

struct Plant {
  Ref<host::HostDocument> doc;
  std::size_t objects = 0;
  // Where the displaced ones stood, to displace them again after a restore.
  std::vector<std::pair<Ref<TavIMovable>, TavIMovable::Position>> moved;
};

Plant& Cached(std::size_t products) {
  static std::map<std::size_t, Plant> cache;
  Plant& c = cache[products];
  if (c.doc) return c;
  host::PlantSpec spec;
  spec.activities = 100;
  spec.products = products;
  spec.resources = products / 100;
  spec.seed = 5;
  c.doc = host::GeneratePlant(spec);
  host::AddGeneratedPlacements(*c.doc, 100);
  c.objects = products + spec.resources;
  for (auto& o : OrvVekDesignRestore(c.doc).ComputeDisplacedPrdRes()) {
    auto m = query<TavIMovable>(o);
    c.moved.emplace_back(m, m->GetPosition());
  }
  return c;
}

std::size_t ListAndRestoreAll(Plant& c) {
  OrvVekDesignRestore engine(c.doc);
  std::vector<Ref<TavBaseUnknown>> list = engine.ComputeDisplacedPrdRes();
  for (auto& ma : OrvEMfgAssemblyFactory::GetMAsInContainer(c.doc, 0)) list.push_back(ma);
  engine.Restore(list);
  return engine.Moved().size();
}

// Seconds per product of the best of `rounds` cold runs; the plant is displaced again
// between runs, outside the time.
double SecondsPerProduct(Plant& c, int rounds) {
  const double best = BestCold([&] { return ListAndRestoreAll(c); }, rounds, [&] {
    for (auto& [m, p] : c.moved) m->SetPosition(p);
  });
  return best / static_cast<double>(c.objects);
}

void BM_RestoreAll(benchmark::State& state) {
  Plant& c = Cached(static_cast<std::size_t>(state.range(0)));
  std::size_t moved = 0;
  for (auto _ : state) {
    moved = ListAndRestoreAll(c);
    state.PauseTiming();
    for (auto& [m, p] : c.moved) m->SetPosition(p);
    state.ResumeTiming();
  }
  state.counters["moved"] = static_cast<double>(moved);
  state.counters["ns_per_product"] = 1e9 * SecondsPerProduct(c, 3);
}
BENCHMARK(BM_RestoreAll)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RestoreScaling(benchmark::State& state) {
  double small = 0, large = 0;
  for (auto _ : state) {
    small = SecondsPerProduct(Cached(10000), 5);
    large = SecondsPerProduct(Cached(1000000), 3);
  }
  state.counters["ns_1e4"] = small * 1e9;
  state.counters["ns_1e6"] = large * 1e9;
  state.counters["ratio_1e6_vs_1e4"] = large / small;
}
BENCHMARK(BM_RestoreScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

// A chain of synchronised activities: neighbours start or end together, both sides held.
struct Chain {
  Ref<host::HostDocument> doc;
  std::vector<Ref<host::HostActivity>> activities;
  Ref<host::HostActivity> outsider;
};

Chain& CachedChain(std::size_t n) {
  static std::map<std::size_t, Chain> cache;
  Chain& c = cache[n];
  if (c.doc) return c;
  host::PlantSpec spec;
  spec.activities = n + 2;
  spec.products = 10;
  spec.resources = 2;
  spec.seed = 9;
  c.doc = host::GeneratePlant(spec);
  std::vector<Ref<host::HostActivity>> stack(c.doc->Process().roots_.begin(), c.doc->Process().roots_.end());
  while (!stack.empty()) {
    auto a = stack.back();
    stack.pop_back();
    if (a->Type()->IsA("Activity")) c.activities.push_back(a);
    for (auto it = a->Children().rbegin(); it != a->Children().rend(); ++it) stack.push_back(*it);
  }
  // The target is synchronised too, with a partner of its own, off the chain: the
  // walk cannot stop before it has seen the whole chain.
  c.outsider = c.activities.back();
  c.activities.pop_back();
  host::HostActivity::AppendNewSync(c.outsider, c.activities.back(), TavConstraintType::StartStart);
  c.activities.pop_back();
  for (std::size_t i = 0; i + 1 < c.activities.size(); ++i)
    host::HostActivity::AppendNewSync(c.activities[i], c.activities[i + 1],
                                      i % 2 ? TavConstraintType::EndEnd : TavConstraintType::StartStart);
  return c;
}

// Seconds per activity of one call, the best of `rounds` cold calls (as the first
// pick after the plant loads makes it), so that the small chain is not timed from a
// cache the large one cannot fit in.
double SecondsPerActivity(Chain& c, int rounds) {
  auto first = query<TavISPPProcessConstraintsMgt>(std::static_pointer_cast<TavBaseUnknown>(c.activities.front()));
  Ref<TavBaseUnknown> target = c.outsider;
  const double best = BestCold([&] { return first->HasIndirectConstraints(target); }, rounds);
  return best / static_cast<double>(c.activities.size());
}

void BM_IndirectConstraintsScaling(benchmark::State& state) {
  double small = 0, large = 0;
  for (auto _ : state) {
    small = SecondsPerActivity(CachedChain(1000), 21);
    large = SecondsPerActivity(CachedChain(100000), 7);
  }
  state.counters["activities_1e5"] = static_cast<double>(CachedChain(100000).activities.size());
  state.counters["ns_1e3"] = small * 1e9;
  state.counters["ns_1e5"] = large * 1e9;
  state.counters["ratio_1e5_vs_1e3"] = large / small;
}
BENCHMARK(BM_IndirectConstraintsScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
