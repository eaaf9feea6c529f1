#include "TavNavigBox.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "TavPathText.h"

namespace {
// Objects are compared as the model sees them: an extension stands for what it extends.
const void* Identity(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

std::string NodeLateType(const Ref<TavBaseUnknown>& object) {
  std::string t = object ? object->LateType() : std::string();
  return (t.empty() ? std::string("Object") : t) + "_node";
}

std::vector<Ref<TavBaseUnknown>> ChildObjects(const Ref<TavBaseUnknown>& object) {
  if (auto nav = query<TavINavigateObjectActivity>(object)) return nav->GetChildren();
  return {};
}

// The node's look: the modify extension of the node (registered per node late
// type), else that of its object, else the default look.
void UpdateLook(const Ref<TavNavigNode>& node) {
  node->SetDefaultLook();
  auto modify = query<TavINavigModify>(node);
  if (!modify) modify = query<TavINavigModify>(node->GetObject());
  if (modify) modify->UpdateElem(*node);
}


std::string EscapeSegment(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '/' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string PathOf(const TavNavigNode* node) {
  std::vector<const TavNavigNode*> line;
  for (; node; node = node->GetFather()) line.push_back(node);
  std::string out;
  for (auto it = line.rbegin(); it != line.rend(); ++it) out += (out.empty() ? "" : "/") + EscapeSegment((*it)->GetText().utf8());
  return out;
}
}  // namespace

TavNavigNode::TavNavigNode(Ref<TavBaseUnknown> object, std::string lateType)
    : object_(std::move(object)), lateType_(std::move(lateType)) {}

// Releases the subtree without recursion: a deep chain must not exhaust the stack.
TavNavigNode::~TavNavigNode() {
  std::vector<Ref<TavNavigNode>> work = std::move(children_);
  while (!work.empty()) {
    Ref<TavNavigNode> n = std::move(work.back());
    work.pop_back();
    if (n.use_count() == 1)
      for (auto& c : n->children_) work.push_back(std::move(c));
  }
}

TavUnicodeString TavNavigNode::GetText() const {
  auto nav = query<TavINavigateObject>(object_);
  if (!nav) return {};
  auto ids = nav->GetIdentificators();
  return ids.empty() ? TavUnicodeString() : ids.front();
}

TavDlgNavigBox::TavDlgNavigBox(TavDlgWidget* father, std::string name, std::string graphStyle, int width, int height)
    : TavDlgWidget(father, std::move(name), "navigbox"), style_(std::move(graphStyle)), width_(width), height_(height) {}

// Depth first with an explicit stack: a deep chain of objects must not exhaust the
// call stack. Every object's children are asked once; the ancestor line is a set,
// so the cycle guard costs nothing per node beyond a hash.
Ref<TavNavigNode> TavDlgNavigBox::Build(const Ref<TavBaseUnknown>& object, const TavNavigNode* previous) {
  struct Frame {
    TavNavigNode* node;
    const TavNavigNode* previous;
    std::vector<Ref<TavBaseUnknown>> objects;
    std::size_t next = 0;
    // The previous node's children by object, made on the first miss by position.
    std::unordered_map<const void*, const TavNavigNode*> oldByObject;
    bool mapped = false;
  };
  std::unordered_set<const void*> line;
  std::vector<Frame> stack;
  auto make = [&](const Ref<TavBaseUnknown>& o, const TavNavigNode* prev, TavNavigNode* father) {
    auto node = std::make_shared<TavNavigNode>(o, NodeLateType(o));
    node->father_ = father;
    if (prev) {
      node->expanded_ = prev->expanded_;
      if (prev == selected_) selected_ = node.get();
    }
    UpdateLook(node);
    const void* id = Identity(o);
    if (line.count(id)) {
      node->cycle_ = true;
    } else {
      line.insert(id);
      stack.push_back(Frame{node.get(), prev, ChildObjects(o), 0, {}, false});
    }
    return node;
  };
  Ref<TavNavigNode> root = make(object, previous, nullptr);
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.next == f.objects.size()) {
      line.erase(line.find(Identity(f.node->object_)));
      stack.pop_back();
      continue;
    }
    const std::size_t i = f.next++;
    Ref<TavBaseUnknown> child = f.objects[i];
    const TavNavigNode* prev = nullptr;
    if (f.previous) {
      const auto& old = f.previous->children_;
      if (i < old.size() && Identity(old[i]->object_) == Identity(child)) {
        prev = old[i].get();
      } else {
        if (!f.mapped) {
          for (auto& n : old) f.oldByObject.emplace(Identity(n->object_), n.get());
          f.mapped = true;
        }
        auto it = f.oldByObject.find(Identity(child));
        if (it != f.oldByObject.end()) prev = it->second;
      }
    }
    TavNavigNode* father = f.node;
    father->children_.reserve(f.objects.size());
    // `make` may grow the stack: `f` is not used after this.
    father->children_.push_back(make(child, prev, father));
  }
  return root;
}

void TavDlgNavigBox::AddRoot(const Ref<TavBaseUnknown>& object) {
  if (object) roots_.push_back(Build(object, nullptr));
}

namespace {
bool Contains(const TavNavigNode& root, const TavNavigNode* node) {
  for (; node; node = node->GetFather())
    if (node == &root) return true;
  return false;
}
}  // namespace

void TavDlgNavigBox::RemoveRoot(const Ref<TavBaseUnknown>& object) {
  std::erase_if(roots_, [&](const Ref<TavNavigNode>& r) {
    if (!SameObject(r->object_, object)) return false;
    if (Contains(*r, selected_)) selected_ = nullptr;
    return true;
  });
}

