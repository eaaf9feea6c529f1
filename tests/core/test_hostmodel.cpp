// The reference host's model: trees, relations, links and paths.
#include <gtest/gtest.h>

#include "HostModel.h"

using namespace host;

namespace {

struct Line {
  Ref<HostDocument> doc = HostDocument::Create();
  Ref<HostRootActivity> root = doc->CreateRootProcess("proc", "Process");
  Ref<HostActivity> shop = doc->CreateActivity(root, "Activity", "shop", "Body Shop");
  Ref<HostActivity> load = doc->CreateActivity(shop, "PhysicalActivity", "load", "Load");
  Ref<HostActivity> weld = doc->CreateActivity(shop, "AssemblyOperation", "weld", "Weld.2");
  Ref<HostActivity> spot = doc->CreateActivity(weld, "PhysicalActivity", "spot", "Spot");
  Ref<HostActivity> start = doc->CreateActivity(root, "Start", "start", "Start");
  Ref<HostProduct> body = doc->CreateProduct(nullptr, "body", "Body", "BD-1");
  Ref<HostProduct> door = doc->CreateProduct(body, "door", "Door.1", "DR-2");
  Ref<HostProduct> hinge = doc->CreateProduct(door, "hinge", "Hinge/Left", "HG-3");
  Ref<HostProduct> station = doc->CreateProduct(nullptr, "st", "Station.1", "", true);
  Ref<HostProduct> robot = doc->CreateProduct(station, "rb", "Robot.1");
  Ref<HostAssembly> ma = doc->CreateAssembly("ma", "DoorAssy");
};

std::vector<std::string> Labels(const std::vector<Ref<TavBaseUnknown>>& v) {
  std::vector<std::string> out;
  for (auto& o : v) out.push_back(query<TavISPPAbstractActivity>(o)->GetLabel().utf8());
  return out;
}

TEST(HostModel, DescendantWalkIsPreOrderWithTypeTests) {
  Line l;
  EXPECT_EQ(Labels(l.root->GetAllChildren()), (std::vector<std::string>{"Body Shop", "Load", "Weld.2", "Spot", "Start"}));
  // Flow nodes are no activities; an assembly operation is a physical activity.
  EXPECT_EQ(Labels(l.root->GetAllChildren("Activity")), (std::vector<std::string>{"Body Shop", "Load", "Weld.2", "Spot"}));
  EXPECT_EQ(Labels(l.shop->GetChildren("PhysicalActivity")), (std::vector<std::string>{"Load", "Weld.2"}));
  EXPECT_TRUE(l.weld->IsOfType("Activity"));
  EXPECT_FALSE(l.load->IsOfType("AssemblyOperation"));
  EXPECT_EQ(l.body->GetAllDescendants().size(), 2u);
  EXPECT_EQ(query<TavISPPActivityRoot>(l.root), l.root);
  EXPECT_EQ(query<TavISPPActivityRoot>(Ref<TavBaseUnknown>(l.load)), nullptr);
}

// The activity lists are the handle lists, element for element: cached below a
// process root, walked below any other activity, and the platform's own default.
TEST(HostModel, ActivityListsMatchTheHandleLists) {
  Line l;
  auto same = [](const std::vector<Ref<TavISPPActivity>>& acts, const std::vector<Ref<TavBaseUnknown>>& all) {
    if (acts.size() != all.size()) return false;
    for (std::size_t i = 0; i < acts.size(); ++i)
      if (Ref<TavBaseUnknown>(acts[i]) != all[i]) return false;
    return true;
  };
  for (const char* type : {"", "Activity", "PhysicalActivity", "Start"})
    for (const Ref<HostActivity>& a : {Ref<HostActivity>(l.root), l.shop, l.spot}) {
      EXPECT_TRUE(same(a->GetAllChildActivities(type), a->GetAllChildren(type))) << type << " below " << a->GetLabel().utf8();
      EXPECT_TRUE(same(a->GetChildActivities(type), a->GetChildren(type))) << type << " below " << a->GetLabel().utf8();
    }
  auto seal = l.doc->CreateActivity(l.shop, "PhysicalActivity", "seal", "Seal", 0);
  EXPECT_EQ(l.root->GetAllChildActivities("PhysicalActivity").at(0), seal);  // the remembered order follows

  // A child manager whose lists hold other objects: those come as nulls in place.
  struct Mixed final : public virtual TavISPPChildManagement {
    std::vector<Ref<TavBaseUnknown>> list;
    std::vector<Ref<TavBaseUnknown>> GetChildren(const TavUnicodeString&) const override { return list; }
    std::vector<Ref<TavBaseUnknown>> GetAllChildren(const TavUnicodeString&) const override { return list; }
    Ref<TavBaseUnknown> CreateChild(const TavUnicodeString&, const TavUnicodeString&, int) override { return nullptr; }
    HRESULT RemoveChild(const Ref<TavBaseUnknown>&) override { return E_NOTIMPL; }
  };
  Mixed m;
  m.list = {l.load, l.door, nullptr, l.weld};
  for (const auto& acts : {m.GetChildActivities(), m.GetAllChildActivities()}) {
    ASSERT_EQ(acts.size(), 4u);
    EXPECT_EQ(acts[0], l.load);
    EXPECT_EQ(acts[1], nullptr);
    EXPECT_EQ(acts[2], nullptr);
    EXPECT_EQ(acts[3], l.weld);
  }
}

TEST(HostModel, RememberedTreeOrderFollowsEveryChange) {
  Line l;
  const std::vector<std::string> before{"Body Shop", "Load", "Weld.2", "Spot", "Start"};
  EXPECT_EQ(Labels(l.root->GetAllChildren()), before);
  EXPECT_EQ(Labels(l.root->GetAllChildren()), before);  // from the remembered order
  auto seal = l.doc->CreateActivity(l.shop, "PhysicalActivity", "seal", "Seal", 1);
  EXPECT_EQ(Labels(l.root->GetAllChildren()), (std::vector<std::string>{"Body Shop", "Load", "Seal", "Weld.2", "Spot", "Start"}));
  l.doc->RemoveActivity(l.weld);
  EXPECT_EQ(Labels(l.root->GetAllChildren()), (std::vector<std::string>{"Body Shop", "Load", "Seal", "Start"}));
  // A removed activity is not kept alive by a remembered order.
  std::weak_ptr<HostActivity> gone = l.weld;
  l.weld.reset();
  l.spot.reset();
  EXPECT_TRUE(gone.expired());
  // A label change is no change of the tree; the order shows the new label.
  seal->SetLabel("Sealing");
  EXPECT_EQ(Labels(l.root->GetAllChildren("PhysicalActivity")), (std::vector<std::string>{"Load", "Sealing"}));
  // Below the root the walk is the plain one.
  EXPECT_EQ(Labels(l.shop->GetAllChildren()), (std::vector<std::string>{"Load", "Sealing"}));
}

TEST(HostModel, DeepTreesDoNotExhaustTheStack) {
  auto doc = HostDocument::Create();
  Ref<HostActivity> a = doc->CreateRootProcess("", "Process");
  for (int i = 0; i < 200000; ++i) a = doc->CreateActivity(a, "PhysicalActivity", "", "A");
  EXPECT_EQ(doc->Process().roots_[0]->GetAllChildren().size(), 200000u);
}

TEST(HostModel, RelationsKeepTheirIndexInStep) {
  Line l;
  EXPECT_EQ(l.load->CreateRelation("process_processes_product", l.door), S_OK);
  EXPECT_EQ(l.load->CreateRelation("process_removes_product", l.door), S_OK);
  EXPECT_EQ(l.load->CreateRelation("process_processes_product", l.door), S_FALSE);  // no duplicate relation
  EXPECT_EQ(l.load->IsItemAssigned(l.door, TavItemCode::Processes), S_OK);
  EXPECT_EQ(l.load->IsItemAssigned(l.door, TavItemCode::Removes), S_OK);
  EXPECT_EQ(l.load->IsItemAssigned(l.hinge, TavItemCode::Processes), S_FALSE);
  EXPECT_EQ(l.load->IsItemAssigned(nullptr, 1), E_FAIL);
  EXPECT_EQ(l.load->GetItems("Item").size(), 1u);

  ASSERT_EQ(l.load->RemoveRelation("process_processes_product", l.door), S_OK);
  EXPECT_EQ(l.load->IsItemAssigned(l.door, TavItemCode::Processes), S_FALSE);
  EXPECT_EQ(l.load->IsItemAssigned(l.door, TavItemCode::Removes), S_OK);  // the other code survives
  EXPECT_EQ(l.load->RemoveRelation("process_processes_product", l.door), E_FAIL);
}

TEST(HostModel, RelationTargetsAreTypeChecked) {
  Line l;
  EXPECT_EQ(l.load->CreateRelation("process_uses_resource", l.door), E_FAIL);
  EXPECT_EQ(l.load->CreateRelation("process_processes_product", l.robot), E_FAIL);
  EXPECT_EQ(l.load->CreateRelation("no_such_relation", l.door), E_FAIL);
  EXPECT_EQ(l.load->CreateRelation("process_uses_resource", l.robot), S_OK);
  EXPECT_EQ(l.load->IsResourceAssigned(l.robot, TavResourceCode::Uses), S_OK);
  EXPECT_EQ(l.load->CreateRelation("process_attaches_resource", l.robot), S_OK);
  EXPECT_EQ(l.load->IsItemAssigned(l.robot, TavItemCode::Attaches), S_OK);
  EXPECT_EQ(l.load->CreateRelation("process_processes_product", l.ma), S_OK);
  EXPECT_EQ(l.load->IsItemAssigned(l.ma, TavItemCode::Processes), S_OK);
}

TEST(HostModel, OutputsAndPossibleRelations) {
  Line l;
  ASSERT_EQ(l.weld->CreateRelation("process_creates_product", l.door), S_OK);
  auto outs = l.weld->GetOutputs();
  ASSERT_EQ(outs.size(), 1u);
  EXPECT_TRUE(SameObject(query<TavISPPProductIO>(outs[0])->GetProduct(), l.door));
  ASSERT_EQ(l.weld->CreateRelation("process_creates_product", l.ma), S_OK);
  auto io = query<TavISPPProductIO>(l.weld->GetOutputs(l.ma).at(0));
  EXPECT_EQ(io->GetProduct(), nullptr);  // an assembly is reached through the second accessor
  EXPECT_TRUE(SameObject(io->GetObject(), l.ma));

  std::optional<std::vector<TavUnicodeString>> types;
  ASSERT_EQ(l.load->GetPossibleRelations(l.hinge, types), S_OK);
  ASSERT_TRUE(types);
  EXPECT_EQ(types->at(0), "process_processes_product");
  l.load->CreateRelation("process_processes_product", l.hinge);
  l.load->GetPossibleRelations(l.hinge, types);
  EXPECT_NE(types->at(0), "process_processes_product");  // what is related is offered no more
  TavUnicodeString display;
  ASSERT_EQ(l.load->GetDisplayName("process_first_processes_product", display), S_OK);
  EXPECT_EQ(display, "Process First Processes Product");
}

TEST(HostModel, LinksAreSymmetricAndRemovedWithTheActivity) {
  Line l;
  EXPECT_EQ(l.load->AddControlFlowLink(l.weld), S_OK);
  EXPECT_EQ(l.load->AddControlFlowLink(l.weld), S_FALSE);
  EXPECT_EQ(l.load->AddControlFlowLink(l.load), E_FAIL);
  EXPECT_EQ(l.weld->GetPreviousNodes().size(), 1u);
  EXPECT_EQ(l.weld->AddPrecedence(l.load), S_OK);
  EXPECT_EQ(l.load->GetSuccessors().size(), 1u);
  EXPECT_EQ(l.shop->RemoveChild(l.weld), S_OK);
  EXPECT_TRUE(l.load->GetNextNodes().empty());
  EXPECT_TRUE(l.load->GetSuccessors().empty());
  EXPECT_EQ(l.doc->FindById("spot"), nullptr);  // the subtree left the document
  EXPECT_EQ(l.shop->RemoveChild(l.weld), E_FAIL);
}

TEST(HostModel, IdsAreUniqueAndGenerated) {
  Line l;
  EXPECT_THROW(l.doc->CreateProduct(nullptr, "door", "Other"), std::invalid_argument);
  EXPECT_THROW(l.doc->CreateActivity(l.root, "NoSuchType", "", "X"), std::invalid_argument);
  auto a = l.doc->CreateActivity(l.root, "Activity", "", "New");
  EXPECT_FALSE(a->GetId().IsEmpty());
  EXPECT_EQ(l.doc->FindById(a->GetId()), a);
  EXPECT_NE(a->GetModelNumber(), l.load->GetModelNumber());
}

TEST(HostModel, PathsResolveAndPrintBothWays) {
  Line l;
  auto p = l.doc->Resolve("Process/Body Shop/Weld.2/Spot");
  ASSERT_EQ(p.GetSize(), 4);
  EXPECT_EQ(p.GetLeaf(), l.spot);
  EXPECT_EQ(p.GetTop(), l.root);
  for (Ref<TavBaseUnknown> o : std::vector<Ref<TavBaseUnknown>>{l.spot, l.hinge, l.robot, l.ma, l.root}) {
    std::string s = l.doc->PathString(o);
    EXPECT_TRUE(SameObject(l.doc->Resolve(s).GetLeaf(), o)) << s;
  }
  EXPECT_EQ(l.doc->PathString(l.hinge), "Products/Body/Door.1/Hinge\\/Left");
  EXPECT_EQ(l.doc->Resolve("#hinge").GetSize(), 3);
  EXPECT_TRUE(l.doc->Resolve("Process/Nope").IsEmpty());
  EXPECT_TRUE(l.doc->Resolve("Products").IsEmpty());
  EXPECT_TRUE(l.doc->Resolve("#missing").IsEmpty());
  EXPECT_TRUE(l.doc->Resolve("").IsEmpty());
}

TEST(HostModel, AssembliesAndLists) {
  Line l;
  auto inner = l.doc->CreateAssembly("inner", "Inner");
  EXPECT_EQ(l.ma->AddPart(l.door), S_OK);
  EXPECT_EQ(l.ma->AddPart(inner), S_OK);
  EXPECT_EQ(l.ma->AddPart(l.door), S_FALSE);
  EXPECT_EQ(l.ma->AddPart(l.ma), E_FAIL);
  EXPECT_EQ(l.ma->GetChildAssemblies().size(), 1u);
  std::vector<Ref<TavBaseUnknown>> parts;
  EXPECT_EQ(l.ma->GetParts(parts), 0);
  EXPECT_EQ(parts.size(), 2u);
  EXPECT_TRUE(l.doc->Products().Contains(l.hinge));
  EXPECT_FALSE(l.doc->Products().Contains(l.robot));
  EXPECT_TRUE(l.doc->Resources().Contains(l.robot));
  EXPECT_TRUE(l.robot->IsResource());  // children of a resource are resources
  EXPECT_EQ(l.doc->GetDocEnvironment()->GetName(), "TavLocalDocEnv");
  EXPECT_EQ(HostDocument::Create(true)->GetDocEnvironment()->GetName(), "YorDocEnv");
}

}  // namespace
