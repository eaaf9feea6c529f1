// Renumbering of activities and the planner services it stands on.
#include <gtest/gtest.h>

#include "HostEngine.h"
#include "HostPlanner.h"
#include "OrvVekCommandServices.h"
#include "OrvVekUtilities.h"
#include "PlantDocument.h"
#include "TavModules.h"
#include "TavVekRenumberActCmd.h"

using namespace host;

namespace {

struct Plant : ::testing::Test {
  HostSession session;
  Ref<HostDocument> doc = HostDocument::Create();
  Ref<HostRootActivity> root = doc->CreateRootProcess("proc", "Process");
  Ref<HostActivity> Add(const Ref<HostActivity>& f, const std::string& label, const std::string& type = "PhysicalActivity") {
    return doc->CreateActivity(f, type, "", label);
  }
  Plant() { session.OpenDocument(doc); }
};

std::string L(const Ref<HostActivity>& a) { return a->GetLabel().utf8(); }

TEST_F(Plant, NumbersPhysicalChildrenDepthFirstAndIsIdempotent) {
  auto load = Add(root, "Load"), weld = Add(root, "Weld.7"), spot = Add(weld, "Spot");
  auto group = Add(root, "Group.4", "Activity");  // not physical: stripped, not numbered
  auto inner = Add(group, "Inner");
  TavVekRenumberActCmd::SetUniqueLabel();
  EXPECT_EQ(L(load), "Load.1");
  EXPECT_EQ(L(weld), "Weld.2");
  EXPECT_EQ(L(spot), "Spot.2.1");
  EXPECT_EQ(L(group), "Group");
  EXPECT_EQ(L(inner), "Inner");  // under a non-physical activity nothing is numbered
  TavVekRenumberActCmd::SetUniqueLabel();
  EXPECT_EQ(L(spot), "Spot.2.1");
  EXPECT_EQ(L(weld), "Weld.2");
}

TEST_F(Plant, DottedBaseLabelsLoseTheirSuffixAndWebLabelsKeepTheirPlace) {
  auto op = Add(root, "Op.A"), web = Add(root, "see www.example.com"), after = Add(root, "After");
  auto webChild = Add(web, "Child.9");
  auto http = Add(root, "http-doc"), com = Add(root, "site.com");
  TavVekRenumberActCmd::SetUniqueLabel();
  EXPECT_EQ(L(op), "Op.1");
  EXPECT_EQ(L(web), "see www.example.com");
  EXPECT_EQ(L(after), "After.3");  // the web label still takes position 2
  EXPECT_EQ(L(webChild), "Child");  // stripped, but not renumbered under an unchangeable father
  EXPECT_EQ(L(http), "http-doc");
  EXPECT_EQ(L(com), "site.com");
}

TEST_F(Plant, DeepProcessesAreNumberedWithoutRecursion) {
  // A chain of physical activities as deep as a file can hold (each label carries
  // the whole path, so the labels alone grow with the square of the depth).
  std::vector<Ref<HostActivity>> chain{Add(root, "L.5")};
  for (int i = 1; i < 3000; ++i) chain.push_back(Add(chain.back(), "L"));
  auto sibling = Add(chain[0], "S");  // numbered after the whole deep branch before it
  TavVekRenumberActCmd::SetUniqueLabel();
  std::string want = "L";
  for (std::size_t i = 0; i < chain.size(); ++i) {
    want += ".1";
    if (i == 0 || i + 1 == chain.size()) {
      EXPECT_EQ(L(chain[i]), want) << i;
    }
  }
  EXPECT_EQ(L(sibling), "S.1.2");
}

TEST_F(Plant, NumbersExtendTheRootsOwnNumber) {
  root->SetLabel("Line.3");  // the root is no descendant: it keeps its label and lends its number
  auto a = Add(root, "A"), b = Add(a, "B");
  TavVekRenumberActCmd::SetUniqueLabel();
  EXPECT_EQ(L(root), "Line.3");
  EXPECT_EQ(L(a), "A.3.1");
  EXPECT_EQ(L(b), "B.3.1.1");
}

TEST_F(Plant, TheCommandRunsAtOnceThroughTheEngine) {
  Add(root, "Load.9");
  TavModuleRegistry::Get().Register("OrvVekPlanner", "TavVekRenumberActCmd", fctCreateTavVekRenumberActCmd);
  HostEngine engine;
  std::string err;
  ASSERT_TRUE(engine.Start("OrvVekPlanner", "TavVekRenumberActCmd", &err)) << err;
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(L(root->Children()[0]), "Load.1");
  EXPECT_FALSE(TavApplicationFrame::IsBusy());
  EXPECT_GE(session.BusyCount(), 1);
}

TEST_F(Plant, AllActivitiesComeInWalkOrderThenTSAs) {
  auto a = Add(root, "A"), a1 = Add(a, "A1"), b = Add(root, "B", "Activity");
  doc->CreateActivity(root, "Start", "", "Start");  // a flow node is no activity
  auto* ext = ContExtOf(*doc);
  auto t1 = ext->CreateTSA("t1", "TSA1");
  auto t1c = doc->CreateActivity(t1, "PhysicalActivity", "", "InTSA");
  auto t2 = ext->CreateTSA("t2", "TSA2");
  std::vector<std::string> labels;
  for (auto& x : OrvVekCommandServices::GetAllActivities()) labels.push_back(x->GetLabel().utf8());
  EXPECT_EQ(labels, (std::vector<std::string>{"A", "A1", "B", "TSA1", "TSA2", "InTSA"}));
  Ref<TavISPPActivityRoot> r;
  EXPECT_EQ(OrvVekCommandServices::GetRootProcess(r, a1), S_OK);
  EXPECT_EQ(r, root);
  EXPECT_EQ(OrvVekCommandServices::GetDisplayName(a1), "A1");
  EXPECT_EQ(OrvVekCommandServices::GetDisplayName(nullptr), "");
}

TEST(Services, AllActivitiesOfALoadedPlantWithTSAs) {
  // The root's descendants (flow nodes left out), then the TSAs, then each TSA's descendants.
  const std::string plant =
      "<plant format=\"1\">"
      "<process id=\"p\" name=\"Process\">"
      "  <activity id=\"a\" name=\"A.4\" type=\"PhysicalActivity\"><activity id=\"a1\" name=\"A1\" type=\"PhysicalActivity\"/></activity>"
      "  <activity id=\"s\" name=\"Start\" type=\"Start\"/>"
      "  <activity id=\"b\" name=\"B\" type=\"PhysicalActivity\"/>"
      "</process>"
      "<tsas>"
      "  <tsa id=\"t1\" name=\"T1.2\"><activity id=\"t1a\" name=\"T1A.9\" type=\"PhysicalActivity\">"
      "    <activity id=\"t1a1\" name=\"T1A1\" type=\"PhysicalActivity\"/></activity></tsa>"
      "  <tsa id=\"t2\" name=\"T2\" type=\"PhysicalActivity\"><activity id=\"t2a\" name=\"T2A\" type=\"PhysicalActivity\"/></tsa>"
      "</tsas></plant>";
  std::string error;
  auto doc = ParsePlant(plant, "t.xml", error);
  ASSERT_TRUE(doc) << error;
  HostSession session;
  session.OpenDocument(doc);
  auto ids = [] {
    std::vector<std::string> out;
    for (auto& x : OrvVekCommandServices::GetAllActivities()) out.push_back(query<TavIModelIdentity>(x)->GetId().utf8());
    return out;
  };
  EXPECT_EQ(ids(), (std::vector<std::string>{"a", "a1", "b", "t1", "t2", "t1a", "t1a1", "t2a"}));

  // Renumbering strips the TSAs' labels too, but numbers only the process.
  TavVekRenumberActCmd::SetUniqueLabel();
  auto label = [&](const char* id) { return query<TavISPPActivity>(doc->FindById(id))->GetLabel().utf8(); };
  EXPECT_EQ(label("a"), "A.1");
  EXPECT_EQ(label("a1"), "A1.1.1");
  EXPECT_EQ(label("b"), "B.2");  // the flow node is not among the physical children
  EXPECT_EQ(label("t1"), "T1");
  EXPECT_EQ(label("t1a"), "T1A");
  EXPECT_EQ(label("t1a1"), "T1A1");
}

TEST(Services, NothingWithoutADocument) {
  HostSession session;
  Ref<TavISPPActivityRoot> r;
  EXPECT_EQ(OrvVekCommandServices::GetRootProcess(r, nullptr), E_FAIL);
  EXPECT_TRUE(OrvVekCommandServices::GetAllActivities().empty());
  EXPECT_EQ(OrvVekUtilities::DispatchAddChildNotif(nullptr), E_FAIL);
  EXPECT_EQ(OrvVekUtilities::RedrawFakeNode(nullptr), E_FAIL);
  OrvVekCommandServices::ReframeOnCSO();  // no editor: nothing happens
}

TEST_F(Plant, OutputItemsHaveNoDuplicates) {
  auto a = Add(root, "A"), b = Add(root, "B");
  auto p = doc->CreateProduct(nullptr, "p", "P"), q = doc->CreateProduct(nullptr, "q", "Q");
  auto ma = doc->CreateAssembly("ma", "MA");
  a->CreateRelation("process_creates_product", p);
  a->CreateRelation("process_creates_product", ma);  // no product: not an output item
  b->CreateRelation("process_creates_product", q);
  b->CreateRelation("process_creates_product", p);
  std::vector<Ref<TavBaseUnknown>> list{q};
  OrvVekUtilities::GetOutputItems(a, list);
  EXPECT_EQ(list, (std::vector<Ref<TavBaseUnknown>>{q, p}));
  std::vector<Ref<TavBaseUnknown>> all;
  OrvVekUtilities::GetAllOutputItems(all);
  EXPECT_EQ(all, (std::vector<Ref<TavBaseUnknown>>{p, q}));
}

TEST_F(Plant, NotificationsReachEveryMonoProcessRoot) {
  auto second = doc->CreateRootProcess("proc2", "Second");
  ASSERT_EQ(OrvVekUtilities::DispatchAddContextNotif(doc), S_OK);
  ASSERT_EQ(OrvVekUtilities::DispatchCreateChildNotif(doc), S_OK);
  ASSERT_EQ(OrvVekUtilities::DispatchAddChildNotif(doc), S_OK);
  ASSERT_EQ(OrvVekUtilities::RedrawFakeNode(doc), S_OK);
  auto* ext = ContExtOf(*doc);
  std::vector<std::pair<std::string, int>> got;
  for (auto& m : ext->Modifications()) got.emplace_back(m.activityId, m.kind);
  EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                     {"proc", 13}, {"proc2", 13}, {"proc", 9}, {"proc2", 9}, {"proc", 27}, {"proc2", 27}}));
  EXPECT_EQ(ext->Redraws(), 1);
}

TEST_F(Plant, ReframeTakesTheProductAtTheEndOfEachSelectedPath) {
  auto a = Add(root, "A");
  auto p = doc->CreateProduct(nullptr, "p", "P");
  auto ed = session.CurrentHostEditor();
  ed->GetCSO().AddElement(doc->PathOf(p));
  ed->GetCSO().AddElement(doc->PathOf(a));  // no product on this path: skipped
  OrvVekCommandServices::ReframeOnCSO();
  ASSERT_EQ(ed->Viewer().Reframes(), 1);
  ASSERT_EQ(ed->Viewer().GetLastFrame().size(), 1u);
  EXPECT_EQ(ed->Viewer().GetLastFrame()[0].GetLeaf(), p);
}

}  // namespace
