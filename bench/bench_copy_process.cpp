// Copying a process with its resources (copy option 1): the cost per copied activity
// at 10^3, 10^4 and 10^5 activities (no step that grows with the process: target at
// most 2 between 10^5 and 10^3).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "BenchMain.h"
#include "HostRuntime.h"
#include "OrvVekCopyProcessServices.h"

namespace {

// A line whose station has `n` activities in groups of 100, each using one of 20
// robots of a cell and processing one of 100 parts.
struct StationPlant {
  Ref<host::HostDocument> doc;
  Ref<host::HostActivity> line, station;
  Ref<host::HostProduct> cell;
};

StationPlant MakePlant(std::size_t n) {
  StationPlant p;
  p.doc = host::HostDocument::Create();
  auto root = p.doc->CreateRootProcess("", "Process");
  p.line = p.doc->CreateActivity(root, "Activity", "", "Line");
  p.station = p.doc->CreateActivity(p.line, "Activity", "", "Station");
  p.cell = p.doc->CreateProduct(nullptr, "", "Cell.1", "CELL", true);
  p.cell->SetResourceType("Cell");
  std::vector<Ref<host::HostProduct>> robots, parts;
  for (int i = 0; i < 20; ++i) {
    auto r = p.doc->CreateProduct(p.cell, "", "Robot." + std::to_string(i + 1), "RB-" + std::to_string(i), true);
    r->SetResourceType("Robot");
    robots.push_back(r);
  }
  for (int i = 0; i < 100; ++i) parts.push_back(p.doc->CreateProduct(nullptr, "", "Part." + std::to_string(i + 1), "P"));
  Ref<host::HostActivity> group;
  for (std::size_t i = 0; i < n; ++i) {
    if (i % 100 == 0) group = p.doc->CreateActivity(p.station, "Activity", "", "Group." + std::to_string(i / 100 + 1));
    auto a = p.doc->CreateActivity(group, "PhysicalActivity", "", "Op." + std::to_string(i % 100 + 1));
    a->AddResource(robots[i % robots.size()], TavResourceCode::Uses);
    a->AddItem(parts[i % parts.size()], TavItemCode::Processes);
  }
  return p;
}

// Seconds per activity of one copy, the best of several rounds on fresh plants.
double SecondsPerActivity(std::size_t n, int rounds) {
  double best = 0;
  for (int r = 0; r < rounds; ++r) {
    host::HostSession session;
    auto plant = MakePlant(n);
    session.OpenDocument(plant.doc);
    Ref<TavISPPActivity> process = plant.station;
    std::vector<Ref<TavIProduct>> resources, fathers, made;
    std::vector<int> types;
    std::vector<TavUnicodeString> names;
    std::vector<Ref<TavISPPActivity>> activities;
    std::vector<bool> children;
    EvictCaches();
    auto t0 = std::chrono::steady_clock::now();
    for (auto& row : OrvVekCopyProcessServices::GetAttachedResources(process)) {
      resources.push_back(row.resource);
      fathers.push_back(plant.cell);
      types.push_back(row.type);
      names.push_back(TavUnicodeString("Copy of ") + row.resource->GetName());
      activities.push_back(row.activity);
      children.push_back(row.childOfAssigned);
    }
    if (FAILED(OrvVekCopyProcessServices::CopyProcessAndResource(process, plant.line, "Station copy", resources, fathers, types,
                                                                 names, activities, children, made, OrvVekCopyResources)) ||
        made.size() != 20)
      std::abort();
    std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
    const double per = dt.count() / static_cast<double>(n);
    if (r == 0 || per < best) best = per;
  }
  return best;
}

void BM_CopyProcessScaling(benchmark::State& state) {
  double at1e3 = 0, at1e4 = 0, at1e5 = 0;
  for (auto _ : state) {
    at1e3 = SecondsPerActivity(1000, 7);
    at1e4 = SecondsPerActivity(10000, 3);
    at1e5 = SecondsPerActivity(100000, 2);
  }
  state.counters["us_per_activity_1e3"] = at1e3 * 1e6;
  state.counters["us_per_activity_1e4"] = at1e4 * 1e6;
  state.counters["us_per_activity_1e5"] = at1e5 * 1e6;
  state.counters["ratio_1e5_over_1e3"] = at1e5 / at1e3;
}
BENCHMARK(BM_CopyProcessScaling)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
