// Adding activities: the cost of one successor insert at 10^3 and 10^5 activities
// (no walk over the whole process: target at most 2), and of the dialog's type tree
// per type at 10^2 and 10^4 types (types found by name: target at most 2).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <map>

#include "BenchMain.h"
#include "HostRuntime.h"
#include "PlantGenerator.h"
#include "TavOrvAddActivityCmd.h"

namespace {

Ref<host::HostDocument> Plant(std::size_t activities) {
  static std::map<std::size_t, Ref<host::HostDocument>> cache;
  auto& d = cache[activities];
  if (!d) {
    host::PlantSpec spec;
    spec.activities = activities;
    spec.products = 1000;
    spec.resources = 20;
    spec.depth = 4;
    spec.seed = 11;
    d = host::GeneratePlant(spec);
  }
  return d;
}

// Physical activities that have a successor in their chain, spread over the process.
std::vector<Ref<host::HostActivity>> Targets(const host::HostDocument& doc, std::size_t want) {
  std::vector<Ref<host::HostActivity>> all;
  for (auto& root : doc.Process().roots_)
    for (auto& a : root->GetAllChildActivities())
      if (auto h = std::dynamic_pointer_cast<host::HostActivity>(a); h && !h->GetNextNodes("Activity").empty()) all.push_back(h);
  std::vector<Ref<host::HostActivity>> out;
  const std::size_t step = std::max<std::size_t>(1, all.size() / want);
  for (std::size_t i = 0; i < all.size() && out.size() < want; i += step) out.push_back(all[i]);
  return out;
}

// Seconds per successor insert, the best of several rounds of `inserts` each.
double SecondsPerInsert(std::size_t n, int rounds, std::size_t inserts) {
  auto doc = Plant(n);
  host::HostSession session;
  session.OpenDocument(doc);
  const auto targets = Targets(*doc, inserts);
  double best = 0;
  for (int r = 0; r < rounds; ++r) {
    TavOrvAddActivityCmd cmd;
    cmd.SetChosenType("PhysicalActivity");
    cmd.SetInsertOption(OrvAddActivityDlg::AddAsSuccessor);
    auto t0 = std::chrono::steady_clock::now();
    for (auto& t : targets) {
      cmd.SetTarget(doc->PathOf(t));
      if (!cmd.InsertActivity()) std::abort();
    }
    std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
    const double per = dt.count() / static_cast<double>(targets.size());
    if (r == 0 || per < best) best = per;
  }
  return best;
}

void BM_SuccessorInsertScaling(benchmark::State& state) {
  double at1e3 = 0, at1e5 = 0;
  for (auto _ : state) {
    at1e3 = SecondsPerInsert(1000, 7, 200);
    at1e5 = SecondsPerInsert(100000, 7, 200);
  }
  state.counters["us_per_insert_1e3"] = at1e3 * 1e6;
  state.counters["us_per_insert_1e5"] = at1e5 * 1e6;
  state.counters["ratio_1e5_over_1e3"] = at1e5 / at1e3;
}
BENCHMARK(BM_SuccessorInsertScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN()
