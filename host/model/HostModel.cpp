#include "HostModel.h"

#include <algorithm>
#include <deque>
#include <stdexcept>

#include "HostWalk.h"
#include "TavPlanner.h"

namespace host {

// ------------------------------------------------------------------ types
namespace {
struct TypeTable {
  std::deque<HostType> types;  // stable addresses
  TypeTable() {
    Add("Activity", "");
    Add("PhysicalActivity", "Activity");
    Add("AssemblyOperation", "PhysicalActivity");
    Add("ResourceBehavior", "Activity");
    for (const char* n : {"Switch", "AndOut", "OrIn", "AndIn", "Start", "Stop", "Feeder", "Deliver"}) Add(n, "");
  }
  const HostType* Find(std::string_view n) const {
    for (auto& t : types)
      if (t.name == n) return &t;
    return nullptr;
  }
  const HostType* Add(const std::string& n, const std::string& parent) {
    if (auto* t = Find(n)) return t;
    types.push_back(HostType{n, parent.empty() ? nullptr : Find(parent)});
    return &types.back();
  }
};
TypeTable& Types() {
  static TypeTable t;
  return t;
}

const std::vector<RelationTypeInfo> kRelationTypes = {
    {"process_processes_product", RelationKind::Item, TavItemCode::Processes, true, true, false},
    {"process_first_processes_product", RelationKind::Item, TavItemCode::FirstProcesses, true, true, false},
    {"process_creates_product", RelationKind::Output, 0, true, true, false},
    {"process_removes_product", RelationKind::Item, TavItemCode::Removes, true, true, false},
    {"process_implements_requirement", RelationKind::Item, TavItemCode::ImplementsRequirement, true, true, false},
    {"process_uses_resource", RelationKind::Resource, TavResourceCode::Uses, false, false, true},
    {"process_runs_on_resource", RelationKind::Resource, TavResourceCode::RunsOn, false, false, true},
    {"process_attaches_resource", RelationKind::Item, TavItemCode::Attaches, true, true, true},
    {"process_detaches_resource", RelationKind::Item, TavItemCode::Detaches, true, true, true},
};
}  // namespace

const HostType* FindType(std::string_view name) { return Types().Find(name); }
const HostType* RegisterType(const std::string& name, const std::string& parent) { return Types().Add(name, parent); }

const std::vector<RelationTypeInfo>& RelationTypes() { return kRelationTypes; }
const RelationTypeInfo* FindRelationType(std::string_view name) {
  for (auto& t : kRelationTypes)
    if (t.name == name) return &t;
  return nullptr;
}
const RelationTypeInfo* ItemRelationTypeForCode(unsigned code) {
  for (auto& t : kRelationTypes)
    if (t.kind == RelationKind::Item && t.code == code) return &t;
  return nullptr;
}
const RelationTypeInfo* ResourceRelationTypeForCode(unsigned code) {
  for (auto& t : kRelationTypes)
    if (t.kind == RelationKind::Resource && t.code == code) return &t;
  return nullptr;
}
std::string RelationDisplayName(std::string_view typeName) {
  std::string out;
  bool start = true;
  for (char c : typeName) {
    if (c == '_') {
      out += ' ';
      start = true;
    } else {
      out += start && c >= 'a' && c <= 'z' ? char(c - 32) : c;
      start = false;
    }
  }
  return out;
}

// ------------------------------------------------------------------ attributes
namespace {
std::optional<TavValue> FindAttr(const std::vector<TavAttribute>& v, const TavUnicodeString& n) {
  for (auto& a : v)
    if (a.name == n) return a.value;
  return std::nullopt;
}
void SetAttr(std::vector<TavAttribute>& v, const TavUnicodeString& n, TavValue val) {
  for (auto& a : v)
    if (a.name == n) { a.value = std::move(val); return; }
  v.push_back({n, std::move(val)});
}
bool RemoveAttr(std::vector<TavAttribute>& v, const TavUnicodeString& n) {
  return std::erase_if(v, [&](const TavAttribute& a) { return a.name == n; }) > 0;
}
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }
}  // namespace

std::optional<TavValue> HostObject::GetAttribute(const TavUnicodeString& n) const { return FindAttr(attributes_, n); }
void HostObject::SetAttribute(const TavUnicodeString& n, TavValue v) { SetAttr(attributes_, n, std::move(v)); }
bool HostObject::RemoveAttribute(const TavUnicodeString& n) { return RemoveAttr(attributes_, n); }
std::optional<TavValue> HostRelation::GetAttribute(const TavUnicodeString& n) const { return FindAttr(attributes_, n); }
void HostRelation::SetAttribute(const TavUnicodeString& n, TavValue v) { SetAttr(attributes_, n, std::move(v)); }
bool HostRelation::RemoveAttribute(const TavUnicodeString& n) { return RemoveAttr(attributes_, n); }

