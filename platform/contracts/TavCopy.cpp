#include "TavCopy.h"

#include "OrvVekServices.h"

namespace {
TavResourceTypeList* g_types = nullptr;
TavResourceCopyHost* g_copyHost = nullptr;
}  // namespace

TavResourceTypeList* TavResourceTypeList::Get() { return g_types; }
void TavResourceTypeList::Install(TavResourceTypeList* list) { g_types = list; }
TavResourceCopyHost* TavResourceCopyHost::Get() { return g_copyHost; }
void TavResourceCopyHost::Install(TavResourceCopyHost* host) { g_copyHost = host; }

HRESULT OrvVekServices::CopyBehavior(const Ref<TavBaseUnknown>& source, const Ref<TavBaseUnknown>& copy) {
  auto* h = TavResourceCopyHost::Get();
  return h ? h->CopyBehavior(source, copy) : E_FAIL;
}

HRESULT OrvVekServices::SendPrdAddNotification(const Ref<TavBaseUnknown>& father, const Ref<TavBaseUnknown>& added) {
  auto* h = TavResourceCopyHost::Get();
  return h ? h->SendPrdAddNotification(father, added) : E_FAIL;
}

HRESULT OrvVekServices::CopySequenceLinks(const std::vector<Ref<TavBaseUnknown>>& sources,
                                          const std::vector<Ref<TavBaseUnknown>>& copies) {
  auto* h = TavResourceCopyHost::Get();
  return h ? h->CopySequenceLinks(sources, copies) : E_FAIL;
}

HRESULT OrvVekServices::CopyAssignments(const std::vector<Ref<TavBaseUnknown>>& sources,
                                        const std::vector<Ref<TavBaseUnknown>>& copies) {
  auto* h = TavResourceCopyHost::Get();
  return h ? h->CopyAssignments(sources, copies) : E_FAIL;
}

HRESULT OrvVekServices::GetAuthorizedChildrenNames(const TavPathElement& parent, std::vector<TavUnicodeString>& names) {
  names.clear();
  auto* h = TavResourceCopyHost::Get();
  return h ? h->GetAuthorizedChildrenNames(parent, names) : E_FAIL;
}

void TavDeclareCopyInterfaces() {
  TavInterfaceNames::Declare<TavCCP_Actor>();
  TavInterfaceNames::Declare<TavIAProducts>();
  TavInterfaceNames::Declare<TavIResourceFactory>();
  TavInterfaceNames::Declare<TavIProductPlace>();
  TavInterfaceNames::Declare<TavIProcessResourceList>();
  TavInterfaceNames::Declare<TavISavedState>();
  TavInterfaceNames::Declare<TavILinkableObject>();
  TavInterfaceNames::Declare<TavISpecObject>();
  TavInterfaceNames::Declare<TavIModelEvents>();
  TavInterfaceNames::Declare<TavIProductEventDispatcher>();
  TavInterfaceNames::Declare<OrvIMHIProductAccess>();
}
