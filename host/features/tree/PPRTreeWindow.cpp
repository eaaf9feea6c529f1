#include "PPRTreeWindow.h"

#include <algorithm>

#include "HostWindows.h"
#include "TreeObjects.h"
#include "TavPathText.h"

namespace host {

// Releases the subtree without recursion: a deep chain must not exhaust the stack.
// A node still held elsewhere (by a command) forgets its father, which goes now.
PPRTreeNode::~PPRTreeNode() {
  std::vector<Ref<PPRTreeNode>> work = std::move(children_);
  while (!work.empty()) {
    Ref<PPRTreeNode> n = std::move(work.back());
    work.pop_back();
    if (!n) continue;  // moved out by an ancestor's release
    if (n.use_count() == 1) {
      for (auto& c : n->children_) work.push_back(std::move(c));
    } else {
      n->father_ = nullptr;
    }
  }
}

Ref<TavIPPRTreeNode> PPRTreeNode::GetFatherNode() const {
  return father_ ? Ref<TavIPPRTreeNode>(father_->self(), father_) : nullptr;
}

bool PPRTreeNode::IsVirtual() const { return !built_ && HasTreeChildren(object_); }

bool PPRTreeNode::GetShadowColor(int& r, int& g, int& b) const {
  if (shadow_ < 0) return false;
  r = (shadow_ >> 16) & 0xff;
  g = (shadow_ >> 8) & 0xff;
  b = shadow_ & 0xff;
  return true;
}

PPRTreeWindow::PPRTreeWindow(TavUnicodeString baseName, const Ref<HostEditor>& editor)
    : HostWindow(std::move(baseName), editor) {
  if (editor) Reconcile(roots_, nullptr, TreeRoots(*editor->Document()));
}

PPRTreeWindow::~PPRTreeWindow() {
  // Nodes a command still holds must not pass for another window's.
  std::vector<PPRTreeNode*> work;
  for (auto& r : roots_) work.push_back(r.get());
  while (!work.empty()) {
    PPRTreeNode* n = work.back();
    work.pop_back();
    n->window_ = nullptr;
    for (auto& c : n->children_) work.push_back(c.get());
  }
}

// The window is its own navigation box and controller.
Ref<TavIPPRNavigBox> PPRTreeWindow::GetNavigBox() const {
  auto* me = const_cast<PPRTreeWindow*>(this);
  return Ref<TavIPPRNavigBox>(me->self(), me);
}

Ref<TavIPPRTreeController> PPRTreeWindow::GetController() const {
  auto* me = const_cast<PPRTreeWindow*>(this);
  return Ref<TavIPPRTreeController>(me->self(), me);
}

PPRTreeNode* PPRTreeWindow::Own(const Ref<TavIPPRTreeNode>& node) const {
  auto* n = dynamic_cast<PPRTreeNode*>(node.get());
  return n && n->window_ == this ? n : nullptr;
}

Ref<PPRTreeNode> PPRTreeWindow::RefOf(PPRTreeNode* n) const { return n ? Ref<PPRTreeNode>(n->self(), n) : nullptr; }

Ref<PPRTreeNode> PPRTreeWindow::MakeNode(const Ref<TavBaseUnknown>& object, PPRTreeNode* father) {
  auto n = std::make_shared<PPRTreeNode>(object, father, this);
  byObject_[TreeIdentity(object)].push_back(n.get());
  ++count_;
  return n;
}

void PPRTreeWindow::Forget(PPRTreeNode& subtree) {
  subtree.father_ = nullptr;
  std::vector<PPRTreeNode*> work{&subtree};
  while (!work.empty()) {
    PPRTreeNode* n = work.back();
    work.pop_back();
    auto it = byObject_.find(TreeIdentity(n->object_));
    if (it != byObject_.end()) {
      std::erase(it->second, n);
      if (it->second.empty()) byObject_.erase(it);
    }
    --count_;
    if (visible_ == n) visible_ = nullptr;
    n->window_ = nullptr;
    for (auto& c : n->children_) work.push_back(c.get());
  }
}

void PPRTreeWindow::Reconcile(std::vector<Ref<PPRTreeNode>>& list, PPRTreeNode* father,
                              const std::vector<Ref<TavBaseUnknown>>& objects) {
  const bool same = list.size() == objects.size() &&
                    std::equal(list.begin(), list.end(), objects.begin(), [](const Ref<PPRTreeNode>& n, const Ref<TavBaseUnknown>& o) {
                      return TreeIdentity(n->object_) == TreeIdentity(o);
                    });
  if (same) return;
  std::unordered_map<const void*, std::vector<std::size_t>> old;
  for (std::size_t i = list.size(); i-- > 0;) old[TreeIdentity(list[i]->object_)].push_back(i);
  std::vector<Ref<PPRTreeNode>> next;
  next.reserve(objects.size());
  for (const auto& o : objects) {
    auto it = old.find(TreeIdentity(o));
    if (it != old.end() && !it->second.empty()) {
      next.push_back(std::move(list[it->second.back()]));
      it->second.pop_back();
    } else {
      next.push_back(MakeNode(o, father));
    }
  }
  for (auto& n : list)
    if (n) Forget(*n);
  list = std::move(next);
  for (std::size_t i = 0; i < list.size(); ++i) list[i]->index_ = i;
  Changed();
}

void PPRTreeWindow::Build(PPRTreeNode& node) {
  if (node.built_) return;
  node.built_ = true;
  Reconcile(node.children_, &node, TreeChildren(node.object_));
}

void PPRTreeWindow::Sync() {
  auto editor = Editor();
  if (!editor) return;
  Reconcile(roots_, nullptr, TreeRoots(*editor->Document()));
  std::vector<PPRTreeNode*> work;
  for (auto& r : roots_) work.push_back(r.get());
  while (!work.empty()) {
    PPRTreeNode* n = work.back();
    work.pop_back();
    if (!n->built_) continue;
    Reconcile(n->children_, n, TreeChildren(n->object_));
    for (auto& c : n->children_) work.push_back(c.get());
  }
}

void PPRTreeWindow::Changed() {
  if (locks_ > 0) dirty_ = true;
  else ++redraws_;
}

void PPRTreeWindow::LockGraphUpdates() {
  if (locks_++ == 0) Sync();
}

void PPRTreeWindow::UnlockGraphUpdates() {
  if (locks_ == 0 || --locks_ > 0 || !dirty_) return;
  dirty_ = false;
  ++redraws_;
}

std::vector<Ref<TavIPPRTreeNode>> PPRTreeWindow::GetAssociatedNodes(const Ref<TavBaseUnknown>& object) const {
  auto it = byObject_.find(TreeIdentity(object));
  if (it == byObject_.end()) return {};
  std::vector<std::pair<std::vector<std::size_t>, PPRTreeNode*>> keyed;
  for (PPRTreeNode* n : it->second) {
    std::vector<std::size_t> key;
    for (PPRTreeNode* a = n; a; a = a->father_) key.push_back(a->index_);
    std::reverse(key.begin(), key.end());
    keyed.emplace_back(std::move(key), n);
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<Ref<TavIPPRTreeNode>> out;
  for (auto& [key, n] : keyed) out.push_back(RefOf(n));
  return out;
}

HRESULT PPRTreeWindow::ExpandVirtualNode(const Ref<TavIPPRTreeNode>& node) {
  PPRTreeNode* n = Own(node);
  if (!n) return E_FAIL;
  if (n->built_ || !HasTreeChildren(n->object_)) return S_FALSE;
  Build(*n);
  return S_OK;
}

HRESULT PPRTreeWindow::ExpandNode(const Ref<TavIPPRTreeNode>& node, int depth) {
  PPRTreeNode* n = Own(node);
  if (!n) return E_FAIL;
  std::vector<std::pair<PPRTreeNode*, int>> work{{n, 0}};
  while (!work.empty()) {
    auto [at, level] = work.back();
    work.pop_back();
    if (level >= depth) {
      if (fixedDepth_ && at->expanded_) {
        at->expanded_ = false;
        Changed();
      }
      continue;
    }
    Build(*at);
    if (!at->expanded_ && !at->children_.empty()) {
      at->expanded_ = true;
      Changed();
    }
    for (auto& c : at->children_) work.emplace_back(c.get(), level + 1);
  }
  return S_OK;
}

HRESULT PPRTreeWindow::CollapseNode(const Ref<TavIPPRTreeNode>& node) {
  PPRTreeNode* n = Own(node);
  if (!n) return E_FAIL;
  if (n->expanded_) {
    n->expanded_ = false;
    Changed();
  }
  return S_OK;
}

HRESULT PPRTreeWindow::MakeNodeVisible(const Ref<TavIPPRTreeNode>& node) {
  PPRTreeNode* n = Own(node);
  if (!n) return E_FAIL;
  for (PPRTreeNode* a = n->father_; a; a = a->father_) a->expanded_ = true;
  visible_ = n;
  Changed();
  return S_OK;
}

Ref<TavIPPRTreeNode> PPRTreeWindow::GetVisibleNode() const { return RefOf(visible_); }

HRESULT PPRTreeWindow::ShowDecoration(const Ref<TavIPPRTreeNode>& node) {
  PPRTreeNode* n = Own(node);
  if (!n) return E_FAIL;
  if (!n->decorated_) {
    n->decorated_ = true;
    Changed();
  }
  return S_OK;
}

HRESULT PPRTreeWindow::SetShadowColor(const Ref<TavIPPRTreeNode>& node, int r, int g, int b) {
  PPRTreeNode* n = Own(node);
  if (!n) return E_FAIL;
  auto c = [](int v) { return std::clamp(v, 0, 255); };
  const int shadow = c(r) << 16 | c(g) << 8 | c(b);
  if (n->shadow_ != shadow) {
    n->shadow_ = shadow;
    Changed();
  }
  return S_OK;
}

HRESULT PPRTreeWindow::ResetDecoration(const Ref<TavIPPRTreeNode>& node) {
  PPRTreeNode* n = Own(node);
  if (!n) return E_FAIL;
  if (n->decorated_ || n->shadow_ >= 0) {
    n->decorated_ = false;
    n->shadow_ = -1;
    Changed();
  }
  return S_OK;
}

Ref<PPRTreeNode> PPRTreeWindow::ResolveNode(const std::string& path, std::string& error) {
  Sync();
  const std::vector<Ref<PPRTreeNode>>* level = &roots_;
  PPRTreeNode* node = nullptr;
  std::string walked;
  for (const std::string& segment : TavSplitPathText(path)) {
    if (node) Build(*node);
    PPRTreeNode* found = nullptr;
    for (auto& c : *level)
      if (TreeText(c->object_) == segment) {
        found = c.get();
        break;
      }
    if (!found) {
      error = "no node '" + segment + "'" + (walked.empty() ? std::string() : " under '" + walked + "'") + " in " +
              GetBaseName().utf8();
      return nullptr;
    }
    node = found;
    level = &node->children_;
    walked += (walked.empty() ? "" : "/") + segment;
  }
  return RefOf(node);
}

Ref<PPRTreeWindow> OpenTreeWindow(const Ref<HostEditor>& editor) {
  if (!editor) return nullptr;
  HostWindows& frame = HostWindows::Get();
  auto w = std::make_shared<PPRTreeWindow>(frame.NextName(PPRTreeWindow::kKind), editor);
  frame.Open(w);
  return w;
}

}  // namespace host
