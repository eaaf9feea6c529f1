// `window tree` and `tree expand|collapse`: the PPR tree windows of the layout.
#include "ScriptTree.h"

#include <ostream>

#include "HostScript.h"
#include "HostWindows.h"
#include "PPRTreeWindow.h"
#include "ScriptTable.h"

namespace host {

namespace {

std::string Join(const ScriptWords& w) {
  std::string s;
  for (std::size_t i = 0; i < w.size(); ++i) s += (i ? " " : "") + w[i];
  return s;
}

bool OpenTree(ScriptRunner& r, const ScriptWords&, std::string& err) {
  auto editor = r.Editor(err);
  if (!editor) return false;
  auto w = OpenTreeWindow(editor);
  r.Out() << "window " << w->GetBaseName().utf8() << " opened\n";
  return true;
}

// The node at a path of node texts in the current window, which must be a tree.
Ref<PPRTreeNode> CurrentTreeNode(const ScriptWords& a, Ref<PPRTreeWindow>& tree, std::string& err) {
  auto current = HostWindows::Get().Current();
  tree = std::dynamic_pointer_cast<PPRTreeWindow>(current);
  if (!tree) {
    err = current ? "the current window " + current->GetBaseName().utf8() + " is no PPR tree (window tree)"
                  : std::string("no window is current (window tree)");
    return nullptr;
  }
  return tree->ResolveNode(Join(a), err);
}

bool Expand(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  Ref<PPRTreeWindow> tree;
  auto node = CurrentTreeNode(a, tree, err);
  if (!node) return false;
  tree->ExpandNode(node, 1);
  r.Out() << "expanded " << Join(a) << '\n';
  return true;
}

bool Collapse(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  Ref<PPRTreeWindow> tree;
  auto node = CurrentTreeNode(a, tree, err);
  if (!node) return false;
  tree->CollapseNode(node);
  r.Out() << "collapsed " << Join(a) << '\n';
  return true;
}

void AddTreeStatements(ScriptTable& t) {
  t.AddSub("window", {"tree", {}, "open a PPR tree window on the current plant",
                      "Opens a PPR tree window (\"PPR Tree.1\") on the current plant: its processes,\n"
                      "products, resources and assemblies, folded. Nodes are made as they are\n"
                      "expanded. `print window` shows the shown nodes, one a line: \"-\" expanded,\n"
                      "\"+\" folded, \".\" no children, and the marks [decorated], [shadow #rrggbb],\n"
                      "[visible] (the node scrolled to) and [selected] (in the current selection).\n"
                      "Example:\n  window tree\n  print window PPR Tree.1",
                      OpenTree});
  t.Add({"tree", {}, "expand and fold nodes of the current PPR tree window",
         "Works on the current window, which must be a PPR tree (window tree). Nodes are\n"
         "named by their texts from a root; expanding makes the node's children.\n"
         "Example:\n  window tree\n  tree expand Resources/Station.20\n  tree collapse Resources",
         nullptr,
         {{"expand", {{"NODEPATH", ArgKind::Text}}, "show the children of a node",
           "NODEPATH names the node by the texts from a root: \"Process/Body Shop\",\n"
           "\"Resources/Station.20\".\nExample:\n  tree expand Process/Body Shop",
           Expand},
          {"collapse", {{"NODEPATH", ArgKind::Text}}, "fold a node", {}, Collapse}}});
}

}  // namespace

void RegisterTreeStatements() { AddScriptStatements(AddTreeStatements); }

}  // namespace host
