// Replacing a part throughout the process: the command's picks and confirmation,
// relations that keep their type and attributes, a part both consumed and output,
// an activity holding both parts, undo, and the saved plant.
#include <gtest/gtest.h>

#include "PlantDocument.h"
#include "ResourceCommand.h"
#include "TavFlow.h"
#include "WexReplacePartsCmd.h"

using namespace host;

namespace {

// Door.1 is processed by Weld (with a quantity), processed and output by Hem,
// removed by the root; Fit holds Door.1 and Door.2 both; Door.3 is a spare.
struct PartsPlantTest : ::testing::Test, ReplacePlant {
  Ref<HostProduct> door1, inner1, door2, door3;
  Ref<HostActivity> hem, fit;
  PartsPlantTest() {
    door1 = doc->CreateProduct(body, "d1", "Door.1", "DR-1");
    inner1 = doc->CreateProduct(door1, "i1", "InnerPanel.1", "IP-1");
    door2 = doc->CreateProduct(body, "d2", "Door.2", "DR-2");
    door3 = doc->CreateProduct(body, "d3", "Door.3", "DR-3");
    hem = doc->CreateActivity(cell, "PhysicalActivity", "hem", "Hem");
    fit = doc->CreateActivity(cell, "PhysicalActivity", "fit", "Fit");
    weldA->AddItem(door1, TavItemCode::Processes);
    Spec(weldA, door1)->SetAttribute("Quantity", std::int64_t{2});
    hem->AddItem(door1, TavItemCode::Processes);
    hem->AddOutput(door1);
    root->AddItem(door1, TavItemCode::Removes);
    fit->AddItem(door1, TavItemCode::Processes);
    fit->AddItem(door2, TavItemCode::Processes);
  }
  static Ref<TavIAttributeHolder> Spec(const Ref<HostActivity>& a, const Ref<TavBaseUnknown>& item, std::size_t n = 0) {
    auto specs = a->GetActivitySpecifications(item);
    return specs.size() > n ? query<TavIAttributeHolder>(specs[n]) : nullptr;
  }
  static std::vector<std::string> Types(const Ref<HostActivity>& a, const Ref<TavBaseUnknown>& item) {
    std::vector<std::string> out;
    for (auto& s : a->GetActivitySpecifications(item)) out.push_back(s->GetRelationType().utf8());
    return out;
  }
};

using ReplacePartsCommand = CommandOn<WexReplacePartsCmd, PartsPlantTest>;

TEST_F(ReplacePartsCommand, PicksConfirmationAndEveryRelationMovedAsOneUndoStep) {
  Start();
  std::string why;
  EXPECT_FALSE(Pick(robot, &why));
  EXPECT_NE(why.find("resource"), std::string::npos) << why;
  ASSERT_TRUE(Pick(door1));
  EXPECT_EQ(State(), "SelectPart2");
  EXPECT_FALSE(Pick(door1, &why)) << "the old part itself";
  EXPECT_NE(why.find("itself"), std::string::npos) << why;
  ASSERT_TRUE(Pick(door3));
  EXPECT_EQ(State(), "OKorCancel");
  ASSERT_TRUE(cmd->Dialog() && cmd->Dialog()->IsVisible());
  auto* label = dynamic_cast<TavDlgLabel*>(cmd->Dialog()->Find("NameLabel"));
  ASSERT_TRUE(label);
  EXPECT_NE(label->GetTitle().utf8().find("Door.1"), std::string::npos);
  EXPECT_NE(label->GetTitle().utf8().find("Door.3"), std::string::npos);

  const std::size_t steps = doc->Journal().Size();
  Notes();
  cmd->Dialog()->Notify(TavDlgNotification::OK);
  EXPECT_EQ(State(), "ended");
  EXPECT_TRUE(engine.Messages().empty());
  for (auto& a : {weldA, hem, Ref<HostActivity>(root), fit}) EXPECT_TRUE(a->GetActivitySpecifications(door1).empty()) << a->Label().utf8();
  // Types and attributes kept; consumed and output both moved; the output is one.
  ASSERT_TRUE(Spec(weldA, door3));
  EXPECT_EQ(Spec(weldA, door3)->GetAttribute("Quantity"), TavValue(std::int64_t{2}));
  EXPECT_EQ(Types(hem, door3), (std::vector<std::string>{"process_processes_product", "process_creates_product"}));
  EXPECT_EQ(hem->GetOutputs(door3).size(), 1u);
  EXPECT_TRUE(hem->GetOutputs(door1).empty());
  EXPECT_EQ(root->IsItemAssigned(door3, TavItemCode::Removes), S_OK);
  auto notes = Notes();
  EXPECT_EQ(std::count_if(notes.begin(), notes.end(), [](auto& n) { return n.find("(ReplaceParts)") != std::string::npos; }), 4)
      << "one notification per changed activity";
  EXPECT_EQ(doc->Journal().Size(), steps + 1);

  // The saved plant loads again and names the new part.
  std::string err;
  auto again = ParsePlant(Saved(), "replaced.xml", err);
  ASSERT_TRUE(again) << err;
  EXPECT_EQ(SerializePlant(*again), Saved());

  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(Types(hem, door1), (std::vector<std::string>{"process_processes_product", "process_creates_product"}));
  EXPECT_EQ(Spec(weldA, door1)->GetAttribute("Quantity"), TavValue(std::int64_t{2}));
  EXPECT_TRUE(weldA->GetActivitySpecifications(door3).empty());
}

TEST_F(ReplacePartsCommand, AnActivityHoldingBothPartsKeepsOneRelationAndCancelChangesNothing) {
  std::vector<WexReplacePartsCmd::Change> changes;
  ASSERT_EQ(WexReplacePartsCmd::Replace(door1, door2, &changes), S_OK);
  EXPECT_EQ(Types(fit, door2), (std::vector<std::string>{"process_processes_product"}));
  auto merged = std::find_if(changes.begin(), changes.end(), [&](auto& c) { return SameObject(c.activity, fit); });
  ASSERT_NE(merged, changes.end());
  EXPECT_TRUE(merged->merged);
  EXPECT_EQ(std::count_if(changes.begin(), changes.end(), [](auto& c) { return c.merged; }), 1);

  const std::string before = Saved();
  Start();
  ASSERT_TRUE(Pick(door2));
  ASSERT_TRUE(Pick(door3));
  cmd->Dialog()->Notify(TavDlgNotification::Cancel);
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Saved(), before);
}

