// Apply, OK and Cancel of the assembly and kit commands: what is made, kept,
// removed and given back, the default names, and failures that change nothing.
#include "MfgAssyPlant.h"
#include "OrvMfgAssyAsChildCmd.h"
#include "OrvMfgAssyNotDirectChangeableCmd.h"
#include "OrvMfgKitCmd.h"

namespace {

struct AssemblyLifecycle : MfgAssyPlant {
  OrvMfgAssyCmd* cmd = nullptr;
  OrvMfgAssyDialog* d = nullptr;
  template <class C = OrvMfgAssyCmd>
  void Open(Ref<OrvIMfgAssembly> ma = nullptr) {
    cmd = Start(std::make_unique<C>(std::move(ma)));
    d = cmd->Dialog();
  }
};

TEST_F(AssemblyLifecycle, EachApplyCreatesOneAssemblyAndCancelRemovesThemAllWithEveryReference) {
  Open();
  Pick("door");
  Type(d->NameEditor(), "First");
  Type(d->PartNumberEditor(), "P-1");
  Push(d->ApplyButton());
  EXPECT_FALSE(d->ApplyButton()->IsSensitive());
  Pick("hood");  // the list carries on: the second holds both
  Type(d->NameEditor(), "Second");
  Push(d->ApplyButton());
  EXPECT_EQ(Assemblies(), "HingeAssy DoorAssy SideAssy DoorKit First Second");
  EXPECT_EQ(Content(Named("First")), "Door.1");
  EXPECT_EQ(Content(Named("Second")), "Door.1 Hood.1");
  EXPECT_EQ(Named("First")->GetPartNumber().utf8(), "P-1");
  EXPECT_EQ(cmd->GetCreatedMAs().size(), 2u);
  // Another assembly holds one of them: the removal takes that reference too.
  ASSERT_EQ(MA("outer")->AddPart(Named("First")), S_OK);
  Push(d->CancelButton());
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(Assemblies(), "HingeAssy DoorAssy SideAssy DoorKit");
  EXPECT_EQ(Content(MA("outer")), "DoorAssy");
}

TEST_F(AssemblyLifecycle, OKWithAnEmptyNameBeforeAnyApplyCreatesTheUnnamedAssembly) {
  Open();
  Pick("roof");
  Push(d->OKButton());
  EXPECT_EQ(Running(), "ended");
  auto made = Named("OrvMfgAssembly NoName");
  ASSERT_TRUE(made);
  EXPECT_EQ(Content(made), "Roof.1");
  EXPECT_EQ(made->GetType(), 1);
  EXPECT_FALSE(made->IsNotDirectlyChangeable());
  // One undo step takes it away.
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_FALSE(Named("OrvMfgAssembly NoName"));
}

TEST_F(AssemblyLifecycle, OKUpdatesTheCurrentAssemblyOrCreatesAnotherByItsName) {
  // Same name as the applied one: updated.
  Open();
  Pick("door");
  Type(d->NameEditor(), "A");
  Push(d->ApplyButton());
  Pick("hood");
  Push(d->OKButton());
  EXPECT_EQ(Assemblies(), "HingeAssy DoorAssy SideAssy DoorKit A");
  EXPECT_EQ(Content(Named("A")), "Door.1 Hood.1");
  // Another name after a named Apply: a second assembly.
  Open();
  Pick("roof");
  Type(d->NameEditor(), "B");
  Push(d->ApplyButton());
  Type(d->NameEditor(), "C");
  Push(d->OKButton());
  EXPECT_EQ(Assemblies(), "HingeAssy DoorAssy SideAssy DoorKit A B C");
  // After an unnamed Apply, a name given at OK names that one.
  Open();
  Pick("roof");
  Push(d->ApplyButton());
  EXPECT_TRUE(Named("OrvMfgAssembly NoName"));
  Type(d->NameEditor(), "D");
  Push(d->OKButton());
  EXPECT_EQ(Assemblies(), "HingeAssy DoorAssy SideAssy DoorKit A B C D");
}

TEST_F(AssemblyLifecycle, EditCancelGivesBackWhatTheFirstApplyFound) {
  Open(MA("ma"));
  EXPECT_TRUE(cmd->IsEditMode());
  EXPECT_EQ(d->GetMAName().utf8(), "DoorAssy");
  EXPECT_EQ(d->GetMAPartNumber().utf8(), "MA-1");
  EXPECT_EQ(Rows(d), "|Door.1 |HingeAssy");
  Pick("door");
  Pick("roof");
  Type(d->NameEditor(), "Renamed");
  Push(d->ApplyButton());
  EXPECT_EQ(Content(MA("ma")), "HingeAssy Roof.1");
  Type(d->PartNumberEditor(), "MA-2");
  Pick("hood");
  Push(d->ApplyButton());  // the second Apply keeps the first one's record
  EXPECT_EQ(MA("ma")->GetName().utf8(), "Renamed");
  Push(d->CancelButton());
  EXPECT_EQ(MA("ma")->GetName().utf8(), "DoorAssy");
  EXPECT_EQ(MA("ma")->GetPartNumber().utf8(), "MA-1");
  EXPECT_EQ(Content(MA("ma")), "Door.1 HingeAssy");
  EXPECT_EQ(Assemblies(), "HingeAssy DoorAssy SideAssy DoorKit");
}

TEST_F(AssemblyLifecycle, EditCancelBeforeAnyApplyLeavesTheAssemblyAlone) {
  // Changed behind the editor's back: Cancel has nothing saved and must not wipe it.
  Open(MA("ma"));
  MA("ma")->AddPart(Obj("roof"));
  Pick("door");
  Push(d->CancelButton());
  EXPECT_EQ(Content(MA("ma")), "Door.1 HingeAssy Roof.1");
  // OK in edit mode keeps the change, whatever the name.
  Open(MA("ma"));
  Pick("roof");
  Type(d->NameEditor(), "");
  Push(d->OKButton());
  EXPECT_EQ(Content(MA("ma")), "Door.1 HingeAssy");
  EXPECT_EQ(MA("ma")->GetName().utf8(), "OrvMfgAssembly NoName");
}

TEST_F(AssemblyLifecycle, RemovingRowsAtBothEndsKeepsTheMiddle) {
  Open();
  for (const char* id : {"door", "hood", "roof", "inner"}) Pick(id);
  d->PartsList()->SetSelectedRows({0, 3});
  Push(d->RemovePartsButton());
  EXPECT_EQ(Rows(d), "|Hood.1 |Roof.1");
  d->SelectAllCheck()->SetState(true, true);
  EXPECT_EQ(d->PartsList()->GetSelectCount(), 2);
  Push(d->RemovePartsButton());
  EXPECT_EQ(Rows(d), "");
  EXPECT_FALSE(d->SelectAllCheck()->GetState());
  Pick("hood");
  Push(d->OKButton());
  EXPECT_EQ(Content(Named("OrvMfgAssembly NoName")), "Hood.1");
}

TEST_F(AssemblyLifecycle, AFailedCreationKeepsDialogAndModelAndIsReportedAsAnError) {
  auto* child = Start(std::make_unique<OrvMfgAssyAsChildCmd>());
  cmd = child;
  d = child->Dialog();
  Pick("ma");
  Pick("roof");
  Type(d->NameEditor(), "Child");
  // The father goes away under the command: the host refuses the creation.
  ASSERT_EQ(OrvEMfgAssemblyFactory::RemoveMfgAssembly(MA("ma")), S_OK);
  const std::string before = Assemblies();
  Push(d->ApplyButton());
  ASSERT_EQ(MessageNames(), std::vector<std::string>{"OrvMfgAssyError"});
  EXPECT_EQ(engine.Messages()[0].kind, "error");
  EXPECT_EQ(Assemblies(), before);
  EXPECT_TRUE(d->ApplyButton()->IsSensitive());
  EXPECT_EQ(Rows(d), "|Roof.1");
  Push(d->OKButton());  // refused too: the command stays
  EXPECT_EQ(Running(), "initialState");
  EXPECT_EQ(engine.Messages().size(), 2u);
  Push(d->CancelButton());
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(Assemblies(), before);
}

TEST_F(AssemblyLifecycle, TheNotDirectlyChangeableCommandMarksWhatItCreates) {
  cmd = Start(std::make_unique<OrvMfgAssyNotDirectChangeableCmd>());
  d = cmd->Dialog();
  Pick("door");
  Type(d->NameEditor(), "Locked");
  Push(d->OKButton());
  ASSERT_TRUE(Named("Locked"));
  EXPECT_TRUE(Named("Locked")->IsNotDirectlyChangeable());
}

TEST_F(AssemblyLifecycle, AKitIsTypedNamedAfterTheKitAndAnEditWithoutPlanTypesKeepsItsPlanType) {
  Open<OrvMfgKitCmd>();
  EXPECT_EQ(d->GetMode(), "KIT");  // no plan types in this plant
  EXPECT_FALSE(d->PlanTypeCombo());
  Pick("robot");
  Push(d->OKButton());
  auto kit = Named("OrvMfgKit NoName");
  ASSERT_TRUE(kit);
  EXPECT_EQ(kit->GetTypeText().utf8(), "ManufacturingKit");
  EXPECT_EQ(kit->GetPlanType().utf8(), "");
  EXPECT_EQ(Content(kit), "Robot.1");

  MA("kit")->SetPlanType("Line kit");
  Open<OrvMfgKitCmd>(MA("kit"));
  EXPECT_EQ(Rows(d), "P|Roof.1");
  Type(d->NameEditor(), "Renamed kit");
  Push(d->ApplyButton());  // no combo: nothing chosen, the plan type stays
  EXPECT_EQ(MA("kit")->GetPlanType().utf8(), "Line kit");
  EXPECT_EQ(MA("kit")->GetName().utf8(), "Renamed kit");
  Push(d->CancelButton());
  EXPECT_EQ(MA("kit")->GetPlanType().utf8(), "Line kit");
  EXPECT_EQ(MA("kit")->GetName().utf8(), "DoorKit");
  EXPECT_EQ(MA("kit")->GetPartNumber().utf8(), "K-1");
}

}  // namespace
