// The document: its containers, identifiers, object creation and removal, and
// the object paths scripts and reports use.
#include <algorithm>
#include <utility>
#include <deque>
#include <stdexcept>

#include "HostModel.h"
#include "HostAssemblyRemoval.h"
#include "HostFlow.h"
#include "HostRelationIndex.h"
#include "HostUndo.h"
#include "HostWalk.h"
#include "TavMfgAssy.h"
#include "TavPlanner.h"
#include "TavPathText.h"

namespace host {
// ------------------------------------------------------------------ document
namespace {
class HostResourceTreeRoot final : public virtual TavIResourceTreeRoot {
public:
  explicit HostResourceTreeRoot(const HostDocument* d) : doc_(d) {}
  Ref<TavIProduct> GetRootProduct() const override { return doc_->ResourceRoot(); }

private:
  const HostDocument* doc_;
};

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
  // The resource tree's root product, known to the document but none of its objects.
  d->resourceRoot_ = std::make_shared<HostProduct>();
  d->resourceRoot_->name_ = "Resource.1";
  d->resourceRoot_->resource_ = true;
  d->resourceRoot_->doc_ = d.get();
  d->journal_ = std::make_unique<UndoJournal>(*d);
  d->flows_ = std::make_unique<HostFlows>(*d);
  // First of the extra containers: the model finds it on every relation change.
  d->AddContainer(std::make_shared<RelationIndex>(d.get()));
  d->AddContainer(std::make_shared<HostResourceTreeRoot>(d.get()));
  for (auto& init : DocumentInitialisers()) init(*d);
  return d;
}

HostDocument::~HostDocument() {
  resourceRoot_->doc_ = nullptr;
  byId_.ForEach([&](HostObject& o) {
    if (o.doc_ == this) o.doc_ = nullptr;
  });
}

void RegisterDocumentInitialiser(std::function<void(HostDocument&)> init) { DocumentInitialisers().push_back(std::move(init)); }

namespace {
std::vector<std::function<void(HostDocument&, const Ref<HostAssembly>&)>>& AssemblyRemovalHooks() {
  static std::vector<std::function<void(HostDocument&, const Ref<HostAssembly>&)>> v;
  return v;
}
std::vector<std::function<bool(const HostDocument&, const HostAssembly&)>>& AssemblyRemovalChecks() {
  static std::vector<std::function<bool(const HostDocument&, const HostAssembly&)>> v;
  return v;
}
}  // namespace

void RegisterAssemblyRemovalHook(std::function<void(HostDocument&, const Ref<HostAssembly>&)> hook) {
  AssemblyRemovalHooks().push_back(std::move(hook));
}
void RegisterAssemblyRemovalCheck(std::function<bool(const HostDocument&, const HostAssembly&)> check) {
  AssemblyRemovalChecks().push_back(std::move(check));
}

bool HostDocument::RemoveAssembly(const Ref<HostAssembly>& a) {
  if (!a || !Holds(*a)) return false;
  auto& list = assemblies_->assemblies_;
  if (std::find(list.begin(), list.end(), a) == list.end()) return false;
  for (auto& check : AssemblyRemovalChecks())
    if (!check(*this, *a)) return false;
  // What points at it goes first, each change recorded, so undo puts it all back.
  for (auto& other : std::vector(list))
    if (other != a && other->HasPart(a.get())) other->RemovePart(a);
  for (auto& r : RelationIndex::Of(*this)->Naming(a.get(), false))
    if (auto owner = std::dynamic_pointer_cast<HostActivity>(r->GetOwner())) owner->RemoveRelation(r->GetRelationType(), a);
  for (auto& hook : AssemblyRemovalHooks()) hook(*this, a);
  auto at = std::find(list.begin(), list.end(), a);
  if (recording_) recording_->Add(undo::Assembly{a, static_cast<std::uint32_t>(at - list.begin()), true});
  list.erase(at);
  ReleaseId(*a);
  return true;
}

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
  return byId_.Lock(id.utf8());
}

