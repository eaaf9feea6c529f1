// Adding activities: the cost of one successor insert at 10^3 and 10^5 activities
// (no walk over the whole process: target at most 2), and of the dialog's type tree
// per type at 10^2 and 10^4 types (types found by name: target at most 2).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>

#include <filesystem>
#include <fstream>

#include "BenchMain.h"
#include "BenchPlant.h"
#include "HostRuntime.h"
#include "PlantDocument.h"
#include "PlantGenerator.h"
#include "TavOrvAddActivityCmd.h"

namespace {

Ref<host::HostDocument> Plant(std::size_t activities) { return CachedPlant(activities, 20, 4, 11); }

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

// A plant naming one library of n types, a third of them with three sub types.
Ref<host::HostDocument> LibraryPlant(std::size_t n) {
  static std::map<std::size_t, Ref<host::HostDocument>> cache;
  auto& d = cache[n];
  if (d) return d;
  const auto dir = std::filesystem::temp_directory_path() / ("mirt-bench-types-" + std::to_string(n));
  std::filesystem::create_directories(dir);
  const std::string prefix = "B" + std::to_string(n) + "_";
  std::ofstream lib(dir / "types.act");
  lib << "<activityLibrary name=\"Generated\">\n";
  for (std::size_t i = 0; i < n; ++i) {
    lib << "  <type name=\"" << prefix << i << "\" super=\"PhysicalActivity\" icon=\"I_" << i << "\"";
    if (i % 3 || i + 3 >= n) {
      lib << "/>\n";
      continue;
    }
    lib << ">";
    for (std::size_t k = 1; k <= 3; ++k) lib << "<subType name=\"" << prefix << i + k << "\"/>";
    lib << "</type>\n";
  }
  lib << "</activityLibrary>\n";
  lib.close();
  const std::string plant = "<plant format=\"1\" environment=\"local\"><activityLibraries><library path=\"types.act\"/>"
                            "</activityLibraries><process id=\"proc\" name=\"Process\" type=\"Activity\"/></plant>\n";
  std::string error;
  d = host::ParsePlant(plant, (dir / "plant.xml").string(), error);
  if (!d) throw std::runtime_error(error);
  return d;
}

// Seconds per type to load the library rows and fill the dialog's tree, the best of
// several rounds.
double SecondsPerType(std::size_t n, int rounds) {
  auto doc = LibraryPlant(n);
  host::HostSession session;
  session.OpenDocument(doc);
  const std::size_t runs = std::max<std::size_t>(1, 20000 / n);
  double best = 0;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = std::chrono::steady_clock::now();
    for (std::size_t k = 0; k < runs; ++k) {
      TavOrvAddActivityCmd cmd;
      cmd.BuildGraphInitialize();
      OrvAddActivityDlg dialog(cmd);
      dialog.Build();
      dialog.UpdateLists();
      benchmark::DoNotOptimize(dialog.Tree()->Roots().size());
    }
    std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
    const double per = dt.count() / static_cast<double>(runs * n);
    if (r == 0 || per < best) best = per;
  }
  return best;
}

void BM_TypeTreeScaling(benchmark::State& state) {
  double at1e2 = 0, at1e4 = 0;
  for (auto _ : state) {
    at1e2 = SecondsPerType(100, 7);
    at1e4 = SecondsPerType(10000, 7);
  }
  state.counters["us_per_type_1e2"] = at1e2 * 1e6;
  state.counters["us_per_type_1e4"] = at1e4 * 1e6;
  state.counters["ratio_1e4_over_1e2"] = at1e4 / at1e2;
}
BENCHMARK(BM_TypeTreeScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN()