Ref<TavDocument> HostObject::GetDocument() const {
  if (!doc_) return nullptr;
  return std::dynamic_pointer_cast<TavDocument>(const_cast<HostDocument*>(doc_)->self());
}

// ------------------------------------------------------------------ destruction
// Deep trees are dismantled iteratively: a recursive chain of destructors would
// overflow the stack on a tree a few hundred thousand levels deep.
struct TreeDismantler {
template <class T>
static void DismantleIteratively(std::vector<Ref<T>>& children) {
  std::vector<Ref<T>> stack = std::move(children);
  children.clear();
  while (!stack.empty()) {
    Ref<T> c = std::move(stack.back());
    stack.pop_back();
    if (c.use_count() == 1) {
      for (auto& g : c->children_) stack.push_back(std::move(g));
      c->children_.clear();
    }
  }
}
};

HostActivity::~HostActivity() { TreeDismantler::DismantleIteratively(children_); }
HostProduct::~HostProduct() { TreeDismantler::DismantleIteratively(children_); }

// ------------------------------------------------------------------ products
std::vector<Ref<TavIProduct>> HostProduct::GetAllDescendants() const {
  std::vector<Ref<TavIProduct>> out;
  std::vector<const HostProduct*> stack{this};
  // Iterative pre-order walk: deep product structures must not exhaust the stack.
  std::vector<std::pair<const HostProduct*, std::size_t>> work{{this, 0}};
  while (!work.empty()) {
    auto& [p, i] = work.back();
    if (i == p->children_.size()) {
      work.pop_back();
      continue;
    }
    const Ref<HostProduct>& c = p->children_[i++];
    out.push_back(c);
    work.emplace_back(c.get(), 0);
  }
  return out;
}

bool HostRootList::Contains(const Ref<TavBaseUnknown>& product) const {
  auto p = std::dynamic_pointer_cast<HostProduct>(product ? product->ExtendedObject() : nullptr);
  if (!p) return false;
  while (auto f = p->Father()) p = f;
  return std::find(roots_.begin(), roots_.end(), p) != roots_.end();
}

// ------------------------------------------------------------------ assemblies
HRESULT HostAssembly::GetParts(std::vector<Ref<TavBaseUnknown>>& parts) const {
  parts = parts_;
  return byStructure_ ? 1 : 0;
}
std::vector<Ref<OrvIMfgAssembly>> HostAssembly::GetChildAssemblies() const {
  std::vector<Ref<OrvIMfgAssembly>> out;
  for (auto& p : parts_)
    if (auto a = std::dynamic_pointer_cast<OrvIMfgAssembly>(p)) out.push_back(a);
  return out;
}
HRESULT HostAssembly::AddPart(const Ref<TavBaseUnknown>& part) {
  if (!part) return E_FAIL;
  if (Key(part) == this) return E_FAIL;  // an assembly cannot contain itself
  for (auto& p : parts_)
    if (SameObject(p, part)) return S_FALSE;
  parts_.push_back(part->ExtendedObject());
  return S_OK;
}
HRESULT HostAssembly::RemovePart(const Ref<TavBaseUnknown>& part) {
  return std::erase_if(parts_, [&](auto& p) { return SameObject(p, part); }) ? S_OK : E_FAIL;
}

Ref<OrvIMfgAssembly> HostAssemblyContainer::CreateAssembly(const TavUnicodeString& name, int type) {
  return doc_->CreateAssembly("", name, type);
}

// ------------------------------------------------------------------ activities
namespace {
void PrefetchLines(const void* at, int from, int to) {
  const auto base = reinterpret_cast<std::uintptr_t>(at);
  for (int line = from; line < to; ++line) Prefetch(reinterpret_cast<const void*>(base + 64 * line));
}
// Walks over whole processes visit activities that lie far apart in memory; the
// children of a node are wanted soon, so their first lines (the handle's count,
// the type and the child list) start loading as the node is reached.
void PrefetchChildren(const std::vector<Ref<HostActivity>>& children) {
  for (auto& c : children) PrefetchLines(c.get(), -1, 4);
}
}  // namespace

