// The navigation box over fake node objects: children, texts, looks, redraw,
// the cycle guard, paths and the dump.
#include <gtest/gtest.h>

#include "TavNavigBox.h"

namespace {

// A navigable object; children are held weakly so that tests can build cycles.
class FakeNode : public TavINavigateObjectActivity {
public:
  FakeNode(std::string text, std::string lateType) : text_(std::move(text)), lateType_(std::move(lateType)) {}
  std::string LateType() const override { return lateType_; }
  std::vector<TavUnicodeString> GetIdentificators() const override {
    if (text_.empty()) return {};
    return {text_};
  }
  std::vector<Ref<TavBaseUnknown>> GetChildren() const override {
    std::vector<Ref<TavBaseUnknown>> out;
    for (auto& c : children_) out.push_back(c.lock());
    return out;
  }
  std::vector<std::weak_ptr<TavBaseUnknown>> children_;
  std::string text_, lateType_;
};

// An object that sets its own look.
class IconNode : public FakeNode, public TavINavigModify {
public:
  using FakeNode::FakeNode;
  void UpdateElem(TavNavigNode& node) override {
    if (!icon_.empty()) node.SetIconName(icon_);
  }
  std::string icon_;
};

// The modify extension registered for "NavLib_node": icon "L_" + the node's text.
class LibNodeModify : public TavINavigModify {
public:
  void UpdateElem(TavNavigNode& node) override { node.SetIconName("L_" + node.GetText().utf8()); }
};

class NavigBoxTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    TavExtensionRegistry::Get().Register("NavLib_node", TavINavigModify::kInterfaceName,
                                         [](const Ref<TavBaseUnknown>&) { return std::make_shared<LibNodeModify>(); });
  }
  template <class T = FakeNode>
  Ref<T> Make(std::string text, std::string lateType = "NavType") {
    auto n = std::make_shared<T>(std::move(text), std::move(lateType));
    all_.push_back(n);
    return n;
  }
  static void Link(const Ref<FakeNode>& father, std::initializer_list<Ref<FakeNode>> children) {
    for (auto& c : children) father->children_.push_back(c);
  }
  std::string Dump() {
    std::string out;
    box_.Dump(out, 0);
    return out;
  }
  std::vector<Ref<TavBaseUnknown>> all_;
  TavDlgNavigBox box_{nullptr, "Tree"};
};

TEST_F(NavigBoxTest, NodesTakeChildrenTextsAndLateTypesFromTheirObjects) {
  auto lib = Make("/plants/body.act", "NavLib");
  auto weld = Make("Weld"), spot = Make("SpotWeld"), leaf = Make("Leaf");
  auto nameless = Make("", "");
  Link(lib, {weld, leaf, nameless});
  Link(weld, {spot});
  box_.AddRoot(lib);

  ASSERT_EQ(box_.Roots().size(), 1u);
  const TavNavigNode& root = *box_.Roots()[0];
  EXPECT_EQ(root.LateType(), "NavLib_node");
  EXPECT_EQ(root.GetText().utf8(), "/plants/body.act");
  ASSERT_EQ(root.Children().size(), 3u);
  EXPECT_EQ(root.Children()[0]->GetText().utf8(), "Weld");
  EXPECT_EQ(root.Children()[0]->Children()[0]->GetText().utf8(), "SpotWeld");
  EXPECT_EQ(root.Children()[0]->GetFather(), &root);
  EXPECT_TRUE(root.Children()[1]->Children().empty());
  // No identificators: empty text; no late type: "Object_node".
  EXPECT_TRUE(root.Children()[2]->GetText().IsEmpty());
  EXPECT_EQ(root.Children()[2]->LateType(), "Object_node");
  EXPECT_EQ(box_.GetNodeCount(), 5);
}

TEST_F(NavigBoxTest, AnObjectWithoutNavigationIsALeafWithoutText) {
  struct Plain : TavBaseUnknown {};
  Ref<TavBaseUnknown> plain = std::make_shared<Plain>();
  box_.AddRoot(plain);
  ASSERT_EQ(box_.Roots().size(), 1u);
  EXPECT_TRUE(box_.Roots()[0]->Children().empty());
  EXPECT_TRUE(box_.Roots()[0]->GetText().IsEmpty());
  box_.AddRoot(nullptr);  // nothing to show
  EXPECT_EQ(box_.Roots().size(), 1u);
}

TEST_F(NavigBoxTest, LooksComeFromTheNodeExtensionElseTheObjectElseDefault) {
  auto lib = Make<IconNode>("lib.act", "NavLib");
  lib->icon_ = "I_Object";  // the node's own extension wins over this
  auto typed = Make<IconNode>("Weld");
  typed->icon_ = "I_Weld";
  auto plain = Make("Plain");
  Link(lib, {typed, plain});
  box_.AddRoot(lib);
  const TavNavigNode& root = *box_.Roots()[0];
  EXPECT_EQ(root.GetIconName().utf8(), "L_lib.act");
  EXPECT_EQ(root.Children()[0]->GetIconName().utf8(), "I_Weld");
  EXPECT_TRUE(root.Children()[1]->GetIconName().IsEmpty());

  // A redraw asks again: an object that no longer sets a look gets the default.
  typed->icon_.clear();
  box_.Redraw();
  EXPECT_TRUE(box_.Roots()[0]->Children()[0]->GetIconName().IsEmpty());
}

