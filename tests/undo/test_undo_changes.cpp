// Every kind of model change, as one step: undo gives back the saved bytes of
// before, redo those of after; removed objects come back as the same objects.
#include "UndoPlant.h"

using namespace undotest;

namespace {

struct Changes : ::testing::Test {
  Ref<HostDocument> doc = Plant();
  // Activities with what a test needs, found in the generated plant.
  Ref<HostActivity> Find(const std::function<bool(const HostActivity&)>& pred) {
    for (auto& a : doc->Process().roots_.front()->GetAllChildActivities()) {
      auto h = std::dynamic_pointer_cast<HostActivity>(a);
      if (h && pred(*h)) return h;
    }
    ADD_FAILURE() << "no such activity in the generated plant";
    return nullptr;
  }
  Ref<HostProduct> product() { return doc->Products().roots_.front(); }
  Ref<HostProduct> resource() { return doc->Resources().roots_.front(); }
};

TEST_F(Changes, FieldsOfEveryObject) {
  auto a = Find([](const HostActivity& x) { return x.Type()->IsA("PhysicalActivity"); });
  ExpectUndoable(*doc, "label", [&] { a->SetLabel("Weld.9.9"); });
  ExpectUndoable(*doc, "description", [&] { a->SetDescription("clamp first"); });
  ExpectUndoable(*doc, "time", [&] { a->SetTime(42.5); });
  ExpectUndoable(*doc, "product name and part number", [&] {
    product()->SetName("Body.7");
    product()->SetPartNumber("PN-77");
  });
  ExpectUndoable(*doc, "resource type", [&] { resource()->SetResourceType("Line"); });
  auto m = doc->Assemblies().assemblies_.front();
  ExpectUndoable(*doc, "assembly fields", [&] {
    m->SetName("Kit.99");
    m->SetPartNumber("MA-9");
    m->SetType(3);
    m->SetContentByStructure(!m->ContentByStructure());
  });
  ExpectUndoable(*doc, "display name", [&] { doc->SetDisplayName("Line 2"); });
  // Positions are not in the plant file: the value itself comes back.
  const auto was = product()->GetPosition();
  TavIMovable::Position moved = was;
  moved[9] = 120;
  ExpectUndoable(*doc, "position", [&] {
    product()->SetPosition(moved);
    product()->SetHasPosition(true);
  }, false);
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(product()->GetPosition(), was);
  EXPECT_FALSE(product()->HasPosition());
  ASSERT_TRUE(doc->Journal().Redo(&err)) << err;
  EXPECT_EQ(product()->GetPosition(), moved);
}

TEST_F(Changes, AttributesKeepTheirPlace) {
  auto a = Find([](const HostActivity& x) { return !x.Relations().empty(); });
  a->SetAttribute("A", std::int64_t(1));
  a->SetAttribute("B", TavUnicodeString("two"));
  a->SetAttribute("C", 3.5);
  ExpectUndoable(*doc, "new attribute", [&] { a->SetAttribute("D", true); });
  ExpectUndoable(*doc, "changed attribute", [&] { a->SetAttribute("B", TavUnicodeString("deux")); });
  ExpectUndoable(*doc, "removed first attribute", [&] { EXPECT_TRUE(a->RemoveAttribute("A")); });
  auto rel = a->Relations().front();
  ExpectUndoable(*doc, "relation attributes", [&] {
    rel->SetAttribute("Torque", 12.5);
    rel->SetAttribute("Note", TavUnicodeString("x"));
    rel->RemoveAttribute("Torque");
  });
  ExpectUndoable(*doc, "user attribute of a resource", [&] { resource()->SetAttribute("Shift", std::int64_t(2)); });
}

TEST_F(Changes, CreatedObjectsGoAndComeBack) {
  auto shop = Find([](const HostActivity& x) { return x.Children().size() >= 2; });
  Ref<TavBaseUnknown> made;
  ExpectUndoable(*doc, "child inserted first", [&] {
    made = shop->CreateChild("AssemblyOperation", "Join", 0);
    ASSERT_TRUE(made);
    std::dynamic_pointer_cast<HostActivity>(made)->CreateChild("PhysicalActivity", "Sub");
  });
  // Redone: the same object is back, and found by its id.
  auto id = query<TavIModelIdentity>(made)->GetId();
  EXPECT_EQ(doc->FindById(id), made);
  ExpectUndoable(*doc, "root process", [&] { doc->CreateRootProcess("", "Paint Shop"); });
  ExpectUndoable(*doc, "products and resources", [&] {
    auto p = doc->CreateProduct(product(), "", "Clip.1", "CL-1");
    doc->CreateProduct(p, "", "Pin.1");
    doc->CreateProduct(nullptr, "", "Station.99", {}, true);
  });
  ExpectUndoable(*doc, "assembly", [&] {
    auto m = doc->Assemblies().CreateAssembly("Kit.new", 2);
    m->AddPart(product());
  });
  // After an undo the made objects are out of the document, under their old ids too.
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err));
  ASSERT_TRUE(doc->Journal().Undo(&err));
  ASSERT_TRUE(doc->Journal().Undo(&err));
  ASSERT_TRUE(doc->Journal().Undo(&err));
  EXPECT_EQ(doc->FindById(id), nullptr);
  EXPECT_EQ(query<TavIDocumentMember>(made)->GetDocument(), nullptr);
}

