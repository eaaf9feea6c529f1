// The host's resource copy services (behaviours, notifications, sequence links,
// assignments, authorized children), saved products, the hub's product records in
// <hubProducts>, and the body-in-white types.
#include <gtest/gtest.h>

#include "HostAssignment.h"
#include "HostProducts.h"
#include "HostUndo.h"
#include "PlantText.h"
#include "TavActivityLib.h"
#include "TavCopy.h"

using namespace host;

namespace {

const std::string kPlant =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plant format=\"1\" environment=\"hub\" name=\"Cell\">\n"
    "  <products>\n"
    "    <product id=\"door\" name=\"Door.1\" partNumber=\"D-1\"/>\n"
    "    <product id=\"panel\" name=\"Panel.1\" partNumber=\"P-1\"/>\n"
    "  </products>\n"
    "  <resources>\n"
    "    <resource id=\"st1\" name=\"Station.1\" type=\"Station\">\n"
    "      <resource id=\"rb1\" name=\"Robot.1\" type=\"Robot\">\n"
    "        <behavior id=\"bh1\" name=\"Welding\">\n"
    "          <input ref=\"door\"/>\n"
    "          <output ref=\"panel\"/>\n"
    "          <activity id=\"b1\" name=\"Approach\" type=\"PhysicalActivity\">\n"
    "            <activity id=\"b11\" name=\"Move\" type=\"PhysicalActivity\"/>\n"
    "          </activity>\n"
    "          <activity id=\"b2\" name=\"Weld\" type=\"PhysicalActivity\">\n"
    "            <relation type=\"process_processes_product\" ref=\"door\"/>\n"
    "          </activity>\n"
    "          <links>\n"
    "            <flow from=\"b1\" to=\"b2\"/>\n"
    "            <flow from=\"b11\" to=\"b2\"/>\n"
    "          </links>\n"
    "        </behavior>\n"
    "      </resource>\n"
    "      <resource id=\"rb2\" name=\"Robot.2\" type=\"Robot\"/>\n"
    "    </resource>\n"
    "  </resources>\n"
    "  <process id=\"proc\" name=\"Process\">\n"
    "    <activity id=\"a1\" name=\"Weld\" type=\"PhysicalActivity\">\n"
    "      <relation type=\"process_uses_resource\" ref=\"rb1\">\n"
    "        <attribute name=\"Share\" type=\"double\" value=\"0.5\"/>\n"
    "      </relation>\n"
    "      <relation type=\"process_attaches_resource\" ref=\"rb1\"/>\n"
    "      <relation type=\"process_uses_resource\" ref=\"rb2\"/>\n"
    "    </activity>\n"
    "    <activity id=\"a2\" name=\"Load\" type=\"BIWActivityLoading\">\n"
    "      <relation type=\"process_processes_product\" ref=\"door\"/>\n"
    "    </activity>\n"
    "  </process>\n"
    "  <planTypes>\n"
    "    <planType name=\"Shop\" children=\"BIWActivityStation BIWActivityLoading\"/>\n"
    "    <planType name=\"Closed\" listable=\"false\"/>\n"
    "    <planType name=\"Cell\" children=\"WeldRobot\"/>\n"
    "    <planType name=\"WeldRobot\" listable=\"false\"/>\n"
    "    <planAssign object=\"proc\" planType=\"Shop\"/>\n"
    "    <planAssign object=\"st1\" planType=\"Cell\"/>\n"
    "    <planAssign object=\"rb1\" planType=\"WeldRobot\"/>\n"
    "    <planAssign object=\"a1\" planType=\"Closed\"/>\n"
    "    <planAssign object=\"bh1\" planType=\"Shop\"/>\n"
    "  </planTypes>\n"
    "  <hubProducts>\n"
    "    <product ref=\"rb2\" childRight=\"false\"/>\n"
    "    <product ref=\"door\" kwProduct=\"true\"/>\n"
    "    <product ref=\"st1\" childRight=\"false\" kwProduct=\"true\"/>\n"
    "  </hubProducts>\n"
    "</plant>\n";

struct CopyHost : ::testing::Test {
  Ref<HostDocument> doc = LoadPlantText(kPlant);
  TavResourceCopyHost& host = *TavResourceCopyHost::Get();

