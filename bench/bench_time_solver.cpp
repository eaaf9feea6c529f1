// FullSolve of generated processes of 10^4, 10^5 and 10^6 activities, best of 9
// rounds from cold caches: the cost per activity must stay flat (within 2x from 10^4
// to 10^6), since the solver is one pass forward and one back over flat arrays.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchMain.h"
#include "BenchPlant.h"
#include "TavGraph.h"

namespace {

std::map<std::size_t, double>& PerActivity() {
  static std::map<std::size_t, double> m;
  return m;
}

void BM_FullSolve(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  auto doc = CachedPlant(n, 50, 6, 17);
  Ref<TavBaseUnknown> root = doc->Process().roots_.front();
  double best = 1e30;
  for (auto _ : state) {
    for (int round = 0; round < 9; ++round) {
      state.PauseTiming();
      EvictCaches();
      state.ResumeTiming();
      best = std::min(best, Best([&] {
        OrvModelTimeSolver solver;
        return solver.FullSolve(root);
      }, 1));
    }
  }
  const double perActivity = best / static_cast<double>(n) * 1e9;
  PerActivity()[n] = perActivity;
  state.counters["best_ms"] = best * 1e3;
  state.counters["ns_per_activity"] = perActivity;
  if (n == 1000000 && PerActivity().count(10000)) {
    state.counters["ratio_1e6_to_1e4"] = perActivity / PerActivity()[10000];
    state.counters["time_1e6_ms"] = best * 1e3;
  }
}
BENCHMARK(BM_FullSolve)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN()
