// What an assembly may hold: no containment cycle (content is held strongly), no
// duplicate, resources but not the resource root; membership answered from a hash
// once the content is long; the type by its text.
#include "AssemblyPlant.h"
#include "HostRuntime.h"
#include "HostUndo.h"

using namespace host;

namespace {

struct Content : ::testing::Test {
  Ref<HostDocument> doc = LoadPlantText(kAssemblyPlant);
  Ref<HostAssembly> target = AssemblyOf(*doc, "target"), outer = AssemblyOf(*doc, "outer"), kit = AssemblyOf(*doc, "kit");
  std::size_t Count(const HostAssembly& a) const { return a.Parts().size(); }
};

TEST_F(Content, NoAssemblyComesToContainItself) {
  // Directly, and through an assembly that holds it (outer and kit hold target).
  EXPECT_EQ(target->AddPart(target), E_FAIL);
  EXPECT_EQ(target->AddPart(outer), E_FAIL);
  // Deeper: a chain a > b > c, and c taking a.
  auto a = doc->CreateAssembly("", "A"), b = doc->CreateAssembly("", "B"), c = doc->CreateAssembly("", "C");
  ASSERT_EQ(a->AddPart(b), S_OK);
  ASSERT_EQ(b->AddPart(c), S_OK);
  EXPECT_EQ(c->AddPart(a), E_FAIL);
  EXPECT_EQ(c->AddPart(b), E_FAIL);
  EXPECT_EQ(Count(*c), 0u);
  EXPECT_EQ(Count(*target), 2u);
  // The other way round is no cycle: a may hold c twice over (through b and itself).
  EXPECT_EQ(a->AddPart(c), S_OK);
  EXPECT_EQ(a->AddPart(c), S_FALSE);
  EXPECT_EQ(Count(*a), 2u);
  // Objects that are no content at all.
  EXPECT_EQ(a->AddPart(nullptr), E_FAIL);
  EXPECT_EQ(a->AddPart(doc->FindById("a1")), E_FAIL);
}

TEST_F(Content, KitsTakeResourcesButNotTheResourceRoot) {
  auto st = ProductOf(*doc, "st");
  EXPECT_EQ(kit->AddPart(st), S_OK);
  EXPECT_EQ(kit->AddPart(doc->ResourceRoot()), E_FAIL);
  EXPECT_EQ(Count(*kit), 3u);
}

TEST_F(Content, ChildAssemblyIsMadeWholeOrNotAtAll) {
  auto& container = doc->Assemblies();
  const std::size_t assemblies = container.assemblies_.size();
  Ref<OrvIMfgAssembly> made;
  // The father itself, or an assembly holding it, among the content: refused.
  for (auto& bad : std::vector<Ref<TavBaseUnknown>>{target, outer, kit}) {
    EXPECT_EQ(container.CreateChildAssembly("New", target, {ProductOf(*doc, "door"), bad}, made), E_FAIL);
    EXPECT_FALSE(made);
  }
  EXPECT_EQ(container.CreateChildAssembly("New", target, {doc->ResourceRoot()}, made), E_FAIL);
  EXPECT_EQ(container.CreateChildAssembly("New", nullptr, {}, made), E_FAIL);
  EXPECT_EQ(container.assemblies_.size(), assemblies);
  EXPECT_EQ(Count(*target), 2u);

  // Through the platform's factory: content in order, the new one last in the father.
  ASSERT_EQ(OrvEMfgAssemblyFactory::CreateMAAsChildOfMA("Sub", target, {ProductOf(*doc, "rb"), ProductOf(*doc, "body")}, made),
            S_OK);
  ASSERT_TRUE(made);
  EXPECT_EQ(made->GetName(), "Sub");
  std::vector<Ref<TavBaseUnknown>> parts;
  ASSERT_EQ(made->GetParts(parts), S_OK);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], ProductOf(*doc, "rb"));
  EXPECT_EQ(target->Parts().back(), made);
  EXPECT_EQ(container.assemblies_.size(), assemblies + 1);
  // The new one is inside target, so target may not go into it.
  EXPECT_EQ(made->AddPart(target), E_FAIL);
}