std::string HostDocument::NewId(char prefix) {
  for (;;) {
    std::string id = std::string(1, prefix) + std::to_string(++nextId_[prefix]);
    if (!byId_.Find(id)) return id;
  }
}

void HostDocument::Adopt(HostObject& o, const std::string& id, char prefix) {
  std::string the = id.empty() ? NewId(prefix) : id;
  // One probe: the id is filed, or found taken and the object left as it was.
  TavUnicodeString before = std::exchange(o.id_, TavUnicodeString(std::move(the)));
  if (!byId_.Insert(o)) {
    std::string taken = std::exchange(o.id_, std::move(before)).utf8();
    throw std::invalid_argument("duplicate id '" + taken + "'");
  }
  o.doc_ = this;
  o.modelNumber_ = nextModelNumber_++;
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
  if (recording_) recording_->Add(undo::Child{a, nullptr, 0, false});
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
  if (recording_) recording_->Add(undo::Child{a, nullptr, 0, false});
  return a;
}

Ref<HostProduct> HostDocument::CreateProduct(const Ref<HostProduct>& father, const std::string& id, const TavUnicodeString& name,
                                             const TavUnicodeString& partNumber, bool resource) {
  // The resource root stands for the resource list: its "children" are the list's roots.
  if (father && father->IsResourceRoot()) return CreateProduct(nullptr, id, name, partNumber, true);
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
  if (recording_) recording_->Add(undo::Product{p, nullptr, 0, false});
  return p;
}

Ref<HostAssembly> HostDocument::CreateAssembly(const std::string& id, const TavUnicodeString& name, int type) {
  auto a = std::make_shared<HostAssembly>();
  a->name_ = name;
  a->type_ = type;
  Adopt(*a, id, 'm');
  assemblies_->assemblies_.push_back(a);
  if (recording_) recording_->Add(undo::Assembly{a, 0, false});
  return a;
}

void HostDocument::RemoveActivity(const Ref<HostActivity>& a) {
  if (!a) return;
  std::vector<Ref<HostActivity>> gone{a};
  for (auto& c : a->GetAllChildren()) gone.push_back(std::dynamic_pointer_cast<HostActivity>(c));
  for (auto& g : gone) {
    g->RemoveAllLinks();
    for (auto& b : g->GetPrecedences()) g->RemovePrecedence(b);
    for (auto& s : g->GetSuccessors()) std::dynamic_pointer_cast<HostActivity>(s)->RemovePrecedence(g);
    if (g->constraintLinks_) {
      for (int type : {TavConstraintType::Plain, TavConstraintType::StartStart, TavConstraintType::EndEnd}) {
        for (auto& c : g->GetConstraints(type)) g->ChangeConstraint(c, type, false);
        auto& by = type == TavConstraintType::Plain ? g->constraintLinks_->constrainedBy : g->constraintLinks_->syncOf[type - 1];
        for (auto& w : std::vector(by))
          if (auto other = w.lock()) other->ChangeConstraint(g, type, false);
      }
      if (!g->constraintLinks_->prevCycle.empty()) g->SetPrevCycleConstraints({});
      for (auto& w : std::vector(g->constraintLinks_->prevCycleOf))
        if (auto by = w.lock()) {
          auto list = by->GetPrevCycleConstraints();
          std::erase(list, std::static_pointer_cast<TavBaseUnknown>(g));
          by->SetPrevCycleConstraints(list);
        }
    }
    byId_.Erase(*g);
  }
  // Out of the document: GetDocument() answers null, and changes made to the subtree
  // while it is out are no changes of the document (nothing records them).
  for (auto& g : gone) g->doc_ = nullptr;
  // Where the subtree was, after its links: undo puts it back, then the links.
  auto detach = [&](auto& list, const Ref<HostActivity>& father) {
    auto at = std::find_if(list.begin(), list.end(), [&](auto& x) { return x == a; });
    if (at == list.end()) return;
    if (recording_) recording_->Add(undo::Child{a, father, static_cast<std::uint32_t>(at - list.begin()), true});
    list.erase(at);
  };
  if (auto f = a->FatherActivity()) detach(f->children_, f);
  else detach(process_->roots_, nullptr);
  a->father_.reset();
  treeOrder_.clear();  // after the walk above, which may itself have remembered an order
}

