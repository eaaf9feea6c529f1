// Which picks the assembly and kit commands take: a second pick deselects, the
// resource tree, cycles through nested assemblies, WSC products, hub identities,
// and the selection taken at start, tested like single picks.
#include "MfgAssyPlant.h"
#include "OrvMfgAssyAsChildCmd.h"
#include "OrvMfgKitCmd.h"
#include "OrvVekServices.h"

namespace {

struct AssemblyPicks : MfgAssyPlant {};

TEST_F(AssemblyPicks, ASecondPickDeselectsAndTheListFollowsInPickOrder) {
  auto* cmd = Start(std::make_unique<OrvMfgAssyCmd>());
  auto* d = cmd->Dialog();
  EXPECT_FALSE(d->ApplyButton()->IsSensitive());
  ASSERT_TRUE(Pick("door"));
  ASSERT_TRUE(Pick("hood"));
  ASSERT_TRUE(Pick("inner"));
  EXPECT_EQ(Rows(d), "|Door.1 |Hood.1 |HingeAssy");
  d->SelectAllCheck()->SetState(true, true);
  ASSERT_TRUE(Pick("door"));  // taken out again; select-all is reset
  EXPECT_EQ(Rows(d), "|Hood.1 |HingeAssy");
  EXPECT_FALSE(d->SelectAllCheck()->GetState());
  EXPECT_TRUE(d->ApplyButton()->IsSensitive());
  ASSERT_TRUE(Pick("door"));  // and back, at the end
  EXPECT_EQ(Rows(d), "|Hood.1 |HingeAssy |Door.1");
  EXPECT_EQ(cmd->GetContent().Size(), 3);
  EXPECT_EQ(Running(), "initialState");
}

TEST_F(AssemblyPicks, AnAssemblyRefusesTheResourceTreeAndWhatWouldHoldItself) {
  auto* cmd = Start(std::make_unique<OrvMfgAssyCmd>(MA("ma")));
  EXPECT_FALSE(Pick("robot"));
  EXPECT_FALSE(Pick("station"));
  EXPECT_FALSE(Pick("ma"));     // itself
  EXPECT_FALSE(Pick("outer"));  // holds it
  EXPECT_NE(err.find("SideAssy cannot be put into DoorAssy"), std::string::npos) << err;
  EXPECT_TRUE(Pick("kit"));     // unrelated: taken
  EXPECT_TRUE(Pick("inner"));   // already content: a second pick takes it out
  EXPECT_EQ(Rows(cmd->Dialog()), "|Door.1 |DoorKit");
}

TEST_F(AssemblyPicks, AsChildRefusesTheFatherAndAnAssemblyHoldingIt) {
  auto* cmd = Start(std::make_unique<OrvMfgAssyAsChildCmd>());
  EXPECT_EQ(Running(), "SelectFatherState");
  EXPECT_FALSE(cmd->Dialog()->IsVisible());
  EXPECT_FALSE(Pick("door"));  // the father must be an assembly
  ASSERT_TRUE(Pick("ma"));
  EXPECT_EQ(Running(), "initialState");
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  EXPECT_FALSE(Pick("ma"));
  EXPECT_FALSE(Pick("outer"));
  EXPECT_TRUE(Pick("inner"));  // inside the father already: no cycle
  EXPECT_TRUE(Pick("roof"));
  Push(cmd->Dialog()->OKButton());
  EXPECT_EQ(Running(), "ended");
  auto made = Named("OrvMfgAssembly NoName");
  ASSERT_TRUE(made);
  EXPECT_EQ(Content(made), "HingeAssy Roof.1");
  EXPECT_EQ(Content(MA("ma")), "Door.1 HingeAssy OrvMfgAssembly NoName");
}

TEST_F(AssemblyPicks, AKitTakesResourcesAndTypesEachRow) {
  auto* cmd = Start(std::make_unique<OrvMfgKitCmd>());
  auto* d = cmd->Dialog();
  EXPECT_EQ(Running(), "InitialState");
  ASSERT_TRUE(Pick("robot"));
  ASSERT_TRUE(Pick("door"));
  ASSERT_TRUE(Pick("ma"));
  ASSERT_TRUE(Pick("kit"));
  EXPECT_EQ(Rows(d), "R|Robot.1 P|Door.1 A|DoorAssy K|DoorKit");
  EXPECT_EQ(d->PartsList()->GetRowIcon(0), "I_KitResourceSmall.bmp");
  EXPECT_EQ(d->PartsList()->GetRowIcon(3), "I_OrvMfgKitCmd.bmp");
  ASSERT_TRUE(Pick("robot"));  // deselected: the types move with their rows
  EXPECT_EQ(Rows(d), "P|Door.1 A|DoorAssy K|DoorKit");
  EXPECT_EQ(d->PartsList()->GetRowIcon(0), "I_KitProductSmall.bmp");
  EXPECT_FALSE(Pick("wsc"));  // holds the key, whatever its value
  EXPECT_NE(err.find("WSC"), std::string::npos) << err;
}

TEST_F(AssemblyPicks, AKitRefusesItselfWhatItHoldsAndWhatHoldsIt) {
  // DoorKit inside SideAssy: SideAssy would close a cycle.
  ASSERT_EQ(MA("outer")->AddPart(Obj("kit")), S_OK);
  MA("kit")->AddPart(Obj("inner"));
  Start(std::make_unique<OrvMfgKitCmd>(MA("kit")));
  EXPECT_FALSE(Pick("kit"));
  EXPECT_FALSE(Pick("inner"));
  EXPECT_FALSE(Pick("outer"));
  EXPECT_TRUE(Pick("ma"));  // DoorAssy holds HingeAssy, not the kit
}

TEST_F(AssemblyPicks, TheSelectionTakenAtStartPassesTheFilterAndCountsAsOnePick) {
  auto ed = TavFrmEditor::GetCurrentEditor();
  for (const char* id : {"door", "robot", "hood", "door"}) ed->GetCSO().AddElement(doc->PathOf(Obj(id)));
  auto* cmd = Start(std::make_unique<OrvMfgAssyCmd>());
  EXPECT_EQ(Rows(cmd->Dialog()), "|Door.1 |Hood.1");  // the robot dropped, the door listed once
  EXPECT_TRUE(cmd->Dialog()->ApplyButton()->IsSensitive());
}

struct AssemblyHubPicks : MfgAssyPlant {
  const char* PlantFile() const override { return "hub-plant.xml"; }
};

TEST_F(AssemblyHubPicks, AProductWithoutHubIdentityIsRefusedInAHubSessionOnly) {
  ASSERT_TRUE(OrvVekServices::IsZarnetSession());
  Start(std::make_unique<OrvMfgAssyCmd>());
  EXPECT_TRUE(Pick("door"));
  EXPECT_FALSE(Pick("local"));
  EXPECT_NE(err.find("Local.1 is not known to the hub"), std::string::npos) << err;
  // A kit asks no hub identity.
  ASSERT_TRUE(engine.Cancel(&err)) << err;
  Start(std::make_unique<OrvMfgKitCmd>());
  EXPECT_TRUE(Pick("local"));
}

}  // namespace
