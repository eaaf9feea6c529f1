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
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plant format=\"1\" environment=\"local\" name=\"Line\">\n"
    "  <products>\n"
    "    <product id=\"door\" name=\"Door.1\" partNumber=\"D-1\">\n"
    "      <product id=\"hinge\" name=\"Hinge.1\" partNumber=\"H-1\"/>\n"
    "    </product>\n"
    "  </products>\n"
    "  <resources>\n"
    "    <resource id=\"rb1\" name=\"Robot.1\" type=\"Robot\">\n"
    "      <behavior id=\"bh1\"/>\n"
    "    </resource>\n"
    "  </resources>\n"
    "  <process id=\"proc\" name=\"Process\">\n"
    "    <activity id=\"body\" name=\"Body\" time=\"30\" description=\"Body shop\">\n"
    "      <attribute name=\"Cost\" type=\"double\" value=\"3.5\"/>\n"
    "      <activity id=\"weld\" name=\"Weld\" type=\"PhysicalActivity\" time=\"12.5\">\n"
    "        <relation type=\"process_uses_resource\" ref=\"rb1\">\n"
    "          <attribute name=\"Share\" type=\"double\" value=\"0.5\"/>\n"
    "        </relation>\n"
    "        <relation type=\"process_processes_product\" ref=\"door\"/>\n"
    "        <relation type=\"process_creates_product\" ref=\"hinge\"/>\n"
    "        <context ref=\"hinge\"/>\n"
    "      </activity>\n"
    "      <activity id=\"check\" name=\"Check\" type=\"PhysicalActivity\"/>\n"
    "      <activity id=\"start\" name=\"Start\" type=\"Start\"/>\n"
    "    </activity>\n"
    "    <activity id=\"outside\" name=\"Outside\" type=\"PhysicalActivity\"/>\n"
    "  </process>\n"
    "  <links>\n"
    "    <flow from=\"weld\" to=\"check\"/>\n"
    "    <flow from=\"outside\" to=\"weld\"/>\n"
    "    <precedence from=\"weld\" to=\"check\"/>\n"
    "    <precedence from=\"outside\" to=\"check\"/>\n"
    "    <constraint from=\"check\" to=\"weld\"/>\n"
    "    <constraint from=\"outside\" to=\"weld\"/>\n"
    "    <prevCycle from=\"weld\" to=\"check\"/>\n"
    "  </links>\n"
    "</plant>\n";

struct CopyPaste : ::testing::Test {
  HostSession session;
  Ref<HostDocument> doc;
  Ref<HostEditor> editor;
  Ref<TavCCP_Actor> actor;