  Ref<HostProduct> P(const std::string& id) const { return std::dynamic_pointer_cast<HostProduct>(doc->FindById(id)); }
  Ref<HostActivity> A(const std::string& id) const { return std::dynamic_pointer_cast<HostActivity>(doc->FindById(id)); }
  Ref<HostBehavior> BehaviorOf(const std::string& id) const { return AssignmentOf(*doc, true)->BehaviorOf(*P(id)); }
  // A new resource beside the sources, as a resource copy makes it.
  Ref<HostProduct> NewResource(const std::string& name) const {
    auto r = doc->CreateProduct(P("st1"), {}, name);
    r->SetResourceType("Robot");
    return r;
  }
  static std::vector<std::string> Labels(const std::vector<Ref<HostActivity>>& v) {
    std::vector<std::string> out;
    for (auto& a : v) out.push_back(a->Label().utf8());
    return out;
  }
};

TEST_F(CopyHost, ACopiedBehaviourHasTheSourcesLabelItemsActivitiesAndLinks) {
  ASSERT_TRUE(doc);
  auto copy = NewResource("Robot.3");
  doc->Journal().Begin();
  ASSERT_EQ(host.CopyBehavior(P("rb1"), copy), S_OK);
  ASSERT_TRUE(doc->Journal().Commit("copy behaviour"));
  auto b = BehaviorOf(copy->IdString());
  ASSERT_TRUE(b);
  EXPECT_EQ(b->GetLabel().utf8(), "Welding");
  EXPECT_EQ(b->GetInputItems(), std::vector<Ref<TavBaseUnknown>>{doc->FindById("door")});
  EXPECT_EQ(b->GetOutputItems(), std::vector<Ref<TavBaseUnknown>>{doc->FindById("panel")});
  ASSERT_EQ(Labels(b->Children()), (std::vector<std::string>{"Approach", "Weld"}));
  auto approach = b->Children()[0], weld = b->Children()[1];
  ASSERT_EQ(Labels(approach->Children()), std::vector<std::string>{"Move"});
  EXPECT_TRUE(approach->LinksTo(weld.get()));
  EXPECT_TRUE(approach->Children()[0]->LinksTo(weld.get()));
  EXPECT_EQ(weld->IsItemAssigned(doc->FindById("door"), TavItemCode::Processes), S_OK);
  EXPECT_EQ(query<OrvIMHIPlanTypeObject>(b)->GetPlanType()->GetName().utf8(), "Shop");
  // The source keeps its own; the plant saves and loads again.
  EXPECT_EQ(BehaviorOf("rb1")->Children().size(), 2u);
  std::string problem;
  const std::string saved = SerializePlant(*doc, "t.xml", &problem);
  ASSERT_EQ(problem, "");
  EXPECT_TRUE(LoadPlantText(saved));
  // One undo step takes the behaviour away.
  std::string error;
  ASSERT_TRUE(doc->Journal().Undo(&error)) << error;
  EXPECT_FALSE(BehaviorOf(copy->IdString()));
}

TEST_F(CopyHost, ABehaviourIsCopiedOnlyBetweenResourcesOfOneDocument) {
  auto copy = NewResource("Robot.3");
  EXPECT_EQ(host.CopyBehavior(P("rb2"), copy), S_FALSE);  // the source has none
  EXPECT_FALSE(BehaviorOf(copy->IdString()));
  EXPECT_EQ(host.CopyBehavior(P("door"), copy), E_FAIL);
  EXPECT_EQ(host.CopyBehavior(P("rb1"), nullptr), E_FAIL);
  auto other = LoadPlantText(kPlant);
  EXPECT_EQ(host.CopyBehavior(other->FindById("rb1"), copy), E_FAIL);
  // A resource with a behaviour of its own gets no second one.
  ASSERT_EQ(host.CopyBehavior(P("rb1"), copy), S_OK);
  EXPECT_EQ(host.CopyBehavior(P("rb1"), copy), E_FAIL);
  EXPECT_EQ(BehaviorOf(copy->IdString())->Children().size(), 2u);
  // A behaviour named after its resource is named after the copy.
  auto second = NewResource("Robot.4");
  BehaviorOf("rb1")->SetLabel("Robot.1 Behavior");
  ASSERT_EQ(host.CopyBehavior(P("rb1"), second), S_OK);
  EXPECT_EQ(BehaviorOf(second->IdString())->GetLabel().utf8(), "Robot.4 Behavior");
}

TEST_F(CopyHost, TheProductAddedNotificationNamesTheCopyAndItsFather) {
  auto copy = NewResource("Robot.3");
  NotificationsOf(*doc)->Take();
  EXPECT_EQ(host.SendPrdAddNotification(P("st1"), copy), S_OK);
  EXPECT_EQ(host.SendPrdAddNotification(nullptr, P("st1")), S_OK);
  EXPECT_EQ(host.SendPrdAddNotification(P("st1"), nullptr), E_FAIL);
  EXPECT_EQ(NotificationsOf(*doc)->Take(), (std::vector<std::string>{
                                                "product added: Resources/Station.1/Robot.3 (under Resources/Station.1)",
                                                "product added: Resources/Station.1"}));
}

TEST_F(CopyHost, SequenceLinksFollowThePositionsInTheBehaviours) {
  auto copy = NewResource("Robot.3");
  auto b = AssignmentOf(*doc, true)->CreateBehavior(copy, {}, {});
  auto x = doc->CreateActivity(b, "PhysicalActivity", {}, "X");
  auto x1 = doc->CreateActivity(x, "PhysicalActivity", {}, "X1");
  auto y = doc->CreateActivity(b, "PhysicalActivity", {}, "Y");
  EXPECT_EQ(host.CopySequenceLinks({P("rb1")}, {}), E_FAIL);
  doc->Journal().Begin();
  ASSERT_EQ(host.CopySequenceLinks({P("rb1"), P("rb2")}, {copy, NewResource("Robot.4")}), S_OK);
  doc->Journal().Commit("links");
  EXPECT_TRUE(x->LinksTo(y.get()));
  EXPECT_TRUE(x1->LinksTo(y.get()));
  EXPECT_FALSE(x->LinksTo(x1.get()));
  std::string error;
  ASSERT_TRUE(doc->Journal().Undo(&error)) << error;
  EXPECT_FALSE(x->LinksTo(y.get()));
}

TEST_F(CopyHost, EveryRelationNamingASourceGetsATwinNamingItsCopy) {
  auto copy1 = NewResource("Robot.3"), copy2 = NewResource("Robot.4");
  auto panel2 = doc->CreateProduct(nullptr, {}, "Panel.2");
  EXPECT_EQ(host.CopyAssignments({P("rb1")}, {}), E_FAIL);
  doc->Journal().Begin();
  ASSERT_EQ(host.CopyAssignments({P("rb1"), P("panel")}, {copy1, panel2}), S_OK);
  doc->Journal().Commit("assignments");
  auto a1 = A("a1");
  EXPECT_EQ(a1->IsResourceAssigned(copy1, TavResourceCode::Uses), S_OK);
  EXPECT_EQ(a1->IsItemAssigned(copy1, TavItemCode::Attaches), S_OK);
  EXPECT_EQ(a1->IsResourceAssigned(copy2, TavResourceCode::Uses), S_FALSE);  // rb2 was not copied
  ASSERT_EQ(a1->Relations().size(), 5u);
  auto twin = a1->Relations()[3];
  EXPECT_EQ(twin->Target(), copy1);
  ASSERT_TRUE(twin->GetAttribute("Share"));
  EXPECT_EQ(std::get<double>(*twin->GetAttribute("Share")), 0.5);
  // A behaviour's output item is a relation too.
  EXPECT_EQ(BehaviorOf("rb1")->GetOutputItems().size(), 2u);
  std::string error;
  ASSERT_TRUE(doc->Journal().Undo(&error)) << error;
  EXPECT_EQ(a1->Relations().size(), 3u);
  EXPECT_EQ(BehaviorOf("rb1")->GetOutputItems().size(), 1u);
}

TEST_F(CopyHost, AuthorizedChildrenComeFromTheHubPlanTypeOfThePathsLeaf) {
  std::vector<TavUnicodeString> names{"stale"};
  ASSERT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(A("proc")), names), S_OK);
  EXPECT_EQ(names, (std::vector<TavUnicodeString>{"BIWActivityStation", "BIWActivityLoading"}));
  EXPECT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(BehaviorOf("rb1")), names), S_OK);
  // A resource's plan type names the plan types of the resources it may receive.
  ASSERT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(P("st1")), names), S_OK);
  EXPECT_EQ(names, std::vector<TavUnicodeString>{"WeldRobot"});
  EXPECT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(P("rb2")), names), E_FAIL);
  EXPECT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(A("a1")), names), E_FAIL);  // cannot list
  EXPECT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(A("a2")), names), E_FAIL);  // no plan type
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(host.GetAuthorizedChildrenNames(TavPathElement(), names), E_FAIL);
  auto local = LoadPlantText(ReplaceOnce(ReplaceOnce(kPlant, "environment=\"hub\"", "environment=\"local\""),
                                         kPlant.substr(kPlant.find("  <planTypes>"), kPlant.find("</plant>") - kPlant.find("  <planTypes>")), ""));
  ASSERT_TRUE(local);
  EXPECT_EQ(host.GetAuthorizedChildrenNames(local->PathOf(local->FindById("proc")), names), E_FAIL);
}

