// Process comparison against a bare hash-map baseline over the same keys, and its
// scaling from 10^3 to 10^5 activities. The modified process differs in 1% of its
// activities: a third retimed, a third removed, a third added.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <unordered_map>

#include "BenchMain.h"
#include "ComparePlants.h"
#include "HostCompare.h"
#include "HostRuntime.h"
#include "OrvVekCompareDlgBase.h"
#include "PlantDocument.h"
#include "PlantGenerator.h"

namespace {

// What pairing costs at the least: a hash map of the original keys, probed with
// the modified keys, the hits removed.
std::size_t Baseline(const Pair& p) {
  std::unordered_map<std::string, std::size_t> m;
  m.reserve(p.originalKeys.size());
  for (std::size_t i = 0; i < p.originalKeys.size(); ++i) m.emplace(p.originalKeys[i], i);
  std::size_t hits = 0;
  for (auto& k : p.modifiedKeys) hits += m.erase(k);
  return hits;
}

// The engine alone: no results dialog.
class Engine final : public OrvVekCompareDlgBase {
protected:
  void ShowResults() override {}
};

std::size_t Compare(const Pair& p, int filter) {
  Engine e;
  e.SetType(OrvVekCompareDlgBase::Activities);
  auto l1 = OrvEMfgAssemblyFactory::GetMAsInContainer(p.original), l2 = OrvEMfgAssemblyFactory::GetMAsInContainer(p.modified);
  e.SetMALists({l1.begin(), l1.end()}, {l2.begin(), l2.end()});
  e.Initialize(p.original->Process().GetRootActivities()[0], p.modified->Process().GetRootActivities()[0], nullptr, nullptr,
               p.original, p.modified);
  e.CheckComparability();
  e.StartComparison({}, filter);
  const auto& r = e.Results(OrvVekCompareDlgBase::Activities);
  return r.matchedOriginal.size() + r.added.size() + r.removed.size() + r.codes.size();
}

host::HostSession& Session() {
  static host::HostSession s;
  return s;
}

void BM_ComparePairing(benchmark::State& state) {
  Session();
  const Pair& p = Plants(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Compare(p, 0));
  state.counters["ns_per_activity"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(p.originalKeys.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ComparePairing)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CompareAllChecks(benchmark::State& state) {
  Session();
  const Pair& p = Plants(static_cast<std::size_t>(state.range(0)));
  const int all = 2 | 8 | 16 | 32 | 64 | 128;
  for (auto _ : state) benchmark::DoNotOptimize(Compare(p, all));
  state.counters["ns_per_activity"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(p.originalKeys.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CompareAllChecks)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A deep process against its renumbered copy (every physical activity relabelled, as
// `mirt renumber` does): the generator reaches about one level per 25 activities, so
// 25 * depth activities make a process `depth` levels deep. The cost per activity must
// not grow with the depth.
const Pair& DeepPlants(std::size_t depth) {
  static std::map<std::size_t, Pair> cache;
  Pair& p = cache[depth];
  if (p.original) return p;
  host::PlantSpec spec;
  spec.activities = 25 * depth;
  spec.products = 1000;
  spec.resources = 10;
  spec.depth = static_cast<int>(depth);
  spec.seed = 5;
  p.original = host::GeneratePlant(spec);
  std::string error;
  p.modified = host::ParsePlant(host::SerializePlant(*p.original), "renumbered.xml", error);
  Ref<TavBaseUnknown> root = p.modified->Process().GetRootActivities()[0];
  std::size_t n = 0;
  for (auto& a : query<TavISPPChildManagement>(root)->GetAllChildren("PhysicalActivity"))
    if (auto h = std::dynamic_pointer_cast<host::HostActivity>(a)) h->SetLabel(h->GetLabel() + "." + std::to_string(++n));
  p.originalKeys = Keys(*p.original);
  return p;
}

void BM_CompareDeep(benchmark::State& state) {
  Session();
  const Pair& p = DeepPlants(static_cast<std::size_t>(state.range(0)));
  const int all = 2 | 8 | 16 | 32 | 64 | 128;
  for (auto _ : state) benchmark::DoNotOptimize(Compare(p, all));
  state.counters["ns_per_activity"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(p.originalKeys.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CompareDeep)->Arg(200)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// The paths a report prints for each object of a deep process: each is as long as
// its object is deep, so the cost per path level (ns_per_level) is what must stay flat.
void BM_DeepPaths(benchmark::State& state) {
  const Pair& p = DeepPlants(static_cast<std::size_t>(state.range(0)));
  Ref<TavBaseUnknown> root = p.original->Process().GetRootActivities()[0];
  auto all = query<TavISPPChildManagement>(root)->GetAllChildren();
  std::size_t levels = 0;
  for (auto _ : state) {
    levels = 0;
    for (auto& a : all) levels += p.original->PathOf(a).Objects().size();
    for (auto& a : all) benchmark::DoNotOptimize(p.original->PathString(a));
  }
  state.counters["ns_per_level"] = benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(levels),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DeepPaths)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_HashBaseline(benchmark::State& state) {
  const Pair& p = Plants(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Baseline(p));
}
BENCHMARK(BM_HashBaseline)->Arg(100000)->Unit(benchmark::kMillisecond);

// Pairing 10^5 activities over the bare baseline (target: at most 5), and the
// per-activity cost at 10^5 over that at 10^3 (near-linear: close to 1).
void BM_CompareRatios(benchmark::State& state) {
  Session();
  const Pair& big = Plants(100000);
  const Pair& small = Plants(1000);
  double vsBaseline = 0, scaling = 0;
  for (auto _ : state) {
    const double engine = Best([&] { return Compare(big, 0); }, 5);
    vsBaseline = engine / Best([&] { return Baseline(big); }, 5);
    scaling = (engine / 100000.0) / (Best([&] { return Compare(small, 0); }, 50) / 1000.0);
  }
  state.counters["pairing_vs_hash_baseline"] = vsBaseline;
  state.counters["per_activity_1e5_vs_1e3"] = scaling;
}
BENCHMARK(BM_CompareRatios)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
MIRT_BENCHMARK_MAIN()
