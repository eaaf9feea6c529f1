// The state dialogs on generated plants of 10^3, 10^4 and 10^5 products, every fifth
// product and resource with states: the 3D-context page's left lists (every product
// and resource that has states) of the condition dialog, and the state candidates of
// a root product (every state in its structure) of the named-state dialog.
// Target: the per-object cost at 10^5 at most 2x that at 10^3.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

#include "BenchMain.h"
#include "HostRuntime.h"
#include "HostStates.h"
#include "OrvVekActivitiesStateDlg.h"
#include "OrvVekNamedStateDlg.h"
#include "PlantGenerator.h"

namespace {

struct Case {
  Ref<host::HostDocument> doc;
  Ref<TavBaseUnknown> activity;
  Ref<TavIProduct> root;
  std::size_t objects = 0;    // products and resources
  std::size_t structure = 0;  // products in the root's structure
};

const Case& Cached(std::size_t products) {
  static std::map<std::size_t, Case> cache;
  Case& c = cache[products];
  if (c.doc) return c;
  host::PlantSpec spec;
  spec.activities = 200;
  spec.products = 0;
  spec.resources = 20;
  spec.seed = 11;
  c.doc = host::GeneratePlant(spec);
  // One product structure of them all, eight children a product, breadth first: a
  // root whose candidates are every state of the plant's products.
  auto root = c.doc->CreateProduct(nullptr, "body", "Body");
  std::vector<Ref<host::HostProduct>> level{root};
  for (std::size_t made = 1, at = 0; made < products; ++made) {
    if (level[at]->Children().size() == 8) ++at;
    level.push_back(c.doc->CreateProduct(level[at], "", "Part." + std::to_string(made)));
  }
  host::AddGeneratedStates(*c.doc, 5);
  c.activity = c.doc->Process().GetRootActivities().front();
  c.root = root;
  c.objects = products + spec.resources;
  c.structure = products;
  return c;
}

// The condition dialog opened on an activity, then its 3D-context page shown.
std::size_t ContextLists(const Case& c) {
  OrvVekActivitiesStateDlg dlg;
  dlg.Build();
  dlg.Initialize(c.activity);
  std::string err;
  dlg.Find("pBegEnd3DTabContainer")->SetValueFromText("p3DTabPage", &err);
  return dlg.GetObjects(OrvVekActivitiesStateDlg::Items).size() + dlg.GetObjects(OrvVekActivitiesStateDlg::Resources).size();
}

// The least any listing of all objects does: every product and resource of the
// plant reached once through the platform, its memory touched as the dialog's is.
std::size_t Walk(const Case& c) {
  std::size_t n = 0;
  for (const host::HostRootList* list : {&c.doc->Products(), &c.doc->Resources()})
    for (auto& root : list->roots_)
      for (auto& p : root->GetAllDescendants()) n += query<TavIProduct>(p) != nullptr;
  return n;
}

// The named-state dialog opened on the root product.
std::size_t Candidates(const Case& c) {
  OrvVekNamedStateDlg dlg;
  dlg.Build();
  dlg.Initialize(c.root);
  return dlg.GetStateCandidates().size() + dlg.GetPositionCandidates().size();
}

// Seconds per object, the best of `rounds`; each round repeats until about 10^6
// objects were covered, so small plants are timed over a span the clock sees.
// The objects are the plant's products and resources for the context lists and the
// walk, the root's structure for the candidates.
enum class Work { ContextLists, Candidates, Walk };
double SecondsPerObject(const Case& c, Work w, int rounds) {
  const std::size_t objects = w == Work::Candidates ? c.structure : c.objects;
  auto run = w == Work::ContextLists ? ContextLists : w == Work::Candidates ? Candidates : Walk;
  const std::size_t runs = std::max<std::size_t>(1, 1000000 / objects);
  double best = 0;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = std::chrono::steady_clock::now();
    std::size_t found = 0;
    for (std::size_t k = 0; k < runs; ++k) found += run(c);
    benchmark::DoNotOptimize(found);
    std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
    const double per = dt.count() / static_cast<double>(runs * objects);
    if (r == 0 || per < best) best = per;
  }
  return best;
}

// A session with the plant open, as a user has it when a dialog opens.
struct Open {
  explicit Open(const Case& c) { session.OpenDocument(c.doc); }
  host::HostSession session;
};

void Run(benchmark::State& state, bool context) {
  const Case& c = Cached(static_cast<std::size_t>(state.range(0)));
  Open open(c);
  std::size_t listed = 0;
  for (auto _ : state) benchmark::DoNotOptimize(listed = context ? ContextLists(c) : Candidates(c));
  state.counters["listed"] = static_cast<double>(listed);
  state.counters["objects"] = static_cast<double>(context ? c.objects : c.structure);
  state.counters["ns_per_object"] = 1e9 * SecondsPerObject(c, context ? Work::ContextLists : Work::Candidates, 3);
}
void BM_ContextLists(benchmark::State& state) { Run(state, true); }
void BM_NamedStateCandidates(benchmark::State& state) { Run(state, false); }
BENCHMARK(BM_ContextLists)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NamedStateCandidates)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Per-object cost at 10^5 over that at 10^3 (target: at most 2), for each dialog,
// beside the same ratio of the bare walk over every object.
void BM_StatesScaling(benchmark::State& state) {
  const bool context = state.range(0) == 1;
  const Work w = context ? Work::ContextLists : Work::Candidates;
  double at1e3 = 0, at1e5 = 0, walk1e3 = 0, walk1e5 = 0;
  for (auto _ : state) {
    {
      Open open(Cached(1000));
      at1e3 = SecondsPerObject(Cached(1000), w, 7);
      walk1e3 = SecondsPerObject(Cached(1000), Work::Walk, 7);
    }
    Open open(Cached(100000));
    at1e5 = SecondsPerObject(Cached(100000), w, 7);
    walk1e5 = SecondsPerObject(Cached(100000), Work::Walk, 7);
  }
  state.counters["ns_1e3"] = at1e3 * 1e9;
  state.counters["ns_1e5"] = at1e5 * 1e9;
  state.counters["ratio_1e5_vs_1e3"] = at1e5 / at1e3;
  if (context) state.counters["walk_ratio_1e5_vs_1e3"] = walk1e5 / walk1e3;
  state.SetLabel(context ? "3D-context lists" : "named-state candidates");
}
BENCHMARK(BM_StatesScaling)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