TEST_F(NavigBoxTest, RedrawKeepsExpansionAndSelectionOfNodesStillInPlace) {
  auto lib = Make("lib", "NavLib");
  auto a = Make("A"), b = Make("B"), a1 = Make("A1"), b1 = Make("B1");
  Link(lib, {a, b});
  Link(a, {a1});
  Link(b, {b1});
  box_.AddRoot(lib);
  box_.Expand(*box_.Roots()[0]);
  box_.ShowNode(*box_.FindNode(b1));  // expands B too

  // B moves before A, C arrives: B and A keep their expansion, C is collapsed.
  auto c = Make("C");
  Link(c, {Make("C1")});
  lib->children_ = {b, a, c};
  box_.Redraw();
  const TavNavigNode& root = *box_.Roots()[0];
  EXPECT_TRUE(root.IsExpanded());
  EXPECT_TRUE(root.Children()[0]->IsExpanded());   // B
  EXPECT_FALSE(root.Children()[1]->IsExpanded());  // A
  EXPECT_FALSE(root.Children()[2]->IsExpanded());  // C
  ASSERT_NE(box_.GetSelected(), nullptr);
  EXPECT_EQ(box_.GetSelected()->GetObject(), b1);
  EXPECT_EQ(box_.ValueText(), "lib/B/B1");

  // B1 moves under A: another place, so no selection, and B stays expanded.
  b->children_.clear();
  a->children_.push_back(b1);
  box_.Redraw();
  EXPECT_EQ(box_.GetSelected(), nullptr);
  EXPECT_EQ(box_.ValueText(), "");
  EXPECT_TRUE(box_.Roots()[0]->Children()[0]->IsExpanded());
}

TEST_F(NavigBoxTest, RemovingRootsDropsTheirSelection) {
  auto r1 = Make("R1"), r2 = Make("R2"), x = Make("X");
  Link(r1, {x});
  box_.AddRoot(r1);
  box_.AddRoot(r2);
  box_.ShowNode(*box_.FindNode(x));
  box_.RemoveRoot(r2);
  EXPECT_NE(box_.GetSelected(), nullptr);
  box_.RemoveRoot(r1);
  EXPECT_EQ(box_.GetSelected(), nullptr);
  ASSERT_EQ(box_.Roots().size(), 0u);
  box_.AddRoot(r1);
  box_.RemoveAllRoots();
  EXPECT_TRUE(box_.Roots().empty());
}

TEST_F(NavigBoxTest, AnObjectOnItsOwnAncestorLineGetsNoChildren) {
  auto a = Make("A"), b = Make("B"), self = Make("Self"), shared = Make("Shared");
  Link(a, {b, self});
  Link(b, {a, shared});  // A -> B -> A
  Link(self, {self, shared});
  box_.AddRoot(a);
  box_.ExpandAll();
  // An object reached twice on separate lines (Shared) is no cycle.
  EXPECT_EQ(Dump(),
            "navigbox Tree style ObjNavDefault 250x300\n"
            "  - A [default]\n"
            "    - B [default]\n"
            "      . A [default] (cycle)\n"
            "      . Shared [default]\n"
            "    - Self [default]\n"
            "      . Self [default] (cycle)\n"
            "      . Shared [default]\n");
  box_.Redraw();  // the guard holds on redraw as well
  EXPECT_EQ(box_.GetNodeCount(), 7);
}

TEST_F(NavigBoxTest, ADeepChainIsBuiltWithoutRecursion) {
  std::vector<Ref<FakeNode>> chain;
  for (int i = 0; i < 20000; ++i) {
    chain.push_back(Make("n" + std::to_string(i)));
    if (i) Link(chain[static_cast<std::size_t>(i) - 1], {chain.back()});
  }
  box_.AddRoot(chain.front());
  box_.ExpandAll();
  box_.Redraw();
  EXPECT_EQ(box_.GetNodeCount(), 20000);
  EXPECT_TRUE(box_.FindNode(chain.back())->IsExpanded());
}

