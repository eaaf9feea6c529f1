// The host side of assignments: relation types offered, behaviours, contexts, the
// hub layout, and their plant format.
#include <gtest/gtest.h>

#include "AssignPlant.h"
#include "PlantDocument.h"
#include "OrvVekServices.h"
#include "TavPlanner.h"

using namespace host;

namespace {

std::vector<std::string> Possible(const Ref<TavBaseUnknown>& activity, const Ref<TavBaseUnknown>& target, bool* list = nullptr) {
  std::optional<std::vector<TavUnicodeString>> types;
  EXPECT_EQ(query<TavIPCSRelations>(activity)->GetPossibleRelations(target, types), S_OK);
  if (list) *list = types.has_value();
  std::vector<std::string> out;
  if (types)
    for (auto& t : *types) out.push_back(t.utf8());
  return out;
}

TEST(RelationTypes, ActivitiesOfferWhatIsFreeBehavioursTheirItems) {
  AssignPlant p;
  auto forDoor = Possible(p.load, p.door);
  ASSERT_EQ(forDoor.size(), 7u);
  EXPECT_EQ(forDoor[0], "process_processes_product");
  EXPECT_EQ(forDoor[3], "process_removes_product");
  ASSERT_EQ(p.load->CreateRelation("process_processes_product", p.door), S_OK);
  EXPECT_EQ(Possible(p.load, p.door).size(), 6u);  // a taken type is no longer offered
  EXPECT_EQ(Possible(p.load, p.gripper).front(), "process_uses_resource");
  TavUnicodeString name;
  ASSERT_EQ(p.load->GetDisplayName("process_first_processes_product", name), S_OK);
  EXPECT_EQ(name, "Process First Processes Product");
  EXPECT_EQ(p.load->GetDisplayName("no_such_type", name), E_FAIL);

  auto b = query<OrvIResourceBehaviorManager>(p.robot)->CreateBehavior();
  ASSERT_TRUE(b);
  EXPECT_EQ(Possible(b, p.door), (std::vector<std::string>{kBehaviorInputType, kBehaviorOutputType}));
  bool list = true;
  EXPECT_TRUE(Possible(b, p.gripper, &list).empty());
  EXPECT_FALSE(list);  // no list at all for a resource
  ASSERT_EQ(query<TavIPCSRelations>(b)->GetDisplayName(kBehaviorOutputType, name), S_OK);
  EXPECT_EQ(name, "Output Item");
  // Both stay offered, in the same order, while one of them is free.
  auto mgmt = query<OrvIResourceItemMgmt>(b);
  mgmt->AddInputItem(p.door);
  EXPECT_EQ(Possible(b, p.door).size(), 2u);
  mgmt->AddOutputItem(p.door);
  EXPECT_TRUE(Possible(b, p.door, &list).empty());
  EXPECT_TRUE(list);
}

TEST(PlannerServices, BehavioursAreCreatedOnDemandOnlyWhereTheyCanBe) {
  AssignPlant p;
  int canHave = -1;
  bool existed = true;
  Ref<OrvIResourceBehavior> b;
  EXPECT_EQ(OrvVekServices::CanResourceHaveBehavior(p.robot), 1);
  EXPECT_EQ(OrvVekServices::CanResourceHaveBehavior(p.gripper), 0);
  EXPECT_EQ(OrvVekServices::CanResourceHaveBehavior(p.door), 0);  // a product is no resource
  ASSERT_EQ(OrvVekServices::GetResourceBehavior(p.robot, canHave, b, existed), S_OK);
  EXPECT_EQ(canHave, 1);
  EXPECT_FALSE(existed);
  EXPECT_TRUE(SameObject(b->GetResource(), p.robot));
  Ref<OrvIResourceBehavior> again;
  ASSERT_EQ(OrvVekServices::GetResourceBehavior(p.robot, canHave, again, existed), S_OK);
  EXPECT_TRUE(existed);
  EXPECT_EQ(again.get(), b.get());
  EXPECT_EQ(OrvVekServices::GetResourceBehavior(p.gripper, canHave, again, existed), E_FAIL);
  EXPECT_FALSE(again);
  EXPECT_EQ(OrvVekServices::DeleteResourceBehavior(p.robot), S_OK);
  EXPECT_EQ(OrvVekServices::DeleteResourceBehavior(p.robot), E_FAIL);
  EXPECT_FALSE(p.BehaviorOf(p.robot));

  auto cell = p.doc->CreateProduct(nullptr, "cell", "Cell.1", {}, true);
  cell->SetResourceType("WSC");
  EXPECT_TRUE(OrvVekServices::IsAWSC(cell));
  EXPECT_FALSE(OrvVekServices::IsAWSC(p.station));
  auto ma = p.doc->CreateAssembly("ma", "DoorAssy");
  EXPECT_TRUE(OrvVekServices::InPPRProductList(ma));
  EXPECT_TRUE(OrvVekServices::InPPRProductList(p.hinge));
  EXPECT_FALSE(OrvVekServices::InPPRProductList(p.gripper));
  EXPECT_TRUE(OrvVekServices::InPPRResourceList(p.gripper));
  EXPECT_FALSE(OrvVekServices::InPPRResourceList(p.load));
}

TEST(Contexts, AProductIsFoundThroughItsAncestorsAndTheActivitysAncestors) {
  AssignPlant p;
  auto spot = p.doc->CreateActivity(p.weld, "PhysicalActivity", "spot", "Spot");
  auto* c = AssignmentOf(*p.doc, true);
  EXPECT_FALSE(TavSPPContextsServices::SearchInContexts(p.hinge, spot));
  ASSERT_EQ(c->AddContext(p.weld, p.door), S_OK);
  EXPECT_EQ(c->AddContext(p.weld, p.door), S_FALSE);
  EXPECT_EQ(c->AddContext(p.weld, p.gripper), S_OK);
  EXPECT_TRUE(TavSPPContextsServices::SearchInContexts(p.hinge, spot));  // Door.1 holds Hinge.1
  EXPECT_FALSE(TavSPPContextsServices::SearchInContexts(p.body, spot));
  EXPECT_FALSE(TavSPPContextsServices::SearchInContexts(p.hinge, p.load));
}

constexpr const char* kHubPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="hub" name="Hub">
  <products>
    <product id="door" name="Door.1"/>
    <product id="hinge" name="Hinge.1"/>
  </products>
  <resources>
    <resource id="rb" name="Robot.1" type="Robot">
      <behavior id="bh" name="Handling">
        <input ref="door"/>
        <output ref="out"/>
      </behavior>
    </resource>
    <resource id="rb2" name="Robot.2" type="Robot">
      <behavior id="bh2"/>
    </resource>
  </resources>
  <assemblies>
    <assembly id="out" name="MA_Robot.1" type="3">
      <part ref="door"/>
    </assembly>
  </assemblies>
  <process id="proc" name="Process" type="Activity">
    <activity id="a1" name="Load" type="PhysicalActivity">
      <relation type="process_processes_product" ref="door">
        <attribute name="hub:Quantity" type="int" value="2"/>
      </relation>
      <context ref="hinge"/>
    </activity>
  </process>
  <hubAttributes>
    <relationType name="relationship_proc_processes_prod">
      <attributeDef name="Quantity" type="KwEPTypeInteger" default="1"/>
      <attributeDef name="Side" type="KwEPTypeString" display="Side of car" kind="3">
        <value value="L" display="Left"/>
        <value value="R"/>
      </attributeDef>
    </relationType>
  </hubAttributes>
</plant>
)";

