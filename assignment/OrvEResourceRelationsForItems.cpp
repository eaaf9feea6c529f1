#include "OrvEResourceRelationsForItems.h"

#include "OrvVekServices.h"
#include "TavPlanner.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
Ref<OrvIResourceItemMgmt> ExistingItemMgt(const Ref<TavBaseUnknown>& resource) {
  auto mgr = query<OrvIResourceBehaviorManager>(resource);
  return mgr ? query<OrvIResourceItemMgmt>(mgr->GetBehavior()) : nullptr;
}

// Takes back a behaviour made for an operation that then failed.
void DropCreatedBehavior(const Ref<TavBaseUnknown>& resource, bool created) {
  if (created) OrvVekServices::DeleteResourceBehavior(resource);
}
}  // namespace

bool OrvEResourceRelationsForItems::IsFasteningResource(const Ref<TavBaseUnknown>& resource) {
  auto attrs = query<OrvIResourceAttrAccess>(resource);
  if (!attrs) return false;
  if (!attrs->AreAttributesLoaded() && FAILED(attrs->LoadAttributes())) return false;
  bool fastening = false;
  return SUCCEEDED(attrs->GetBooleanAttribute("_IsFasteningResource", fastening)) && fastening;
}

HRESULT OrvEResourceRelationsForItems::GetResourceItemMgt(const Ref<TavBaseUnknown>& resource,
                                                          Ref<OrvIResourceItemMgmt>& itemMgmt, bool create, bool* created) {
  itemMgmt = nullptr;
  if (created) *created = false;
  if (!resource) return E_FAIL;
  if (!create) {
    itemMgmt = ExistingItemMgt(resource);
    return itemMgmt ? S_OK : E_FAIL;
  }
  int canHave = 0;
  bool existed = true;
  Ref<OrvIResourceBehavior> behavior;
  if (FAILED(OrvVekServices::GetResourceBehavior(resource, canHave, behavior, existed)) || !behavior) return E_FAIL;
  itemMgmt = query<OrvIResourceItemMgmt>(behavior);
  if (!itemMgmt) {
    DropCreatedBehavior(resource, !existed);
    return E_FAIL;
  }
  if (created) *created = !existed;
  return S_OK;
}

HRESULT OrvEResourceRelationsForItems::AddResourceRelation(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type,
                                                           unsigned char, unsigned char) {
  if (!resource || IsFasteningResource(resource)) return E_FAIL;
  if (type != OrvResourceInputItem && type != OrvResourceOutputItem) return E_FAIL;
  auto item = query<TavISPPItem>(item_);
  if (!item) return E_FAIL;
  // A failure on the way leaves the resource as it was: the behaviour made for it,
  // the item, and an output assembly made for the input all go again.
  TavSavepoint mark;
  auto fail = [&] {
    mark.RollBack();
    return E_FAIL;
  };
  Ref<OrvIResourceItemMgmt> mgmt;
  if (FAILED(GetResourceItemMgt(resource, mgmt, true))) return fail();
  HRESULT hr = type == OrvResourceInputItem ? mgmt->AddInputItem(item_) : mgmt->AddOutputItem(item_);
  if (FAILED(hr)) return fail();
  // Only a new input goes under the output assembly.
  if (hr == S_OK && type == OrvResourceInputItem && FAILED(PostUpdateAddItem(item_, resource))) return fail();
  return hr;
}

HRESULT OrvEResourceRelationsForItems::RemoveResourceRelation(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type,
                                                              unsigned char, unsigned char) {
  if (!resource) return E_FAIL;
  auto item = query<TavISPPItem>(item_);
  Ref<OrvIResourceItemMgmt> mgmt;
  // Removing never makes a behaviour.
  if (!item || FAILED(GetResourceItemMgt(resource, mgmt))) return E_FAIL;
  HRESULT hr = type == OrvResourceInputItem    ? mgmt->RemoveInputItem(item_)
               : type == OrvResourceOutputItem ? mgmt->RemoveOutputItem(item_)
                                               : E_FAIL;
  if (FAILED(hr)) return E_FAIL;
  if (type == OrvResourceInputItem) PostUpdateRemoveItem(item_, resource);
  return S_OK;
}

