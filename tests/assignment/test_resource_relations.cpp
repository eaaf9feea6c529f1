// Items as inputs and outputs of resource behaviours, and the output assembly that gathers the inputs.
#include <gtest/gtest.h>

#include "AssignPlant.h"
#include "OrvEResourceRelationsForItems.h"

namespace {

struct ResourceRelations : ::testing::Test, AssignPlant {
  Ref<OrvIResourceRelations> Of(const Ref<TavBaseUnknown>& item) { return query<OrvIResourceRelations>(item); }
  std::vector<Ref<TavBaseUnknown>> PartsOf(const Ref<OrvIMfgAssembly>& a) {
    std::vector<Ref<TavBaseUnknown>> parts;
    a->GetParts(parts);
    return parts;
  }
};

TEST_F(ResourceRelations, FirstInputMakesTheOutputAssemblyOnDemand) {
  ASSERT_TRUE(Of(door));
  EXPECT_FALSE(BehaviorOf(robot));
  EXPECT_EQ(Of(door)->AddResourceRelation(robot, OrvResourceInputItem, 1, 1), S_OK);
  auto b = BehaviorOf(robot);
  ASSERT_TRUE(b);
  ASSERT_EQ(b->GetInputItems().size(), 1u);
  EXPECT_TRUE(SameObject(b->GetInputItems()[0], door));
  Ref<OrvIMfgAssembly> out;
  ASSERT_EQ(OrvEResourceRelationsForItems::GetOutputItem(robot, out), S_OK);
  EXPECT_EQ(out->GetName(), "MA_Robot.1");
  EXPECT_EQ(out->GetType(), 3);
  EXPECT_EQ(PartsOf(out).size(), 1u);
  // A second input joins the same assembly; an output does not.
  EXPECT_EQ(Of(body)->AddResourceRelation(robot, OrvResourceInputItem, 1, 1), S_OK);
  EXPECT_EQ(Of(hinge)->AddResourceRelation(robot, OrvResourceOutputItem, 1, 1), S_OK);
  EXPECT_EQ(PartsOf(out).size(), 2u);
  EXPECT_EQ(doc->Assemblies().assemblies_.size(), 1u);
  EXPECT_EQ(Of(hinge)->IsAssigned(robot, OrvResourceInputItem), S_OK);
  EXPECT_EQ(Of(door)->IsAssigned(gripper, OrvResourceInputItem), E_FAIL);  // no behaviour
  // The output assembly cannot become an input of its own resource.
  EXPECT_EQ(Of(out)->IsValidToAssign(robot, OrvResourceInputItem), E_FAIL);
  EXPECT_EQ(Of(body)->IsValidToAssign(robot, OrvResourceInputItem), S_OK);
}

TEST_F(ResourceRelations, OneProductUnderTheOutputAssemblyOfEachResource) {
  auto robot3 = doc->CreateProduct(station, "rb3", "Robot.3");
  robot3->SetResourceType("Robot");
  ASSERT_EQ(Of(door)->AddResourceRelation(robot, OrvResourceInputItem, 1, 1), S_OK);
  ASSERT_EQ(Of(door)->AddResourceRelation(robot3, OrvResourceInputItem, 1, 1), S_OK);
  for (auto& r : {robot, robot3}) {
    Ref<OrvIMfgAssembly> out;
    ASSERT_EQ(OrvEResourceRelationsForItems::GetOutputItem(r, out), S_OK);
    EXPECT_EQ(out->GetName(), "MA_" + r->GetName());
    ASSERT_EQ(PartsOf(out).size(), 1u);
    EXPECT_TRUE(SameObject(PartsOf(out)[0], door));
  }
  // Removing the input takes it out of that resource's assembly only.
  EXPECT_EQ(Of(door)->RemoveResourceRelation(robot, OrvResourceInputItem, 1, 1), S_OK);
  Ref<OrvIMfgAssembly> out1, out3;
  OrvEResourceRelationsForItems::GetOutputItem(robot, out1);
  OrvEResourceRelationsForItems::GetOutputItem(robot3, out3);
  EXPECT_TRUE(PartsOf(out1).empty());
  EXPECT_EQ(PartsOf(out3).size(), 1u);
  EXPECT_EQ(Of(door)->RemoveResourceRelation(robot, OrvResourceInputItem, 1, 1), E_FAIL);
}

TEST_F(ResourceRelations, FailuresChangeNothing) {
  const std::size_t objects = doc->ObjectCount();
  // A fastening resource can be neither validated nor assigned.
  EXPECT_EQ(Of(door)->IsValidToAssign(gunRobot, OrvResourceInputItem), E_FAIL);
  EXPECT_EQ(Of(door)->AddResourceRelation(gunRobot, OrvResourceInputItem, 1, 1), E_FAIL);
  // Missing resource, unknown relation type, a resource that can have no behaviour.
  EXPECT_EQ(Of(door)->AddResourceRelation(nullptr, OrvResourceInputItem, 1, 1), E_FAIL);
  EXPECT_EQ(Of(door)->AddResourceRelation(robot, static_cast<OrvResourceRelationType>(3), 1, 1), E_FAIL);
  EXPECT_EQ(Of(door)->AddResourceRelation(gripper, OrvResourceInputItem, 1, 1), E_FAIL);
  EXPECT_EQ(Of(door)->IsValidToAssign(gripper, OrvResourceInputItem), E_FAIL);
  // Removing from a resource without behaviour makes none.
  EXPECT_EQ(Of(door)->RemoveResourceRelation(robot, OrvResourceInputItem, 1, 1), E_FAIL);
  EXPECT_FALSE(BehaviorOf(robot));
  EXPECT_FALSE(BehaviorOf(gunRobot));
  EXPECT_TRUE(doc->Assemblies().assemblies_.empty());
  EXPECT_EQ(doc->ObjectCount(), objects);
  EXPECT_EQ(OrvEResourceRelationsForItems::ReassignResourceRelation(), E_NOTIMPL);
}

TEST_F(ResourceRelations, AResourceMayKeepNoOutputAssembly) {
  robot->SetAttribute("_NoOutputAssembly", true);
  EXPECT_EQ(Of(door)->AddResourceRelation(robot, OrvResourceInputItem, 1, 1), S_OK);
  EXPECT_TRUE(doc->Assemblies().assemblies_.empty());
  ASSERT_TRUE(BehaviorOf(robot));
  EXPECT_EQ(BehaviorOf(robot)->GetInputItems().size(), 1u);
  // Adding it again is no error and nothing new.
  EXPECT_EQ(Of(door)->AddResourceRelation(robot, OrvResourceInputItem, 1, 1), S_FALSE);
}

TEST_F(ResourceRelations, ResourcesAreNoItemsOfABehaviour) {
  EXPECT_FALSE(Of(gripper));  // the extension is on products and assemblies only
  auto b = query<OrvIResourceBehaviorManager>(robot)->CreateBehavior();
  auto mgmt = query<OrvIResourceItemMgmt>(b);
  ASSERT_TRUE(mgmt);
  EXPECT_EQ(mgmt->AddInputItem(gripper), E_FAIL);
  EXPECT_EQ(mgmt->IsItemAssigned(nullptr), E_FAIL);
}
}  // namespace