TEST_F(Changes, RemovedSubtreeComesBackWithItsLinksAndRelations) {
  // A subtree whose members have relations, attributes and links inside and outside.
  auto group = Find([](const HostActivity& x) {
    if (x.Children().empty() || !x.FatherActivity()) return false;
    for (auto& c : x.Children())
      if (!c->Relations().empty() && (!c->Next().empty() || !c->Before().empty())) return true;
    return false;
  });
  ASSERT_TRUE(group);
  auto outside = Find([&](const HostActivity& x) { return x.FatherActivity() != group && &x != group.get() && x.Type()->IsA("PhysicalActivity"); });
  auto inner = group->Children().front();
  inner->AddControlFlowLink(outside);
  outside->AddPrecedence(inner);
  inner->SetAttribute("Kept", TavUnicodeString("yes"));
  std::vector<Ref<HostActivity>> members{group};
  for (auto& c : group->GetAllChildren()) members.push_back(std::dynamic_pointer_cast<HostActivity>(c));
  ExpectUndoable(*doc, "subtree removed", [&] { EXPECT_EQ(group->FatherActivity()->RemoveChild(group), S_OK); });
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  for (auto& m : members) EXPECT_EQ(doc->FindById(m->GetId()), m) << m->GetId().utf8();
  EXPECT_EQ(inner->GetNextNodes().back(), outside);
}

TEST_F(Changes, RelationsLinksAndPartsKeepTheirOrder) {
  auto a = Find([](const HostActivity& x) { return x.Relations().size() >= 3; });
  ASSERT_TRUE(a);
  auto middle = a->Relations()[1];
  ExpectUndoable(*doc, "middle relation removed",
                 [&] { EXPECT_EQ(a->RemoveRelation(middle->GetRelationType(), middle->GetTarget()), S_OK); });
  ExpectUndoable(*doc, "items, resources and outputs", [&] {
    auto p = doc->Products().roots_.back();
    EXPECT_EQ(a->AddItem(p, TavItemCode::Removes), S_OK);
    EXPECT_EQ(a->AddResource(resource(), TavResourceCode::RunsOn), S_OK);
    EXPECT_EQ(a->AddOutput(p), S_OK);
  });
  ExpectUndoable(*doc, "items, resources and outputs removed", [&] {
    auto p = doc->Products().roots_.back();
    EXPECT_EQ(a->RemoveItem(p, TavItemCode::Removes), S_OK);
    EXPECT_EQ(a->RemoveResource(resource(), TavResourceCode::RunsOn), S_OK);
    EXPECT_EQ(a->RemoveOutput(p), S_OK);
  });
  // The relation codes answer as before.
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err));
  EXPECT_EQ(a->IsResourceAssigned(resource(), TavResourceCode::RunsOn), S_OK);
  EXPECT_EQ(a->GetOutputs(doc->Products().roots_.back()).size(), 1u);
  ASSERT_TRUE(doc->Journal().Redo(&err));

  auto from = Find([](const HostActivity& x) { return x.Next().size() + x.Before().size() >= 1; });
  ExpectUndoable(*doc, "links", [&] {
    for (auto& n : from->GetNextNodes()) from->RemoveControlFlowLink(n);
    for (auto& b : from->GetPrecedences()) from->RemovePrecedence(b);
    from->AddControlFlowLink(a);
    a->AddPrecedence(from);
  });
  auto m = doc->Assemblies().assemblies_.front();
  std::vector<Ref<TavBaseUnknown>> parts;
  m->GetParts(parts);
  ASSERT_FALSE(parts.empty());
  ExpectUndoable(*doc, "parts", [&] {
    EXPECT_EQ(m->RemovePart(parts.front()), S_OK);
    EXPECT_EQ(m->AddPart(doc->Products().roots_.back()), S_OK);
  });
}

