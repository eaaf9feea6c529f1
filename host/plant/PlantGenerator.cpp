#include "PlantGenerator.h"

#include <algorithm>
#include <string>

#include "Progress.h"

namespace host {

namespace {

std::string Num(const char* prefix, std::size_t n) { return prefix + std::to_string(n); }

void MakeProducts(HostDocument& doc, SplitMix64& rng, std::size_t count, std::vector<Ref<HostProduct>>& all) {
  // A random walk over the tree being built: go down below the last product, stay, or
  // climb; creation order is the depth-first order of the result.
  all.reserve(count);
  std::vector<Ref<HostProduct>> path;  // fathers from the top
  constexpr std::size_t kMaxDepth = 5;
  for (std::size_t i = 1; i <= count; ++i) {
    if (!all.empty() && path.size() < kMaxDepth && rng.Percent(all.size() < 4 ? 100 : 20)) path.push_back(all.back());
    while (!path.empty() && rng.Percent(15)) path.pop_back();
    Ref<HostProduct> father = path.empty() ? nullptr : path.back();
    char pn[32];
    std::snprintf(pn, sizeof pn, "PN-%06llu", static_cast<unsigned long long>(rng.Below(1000000)));
    all.push_back(doc.CreateProduct(father, Num("d", i), Num("Part.", i), pn));
    if (rng.Percent(5)) all.back()->SetAttribute("Weight", static_cast<double>(rng.Below(10000)) / 100);
  }
}

void MakeResources(HostDocument& doc, SplitMix64& rng, std::size_t count, std::vector<Ref<HostProduct>>& all) {
  all.reserve(count);
  std::size_t stations = 0, robots = 0, tools = 0, workers = 0;
  Ref<HostProduct> station, robot;
  for (std::size_t i = 1; i <= count; ++i) {
    Ref<HostProduct> r;
    std::uint64_t roll = rng.Below(100);
    if (!station || roll < 15) {
      r = doc.CreateProduct(nullptr, Num("r", i), Num("Station.", ++stations), {}, true);
      r->SetResourceType("Station");
      station = r;
      robot = nullptr;
    } else if (!robot || roll < 50) {
      r = doc.CreateProduct(station, Num("r", i), Num("Robot.", ++robots), Num("RB-", 100 + rng.Below(9)), true);
      r->SetResourceType("Robot");
      robot = r;
    } else if (roll < 90) {
      static const char* const kTools[] = {"WeldGun", "Gripper", "SealerNozzle"};
      const char* t = kTools[rng.Below(3)];
      r = doc.CreateProduct(robot, Num("r", i), Num((std::string(t) + ".").c_str(), ++tools), {}, true);
      r->SetResourceType(t);
    } else {
      r = doc.CreateProduct(station, Num("r", i), Num("Worker.", ++workers), {}, true);
      r->SetResourceType("Worker");
    }
    all.push_back(std::move(r));
  }
}

void MakeAssemblies(HostDocument& doc, SplitMix64& rng, const std::vector<Ref<HostProduct>>& products,
                    std::vector<Ref<HostAssembly>>& all) {
  if (products.empty()) return;
  std::size_t count = products.size() / 50 + 1;
  for (std::size_t i = 1; i <= count; ++i) {
    bool kit = i % 5 == 0;
    auto a = doc.CreateAssembly(Num("m", i), Num(kit ? "Kit." : "Assy.", i), kit ? 2 : 1);
    a->SetPartNumber(Num("MA-", 1000 + i));
    std::size_t n = 2 + rng.Below(5);
    for (std::size_t k = 0; k < n; ++k) a->AddPart(products[rng.Below(products.size())]);  // repeats are ignored
    if (!all.empty() && rng.Percent(25)) a->AddPart(all[rng.Below(all.size())]);  // earlier ones only: no cycles
    all.push_back(std::move(a));
  }
}

}  // namespace

Ref<HostDocument> GeneratePlant(const PlantSpec& spec) {
  SplitMix64 rng(spec.seed);
  support::Progress progress("generating", spec.products + spec.resources + spec.activities, "objects");
  auto doc = HostDocument::Create();
  doc->SetDisplayName("Generated plant " + std::to_string(spec.seed));
  std::vector<Ref<HostProduct>> products, resources;
  std::vector<Ref<HostAssembly>> assemblies;
  MakeProducts(*doc, rng, spec.products, products);
  MakeResources(*doc, rng, spec.resources, resources);
  MakeAssemblies(*doc, rng, products, assemblies);
  const std::size_t before = spec.products + spec.resources;
  progress.Set(before);
  if (spec.activities == 0) return doc;

  Ref<HostRootActivity> root = doc->CreateRootProcess("proc", "Process");
  // Fathers from the root down, each with its last child (to link the next sibling to).
  struct Frame {
    Ref<HostActivity> father, last;
  };
  std::vector<Frame> path{{root, nullptr}};
  const std::size_t maxDepth = static_cast<std::size_t>(std::max(1, spec.depth));
  std::size_t groups = 0, welds = 0, assys = 0;
  for (std::size_t i = 1; i < spec.activities; ++i) {
    progress.Set(before + i);
    while (path.size() > 1 && rng.Percent(12)) path.pop_back();
    Frame& f = path.back();
    bool group = path.size() < maxDepth && rng.Percent(18);
    bool assy = !group && rng.Below(50) == 0;
    std::string type = group ? "Activity" : assy ? "AssemblyOperation" : "PhysicalActivity";
    std::string label = group ? Num("Station ", ++groups)
                        : assy ? Num("Assy.", ++assys)
                        : rng.Percent(10) ? Num("Weld.", ++welds)
                                          : Num("Op", i);
    Ref<HostActivity> a = doc->CreateActivity(f.father, type, Num("a", i), label);
    if (!group) {
      a->SetTime(static_cast<double>(rng.Below(600)) / 10);
      if (!products.empty()) {
        auto pick = [&]() -> Ref<TavBaseUnknown> {
          if (!assemblies.empty() && rng.Percent(5)) return assemblies[rng.Below(assemblies.size())];
          return products[rng.Below(products.size())];
        };
        if (rng.Percent(70)) a->CreateRelation("process_processes_product", pick());
        if (rng.Percent(10)) a->CreateRelation("process_first_processes_product", pick());
        if (rng.Percent(3)) a->CreateRelation("process_removes_product", pick());
        if (rng.Percent(15)) a->CreateRelation("process_creates_product", products[rng.Below(products.size())]);
      }
      if (!resources.empty()) {
        if (rng.Percent(60)) a->CreateRelation("process_uses_resource", resources[rng.Below(resources.size())]);
        if (rng.Percent(10)) a->CreateRelation("process_runs_on_resource", resources[rng.Below(resources.size())]);
        if (rng.Percent(2)) a->CreateRelation("process_attaches_resource", resources[rng.Below(resources.size())]);
      }
      if (rng.Percent(3)) a->SetAttribute("Cost", static_cast<double>(rng.Below(100000)) / 100);
    }
    if (f.last) {
      if (rng.Percent(50)) f.last->AddControlFlowLink(a);
      else if (rng.Percent(20)) a->AddPrecedence(f.last);
    }
    f.last = a;
    if (group) path.push_back({a, nullptr});
  }
  return doc;
}

}  // namespace host