template <class Handle>
std::vector<Handle> HostActivity::ChildrenAs(const TavUnicodeString& type) const {
  std::vector<Handle> out;
  const std::size_t n = children_.size();
  out.reserve(n);
  // What the list reads of a child a few places on: the handle's count just before
  // it, its table pointer (for the handle's conversion) and its type. A long list (a
  // process with 10^5 steps) is loaded as it is read, not all at once.
  auto PrefetchHead = [](const HostActivity* a) {
    Prefetch(reinterpret_cast<const char*>(a) - 16);
    Prefetch(a);
    Prefetch(&a->type_);
  };
  constexpr std::size_t kAhead = 16;
  for (std::size_t i = 0; i < std::min(n, kAhead); ++i) PrefetchHead(children_[i].get());
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) PrefetchHead(children_[i + kAhead].get());
    const Ref<HostActivity>& c = children_[i];
    if (type.IsEmpty() || c->type_->IsA(type.utf8())) out.emplace_back(c);
  }
  return out;
}

std::vector<Ref<TavBaseUnknown>> HostActivity::GetChildren(const TavUnicodeString& type) const {
  return ChildrenAs<Ref<TavBaseUnknown>>(type);
}

// Every child is a HostActivity, so each converts without a query.
std::vector<Ref<TavISPPActivity>> HostActivity::GetChildActivities(const TavUnicodeString& type) const {
  return ChildrenAs<Ref<TavISPPActivity>>(type);
}

namespace {
// Depth-first, parent before children, children in order; the activity excluded.
void WalkTree(const HostActivity& from, std::vector<const Ref<HostActivity>*>& order) {
  std::vector<std::pair<const HostActivity*, std::size_t>> work{{&from, 0}};
  PrefetchChildren(from.Children());
  while (!work.empty()) {
    auto& [a, i] = work.back();
    if (i == a->Children().size()) {
      work.pop_back();
      continue;
    }
    const Ref<HostActivity>& c = a->Children()[i++];
    order.push_back(&c);
    PrefetchChildren(c->Children());
    work.emplace_back(c.get(), 0);
  }
}
}  // namespace

template <class Handle>
std::vector<Handle> HostActivity::AllChildrenAs(const TavUnicodeString& type) const {
  const std::string& t = type.utf8();
  std::vector<Handle> out;
  if (const auto* cached = doc_ ? doc_->TreeOrder(*this) : nullptr) {
    // Types from the list; of the activity only the handle's count is touched, loaded
    // far enough ahead that many loads are under way at once.
    const auto& list = cached->activities;
    const std::size_t n = list.size();
    out.reserve(n);
    constexpr std::size_t kAhead = 32;
    for (std::size_t i = 0; i < n; ++i) {
      if (i + kAhead < n) {
        const char* p = reinterpret_cast<const char*>(list[i + kAhead].get());
        Prefetch(p - 16);  // the counts
        Prefetch(p);       // the type's table, for the handle's conversion
      }
      if (t.empty() || cached->types[i]->IsA(t)) out.emplace_back(list[i]);
    }
    return out;
  }
  // The tree order first, then the type tests and handles over that flat list: the
  // second pass reads objects whose addresses are known ahead, so their loads
  // overlap instead of waiting on each other down the tree.
  std::vector<const Ref<HostActivity>*> order;
  WalkTree(*this, order);
  const std::size_t n = order.size();
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (i + 8 < n) PrefetchLines(order[i + 8]->get(), -1, 2);
    const Ref<HostActivity>& c = *order[i];
    if (t.empty() || c->type_->IsA(t)) out.emplace_back(c);
  }
  return out;
}

std::vector<Ref<TavBaseUnknown>> HostActivity::GetAllChildren(const TavUnicodeString& type) const {
  return AllChildrenAs<Ref<TavBaseUnknown>>(type);
}

std::vector<Ref<TavISPPActivity>> HostActivity::GetAllChildActivities(const TavUnicodeString& type) const {
  return AllChildrenAs<Ref<TavISPPActivity>>(type);
}

const HostDocument::TreeOrderList* HostDocument::TreeOrder(const HostActivity& root) const {
  auto it = treeOrder_.find(&root);
  if (it != treeOrder_.end()) return &it->second;
  const bool isProcessRoot =
      std::any_of(process_->roots_.begin(), process_->roots_.end(), [&](const Ref<HostRootActivity>& r) { return r.get() == &root; });
  if (!isProcessRoot) return nullptr;
  std::vector<const Ref<HostActivity>*> order;
  WalkTree(root, order);
  TreeOrderList flat;
  flat.activities.reserve(order.size());
  flat.types.reserve(order.size());
  for (auto* c : order) {
    flat.activities.push_back(*c);
    flat.types.push_back((*c)->Type());
  }
  return &treeOrder_.emplace(&root, std::move(flat)).first->second;
}

