// The activities-of-product command driven as the user drives it: picks,
// re-picks, the highlight box, double-clicks and the columns the settings ask for.
#include <gtest/gtest.h>

#include <sstream>

#include "ConfigFolder.h"
#include "HostEngine.h"
#include "OrvVekListActAssOfProdCmd.h"
#include "OrvVekPartConsumptionUtilities.h"
#include "PartConsumptionModule.h"
#include "PlantText.h"
#include "TavRequirements.h"

namespace {

using host::HostDocument;
using host::HostEngine;
using host::HostSession;

const char* kPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1">
  <products>
    <product id="body" name="Body.1">
      <product id="door" name="Door.1"/>
      <product id="roof" name="Roof.1"/>
      <product id="bracket" name="Bracket.1"/>
    </product>
  </products>
  <resources>
    <resource id="st" name="Station.1" type="Station"/>
  </resources>
  <process id="p" name="Process">
    <activity id="cell" name="Cell">
      <activity id="w1" name="Weld">
        <relation type="process_processes_product" ref="door"/>
      </activity>
      <activity id="w2" name="Weld">
        <relation type="process_processes_product" ref="door"/>
      </activity>
      <activity id="hem" name="Hem">
        <relation type="process_processes_product" ref="roof"/>
      </activity>
    </activity>
  </process>
</plant>
)";

// A plant open in a session with the command engine, the planner's settings fresh.
struct Harness {
  ConfigFolder config;
  HostSession session;
  Ref<HostDocument> doc;
  Ref<host::HostEditor> editor;
  std::ostringstream out;
  HostEngine engine{&out};

  explicit Harness(const char* plant) : doc(LoadPlantText(plant)), editor(session.OpenDocument(doc)) {
    RegisterPartConsumptionModule();
    OrvVekPartConsumptionUtilities::ResetSettings();
  }
  ~Harness() { OrvVekPartConsumptionUtilities::ResetSettings(); }

  OrvVekListActAssOfProdCmd* Start() {
    std::string err;
    EXPECT_TRUE(engine.Start("OrvVekPlanner", "OrvVekListActAssOfProdCmd", &err)) << err;
    return dynamic_cast<OrvVekListActAssOfProdCmd*>(engine.RunningCommand());
  }
  bool Pick(const std::string& path) {
    std::string err;
    bool refused = false;
    return engine.Pick(doc->Resolve(path), &err, &refused) && !refused;
  }
  Ref<TavBaseUnknown> At(const std::string& path) { return doc->Resolve(path).GetLeaf(); }
  std::vector<std::string> Column(TavDlgMultiList* list, int column) {
    std::vector<std::string> v;
    for (int row = 0; row < list->GetLineCount(); ++row) v.push_back(list->GetColumnItem(column, row).utf8());
    return v;
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> m;
    for (auto& s : engine.Messages()) m.push_back(s.name + ": " + s.title + " | " + s.text);
    engine.ClearMessages();
    return m;
  }
};

struct ListActAssOfProd : ::testing::Test, Harness {
  ListActAssOfProd() : Harness(kPlant) {}
};

TEST_F(ListActAssOfProd, AnInvalidFirstPickEndsTheCommandWithItsMessage) {
  Start();
  Pick("Resources/Station.1");
  EXPECT_FALSE(engine.RunningCommand());
  const auto m = Messages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].rfind("Error: List Associated Activities - Warning | Invalid Selection", 0), 0u) << m[0];
  EXPECT_TRUE(TavViewerHighlight::GetHighlighted().empty());
}

TEST_F(ListActAssOfProd, ALaterInvalidPickIsRefusedAndTheCommandWaits) {
  Start();
  ASSERT_TRUE(Pick("Products/Body.1/Door.1"));
  EXPECT_FALSE(Pick("Resources/Station.1"));
  ASSERT_TRUE(engine.RunningCommand());
  EXPECT_EQ(engine.RunningCommand()->GetCurrentState()->GetName(), "SelectNextProductForQuery");
}

