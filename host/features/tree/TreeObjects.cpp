#include "TreeObjects.h"

#include "TavAssignment.h"

namespace host {

namespace {
Ref<TavBaseUnknown> BehaviorOf(const Ref<TavBaseUnknown>& o, const HostProduct& p) {
  if (!p.IsResource()) return nullptr;
  auto manager = query<OrvIResourceBehaviorManager>(o);
  auto behavior = manager ? manager->GetBehavior() : nullptr;
  return behavior ? Ref<TavBaseUnknown>(behavior) : nullptr;
}
}  // namespace

std::vector<Ref<TavBaseUnknown>> TreeRoots(const HostDocument& doc) {
  std::vector<Ref<TavBaseUnknown>> out(doc.Process().roots_.begin(), doc.Process().roots_.end());
  for (const char* c : {TavIPPRProductList::kInterfaceName, TavIPPRResourceList::kInterfaceName,
                        TavIMfgAssemblyContainer::kInterfaceName})
    if (auto container = doc.GetRootContainer(c)) out.push_back(container);
  return out;
}

std::vector<Ref<TavBaseUnknown>> TreeChildren(const Ref<TavBaseUnknown>& object) {
  Ref<TavBaseUnknown> o = object ? object->ExtendedObject() : nullptr;
  if (auto* a = TavCast<HostActivity>(o.get())) return {a->Children().begin(), a->Children().end()};
  if (auto* p = TavCast<HostProduct>(o.get())) {
    std::vector<Ref<TavBaseUnknown>> out(p->Children().begin(), p->Children().end());
    if (auto b = BehaviorOf(o, *p)) out.push_back(std::move(b));
    return out;
  }
  if (auto* l = TavCast<HostRootList>(o.get())) return {l->roots_.begin(), l->roots_.end()};
  if (auto* c = TavCast<HostAssemblyContainer>(o.get())) return {c->assemblies_.begin(), c->assemblies_.end()};
  if (auto* m = TavCast<HostAssembly>(o.get())) return m->Parts();
  return {};
}

bool HasTreeChildren(const Ref<TavBaseUnknown>& object) {
  Ref<TavBaseUnknown> o = object ? object->ExtendedObject() : nullptr;
  if (auto* a = TavCast<HostActivity>(o.get())) return !a->Children().empty();
  if (auto* p = TavCast<HostProduct>(o.get())) return !p->Children().empty() || BehaviorOf(o, *p);
  if (auto* l = TavCast<HostRootList>(o.get())) return !l->roots_.empty();
  if (auto* c = TavCast<HostAssemblyContainer>(o.get())) return !c->assemblies_.empty();
  if (auto* m = TavCast<HostAssembly>(o.get())) return !m->Parts().empty();
  return false;
}

std::string TreeText(const Ref<TavBaseUnknown>& object) {
  Ref<TavBaseUnknown> o = object ? object->ExtendedObject() : nullptr;
  if (auto* h = TavCast<HostObject>(o.get())) return h->DisplayName().utf8();
  if (auto* l = TavCast<HostRootList>(o.get())) return l->GetListName().utf8();
  if (TavCast<HostAssemblyContainer>(o.get())) return "Assemblies";
  return "?";
}

}  // namespace host
