// The PPR tree window: nodes made as they are expanded, decorations, the visible
// node, graph update locks, the window following the model, and its pictures.
#include <gtest/gtest.h>

#include "HostWindows.h"
#include "PPRTreeWindow.h"
#include "PlantGenerator.h"
#include "PlantText.h"
#include "TreePlant.h"
#include "TavAssignment.h"

using namespace host;

namespace {

struct TreeSession : TreePlantSession {
  using TreePlantSession::TreePlantSession;
  Ref<TavIPPRTreeNode> Node(const std::string& path) {
    std::string error;
    auto n = tree->ResolveNode(path, error);
    EXPECT_TRUE(n) << error;
    return n;
  }
};

TEST(TreeWindow, OpensFoldedAsTheCurrentWindowAndMakesNodesOnlyWhereExpanded) {
  TreeSession s;
  auto created = TavNewInventorySpaceWnd::Create(s.editor);  // the factory the host installs
  ASSERT_TRUE(created);
  EXPECT_EQ(created->GetBaseName(), "PPR Tree.2");
  EXPECT_EQ(HostWindows::Get().Current(), std::dynamic_pointer_cast<HostWindow>(created));
  EXPECT_EQ(query<TavNewInventorySpaceWnd>(Ref<TavBaseUnknown>(s.tree)), s.tree);
  EXPECT_FALSE(TavNewInventorySpaceWnd::Create(nullptr));

  EXPECT_EQ(s.tree->GetText(),
            "  nodes made 4\n"
            "  + Process\n"
            "  + Products\n"
            "  + Resources\n"
            "  . Assemblies\n");
  auto roots = s.tree->GetRootNodes();
  ASSERT_EQ(roots.size(), 4u);
  EXPECT_TRUE(roots[0]->IsVirtual());
  EXPECT_TRUE(roots[0]->GetChildNodes().empty());
  EXPECT_FALSE(roots[3]->IsVirtual());  // no assembly: nothing to make
  EXPECT_TRUE(s.tree->GetAssociatedNodes(s.At("Process/Body Shop")).empty());

  // Making children shows nothing yet; expanding shows one level.
  EXPECT_EQ(s.tree->ExpandVirtualNode(roots[0]), S_OK);
  EXPECT_EQ(s.tree->ExpandVirtualNode(roots[0]), S_FALSE);
  EXPECT_FALSE(roots[0]->IsVirtual());
  EXPECT_FALSE(roots[0]->IsExpanded());
  EXPECT_EQ(s.tree->NodeCount(), 6u);
  auto shop = s.tree->GetAssociatedNodes(s.At("Process/Body Shop"));
  ASSERT_EQ(shop.size(), 1u);
  EXPECT_EQ(shop[0]->GetDepth(), 1);
  EXPECT_EQ(shop[0]->GetFatherNode(), roots[0]);
  EXPECT_TRUE(shop[0]->IsVirtual());
  EXPECT_EQ(s.tree->ExpandNode(roots[0], 1), S_OK);
  EXPECT_TRUE(roots[0]->IsExpanded());
  EXPECT_EQ(s.tree->GetText(),
            "  nodes made 6\n"
            "  - Process\n"
            "    + Body Shop\n"
            "    . Paint\n"
            "  + Products\n"
            "  + Resources\n"
            "  . Assemblies\n");
  EXPECT_EQ(s.tree->ExpandVirtualNode(s.Node("Process/Paint")), S_FALSE);  // a leaf: nothing to make
}

TEST(TreeWindow, NodesOfAnotherWindowAreRefused) {
  TreeSession s;
  auto other = OpenTreeWindow(s.editor);
  auto foreign = other->GetRootNodes().front();
  EXPECT_EQ(s.tree->ExpandVirtualNode(foreign), E_FAIL);
  EXPECT_EQ(s.tree->ExpandNode(foreign, 1), E_FAIL);
  EXPECT_EQ(s.tree->MakeNodeVisible(foreign), E_FAIL);
  EXPECT_EQ(s.tree->ShowDecoration(foreign), E_FAIL);
  EXPECT_EQ(s.tree->ResetDecoration(nullptr), E_FAIL);
  // A node kept past its window's end is no node of a new window either.
  auto kept = other->GetRootNodes().front();
  HostWindows::Get().Close(other);
  other.reset();
  auto again = OpenTreeWindow(s.editor);
  EXPECT_EQ(again->ExpandNode(kept, 1), E_FAIL);
  EXPECT_FALSE(kept->GetFatherNode());
}

TEST(TreeWindow, FixedDepthModeFoldsWhatLiesBelowTheLevelsShown) {
  TreeSession s;
  auto process = s.tree->GetRootNodes().front();
  ASSERT_EQ(s.tree->ExpandNode(process, 2), S_OK);
  auto shop = s.Node("Process/Body Shop");
  EXPECT_TRUE(shop->IsExpanded());
  EXPECT_EQ(s.tree->NodeCount(), 8u);
  // Without the mode, shallower expansion keeps what is open below.
  ASSERT_EQ(s.tree->ExpandNode(process, 1), S_OK);
  EXPECT_TRUE(shop->IsExpanded());
  s.tree->SetFixedDepthMode(true);
  EXPECT_TRUE(s.tree->IsFixedDepthMode());
  ASSERT_EQ(s.tree->ExpandNode(process, 1), S_OK);
  EXPECT_FALSE(shop->IsExpanded());
  EXPECT_TRUE(process->IsExpanded());
}

TEST(TreeWindow, DecorationsTheVisibleNodeAndTheirReset) {
  TreeSession s;
  auto weld = s.Node("Process/Body Shop/Weld.2");
  ASSERT_TRUE(weld);
  EXPECT_FALSE(s.tree->GetVisibleNode());
  ASSERT_EQ(s.tree->MakeNodeVisible(weld), S_OK);
  ASSERT_EQ(s.tree->ShowDecoration(weld), S_OK);
  ASSERT_EQ(s.tree->SetShadowColor(weld, 300, 128, -4), S_OK);  // clamped to 0..255
  int r = 0, g = 0, b = 0;
  ASSERT_TRUE(weld->GetShadowColor(r, g, b));
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 128, 0}));
  EXPECT_EQ(s.tree->GetVisibleNode(), weld);
  s.editor->GetCSO().AddElement(s.doc->PathOf(s.At("Process/Body Shop/Weld.1")));
  EXPECT_EQ(s.tree->GetText(),
            "  nodes made 8\n"
            "  - Process\n"
            "    - Body Shop\n"
            "      . Weld.1 [selected]\n"
            "      . Weld.2 [decorated] [shadow #ff8000] [visible]\n"
            "    . Paint\n"
            "  + Products\n"
            "  + Resources\n"
            "  . Assemblies\n");
  const std::string svg = s.tree->GetSvg();
  EXPECT_NE(svg.find("<title>Process/Body Shop/Weld.2</title>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("fill=\"#ff8000\""), std::string::npos);
  EXPECT_NE(svg.find("font-weight=\"bold\">. Weld.2<"), std::string::npos) << svg;
  EXPECT_EQ(svg, s.tree->GetSvg());  // the same bytes for the same state

  ASSERT_EQ(s.tree->ResetDecoration(weld), S_OK);
  EXPECT_FALSE(weld->IsDecorated());
  EXPECT_FALSE(weld->GetShadowColor(r, g, b));
  EXPECT_EQ(s.tree->GetText().find("[decorated]"), std::string::npos);
  EXPECT_EQ(s.tree->GetText().find("[shadow"), std::string::npos);
}

