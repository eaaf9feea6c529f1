// The indexed engine against the literal walk on many generated plants: the
// same records, display strings, unconsumed products and report bytes.
#include <gtest/gtest.h>

#include <random>

#include "OrvVekGenPartConsumptionXML.h"
#include "PcPlant.h"

using namespace pctest;
using Strategy = OrvEPartConsumptionAnalysis::Strategy;

namespace {

struct Generated {
  Plant plant;
  std::vector<Ref<TavBaseUnknown>> inputs;
  std::vector<TavUnicodeString> relations;
  bool checkParent = false, checkChildren = false;
};

// A small plant with every kind of consumption, assemblies nested (cycles
// included), and activities repeated in the activity list through flow nodes.
void Generate(unsigned seed, Generated& g) {
  std::mt19937 rng(seed);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(std::uniform_int_distribution<std::size_t>(0, n - 1)(rng)); };
  auto chance = [&](double p) { return std::bernoulli_distribution(p)(rng); };
  Plant& p = g.plant;

  std::vector<Ref<HostProduct>> products, resources;
  for (int i = 0, n = 10 + static_cast<int>(pick(30)); i < n; ++i) {
    Ref<HostProduct> father = !products.empty() && chance(0.6) ? products[pick(products.size())] : nullptr;
    products.push_back(p.Prod("P" + std::to_string(i), father));
  }
  for (int i = 0, n = 1 + static_cast<int>(pick(5)); i < n; ++i) {
    Ref<HostProduct> father = !resources.empty() && chance(0.5) ? resources[pick(resources.size())] : nullptr;
    resources.push_back(p.Res("R" + std::to_string(i), father));
  }
  std::vector<Ref<HostAssembly>> mas;
  for (int i = 0, n = static_cast<int>(pick(8)); i < n; ++i) mas.push_back(p.Ma("M" + std::to_string(i)));
  for (auto& ma : mas) {
    if (chance(0.25)) ma->SetContentByStructure(true);
    for (int k = 0, n = static_cast<int>(pick(4)); k < n; ++k) {
      if (chance(0.3) && mas.size() > 1) ma->AddPart(mas[pick(mas.size())]);
      else ma->AddPart(products[pick(products.size())]);
    }
  }
  std::vector<Ref<HostActivity>> acts{p.root};
  for (int i = 0, n = 5 + static_cast<int>(pick(40)); i < n; ++i) {
    static const char* types[] = {"Activity", "PhysicalActivity", "AssemblyOperation", "Start"};
    auto father = acts[pick(acts.size())];
    auto a = p.Act("A" + std::to_string(i), father->IsOfType("Activity") ? father : p.root, types[pick(4)]);
    acts.push_back(a);
  }
  static const char* itemRelations[] = {"process_processes_product", "process_first_processes_product",
                                        "process_creates_product",   "process_removes_product",
                                        "process_implements_requirement", "process_attaches_resource",
                                        "process_detaches_resource"};
  for (std::size_t i = 1; i < acts.size(); ++i) {
    for (int k = 0, n = static_cast<int>(pick(5)); k < n; ++k) {
      Ref<TavBaseUnknown> target;
      if (!mas.empty() && chance(0.15)) target = mas[pick(mas.size())];
      else target = products[pick(products.size())];
      acts[i]->CreateRelation(itemRelations[pick(7)], target);
    }
    if (chance(0.2))
      acts[i]->CreateRelation(chance(0.5) ? "process_uses_resource" : "process_runs_on_resource", resources[pick(resources.size())]);
    if (chance(0.1)) acts[i]->CreateRelation("process_attaches_resource", resources[pick(resources.size())]);
  }

  for (int i = 0, n = 1 + static_cast<int>(pick(12)); i < n; ++i) {
    double r = std::uniform_real_distribution<double>(0, 1)(rng);
    if (r < 0.75) g.inputs.push_back(products[pick(products.size())]);
    else if (r < 0.85 && !mas.empty()) g.inputs.push_back(mas[pick(mas.size())]);
    else g.inputs.push_back(resources[pick(resources.size())]);
  }
  std::vector<TavUnicodeString> names{kProcesses, kFirst, kCreates, kRemoves, "Process Implements Requirement",
                                      "Process Welds Product"};
  std::shuffle(names.begin(), names.end(), rng);
  names.resize(pick(names.size() + 1));
  if (chance(0.1) && !names.empty()) names.push_back(names.front());  // a name listed twice
  g.relations = names;
  g.checkParent = chance(0.5);
  g.checkChildren = chance(0.5);
}