void TavDlgNavigBox::RemoveAllRoots() {
  roots_.clear();
  selected_ = nullptr;
}

void TavDlgNavigBox::Redraw() {
  // The old trees stay alive until every new one is built: expansion and the
  // selection are carried over from them.
  std::vector<Ref<TavNavigNode>> old;
  old.swap(roots_);
  const TavNavigNode* wasSelected = selected_;
  for (auto& r : old) roots_.push_back(Build(r->object_, r.get()));
  if (selected_ == wasSelected) selected_ = nullptr;  // its object went away
}

void TavDlgNavigBox::Expand(TavNavigNode& node, bool all) {
  node.expanded_ = true;
  if (!all) return;
  std::vector<TavNavigNode*> work{&node};
  while (!work.empty()) {
    TavNavigNode* n = work.back();
    work.pop_back();
    n->expanded_ = true;
    for (auto& c : n->children_) work.push_back(c.get());
  }
}

void TavDlgNavigBox::ExpandAll() {
  for (auto& r : roots_) Expand(*r, true);
}

TavNavigNode* TavDlgNavigBox::FindNode(const Ref<TavBaseUnknown>& object) const {
  const void* id = Identity(object);
  if (!id) return nullptr;
  std::vector<TavNavigNode*> work;
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) work.push_back(it->get());
  while (!work.empty()) {
    TavNavigNode* n = work.back();
    work.pop_back();
    if (Identity(n->object_) == id) return n;
    for (auto it = n->children_.rbegin(); it != n->children_.rend(); ++it) work.push_back(it->get());
  }
  return nullptr;
}

void TavDlgNavigBox::ShowNode(const TavNavigNode& node) {
  for (TavNavigNode* a = node.father_; a; a = a->father_) a->expanded_ = true;
  selected_ = &node;
}

int TavDlgNavigBox::GetNodeCount() const {
  int count = 0;
  std::vector<const TavNavigNode*> work;
  for (auto& r : roots_) work.push_back(r.get());
  while (!work.empty()) {
    const TavNavigNode* n = work.back();
    work.pop_back();
    ++count;
    for (auto& c : n->children_) work.push_back(c.get());
  }
  return count;
}

TavNavigNode* TavDlgNavigBox::ResolveNode(const std::string& path, std::string* error) const {
  auto fail = [&](const std::string& why) -> TavNavigNode* {
    if (error) *error = "navigation box " + GetName() + ": " + why;
    return nullptr;
  };
  const std::vector<Ref<TavNavigNode>>* level = &roots_;
  TavNavigNode* node = nullptr;
  std::string walked;
  for (const std::string& segment : TavSplitPathText(path)) {
    const std::string where = walked.empty() ? std::string() : " under '" + walked + "'";
    if (segment.empty()) return fail("empty name in path '" + path + "'");
    // A node's own text first; a file name stands for a path ending in it.
    std::vector<TavNavigNode*> exact, suffix;
    const std::string tail = "/" + segment;
    for (auto& c : *level) {
      const std::string t = c->GetText().utf8();
      if (t == segment) exact.push_back(c.get());
      else if (t.size() > tail.size() && t.compare(t.size() - tail.size(), tail.size(), tail) == 0) suffix.push_back(c.get());
    }
    const auto& found = exact.empty() ? suffix : exact;
    if (found.empty()) return fail("no node '" + segment + "'" + where);
    if (found.size() > 1) {
      // File-name matches differ in their directories: name the first two.
      std::string which = exact.empty() ? ": '" + found[0]->GetText().utf8() + "' and '" + found[1]->GetText().utf8() + "'" : "";
      return fail(std::to_string(found.size()) + " nodes match '" + segment + "'" + where + which);
    }
    node = found.front();
    level = &node->children_;
    walked += (walked.empty() ? "" : "/") + segment;
  }
  return node;
}

bool TavDlgNavigBox::ResolvePath(const std::string& path, std::vector<Ref<TavBaseUnknown>>& objects,
                                 std::string* error) const {
  const TavNavigNode* node = ResolveNode(path, error);
  if (!node) return false;
  std::vector<Ref<TavBaseUnknown>> line;
  for (; node; node = node->father_) line.push_back(node->object_);
  objects.assign(line.rbegin(), line.rend());
  return true;
}

bool TavDlgNavigBox::SetValueFromText(const std::string& value, std::string* error) {
  const TavNavigNode* node = ResolveNode(value, error);
  if (!node) return false;
  ShowNode(*node);
  Notify(TavDlgNotification::Select);
  return true;
}

std::string TavDlgNavigBox::ValueText() const { return PathOf(selected_); }

void TavDlgNavigBox::DumpDetails(std::string& out, int indent) const {
  out += " style " + style_ + " " + std::to_string(width_) + "x" + std::to_string(height_);
  std::vector<std::pair<const TavNavigNode*, int>> work;
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) work.emplace_back(it->get(), indent + 1);
  while (!work.empty()) {
    auto [n, depth] = work.back();
    work.pop_back();
    out += '\n';
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += n->children_.empty() ? ". " : n->expanded_ ? "- " : "+ ";
    const std::string text = n->GetText().utf8();
    out += text.empty() ? "\"\"" : text;
    out += " [" + (n->icon_.IsEmpty() ? std::string("default") : n->icon_.utf8()) + "]";
    if (n->cycle_) out += " (cycle)";
    if (n == selected_) out += " (selected)";
    for (auto it = n->children_.rbegin(); it != n->children_.rend(); ++it) work.emplace_back(it->get(), depth + 1);
  }
}