// ------------------------------------------------------------------ saved state
bool Saved(const Ref<TavBaseUnknown>& p) { return query<TavISavedState>(p)->IsSaved(); }

TEST(SavedState, ProductsMadeSinceTheLastLoadOrSaveAreNotSaved) {
  auto doc = LoadPlantText(kPlant);
  ASSERT_TRUE(doc);
  auto rb1 = doc->FindById("rb1");
  EXPECT_TRUE(Saved(rb1));
  EXPECT_TRUE(Saved(doc->FindById("door")));
  auto made = doc->CreateProduct(std::dynamic_pointer_cast<HostProduct>(rb1), {}, "Gun.1");
  EXPECT_FALSE(Saved(made));
  doc->MarkSaved();
  EXPECT_TRUE(Saved(made));
  EXPECT_FALSE(Saved(doc->CreateProduct(nullptr, {}, "Hood.1")));
  // Out of the document: in no file.
  doc->Journal().Begin();
  std::string why;
  ASSERT_EQ(RemoveProductInstance(std::dynamic_pointer_cast<HostProduct>(rb1), made, why), S_OK) << why;
  doc->Journal().Commit("remove");
  EXPECT_FALSE(Saved(made));
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_TRUE(Saved(made));
  // A document never loaded or saved holds nothing saved.
  auto fresh = HostDocument::Create();
  EXPECT_FALSE(Saved(fresh->CreateProduct(nullptr, {}, "Box.1", {}, true)));
  fresh->MarkSaved();
  EXPECT_TRUE(Saved(fresh->Resources().roots_.front()));
}