Ref<TavBaseUnknown> HostActivity::CreateChild(const TavUnicodeString& type, const TavUnicodeString& label, int position) {
  if (!doc_ || !FindType(type.utf8())) return nullptr;
  auto me = std::dynamic_pointer_cast<HostActivity>(self());
  return doc_->CreateActivity(me, type.utf8(), "", label, position);
}

HRESULT HostActivity::RemoveChild(const Ref<TavBaseUnknown>& child) {
  auto c = std::dynamic_pointer_cast<HostActivity>(child ? child->ExtendedObject() : nullptr);
  if (!c || c->FatherActivity().get() != this || !doc_) return E_FAIL;
  doc_->RemoveActivity(c);
  return S_OK;
}

HRESULT HostActivity::IsItemAssigned(const Ref<TavBaseUnknown>& item, unsigned code) const {
  if (!item) return E_FAIL;
  auto it = itemCodes_.find(Key(item));
  return it != itemCodes_.end() && (it->second & code) ? S_OK : S_FALSE;
}

std::vector<Ref<TavBaseUnknown>> HostActivity::GetItems(const TavUnicodeString& kind, unsigned code) const {
  std::vector<Ref<TavBaseUnknown>> out;
  if (!kind.IsEmpty() && kind != "Item") return out;
  for (auto& r : relations_)
    if (r->Type()->kind == RelationKind::Item && (code == 0 || (r->Type()->code & code))) out.push_back(r->GetTarget());
  RemoveDuplicates(out);
  return out;
}

HRESULT HostActivity::AddItem(const Ref<TavBaseUnknown>& item, unsigned code) {
  auto* t = ItemRelationTypeForCode(code);
  return t ? AddRelation(t, item, nullptr) : E_FAIL;
}
HRESULT HostActivity::RemoveItem(const Ref<TavBaseUnknown>& item, unsigned code) {
  auto* t = ItemRelationTypeForCode(code);
  return t ? RemoveRelation(t->name, item) : E_FAIL;
}

std::vector<Ref<TavISPPActivitySpecification>> HostActivity::GetActivitySpecifications(const Ref<TavBaseUnknown>& item) const {
  std::vector<Ref<TavISPPActivitySpecification>> out;
  for (auto& r : relations_)
    if (SameObject(r->GetTarget(), item)) out.push_back(r);
  return out;
}

HRESULT HostActivity::IsResourceAssigned(const Ref<TavBaseUnknown>& resource, unsigned code) const {
  if (!resource) return E_FAIL;
  auto it = resourceCodes_.find(Key(resource));
  return it != resourceCodes_.end() && (it->second & code) ? S_OK : S_FALSE;
}
std::vector<Ref<TavBaseUnknown>> HostActivity::GetResources(unsigned code) const {
  std::vector<Ref<TavBaseUnknown>> out;
  for (auto& r : relations_)
    if (r->Type()->kind == RelationKind::Resource && (code == 0 || (r->Type()->code & code))) out.push_back(r->GetTarget());
  RemoveDuplicates(out);
  return out;
}
HRESULT HostActivity::AddResource(const Ref<TavBaseUnknown>& resource, unsigned code) {
  auto* t = ResourceRelationTypeForCode(code);
  return t ? AddRelation(t, resource, nullptr) : E_FAIL;
}
HRESULT HostActivity::RemoveResource(const Ref<TavBaseUnknown>& resource, unsigned code) {
  auto* t = ResourceRelationTypeForCode(code);
  return t ? RemoveRelation(t->name, resource) : E_FAIL;
}

namespace {
bool Accepts(const RelationTypeInfo& t, const Ref<TavBaseUnknown>& target) {
  if (!target) return false;
  if (auto p = std::dynamic_pointer_cast<HostProduct>(target->ExtendedObject()))
    return p->IsResource() ? t.acceptsResource : t.acceptsProduct;
  if (std::dynamic_pointer_cast<HostAssembly>(target->ExtendedObject())) return t.acceptsAssembly;
  return false;
}
}  // namespace