TEST_F(PartsPlantTest, ThePickedPartIsTheProductNearestTheLeafAndBadPartsAreRefused) {
  EXPECT_TRUE(SameObject(WexReplacePartsCmd::DetermineProduct(doc->PathOf(inner1)), inner1));
  EXPECT_TRUE(SameObject(WexReplacePartsCmd::DetermineProduct(TavPathElement({body, door1, weldA})), door1));
  TavUnicodeString why;
  EXPECT_FALSE(WexReplacePartsCmd::Accepts(robot, nullptr, &why));
  EXPECT_FALSE(WexReplacePartsCmd::Accepts(weldA, nullptr, &why));
  EXPECT_FALSE(WexReplacePartsCmd::Accepts(door1, door1, &why));
  EXPECT_TRUE(WexReplacePartsCmd::Accepts(door2, door1, &why));
  EXPECT_EQ(WexReplacePartsCmd::Replace(door1, nullptr, nullptr), E_FAIL);
  EXPECT_EQ(WexReplacePartsCmd::Replace(door1, robot, nullptr), E_FAIL) << "a resource is no item the relations take";
  EXPECT_EQ(Types(weldA, door1), (std::vector<std::string>{"process_processes_product"}));
  // The output's deliveries: only the activity's own outputs reconnect.
  auto outputs = hem->GetOutputs(door1);
  ASSERT_EQ(outputs.size(), 1u);
  EXPECT_EQ(TavSPPLinkServices::ReconnectProdOutputToDeliver(hem, outputs[0]), S_OK);
  EXPECT_EQ(TavSPPLinkServices::ReconnectProdOutputToDeliver(weldA, outputs[0]), E_FAIL);
}

}  // namespace
