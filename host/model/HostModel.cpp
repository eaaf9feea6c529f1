#include "HostModel.h"

#include <unordered_set>

#include <algorithm>
#include <deque>
#include <stdexcept>

#include "HostAssemblyEdits.h"
#include "HostFlow.h"
#include "HostAssemblyParts.h"
#include "HostRelationIndex.h"
#include "HostUndo.h"
#include "HostWalk.h"
#include "TavPlanner.h"

namespace host {

// ------------------------------------------------------------------ types
namespace {
struct TypeTable {
  std::deque<HostType> types;  // stable addresses
  // Libraries add thousands of types: a look-up per loaded activity must not scan them.
  std::unordered_map<std::string_view, const HostType*> byName;
  TypeTable() {
    Add("Activity", "");
    Add("PhysicalActivity", "Activity");
    Add("AssemblyOperation", "PhysicalActivity");
    Add("OrvBehavior", "Activity");
    Add("ResourceBehavior", "OrvBehavior");
    for (const char* n : {"Switch", "AndOut", "OrIn", "AndIn", "Start", "Stop", "Feeder", "Deliver"}) Add(n, "");
  }
  const HostType* Find(std::string_view n) const {
    auto it = byName.find(n);
    return it == byName.end() ? nullptr : it->second;
  }
  const HostType* Add(const std::string& n, const std::string& parent) {
    if (auto* t = Find(n)) return t;
    types.push_back(HostType{n, parent.empty() ? nullptr : Find(parent)});
    byName.emplace(types.back().name, &types.back());
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

namespace {
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }
// What a relation of type t adds to the codes of its kind.
unsigned CodeOf(const RelationTypeInfo* t) { return t->kind == RelationKind::Output ? 1 : t->code; }
}  // namespace

// ------------------------------------------------------------------ relation codes
std::size_t RelationCodes::Find(const TavBaseUnknown* o) const {
  if (index_) {
    auto it = index_->find(o);
    return it == index_->end() ? entries_.size() : it->second;
  }
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].object == o) return i;
  return entries_.size();
}

unsigned RelationCodes::Get(RelationKind k, const TavBaseUnknown* o) const {
  const std::size_t i = Find(o);
  return i == entries_.size() ? 0 : entries_[i].codes[static_cast<int>(k)];
}

void RelationCodes::Set(RelationKind k, const TavBaseUnknown* o, unsigned codes) {
  std::size_t i = Find(o);
  if (i == entries_.size()) {
    if (!codes) return;
    entries_.push_back({o, {0, 0, 0}});
    if (index_) {
      index_->emplace(o, static_cast<std::uint32_t>(i));
    } else if (entries_.size() > kIndexFrom) {
      index_ = std::make_unique<std::unordered_map<const TavBaseUnknown*, std::uint32_t>>();
      for (std::size_t j = 0; j < entries_.size(); ++j) index_->emplace(entries_[j].object, static_cast<std::uint32_t>(j));
    }
  }
  Entry& e = entries_[i];
  e.codes[static_cast<int>(k)] = static_cast<std::uint16_t>(codes);
  if (e.codes[0] | e.codes[1] | e.codes[2]) return;
  // Nothing left on the object: the last entry takes its place.
  if (index_) index_->erase(o);
  if (i + 1 != entries_.size()) {
    e = entries_.back();
    if (index_) (*index_)[e.object] = static_cast<std::uint32_t>(i);
  }
  entries_.pop_back();
}

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
bool HostProduct::IsResourceRoot() const { return doc_ && doc_->ResourceRoot().get() == this; }

Ref<TavIProduct> HostProduct::GetFatherProduct() const { return father_.lock(); }
std::vector<Ref<TavIProduct>> HostProduct::GetChildren() const {
  const auto& list = IsResourceRoot() ? doc_->Resources().roots_ : children_;
  return {list.begin(), list.end()};
}
int HostProduct::GetChildrenCount() const {
  return static_cast<int>(IsResourceRoot() ? doc_->Resources().roots_.size() : children_.size());
}

std::vector<Ref<TavIProduct>> HostProduct::GetAllDescendants() const {
  std::vector<Ref<TavIProduct>> out;
  if (IsResourceRoot()) {
    for (auto& r : doc_->Resources().roots_) {
      out.push_back(r);
      for (auto& d : r->GetAllDescendants()) out.push_back(std::move(d));
    }
    return out;
  }
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
bool HostAssembly::HasPart(const TavBaseUnknown* part) const {
  if (index_) return index_->count(part) > 0;
  for (auto& p : parts_)
    if (p.get() == part) return true;
  return false;
}
namespace {
std::uint64_t contentGeneration = 0;
}  // namespace
std::uint64_t AssemblyContentGeneration() { return contentGeneration; }

void HostAssembly::InsertPart(std::size_t at, Ref<TavBaseUnknown> part) {
  ++contentGeneration;
  const TavBaseUnknown* key = part.get();
  parts_.insert(parts_.begin() + static_cast<std::ptrdiff_t>(at), std::move(part));
  if (index_) index_->emplace(key, 0);
  else if (parts_.size() > kIndexFrom) {
    index_ = std::make_unique<std::unordered_map<const TavBaseUnknown*, std::uint32_t>>();
    index_->reserve(parts_.size() * 2);
    for (auto& p : parts_) index_->emplace(p.get(), 0);
  }
}
void HostAssembly::ErasePart(std::size_t at) {
  ++contentGeneration;
  if (index_) index_->erase(parts_[at].get());
  parts_.erase(parts_.begin() + static_cast<std::ptrdiff_t>(at));
}
bool HostAssembly::Reaches(const HostAssembly* other) const {
  // Iterative: nesting can be deep; each assembly is visited once.
  std::vector<const HostAssembly*> work{this};
  std::unordered_set<const HostAssembly*> seen{this};
  while (!work.empty()) {
    const HostAssembly* a = work.back();
    work.pop_back();
    if (a == other) return true;
    for (auto& p : a->parts_)
      if (auto* sub = dynamic_cast<const HostAssembly*>(p.get()); sub && seen.insert(sub).second) work.push_back(sub);
  }
  return false;
}
namespace {
// The object (an ExtendedObject) may be content of `holder`: a product or resource but
// the resource root, or an assembly that does not contain the holder. Assemblies hold
// their content strongly: one that contained itself would never be freed, and walks
// over the content would not end.
bool MayHold(const HostAssembly& holder, const TavBaseUnknown* object) {
  if (auto* sub = dynamic_cast<const HostAssembly*>(object)) return !sub->Reaches(&holder);
  auto* product = dynamic_cast<const HostProduct*>(object);
  return product && !product->IsResourceRoot();
}
}  // namespace
HRESULT HostAssembly::AddPart(const Ref<TavBaseUnknown>& part) {
  if (!part) return E_FAIL;
  Ref<TavBaseUnknown> object = part->ExtendedObject();
  if (!MayHold(*this, object.get())) return E_FAIL;
  if (HasPart(object.get())) return S_FALSE;
  InsertPart(parts_.size(), object);
  if (UndoLog* log = RecorderOf(*this)) {
    log->Add(undo::Part{SelfRef<HostAssembly>(*this), parts_.back(), 0, false});
    NotifyAssemblyEdit(*this, AssemblyEdit::Content);
  }
  return S_OK;
}
HRESULT HostAssembly::RemovePart(const Ref<TavBaseUnknown>& part) {
  if (!part) return E_FAIL;
  const TavBaseUnknown* key = part->ExtendedObject().get();
  if (!HasPart(key)) return E_FAIL;
  // From the back: emptying a content last to first costs no search.
  auto at = std::find_if(parts_.rbegin(), parts_.rend(), [&](auto& p) { return p.get() == key; });
  const auto index = static_cast<std::uint32_t>(parts_.rend() - at - 1);
  UndoLog* log = RecorderOf(*this);
  if (log) log->Add(undo::Part{SelfRef<HostAssembly>(*this), *at, index, true});
  ErasePart(index);
  if (log) NotifyAssemblyEdit(*this, AssemblyEdit::Content);
  return S_OK;
}

namespace {
constexpr const char* kTypeTexts[] = {"", "Assembly", "ManufacturingKit", "MAOutput", "AST"};
}  // namespace
int HostAssembly::TypeOfText(const TavUnicodeString& text) {
  if (text == "Manufacturing Kit") return 2;
  for (int t = 0; t < 5; ++t)
    if (text == kTypeTexts[t]) return t;
  return -1;
}
TavUnicodeString HostAssembly::GetTypeText() const { return type_ >= 0 && type_ < 5 ? kTypeTexts[type_] : ""; }
HRESULT HostAssembly::SetTypeText(const TavUnicodeString& text) {
  const int t = TypeOfText(text);
  if (t < 0) return E_FAIL;
  SetType(t);
  return S_OK;
}

Ref<OrvIMfgAssembly> HostAssemblyContainer::CreateAssembly(const TavUnicodeString& name, int type) {
  return doc_->CreateAssembly("", name, type);
}

HRESULT HostAssemblyContainer::CreateChildAssembly(const TavUnicodeString& name, const Ref<OrvIMfgAssembly>& father,
                                                   const std::vector<Ref<TavBaseUnknown>>& content,
                                                   Ref<OrvIMfgAssembly>& out) {
  out = nullptr;
  auto f = std::dynamic_pointer_cast<HostAssembly>(father ? father->ExtendedObject() : nullptr);
  if (!f || !doc_->Holds(*f)) return E_FAIL;
  // Everything is checked before anything is made: a refused item leaves no half-made
  // assembly. The new one will be inside the father, so no item may reach the father.
  for (auto& c : content)
    if (!c || !MayHold(*f, c->ExtendedObject().get())) return E_FAIL;
  auto a = doc_->CreateAssembly("", name, 1);
  for (auto& c : content) a->AddPart(c);
  f->AddPart(a);
  out = a;
  return S_OK;
}

HRESULT HostAssemblyContainer::RemoveAssembly(const Ref<OrvIMfgAssembly>& assembly) {
  auto a = std::dynamic_pointer_cast<HostAssembly>(assembly ? assembly->ExtendedObject() : nullptr);
  return a && doc_->RemoveAssembly(a) ? S_OK : E_FAIL;
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

int HostActivity::GetChildPosition(const Ref<TavBaseUnknown>& child) const {
  const TavBaseUnknown* c = child ? child->ExtendedObject().get() : nullptr;
  for (std::size_t i = 0; i < children_.size(); ++i)
    if (children_[i].get() == c) return static_cast<int>(i);
  return -1;
}

HRESULT HostActivity::RemoveChild(const Ref<TavBaseUnknown>& child) {
  auto c = std::dynamic_pointer_cast<HostActivity>(child ? child->ExtendedObject() : nullptr);
  if (!c || c->FatherActivity().get() != this || !doc_) return E_FAIL;
  doc_->RemoveActivity(c);
  return S_OK;
}

HRESULT HostActivity::IsItemAssigned(const Ref<TavBaseUnknown>& item, unsigned code) const {
  if (!item) return E_FAIL;
  return codes_.Get(RelationKind::Item, Key(item)) & code ? S_OK : S_FALSE;
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
  // Most activities asked do not relate the item: their codes say so without
  // reaching into each relation and its target.
  const TavBaseUnknown* key = Key(item);
  if (!key || !(codes_.Get(RelationKind::Item, key) | codes_.Get(RelationKind::Resource, key) | codes_.Get(RelationKind::Output, key)))
    return out;
  for (auto& r : relations_)
    if (r->Target().get() == key) out.push_back(r);  // targets are kept as their extended object
  return out;
}

HRESULT HostActivity::IsResourceAssigned(const Ref<TavBaseUnknown>& resource, unsigned code) const {
  if (!resource) return E_FAIL;
  return codes_.Get(RelationKind::Resource, Key(resource)) & code ? S_OK : S_FALSE;
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
  const Ref<TavBaseUnknown> obj = target->ExtendedObject();
  if (auto* p = TavCast<HostProduct>(obj.get())) return p->IsResource() ? t.acceptsResource : t.acceptsProduct;
  if (TavCast<HostAssembly>(obj.get())) return t.acceptsAssembly;
  return false;
}
}  // namespace

// Relations answer from their code index, so an activity with many relations is
// not searched per add.
bool HostActivity::IsRelated(const RelationTypeInfo* t, const TavBaseUnknown* obj) const {
  return codes_.Get(t->kind, obj) & CodeOf(t);
}

Ref<HostRelation> HostActivity::AppendNewRelation(const RelationTypeInfo* t, Ref<TavBaseUnknown> target) {
  auto rel = std::make_shared<HostRelation>(t, target, weak_from_this());
  relations_.push_back(rel);
  IndexRelationAdded(*this, rel);
  codes_.Add(t->kind, target.get(), CodeOf(t));
  if (t->kind == RelationKind::Output) outputs_.push_back(std::make_shared<HostProductIO>(std::move(target)));
  return rel;
}

HRESULT HostActivity::AddRelation(const RelationTypeInfo* t, const Ref<TavBaseUnknown>& target, Ref<HostRelation>* out) {
  if (!t || !Accepts(*t, target)) return E_FAIL;
  Ref<TavBaseUnknown> obj = target->ExtendedObject();
  if (IsRelated(t, obj.get())) {
    if (out)
      for (auto& r : relations_)
        if (r->Type() == t && r->Target() == obj) *out = r;
    return S_FALSE;  // already related: nothing new
  }
  auto rel = std::make_shared<HostRelation>(t, obj, weak_from_this());
  relations_.push_back(rel);
  IndexRelationAdded(*this, rel);
  if (UndoLog* log = RecorderOf(*this)) log->Add(undo::Relation{SelfRef<HostActivity>(*this), rel, 0, false});
  codes_.Add(t->kind, obj.get(), CodeOf(t));
  if (t->kind == RelationKind::Output) outputs_.push_back(std::make_shared<HostProductIO>(obj));
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
    for (auto& r : relations_) taken = taken || (r->Type() == &t && r->Target() == obj);
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
  auto at = std::find_if(relations_.begin(), relations_.end(), [&](auto& r) { return r->Type() == t && r->Target() == obj; });
  if (at == relations_.end()) return E_FAIL;
  if (UndoLog* log = RecorderOf(*this))
    log->Add(undo::Relation{SelfRef<HostActivity>(*this), *at, static_cast<std::uint32_t>(at - relations_.begin()), true});
  IndexRelationRemoved(*this, **at);
  relations_.erase(at);
  // A (type, target) pair is related at most once and each type has its own code bit
  // within its kind: the bit goes without a second pass over the relations left.
  codes_.Set(t->kind, obj.get(), codes_.Get(t->kind, obj.get()) & ~CodeOf(t));
  if (t->kind == RelationKind::Output) {
    auto io = std::find_if(outputs_.begin(), outputs_.end(), [&](auto& o) { return o->GetObject() == obj; });
    if (io != outputs_.end()) outputs_.erase(io);
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

}  // namespace host
