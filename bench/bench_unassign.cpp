// Total unassign: the cost per activity of clearing a whole process from 10^3 to 10^5
// activities (it must stay linear), and one activity holding 10^4 relations cleared by
// the command against removing the same relations directly.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "BenchMain.h"
#include "HostRuntime.h"
#include "PlantGenerator.h"
#include "WexVekTotalUnassignCmd.h"

namespace {

Ref<host::HostDocument> Plant(std::size_t activities) {
  host::PlantSpec spec;
  spec.activities = activities;
  spec.products = std::max<std::size_t>(1000, activities / 2);
  spec.resources = 50;
  spec.depth = 6;
  spec.seed = 11;
  return host::GeneratePlant(spec);
}

Ref<TavISPPActivity> RootOf(host::HostDocument& doc) { return doc.Process().roots_.front(); }

// The best of several rounds of clearing a fresh plant; only the clearing is timed,
// from cold caches (EvictCaches): a fresh plant of 10^3 activities lies entirely in
// the caches its generation filled, one of 10^5 does not.
double SecondsPerActivity(std::size_t n, int rounds) {
  double best = 0;
  for (int r = 0; r < rounds; ++r) {
    auto doc = Plant(n);
    WexVekTotalUnassignCmd cmd;
    EvictCaches();
    auto t0 = std::chrono::steady_clock::now();
    cmd.SearchAssigments(RootOf(*doc), 2);
    std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
    benchmark::DoNotOptimize(cmd.RemovedProducts());
    const double perActivity = dt.count() / static_cast<double>(n);
    if (r == 0 || perActivity < best) best = perActivity;
  }
  return best;
}

void BM_UnassignRoot(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  std::int64_t removed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = Plant(n);
    WexVekTotalUnassignCmd cmd;
    state.ResumeTiming();
    cmd.SearchAssigments(RootOf(*doc), 2);
    state.PauseTiming();
    removed = cmd.RemovedProducts() + cmd.RemovedResources();
    doc.reset();
    state.ResumeTiming();
  }
  state.counters["removed"] = static_cast<double>(removed);
  state.counters["ns_per_activity"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(n), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UnassignRoot)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Per-activity cost at 10^5 over that at 10^3, from cold caches (target: at most 2).
void BM_UnassignScaling(benchmark::State& state) {
  double at1e3 = 0, at1e5 = 0;
  for (auto _ : state) {
    at1e3 = SecondsPerActivity(1000, 15);
    at1e5 = SecondsPerActivity(100000, 5);
  }
  state.counters["ns_1e3"] = at1e3 * 1e9;
  state.counters["ns_1e5"] = at1e5 * 1e9;
  state.counters["ratio_1e5_vs_1e3"] = at1e5 / at1e3;
}
BENCHMARK(BM_UnassignScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

// One activity with 10^4 relations, as a planner's catch-all station might hold:
// products processed (some also first processed), outputs and used resources, made
// in an interleaved order.
struct Wide {
  Ref<host::HostDocument> doc = host::HostDocument::Create(false);
  Ref<host::HostActivity> activity;
  Wide() {
    auto root = doc->CreateRootProcess("", "Process");
    activity = doc->CreateActivity(root, "PhysicalActivity", "", "Everything");
    auto body = doc->CreateProduct(nullptr, "", "Body.1");
    auto station = doc->CreateProduct(nullptr, "", "Station.1", {}, true);
    for (int i = 0; i < 8000; ++i) {
      auto p = doc->CreateProduct(body, "", "Part." + std::to_string(i));
      if (i % 4 == 3) activity->AddOutput(p);
      else activity->AddItem(p, i % 8 == 1 ? TavItemCode::FirstProcesses : TavItemCode::Processes);
      if (i % 4 == 0) activity->AddResource(doc->CreateProduct(station, "", "Tool." + std::to_string(i)), TavResourceCode::Uses);
    }
  }
};

void BM_UnassignWideActivity(benchmark::State& state) {
  std::size_t relations = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Wide w;
    relations = w.activity->Relations().size();
    WexVekTotalUnassignCmd cmd;
    state.ResumeTiming();
    cmd.SearchAssigments(w.activity, 2);
    state.PauseTiming();
    if (!w.activity->Relations().empty()) state.SkipWithError("relations left");
    state.ResumeTiming();
  }
  state.counters["relations"] = static_cast<double>(relations);
}
BENCHMARK(BM_UnassignWideActivity)->Unit(benchmark::kMillisecond);

// The baseline: the same relations removed directly, in creation order.
void BM_RemoveRelationsDirectly(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Wide w;
    auto all = w.activity->Relations();
    state.ResumeTiming();
    for (auto& r : all) w.activity->RemoveRelation(r->GetRelationType(), r->Target());
    state.PauseTiming();
    if (!w.activity->Relations().empty()) state.SkipWithError("relations left");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RemoveRelationsDirectly)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN()
