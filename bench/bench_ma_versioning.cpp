// The versioning dialog opened and OK pressed with every modified assembly selected,
// on generated plants of 10^3, 10^4 and 10^5 assemblies sharing sub-assemblies, every
// tenth changed since its last version and logged. Target: the cost per assembly at
// 10^5 at most 2x that at 10^3.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchMain.h"
#include "HostEngine.h"
#include "MAVersions.h"
#include "OrvVekMAVersioningCmd.h"
#include "PlantGenerator.h"

namespace {

struct Plant {
  Ref<host::HostDocument> doc;
  std::size_t assemblies = 0;
};

Plant& Cached(std::size_t assemblies) {
  static std::map<std::size_t, Plant> cache;
  Plant& c = cache[assemblies];
  if (c.doc) return c;
  host::PlantSpec spec;
  spec.activities = 50;
  spec.products = 1000;
  spec.resources = 10;
  spec.seed = 3;
  c.doc = host::GeneratePlant(spec);
  host::AddGeneratedAssemblies(*c.doc, assemblies);
  c.assemblies = OrvEMfgAssemblyFactory::GetMAsInContainer(c.doc).size();
  return c;
}

// One open and OK in a session on the plant; undo puts the versions back, untimed.
double SecondsPerAssembly(Plant& c, int rounds) {
  host::HostSession session;
  host::HostEngine engine;
  session.OpenDocument(c.doc);
  std::string err;
  const double best = BestCold(
      [&] {
        engine.Start("OrvVekPlanner", "OrvVekMAVersioningCmd", &err);
        auto* cmd = dynamic_cast<OrvVekMAVersioningCmd*>(engine.RunningCommand());
        if (cmd) cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
        return cmd != nullptr;
      },
      rounds, [&] { engine.Undo(*c.doc, 1, nullptr, &err); });
  return best / static_cast<double>(c.assemblies);
}

void BM_Versioning(benchmark::State& state) {
  Plant& c = Cached(static_cast<std::size_t>(state.range(0)));
  double per = 0;
  for (auto _ : state) per = SecondsPerAssembly(c, 1);
  state.counters["assemblies"] = static_cast<double>(c.assemblies);
  state.counters["ns_per_assembly"] = per * 1e9;
}
BENCHMARK(BM_Versioning)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_VersioningScaling(benchmark::State& state) {
  double small = 0, large = 0;
  for (auto _ : state) {
    small = SecondsPerAssembly(Cached(1000), 7);
    large = SecondsPerAssembly(Cached(100000), 3);
  }
  state.counters["ns_1e3"] = small * 1e9;
  state.counters["ns_1e5"] = large * 1e9;
  state.counters["ratio_1e5_vs_1e3"] = large / small;
}
BENCHMARK(BM_VersioningScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
