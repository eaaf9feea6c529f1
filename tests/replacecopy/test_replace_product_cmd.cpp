// The product replacement command on the host: which picks it takes, its components
// taken from the pointing objects last to first (contexts are none), and a
// replacement that fails naming the file and changing nothing.
#include <gtest/gtest.h>

#include "HostAssignment.h"
#include "OrvIReplaceImpactedProduct.h"
#include "OrvVekReplaceProductCmd.h"
#include "PlantDocument.h"
#include "ReplacePlant.h"
#include "TavPointing.h"

namespace {

struct ReplaceProductCommand : ::testing::Test, ReplacePlant {
  Ref<host::HostProduct> item, door, panel;
  Ref<host::HostAssembly> assembly;
  ReplaceProductCommand() {
    item = doc->CreateProduct(nullptr, "item", "Item.1");
    door = doc->CreateProduct(item, "door", "Door.1");
    panel = doc->CreateProduct(door, "panel", "Panel.1");
    weldA->AddItem(door, TavItemCode::Processes);
    assembly = doc->CreateAssembly("ma", "DoorAssy");
    assembly->AddPart(door);
    weldB->AddOutput(door);
    host::AssignmentOf(*doc, true)->AddContext(load, door);
  }
  static std::string Name(const Ref<TavBaseUnknown>& component) {
    TavUnicodeString name;
    query<OrvIReplaceImpactedProduct>(component)->GetNameofComponent(name);
    return name.utf8();
  }
};

TEST_F(ReplaceProductCommand, TakesOnlyProductsDirectlyUnderTheTopNode) {
  TavUnicodeString why;
  EXPECT_TRUE(OrvVekReplaceProductCmd::Accepts(door));
  EXPECT_FALSE(OrvVekReplaceProductCmd::Accepts(panel, &why));
  EXPECT_EQ(why, "Panel.1 is not a product directly under Item.1");
  EXPECT_FALSE(OrvVekReplaceProductCmd::Accepts(item));
  EXPECT_FALSE(OrvVekReplaceProductCmd::Accepts(body));
  EXPECT_FALSE(OrvVekReplaceProductCmd::Accepts(robot, &why));
  EXPECT_EQ(why, "Robot.1 is a resource, not a product");
  EXPECT_FALSE(OrvVekReplaceProductCmd::Accepts(weldA, &why));
  // A resource named like the top node does not make its children products.
  auto fake = doc->CreateProduct(nullptr, "fake", "Item.1", {}, true);
  EXPECT_FALSE(OrvVekReplaceProductCmd::Accepts(doc->CreateProduct(fake, "fr", "Arm.1")));
}

TEST_F(ReplaceProductCommand, ComponentsComeLastToFirstWithoutContexts) {
  std::vector<Ref<TavBaseUnknown>> components;
  OrvVekReplaceProductCmd::GetImpactedComponents(door, components);
  // Pointing objects come in the order their owners were made: Weld, Weld (B)'s
  // output, the assembly made after both; Load's context is no component.
  ASSERT_EQ(components.size(), 3u);
  EXPECT_EQ(Name(components[0]), "DoorAssy");
  EXPECT_EQ(Name(components[1]), "Weld");
  EXPECT_TRUE(query<TavISPPProductIO>(components[1]));
  EXPECT_EQ(Name(components[2]), "Weld");
  EXPECT_TRUE(query<TavISPPActivitySpecification>(components[2]));
  EXPECT_EQ(query<TavIPointingObjects>(door)->GetPointingObjects().size(), 4u);

  OrvVekReplaceProductDlg dialog;
  dialog.Build();
  OrvVekReplaceProductCmd::ListImpacted(dialog, door);
  ASSERT_EQ(dialog.ImpactedList()->GetLineCount(), 3);
  EXPECT_EQ(dialog.ImpactedList()->GetColumnItem(3, 0), "Yes");
  assembly->AddPart(panel);
  OrvVekReplaceProductCmd::ListImpacted(dialog, door);
  ASSERT_EQ(dialog.ImpactedList()->GetLineCount(), 4);
  EXPECT_EQ(dialog.ImpactedList()->GetColumnItem(0, 3), "Panel.1");
  EXPECT_EQ(dialog.ImpactedList()->GetColumnItem(3, 3), "No");
}

TEST_F(ReplaceProductCommand, AFailedReplacementNamesTheFileAndChangesNothing) {
  const std::string before = host::SerializePlant(*doc);
  std::string error;
  EXPECT_EQ(OrvVekReplaceProductCmd::Replace(door, "/nowhere/door.TavProduct", error), E_FAIL);
  EXPECT_EQ(error, "/nowhere/door.TavProduct: cannot be read");
  EXPECT_EQ(OrvVekReplaceProductCmd::Replace(panel, "/nowhere/door.TavProduct", error), E_FAIL);
  EXPECT_EQ(error, "Panel.1 is not a product directly under Item.1");
  EXPECT_EQ(host::SerializePlant(*doc), before);
}

}  // namespace
