// Centring objects in PPR tree windows: deep activities, products, resources and
// behaviours, the flags, the path's fathers and their rollback, the decorations
// reset, and selecting an object to show it in every tree.
#include <gtest/gtest.h>

#include "GanttWindow.h"
#include "HostWindows.h"
#include "OrvVekCenterActInPPR.h"
#include "PPRTreeWindow.h"
#include "PlantGenerator.h"
#include "PlantText.h"
#include "TreePlant.h"
#include "TavAssignment.h"

using namespace host;
using Center = OrvVekCenterActInPPR;

namespace {

struct Centring : TreePlantSession {
  using TreePlantSession::TreePlantSession;
  bool Recenter(const Ref<TavBaseUnknown>& o, Ref<PPRTreeWindow> w = nullptr, bool autoExpand = true, bool indicate = true,
                bool flag = true) {
    return Center::RecenterInPPRViewer(o, autoExpand, w ? w : tree, indicate, true, flag);
  }
  Ref<TavBaseUnknown> Visible(const Ref<PPRTreeWindow>& w = nullptr) const {
    auto n = (w ? w : tree)->GetVisibleNode();
    return n ? n->GetObject() : nullptr;
  }
  bool Decorated(const std::string& path) const {
    auto nodes = tree->GetAssociatedNodes(At(path));
    return !nodes.empty() && nodes.front()->IsDecorated();
  }
};

std::vector<std::string> Names(const TavPathElement& p) {
  std::vector<std::string> out;
  for (auto& o : p.Objects()) {
    if (auto nav = query<TavINavigateObject>(o)) out.push_back(nav->GetIdentificators().front().utf8());
    else if (auto list = query<TavIPPRRootList>(o)) out.push_back("<" + list->GetListName().utf8() + ">");
    else if (query<TavIMfgAssemblyContainer>(o)) out.push_back("<Assemblies>");
    else out.push_back("?");
  }
  return out;
}

using Strings = std::vector<std::string>;

TEST(RecentreTree, ADeepActivityIsShownWithoutMakingTheRestOfTheTree) {
  auto doc = LoadPlantText(kTreePlant);
  Ref<HostActivity> deep = std::dynamic_pointer_cast<HostActivity>(doc->Resolve("Process/Paint").GetLeaf());
  for (int i = 0; i < 1500; ++i) deep = doc->CreateActivity(deep, "PhysicalActivity", "", "Step." + std::to_string(i));
  Centring c(doc);
  const int redraws = c.tree->RedrawCount();
  ASSERT_TRUE(c.Recenter(deep));
  EXPECT_EQ(c.Visible(), deep);
  auto node = c.tree->GetVisibleNode();
  EXPECT_EQ(node->GetDepth(), 1501);
  EXPECT_TRUE(node->IsDecorated());
  int r = 0, g = 0, b = 0;
  EXPECT_TRUE(node->GetShadowColor(r, g, b));
  // The roots, the first process's two children, the Body Shop's and the chain.
  EXPECT_EQ(c.tree->NodeCount(), 4u + 2u + 1500u);
  EXPECT_TRUE(c.tree->GetAssociatedNodes(c.At("Process/Body Shop/Weld.1")).empty());
  for (auto a = node->GetFatherNode(); a; a = a->GetFatherNode()) EXPECT_TRUE(a->IsExpanded());
  EXPECT_EQ(c.tree->RedrawCount(), redraws + 1);  // the whole centring is one redraw
  EXPECT_EQ(c.tree->LockCount(), 0);
}

TEST(RecentreTree, ProductsResourcesBehavioursAndAssembliesAreShownUnderTheirRoots) {
  Centring c;
  ASSERT_TRUE(c.Recenter(c.At("Products/Door.1/Hinge.1")));
  EXPECT_EQ(c.Visible(), c.At("Products/Door.1/Hinge.1"));
  ASSERT_TRUE(c.Recenter(c.At("Resources/Station.1/Robot.1")));
  EXPECT_EQ(c.Visible(), c.At("Resources/Station.1/Robot.1"));
  // A behaviour's father is its resource: it is found through the resource tree.
  auto behavior = query<OrvIResourceBehaviorManager>(c.At("Resources/Station.1/Robot.1"))->CreateBehavior();
  ASSERT_TRUE(behavior);
  auto step = query<TavISPPChildManagement>(behavior)->CreateChild("PhysicalActivity", "Pick");
  ASSERT_TRUE(step);
  ASSERT_TRUE(c.Recenter(step));
  EXPECT_TRUE(SameObject(c.Visible(), step));
  auto assembly = c.doc->CreateAssembly("", "DoorAssy");
  ASSERT_TRUE(c.Recenter(assembly));
  EXPECT_EQ(c.Visible(), assembly);
  // The lists themselves are roots.
  ASSERT_TRUE(c.Recenter(c.doc->GetRootContainer(TavIPPRProductList::kInterfaceName)));
  EXPECT_EQ(c.tree->GetVisibleNode()->GetDepth(), 0);
}

TEST(RecentreTree, WithoutAutoExpandOnlyNodesMadeAlreadyAreFollowed) {
  Centring c;
  EXPECT_FALSE(c.Recenter(c.At("Process/Body Shop/Weld.2"), nullptr, false));
  EXPECT_FALSE(c.Visible());
  EXPECT_TRUE(c.tree->GetAssociatedNodes(c.At("Process/Body Shop/Weld.2")).empty());
  std::string error;
  ASSERT_TRUE(c.tree->ResolveNode("Process/Body Shop/Weld.2", error)) << error;
  EXPECT_TRUE(c.Recenter(c.At("Process/Body Shop/Weld.2"), nullptr, false));
  EXPECT_EQ(c.Visible(), c.At("Process/Body Shop/Weld.2"));
}

TEST(RecentreTree, OtherWindowsNullsAndTheCurrentWindow) {
  Centring c;
  EXPECT_FALSE(Center::RecenterInPPRViewer(nullptr, true, c.tree, true, true, true));
  // No window given: the current one, here the tree.
  EXPECT_TRUE(Center::RecenterInPPRViewer(c.At("Process/Paint"), true, nullptr, true, true, true));
  EXPECT_EQ(c.Visible(), c.At("Process/Paint"));
  std::string error;
  auto gantt = OpenGanttWindow(c.At("Process"), error);
  ASSERT_TRUE(gantt) << error;
  EXPECT_FALSE(Center::RecenterInPPRViewer(c.At("Process/Paint"), true, nullptr, true, true, true));
  EXPECT_FALSE(Center::RecenterInPPRViewer(c.At("Process/Paint"), true, gantt, true, true, true));
  // An object of another plant has no node here.
  auto other = LoadPlantText(kTreePlant);
  EXPECT_FALSE(c.Recenter(other->Resolve("Process/Paint").GetLeaf()));
}

TEST(RecentreTree, TheFlagsResetEarlierDecorationsAndChooseTheIndication) {
  Centring c;
  ASSERT_TRUE(c.Recenter(c.At("Process/Body Shop/Weld.1")));
  ASSERT_TRUE(c.Recenter(c.At("Process/Body Shop/Weld.2")));
  EXPECT_FALSE(c.Decorated("Process/Body Shop/Weld.1"));
  EXPECT_TRUE(c.Decorated("Process/Body Shop/Weld.2"));
  // Without the reset, both stay decorated.
  ASSERT_TRUE(c.Recenter(c.At("Process/Body Shop/Weld.1"), nullptr, true, true, false));
  EXPECT_TRUE(c.Decorated("Process/Body Shop/Weld.1"));
  EXPECT_TRUE(c.Decorated("Process/Body Shop/Weld.2"));
  // Without the indication, the object is only made visible.
  ASSERT_TRUE(c.Recenter(c.At("Process/Paint"), nullptr, true, false, true));
  EXPECT_EQ(c.Visible(), c.At("Process/Paint"));
  EXPECT_FALSE(c.Decorated("Process/Paint"));
  EXPECT_FALSE(c.Decorated("Process/Body Shop/Weld.1"));
  // Opening the first process in fixed-depth mode folds its other branches; the
  // mode is restored afterwards.
  EXPECT_FALSE(c.tree->GetAssociatedNodes(c.At("Process/Body Shop")).front()->IsExpanded());
  EXPECT_FALSE(c.tree->IsFixedDepthMode());
}

TEST(RecentreTree, FathersAreAddedToThePathAndRolledBack) {
  Centring c;
  struct Case {
    std::string path;
    Strings full;
  };
  for (const auto& [path, full] : std::vector<Case>{
           {"Process/Body Shop/Weld.2", {"Process", "Body Shop", "Weld.2"}},
           {"Products/Door.1/Hinge.1", {"<Products>", "Door.1", "Hinge.1"}},
           {"Resources/Station.1/Robot.1", {"<Resources>", "Station.1", "Robot.1"}},
           {"Process", {"Process"}}}) {
    TavPathElement p({c.At(path)});
    const TavPathElement before = p;
    EXPECT_EQ(Center::AppendFather(p), static_cast<int>(full.size()) - 1) << path;
    EXPECT_EQ(Names(p), full) << path;
    Center::RollBackPath(p);
    EXPECT_EQ(p, before) << path;
  }
  auto assembly = c.doc->CreateAssembly("", "DoorAssy");
  TavPathElement p({assembly});
  Center::AppendFather(p);
  EXPECT_EQ(Names(p), (Strings{"<Assemblies>", "DoorAssy"}));
  TavPathElement empty;
  EXPECT_EQ(Center::AppendFather(empty), 0);
  Center::RollBackPath(empty);
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(RecentreTree, SubActivitiesComeDepthFirstAndADeepProcessIsWalkedWithoutRecursion) {
  PlantSpec spec;
  spec.activities = 3000;
  auto generated = GeneratePlant(spec);
  auto root = generated->Process().roots_.front();
  std::vector<Ref<TavBaseUnknown>> walked;
  Center::GetAllSubActivties(root, walked);
  const auto expected = root->GetAllChildren();
  ASSERT_EQ(walked.size(), expected.size());
  for (std::size_t i = 0; i < walked.size(); ++i) EXPECT_TRUE(SameObject(walked[i], expected[i])) << i;

  auto doc = LoadPlantText(kTreePlant);
  Ref<HostActivity> deep = std::dynamic_pointer_cast<HostActivity>(doc->Resolve("Process").GetLeaf());
  for (int i = 0; i < 20000; ++i) deep = doc->CreateActivity(deep, "PhysicalActivity", "", "S");
  walked.clear();
  Center::GetAllSubActivties(doc->Resolve("Process").GetLeaf(), walked);
  EXPECT_EQ(walked.size(), 4u + 20000u);
  EXPECT_EQ(walked.back(), deep);
}

TEST(RecentreTree, HighlightAndCenterSelectsJustTheObjectAndShowsItInEveryTree) {
  Centring c(LoadPlantText(
      ReplaceOnce(kTreePlant, "  </products>", "    <product id=\"sealer\" name=\"Sealer.1\"/>\n  </products>")));
  auto second = OpenTreeWindow(c.editor);
  std::string error;
  ASSERT_TRUE(OpenGanttWindow(c.At("Process"), error)) << error;  // not a tree: left alone
  c.editor->GetCSO().AddElement(c.doc->PathOf(c.At("Process/Paint")));
  c.editor->GetCSO().AddElement(c.doc->PathOf(c.At("Products/Sealer.1")));
  Center::HighlightAndCenterObject(c.At("Products/Door.1/Hinge.1"));
  ASSERT_EQ(c.editor->GetCSO().GetSize(), 1);
  EXPECT_EQ(c.editor->GetCSO().Items().front(), c.doc->PathOf(c.At("Products/Door.1/Hinge.1")));
  EXPECT_EQ(c.Visible(), c.At("Products/Door.1/Hinge.1"));
  EXPECT_EQ(c.Visible(second), c.At("Products/Door.1/Hinge.1"));
  EXPECT_NE(second->GetText().find(". Hinge.1 [decorated] [shadow #ffaa00] [visible] [selected]"), std::string::npos)
      << second->GetText();
  // An activity's selection is its path from the root process.
  Center::HighlightAndCenterObject(c.At("Process/Body Shop/Weld.1"));
  EXPECT_EQ(c.editor->GetCSO().Items().front(), c.doc->PathOf(c.At("Process/Body Shop/Weld.1")));
  Center::HighlightAndCenterObject(nullptr);  // nothing to show: the selection stays
  EXPECT_EQ(c.editor->GetCSO().GetSize(), 1);
}

}  // namespace
