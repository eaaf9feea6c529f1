// The comparison's graphical tree: icons a node takes from its children, a node per
// object of each side with the icon of its change, one icon store per tree, and the
// two nodes of a modified pair showing the same icon.
#include <gtest/gtest.h>

#include "ComparePlant.h"

using namespace cmptest;
using Node = OrvVekCompareDlgNavigateObject;

namespace {

int After(int icon, std::initializer_list<int> children) {
  Node n("n", icon);
  for (int c : children) n.AddChild(std::make_unique<Node>("c", c));
  return n.GetIconType();
}

TEST(CompareTreeNode, TakesTheChangeOfItsChildren) {
  EXPECT_EQ(After(Node::NoIcon, {Node::Modified}), Node::ChildModified);
  EXPECT_EQ(After(Node::Modified, {Node::Modified}), Node::ModifiedChildModified);
  EXPECT_EQ(After(Node::NoIcon, {Node::Removed}), Node::ChildAddedOrRemoved);
  EXPECT_EQ(After(Node::NoIcon, {Node::Modified, Node::Removed}), Node::ChildAddedOrRemoved);
  EXPECT_EQ(After(Node::NoIcon, {Node::Added, Node::Modified}), Node::ChildAddedOrRemoved);
  EXPECT_EQ(After(Node::Modified, {Node::Added}), Node::ChangedChildAddedOrRemoved);
  EXPECT_EQ(After(Node::Modified, {Node::Modified, Node::Added}), Node::ChangedChildAddedOrRemoved);
  EXPECT_EQ(After(Node::Removed, {Node::Removed}), Node::ChangedChildAddedOrRemoved);
  EXPECT_EQ(After(Node::Added, {Node::Modified}), Node::Added);
  // A grandchild's change (icons 3 to 6) shows on the child alone.
  EXPECT_EQ(After(Node::NoIcon, {Node::ChildModified, Node::ChangedChildAddedOrRemoved}), Node::NoIcon);
  EXPECT_EQ(After(Node::Modified, {Node::Folder}), Node::Folder);
  EXPECT_STREQ(Node::IconName(Node::ChildAddedOrRemoved), "I_OrvVekCompToolChNewRem");
  EXPECT_STREQ(Node::IconName(Node::Folder), "I_OrvVekCompToolFolder");
  EXPECT_STREQ(Node::IconName(8), "");
}

const Node* Child(const Node& n, const std::string& text) {
  for (auto& c : n.Children())
    if (c->GetIdentifier() == text) return c.get();
  return nullptr;
}

TEST_F(CompareTest, EachSideHasItsTreeWithTheIconsOfItsChanges) {
  Version a, b;
  // Model numbers run per document: B's unchanged "Keep" has the number of A's
  // removed "Gone", and must not take its icon.
  a.Act("gone", "Gone");
  a.Act("keep", "Keep");
  b.Act("keep", "Keep");
  auto ga = a.Act("g", "Group"), gb = b.Act("g", "Group v2");
  a.Act("old", "Old", ga);
  b.Act("new", "New", gb);
  auto ca = a.Act("c", "Cell"), cb = b.Act("c", "Cell");
  a.Act("w", "Weld", ca);
  b.Act("w", "Weld v2", cb);
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::AllAttributes, a, b);
  e.buildGraphTree();
  const Node* ta = e.GraphTree(0);
  const Node* tb = e.GraphTree(1);
  ASSERT_TRUE(ta && tb);
  // A: removed "Gone" and modified "Group" below the root: 4.
  EXPECT_EQ(ta->GetIconType(), Node::ChildAddedOrRemoved);
  EXPECT_EQ(Child(*ta, "Gone")->GetIconType(), Node::Removed);
  EXPECT_EQ(Child(*ta, "Keep")->GetIconType(), Node::NoIcon);
  EXPECT_EQ(Child(*tb, "Keep")->GetIconType(), Node::NoIcon);
  // "Group" is modified with an added child in B and a removed one in A: 6 in both.
  EXPECT_EQ(Child(*ta, "Group")->GetIconType(), Node::ChangedChildAddedOrRemoved);
  EXPECT_EQ(Child(*tb, "Group v2")->GetIconType(), Node::ChangedChildAddedOrRemoved);
  EXPECT_EQ(Child(*Child(*tb, "Group v2"), "New")->GetIconType(), Node::Added);
  // An unchanged cell with a modified weld: 3, on both sides.
  EXPECT_EQ(Child(*ta, "Cell")->GetIconType(), Node::ChildModified);
  EXPECT_EQ(Child(*tb, "Cell")->GetIconType(), Node::ChildModified);
  EXPECT_EQ(tb->GetIconType(), Node::ChildModified);
  // Children in model order on each side.
  std::vector<std::string> texts;
  for (auto& c : tb->Children()) texts.push_back(c->GetIdentifier().utf8());
  EXPECT_EQ(texts, (std::vector<std::string>{"Keep", "Group v2", "Cell"}));
}