HRESULT HostActivity::AddRelation(const RelationTypeInfo* t, const Ref<TavBaseUnknown>& target, Ref<HostRelation>* out) {
  if (!t || !Accepts(*t, target)) return E_FAIL;
  Ref<TavBaseUnknown> obj = target->ExtendedObject();
  for (auto& r : relations_)
    if (r->Type() == t && r->GetTarget() == obj) {
      if (out) *out = r;
      return S_FALSE;  // already related: nothing new
    }
  auto rel = std::make_shared<HostRelation>(t, obj, weak_from_this());
  relations_.push_back(rel);
  switch (t->kind) {
    case RelationKind::Item: itemCodes_[obj.get()] |= t->code; break;
    case RelationKind::Resource: resourceCodes_[obj.get()] |= t->code; break;
    case RelationKind::Output: outputs_.push_back(std::make_shared<HostProductIO>(obj)); break;
  }
  if (out) *out = rel;
  return S_OK;
}

HRESULT HostActivity::GetPossibleRelations(const Ref<TavBaseUnknown>& target,
                                           std::optional<std::vector<TavUnicodeString>>& types) const {
  types.reset();
  if (!target) return E_FAIL;
  Ref<TavBaseUnknown> obj = target->ExtendedObject();
  bool any = false;
  std::vector<TavUnicodeString> out;
  for (auto& t : kRelationTypes) {
    if (!Accepts(t, obj)) continue;
    any = true;
    bool taken = false;
    for (auto& r : relations_) taken = taken || (r->Type() == &t && r->GetTarget() == obj);
    if (!taken) out.push_back(t.name);
  }
  if (any) types = std::move(out);
  return S_OK;
}

HRESULT HostActivity::GetDisplayName(const TavUnicodeString& typeName, TavUnicodeString& displayName) const {
  if (!FindRelationType(typeName.utf8())) return E_FAIL;
  displayName = RelationDisplayName(typeName.utf8());
  return S_OK;
}

HRESULT HostActivity::CreateRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target,
                                     Ref<TavISPPActivitySpecification>* created) {
  Ref<HostRelation> r;
  HRESULT hr = AddRelation(FindRelationType(typeName.utf8()), target, &r);
  if (created) *created = r;
  return hr;
}

HRESULT HostActivity::RemoveRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target) {
  const RelationTypeInfo* t = FindRelationType(typeName.utf8());
  if (!t || !target) return E_FAIL;
  Ref<TavBaseUnknown> obj = target->ExtendedObject();
  auto n = std::erase_if(relations_, [&](auto& r) { return r->Type() == t && r->GetTarget() == obj; });
  if (!n) return E_FAIL;
  // Rebuild the code of this object from what remains.
  unsigned codes = 0;
  for (auto& r : relations_)
    if (r->GetTarget() == obj && r->Type()->kind == t->kind) codes |= r->Type()->code;
  auto& index = t->kind == RelationKind::Resource ? resourceCodes_ : itemCodes_;
  if (t->kind != RelationKind::Output) {
    if (codes) index[obj.get()] = codes;
    else index.erase(obj.get());
  } else {
    std::erase_if(outputs_, [&](auto& io) { return io->GetObject() == obj; });
  }
  return S_OK;
}

std::vector<Ref<TavBaseUnknown>> HostActivity::GetOutputs(const Ref<TavBaseUnknown>& item) const {
  std::vector<Ref<TavBaseUnknown>> out;
  for (auto& o : outputs_)
    if (!item || SameObject(o->GetObject(), item)) out.push_back(o);
  return out;
}
std::vector<Ref<TavBaseUnknown>> HostActivity::GetInputs(const Ref<TavBaseUnknown>& item) const {
  // Flow inputs are the products the activity processes.
  std::vector<Ref<TavBaseUnknown>> out;
  for (auto& r : relations_)
    if (r->Type()->kind == RelationKind::Item && (r->Type()->code & (TavItemCode::Processes | TavItemCode::FirstProcesses)))
      if (!item || SameObject(r->GetTarget(), item)) out.push_back(std::make_shared<HostProductIO>(r->GetTarget()));
  return out;
}
HRESULT HostActivity::AddOutput(const Ref<TavBaseUnknown>& product) {
  return AddRelation(FindRelationType("process_creates_product"), product, nullptr);
}
HRESULT HostActivity::RemoveOutput(const Ref<TavBaseUnknown>& product) { return RemoveRelation("process_creates_product", product); }