TEST_F(Changes, FeatureObjects) {
  auto* assignment = AssignmentOf(*doc, false);
  auto b = std::dynamic_pointer_cast<HostBehavior>(doc->FindById("beh"));
  ASSERT_TRUE(b);
  ExpectUndoable(*doc, "behaviour items", [&] {
    EXPECT_EQ(b->AddOutputItem(doc->Products().roots_.back()), S_OK);
    EXPECT_EQ(b->RemoveInputItem(doc->Products().roots_.front()), S_OK);
  });
  auto owner = std::dynamic_pointer_cast<HostProduct>(b->GetResource());
  ExpectUndoable(*doc, "behaviour removed", [&] { EXPECT_EQ(query<OrvIResourceBehaviorManager>(owner)->RemoveBehavior(), S_OK); });
  EXPECT_EQ(doc->FindById("beh"), nullptr);
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(doc->FindById("beh"), b);
  EXPECT_EQ(assignment->BehaviorOf(*owner), b);
  ASSERT_TRUE(doc->Journal().Redo(&err)) << err;

  auto a = Find([](const HostActivity& x) { return x.Type()->IsA("PhysicalActivity"); });
  ExpectUndoable(*doc, "context", [&] { EXPECT_EQ(assignment->AddContext(a, product()), S_OK); });
  auto* fasteners = FastenersOf(*doc, false);
  ExpectUndoable(*doc, "fastener", [&] {
    auto f = fasteners->CreateFastener("", "");
    f->SetCoordinate(0, 10.5);
    fasteners->Relate(f, a);
    fasteners->Fasteners().front()->SetName("Spot.renamed");
  });
  ExpectUndoable(*doc, "TSA", [&] {
    auto t = ContExtOf(*doc)->CreateTSA("", "Changeover", "Activity");
    t->CreateChild("PhysicalActivity", "Swap tool");
  });
}

TEST(HubChanges, HubValuesOnRelations) {
  auto doc = HostDocument::Create(true);
  auto root = doc->CreateRootProcess("proc", "Process");
  auto a = doc->CreateActivity(root, "PhysicalActivity", "a1", "Join");
  auto p = doc->CreateProduct(nullptr, "d1", "Door.1");
  Ref<TavISPPActivitySpecification> rel;
  ASSERT_EQ(a->CreateRelation("process_processes_product", p, &rel), S_OK);
  auto* hub = HubLayoutOf(*doc);
  ASSERT_TRUE(hub);
  ExpectUndoable(*doc, "hub values", [&] {
    EXPECT_EQ(hub->SetAttributeValue(rel, "Torque", 12.5), S_OK);
    EXPECT_EQ(hub->SetAttributeValue(rel, "Station", TavUnicodeString("S1")), S_OK);
  });
  ExpectUndoable(*doc, "hub value removed", [&] { EXPECT_EQ(hub->RemoveAttributeValue(rel, "Torque"), S_OK); });
}

}  // namespace
