// The create-resource command: the form, its checks and ranges, and resources made
// all or none as one undo step.
#include "OrvVekCreateResourceCmd.h"
#include "ResourceCommand.h"
#include "TavServices.h"
#include "TavUndo.h"

using namespace host;

namespace {

struct Create : ResourceCommand<OrvVekCreateResourceCmd> {
  OrvVekResourceDlgBox* Dlg() { return cmd->Dialog(); }
  void Fill(const std::string& name, const std::string& type, const std::string& quantity) {
    std::string err;
    ASSERT_TRUE(Dlg()->NameEditor()->SetValueFromText(name, &err)) << err;
    ASSERT_TRUE(Dlg()->TypeCombo()->SetValueFromText(type, &err)) << err;
    ASSERT_TRUE(Dlg()->QuantitySpinner()->SetValueFromText(quantity, &err)) << err;
  }
  void Ok() { Dlg()->OKButton()->Notify(TavDlgNotification::Activate); }
};

}  // namespace

TEST_F(Create, QuantityThreeMakesThreeResourcesWithTheSameValuesInOneUndoStep) {
  const std::string before = Saved();
  Start();
  std::string why;
  EXPECT_FALSE(Pick(body, &why)) << "a product";
  EXPECT_NE(why.find("resource list"), std::string::npos) << why;
  ASSERT_TRUE(Pick(station));
  ASSERT_EQ(State(), "EnterValues");
  ASSERT_TRUE(Dlg() && Dlg()->IsVisible());
  // Defaults, and the types of the library.
  EXPECT_EQ(Dlg()->GetResourceQuantity(), 1);
  EXPECT_EQ(Dlg()->GetResourceCategory().utf8(), "Physical");
  EXPECT_EQ(Dlg()->GetMTBF(), 0);
  EXPECT_TRUE(Dlg()->GetResourceType().IsEmpty());
  ASSERT_GT(Dlg()->TypeCombo()->GetLineCount(), 2);
  EXPECT_EQ(Dlg()->TypeCombo()->GetLine(0).utf8(), "Station");

  Fill("Gripper", "Gripper", "3");
  Dlg()->MTBFSpinner()->SetValue(1200);
  Dlg()->MTTRSpinner()->SetValue(4);
  Notes();
  Ok();
  EXPECT_EQ(State(), "ended");
  EXPECT_FALSE(TavApplicationFrame::IsBusy());
  std::vector<std::string> names;
  for (auto& c : station->Children())
    if (c->ResourceType() == "Gripper") {
      names.push_back(c->Name().utf8());
      EXPECT_EQ(c->PartNumber().utf8(), "Gripper");
      EXPECT_EQ(c->GetAttribute("Category"), TavValue(TavUnicodeString("Physical")));
      EXPECT_EQ(c->GetAttribute("MTBF"), TavValue(std::int64_t{1200}));
      EXPECT_EQ(c->GetAttribute("MTTR"), TavValue(std::int64_t{4}));
    }
  EXPECT_EQ(names, (std::vector<std::string>{"Gripper", "Gripper", "Gripper"}));
  EXPECT_EQ(Notes(), std::vector<std::string>{"product redrawn: Resources/Station.1"});
  ASSERT_EQ(doc->Journal().Size(), 1u);
  std::string err;
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(Saved(), before);
}