HRESULT OrvEResourceRelationsForItems::IsValidToAssign(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType) {
  if (!resource || IsFasteningResource(resource)) return E_FAIL;
  // A query makes no behaviour: one that exists or can be made will do.
  auto mgr = query<OrvIResourceBehaviorManager>(resource);
  if (!mgr || (!mgr->GetBehavior() && OrvVekServices::CanResourceHaveBehavior(resource) != 1)) return E_FAIL;
  if (query<OrvIMfgAssembly>(item_) && IsItemOutputOfResource(item_, resource)) return E_FAIL;
  return S_OK;
}

HRESULT OrvEResourceRelationsForItems::IsAssigned(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType) {
  Ref<OrvIResourceItemMgmt> mgmt;
  if (FAILED(GetResourceItemMgt(resource, mgmt)) || !query<TavISPPItem>(item_)) return E_FAIL;
  return mgmt->IsItemAssigned(item_);
}

HRESULT OrvEResourceRelationsForItems::PostUpdateAddItem(const Ref<TavBaseUnknown>& item, const Ref<TavBaseUnknown>& resource) {
  if (!item || !resource) return E_FAIL;
  if (auto type = query<OrvIGetResourceType>(resource); type && !type->KeepsOutputAssembly()) return S_OK;
  Ref<OrvIMfgAssembly> assembly;
  if (FAILED(GetOutputItem(resource, assembly)) || !assembly)
    if (FAILED(CreateOutputItem(resource, assembly)) || !assembly) return E_FAIL;
  return SUCCEEDED(assembly->AddPart(item)) ? S_OK : E_FAIL;
}

HRESULT OrvEResourceRelationsForItems::PostUpdateRemoveItem(const Ref<TavBaseUnknown>& item, const Ref<TavBaseUnknown>& resource) {
  Ref<OrvIMfgAssembly> assembly;
  if (FAILED(GetOutputItem(resource, assembly)) || !assembly) return S_OK;  // nothing gathered
  assembly->RemovePart(item);
  return S_OK;
}

bool OrvEResourceRelationsForItems::IsItemOutputOfResource(const Ref<TavBaseUnknown>& assembly, const Ref<TavBaseUnknown>& resource) {
  Ref<OrvIMfgAssembly> output;
  return assembly && SUCCEEDED(GetOutputItem(resource, output)) && output && SameObject(output, assembly);
}

HRESULT OrvEResourceRelationsForItems::GetOutputItem(const Ref<TavBaseUnknown>& resource, Ref<OrvIMfgAssembly>& assembly) {
  assembly = nullptr;
  Ref<OrvIResourceItemMgmt> mgmt;
  if (FAILED(GetResourceItemMgt(resource, mgmt))) return E_FAIL;
  for (auto& o : mgmt->GetOutputItems())
    if ((assembly = query<OrvIMfgAssembly>(o))) return S_OK;
  return E_FAIL;
}

HRESULT OrvEResourceRelationsForItems::CreateOutputItem(const Ref<TavBaseUnknown>& resource, Ref<OrvIMfgAssembly>& assembly) {
  assembly = nullptr;
  auto product = query<TavIProduct>(resource);
  Ref<OrvIResourceItemMgmt> mgmt;
  if (!product || FAILED(GetResourceItemMgt(resource, mgmt))) return E_FAIL;
  auto made = OrvEMfgAssemblyFactory::CreateMfgAssembly(TavDocumentOf(resource), "MA_" + product->GetName(), 3);
  if (!made || FAILED(mgmt->AddOutputItem(made))) return E_FAIL;
  assembly = made;
  return S_OK;
}

void RegisterResourceRelationsForItems() {
  auto factory = [](const Ref<TavBaseUnknown>& extended) -> Ref<TavBaseUnknown> {
    return std::make_shared<OrvEResourceRelationsForItems>(extended);
  };
  for (const char* late : {"TavProduct", "OrvMfgAssy"})
    TavExtensionRegistry::Get().Register(late, OrvIResourceRelations::kInterfaceName, factory);
}