TEST(PlantFormat, BehavioursContextsAndHubLayoutRoundTrip) {
  RegisterAssignmentModule();
  std::string error;
  auto doc = ParsePlant(kHubPlant, "hub.xml", error);
  ASSERT_TRUE(doc) << error;
  auto rb = std::dynamic_pointer_cast<HostProduct>(doc->FindById("rb"));
  auto* c = AssignmentOf(*doc, false);
  ASSERT_TRUE(c);
  auto b = c->BehaviorOf(*rb);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->GetLabel(), "Handling");
  EXPECT_EQ(b->GetInputItems().size(), 1u);
  EXPECT_EQ(c->BehaviorOf(*std::dynamic_pointer_cast<HostProduct>(doc->FindById("rb2")))->GetLabel(), "Robot.2 Behavior");
  EXPECT_EQ(c->GetContexts(doc->FindById("a1")).size(), 1u);
  auto layout = TavYorLayoutMgtOf(doc);
  ASSERT_TRUE(layout);
  std::vector<OrvYorAttributeDefinition> defs;
  ASSERT_EQ(layout->GetAttributeDefinitions("relationship_proc_processes_prod", defs), S_OK);
  ASSERT_EQ(defs.size(), 2u);
  EXPECT_EQ(defs[1].displayName, "Side of car");
  EXPECT_EQ(defs[1].kind, 3);
  EXPECT_EQ(defs[1].allowedDisplayValues, (std::vector<TavUnicodeString>{"Left", "R"}));
  ASSERT_EQ(layout->GetAttributeDefinitions("relationship_proc_removes_prod", defs), S_OK);
  EXPECT_TRUE(defs.empty());
  // The relation's hub value reads back through the hub attribute service.
  auto a1 = std::dynamic_pointer_cast<HostActivity>(doc->FindById("a1"));
  TavValue v;
  ASSERT_EQ(OrvMHIAttributeMgtOf(doc)->GetAttributeValue(a1->Relations()[0], "Quantity", v), S_OK);
  EXPECT_EQ(std::get<std::int64_t>(v), 2);
  EXPECT_EQ(SerializePlant(*doc, "hub.xml", nullptr), kHubPlant);
}