TEST_F(NavigBoxTest, PathsNameNodesByTextOrByFileName) {
  auto lib = Make("/plants/body.act", "NavLib"), other = Make("/old/body.act.bak", "NavLib");
  auto weld = Make("Weld"), spot = Make("Spot"), twin1 = Make("Twin"), twin2 = Make("Twin"), slash = Make("a/b");
  auto back = Make("c\\");
  Link(lib, {weld, twin1, twin2, slash, back});
  Link(weld, {spot});
  box_.AddRoot(lib);
  box_.AddRoot(other);
  box_.AddRoot(Make("/a/x.act", "NavLib"));
  box_.AddRoot(Make("/b/x.act", "NavLib"));

  std::vector<Ref<TavBaseUnknown>> objects;
  std::string err;
  ASSERT_TRUE(box_.ResolvePath("body.act/Weld/Spot", objects, &err)) << err;
  ASSERT_EQ(objects.size(), 3u);
  EXPECT_EQ(objects[0], lib);
  EXPECT_EQ(objects[2], spot);
  ASSERT_TRUE(box_.ResolvePath("/plants/body.act", objects, &err) == false);  // a "/" splits the path
  ASSERT_TRUE(box_.ResolvePath("\\/plants\\/body.act/a\\/b", objects, &err)) << err;
  EXPECT_EQ(objects.back(), slash);
  ASSERT_TRUE(box_.ResolvePath("body.act/c\\\\", objects, &err)) << err;
  EXPECT_EQ(objects.back(), back);
  // The resolved path is the one the selection shows.
  box_.ShowNode(*box_.ResolveNode("body.act/a\\/b", &err));
  EXPECT_EQ(box_.ValueText(), "\\/plants\\/body.act/a\\/b");

  struct Case {
    const char* path;
    const char* error;
  } cases[] = {
      {"body.act/Welding", "navigation box Tree: no node 'Welding' under 'body.act'"},
      {"act", "navigation box Tree: no node 'act'"},  // a file name, not any ending
      {"body.act/Twin", "navigation box Tree: 2 nodes match 'Twin' under 'body.act'"},
      {"x.act/Weld", "navigation box Tree: 2 nodes match 'x.act': '/a/x.act' and '/b/x.act'"},
      {"body.act//Weld", "navigation box Tree: empty name in path 'body.act//Weld'"},
      {"", "navigation box Tree: empty name in path ''"},
  };
  for (auto& c : cases) {
    objects.clear();
    err.clear();
    EXPECT_FALSE(box_.ResolvePath(c.path, objects, &err)) << c.path;
    EXPECT_EQ(err, c.error);
    EXPECT_TRUE(objects.empty());
  }

  // An exact text wins over a file-name match.
  auto exact = Make("body.act", "NavLib");
  box_.AddRoot(exact);
  ASSERT_TRUE(box_.ResolvePath("body.act", objects, &err));
  EXPECT_EQ(objects[0], exact);
}

TEST_F(NavigBoxTest, ShowNodeExpandsAncestorsAndSetValueSelectsByPath) {
  auto lib = Make("lib", "NavLib"), a = Make("A"), a1 = Make("A1"), dup = Make("Dup");
  Link(lib, {a, dup});
  Link(a, {a1, dup});
  box_.AddRoot(lib);
  // The first node in display order: under A, before lib's own child.
  TavNavigNode* found = box_.FindNode(dup);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->GetFather()->GetObject(), a);
  EXPECT_EQ(box_.FindNode(Make("Elsewhere")), nullptr);

  std::string err;
  ASSERT_TRUE(box_.SetValueFromText("lib/A/A1", &err)) << err;
  EXPECT_TRUE(box_.Roots()[0]->IsExpanded());
  EXPECT_TRUE(box_.Roots()[0]->Children()[0]->IsExpanded());
  EXPECT_FALSE(box_.GetSelected()->IsExpanded());
  EXPECT_FALSE(box_.SetValueFromText("lib/B", &err));
  EXPECT_EQ(err, "navigation box Tree: no node 'B' under 'lib'");
  EXPECT_EQ(box_.ValueText(), "lib/A/A1");  // a bad path leaves the selection

  box_.Expand(*box_.Roots()[0]->Children()[1]);
  EXPECT_TRUE(box_.Roots()[0]->Children()[1]->IsExpanded());
}

TEST_F(NavigBoxTest, DumpShowsTheWholeTreeInAStableNotation) {
  TavDlgDialog dlg(nullptr, "AddActivityDialog");
  auto* frame = dlg.Add<TavDlgFrame>("ListFrame");
  auto* box = frame->Add<TavDlgNavigBox>("ActivityTreeView", "ObjNavDefault", 250, 300);
  auto lib = Make("/p/body.act", "NavLib");
  auto weld = Make<IconNode>("Weld"), spot = Make<IconNode>("SpotWeld");
  auto leaf = Make("Leaf"), nameless = Make("");
  weld->icon_ = "I_Weld";
  spot->icon_ = "I_Spot";
  Link(lib, {weld, leaf, nameless});
  Link(weld, {spot});
  Link(spot, {Make("Deep")});
  box->AddRoot(lib);
  box->Expand(*box->Roots()[0]);
  box->ShowNode(*box->Roots()[0]->Children()[1]);
  EXPECT_EQ(dlg.DumpText(),
            "dialog AddActivityDialog [hidden]\n"
            "  frame ListFrame\n"
            "    navigbox ActivityTreeView style ObjNavDefault 250x300\n"
            "      - /p/body.act [L_/p/body.act]\n"
            "        + Weld [I_Weld]\n"
            "          + SpotWeld [I_Spot]\n"
            "            . Deep [default]\n"
            "        . Leaf [default] (selected)\n"
            "        . \"\" [default]\n");
}

}  // namespace
