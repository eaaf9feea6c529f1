#pragma once
// The PPR tree window: a node per shown object of the editor's plant, made when its
// father is expanded (a node whose children are not made yet is virtual), an index
// from objects to their nodes, the decorations and the node scrolled to. Expanding
// down to one activity of a large plant makes the nodes of its ancestors' children
// only.
#include <unordered_map>

#include "HostWindow.h"
#include "TavTreeWindow.h"

namespace host {

class PPRTreeWindow;

class PPRTreeNode final : public virtual TavIPPRTreeNode {
public:
  PPRTreeNode(Ref<TavBaseUnknown> object, PPRTreeNode* father, const PPRTreeWindow* window)
      : object_(std::move(object)), father_(father), window_(window), depth_(father ? father->depth_ + 1 : 0) {}
  ~PPRTreeNode() override;
  std::string LateType() const override { return "PPRTreeNode"; }
  Ref<TavBaseUnknown> GetObject() const override { return object_; }
  Ref<TavIPPRTreeNode> GetFatherNode() const override;
  std::vector<Ref<TavIPPRTreeNode>> GetChildNodes() const override { return {children_.begin(), children_.end()}; }
  bool IsVirtual() const override;
  bool IsExpanded() const override { return expanded_; }
  int GetDepth() const override { return depth_; }
  bool IsDecorated() const override { return decorated_; }
  bool GetShadowColor(int& r, int& g, int& b) const override;

  const std::vector<Ref<PPRTreeNode>>& Children() const { return children_; }
  PPRTreeNode* Father() const { return father_; }
  bool IsBuilt() const { return built_; }
  bool HasShadow() const { return shadow_ >= 0; }
  int Shadow() const { return shadow_; }  // 0xRRGGBB

private:
  friend class PPRTreeWindow;
  Ref<TavBaseUnknown> object_;
  PPRTreeNode* father_;
  const PPRTreeWindow* window_;
  int depth_;
  std::size_t index_ = 0;  // among its father's children (or the roots)
  bool built_ = false, expanded_ = false, decorated_ = false;
  int shadow_ = -1;
  std::vector<Ref<PPRTreeNode>> children_;
};

class PPRTreeWindow final : public HostWindow,
                            public virtual TavNewInventorySpaceWnd,
                            public virtual TavIPPRTreeController,
                            public virtual TavIPPRNavigBox,
                            public virtual TavIWindowPicture {
public:
  static constexpr const char* kKind = "PPR Tree";
  // The roots of the editor's plant, folded. Not in the frame yet (HostWindows::Open).
  PPRTreeWindow(TavUnicodeString baseName, const Ref<HostEditor>& editor);
  ~PPRTreeWindow() override;
  std::string LateType() const override { return "TavNewInventorySpaceWnd"; }

  Ref<TavIPPRNavigBox> GetNavigBox() const override;
  Ref<TavIPPRTreeController> GetController() const override;

  std::vector<Ref<TavIPPRTreeNode>> GetRootNodes() const override { return {roots_.begin(), roots_.end()}; }
  std::vector<Ref<TavIPPRTreeNode>> GetAssociatedNodes(const Ref<TavBaseUnknown>& object) const override;
  HRESULT ExpandVirtualNode(const Ref<TavIPPRTreeNode>& node) override;
  HRESULT ExpandNode(const Ref<TavIPPRTreeNode>& node, int depth) override;
  HRESULT CollapseNode(const Ref<TavIPPRTreeNode>& node) override;
  void SetFixedDepthMode(bool on) override { fixedDepth_ = on; }
  bool IsFixedDepthMode() const override { return fixedDepth_; }
  void LockGraphUpdates() override;
  void UnlockGraphUpdates() override;

  HRESULT MakeNodeVisible(const Ref<TavIPPRTreeNode>& node) override;
  Ref<TavIPPRTreeNode> GetVisibleNode() const override;
  HRESULT ShowDecoration(const Ref<TavIPPRTreeNode>& node) override;
  HRESULT SetShadowColor(const Ref<TavIPPRTreeNode>& node, int r, int g, int b) override;
  HRESULT ResetDecoration(const Ref<TavIPPRTreeNode>& node) override;

  // The shown nodes, one line each (PPRTreePicture.cpp).
  std::string GetText() const override;
  std::string GetSvg() const override;

  // Brings the nodes made so far up to the model: nodes of objects gone are dropped,
  // new children get (virtual) nodes; what stays keeps its state.
  void Sync();
  std::size_t NodeCount() const { return count_; }
  int RedrawCount() const { return redraws_; }
  int LockCount() const { return locks_; }
  // The node at a path of node texts from a root ("Process/Body Shop"), making what
  // it needs; null with `error` naming the missing segment.
  Ref<PPRTreeNode> ResolveNode(const std::string& path, std::string& error);

private:
  // The node when it is one of this window's, else null.
  PPRTreeNode* Own(const Ref<TavIPPRTreeNode>& node) const;
  Ref<PPRTreeNode> RefOf(PPRTreeNode* n) const;
  void Build(PPRTreeNode& node);
  // Makes `list` stand for `objects` under `father`, keeping the nodes of objects
  // still there (in order of first appearance).
  void Reconcile(std::vector<Ref<PPRTreeNode>>& list, PPRTreeNode* father, const std::vector<Ref<TavBaseUnknown>>& objects);
  Ref<PPRTreeNode> MakeNode(const Ref<TavBaseUnknown>& object, PPRTreeNode* father);
  void Forget(PPRTreeNode& subtree);  // takes a subtree out of the index
  void Changed();

  std::vector<Ref<PPRTreeNode>> roots_;
  std::unordered_map<const void*, std::vector<PPRTreeNode*>> byObject_;
  PPRTreeNode* visible_ = nullptr;
  std::size_t count_ = 0;
  bool fixedDepth_ = false, dirty_ = false;
  int locks_ = 0, redraws_ = 0;
};

// Opens a tree window on the editor's plant as the current window.
Ref<PPRTreeWindow> OpenTreeWindow(const Ref<HostEditor>& editor);

}  // namespace host
