// The editor's copy-and-paste actor: what a paste copies and what it leaves, pastes
// under the source itself, undo and redo, saving the result, and refused requests.
#include <gtest/gtest.h>

#include "HostAssignment.h"
#include "HostProducts.h"
#include "HostRuntime.h"
#include "HostUndo.h"
#include "PlantText.h"
#include "TavActivityLib.h"
#include "TavCopy.h"

using namespace host;

namespace {

const std::string kPlant =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plant format=\"1\" environment=\"local\" name=\"Line\">\n"
    "<products><product id=\"door\" name=\"Door.1\"><product id=\"hinge\" name=\"Hinge.1\"/></product></products>\n"
    "<resources><resource id=\"rb1\" name=\"Robot.1\" type=\"Robot\"><behavior id=\"bh1\"/></resource></resources>\n"
    "<process id=\"proc\" name=\"Process\">\n"
    "  <activity id=\"body\" name=\"Body\" time=\"30\" description=\"Body shop\">\n"
    "    <attribute name=\"Cost\" type=\"double\" value=\"3.5\"/>\n"
    "    <activity id=\"weld\" name=\"Weld\" type=\"PhysicalActivity\">\n"
    "      <relation type=\"process_uses_resource\" ref=\"rb1\"><attribute name=\"Share\" type=\"double\" value=\"0.5\"/></relation>\n"
    "      <relation type=\"process_processes_product\" ref=\"door\"/><relation type=\"process_creates_product\" ref=\"hinge\"/>\n"
    "      <context ref=\"hinge\"/>\n"
    "    </activity>\n"
    "    <activity id=\"check\" name=\"Check\" type=\"PhysicalActivity\"/><activity id=\"start\" name=\"Start\" type=\"Start\"/>\n"
    "  </activity>\n"
    "  <activity id=\"outside\" name=\"Outside\" type=\"PhysicalActivity\"/>\n"
    "</process>\n"
    "<links><flow from=\"weld\" to=\"check\"/><flow from=\"outside\" to=\"weld\"/><precedence from=\"weld\" to=\"check\"/>\n"
    "  <precedence from=\"outside\" to=\"check\"/><constraint from=\"check\" to=\"weld\"/><constraint from=\"outside\" to=\"weld\"/>\n"
    "  <prevCycle from=\"weld\" to=\"check\"/></links>\n"
    "</plant>\n";

struct CopyPaste : ::testing::Test {
  HostSession session;
  Ref<HostDocument> doc;
  Ref<HostEditor> editor;
  Ref<TavCCP_Actor> actor;

