// The synthetic plant generator.
#include <gtest/gtest.h>

#include <set>

#include "PlantDocument.h"
#include "PlantGenerator.h"

TEST(PlantGenerator, SameSpecSamePlantOtherSeedOtherPlant) {
  host::PlantSpec spec{.activities = 1000, .products = 700, .resources = 50, .depth = 4, .seed = 42};
  std::string a = host::SerializePlant(*host::GeneratePlant(spec));
  EXPECT_EQ(host::SerializePlant(*host::GeneratePlant(spec)), a);
  spec.seed = 43;
  EXPECT_NE(host::SerializePlant(*host::GeneratePlant(spec)), a);
}

TEST(PlantGenerator, HonoursCountsAndDepthAndMixesKinds) {
  auto doc = host::GeneratePlant({.activities = 1500, .products = 900, .resources = 60, .depth = 3, .seed = 5});
  auto root = doc->Process().roots_.at(0);
  auto all = root->GetAllChildren();
  EXPECT_EQ(all.size() + 1, 1500u);
  std::set<std::string> types;
  std::size_t relations = 0, flows = 0, precedences = 0, dotted = 0, maxDepth = 0;
  std::set<std::string> relationTypes;
  for (auto& o : all) {
    auto a = std::dynamic_pointer_cast<host::HostActivity>(o);
    types.insert(a->GetTypeName().utf8());
    for (auto& r : a->Relations()) relationTypes.insert(r->Type()->name);
    relations += a->Relations().size();
    flows += a->Next().size();
    precedences += a->Before().size();
    dotted += a->GetLabel().Contains(".");
    std::size_t d = 0;
    for (auto f = a->FatherActivity(); f; f = f->FatherActivity()) ++d;
    maxDepth = std::max(maxDepth, d);
    // Links join siblings only.
    for (auto& n : a->Next()) EXPECT_EQ(n.lock()->FatherActivity(), a->FatherActivity());
  }
  EXPECT_EQ(types, (std::set<std::string>{"Activity", "AssemblyOperation", "PhysicalActivity"}));
  EXPECT_LE(maxDepth, 3u);
  EXPECT_GE(maxDepth, 2u);
  EXPECT_GT(relations, 1000u);
  EXPECT_GT(flows, 100u);
  EXPECT_GT(precedences, 10u);
  EXPECT_GT(dotted, 20u);
  for (const char* t : {"process_processes_product", "process_first_processes_product", "process_removes_product",
                        "process_creates_product", "process_uses_resource", "process_runs_on_resource"})
    EXPECT_TRUE(relationTypes.count(t)) << t;

  std::size_t products = 0, resources = 0;
  for (auto& p : doc->Products().roots_) products += 1 + p->GetAllDescendants().size();
  for (auto& r : doc->Resources().roots_) resources += 1 + r->GetAllDescendants().size();
  EXPECT_EQ(products, 900u);
  EXPECT_EQ(resources, 60u);
  bool nested = false, kit = false;
  for (auto& m : doc->Assemblies().assemblies_) {
    nested = nested || !m->GetChildAssemblies().empty();
    kit = kit || m->GetType() == 2;
    EXPECT_GE(m->Parts().size(), 1u);
  }
  EXPECT_TRUE(nested);
  EXPECT_TRUE(kit);
}

TEST(PlantGenerator, EmptyAndTinySpecs) {
  auto none = host::GeneratePlant({.activities = 0, .products = 0, .resources = 0, .depth = 0, .seed = 1});
  EXPECT_TRUE(none->Process().roots_.empty());
  EXPECT_EQ(none->ObjectCount(), 0u);
  auto one = host::GeneratePlant({.activities = 1, .products = 1, .resources = 1, .depth = 1, .seed = 1});
  EXPECT_EQ(one->Process().roots_.size(), 1u);
  std::string error;
  EXPECT_TRUE(host::ParsePlant(host::SerializePlant(*one), "one.xml", error)) << error;
}
