// Replacing a part throughout processes of 10^3 to 10^5 activities, every tenth
// consuming it: the cost per activity of the process at 10^5 against 10^3
// (target: at most 2). Each round is taken back.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <map>

#include "BenchMain.h"
#include "HostRuntime.h"
#include "HostUndo.h"
#include "OrvVekCommandServices.h"
#include "PlantGenerator.h"
#include "WexReplacePartsCmd.h"

namespace {

struct Plant {
  Ref<host::HostDocument> doc;
  Ref<host::HostProduct> oldPart, newPart;
  std::size_t activities = 0, users = 0;
};

Plant& PlantOf(std::size_t n) {
  static std::map<std::size_t, Plant> cache;
  Plant& p = cache[n];
  if (p.doc) return p;
  host::PlantSpec spec;
  spec.activities = n;
  spec.products = 100;
  spec.resources = 20;
  spec.seed = 31;
  p.doc = host::GeneratePlant(spec);
  p.oldPart = p.doc->CreateProduct(nullptr, "bench_old", "BenchPart.1", "BP-1");
  p.newPart = p.doc->CreateProduct(nullptr, "bench_new", "BenchPart.2", "BP-2");
  for (auto& a : p.doc->Process().roots_.front()->GetAllChildActivities()) {
    auto act = std::dynamic_pointer_cast<host::HostActivity>(a);
    if (p.activities++ % 10 == 0 && act->AddItem(p.oldPart, TavItemCode::Processes) == S_OK) ++p.users;
  }
  return p;
}

// The best of `rounds` replacements, each undone after it.
double Best(Plant& p, int rounds) {
  host::HostSession session;
  session.OpenDocument(p.doc);
  double best = 0;
  for (int r = 0; r < rounds; ++r) {
    host::UndoScope round(*p.doc);
    std::vector<WexReplacePartsCmd::Change> changes;
    auto t0 = std::chrono::steady_clock::now();
    if (FAILED(WexReplacePartsCmd::Replace(p.oldPart, p.newPart, &changes)) || changes.size() != p.users) std::abort();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (r == 0 || s < best) best = s;
  }
  return best;
}

void BM_ReplaceParts(benchmark::State& state) {
  Plant& p = PlantOf(static_cast<std::size_t>(state.range(0)));
  double s = 0;
  for (auto _ : state) s = Best(p, 3);
  state.counters["activities"] = static_cast<double>(p.activities);
  state.counters["relations_moved"] = static_cast<double>(p.users);
  state.counters["ns_per_activity"] = s * 1e9 / static_cast<double>(p.activities);
}
BENCHMARK(BM_ReplaceParts)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReplacePartsRatio(benchmark::State& state) {
  Plant &small = PlantOf(1000), &big = PlantOf(100000);
  double ratio = 0;
  for (auto _ : state)
    ratio = (Best(big, 3) / static_cast<double>(big.activities)) / (Best(small, 30) / static_cast<double>(small.activities));
  state.counters["per_activity_1e5_vs_1e3"] = ratio;
}
BENCHMARK(BM_ReplacePartsRatio)->Iterations(1)->Unit(benchmark::kMillisecond);

// The floor: the walk alone, every activity of the process listed once.
void BM_WalkOnly(benchmark::State& state) {
  Plant& p = PlantOf(static_cast<std::size_t>(state.range(0)));
  host::HostSession session;
  session.OpenDocument(p.doc);
  for (auto _ : state) benchmark::DoNotOptimize(OrvVekCommandServices::GetAllActivities().size());
  state.counters["ns_per_activity"] = benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(p.activities),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WalkOnly)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