  void SetUp() override { Open(kPlant); }
  void Open(const std::string& text) {
    doc = LoadPlantText(text);
    editor = session.OpenDocument(doc);
    actor = query<TavCCP_Actor>(editor);
  }
  Ref<HostActivity> A(const std::string& id) const { return std::dynamic_pointer_cast<HostActivity>(doc->FindById(id)); }
  TavSelectionSet Select(std::initializer_list<Ref<TavBaseUnknown>> objects, const Ref<HostDocument>& in = nullptr) const {
    TavSelectionSet s("CSO");
    for (auto& o : objects) s.AddElement((in ? in : doc)->PathOf(o));
    return s;
  }
  HRESULT Copy(std::initializer_list<Ref<TavBaseUnknown>> objects) {
    actor->SetMode(TavCCP_Actor::kCopyMode);
    return actor->Copy(Select(objects));
  }
  HRESULT Paste(const Ref<TavBaseUnknown>& parent) {
    actor->SetMode(TavCCP_Actor::kPasteMode);
    return actor->Paste(Select({parent}));
  }
  static Ref<HostActivity> Child(const Ref<HostActivity>& a, const std::string& label) {
    for (auto& c : a->Children())
      if (c->Label().utf8() == label) return c;
    return nullptr;
  }
  std::size_t Contexts(const Ref<HostActivity>& a) const { return AssignmentOf(*doc, true)->GetContexts(a).size(); }
  std::string Saved() const {
    std::string problem;
    std::string text = SerializePlant(*doc, "t.xml", &problem);
    EXPECT_EQ(problem, "");
    return text;
  }
};

TEST_F(CopyPaste, APasteCopiesWhatTheSubtreeCarriesAndOnlyTheLinksInsideIt) {
  ASSERT_EQ(Copy({A("body")}), S_OK);
  ASSERT_EQ(Paste(A("proc")), S_OK);
  auto body = A("proc")->Children().back();
  EXPECT_NE(body->IdString(), "body");
  EXPECT_EQ(body->Description().utf8(), "Body shop");
  EXPECT_EQ(body->GetTime(), 30);
  EXPECT_EQ(std::get<double>(*body->GetAttribute("Cost")), 3.5);
  ASSERT_EQ(body->Children().size(), 3u);
  auto weld = Child(body, "Weld"), check = Child(body, "Check");
  EXPECT_EQ(Child(body, "Start")->GetTypeName().utf8(), "Start");
  ASSERT_EQ(weld->Relations().size(), 3u);
  EXPECT_EQ(weld->Relations()[0]->Target(), doc->FindById("rb1"));
  EXPECT_EQ(std::get<double>(*weld->Relations()[0]->GetAttribute("Share")), 0.5);
  EXPECT_EQ(weld->IsItemAssigned(doc->FindById("door"), TavItemCode::Processes), S_OK);
  EXPECT_EQ(weld->GetOutputs().size(), 1u);
  EXPECT_EQ(Contexts(weld), 1u);
  EXPECT_TRUE(weld->LinksTo(check.get()));
  EXPECT_EQ(check->GetPrecedences(), std::vector<Ref<TavBaseUnknown>>{weld});
  EXPECT_EQ(check->GetConstraints(), std::vector<Ref<TavBaseUnknown>>{weld});
  EXPECT_EQ(weld->GetPrevCycleConstraints(), std::vector<Ref<TavBaseUnknown>>{check});
  // Nothing links the copies to the activities outside them; the sources keep theirs.
  EXPECT_TRUE(weld->GetPreviousNodes().empty());
  EXPECT_EQ(A("outside")->GetNextNodes().size(), 1u);
  EXPECT_EQ(A("outside")->GetConstraints().size(), 1u);
  EXPECT_EQ(A("check")->GetPrecedences().size(), 2u);
}

TEST_F(CopyPaste, APasteUnderTheSourceCopiesTheSnapshotOnly) {
  ASSERT_EQ(Copy({A("body")}), S_OK);
  const std::size_t before = doc->ObjectCount();
  ASSERT_EQ(Paste(A("check")), S_OK);
  ASSERT_EQ(Paste(A("body")), S_OK);  // now that the source holds a copy
  EXPECT_EQ(A("body")->Children().back()->GetAllChildren().size(), 3u);
  EXPECT_EQ(doc->ObjectCount(), before + 8);
  // A subtree selected with one of its own activities is copied once.
  ASSERT_EQ(Copy({A("weld"), A("body"), A("body")}), S_OK);
  ASSERT_EQ(Paste(A("outside")), S_OK);
  ASSERT_EQ(A("outside")->Children().size(), 1u);
  EXPECT_EQ(A("outside")->Children()[0]->Label().utf8(), "Body");
}

TEST_F(CopyPaste, TheSnapshotDoesNotFollowLaterChangesOfTheSources) {
  ASSERT_EQ(Copy({A("body")}), S_OK);
  A("body")->SetLabel("Renamed");
  A("body")->RemoveChild(A("check"));
  std::string why;
  auto door = std::dynamic_pointer_cast<HostProduct>(doc->FindById("door"));
  ASSERT_EQ(RemoveProductInstance(door, door->Children()[0], why), S_OK) << why;
  ASSERT_EQ(Paste(A("proc")), S_OK);
  auto body = A("proc")->Children().back();
  EXPECT_EQ(body->Label().utf8(), "Body");
  EXPECT_TRUE(Child(body, "Check"));
  // The hinge left the plant since the copy: it is not related again.
  auto weld = Child(body, "Weld");
  EXPECT_EQ(weld->Relations().size(), 2u);
  EXPECT_EQ(Contexts(weld), 0u);
  Saved();
}

TEST_F(CopyPaste, UndoTakesThePasteAwayRedoPutsItBackAndTheResultSavesStably) {
  const std::string before = Saved();
  ASSERT_EQ(Copy({A("body"), A("outside")}), S_OK);
  doc->Journal().Begin();
  ASSERT_EQ(Paste(A("proc")), S_OK);
  ASSERT_TRUE(doc->Journal().Commit("paste"));
  const std::string pasted = Saved();
  auto weld = Child(A("proc")->Children()[2], "Weld");
  std::string error;
  ASSERT_TRUE(doc->Journal().Undo(&error)) << error;
  EXPECT_EQ(Saved(), before);
  EXPECT_FALSE(weld->GetDocument());
  EXPECT_EQ(Contexts(weld), 0u);
  ASSERT_TRUE(doc->Journal().Redo(&error)) << error;
  EXPECT_EQ(Saved(), pasted);
  EXPECT_EQ(Contexts(weld), 1u);
  auto again = LoadPlantText(pasted);
  ASSERT_TRUE(again);
  EXPECT_EQ(SerializePlant(*again, "t.xml", nullptr), pasted);
}

TEST_F(CopyPaste, UnderABehaviourTheLinksStayAndTheConstraintsGo) {
  auto behavior = std::dynamic_pointer_cast<HostActivity>(doc->FindById("bh1"));
  ASSERT_EQ(Copy({A("weld"), A("check")}), S_OK);
  ASSERT_EQ(Paste(behavior), S_OK);
  ASSERT_EQ(behavior->Children().size(), 2u);
  auto weld = behavior->Children()[0], check = behavior->Children()[1];
  EXPECT_TRUE(weld->LinksTo(check.get()));
  EXPECT_EQ(check->GetPrecedences().size(), 1u);
  EXPECT_TRUE(check->GetConstraints().empty());
  EXPECT_TRUE(weld->GetPrevCycleConstraints().empty());
  EXPECT_TRUE(LoadPlantText(Saved()));  // a behaviour holding constraints could not be saved
}

TEST_F(CopyPaste, RequestsTheActorCannotServeChangeNothing) {
  const std::string before = Saved();
  auto other = LoadPlantText(kPlant);
  actor->SetMode(TavCCP_Actor::kPasteMode);
  EXPECT_EQ(actor->Paste(Select({A("proc")})), E_FAIL);  // nothing copied yet
  actor->SetMode(TavCCP_Actor::kCopyMode);
  for (auto& refused : {TavSelectionSet("CSO"), Select({A("weld"), doc->FindById("rb1")}), Select({doc->FindById("bh1")}),
                        Select({other->FindById("weld")}, other)}) {
    EXPECT_FALSE(actor->IsAllowed(refused));
    EXPECT_EQ(actor->Copy(refused), E_FAIL);
  }
  ASSERT_EQ(Copy({A("weld")}), S_OK);
  EXPECT_EQ(actor->Paste(Select({A("proc")})), E_FAIL);  // still copying
  actor->SetMode(TavCCP_Actor::kPasteMode);
  for (auto& refused : {Select({A("proc"), A("body")}), Select({A("start")}), Select({doc->FindById("door")}),
                        Select({other->FindById("proc")}, other)})
    EXPECT_EQ(actor->Paste(refused), E_FAIL);
  EXPECT_EQ(Saved(), before);
  // Asked again, the editor's actor still holds its mode and copy.
  EXPECT_EQ(query<TavCCP_Actor>(editor)->Paste(Select({A("proc")})), S_OK);
}

TEST_F(CopyPaste, InHubPlantsTheCopiesKeepThePlanTypesOfTheirSources) {
  Open(ReplaceOnce(ReplaceOnce(kPlant, "environment=\"local\"", "environment=\"hub\""), "</plant>",
                   "<planTypes><planType name=\"Shop\"/><planAssign object=\"body\" planType=\"Shop\"/></planTypes></plant>"));
  ASSERT_EQ(Copy({A("body")}), S_OK);
  ASSERT_EQ(Paste(A("proc")), S_OK);
  auto copy = A("proc")->Children().back();
  EXPECT_EQ(query<OrvIMHIPlanTypeObject>(copy)->GetPlanType()->GetName().utf8(), "Shop");
  EXPECT_FALSE(query<OrvIMHIPlanTypeObject>(Child(copy, "Weld"))->GetPlanType());
  EXPECT_NE(Saved().find("<planAssign object=\"" + copy->IdString() + "\" planType=\"Shop\"/>"), std::string::npos);
}

}  // namespace
