// A child assembly: with a producing operation that has a father (a new assembly
// operation makes the child for it), without one, with one at a process root (no
// father: the child alone), and a failed creation that makes nothing. The deep hub
// import hands each assembly once.
#include "MfgAssyPlant.h"
#include "OrvVekASTViewerAddMACmd.h"
#include "OrvVekImportSelectedASTFromHubCmd.h"
#include "PlantText.h"
#include "TavMfgVersioning.h"

namespace {

const char* kProduced = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local" name="t">
  <products>
    <product id="door" name="Door.1"/>
  </products>
  <assemblies>
    <assembly id="ma" name="DoorAssy" type="1">
      <part ref="door"/>
    </assembly>
    <assembly id="root_ma" name="RootAssy" type="1"/>
  </assemblies>
  <process id="proc" name="Process" type="Activity">
    <relation type="process_creates_product" ref="root_ma"/>
    <activity id="line" name="Line" type="PhysicalActivity">
      <activity id="make" name="Make door" type="AssemblyOperation">
        <relation type="process_creates_product" ref="ma"/>
      </activity>
    </activity>
  </process>
</plant>
)";

std::string Content(const Ref<OrvIMfgAssembly>& ma) { return MfgAssyPlant::Content(ma); }

TEST(AddChild, AProducedAssemblyGetsAnOperationMakingItsChild) {
  auto doc = LoadPlantText(kProduced);
  ASSERT_TRUE(doc);
  OrvVekASTViewerAddMACmd::Made made;
  ASSERT_TRUE(OrvVekASTViewerAddMACmd::CreateMA(query<OrvIMfgAssembly>(doc->FindById("ma")), "Hinges", made));
  EXPECT_EQ(Content(query<OrvIMfgAssembly>(doc->FindById("ma"))), "Door.1 Hinges");
  ASSERT_TRUE(made.operation);
  EXPECT_EQ(query<TavISPPActivity>(made.operation)->GetLabel().utf8(), "Assemble Hinges");
  EXPECT_EQ(query<TavISPPActivity>(made.operation)->GetTypeName().utf8(), "AssemblyOperation");
  EXPECT_EQ(query<TavISPPFlowMgt>(made.operation)->GetOutputs(made.assembly).size(), 1u);
  EXPECT_EQ(query<TavISPPFlowMgt>(doc->FindById("make"))->GetInputs(made.assembly).size(), 1u);
  // Produced by the process root itself: no father to put an operation under.
  ASSERT_TRUE(OrvVekASTViewerAddMACmd::CreateMA(query<OrvIMfgAssembly>(doc->FindById("root_ma")), "Bolts", made));
  EXPECT_FALSE(made.operation);
  EXPECT_EQ(Content(query<OrvIMfgAssembly>(doc->FindById("root_ma"))), "Bolts");
}

struct AddChildPlant : MfgAssyPlant {};

TEST_F(AddChildPlant, WithoutAProducerOnlyTheAssemblyIsMadeAndAFailureMakesNothing) {
  OrvVekASTViewerAddMACmd::Made made;
  ASSERT_TRUE(OrvVekASTViewerAddMACmd::CreateMA(MA("outer"), "Extra", made));
  EXPECT_FALSE(made.operation);
  EXPECT_EQ(Content(MA("outer")), "DoorAssy Extra");
  // An assembly out of the plant can take no child: nothing is made.
  auto kit = MA("kit");
  ASSERT_EQ(OrvVekMfgAssyVersioningUtilities::GetMBNContainer(doc)->RemoveAssembly(kit), S_OK);
  const std::string before = Assemblies();
  EXPECT_FALSE(OrvVekASTViewerAddMACmd::CreateMA(kit, "Nothing", made));
  EXPECT_FALSE(made.assembly);
  EXPECT_EQ(Assemblies(), before);
}

TEST_F(AddChildPlant, TheDeepImportListHoldsEachAssemblyOnce) {
  // SideAssy holds DoorAssy, which holds HingeAssy: picked together they are listed once.
  auto list = OrvVekImportSelectedASTFromHubCmd::ImportList({MA("outer"), MA("ma"), MA("inner")}, true);
  std::string names;
  for (auto& m : list) names += (names.empty() ? "" : " ") + m->GetName().utf8();
  EXPECT_EQ(names, "SideAssy DoorAssy HingeAssy");
  EXPECT_EQ(OrvVekImportSelectedASTFromHubCmd::ImportList({MA("outer")}, false).size(), 1u);
}

}  // namespace