TEST(PlantFormat, RefusesWhatTheModelCannotHold) {
  RegisterAssignmentModule();
  auto fails = [](std::string text, const std::string& needle) {
    std::string error;
    auto doc = ParsePlant(text, "bad.xml", error);
    EXPECT_FALSE(doc);
    EXPECT_NE(error.find(needle), std::string::npos) << error;
  };
  auto with = [](const std::string& from, const std::string& to) {
    std::string s = kHubPlant;
    auto at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
  };
  fails(with("environment=\"hub\"", "environment=\"local\""), "need a hub plant");
  fails(with("KwEPTypeInteger", "KwEPTypeMoney"), "unknown hub attribute type 'KwEPTypeMoney'");
  fails(with("<input ref=\"door\"/>", "<input ref=\"rb2\"/>"), "'rb2' is no product or assembly");
  fails(with("<input ref=\"door\"/>", "<input ref=\"door\"/><input ref=\"door\"/>"), "duplicate input 'door'");
  fails(with("<context ref=\"hinge\"/>", "<context ref=\"rb\"/>"), "'rb' is no product");
  fails(with("<value value=\"R\"/>", "<value value=\"L\"/>"), "duplicate allowed value 'L'");
  fails(with("<behavior id=\"bh2\"/>", "<behavior id=\"bh\"/>"), "bh");
  fails(with("kind=\"3\"", "kind=\"three\""), "kind");
}

TEST(HubLayout, ValuesGoOnAttributeHoldersOnly) {
  AssignPlant hub(true);
  auto service = OrvMHIAttributeMgtOf(hub.doc);
  ASSERT_TRUE(service);
  AssignPlant local;
  EXPECT_FALSE(OrvMHIAttributeMgtOf(local.doc));
  EXPECT_FALSE(TavYorLayoutMgtOf(local.doc));
  Ref<TavISPPActivitySpecification> rel;
  ASSERT_EQ(hub.load->CreateRelation("process_processes_product", hub.door, &rel), S_OK);
  EXPECT_EQ(service->SetAttributeValue(rel, "Quantity", TavValue(std::int64_t{4})), S_OK);
  EXPECT_EQ(service->SetAttributeValue(rel, "Empty", TavValue()), E_FAIL);
  EXPECT_EQ(service->SetAttributeValue(nullptr, "Quantity", TavValue(true)), E_FAIL);
  auto outputs = hub.load->GetOutputs();
  EXPECT_TRUE(outputs.empty());
  EXPECT_EQ(service->RemoveAttributeValue(rel, "Quantity"), S_OK);
  EXPECT_EQ(service->RemoveAttributeValue(rel, "Quantity"), E_FAIL);
}
}  // namespace
