// One pick of N products (the selection the assembly command takes when it starts),
// then Apply, which makes the assembly: N = 10^3 .. 10^5. The cost per object must
// stay flat (target: per-object cost at 10^5 at most twice that at 10^3).
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "HostEngine.h"
#include "HostRuntime.h"
#include "OrvMfgAssyDialog.h"
#include "PlantGenerator.h"
#include "TavDialog.h"

namespace {

Ref<host::HostDocument> Plant() {
  static Ref<host::HostDocument> doc = [] {
    host::PlantSpec spec;
    spec.activities = 1000;
    spec.products = 100000;
    spec.resources = 10;
    spec.depth = 3;
    spec.seed = 5;
    return host::GeneratePlant(spec);
  }();
  return doc;
}

std::vector<TavPathElement> Products(host::HostDocument& doc, std::size_t n) {
  std::vector<TavPathElement> out;
  for (auto& root : doc.Products().roots_) {
    if (out.size() == n) break;
    out.push_back(doc.PathOf(root));
    for (auto& p : root->GetAllDescendants()) {
      if (out.size() == n) break;
      out.push_back(doc.PathOf(p));
    }
  }
  return out;
}

// Start with N objects selected, then Apply: seconds. The assembly is removed again
// (Cancel) outside the timing, so every round starts from the same plant.
double PickAndApply(host::HostSession& session, host::HostEngine& engine, const std::vector<TavPathElement>& picks,
                    bool& ok) {
  auto& cso = session.CurrentHostEditor()->GetCSO();
  cso.Empty();
  for (auto& p : picks) cso.AddElement(p);
  EvictCaches();
  const auto t0 = std::chrono::steady_clock::now();
  std::string err;
  ok = engine.Start("Mirtcommands", "OrvMfgAssyCmd", &err);
  TavDlgDialog* dialog = ok ? TavDlgDialog::FindByName(OrvMfgAssyDialog::kName) : nullptr;
  if (dialog) dialog->Notify(TavDlgNotification::Apply);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  ok = ok && dialog && engine.TakeError().empty();
  engine.Cancel(&err);
  cso.Empty();
  return seconds;
}

void BM_PickAndApply(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  auto doc = Plant();
  host::HostSession session;
  session.OpenDocument(doc);
  host::HostEngine engine;
  const auto picks = Products(*doc, n);
  for (auto _ : state) {
    bool ok = false;
    state.SetIterationTime(PickAndApply(session, engine, picks, ok));
    if (!ok) state.SkipWithError("the command did not make the assembly");
  }
  state.counters["ns_per_object"] = benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(n),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PickAndApply)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Per-object cost at 10^5 over that at 10^3, each the least disturbed of several rounds.
void BM_PickAndApplyRatio(benchmark::State& state) {
  auto doc = Plant();
  host::HostSession session;
  session.OpenDocument(doc);
  host::HostEngine engine;
  const auto small = Products(*doc, 1000), big = Products(*doc, 100000);
  auto best = [&](const std::vector<TavPathElement>& picks, int rounds) {
    double b = 1e30;
    for (int i = 0; i < rounds; ++i) {
      bool ok = false;
      b = std::min(b, PickAndApply(session, engine, picks, ok));
      if (!ok) state.SkipWithError("the command did not make the assembly");
    }
    return b / static_cast<double>(picks.size());
  };
  double ratio = 0;
  for (auto _ : state) ratio = best(big, 3) / best(small, 30);
  state.counters["per_object_1e5_vs_1e3"] = ratio;
}
BENCHMARK(BM_PickAndApplyRatio)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