namespace {
std::vector<Ref<TavBaseUnknown>> Live(const std::vector<std::weak_ptr<HostActivity>>& v, const TavUnicodeString& type) {
  std::vector<Ref<TavBaseUnknown>> out;
  for (auto& w : v)
    if (auto a = w.lock())
      if (type.IsEmpty() || a->Type()->IsA(type.utf8())) out.push_back(a);
  return out;
}
HRESULT Link(HostActivity* from, const Ref<TavBaseUnknown>& to, std::vector<std::weak_ptr<HostActivity>>& fwd,
             std::vector<std::weak_ptr<HostActivity>> HostActivity::*back, bool add) {
  auto t = std::dynamic_pointer_cast<HostActivity>(to ? to->ExtendedObject() : nullptr);
  if (!t || t.get() == from) return E_FAIL;
  auto me = std::dynamic_pointer_cast<HostActivity>(from->self());
  auto has = [](auto& v, auto* p) { return std::any_of(v.begin(), v.end(), [&](auto& w) { return w.lock().get() == p; }); };
  if (add) {
    if (has(fwd, t.get())) return S_FALSE;
    fwd.push_back(t);
    ((*t).*back).push_back(me);
    return S_OK;
  }
  auto n = std::erase_if(fwd, [&](auto& w) { return w.lock() == t; });
  std::erase_if((*t).*back, [&](auto& w) { return w.lock().get() == from; });
  return n ? S_OK : E_FAIL;
}
}  // namespace

std::vector<Ref<TavBaseUnknown>> HostActivity::GetNextNodes(const TavUnicodeString& type) const { return Live(next_, type); }
std::vector<Ref<TavBaseUnknown>> HostActivity::GetPreviousNodes(const TavUnicodeString& type) const { return Live(previous_, type); }
HRESULT HostActivity::AddControlFlowLink(const Ref<TavBaseUnknown>& to) { return Link(this, to, next_, &HostActivity::previous_, true); }
HRESULT HostActivity::RemoveControlFlowLink(const Ref<TavBaseUnknown>& to) { return Link(this, to, next_, &HostActivity::previous_, false); }
std::vector<Ref<TavBaseUnknown>> HostActivity::GetPrecedences() const { return Live(before_, {}); }
std::vector<Ref<TavBaseUnknown>> HostActivity::GetSuccessors() const { return Live(after_, {}); }
HRESULT HostActivity::AddPrecedence(const Ref<TavBaseUnknown>& before) { return Link(this, before, before_, &HostActivity::after_, true); }
HRESULT HostActivity::RemovePrecedence(const Ref<TavBaseUnknown>& before) { return Link(this, before, before_, &HostActivity::after_, false); }

// ------------------------------------------------------------------ document
namespace {
std::vector<std::function<void(HostDocument&)>>& DocumentInitialisers() {
  static std::vector<std::function<void(HostDocument&)>> v;
  return v;
}
}  // namespace

Ref<HostDocument> HostDocument::Create(bool hub) {
  Ref<HostDocument> d(new HostDocument());
  d->hub_ = hub;
  d->environment_ = std::make_shared<HostDocEnvironment>(hub ? "YorDocEnv" : "TavLocalDocEnv");
  d->process_ = std::make_shared<HostProcessContainer>();
  d->products_ = std::make_shared<HostRootList>("Products");
  d->resources_ = std::make_shared<HostRootList>("Resources");
  d->assemblies_ = std::make_shared<HostAssemblyContainer>(d.get());
  for (auto& init : DocumentInitialisers()) init(*d);
  return d;
}

HostDocument::~HostDocument() {
  for (auto& [id, weak] : byId_)
    if (auto o = std::dynamic_pointer_cast<HostObject>(weak.lock()))
      if (o->doc_ == this) o->doc_ = nullptr;
}

void RegisterDocumentInitialiser(std::function<void(HostDocument&)> init) { DocumentInitialisers().push_back(std::move(init)); }

Ref<TavBaseUnknown> HostDocument::GetRootContainer(std::string_view name) const {
  if (name == TavISPPContExt::kContainerKind) name = TavISPPContExt::kInterfaceName;
  if (name == TavISPPProcessContainer::kInterfaceName) return process_;
  if (name == TavIPPRProductList::kInterfaceName) return products_;
  if (name == TavIPPRResourceList::kInterfaceName) return resources_;
  if (name == TavIMfgAssemblyContainer::kInterfaceName) return assemblies_;
  for (auto& c : extraContainers_)
    if (c->QueryInterface(name)) return c;
  return nullptr;
}