TEST(TreeWindow, LocksHoldRedrawsUntilTheLastUnlock) {
  TreeSession s;
  const int before = s.tree->RedrawCount();
  s.tree->LockGraphUpdates();
  s.tree->LockGraphUpdates();
  s.tree->ExpandNode(s.tree->GetRootNodes().front(), 2);
  s.tree->MakeNodeVisible(s.Node("Process/Paint"));
  s.tree->UnlockGraphUpdates();
  EXPECT_EQ(s.tree->RedrawCount(), before);
  s.tree->UnlockGraphUpdates();
  EXPECT_EQ(s.tree->RedrawCount(), before + 1);
  s.tree->UnlockGraphUpdates();  // one too many: nothing
  s.tree->LockGraphUpdates();
  s.tree->UnlockGraphUpdates();  // nothing changed: no redraw
  EXPECT_EQ(s.tree->RedrawCount(), before + 1);
  EXPECT_EQ(s.tree->LockCount(), 0);
}

TEST(TreeWindow, FollowsTheModelKeepingTheStateOfWhatStays) {
  TreeSession s;
  auto weld = s.Node("Process/Body Shop/Weld.2");
  s.tree->MakeNodeVisible(weld);
  s.tree->ShowDecoration(s.Node("Process/Body Shop"));
  auto shop = std::dynamic_pointer_cast<HostActivity>(s.At("Process/Body Shop"));
  auto w2 = std::dynamic_pointer_cast<HostActivity>(s.At("Process/Body Shop/Weld.2"));
  s.doc->RemoveActivity(w2);
  s.doc->CreateActivity(shop, "PhysicalActivity", "", "Weld.3");
  EXPECT_EQ(s.tree->GetText(),
            "  nodes made 8\n"
            "  - Process\n"
            "    - Body Shop [decorated]\n"
            "      . Weld.1\n"
            "      . Weld.3\n"
            "    . Paint\n"
            "  + Products\n"
            "  + Resources\n"
            "  . Assemblies\n");
  EXPECT_FALSE(s.tree->GetVisibleNode());  // its object went away
  EXPECT_TRUE(s.tree->GetAssociatedNodes(w2).empty());
  EXPECT_EQ(s.tree->ExpandNode(weld, 1), E_FAIL);  // a dropped node is no node of the window
}

