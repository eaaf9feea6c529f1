// The host's resource copy services (behaviours, notifications, sequence links,
// assignments, authorized children), saved products, the hub's product records in
// <hubProducts>; the plant uses a body-in-white type.
#include <gtest/gtest.h>

#include "HostAssignment.h"
#include "HostProducts.h"
#include "HostUndo.h"
#include "PlantText.h"
#include "TavActivityLib.h"
#include "TavCopy.h"

using namespace host;

namespace {

const std::string kHubProducts =
    "<hubProducts><product ref=\"rb2\" childRight=\"false\"/><product ref=\"door\" kwProduct=\"true\"/>"
    "<product ref=\"st1\" childRight=\"false\" kwProduct=\"true\"/></hubProducts>\n";
const std::string kPlant =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plant format=\"1\" environment=\"hub\" name=\"Cell\">\n"
    "<products><product id=\"door\" name=\"Door.1\"/><product id=\"panel\" name=\"Panel.1\"/></products>\n"
    "<resources><resource id=\"st1\" name=\"Station.1\">\n"
    "  <resource id=\"rb1\" name=\"Robot.1\" type=\"Robot\"><behavior id=\"bh1\" name=\"Welding\">\n"
    "    <input ref=\"door\"/><output ref=\"panel\"/>\n"
    "    <activity id=\"b1\" name=\"Approach\"><activity id=\"b11\" name=\"Move\"/></activity>\n"
    "    <activity id=\"b2\" name=\"Weld\"><relation type=\"process_processes_product\" ref=\"door\"/></activity>\n"
    "    <links><flow from=\"b1\" to=\"b2\"/><flow from=\"b11\" to=\"b2\"/></links>\n"
    "  </behavior></resource>\n"
    "  <resource id=\"rb2\" name=\"Robot.2\" type=\"Robot\"/>\n"
    "</resource></resources>\n"
    "<process id=\"proc\" name=\"Process\"><activity id=\"a1\" name=\"Weld\">\n"
    "  <relation type=\"process_uses_resource\" ref=\"rb1\"><attribute name=\"Share\" type=\"double\" value=\"0.5\"/></relation>\n"
    "  <relation type=\"process_attaches_resource\" ref=\"rb1\"/><relation type=\"process_uses_resource\" ref=\"rb2\"/>\n"
    "  </activity><activity id=\"a2\" name=\"Load\" type=\"BIWActivityLoading\"/></process>\n"
    "<planTypes><planType name=\"Shop\" children=\"BIWActivityStation BIWActivityLoading\"/>\n"
    "  <planType name=\"Closed\" listable=\"false\"/><planType name=\"Cell\" children=\"WeldRobot\"/>\n"
    "  <planType name=\"WeldRobot\" listable=\"false\"/><planAssign object=\"proc\" planType=\"Shop\"/>\n"
    "  <planAssign object=\"a1\" planType=\"Closed\"/><planAssign object=\"bh1\" planType=\"Shop\"/>\n"
    "  <planAssign object=\"st1\" planType=\"Cell\"/><planAssign object=\"rb1\" planType=\"WeldRobot\"/></planTypes>\n" +
    kHubProducts + "</plant>\n";

struct CopyHost : ::testing::Test {
  Ref<HostDocument> doc = LoadPlantText(kPlant);
  TavResourceCopyHost& host = *TavResourceCopyHost::Get();