  void SetUp() override { Open(kPlant); }
  void Open(const std::string& text) {
    doc = LoadPlantText(text);
    ASSERT_TRUE(doc);
    editor = session.OpenDocument(doc);
    actor = query<TavCCP_Actor>(editor);
    ASSERT_TRUE(actor);
  }
  Ref<HostActivity> Act(const std::string& id) const { return std::dynamic_pointer_cast<HostActivity>(doc->FindById(id)); }
  TavSelectionSet Select(std::initializer_list<Ref<TavBaseUnknown>> objects) const {
    TavSelectionSet s("CSO");
    for (auto& o : objects) s.AddElement(doc->PathOf(o));
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
  // The new last child of `parent` after a paste.
  Ref<HostActivity> LastChild(const Ref<HostActivity>& parent) const { return parent->Children().back(); }
  Ref<HostActivity> Child(const Ref<HostActivity>& a, const std::string& label) const {
    for (auto& c : a->Children())
      if (c->Label().utf8() == label) return c;
    return nullptr;
  }
  std::vector<std::string> Contexts(const Ref<HostActivity>& a) const {
    std::vector<std::string> out;
    for (auto& p : AssignmentOf(*doc, true)->GetContexts(a)) out.push_back(std::dynamic_pointer_cast<HostProduct>(p)->IdString());
    return out;
  }
  static bool Has(const std::vector<Ref<TavBaseUnknown>>& v, const Ref<HostActivity>& a) {
    for (auto& x : v)
      if (x == a) return true;
    return false;
  }
};

TEST_F(CopyPaste, APasteCopiesTheSubtreeWithWhatItCarriesAndTheLinksInsideIt) {
  auto root = Act("proc");
  ASSERT_EQ(Copy({Act("body")}), S_OK);
  ASSERT_EQ(Paste(root), S_OK);
  ASSERT_EQ(root->Children().size(), 3u);
  auto body = LastChild(root);
  EXPECT_NE(body->IdString(), "body");
  EXPECT_EQ(body->Label().utf8(), "Body");
  EXPECT_EQ(body->Description().utf8(), "Body shop");
  EXPECT_EQ(body->GetTime(), 30);
  ASSERT_TRUE(body->GetAttribute("Cost"));
  EXPECT_EQ(std::get<double>(*body->GetAttribute("Cost")), 3.5);
  ASSERT_EQ(body->Children().size(), 3u);
  auto weld = Child(body, "Weld"), check = Child(body, "Check");
  ASSERT_TRUE(weld && check);
  EXPECT_EQ(weld->GetTypeName().utf8(), "PhysicalActivity");
  EXPECT_EQ(Child(body, "Start")->GetTypeName().utf8(), "Start");
  EXPECT_EQ(weld->GetTime(), 12.5);

  // Relations with their attributes, the flow output, the 3D context.
  ASSERT_EQ(weld->Relations().size(), 3u);
  EXPECT_EQ(weld->Relations()[0]->Type()->name, "process_uses_resource");
  EXPECT_EQ(weld->Relations()[0]->Target(), doc->FindById("rb1"));
  ASSERT_TRUE(weld->Relations()[0]->GetAttribute("Share"));
  EXPECT_EQ(std::get<double>(*weld->Relations()[0]->GetAttribute("Share")), 0.5);
  EXPECT_EQ(weld->IsItemAssigned(doc->FindById("door"), TavItemCode::Processes), S_OK);
  ASSERT_EQ(weld->GetOutputs().size(), 1u);
  EXPECT_EQ(Contexts(weld), std::vector<std::string>{"hinge"});

  // Links among the copies, none to the activities outside the copy.
  EXPECT_TRUE(weld->LinksTo(check.get()));
  EXPECT_TRUE(Has(check->GetPrecedences(), weld));
  EXPECT_TRUE(Has(check->GetConstraints(), weld));
  EXPECT_TRUE(Has(weld->GetPrevCycleConstraints(), check));
  EXPECT_EQ(weld->GetPreviousNodes().size(), 0u);
  EXPECT_EQ(check->GetPrecedences().size(), 1u);
  EXPECT_EQ(weld->GetConstraints().size(), 0u);
  auto outside = Act("outside");
  EXPECT_EQ(outside->GetNextNodes().size(), 1u);
  EXPECT_EQ(outside->GetConstraints().size(), 1u);
  // The sources are as they were.
  EXPECT_EQ(Act("weld")->GetPreviousNodes().size(), 1u);
  EXPECT_EQ(Act("check")->GetPrecedences().size(), 2u);
}

TEST_F(CopyPaste, APasteUnderTheSourceOrItsChildCopiesTheSnapshotOnly) {
  ASSERT_EQ(Copy({Act("body")}), S_OK);
  const std::size_t before = doc->ObjectCount();
  ASSERT_EQ(Paste(Act("check")), S_OK);
  auto first = LastChild(Act("check"));
  EXPECT_EQ(first->GetAllChildren().size(), 3u);
  EXPECT_EQ(doc->ObjectCount(), before + 4);
  // Again, now that the source holds a copy: still the four activities taken.
  ASSERT_EQ(Paste(Act("body")), S_OK);
  EXPECT_EQ(LastChild(Act("body"))->GetAllChildren().size(), 3u);
  EXPECT_EQ(doc->ObjectCount(), before + 8);
  // A selection naming the subtree and one of its activities copies the subtree once.
  ASSERT_EQ(Copy({Act("weld"), Act("body"), Act("body")}), S_OK);
  ASSERT_EQ(Paste(Act("outside")), S_OK);
  ASSERT_EQ(Act("outside")->Children().size(), 1u);
  EXPECT_EQ(Act("outside")->Children()[0]->Label().utf8(), "Body");
}

TEST_F(CopyPaste, TheSnapshotDoesNotFollowLaterChangesOfTheSources) {
  ASSERT_EQ(Copy({Act("body")}), S_OK);
  Act("body")->SetLabel("Renamed");
  Act("body")->RemoveChild(Act("check"));
  std::string why;
  auto door = std::dynamic_pointer_cast<HostProduct>(doc->FindById("door"));
  auto hinge = std::dynamic_pointer_cast<HostProduct>(doc->FindById("hinge"));
  ASSERT_EQ(RemoveProductInstance(door, hinge, why), S_OK) << why;
  ASSERT_EQ(Paste(Act("proc")), S_OK);
  auto body = LastChild(Act("proc"));
  EXPECT_EQ(body->Label().utf8(), "Body");
  ASSERT_TRUE(Child(body, "Check"));
  // What left the plant since the copy is not related again.
  auto weld = Child(body, "Weld");
  EXPECT_EQ(weld->Relations().size(), 2u);
  EXPECT_TRUE(weld->GetOutputs().empty());
  EXPECT_TRUE(Contexts(weld).empty());
  std::string problem;
  SerializePlant(*doc, "t.xml", &problem);
  EXPECT_EQ(problem, "");
}

TEST_F(CopyPaste, UndoTakesThePasteAwayAndRedoPutsItBack) {
  const std::string before = SerializePlant(*doc);
  ASSERT_EQ(Copy({Act("body"), Act("outside")}), S_OK);
  doc->Journal().Begin();
  ASSERT_EQ(Paste(Act("proc")), S_OK);
  ASSERT_TRUE(doc->Journal().Commit("paste"));
  const std::string pasted = SerializePlant(*doc);
  ASSERT_NE(pasted, before);
  auto weld = Child(Act("proc")->Children()[2], "Weld");
  ASSERT_TRUE(weld);
  std::string error;
  ASSERT_TRUE(doc->Journal().Undo(&error)) << error;
  EXPECT_EQ(SerializePlant(*doc), before);
  EXPECT_FALSE(weld->GetDocument());
  EXPECT_TRUE(Contexts(weld).empty());
  ASSERT_TRUE(doc->Journal().Redo(&error)) << error;
  EXPECT_EQ(SerializePlant(*doc), pasted);
  EXPECT_EQ(Contexts(weld), std::vector<std::string>{"hinge"});
  ASSERT_TRUE(doc->Journal().Undo(&error)) << error;
  EXPECT_EQ(SerializePlant(*doc), before);
}

TEST_F(CopyPaste, APastedPlantSavesAndLoadsToTheSameBytes) {
  ASSERT_EQ(Copy({Act("body")}), S_OK);
  ASSERT_EQ(Paste(Act("proc")), S_OK);
  ASSERT_EQ(Paste(Act("proc")), S_OK);
  std::string problem;
  const std::string saved = SerializePlant(*doc, "t.xml", &problem);
  ASSERT_EQ(problem, "");
  auto again = LoadPlantText(saved);
  ASSERT_TRUE(again);
  EXPECT_EQ(SerializePlant(*again, "t.xml", nullptr), saved);
  EXPECT_EQ(again->Process().roots_.front()->Children().size(), 4u);
}

TEST_F(CopyPaste, UnderABehaviourTheLinksStayAndTheConstraintsGo) {
  auto behavior = AssignmentOf(*doc, false)->BehaviorOf(*std::dynamic_pointer_cast<HostProduct>(doc->FindById("rb1")));
  ASSERT_TRUE(behavior);
  ASSERT_EQ(Copy({Act("weld"), Act("check")}), S_OK);
  ASSERT_EQ(Paste(behavior), S_OK);
  ASSERT_EQ(behavior->Children().size(), 2u);
  auto weld = behavior->Children()[0], check = behavior->Children()[1];
  EXPECT_TRUE(weld->LinksTo(check.get()));
  EXPECT_TRUE(Has(check->GetPrecedences(), weld));
  EXPECT_TRUE(check->GetConstraints().empty());
  EXPECT_TRUE(weld->GetPrevCycleConstraints().empty());
  std::string problem;
  const std::string saved = SerializePlant(*doc, "t.xml", &problem);
  EXPECT_EQ(problem, "");
  EXPECT_TRUE(LoadPlantText(saved));
}

TEST_F(CopyPaste, RequestsTheActorCannotServeChangeNothing) {
  const std::string before = SerializePlant(*doc);
  // Nothing held yet: no paste.
  actor->SetMode(TavCCP_Actor::kPasteMode);
  EXPECT_FALSE(actor->IsAllowed(Select({Act("proc")})));
  EXPECT_EQ(actor->Paste(Select({Act("proc")})), E_FAIL);
  // Copies of what is no activity of this document, or is a behaviour.
  actor->SetMode(TavCCP_Actor::kCopyMode);
  EXPECT_FALSE(actor->IsAllowed(TavSelectionSet("CSO")));
  EXPECT_FALSE(actor->IsAllowed(Select({doc->FindById("door")})));
  EXPECT_FALSE(actor->IsAllowed(Select({Act("weld"), doc->FindById("rb1")})));
  EXPECT_FALSE(actor->IsAllowed(Select({doc->FindById("bh1")})));
  auto other = LoadPlantText(kPlant);
  TavSelectionSet foreign("CSO");
  foreign.AddElement(other->PathOf(other->FindById("weld")));
  EXPECT_FALSE(actor->IsAllowed(foreign));
  EXPECT_EQ(actor->Copy(foreign), E_FAIL);
  EXPECT_TRUE(actor->IsAllowed(Select({Act("proc")})));
  // The mode decides what may be done.
  ASSERT_EQ(Copy({Act("weld")}), S_OK);
  EXPECT_EQ(actor->Paste(Select({Act("proc")})), E_FAIL);
  actor->SetMode(TavCCP_Actor::kPasteMode);
  EXPECT_EQ(actor->GetMode(), TavCCP_Actor::kPasteMode);
  EXPECT_EQ(actor->Copy(Select({Act("check")})), E_FAIL);
  // One parent, an activity (not a control-flow node) of this document.
  EXPECT_FALSE(actor->IsAllowed(Select({Act("proc"), Act("body")})));
  EXPECT_EQ(actor->Paste(Select({Act("start")})), E_FAIL);
  EXPECT_EQ(actor->Paste(Select({doc->FindById("door")})), E_FAIL);
  TavSelectionSet foreignParent("CSO");
  foreignParent.AddElement(other->PathOf(other->FindById("proc")));
  EXPECT_EQ(actor->Paste(foreignParent), E_FAIL);
  EXPECT_EQ(SerializePlant(*doc), before);
  // The actor is the editor's: asked again, it still holds the copy.
  auto again = query<TavCCP_Actor>(editor);
  EXPECT_EQ(again->GetMode(), TavCCP_Actor::kPasteMode);
  EXPECT_EQ(again->Paste(Select({Act("proc")})), S_OK);
}

TEST_F(CopyPaste, InHubPlantsTheCopiesKeepThePlanTypesOfTheirSources) {
  std::string hub = ReplaceOnce(kPlant, "environment=\"local\"", "environment=\"hub\"");
  hub = ReplaceOnce(hub, "</plant>",
                    "  <planTypes>\n"
                    "    <planType name=\"Shop\" children=\"PhysicalActivity\"/>\n"
                    "    <planAssign object=\"body\" planType=\"Shop\"/>\n"
                    "  </planTypes>\n"
                    "</plant>");
  Open(hub);
  ASSERT_EQ(Copy({Act("body")}), S_OK);
  ASSERT_EQ(Paste(Act("proc")), S_OK);
  auto copy = LastChild(Act("proc"));
  auto typed = query<OrvIMHIPlanTypeObject>(copy);
  ASSERT_TRUE(typed && typed->GetPlanType());
  EXPECT_EQ(typed->GetPlanType()->GetName().utf8(), "Shop");
  EXPECT_FALSE(query<OrvIMHIPlanTypeObject>(Child(copy, "Weld"))->GetPlanType());
  const std::string saved = SerializePlant(*doc);
  EXPECT_NE(saved.find("<planAssign object=\"" + copy->IdString() + "\" planType=\"Shop\"/>"), std::string::npos);
}

}  // namespace
