// What undo costs: renumbering 10^5 activities with and without recording (target:
// recording adds at most 30%), undoing that renumbering (target: no slower than the
// renumbering itself), and the bytes kept per recorded change.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "BenchMain.h"
#include "HostRuntime.h"
#include "HostUndo.h"
#include "PlantGenerator.h"
#include "TavVekRenumberActCmd.h"

namespace {

constexpr std::size_t kActivities = 100000;

struct Bench {
  host::HostSession session;
  Ref<host::HostDocument> doc;
  std::vector<std::pair<Ref<host::HostActivity>, TavUnicodeString>> labels;  // as generated

  Bench() {
    host::PlantSpec spec;
    spec.activities = kActivities;
    spec.products = 1000;
    spec.resources = 50;
    spec.depth = 6;
    spec.seed = 7;
    doc = host::GeneratePlant(spec);
    session.OpenDocument(doc);
    for (auto& a : doc->Process().roots_.front()->GetAllChildActivities()) {
      auto h = std::dynamic_pointer_cast<host::HostActivity>(a);
      labels.emplace_back(h, h->GetLabel());
    }
  }
  // The generated labels again, outside any transaction.
  void Restore() {
    for (auto& [a, l] : labels) a->SetLabel(l);
  }
  void Renumber(bool record) {
    if (record) doc->Journal().Begin();
    TavVekRenumberActCmd::SetUniqueLabel();
    if (record) doc->Journal().Commit("renumber");
  }
};

Bench& TheBench() {
  static Bench b;
  return b;
}

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

void BM_Renumber(benchmark::State& state) {
  Bench& b = TheBench();
  const bool record = state.range(0) != 0;
  for (auto _ : state) {
    b.Renumber(record);
    state.PauseTiming();
    b.doc->Journal().Clear();
    b.Restore();
    state.ResumeTiming();
  }
  state.SetLabel(record ? "recording" : "not recording");
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kActivities));
}
BENCHMARK(BM_Renumber)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_UndoRenumber(benchmark::State& state) {
  Bench& b = TheBench();
  std::string err;
  for (auto _ : state) {
    state.PauseTiming();
    b.Renumber(true);
    state.ResumeTiming();
    if (!b.doc->Journal().Undo(&err)) state.SkipWithError(err.c_str());
    state.PauseTiming();
    b.doc->Journal().Clear();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kActivities));
}
BENCHMARK(BM_UndoRenumber)->Unit(benchmark::kMillisecond);

// The three costs from the best of fifteen rounds each, as ratios, and the bytes a
// recorded change keeps (records and the texts they own).
void BM_UndoSummary(benchmark::State& state) {
  Bench& b = TheBench();
  double plain = 1e9, recorded = 1e9, undo = 1e9, bytes = 0, changes = 0;
  std::string err;
  for (auto _ : state) {
    for (int round = 0; round < 15; ++round) {
      auto t0 = Clock::now();
      b.Renumber(false);
      plain = std::min(plain, Seconds(t0));
      b.Restore();
      t0 = Clock::now();
      b.Renumber(true);
      recorded = std::min(recorded, Seconds(t0));
      const auto& step = b.doc->Journal().StepAt(b.doc->Journal().Size() - 1);
      bytes = static_cast<double>(step.bytes);
      changes = static_cast<double>(step.records.size());
      t0 = Clock::now();
      if (!b.doc->Journal().Undo(&err)) state.SkipWithError(err.c_str());
      undo = std::min(undo, Seconds(t0));
      b.doc->Journal().Clear();
    }
  }
  state.counters["renumber_ms"] = plain * 1e3;
  state.counters["recorded_ms"] = recorded * 1e3;
  state.counters["undo_ms"] = undo * 1e3;
  state.counters["recording_overhead"] = recorded / plain - 1;
  state.counters["undo_vs_renumber"] = undo / plain;
  state.counters["changes"] = changes;
  state.counters["bytes_per_change"] = changes > 0 ? bytes / changes : 0;
}
BENCHMARK(BM_UndoSummary)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN()
