// The control-flow predecessor closure of the linker's cycle test, per activity
// visited, from 10^3 to 10^5 activities: on one long chain and on a generated
// plant's flow, against a bare breadth-first walk over the host's own link lists.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <unordered_set>

#include "BenchMain.h"
#include "OrvVekLinkActServices.h"
#include "PlantGenerator.h"

namespace {

using host::HostActivity;

// A plant and the nodes the walks start from: the end of the chain, or every
// activity of the generated flow that has no successor (their closures together
// cover the flow about once).
struct Graph {
  Ref<host::HostDocument> doc;
  std::vector<Ref<HostActivity>> sinks;
};

Graph& Chain(std::size_t n) {
  static std::map<std::size_t, Graph> cache;
  Graph& g = cache[n];
  if (!g.doc) {
    g.doc = host::HostDocument::Create();
    auto root = g.doc->CreateRootProcess("proc", "Process");
    Ref<HostActivity> last;
    for (std::size_t i = 0; i < n; ++i) {
      auto a = g.doc->CreateActivity(root, "PhysicalActivity", "", "Op");
      if (last) HostActivity::AppendNewFlow(last, a);
      last = a;
    }
    g.sinks = {last};
  }
  return g;
}

Graph& Generated(std::size_t n) {
  static std::map<std::size_t, Graph> cache;
  Graph& g = cache[n];
  if (!g.doc) {
    host::PlantSpec spec;
    spec.activities = n;
    spec.products = 100;
    spec.resources = 10;
    spec.depth = 4;
    spec.seed = 11;
    g.doc = host::GeneratePlant(spec);
    for (auto& r : g.doc->Process().roots_)
      for (auto& o : r->GetAllChildren()) {
        auto a = std::dynamic_pointer_cast<HostActivity>(o);
        if (a && !a->Previous().empty() && a->Next().empty()) g.sinks.push_back(a);
      }
  }
  return g;
}

std::size_t Closure(const Graph& g) {
  std::size_t visited = 0;
  for (auto& s : g.sinks) visited += OrvVekLinkActServices::GetAllPredecessorsFromControlFlow(s).size();
  return visited;
}

// The reference: the same walk straight over the host's lists, no interfaces.
std::size_t Bfs(const Graph& g) {
  std::size_t visited = 0;
  std::unordered_set<const HostActivity*> seen;
  std::vector<const HostActivity*> queue;
  for (auto& s : g.sinks) {
    seen.clear();
    queue.clear();
    queue.push_back(s.get());
    for (std::size_t i = 0; i < queue.size(); ++i)
      for (auto& w : queue[i]->Previous())
        if (auto p = w.lock(); p && seen.insert(p.get()).second) queue.push_back(p.get());
    visited += queue.size() - 1;
  }
  return visited;
}

using Walk = std::size_t (*)(const Graph&);

void Run(benchmark::State& state, Graph& g, Walk walk) {
  std::size_t visited = 0;
  for (auto _ : state) {
    visited = walk(g);
    benchmark::DoNotOptimize(visited);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(visited));
  state.counters["visited"] = static_cast<double>(visited);
  state.counters["ns_per_activity"] = benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(visited),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ClosureChain(benchmark::State& s) { Run(s, Chain(static_cast<std::size_t>(s.range(0))), Closure); }
void BM_BfsChain(benchmark::State& s) { Run(s, Chain(static_cast<std::size_t>(s.range(0))), Bfs); }
void BM_ClosureGenerated(benchmark::State& s) { Run(s, Generated(static_cast<std::size_t>(s.range(0))), Closure); }
void BM_BfsGenerated(benchmark::State& s) { Run(s, Generated(static_cast<std::size_t>(s.range(0))), Bfs); }
BENCHMARK(BM_ClosureChain)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BfsChain)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClosureGenerated)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BfsGenerated)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Best per-activity time over rounds of about 10^6 activities visited each.
double NsPerActivity(Graph& g, Walk walk, int rounds) {
  const std::size_t visited = std::max<std::size_t>(1, walk(g));
  const std::size_t runs = std::max<std::size_t>(1, 1000000 / visited);
  double best = 0;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = std::chrono::steady_clock::now();
    for (std::size_t k = 0; k < runs; ++k) benchmark::DoNotOptimize(walk(g));
    std::chrono::duration<double, std::nano> dt = std::chrono::steady_clock::now() - t0;
    const double per = dt.count() / static_cast<double>(runs * visited);
    if (r == 0 || per < best) best = per;
  }
  return best;
}

// Targets: per-activity cost at 10^5 at most twice that at 10^3; within 3x of the bare walk.
void Scaling(benchmark::State& state, Graph& (*graph)(std::size_t)) {
  double small = 0, large = 0, bfs = 0;
  for (auto _ : state) {
    small = NsPerActivity(graph(1000), Closure, 7);
    large = NsPerActivity(graph(100000), Closure, 7);
    bfs = NsPerActivity(graph(100000), Bfs, 7);
  }
  state.counters["ns_1e3"] = small;
  state.counters["ns_1e5"] = large;
  state.counters["ratio_1e5_vs_1e3"] = large / small;
  state.counters["ratio_to_bfs_1e5"] = large / bfs;
}
void BM_ScalingChain(benchmark::State& s) { Scaling(s, Chain); }
void BM_ScalingGenerated(benchmark::State& s) { Scaling(s, Generated); }
BENCHMARK(BM_ScalingChain)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScalingGenerated)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN()