TEST(Differential, IndexedAnswersAsTheLiteralWalk) {
  int withRecords = 0, withUnassigned = 0, withParentRecords = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    Generated g;
    Generate(seed, g);
    Outcome lit = Analyze(g.inputs, g.relations, g.checkParent, g.checkChildren, Strategy::Literal);
    Outcome idx = Analyze(g.inputs, g.relations, g.checkParent, g.checkChildren, Strategy::Indexed);
    ASSERT_EQ(Describe(idx.records), Describe(lit.records)) << "seed " << seed;
    ASSERT_EQ(Names(idx.unassigned), Names(lit.unassigned)) << "seed " << seed;
    for (std::size_t i = 0; i < lit.records.size(); ++i) {
      ASSERT_TRUE(SameObject(idx.records[i]->GetSelPrd(), lit.records[i]->GetSelPrd())) << "seed " << seed;
      ASSERT_TRUE(SameObject(idx.records[i]->GetAssocAct(), lit.records[i]->GetAssocAct())) << "seed " << seed;
      ASSERT_TRUE(SameObject(idx.records[i]->GetParent(), lit.records[i]->GetParent())) << "seed " << seed;
      withParentRecords += lit.records[i]->GetParent() != nullptr;
    }
    for (std::size_t i = 0; i < lit.unassigned.size(); ++i)
      ASSERT_TRUE(SameObject(idx.unassigned[i], lit.unassigned[i])) << "seed " << seed;
    const int mode = static_cast<int>(seed % 6);
    const bool childCheck = seed % 3 == 0;
    ASSERT_EQ(OrvVekGenPartConsumptionXML::BuildReport(idx.records, idx.unassigned, mode, nullptr, childCheck),
              OrvVekGenPartConsumptionXML::BuildReport(lit.records, lit.unassigned, mode, nullptr, childCheck))
        << "seed " << seed;
    withRecords += !lit.records.empty();
    withUnassigned += !lit.unassigned.empty();
  }
  // The generator must exercise what it is meant to.
  EXPECT_GT(withRecords, 150);
  EXPECT_GT(withUnassigned, 100);
  EXPECT_GT(withParentRecords, 50);
}

}  // namespace

#include "PlantGenerator.h"

namespace {

// The same comparison on the host's synthetic plants, larger and shaped like real lines.
TEST(Differential, HostGeneratedPlants) {
  RegisterPartConsumptionModule();
  int records = 0;
  for (std::uint64_t seed = 1; seed <= 8; ++seed) {
    host::PlantSpec spec;
    spec.activities = 150 + 40 * seed;
    spec.products = 120 + 30 * seed;
    spec.resources = 15;
    spec.seed = seed;
    auto doc = host::GeneratePlant(spec);
    host::HostSession session;
    session.OpenDocument(doc);
    host::SplitMix64 rng(seed * 7919);
    std::vector<Ref<TavBaseUnknown>> all;
    for (auto& r : doc->Products().roots_) {
      all.push_back(r);
      for (auto& d : r->GetAllDescendants()) all.push_back(d);
    }
    for (auto& a : doc->Assemblies().assemblies_) all.push_back(a);
    ASSERT_FALSE(all.empty());
    std::vector<Ref<TavBaseUnknown>> inputs;
    for (int i = 0; i < 40; ++i) inputs.push_back(all[rng.Below(all.size())]);
    std::vector<TavUnicodeString> names{kProcesses, kFirst, kCreates, kRemoves};
    for (int options = 0; options < 4; ++options) {
      const bool parent = options & 1, children = options & 2;
      Outcome lit = Analyze(inputs, names, parent, children, Strategy::Literal);
      Outcome idx = Analyze(inputs, names, parent, children, Strategy::Indexed);
      ASSERT_EQ(Describe(idx.records), Describe(lit.records)) << "seed " << seed << " options " << options;
      ASSERT_EQ(Names(idx.unassigned), Names(lit.unassigned)) << "seed " << seed << " options " << options;
      ASSERT_EQ(OrvVekGenPartConsumptionXML::BuildReport(idx.records, idx.unassigned, 1, nullptr, children),
                OrvVekGenPartConsumptionXML::BuildReport(lit.records, lit.unassigned, 1, nullptr, children));
      records += static_cast<int>(lit.records.size());
    }
    std::rotate(names.begin(), names.begin() + 1, names.end());
    for (auto& a : doc->Assemblies().assemblies_) {  // assemblies hold parts strongly: break any cycle
      auto parts = a->Parts();
      for (auto& p : parts) a->RemovePart(p);
    }
  }
  EXPECT_GT(records, 500);
}

}  // namespace