  Ref<HostProduct> P(const std::string& id) const { return std::dynamic_pointer_cast<HostProduct>(doc->FindById(id)); }
  Ref<HostBehavior> BehaviorOf(const Ref<HostProduct>& r) const { return AssignmentOf(*doc, true)->BehaviorOf(*r); }
  Ref<HostProduct> NewRobot(const std::string& name) const { return doc->CreateProduct(P("st1"), {}, name); }
  static std::vector<std::string> Labels(const std::vector<Ref<HostActivity>>& v) {
    std::vector<std::string> out;
    for (auto& a : v) out.push_back(a->Label().utf8());
    return out;
  }
  void Undo() {
    std::string error;
    ASSERT_TRUE(doc->Journal().Undo(&error)) << error;
  }
};

TEST_F(CopyHost, ACopiedBehaviourIsLikeTheSourcesAndUndoesInOneStep) {
  auto copy = NewRobot("Robot.3");
  doc->Journal().Begin();
  ASSERT_EQ(host.CopyBehavior(P("rb1"), copy), S_OK);
  doc->Journal().Commit("copy");
  auto b = BehaviorOf(copy);
  EXPECT_EQ(b->GetLabel().utf8(), "Welding");
  EXPECT_EQ(b->GetInputItems(), std::vector<Ref<TavBaseUnknown>>{doc->FindById("door")});
  EXPECT_EQ(b->GetOutputItems(), std::vector<Ref<TavBaseUnknown>>{doc->FindById("panel")});
  ASSERT_EQ(Labels(b->Children()), (std::vector<std::string>{"Approach", "Weld"}));
  auto approach = b->Children()[0], weld = b->Children()[1];
  EXPECT_TRUE(approach->LinksTo(weld.get()));
  EXPECT_TRUE(approach->Children()[0]->LinksTo(weld.get()));
  EXPECT_EQ(weld->IsItemAssigned(doc->FindById("door"), TavItemCode::Processes), S_OK);
  EXPECT_EQ(query<OrvIMHIPlanTypeObject>(b)->GetPlanType()->GetName().utf8(), "Shop");
  std::string problem;
  EXPECT_TRUE(LoadPlantText(SerializePlant(*doc, "t.xml", &problem)));
  EXPECT_EQ(problem, "");
  Undo();
  EXPECT_FALSE(BehaviorOf(copy));
  // No behaviour to copy, no resource, another document, a behaviour there already.
  EXPECT_EQ(host.CopyBehavior(P("rb2"), copy), S_FALSE);
  EXPECT_EQ(host.CopyBehavior(P("door"), copy), E_FAIL);
  EXPECT_EQ(host.CopyBehavior(LoadPlantText(kPlant)->FindById("rb1"), copy), E_FAIL);
  ASSERT_EQ(host.CopyBehavior(P("rb1"), copy), S_OK);
  EXPECT_EQ(host.CopyBehavior(P("rb1"), copy), E_FAIL);
  // A label that only repeats the resource's name follows the copy's.
  BehaviorOf(P("rb1"))->SetLabel("Robot.1 Behavior");
  auto second = NewRobot("Robot.4");
  ASSERT_EQ(host.CopyBehavior(P("rb1"), second), S_OK);
  EXPECT_EQ(BehaviorOf(second)->GetLabel().utf8(), "Robot.4 Behavior");
}

TEST_F(CopyHost, NotificationsAndSequenceLinksReachTheCopies) {
  auto copy = NewRobot("Robot.3");
  EXPECT_EQ(host.SendPrdAddNotification(P("st1"), copy), S_OK);
  EXPECT_EQ(host.SendPrdAddNotification(nullptr, P("st1")), S_OK);
  EXPECT_EQ(host.SendPrdAddNotification(P("st1"), nullptr), E_FAIL);
  EXPECT_EQ(NotificationsOf(*doc)->Take(),
            (std::vector<std::string>{"product added: Resources/Station.1/Robot.3 (under Resources/Station.1)",
                                      "product added: Resources/Station.1"}));
  // Links between the activities at the same places of the copy's behaviour.
  auto b = AssignmentOf(*doc, true)->CreateBehavior(copy, {}, {});
  auto x = doc->CreateActivity(b, "Activity", {}, "X");
  auto x1 = doc->CreateActivity(x, "Activity", {}, "X1");
  auto y = doc->CreateActivity(b, "Activity", {}, "Y");
  EXPECT_EQ(host.CopySequenceLinks({P("rb1")}, {}), E_FAIL);
  doc->Journal().Begin();
  ASSERT_EQ(host.CopySequenceLinks({P("rb1"), P("rb2")}, {copy, NewRobot("Robot.4")}), S_OK);
  doc->Journal().Commit("links");
  EXPECT_TRUE(x->LinksTo(y.get()));
  EXPECT_TRUE(x1->LinksTo(y.get()));
  EXPECT_FALSE(x->LinksTo(x1.get()));
  Undo();
  EXPECT_FALSE(x->LinksTo(y.get()));
}

TEST_F(CopyHost, EveryRelationNamingASourceGetsATwinNamingItsCopy) {
  auto copy = NewRobot("Robot.3"), panel2 = doc->CreateProduct(nullptr, {}, "Panel.2");
  auto a1 = std::dynamic_pointer_cast<HostActivity>(doc->FindById("a1"));
  EXPECT_EQ(host.CopyAssignments({P("rb1")}, {}), E_FAIL);
  doc->Journal().Begin();
  ASSERT_EQ(host.CopyAssignments({P("rb1"), P("panel")}, {copy, panel2}), S_OK);
  doc->Journal().Commit("assignments");
  EXPECT_EQ(a1->IsItemAssigned(copy, TavItemCode::Attaches), S_OK);
  ASSERT_EQ(a1->Relations().size(), 5u);
  EXPECT_EQ(a1->Relations()[3]->Target(), copy);
  EXPECT_EQ(std::get<double>(*a1->Relations()[3]->GetAttribute("Share")), 0.5);
  EXPECT_EQ(BehaviorOf(P("rb1"))->GetOutputItems().size(), 2u);  // a behaviour's item is a relation too
  Undo();
  EXPECT_EQ(a1->Relations().size(), 3u);
  EXPECT_EQ(BehaviorOf(P("rb1"))->GetOutputItems().size(), 1u);
}

TEST_F(CopyHost, AuthorizedChildrenComeFromTheHubPlanTypeOfThePathsLeaf) {
  std::vector<TavUnicodeString> names;
  ASSERT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(doc->FindById("proc")), names), S_OK);
  EXPECT_EQ(names, (std::vector<TavUnicodeString>{"BIWActivityStation", "BIWActivityLoading"}));
  ASSERT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(P("st1")), names), S_OK);
  EXPECT_EQ(names, std::vector<TavUnicodeString>{"WeldRobot"});  // a resource's: plan types of resources
  EXPECT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(doc->FindById("a1")), names), E_FAIL);  // cannot list
  EXPECT_EQ(host.GetAuthorizedChildrenNames(doc->PathOf(doc->FindById("a2")), names), E_FAIL);  // none
  EXPECT_TRUE(names.empty());
  auto local = LoadPlantText(ReplaceOnce(ReplaceOnce(kPlant, "environment=\"hub\"", "environment=\"local\""),
                                         kPlant.substr(kPlant.find("<planTypes>"), kPlant.find("</plant>") - kPlant.find("<planTypes>")), ""));
  EXPECT_EQ(host.GetAuthorizedChildrenNames(local->PathOf(local->FindById("proc")), names), E_FAIL);
  EXPECT_FALSE(query<OrvIMHIProductAccess>(local->FindById("rb2")));  // no hub records either
}