// ------------------------------------------------------------------ hub products
bool ChildRight(const Ref<HostDocument>& doc, const std::string& id) {
  return query<OrvIMHIProductAccess>(doc->FindById(id))->HasChildRight();
}
bool Kw(const Ref<HostDocument>& doc, const std::string& id) {
  return query<OrvIMHIProductAccess>(doc->FindById(id))->IsAKwProductInHx();
}

TEST(HubProducts, ThePlantGivesTheRightsAndFlagsAndSavesThemAsRead) {
  auto doc = LoadPlantText(kPlant);
  ASSERT_TRUE(doc);
  EXPECT_FALSE(ChildRight(doc, "rb2"));
  EXPECT_FALSE(Kw(doc, "rb2"));
  EXPECT_TRUE(ChildRight(doc, "door"));
  EXPECT_TRUE(Kw(doc, "door"));
  EXPECT_FALSE(ChildRight(doc, "st1"));
  EXPECT_TRUE(Kw(doc, "st1"));
  EXPECT_TRUE(ChildRight(doc, "rb1"));  // the defaults
  EXPECT_FALSE(Kw(doc, "rb1"));
  EXPECT_FALSE(query<OrvIMHIProductAccess>(doc->FindById("a1")));
  const std::string saved = SerializePlant(*doc);
  EXPECT_NE(saved.find("  <hubProducts>\n"
                       "    <product ref=\"rb2\" childRight=\"false\"/>\n"
                       "    <product ref=\"door\" kwProduct=\"true\"/>\n"
                       "    <product ref=\"st1\" childRight=\"false\" kwProduct=\"true\"/>\n"
                       "  </hubProducts>\n"),
            std::string::npos)
      << saved;
  EXPECT_EQ(SerializePlant(*LoadPlantText(saved)), saved);
  // A product that left the plant is not written.
  std::string why;
  ASSERT_EQ(RemoveProductInstance(std::dynamic_pointer_cast<HostProduct>(doc->FindById("st1")),
                                  std::dynamic_pointer_cast<HostProduct>(doc->FindById("rb2")), why),
            S_OK);
  EXPECT_EQ(SerializePlant(*doc).find("ref=\"rb2\" childRight"), std::string::npos);
}

