// Filling the comparison's results dialog (lists, Modified marks, both change trees
// in their navigation boxes) for two generated processes, 1% changed: the cost per
// activity at 10^5 against 10^3, and against a bare baseline making one node per
// object with one hash look-up for its change.
#include <benchmark/benchmark.h>

#include <unordered_map>

#include "BenchMain.h"
#include "ComparePlants.h"
#include "OrvVekCommandServices.h"
#include "OrvVekCompareDlgBase.h"

namespace {

host::HostSession& Session() {
  static host::HostSession s;
  return s;
}

// The comparison run once, outside the timing; the dialog filled on demand.
class Results final : public OrvVekCompareDlgBase {
public:
  explicit Results(const Pair& p) {
    SetType(Activities);
    auto l1 = OrvEMfgAssemblyFactory::GetMAsInContainer(p.original), l2 = OrvEMfgAssemblyFactory::GetMAsInContainer(p.modified);
    SetMALists({l1.begin(), l1.end()}, {l2.begin(), l2.end()});
    Initialize(p.original->Process().GetRootActivities()[0], p.modified->Process().GetRootActivities()[0], nullptr, nullptr,
               p.original, p.modified);
    CheckComparability();
    StartComparison({}, AllAttributes | Father | Children);
  }

protected:
  void ShowResults() override {}
};

Results& ResultsFor(std::size_t n) {
  static std::map<std::size_t, std::unique_ptr<Results>> cache;
  auto& r = cache[n];
  if (!r) r = std::make_unique<Results>(Plants(n));
  return *r;
}

// The least a tree of changes costs: per object of both sides a node with its text
// and one look-up of its change.
struct BareNode {
  std::string text;
  int icon;
  std::vector<std::unique_ptr<BareNode>> children;
};

std::size_t Baseline(const Pair& p, const OrvVekCompareDlgBase& r) {
  std::unordered_map<const TavBaseUnknown*, int> changed;
  const CompareResults& res = r.Results(OrvVekCompareDlgBase::Activities);
  for (auto& o : res.added) changed.emplace(o.get(), 0);
  for (auto& o : res.removed) changed.emplace(o.get(), 1);
  for (auto& o : res.modifiedModified) changed.emplace(o.get(), 2);
  std::size_t nodes = 0;
  for (const auto& doc : {p.original, p.modified}) {
    BareNode top{"root", -1, {}};
    Ref<TavBaseUnknown> root = doc->Process().GetRootActivities()[0];
    for (auto& a : query<TavISPPChildManagement>(root)->GetAllChildren()) {
      auto it = changed.find(a.get());
      top.children.push_back(std::make_unique<BareNode>(
          BareNode{OrvVekCommandServices::GetDisplayName(a).utf8(), it == changed.end() ? -1 : it->second, {}}));
      ++nodes;
    }
  }
  return nodes;
}

std::size_t TreeNodes(const OrvVekCompareDlgNavigateObject* n) {
  std::size_t count = 0;
  std::vector<const OrvVekCompareDlgNavigateObject*> work{n};
  while (!work.empty()) {
    const auto* x = work.back();
    work.pop_back();
    if (!x) continue;
    ++count;
    for (auto& c : x->Children()) work.push_back(c.get());
  }
  return count;
}

void BM_UpdateDialog(benchmark::State& state) {
  Session();
  Results& r = ResultsFor(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) r.UpdateDialog();
  state.counters["tree_nodes"] = static_cast<double>(TreeNodes(r.GraphTree(0)) + TreeNodes(r.GraphTree(1)));
  state.counters["ns_per_activity"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(Plants(static_cast<std::size_t>(state.range(0))).originalKeys.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UpdateDialog)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The change trees alone, without the dialog's widgets.
void BM_BuildGraphTree(benchmark::State& state) {
  Session();
  Results& r = ResultsFor(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) r.buildGraphTree();
}
BENCHMARK(BM_BuildGraphTree)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Targets: per activity at 10^5 over 10^3 at most 2; against the bare baseline at most 4.
void BM_UpdateDialogRatios(benchmark::State& state) {
  Session();
  Results& big = ResultsFor(100000);
  Results& small = ResultsFor(1000);
  double scaling = 0, vsBaseline = 0;
  for (auto _ : state) {
    const double dialog = Best([&] { big.UpdateDialog(); return 0; }, 3);
    scaling = (dialog / 100000.0) / (Best([&] { small.UpdateDialog(); return 0; }, 30) / 1000.0);
    vsBaseline = dialog / Best([&] { return Baseline(Plants(100000), big); }, 3);
  }
  state.counters["per_activity_1e5_vs_1e3"] = scaling;
  state.counters["update_vs_bare_baseline"] = vsBaseline;
}
BENCHMARK(BM_UpdateDialogRatios)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
MIRT_BENCHMARK_MAIN()