TEST(SavedState, ProductsMadeSinceTheLastLoadOrSaveAreNotSaved) {
  auto saved = [](const Ref<TavBaseUnknown>& p) { return query<TavISavedState>(p)->IsSaved(); };
  auto doc = LoadPlantText(kPlant);
  auto rb1 = std::dynamic_pointer_cast<HostProduct>(doc->FindById("rb1"));
  EXPECT_TRUE(saved(rb1));
  auto made = doc->CreateProduct(rb1, {}, "Gun.1");
  EXPECT_FALSE(saved(made));
  doc->MarkSaved();
  EXPECT_TRUE(saved(made));
  EXPECT_FALSE(saved(doc->CreateProduct(nullptr, {}, "Hood.1")));
  std::string why;
  doc->Journal().Begin();
  ASSERT_EQ(RemoveProductInstance(rb1, made, why), S_OK) << why;
  doc->Journal().Commit("remove");
  EXPECT_FALSE(saved(made));  // in no file while out of the plant
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_TRUE(saved(made));
  auto fresh = HostDocument::Create();  // never loaded or saved
  auto box = fresh->CreateProduct(nullptr, {}, "Box.1");
  EXPECT_FALSE(saved(box));
  fresh->MarkSaved();
  EXPECT_TRUE(saved(box));
}