// ------------------------------------------------------------------ paths
namespace {
std::vector<SubObjectKind>& SubObjectKinds() {
  static std::vector<SubObjectKind> kinds;
  return kinds;
}
// The kind of a sub-object and its owner; null when `o` is none.
bool LooksLikeSubObject(const std::string& name) {
  for (const auto& k : SubObjectKinds())
    if (name.size() > k.kind.size() && name.compare(0, k.kind.size(), k.kind) == 0 && name[k.kind.size()] == ':') return true;
  return false;
}
const SubObjectKind* SubObjectOf(const Ref<TavBaseUnknown>& o, Ref<TavBaseUnknown>& owner) {
  for (const auto& k : SubObjectKinds())
    if ((owner = k.ownerOf(o))) return &k;
  return nullptr;
}
void AppendEscaped(std::string& out, const std::string& s) {
  for (char c : s) {
    if (c == '/' || c == '\\') out += '\\';
    out += c;
  }
}
}  // namespace

TavPathElement HostDocument::PathOf(const Ref<TavBaseUnknown>& o) const {
  std::vector<Ref<TavBaseUnknown>> chain;
  Ref<TavBaseUnknown> obj = o ? o->ExtendedObject() : nullptr;
  if (auto p = std::dynamic_pointer_cast<HostProduct>(obj)) {
    for (auto q = p; q; q = q->Father()) chain.push_back(q);
  } else if (TavCast<HostActivity>(obj.get())) {
    // Up the tree by the activities' own fathers: a full dynamic cast per level made
    // the paths of a deep process (each as long as its depth) cost far more than their text.
    for (Ref<TavBaseUnknown> q = obj; q;) {
      chain.push_back(q);
      if (const auto* qa = TavCast<HostActivity>(q.get())) q = qa->father_.lock();
      else if (auto other = std::dynamic_pointer_cast<TavISPPAbstractActivity>(q)) q = other->GetFather();
      else q = nullptr;
      // A behaviour's father is its resource: continue through the resource tree.
      if (auto* rp = TavCast<HostProduct>(q.get())) {
        for (Ref<HostProduct> r(q, rp); r; r = r->Father()) chain.push_back(r);
        break;
      }
    }
  } else if (Ref<TavBaseUnknown> owner; obj && SubObjectOf(obj, owner)) {
    chain = PathOf(owner).Objects();
    std::reverse(chain.begin(), chain.end());
    chain.insert(chain.begin(), obj);
  } else if (obj) {
    chain.push_back(obj);
  }
  std::reverse(chain.begin(), chain.end());
  return TavPathElement(std::move(chain));
}

std::string HostDocument::PathString(const Ref<TavBaseUnknown>& o) const {
  // A flow is named by its ends: "FROM -> TO".
  if (auto* f = TavCast<HostFlow>(o ? o->ExtendedObject().get() : nullptr))
    return PathString(f->From()) + " -> " + PathString(f->To());
  TavPathElement p = PathOf(o);
  if (p.IsEmpty()) return {};
  std::string out;
  auto top = p.GetTop();
  if (auto prod = std::dynamic_pointer_cast<HostProduct>(top)) out = prod->IsResource() ? "Resources" : "Products";
  else if (std::dynamic_pointer_cast<HostAssembly>(top)) out = "Assemblies";
  bool first = out.empty();
  Ref<TavBaseUnknown> owner;
  const SubObjectKind* sub = SubObjectOf(p.GetLeaf(), owner);
  for (auto& e : p.Objects()) {
    const HostObject* ho = TavCast<HostObject>(e.get());
    if (!first) out += '/';
    const std::string name = ho ? ho->DisplayName().utf8() : std::string("?");
    if (sub && e == p.GetLeaf()) out += sub->kind + ':';
    else if (LooksLikeSubObject(name)) out += '\\';
    AppendEscaped(out, name);
    first = false;
  }
  return out;
}