TEST(TreeWindow, ProductsResourcesAndBehavioursAndAProductInAnAssembly) {
  TreeSession s;
  auto assembly = s.doc->CreateAssembly("", "DoorAssy");
  assembly->AddPart(s.At("Products/Door.1/Hinge.1"));
  ASSERT_TRUE(query<OrvIResourceBehaviorManager>(s.At("Resources/Station.1/Robot.1"))->CreateBehavior());
  s.Node("Assemblies/DoorAssy/Hinge.1");
  s.Node("Products/Door.1/Hinge.1");
  s.tree->ExpandNode(s.Node("Resources/Station.1"), 2);
  // Display order: the product tree comes before the assemblies.
  auto hinge = s.tree->GetAssociatedNodes(s.At("Products/Door.1/Hinge.1"));
  ASSERT_EQ(hinge.size(), 2u);
  EXPECT_EQ(hinge[0]->GetFatherNode()->GetFatherNode()->GetDepth(), 0);
  EXPECT_TRUE(SameObject(hinge[1]->GetFatherNode()->GetObject(), assembly));
  // A resource's behaviour stands after its child resources.
  auto robot = s.Node("Resources/Station.1/Robot.1");
  ASSERT_EQ(robot->GetChildNodes().size(), 1u);
  EXPECT_TRUE(query<OrvIResourceBehavior>(robot->GetChildNodes()[0]->GetObject()));
  s.tree->MakeNodeVisible(robot->GetChildNodes()[0]);
  EXPECT_EQ(s.tree->GetText(),
            "  nodes made 11\n"
            "  + Process\n"
            "  + Products\n"
            "  - Resources\n"
            "    - Station.1\n"
            "      - Robot.1\n"
            "        . Robot.1 Behavior [visible]\n"
            "  + Assemblies\n");
}

TEST(TreeWindow, ExpandingToADeepActivityOfALargePlantMakesFewNodes) {
  PlantSpec spec;
  spec.activities = 100000;
  spec.products = 1000;
  spec.resources = 100;
  TreeSession s(GeneratePlant(spec));
  // The deepest activity, found through the model, then opened level by level.
  auto root = s.doc->Process().roots_.front();
  Ref<HostActivity> deep = root;
  while (!deep->Children().empty()) deep = deep->Children().back();
  std::vector<Ref<HostActivity>> line;
  for (auto a = deep; a; a = a->FatherActivity()) line.insert(line.begin(), a);
  Ref<TavIPPRTreeNode> node = s.tree->GetRootNodes().front();
  std::size_t siblings = 0;
  for (std::size_t i = 1; i < line.size(); ++i) {
    ASSERT_EQ(s.tree->ExpandNode(node, 1), S_OK);
    siblings += line[i - 1]->Children().size();
    auto found = s.tree->GetAssociatedNodes(line[i]);
    ASSERT_EQ(found.size(), 1u);
    node = found.front();
  }
  EXPECT_EQ(s.tree->NodeCount(), 4 + siblings);
  EXPECT_LT(s.tree->NodeCount(), spec.activities / 4);
}

TEST(TreeWindow, AVeryDeepChainIsMadeShownAndReleasedWithoutRecursion) {
  auto doc = LoadPlantText(kTreePlant);
  Ref<HostActivity> at = std::dynamic_pointer_cast<HostActivity>(doc->Resolve("Process/Paint").GetLeaf());
  for (int i = 0; i < 5000; ++i) at = doc->CreateActivity(at, "PhysicalActivity", "", "Step");
  {
    TreeSession s(doc);
    auto node = s.tree->GetRootNodes().front();
    ASSERT_EQ(s.tree->ExpandNode(node, 6000), S_OK);
    auto last = s.tree->GetAssociatedNodes(at);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0]->GetDepth(), 5001);
    EXPECT_EQ(s.tree->MakeNodeVisible(last[0]), S_OK);
    EXPECT_NE(s.tree->GetText().find("[visible]"), std::string::npos);
  }  // the window and its 5000-deep chain of nodes go here
}

}  // namespace
