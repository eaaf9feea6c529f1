// Copying a resource: a new reference with its children, behaviour and position, a
// device as a new instance, a father inside the source, what a pick may be, and the
// command's name proposal, refusals and error box.
#include <gtest/gtest.h>

#include <sstream>

#include "CopyPlant.h"
#include "HostEngine.h"
#include "HostUndo.h"
#include "OrvVekCopyResourceCmd.h"
#include "OrvVekCopyResourceServices.h"
#include "OrvVekServices.h"
#include "ResourceCommand.h"
#include "TavAssignment.h"

using namespace host;

namespace {

using Services = OrvVekCopyResourceServices;

struct CopyResource : ::testing::Test, CopyPlant {
  Ref<TavIProduct> Res(const char* id) { return Get<TavIProduct>(id); }
  TavPathElement Path(const char* id) { return doc->PathOf(Get(id)); }
};

TEST_F(CopyResource, ANewReferenceWithItsChildrenBehaviourAndPosition) {
  auto robot = Res("robot");
  query<TavIMovable>(robot)->SetPosition({1, 0, 0, 0, 1, 0, 0, 0, 1, 300, 40, 0});
  int canHave = 0;
  bool existed = true;
  Ref<OrvIResourceBehavior> behaviour;
  ASSERT_EQ(OrvVekServices::GetResourceBehavior(robot, canHave, behaviour, existed), S_OK);
  query<TavISPPChildManagement>(behaviour)->CreateChild("PhysicalActivity", "Reach", -1);

  Ref<TavIProduct> copy;
  ASSERT_EQ(Services::CopyResource(robot, Res("st20"), doc, "Robot.7", copy), S_OK);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->GetPartNumber(), "Robot.7");
  EXPECT_EQ(copy->GetName(), "Robot.7");
  EXPECT_EQ(copy->GetResourceType(), "Robot");
  EXPECT_TRUE(SameObject(copy->GetFatherProduct(), Res("st20")));
  EXPECT_EQ(query<TavIMovable>(copy)->GetPosition()[9], 300);
  ASSERT_EQ(copy->GetChildrenCount(), 1);
  EXPECT_EQ(copy->GetChildren()[0]->GetName(), "WeldGun.1");
  EXPECT_FALSE(SameObject(copy->GetChildren()[0], Res("gun")));
  Ref<OrvIResourceBehavior> copied;
  ASSERT_EQ(OrvVekServices::GetResourceBehavior(copy, canHave, copied, existed), S_OK);
  EXPECT_TRUE(existed) << "the behaviour came with the copy";
  EXPECT_EQ(query<TavISPPChildManagement>(copied)->GetChildActivities().size(), 1u);
  EXPECT_FALSE(query<TavISavedState>(copy)->IsSaved()) << "made since the load";
}

TEST_F(CopyResource, AFatherInsideTheSourceGetsTheSubtreeAsItWas) {
  // Below its own robot: the station's copy holds one robot (with its gun), not its own copy.
  Ref<TavIProduct> copy;
  ASSERT_EQ(Services::CopyResource(Res("st10"), Res("robot"), doc, "Station.11", copy), S_OK);
  EXPECT_TRUE(SameObject(copy->GetFatherProduct(), Res("robot")));
  ASSERT_EQ(copy->GetChildrenCount(), 1);
  EXPECT_EQ(copy->GetChildren()[0]->GetChildrenCount(), 1);
  EXPECT_EQ(copy->GetAllDescendants().size(), 2u);
}

TEST_F(CopyResource, ADeviceIsANewInstanceOfItsReference) {
  CopyPlant plant(ReplaceOnce(kCopyPlant, R"(type="WeldGun")", R"(type="Device")"));
  auto gun = plant.Get<TavIProduct>("gun");
  ASSERT_TRUE(Services::IsResourceADevice(gun));
  Ref<TavIProduct> copy;
  ASSERT_EQ(Services::CopyResource(gun, plant.Get<TavIProduct>("st20"), plant.doc, "ignored", copy), S_OK);
  EXPECT_EQ(copy->GetPartNumber(), gun->GetPartNumber());
  EXPECT_EQ(copy->GetName(), "WeldGun.1") << "the first free instance name below Station.20";
  EXPECT_FALSE(Services::IsResourceADevice(Res("robot")));
}

