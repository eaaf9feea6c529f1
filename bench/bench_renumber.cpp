// Renumbering cost per activity from 10^3 to 10^6 activities; it must stay linear.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>
#include <map>

#include "HostRuntime.h"
#include "OrvVekCommandServices.h"
#include "PlantGenerator.h"
#include "TavVekRenumberActCmd.h"

namespace {

Ref<host::HostDocument> Plant(std::size_t activities) {
  static std::map<std::size_t, Ref<host::HostDocument>> cache;
  auto& d = cache[activities];
  if (!d) {
    host::PlantSpec spec;
    spec.activities = activities;
    spec.products = 1000;
    spec.resources = 50;
    spec.depth = 6;
    spec.seed = 7;
    d = host::GeneratePlant(spec);
  }
  return d;
}

// The median of several runs, the same statistic at every size.
double SecondsPerActivity(std::size_t n, int rounds) {
  host::HostSession session;
  session.OpenDocument(Plant(n));
  std::vector<double> runs;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = std::chrono::steady_clock::now();
    TavVekRenumberActCmd::SetUniqueLabel();
    std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
    runs.push_back(dt.count());
  }
  std::nth_element(runs.begin(), runs.begin() + static_cast<long>(runs.size() / 2), runs.end());
  return runs[runs.size() / 2] / static_cast<double>(n);
}

void BM_Renumber(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  host::HostSession session;
  session.OpenDocument(Plant(n));
  for (auto _ : state) {
    TavVekRenumberActCmd::SetUniqueLabel();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
  state.counters["ns_per_activity"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(n), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Renumber)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Per-activity cost at 10^6 over that at 10^4 (target: at most 2).
void BM_RenumberScaling(benchmark::State& state) {
  double ratio = 0;
  for (auto _ : state) ratio = SecondsPerActivity(1000000, 5) / SecondsPerActivity(10000, 5);
  state.counters["ratio_1e6_vs_1e4"] = ratio;
}
BENCHMARK(BM_RenumberScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