TEST_F(ListActAssOfProd, PickingAgainTakesTheProductOutAndItsHighlightWithIt) {
  auto* cmd = Start();
  ASSERT_TRUE(Pick("Products/Body.1/Door.1"));
  ASSERT_TRUE(Pick("Products/Body.1/Bracket.1"));
  auto* dlg = cmd->Dialog();
  EXPECT_EQ(Column(dlg->UnassignedList(), 1), (std::vector<std::string>{"Bracket.1"}));
  dlg->HighlightCheck()->SetState(true, true);
  EXPECT_TRUE(TavViewerHighlight::IsHighlighted(At("Products/Body.1/Bracket.1")));
  EXPECT_EQ(editor->GetHSO().GetSize(), 1);

  ASSERT_TRUE(Pick("Products/Body.1/Bracket.1"));
  EXPECT_TRUE(TavViewerHighlight::GetHighlighted().empty());
  EXPECT_EQ(editor->GetHSO().GetSize(), 0);
  EXPECT_EQ(dlg->UnassignedList()->GetLineCount(), 0);
  EXPECT_EQ(Column(dlg->AssocActList(), 1), (std::vector<std::string>{"Door.1", "Door.1"}));

  // Taking out the last product empties every list: nothing of it stays to export.
  ASSERT_TRUE(Pick("Products/Body.1/Door.1"));
  EXPECT_TRUE(cmd->Selected().empty());
  EXPECT_EQ(dlg->AssocActList()->GetLineCount(), 0);
  EXPECT_TRUE(dlg->Records().empty());
}

TEST_F(ListActAssOfProd, ClosingTheDialogRemovesTheHighlight) {
  auto* cmd = Start();
  ASSERT_TRUE(Pick("Products/Body.1/Bracket.1"));
  cmd->Dialog()->HighlightCheck()->SetState(true, true);
  ASSERT_FALSE(TavViewerHighlight::GetHighlighted().empty());
  cmd->Dialog()->HighlightCheck()->SetState(false, true);
  EXPECT_TRUE(TavViewerHighlight::GetHighlighted().empty());
  cmd->Dialog()->HighlightCheck()->SetState(true, true);
  cmd->Dialog()->Notify(TavDlgNotification::Close);
  EXPECT_FALSE(engine.RunningCommand());
  EXPECT_TRUE(TavViewerHighlight::GetHighlighted().empty());
}

TEST_F(ListActAssOfProd, ADoubleClickFindsTheRowsOwnActivity) {
  auto* cmd = Start();
  ASSERT_TRUE(Pick("Products/Body.1/Door.1"));
  auto* list = cmd->Dialog()->AssocActList();
  ASSERT_EQ(Column(list, 2), (std::vector<std::string>{"Process/Cell/Weld", "Process/Cell/Weld"}));
  for (int row : {1, 0}) {
    list->SetSelect(row);
    list->Notify(TavDlgNotification::Activate);
    ASSERT_EQ(editor->GetCSO().GetSize(), 1);
    EXPECT_EQ(editor->GetCSO().Items()[0].GetLeaf(), cmd->Results()[static_cast<std::size_t>(row)]->GetAssocAct());
  }
  EXPECT_NE(cmd->Results()[0]->GetAssocAct(), cmd->Results()[1]->GetAssocAct());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ListActAssOfProd, ASummaryRowHasNoActivityToFind) {
  OrvVekPartConsumptionUtilities::SetChildAssignCheck(true);
  auto* cmd = Start();
  ASSERT_TRUE(Pick("Products/Body.1"));
  auto* list = cmd->Dialog()->AssocActList();
  ASSERT_GT(list->GetLineCount(), 0);
  ASSERT_TRUE(cmd->Results()[0]->HasChildren());
  editor->GetCSO().Empty();
  list->SetSelect(0);
  list->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(editor->GetCSO().GetSize(), 0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ListActAssOfProd, ColumnsFollowTheChildCheckAndTheEffectivity) {
  auto titles = [&] {
    auto* cmd = Start();
    std::vector<std::string> t;
    for (auto& c : cmd->Dialog()->AssocActList()->GetColumnTitles()) t.push_back(c.utf8());
    std::string err;
    engine.Cancel(&err);
    return t;
  };
  EXPECT_EQ(titles(), (std::vector<std::string>{"No.", "Selected Products", "Associated Activity", "Assignment Type",
                                                "Parent", "Activity Loaded"}));
  OrvVekPartConsumptionUtilities::SetChildAssignCheck(true);
  OrvVekPartConsumptionUtilities::SetEffectivityTypeToShow(2);
  EXPECT_EQ(titles(), (std::vector<std::string>{"No.", "Selected Products", "Children Assigned", "Children",
                                                "Associated Activity", "Assignment Type", "Parent", "Activity Loaded",
                                                "Date Effectivity"}));
}

TEST_F(ListActAssOfProd, APreselectionCountsAsTheFirstPickOnce) {
  editor->GetCSO().AddElement(doc->Resolve("Products/Body.1/Door.1"));
  editor->GetCSO().AddElement(TavPathElement({At("Products/Body.1/Door.1")}));
  auto* cmd = Start();
  ASSERT_TRUE(engine.RunningCommand());
  EXPECT_EQ(cmd->Selected().size(), 1u);
  EXPECT_EQ(cmd->Dialog()->AssocActList()->GetLineCount(), 2);
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
}

// Requirements: Door.1 has one, implemented; Roof.1 one implemented and one not;
// Body.1 none of its own.
const char* kRequirements = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1">
  <products>
    <product id="body" name="Body.1">
      <product id="door" name="Door.1"/>
      <product id="roof" name="Roof.1"/>
      <product id="bracket" name="Bracket.1"/>
    </product>
    <product id="frame" name="Frame.1">
      <product id="rail" name="Rail.1"/>
    </product>
  </products>
  <process id="p" name="Process">
    <activity id="hem" name="Hem">
      <relation type="process_implements_requirement" ref="door"/>
      <relation type="process_implements_requirement" ref="rail"/>
      <relation type="process_implements_requirement" ref="roof">
        <attribute name="Requirement" type="string" value="Sealed"/>
      </relation>
    </activity>
  </process>
  <requirements>
    <requirement product="door" name="Hemmed"/>
    <requirement product="roof" name="Sealed"/>
    <requirement product="roof" name="Measured"/>
    <requirement product="rail" name="Welded"/>
  </requirements>
</plant>
)";