TEST_F(Content, LongContentKeepsItsMembershipThroughUndo) {
  // Past the length where membership moves to a hash: adds, removals and undo keep it true.
  auto body = ProductOf(*doc, "body");
  std::vector<Ref<HostProduct>> products;
  for (int i = 0; i < 40; ++i) products.push_back(doc->CreateProduct(body, "", TavUnicodeString("P." + std::to_string(i))));
  auto a = doc->CreateAssembly("", "Long");
  for (auto& p : products) ASSERT_EQ(a->AddPart(p), S_OK);
  for (auto& p : products) EXPECT_EQ(a->AddPart(p), S_FALSE);
  EXPECT_EQ(Count(*a), 40u);

  UndoJournal& j = doc->Journal();
  j.Begin();
  for (int i = 0; i < 40; i += 2) ASSERT_EQ(a->RemovePart(products[static_cast<std::size_t>(i)]), S_OK);
  ASSERT_TRUE(j.Commit("remove every other"));
  for (std::size_t i = 0; i < products.size(); ++i) EXPECT_EQ(a->HasPart(products[i].get()), i % 2 == 1) << i;
  EXPECT_EQ(a->RemovePart(products[0]), E_FAIL);

  std::string err;
  ASSERT_TRUE(j.Undo(&err)) << err;
  ASSERT_EQ(Count(*a), 40u);
  for (std::size_t i = 0; i < products.size(); ++i) {
    EXPECT_TRUE(a->HasPart(products[i].get())) << i;
    EXPECT_EQ(a->Parts()[i], products[i]) << "order after undo, " << i;
  }
  EXPECT_EQ(a->AddPart(products[3]), S_FALSE);
  ASSERT_TRUE(j.Redo(&err)) << err;
  EXPECT_FALSE(a->HasPart(products[0].get()));
  EXPECT_EQ(a->AddPart(products[0]), S_OK);
  EXPECT_EQ(a->Parts().back(), products[0]);
}

TEST_F(Content, TypeByText) {
  EXPECT_EQ(target->GetTypeText(), "Assembly");
  EXPECT_EQ(target->SetTypeText("ManufacturingKit"), S_OK);
  EXPECT_EQ(target->GetType(), 2);
  target->SetType(1);
  EXPECT_EQ(target->SetTypeText("Manufacturing Kit"), S_OK);
  EXPECT_EQ(target->GetType(), 2);
  EXPECT_EQ(target->GetTypeText(), "ManufacturingKit");
  EXPECT_EQ(target->SetTypeText("Kit"), E_FAIL);
  EXPECT_EQ(target->GetType(), 2);
  EXPECT_EQ(target->SetTypeText("MAOutput"), S_OK);
  EXPECT_EQ(target->GetType(), 3);
  EXPECT_EQ(target->SetTypeText(""), S_OK);
  EXPECT_EQ(target->GetType(), 0);
  EXPECT_EQ(target->GetTypeText(), "");
}

TEST_F(Content, FactoryMarksOnRequest) {
  // The factory works on the current editor's document.
  HostSession session;
  session.OpenDocument(doc);
  Ref<OrvIMfgAssembly> plain, marked;
  ASSERT_EQ(OrvEMfgAssemblyFactory::CreateMfgAssembly(plain), S_OK);
  ASSERT_EQ(OrvEMfgAssemblyFactory::CreateMfgAssembly(marked, true), S_OK);
  EXPECT_FALSE(plain->IsNotDirectlyChangeable());
  EXPECT_TRUE(marked->IsNotDirectlyChangeable());
  EXPECT_EQ(OrvEMfgAssemblyFactory::RemoveMfgAssembly(marked), S_OK);
  EXPECT_EQ(OrvEMfgAssemblyFactory::RemoveMfgAssembly(marked), E_FAIL);
}

}  // namespace
