// Opening a Gantt chart window (its table read from the model) from 10^4 to 10^6
// activities, with one attribute column: per-row cost must stay flat.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchMain.h"
#include "BenchPlant.h"
#include "GanttWindow.h"
#include "HostRuntime.h"
#include "HostWindows.h"
#include "PlantGenerator.h"

namespace {

Ref<host::HostDocument> Plant(std::size_t activities) {
  return CachedPlant(activities, 50, 6, 11, [](host::HostDocument& d) {
    // Every third activity carries the attribute column's value.
    std::size_t k = 0;
    for (auto& a : d.Process().roots_.front()->GetAllChildActivities())
      if (k++ % 3 == 0) query<TavIAttributeHolder>(a)->SetAttribute("Robot", TavUnicodeString("R" + std::to_string(k % 17)));
  });
}

void BM_OpenGanttWindow(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  auto doc = Plant(n);
  host::HostSession session;
  session.OpenDocument(doc);
  TavSettingRepository::GetRepository(OrvIVEKGanttSettingAtt::kControllerName)
      .Write(OrvIVEKGanttSettingAtt::kColumnVisibilityKey, TavUnicodeString("$$Robot$$"));
  Ref<TavBaseUnknown> root = doc->Process().roots_.front();
  for (auto _ : state) {
    state.PauseTiming();
    EvictCaches();
    state.ResumeTiming();
    std::string error;
    auto w = host::OpenGanttWindow(root, error);
    benchmark::DoNotOptimize(w);
    state.PauseTiming();
    host::HostWindows::Get().Close(w);
    w.reset();
    state.ResumeTiming();
  }
  state.counters["ns_per_row"] = benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(n),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OpenGanttWindow)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN()