TEST_F(CopyResource, FailuresLeaveTheModelAsItWas) {
  const auto objects = doc->ObjectCount();
  Ref<TavIProduct> copy;
  EXPECT_EQ(Services::CopyResource(Res("robot"), nullptr, doc, "X", copy), E_FAIL);
  EXPECT_EQ(Services::CopyResource(nullptr, Res("st20"), doc, "X", copy), E_FAIL);
  EXPECT_EQ(Services::CopyResource(Res("robot"), Res("st20"), doc, "", copy), E_FAIL) << "no name";
  EXPECT_FALSE(copy);
  EXPECT_EQ(doc->ObjectCount(), objects);
}

TEST_F(CopyResource, WhatMayBeCopiedAndWhere) {
  Ref<TavISPPProcessContainer> none;
  EXPECT_EQ(Services::DetermineCopyResource(Path("body"), none, doc), OrvVekNotAResource);
  EXPECT_EQ(Services::DetermineCopyResource(Path("w1"), none, doc), OrvVekNotAResource);
  EXPECT_EQ(Services::DetermineCopyResource(Path("robot"), none, doc), OrvVekAcceptable);
  Ref<TavIProduct> fresh;
  ASSERT_EQ(Services::CopyResource(Res("robot"), Res("st20"), doc, "Robot.8", fresh), S_OK);
  EXPECT_EQ(Services::DetermineCopyResource(doc->PathOf(fresh), none, doc), OrvVekResourceNotSaved);
  EXPECT_EQ(Services::DetermineParentResource(doc->PathOf(fresh), none, doc, {}), OrvVekResourceNotSaved);
  EXPECT_EQ(Services::DetermineParentResource(Path("st20"), none, doc, "Whatever"), OrvVekAcceptable)
      << "plan types only count in the hub";
  EXPECT_NE(Services::ResultMessage(OrvVekWrongPlanType, "WeldRobot").utf8().find("WeldRobot"), std::string::npos);
}

// ------------------------------------------------------------------ the command
using CopyResourceCommand = CommandOn<OrvVekCopyResourceCmd, CopyResource>;

TEST_F(CopyResourceCommand, ProposedNameThenACopyBelowThePickedParent) {
  Start();
  EXPECT_FALSE(cmd->Dialog()->IsVisible()) << "built hidden";
  std::string why;
  EXPECT_FALSE(Pick(Get("body"), &why));
  ASSERT_TRUE(Pick(Res("robot")));
  EXPECT_EQ(State(), "SelectParent");
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  EXPECT_EQ(cmd->Dialog()->GetResourceName(), "Copy of Robot.1");
  EXPECT_FALSE(cmd->Dialog()->Find("OK")->IsSensitive()) << "no parent yet";
  ASSERT_TRUE(Pick(Res("st20")));
  EXPECT_EQ(State(), "EnterNewName");
  EXPECT_TRUE(cmd->Dialog()->Find("OK")->IsSensitive());
  const auto steps = doc->Journal().Size();
  cmd->Dialog()->Find("OK")->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(State(), "ended");
  EXPECT_TRUE(engine.Messages().empty());
  ASSERT_EQ(Res("st20")->GetChildrenCount(), 1);
  EXPECT_EQ(Res("st20")->GetChildren()[0]->GetName(), "Copy of Robot.1");
  EXPECT_EQ(doc->Journal().Size(), steps + 1);
}

TEST_F(CopyResourceCommand, AnUnsavedResourceIsRefusedAndAnEmptyNameFailsWithTheBox) {
  Ref<TavIProduct> fresh;
  ASSERT_EQ(Services::CopyResource(Res("robot"), Res("st20"), doc, "Robot.8", fresh), S_OK);
  Start();
  std::string why;
  EXPECT_FALSE(Pick(fresh, &why));
  EXPECT_NE(why.find("not saved"), std::string::npos) << why;
  ASSERT_TRUE(Pick(Res("gun")));
  ASSERT_TRUE(Pick(Res("st20")));
  static_cast<TavDlgEditor*>(cmd->Dialog()->Find("ResourceNameEditor"))->SetText("  ", true);
  EXPECT_FALSE(cmd->Dialog()->Find("OK")->IsSensitive());
  // A script could still press it: the copy fails with the error box and changes nothing.
  const auto objects = doc->ObjectCount();
  cmd->Dialog()->Find("OK")->Notify(TavDlgNotification::Activate);
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].name, "CopyResource");
  EXPECT_EQ(doc->ObjectCount(), objects);
}

}  // namespace