std::vector<Ref<TavBaseUnknown>> HostDocument::GetContainers() const {
  std::vector<Ref<TavBaseUnknown>> out{process_, products_, resources_, assemblies_};
  out.insert(out.end(), extraContainers_.begin(), extraContainers_.end());
  return out;
}

Ref<TavBaseUnknown> HostDocument::FindById(const TavUnicodeString& id) const {
  auto it = byId_.find(id.utf8());
  return it == byId_.end() ? nullptr : it->second.lock();
}

std::string HostDocument::NewId(char prefix) {
  for (;;) {
    std::string id = std::string(1, prefix) + std::to_string(++nextId_[prefix]);
    auto it = byId_.find(id);
    if (it == byId_.end() || it->second.expired()) return id;
  }
}

void HostDocument::Adopt(HostObject& o, const std::string& id, char prefix) {
  std::string the = id.empty() ? NewId(prefix) : id;
  auto it = byId_.find(the);
  if (it != byId_.end() && !it->second.expired()) throw std::invalid_argument("duplicate id '" + the + "'");
  o.doc_ = this;
  o.id_ = the;
  o.modelNumber_ = nextModelNumber_++;
  byId_[the] = o.self();
}

Ref<HostRootActivity> HostDocument::MakeRoot(const std::string& id, const TavUnicodeString& label, const std::string& type, char prefix) {
  const HostType* t = FindType(type);
  if (!t) throw std::invalid_argument("unknown activity type '" + type + "'");
  auto a = std::make_shared<HostRootActivity>();
  a->type_ = t;
  a->label_ = label;
  Adopt(*a, id, prefix);
  return a;
}

Ref<HostRootActivity> HostDocument::CreateRootProcess(const std::string& id, const TavUnicodeString& label, const std::string& type) {
  auto a = MakeRoot(id, label, type, 'p');
  process_->roots_.push_back(a);
  return a;
}

Ref<HostRootActivity> HostDocument::CreateDetachedRoot(const std::string& id, const TavUnicodeString& label, const std::string& type) {
  return MakeRoot(id, label, type, 't');
}

Ref<HostActivity> HostDocument::CreateActivity(const Ref<HostActivity>& father, const std::string& type, const std::string& id,
                                               const TavUnicodeString& label, int position) {
  const HostType* t = FindType(type);
  if (!t) throw std::invalid_argument("unknown activity type '" + type + "'");
  if (!father) throw std::invalid_argument("an activity needs a father");
  auto a = std::make_shared<HostActivity>();
  a->type_ = t;
  a->label_ = label;
  Adopt(*a, id, 'a');
  a->father_ = father;
  treeOrder_.clear();
  auto& ch = father->children_;
  if (position < 0 || position >= static_cast<int>(ch.size())) ch.push_back(a);
  else ch.insert(ch.begin() + position, a);
  return a;
}

Ref<HostProduct> HostDocument::CreateProduct(const Ref<HostProduct>& father, const std::string& id, const TavUnicodeString& name,
                                             const TavUnicodeString& partNumber, bool resource) {
  auto p = std::make_shared<HostProduct>();
  p->name_ = name;
  p->partNumber_ = partNumber;
  p->resource_ = father ? father->resource_ : resource;
  Adopt(*p, id, p->resource_ ? 'r' : 'd');
  if (father) {
    p->father_ = father;
    father->children_.push_back(p);
  } else {
    (p->resource_ ? resources_ : products_)->roots_.push_back(p);
  }
  return p;
}

Ref<HostAssembly> HostDocument::CreateAssembly(const std::string& id, const TavUnicodeString& name, int type) {
  auto a = std::make_shared<HostAssembly>();
  a->name_ = name;
  a->type_ = type;
  Adopt(*a, id, 'm');
  assemblies_->assemblies_.push_back(a);
  return a;
}

void HostDocument::RemoveActivity(const Ref<HostActivity>& a) {
  if (!a) return;
  std::vector<Ref<HostActivity>> gone{a};
  for (auto& c : a->GetAllChildren()) gone.push_back(std::dynamic_pointer_cast<HostActivity>(c));
  for (auto& g : gone) {
    for (auto& n : g->GetNextNodes()) g->RemoveControlFlowLink(n);
    for (auto& p : g->GetPreviousNodes()) std::dynamic_pointer_cast<HostActivity>(p)->RemoveControlFlowLink(g);
    for (auto& b : g->GetPrecedences()) g->RemovePrecedence(b);
    for (auto& s : g->GetSuccessors()) std::dynamic_pointer_cast<HostActivity>(s)->RemovePrecedence(g);
    byId_.erase(g->IdString());
  }
  if (auto f = a->FatherActivity()) {
    std::erase(f->children_, a);
  } else {
    std::erase_if(process_->roots_, [&](auto& r) { return r == a; });
  }
  a->father_.reset();
  treeOrder_.clear();  // after the walk above, which may itself have remembered an order
}