TEST_F(Create, ClearAllMoreLessAndTheRanges) {
  Start();
  ASSERT_TRUE(Pick(robot));
  Fill("Gun", "Tool", "7");
  Dlg()->MTBFSpinner()->SetValue(10);
  Dlg()->MTTRSpinner()->SetValue(20);
  Dlg()->Find("ClearAllPushButton")->Notify(TavDlgNotification::Activate);
  EXPECT_TRUE(Dlg()->GetResourceName().IsEmpty());
  EXPECT_TRUE(Dlg()->GetResourceCategory().IsEmpty());
  EXPECT_TRUE(Dlg()->GetResourceType().IsEmpty());
  EXPECT_EQ(Dlg()->GetResourceQuantity(), 1);
  EXPECT_EQ(Dlg()->GetMTBF(), 0);
  EXPECT_EQ(Dlg()->GetMTTR(), 0);

  EXPECT_FALSE(Dlg()->IsMoreShown());
  auto* more = Dlg()->Find("MoreLessPushButton");
  more->Notify(TavDlgNotification::Activate);
  EXPECT_TRUE(Dlg()->IsMoreShown());
  EXPECT_EQ(more->GetTitle().utf8(), "<< Less");
  more->Notify(TavDlgNotification::Activate);
  EXPECT_FALSE(Dlg()->IsMoreShown());
  EXPECT_EQ(more->GetTitle().utf8(), "More >>");

  // The spinners keep to their ranges; a fraction is refused at OK with the form kept.
  Dlg()->QuantitySpinner()->SetValue(6000);
  EXPECT_EQ(Dlg()->GetResourceQuantity(), 5000);
  Dlg()->QuantitySpinner()->SetValue(0);
  EXPECT_EQ(Dlg()->GetResourceQuantity(), 1);
  Dlg()->MTTRSpinner()->SetValue(500001);
  EXPECT_EQ(Dlg()->GetMTTR(), 500000);
  Dlg()->MTBFSpinner()->SetValue(-1);
  EXPECT_EQ(Dlg()->GetMTBF(), 0);
  Fill("Gun", "Tool", "2.5");
  Ok();
  EXPECT_EQ(State(), "EnterValues");
  ASSERT_FALSE(engine.Messages().empty());
  EXPECT_EQ(engine.Messages().back().name, "CreateResource");
  EXPECT_NE(engine.Messages().back().text.find("whole number"), std::string::npos) << engine.Messages().back().text;

  // No type chosen: refused, the form stays; then a good OK makes it.
  Fill("Gun", "none", "2");
  Ok();
  EXPECT_EQ(State(), "EnterValues");
  EXPECT_NE(engine.Messages().back().text.find("Choose a resource type"), std::string::npos);
  EXPECT_EQ(robot->Children().size(), 1u);
  Fill("Gun", "Tool", "2");
  Ok();
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(robot->Children().size(), 3u);
}

TEST_F(Create, CancelAndCloseChangeNothing) {
  const std::string before = Saved();
  for (const char* how : {TavDlgNotification::Cancel, TavDlgNotification::Close}) {
    Start();
    ASSERT_TRUE(Pick(crane));
    Fill("Hook", "Tool", "4");
    Dlg()->Notify(how);
    EXPECT_EQ(State(), "ended") << how;
  }
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(doc->Journal().Size(), 0u);
}

TEST(CreateResources, AFailureLeavesNoneOfTheResourcesOfThatOk) {
  ReplacePlant plant;
  std::ostringstream out;
  HostEngine engine(&out);  // installs the savepoints
  const std::string before = SerializePlant(*plant.doc);
  OrvVekResourceValues v;
  v.name = "Hook";
  v.quantity = 3;  // no type: the factory refuses after the first product was added
  std::vector<Ref<TavIProduct>> made;
  TavUnicodeString why;
  {
    UndoScope job(*plant.doc);
    EXPECT_FALSE(OrvVekCreateResourceCmd::MakeResources(plant.crane, v, &made, &why));
    EXPECT_NE(why.utf8().find("none was made"), std::string::npos) << why.utf8();
    EXPECT_TRUE(made.empty());
    EXPECT_EQ(SerializePlant(*plant.doc), before);
    v.type = "Tool";
    v.quantity = 5001;
    EXPECT_FALSE(OrvVekCreateResourceCmd::MakeResources(plant.crane, v, &made, &why));
    EXPECT_NE(why.utf8().find("5001"), std::string::npos);
    EXPECT_FALSE(OrvVekCreateResourceCmd::MakeResources(plant.body, v, &made, &why)) << "a product";
    job.Keep("none");
  }
  EXPECT_EQ(SerializePlant(*plant.doc), before);
}
