// Copying a whole process with the editor's copy-and-paste actor, then undoing it:
// the cost per activity at 10^3 and 10^5 activities (no step that grows with the
// plant per activity: target at most 2).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "BenchMain.h"
#include "HostRuntime.h"
#include "HostUndo.h"
#include "PlantGenerator.h"
#include "TavCopy.h"

namespace {

struct Seconds {
  double paste = 0, undo = 0;
};

// Seconds per copied activity, the best of several rounds.
Seconds PerActivity(std::size_t n, int rounds) {
  host::PlantSpec spec;
  spec.activities = n;
  spec.products = 1000;
  spec.resources = 20;
  spec.depth = 4;
  spec.seed = 5;
  auto doc = host::GeneratePlant(spec);
  host::HostSession session;
  auto editor = session.OpenDocument(doc);
  auto actor = query<TavCCP_Actor>(editor);
  auto root = doc->Process().roots_.front();
  TavSelectionSet selection("CSO");
  selection.AddElement(doc->PathOf(root));
  Seconds best;
  for (int r = 0; r < rounds; ++r) {
    EvictCaches();
    auto t0 = std::chrono::steady_clock::now();
    actor->SetMode(TavCCP_Actor::kCopyMode);
    if (actor->Copy(selection) != S_OK) std::abort();
    actor->SetMode(TavCCP_Actor::kPasteMode);
    doc->Journal().Begin();
    if (actor->Paste(selection) != S_OK) std::abort();
    doc->Journal().Commit("paste");
    auto t1 = std::chrono::steady_clock::now();
    if (!doc->Journal().Undo(nullptr)) std::abort();
    auto t2 = std::chrono::steady_clock::now();
    const double paste = std::chrono::duration<double>(t1 - t0).count() / static_cast<double>(n);
    const double undo = std::chrono::duration<double>(t2 - t1).count() / static_cast<double>(n);
    if (r == 0 || paste < best.paste) best.paste = paste;
    if (r == 0 || undo < best.undo) best.undo = undo;
  }
  return best;
}

void BM_CopyPasteScaling(benchmark::State& state) {
  Seconds at1e3, at1e5;
  for (auto _ : state) {
    at1e3 = PerActivity(1000, 7);
    at1e5 = PerActivity(100000, 3);
  }
  state.counters["us_per_activity_1e3"] = at1e3.paste * 1e6;
  state.counters["us_per_activity_1e5"] = at1e5.paste * 1e6;
  state.counters["ratio_1e5_over_1e3"] = at1e5.paste / at1e3.paste;
  state.counters["undo_ratio_1e5_over_1e3"] = at1e5.undo / at1e3.undo;
}
BENCHMARK(BM_CopyPasteScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