// ------------------------------------------------------------------ paths
namespace {
std::vector<std::string> SplitPath(std::string_view p) {
  std::vector<std::string> out;
  std::string cur;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (p[i] == '\\' && i + 1 < p.size()) {
      cur += p[++i];  // "\/" keeps a slash inside a name
    } else if (p[i] == '/') {
      out.push_back(cur);
      cur.clear();
    } else {
      cur += p[i];
    }
  }
  out.push_back(cur);
  return out;
}
std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '/' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}
}  // namespace

TavPathElement HostDocument::PathOf(const Ref<TavBaseUnknown>& o) const {
  std::vector<Ref<TavBaseUnknown>> chain;
  Ref<TavBaseUnknown> obj = o ? o->ExtendedObject() : nullptr;
  if (auto p = std::dynamic_pointer_cast<HostProduct>(obj)) {
    for (auto q = p; q; q = q->Father()) chain.push_back(q);
  } else if (auto a = std::dynamic_pointer_cast<HostActivity>(obj)) {
    for (Ref<TavBaseUnknown> q = a; q;) {
      chain.push_back(q);
      auto qa = std::dynamic_pointer_cast<TavISPPAbstractActivity>(q);
      q = qa ? qa->GetFather() : nullptr;
      // A behaviour's father is its resource: continue through the resource tree.
      if (auto rp = std::dynamic_pointer_cast<HostProduct>(q)) {
        for (auto r = rp; r; r = r->Father()) chain.push_back(r);
        break;
      }
    }
  } else if (obj) {
    chain.push_back(obj);
  }
  std::reverse(chain.begin(), chain.end());
  return TavPathElement(std::move(chain));
}

std::string HostDocument::PathString(const Ref<TavBaseUnknown>& o) const {
  TavPathElement p = PathOf(o);
  if (p.IsEmpty()) return {};
  std::string out;
  auto top = p.GetTop();
  if (auto prod = std::dynamic_pointer_cast<HostProduct>(top)) out = prod->IsResource() ? "Resources" : "Products";
  else if (std::dynamic_pointer_cast<HostAssembly>(top)) out = "Assemblies";
  bool first = out.empty();
  for (auto& e : p.Objects()) {
    auto ho = std::dynamic_pointer_cast<HostObject>(e);
    if (!first) out += '/';
    out += Escape(ho ? ho->DisplayName().utf8() : std::string("?"));
    first = false;
  }
  return out;
}

TavPathElement HostDocument::Resolve(std::string_view path) const {
  if (path.empty()) return {};
  if (path[0] == '#') return PathOf(FindById(std::string(path.substr(1))));
  auto parts = SplitPath(path);
  auto productPath = [&](const std::vector<Ref<HostProduct>>& roots) -> TavPathElement {
    if (parts.size() < 2) return {};
    std::vector<Ref<TavBaseUnknown>> chain;
    const std::vector<Ref<HostProduct>>* level = &roots;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      Ref<HostProduct> found;
      for (auto& p : *level)
        if (p->GetName().utf8() == parts[i]) { found = p; break; }
      if (!found) return {};
      chain.push_back(found);
      level = &found->Children();
    }
    return TavPathElement(std::move(chain));
  };
  if (parts[0] == "Products") return productPath(products_->roots_);
  if (parts[0] == "Resources") return productPath(resources_->roots_);
  if (parts[0] == "Assemblies") {
    if (parts.size() != 2) return {};
    for (auto& a : assemblies_->assemblies_)
      if (a->GetName().utf8() == parts[1]) return TavPathElement({a});
    return {};
  }
  for (auto& root : process_->roots_) {
    if (root->GetLabel().utf8() != parts[0]) continue;
    std::vector<Ref<TavBaseUnknown>> chain{root};
    Ref<HostActivity> cur = root;
    for (std::size_t i = 1; i < parts.size() && cur; ++i) {
      Ref<HostActivity> next;
      for (auto& c : cur->Children())
        if (c->GetLabel().utf8() == parts[i]) { next = c; break; }
      cur = next;
      if (cur) chain.push_back(cur);
    }
    if (cur) return TavPathElement(std::move(chain));
  }
  return {};
}

}  // namespace host
