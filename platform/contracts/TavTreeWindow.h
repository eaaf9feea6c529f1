#pragma once
// The PPR tree window (a layout window of kind TavNewInventorySpaceWnd): the tree of
// an editor's plant (its processes, products, resources and assemblies), made node
// by node as it is expanded, and the decorations commands put on nodes to show an
// object. Commands reach it through its navigation box (what the user sees: the
// visible node) and its controller (nodes, their expansion and decorations).
#include <functional>

#include "TavGantt.h"

// One node of the tree. A node is virtual while its object has children that have
// no nodes yet; expanding it makes them.
class TavIPPRTreeNode : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIPPRTreeNode);
  virtual Ref<TavBaseUnknown> GetObject() const = 0;
  virtual Ref<TavIPPRTreeNode> GetFatherNode() const = 0;  // null at a root
  // The children made so far, in the object's order (none while virtual).
  virtual std::vector<Ref<TavIPPRTreeNode>> GetChildNodes() const = 0;
  virtual bool IsVirtual() const = 0;
  virtual bool IsExpanded() const = 0;  // its children are shown
  virtual int GetDepth() const = 0;     // 0 at a root
  virtual bool IsDecorated() const = 0;
  // False when it has no shadow colour.
  virtual bool GetShadowColor(int& r, int& g, int& b) const = 0;
};

// The nodes of a tree window and their expansion. None of it changes the model.
class TavIPPRTreeController : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIPPRTreeController);
  virtual std::vector<Ref<TavIPPRTreeNode>> GetRootNodes() const = 0;
  // The nodes made so far that stand for the object, in display order (a product
  // stands under its father and under the assemblies holding it). Nothing is made.
  virtual std::vector<Ref<TavIPPRTreeNode>> GetAssociatedNodes(const Ref<TavBaseUnknown>& object) const = 0;
  // Makes a virtual node's children, shown or not as the node was. S_FALSE when it
  // is not virtual, E_FAIL for a node of another window.
  virtual HRESULT ExpandVirtualNode(const Ref<TavIPPRTreeNode>& node) = 0;
  // Shows `depth` levels below the node, making what they need. In fixed-depth mode
  // the levels below those are folded; otherwise they keep their state.
  virtual HRESULT ExpandNode(const Ref<TavIPPRTreeNode>& node, int depth) = 0;
  virtual HRESULT CollapseNode(const Ref<TavIPPRTreeNode>& node) = 0;
  virtual void SetFixedDepthMode(bool on) = 0;
  virtual bool IsFixedDepthMode() const = 0;
  // Between a lock and its unlock the window is not redrawn; the last unlock redraws
  // it once when something changed. Locks nest. The first lock brings the nodes made
  // so far up to the model, so a run of operations works on the plant as it is.
  virtual void LockGraphUpdates() = 0;
  virtual void UnlockGraphUpdates() = 0;
  // Decorations: a frame around the node and a shadow colour behind it. E_FAIL for a
  // node of another window.
  virtual HRESULT ShowDecoration(const Ref<TavIPPRTreeNode>& node) = 0;
  virtual HRESULT SetShadowColor(const Ref<TavIPPRTreeNode>& node, int r, int g, int b) = 0;
  // No decoration and no shadow colour.
  virtual HRESULT ResetDecoration(const Ref<TavIPPRTreeNode>& node) = 0;
};

// What the user sees of the tree: the node scrolled to.
class TavIPPRNavigBox : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIPPRNavigBox);
  // Expands the node's ancestors and scrolls to it. E_FAIL for a node of another window.
  virtual HRESULT MakeNodeVisible(const Ref<TavIPPRTreeNode>& node) = 0;
  virtual Ref<TavIPPRTreeNode> GetVisibleNode() const = 0;  // null before any
};

class TavNewInventorySpaceWnd : public virtual TavFrmWindow {
public:
  TAV_INTERFACE(TavNewInventorySpaceWnd);
  virtual Ref<TavIPPRNavigBox> GetNavigBox() const = 0;
  virtual Ref<TavIPPRTreeController> GetController() const = 0;
  // Opens a tree window on the editor's plant as the current window, its roots
  // shown folded; null when the host cannot (no editor, none installed).
  static Ref<TavNewInventorySpaceWnd> Create(const Ref<TavFrmEditor>& editor);
  using Factory = std::function<Ref<TavNewInventorySpaceWnd>(const Ref<TavFrmEditor>&)>;
  static void InstallFactory(Factory f);  // the host's; an empty one uninstalls
};

void TavDeclareTreeWindowInterfaces();