// Every activity compared has its node, whatever its type: a removed control
// activity shows on its father too.
TEST_F(CompareTest, TreesHoldActivitiesOfEveryType) {
  Version a, b;
  auto ga = a.Act("g", "Group"), gb = b.Act("g", "Group");
  a.Act("start", "Start", ga, "OrIn");
  a.Act("w", "Weld", ga);
  b.Act("w", "Weld", gb);
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::AllAttributes, a, b);
  e.buildGraphTree();
  const Node* group = Child(*e.GraphTree(0), "Group");
  ASSERT_TRUE(group);
  ASSERT_TRUE(Child(*group, "Start"));
  EXPECT_EQ(Child(*group, "Start")->GetIconType(), Node::Removed);
  EXPECT_EQ(group->GetIconType(), Node::ChildAddedOrRemoved);
}

TEST_F(CompareTest, AProcessDeeperThanTheCallStackMakesItsTree) {
  Version a, b;
  Ref<HostActivity> fa, fb;
  for (int i = 0; i < 20000; ++i) {
    fa = a.Act("a" + std::to_string(i), "Step", fa);
    fb = b.Act("a" + std::to_string(i), i == 19999 ? "Last" : "Step", fb);
  }
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::AllAttributes, a, b);
  e.buildGraphTree();
  const Node* n = e.GraphTree(1);
  int depth = 0;
  while (!n->Children().empty()) {
    n = n->Children().front().get();
    ++depth;
  }
  EXPECT_EQ(depth, 20000);
  EXPECT_EQ(n->GetIconType(), Node::Modified);
}

}  // namespace

namespace {

std::vector<std::string> Row(int kind, int code) {
  std::vector<std::string> out;
  for (auto& cell : E::ModifiedRow(kind, "Op", code, "XXX")) out.push_back(cell.utf8());
  return out;
}

TEST(CompareModifiedList, ColumnsPerKindMarkTheirBitsOnly) {
  using V = std::vector<std::string>;
  // A father change marks "EC04" alone; a product's fastener "EC07".
  EXPECT_EQ(Row(E::Activities, E::ModFather), (V{"Op", " ", " ", " ", "XXX", " ", " "}));
  EXPECT_EQ(Row(E::Products, E::ModFasteners), (V{"Op", " ", " ", " ", "XXX"}));
  EXPECT_EQ(Row(E::Resources, E::ModAttributes | E::ModChildren | E::ModSequence), (V{"Op", "XXX", " ", "XXX"}));
  EXPECT_EQ(Row(E::ManufacturedAssemblies, 0), (V{"Op", " ", " ", " "}));
  std::vector<std::string> keys;
  for (auto& c : E::ModifiedColumns(E::Products)) keys.push_back(c.key);
  EXPECT_EQ(keys, (V{"ModifiedActivities", "EC01", "EC04", "EC05", "EC07"}));
}

TEST_F(CompareTest, EveryModifiedColumnTitleAndTheMarkHaveTexts) {
  for (int kind : {E::Activities, E::Products, E::Resources, E::ManufacturedAssemblies, E::Fasteners})
    for (auto& c : E::ModifiedColumns(kind)) EXPECT_TRUE(TavMsgCatalog::HasKey("OrvVekCompareDlgBase", c.key)) << c.key;
  EXPECT_TRUE(TavMsgCatalog::HasKey("OrvVekCompareDlgBase", "XXX"));
}

}  // namespace