TEST(HubProducts, LocalPlantsHaveNone) {
  auto local = LoadPlantText(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<plant format=\"1\"><resources><resource id=\"r\" name=\"R\"/></resources></plant>\n");
  ASSERT_TRUE(local);
  EXPECT_FALSE(query<OrvIMHIProductAccess>(local->FindById("r")));
}

TEST(HubProducts, TheSectionIsReadStrictly) {
  const std::string section = kPlant.substr(kPlant.find("  <hubProducts>"), kPlant.find("</plant>") - kPlant.find("  <hubProducts>"));
  auto with = [&](const std::string& lines) { return ReplaceOnce(kPlant, section, "  <hubProducts>\n" + lines + "  </hubProducts>\n"); };
  struct Case {
    std::string lines, error;
  };
  const std::vector<Case> cases = {
      {"    <product ref=\"nope\" childRight=\"false\"/>\n", "'nope' is no product or resource of this plant"},
      {"    <product ref=\"a1\" childRight=\"false\"/>\n", "'a1' is no product or resource of this plant"},
      {"    <product ref=\"rb1\" childRight=\"true\"/>\n", "childRight=\"true\" is the default: leave the attribute out"},
      {"    <product ref=\"rb1\" kwProduct=\"false\"/>\n", "kwProduct=\"false\" is the default: leave the attribute out"},
      {"    <product ref=\"rb1\"/>\n", "hub product 'rb1' says nothing"},
      {"    <product ref=\"rb1\" childRight=\"no\"/>\n", "bad boolean"},
      {"    <product ref=\"rb1\" childRight=\"false\" owner=\"x\"/>\n", "owner"},
      {"    <product childRight=\"false\"/>\n", "ref"},
      {"    <product ref=\"rb1\" kwProduct=\"true\"/>\n    <product ref=\"rb1\" childRight=\"false\"/>\n",
       "duplicate hub product 'rb1'"},
      {"    <resource ref=\"rb1\" kwProduct=\"true\"/>\n", "<resource>"},
  };
  for (auto& c : cases) {
    const std::string error = PlantTextError(with(c.lines));
    EXPECT_NE(error.find(c.error), std::string::npos) << c.lines << " gave: " << error;
    EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
  }
  const std::string local = ReplaceOnce(kPlant.substr(0, kPlant.find("  <planTypes>")) + section + "</plant>\n",
                                        "environment=\"hub\"", "environment=\"local\"");
  EXPECT_NE(PlantTextError(local).find("hub products need a hub plant"), std::string::npos);
}

// ------------------------------------------------------------------ body-in-white types
TEST(BodyInWhiteTypes, PlantsUseThemAsActivityTypes) {
  for (const char* t : {"BIWActivityGrouping", "BIWActivityStation", "BIWActivityInlineInspection", "BIWActivityHemming",
                        "BIWActivityLoading", "BIWActivityUnloading", "BIWActivityClamping", "BIWActivityUnclamping",
                        "BIWActivitySpotWelding", "BIWActivityStudWelding", "BIWActivitySpotGluing", "BIWActivityClinching",
                        "BIWActivityArcWelding", "BIWActivityAdhesiveApplication", "BIWActivitySealantApplication",
                        "BIWActivityScrewing", "BIWActivityRiveting", "BIWActivityDrilling"}) {
    const HostType* type = FindType(t);
    ASSERT_TRUE(type) << t;
    EXPECT_TRUE(type->IsA("Activity")) << t;
  }
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<plant format=\"1\" environment=\"local\" name=\"Line\">\n"
      "  <process id=\"g\" name=\"Body\" type=\"BIWActivityGrouping\">\n"
      "    <activity id=\"s\" name=\"Station 10\" type=\"BIWActivityStation\">\n"
      "      <activity id=\"w\" name=\"Spot\" type=\"BIWActivitySpotWelding\"/>\n"
      "    </activity>\n"
      "  </process>\n"
      "</plant>\n";
  auto doc = LoadPlantText(text);
  ASSERT_TRUE(doc);
  EXPECT_EQ(SerializePlant(*doc, "t.xml", nullptr), text);
}

}  // namespace