TavPathElement HostDocument::Resolve(std::string_view path) const {
  if (path.empty()) return {};
  TavPathElement found = ResolveIdOrTreePath(path);
  // "FROM -> TO" names a control-flow link; a label may hold " -> " too, so a tree
  // path is tried first, then each split until both ends are linked nodes.
  // The ends are nodes, never links: resolving them does not split again, so a path
  // with many arrows costs one tree lookup pair per arrow.
  auto node = [&](std::string_view end) {
    return std::dynamic_pointer_cast<HostActivity>(end.empty() ? nullptr : ResolveIdOrTreePath(end).GetLeaf());
  };
  for (auto arrow = path.find(" -> "); found.IsEmpty() && arrow != std::string_view::npos; arrow = path.find(" -> ", arrow + 1)) {
    auto from = node(path.substr(0, arrow));
    auto to = node(path.substr(arrow + 4));
    if (auto flow = from && to ? flows_->Of(from, to) : nullptr) found = TavPathElement({flow});
  }
  return found;
}

TavPathElement HostDocument::ResolveIdOrTreePath(std::string_view path) const {
  if (path[0] == '#') return PathOf(FindById(std::string(path.substr(1))));
  // "OWNER/kind:NAME" names a sub-object; a tree object whose name looks like that
  // is printed with its first character escaped ("\state:Open"), so both stay reachable.
  if (!SubObjectKinds().empty()) {
    std::size_t slash = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
      if (path[i] == '\\') ++i;
      else if (path[i] == '/') slash = i;
    }
    const std::string_view tail = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    for (const auto& k : SubObjectKinds())
      if (tail.size() > k.kind.size() && tail.substr(0, k.kind.size()) == k.kind && tail[k.kind.size()] == ':') {
        Ref<TavBaseUnknown> owner = ResolveIdOrTreePath(path.substr(0, slash)).GetLeaf();
        const std::string name = TavSplitPathText(tail.substr(k.kind.size() + 1)).front();
        if (auto o = owner ? k.find(owner, TavUnicodeString(name)) : nullptr) return PathOf(o);
      }
  }
  return ResolveTreePath(path);
}

namespace {
std::function<Ref<HostActivity>(const HostProduct&)>& ResourceActivity() {
  static std::function<Ref<HostActivity>(const HostProduct&)> find;
  return find;
}
}  // namespace

void RegisterResourceActivity(std::function<Ref<HostActivity>(const HostProduct& resource)> find) {
  ResourceActivity() = std::move(find);
}

void RegisterSubObjectKind(SubObjectKind k) {
  for (auto& existing : SubObjectKinds())
    if (existing.kind == k.kind) {
      existing = std::move(k);
      return;
    }
  SubObjectKinds().push_back(std::move(k));
}

TavPathElement HostDocument::ResolveTreePath(std::string_view path) const {
  auto parts = TavSplitPathText(path);
  auto productPath = [&](const std::vector<Ref<HostProduct>>& roots) -> TavPathElement {
    if (parts.size() < 2) return {};
    std::vector<Ref<TavBaseUnknown>> chain;
    const std::vector<Ref<HostProduct>>* level = &roots;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      Ref<HostProduct> found;
      for (auto& p : *level)
        if (p->GetName().utf8() == parts[i]) { found = p; break; }
      if (!found) {
        // Past a resource, through the activity it keeps (its behaviour) and its children.
        auto* r = chain.empty() ? nullptr : TavCast<HostProduct>(chain.back().get());
        Ref<HostActivity> cur = r && ResourceActivity() ? ResourceActivity()(*r) : nullptr;
        if (!cur || cur->GetLabel().utf8() != parts[i]) return {};
        chain.push_back(cur);
        for (std::size_t j = i + 1; j < parts.size(); ++j) {
          Ref<HostActivity> next;
          for (auto& c : cur->Children())
            if (c->GetLabel().utf8() == parts[j]) { next = c; break; }
          if (!next) return {};
          chain.push_back(cur = next);
        }
        return TavPathElement(std::move(chain));
      }
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
