// The three sets of process constraint verification (previous, successors, others)
// at 10^3, 10^4 and 10^5 activities, on one chain of precedences and on a generated
// plant, against a bare BFS over the same precedence graph through the same host
// interfaces. Targets: the per-activity cost at 10^5 at most 2x that at 10^3, and
// at most 3x the BFS.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <unordered_set>

#include "BenchMain.h"
#include "OrvVekPrecedenceSets.h"
#include "PlantGenerator.h"

namespace {

using Sets = OrvVekPrecedenceSetsUtilities;
using List = std::vector<Ref<TavBaseUnknown>>;

// A plant, the activities examined and the activities of the levels they see.
struct Case {
  Ref<host::HostDocument> doc;
  Ref<TavBaseUnknown> root;
  List examined;
  std::size_t levelActivities = 0;  // summed over the examined activities
};

std::size_t LevelActivities(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& root) {
  std::size_t n = 0;
  for (Ref<TavBaseUnknown> cur = a, father; (father = Sets::FatherOf(cur)); cur = father) {
    n += Sets::PhysicalChildren(father).size();
    if (father == root) break;
  }
  return n;
}

// n activities under one root, each to be done after the one before.
Case Chain(std::size_t n) {
  Case c;
  c.doc = host::HostDocument::Create();
  auto root = c.doc->CreateRootProcess("proc", "Process");
  c.root = root;
  Ref<host::HostActivity> last;
  for (std::size_t i = 0; i < n; ++i) {
    auto a = c.doc->CreateActivity(root, "PhysicalActivity", "", "Op" + std::to_string(i));
    if (last) query<TavISPPPrecedenceMgt>(Ref<TavBaseUnknown>(a))->AddPrecedence(last);
    last = a;
  }
  const auto children = Sets::PhysicalChildren(root);
  c.examined = {children[n / 2]};
  c.levelActivities = n;
  return c;
}

// A generated plant; 256 physical activities spread over the whole process.
Case Generated(std::size_t n) {
  Case c;
  host::PlantSpec spec;
  spec.activities = n;
  spec.products = std::max<std::size_t>(100, n / 10);
  spec.resources = 50;
  spec.depth = 6;
  spec.seed = 7;
  c.doc = host::GeneratePlant(spec);
  auto root = c.doc->Process().GetRootActivities().front();
  c.root = root;
  const List all = query<TavISPPChildManagement>(Ref<TavBaseUnknown>(root))->GetAllChildren("PhysicalActivity");
  const std::size_t step = std::max<std::size_t>(1, all.size() / 256);
  for (std::size_t i = 0; i < all.size(); i += step) c.examined.push_back(all[i]);
  for (auto& a : c.examined) c.levelActivities += LevelActivities(a, c.root);
  return c;
}

const Case& Cached(bool chain, std::size_t n) {
  static std::map<std::pair<bool, std::size_t>, Case> cache;
  auto& c = cache[{chain, n}];
  if (!c.doc) c = chain ? Chain(n) : Generated(n);
  return c;
}

std::size_t RunSets(const Case& c) {
  std::size_t found = 0;
  for (auto& a : c.examined) {
    OrvVekPrecedenceSets s = Sets::Compute(a, c.root);
    found += s.previous.size() + s.successors.size() + s.others.size();
  }
  return found;
}

// The least a walk for the same answer does: each level read once, and a
// breadth-first search each way along the precedences inside it.
std::size_t RunBfs(const Case& c) {
  std::size_t found = 0;
  for (auto& a : c.examined) {
    for (Ref<TavBaseUnknown> cur = a, father; (father = Sets::FatherOf(cur)); cur = father) {
      const List children = Sets::PhysicalChildren(father);
      std::unordered_set<const TavBaseUnknown*> level, seen{cur.get()};
      level.reserve(children.size());
      for (auto& ch : children) level.insert(ch.get());
      for (bool back : {true, false}) {
        List work{cur};
        while (!work.empty()) {
          Ref<TavBaseUnknown> v = std::move(work.back());
          work.pop_back();
          auto p = query<TavISPPPrecedenceMgt>(v);
          if (!p) continue;
          for (auto& w : back ? p->GetPrecedences() : p->GetSuccessors())
            if (level.count(w.get()) && seen.insert(w.get()).second) work.push_back(w);
        }
      }
      found += children.size();
      if (father == c.root) break;
    }
  }
  return found;
}

// Seconds per level activity, the best of `rounds`; each round repeats the work
// until it has covered about 10^6 level activities, so every size is timed over a
// span long enough for the clock.
double SecondsPerActivity(const Case& c, bool bfs, int rounds) {
  const std::size_t runs = std::max<std::size_t>(1, 1000000 / std::max<std::size_t>(1, c.levelActivities));
  double best = 0;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = std::chrono::steady_clock::now();
    std::size_t found = 0;
    for (std::size_t k = 0; k < runs; ++k) found += bfs ? RunBfs(c) : RunSets(c);
    benchmark::DoNotOptimize(found);
    std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
    const double per = dt.count() / static_cast<double>(runs * c.levelActivities);
    if (r == 0 || per < best) best = per;
  }
  return best;
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int kind : {1, 0})
    for (long n : {1000L, 10000L, 100000L}) b->Args({kind, n});
}

// Per size and plant kind (1 chain, 0 generated): ns per level activity, the BFS's,
// and their ratio.
void BM_PrecedenceSets(benchmark::State& state) {
  const Case& c = Cached(state.range(0) == 1, static_cast<std::size_t>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(RunSets(c));
  const double sets = SecondsPerActivity(c, false, 5), bfs = SecondsPerActivity(c, true, 5);
  state.counters["ns_per_activity"] = sets * 1e9;
  state.counters["bfs_ns_per_activity"] = bfs * 1e9;
  state.counters["ratio_to_bfs"] = sets / bfs;
  state.SetLabel(state.range(0) == 1 ? "chain" : "generated");
}
BENCHMARK(BM_PrecedenceSets)->Apply(Sizes)->Unit(benchmark::kMillisecond);

// Per-activity cost at 10^5 over that at 10^3 (target: at most 2), per plant kind.
void BM_PrecedenceSetsScaling(benchmark::State& state) {
  const bool chain = state.range(0) == 1;
  double at1e3 = 0, at1e5 = 0;
  for (auto _ : state) {
    at1e3 = SecondsPerActivity(Cached(chain, 1000), false, 9);
    at1e5 = SecondsPerActivity(Cached(chain, 100000), false, 9);
  }
  state.counters["ns_1e3"] = at1e3 * 1e9;
  state.counters["ns_1e5"] = at1e5 * 1e9;
  state.counters["ratio_1e5_vs_1e3"] = at1e5 / at1e3;
  state.SetLabel(chain ? "chain" : "generated");
}
BENCHMARK(BM_PrecedenceSetsScaling)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