TEST(HubProducts, ThePlantGivesTheRightsAndFlagsAndSavesThemAsRead) {
  auto doc = LoadPlantText(kPlant);
  auto access = [&](const std::string& id) { return query<OrvIMHIProductAccess>(doc->FindById(id)); };
  EXPECT_FALSE(access("rb2")->HasChildRight());
  EXPECT_FALSE(access("rb2")->IsAKwProductInHx());
  EXPECT_TRUE(access("door")->HasChildRight());
  EXPECT_TRUE(access("door")->IsAKwProductInHx());
  EXPECT_FALSE(access("st1")->HasChildRight());
  EXPECT_TRUE(access("rb1")->HasChildRight());  // the defaults
  EXPECT_FALSE(access("rb1")->IsAKwProductInHx());
  const std::string saved = SerializePlant(*doc);
  EXPECT_NE(saved.find("  <hubProducts>\n    <product ref=\"rb2\" childRight=\"false\"/>\n"), std::string::npos) << saved;
  EXPECT_EQ(SerializePlant(*LoadPlantText(saved)), saved);
  std::string why;
  ASSERT_EQ(RemoveProductInstance(std::dynamic_pointer_cast<HostProduct>(doc->FindById("st1")),
                                  std::dynamic_pointer_cast<HostProduct>(doc->FindById("rb2")), why),
            S_OK);
  EXPECT_EQ(SerializePlant(*doc).find("\"rb2\" childRight"), std::string::npos);  // left the plant
}

TEST(HubProducts, TheSectionIsReadStrictly) {
  const std::pair<std::string, std::string> cases[] = {
      {"<product ref=\"a1\" childRight=\"false\"/>", "'a1' is no product or resource of this plant"},
      {"<product ref=\"rb1\" childRight=\"true\"/>", "childRight=\"true\" is the default: leave the attribute out"},
      {"<product ref=\"rb1\" kwProduct=\"false\"/>", "kwProduct=\"false\" is the default"},
      {"<product ref=\"rb1\"/>", "hub product 'rb1' says nothing"},
      {"<product ref=\"rb1\" childRight=\"no\"/>", "bad boolean"},
      {"<product ref=\"rb1\" kwProduct=\"true\"/><product ref=\"rb1\" childRight=\"false\"/>", "duplicate hub product 'rb1'"},
      {"<resource ref=\"rb1\" kwProduct=\"true\"/>", "<resource>"},
  };
  for (auto& [lines, expected] : cases) {
    const std::string error = PlantTextError(ReplaceOnce(kPlant, kHubProducts, "<hubProducts>" + lines + "</hubProducts>\n"));
    EXPECT_NE(error.find(expected), std::string::npos) << lines << " gave: " << error;
    EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
  }
  const std::string local = "<plant format=\"1\"><resources><resource id=\"r\" name=\"R\"/></resources>"
                            "<hubProducts><product ref=\"r\" kwProduct=\"true\"/></hubProducts></plant>";
  EXPECT_NE(PlantTextError(local).find("hub products need a hub plant"), std::string::npos);
}

}  // namespace
