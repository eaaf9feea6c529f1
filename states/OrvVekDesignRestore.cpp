#include "OrvVekDesignRestore.h"

#include "OrvIRestoreDesignState.h"

const char* const IID_OrvIRestoreDesignState = OrvIRestoreDesignState::kInterfaceName;

void OrvDeclareRestoreDesignState() { TavInterfaceNames::Declare<OrvIRestoreDesignState>(); }

namespace {
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }
}  // namespace

OrvVekDesignRestore::OrvVekDesignRestore(Ref<TavDocument> doc) : doc_(std::move(doc)), design_(TavDesignPositionsOf(doc_)) {}

bool OrvVekDesignRestore::IsDisplaced(const Ref<TavBaseUnknown>& product) const {
  if (!design_ || !product || design_->IsTagObject(product)) return false;
  auto movable = query<TavIMovable>(product);
  return movable && !TavSamePosition(design_->GetDesignPosition(product), movable->GetPosition());
}

std::vector<Ref<TavBaseUnknown>> OrvVekDesignRestore::ComputeDisplacedPrdRes() const {
  std::vector<Ref<TavBaseUnknown>> out;
  if (!design_) return out;
  auto walk = [&](const std::vector<Ref<TavIProduct>>& roots) {
    for (auto& root : roots) {
      if (IsDisplaced(root) && design_->CheckCableDesignStates(root)) out.push_back(root);
      for (auto& c : GetDisplacedChildren(root))
        if (design_->CheckCableDesignStates(c)) out.push_back(c);
    }
  };
  if (auto list = std::dynamic_pointer_cast<TavIPPRProductList>(doc_->GetRootContainer(TavIPPRProductList::kInterfaceName)))
    walk(list->GetRoots());
  if (auto list = std::dynamic_pointer_cast<TavIPPRResourceList>(doc_->GetRootContainer(TavIPPRResourceList::kInterfaceName)))
    walk(list->GetRoots());
  return out;
}

std::vector<Ref<TavBaseUnknown>> OrvVekDesignRestore::GetDisplacedChildren(const Ref<TavBaseUnknown>& product) const {
  std::vector<Ref<TavBaseUnknown>> out;
  auto p = query<TavIProduct>(product);
  if (!p) return out;
  for (auto& d : p->GetAllDescendants())
    if (IsDisplaced(d)) out.push_back(d);
  return out;
}

void OrvVekDesignRestore::SegregatePrdResList(const std::vector<Ref<TavBaseUnknown>>& list,
                                              std::vector<Ref<TavBaseUnknown>>& products,
                                              std::vector<Ref<TavBaseUnknown>>& resources) {
  for (auto& o : list) {
    auto p = query<TavIProduct>(o);
    if (!p) continue;
    (p->IsResource() ? resources : products).push_back(o);
  }
}

bool OrvVekDesignRestore::PutBack(const Ref<TavBaseUnknown>& product) {
  if (!IsDisplaced(product)) return false;
  query<TavIMovable>(product)->SetPosition(design_->GetDesignPosition(product));
  if (movedSet_.insert(Key(product)).second) moved_.push_back(product);
  return true;
}

void OrvVekDesignRestore::RestoreApplicativeData(const Ref<TavBaseUnknown>& product) {
  for (auto& e : TavExtensionRegistry::Get().CreateAll(product, OrvIRestoreDesignState::kInterfaceName))
    if (auto r = TavCast<OrvIRestoreDesignState>(e)) r->RestoreDesignState();
}

void OrvVekDesignRestore::RestoreProduct(const Ref<TavBaseUnknown>& product) {
  if (!restored_.insert(Key(product)).second) return;
  PutBack(product);
  // restoreChildren: one walk of the subtree; a child reached here is restored
  // (position and data) and not again when the list reaches it.
  for (auto& c : GetDisplacedChildren(product))
    if (restored_.insert(Key(c)).second) {
      PutBack(c);
      RestoreApplicativeData(c);
    }
  RestoreApplicativeData(product);
}

void OrvVekDesignRestore::RestoreMA(const Ref<TavBaseUnknown>& assembly) {
  auto ma = query<OrvIMfgAssembly>(assembly);
  // A damaged plant may hold an assembly in itself: each is walked once.
  if (!ma || !assemblies_.insert(Key(assembly)).second) return;
  std::vector<Ref<TavBaseUnknown>> parts;
  const HRESULT content = ma->GetParts(parts);
  if (FAILED(content)) return;
  for (auto& part : parts) {
    if (query<OrvIMfgAssembly>(part) || design_->IsTagObject(part)) continue;
    // A positive answer: the parts stand for their descendants, which are the content.
    if (content == 0) PutBack(part);
    else if (auto p = query<TavIProduct>(part))
      for (auto& d : p->GetAllDescendants()) PutBack(d);
  }
  for (auto& child : ma->GetChildAssemblies()) RestoreMA(child);
}

void OrvVekDesignRestore::Restore(const std::vector<Ref<TavBaseUnknown>>& list) {
  if (!design_) return;
  for (auto& entry : list) {
    if (!entry || design_->IsTagObject(entry)) continue;
    if (query<OrvIMfgAssembly>(entry)) RestoreMA(entry);
    else if (query<TavIProduct>(entry)) RestoreProduct(entry);
  }
}