TEST(ListActAssOfProdStates, DescendantsDecideAndANotFullyImplementedOneIsFinal) {
  Harness h(kRequirements);
  auto& doc = h.doc;
  auto at = [&](const char* path) { return doc->Resolve(path).GetLeaf(); };
  auto states = OrvVekEIConsumption::Analyze({at("Products/Body.1"), at("Products/Frame.1"), at("Products/Body.1/Door.1"),
                                              at("Products/Body.1/Bracket.1")});
  std::vector<std::string> text;
  for (auto& s : states) text.push_back(OrvPartConsumptionAnalysisResult::NameOf(s.product).utf8() + ": " + s.state.utf8());
  // Body.1: Door.1 (all) then Roof.1 (not all), which stays.
  EXPECT_EQ(text, (std::vector<std::string>{"Body.1: At least one Engineering Requirements not fully implemented",
                                            "Frame.1: All Engineering Requirements fully implemented",
                                            "Door.1: All Engineering Requirements fully implemented",
                                            "Bracket.1: No Engineering Requirements to implement"}));
}

TEST(ListActAssOfProdStates, EachStateStaysWithItsProductAcrossPicks) {
  Harness h(kRequirements);
  OrvVekPartConsumptionUtilities::SetProcessIntentRelation(true);
  auto* cmd = h.Start();
  ASSERT_TRUE(cmd);
  for (const char* p : {"Products/Body.1/Door.1", "Products/Body.1/Roof.1", "Products/Body.1/Door.1"}) ASSERT_TRUE(h.Pick(p));
  // Door.1 is out again: Roof.1's row keeps Roof.1's state, not Door.1's.
  auto* list = cmd->Dialog()->EIList();
  ASSERT_EQ(list->GetLineCount(), 1);
  EXPECT_EQ(list->GetColumnItem(1, 0).utf8(), "Roof.1");
  EXPECT_EQ(list->GetColumnItem(2, 0).utf8(), OrvVekEIConsumption::kNotAll);
  int number = 0;
  TavUnicodeString name, state;
  ASSERT_EQ(cmd->Dialog()->GetEIInfo(1, number, name, state), S_OK);
  EXPECT_EQ(name.utf8() + "|" + state.utf8(), std::string("Roof.1|") + OrvVekEIConsumption::kNotAll);
  EXPECT_EQ(cmd->Dialog()->GetEIInfo(2, number, name, state), E_FAIL);
}

TEST_F(ListActAssOfProd, EveryCatalogueKeyItLooksUpHasAText) {
  for (const char* key : {"InvalidSelMsg", "InvalidSelTitle"})
    EXPECT_TRUE(TavMsgCatalog::HasKey(OrvVekListActAssOfProdCmd::kCatalog, key)) << key;
  for (const char* key :
       {"DlgTitle", "mainFrameTitle", "assocActTabTitle", "UnassPartsTabTitle", "EIConsumptionTitle", "listNo",
        "SelectedProducts", "ChildrenAssigned", "Children", "AssocActivity", "AssignType", "Parent", "ActivityLoaded",
        "LineEffectivity", "DateEffectivity", "LabelEffectivity", "ExtEffectivity", "Parts", "NameOfPartWithEI",
        "PartStatus", "hiliteUnassigned", "MainFrame.pButtonFrame.pExpXml.Title", "InvalidSelMsg", "InvalidSelTitle",
        "PXmlFileLabel.Title", "PXmlFileButton.Title", "PXmlFileBox.Title", "WarningWnd.Title", "WarningWnd.Text",
        "WarningWnd.FullText"})
    EXPECT_TRUE(TavMsgCatalog::HasKey(OrvVekListActAssOfProdDlg::kCatalog, key)) << key;
}

}  // namespace
