#include "TavMfgVersioning.h"

#include "TavCopy.h"

Ref<TavIMfgAssemblyContainer> OrvVekMfgAssyVersioningUtilities::GetMBNContainer(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return std::dynamic_pointer_cast<TavIMfgAssemblyContainer>(doc->GetRootContainer(TavIMfgAssemblyContainer::kInterfaceName));
}

Ref<OrvIMAVersioningServices> OrvVekMfgAssyVersioningUtilities::ServicesOf(const Ref<TavBaseUnknown>& object) {
  Ref<TavDocument> doc = std::dynamic_pointer_cast<TavDocument>(object);
  if (!doc) doc = TavDocumentOf(object);
  // A container that is no document member is known by its assemblies' document.
  if (auto container = std::dynamic_pointer_cast<TavIMfgAssemblyContainer>(object); !doc && container)
    for (auto& ma : container->GetAssemblies())
      if ((doc = TavDocumentOf(ma))) break;
  // The log is the document's linkable object; the versioning answers beside it.
  return doc ? std::dynamic_pointer_cast<OrvIMAVersioningServices>(doc->GetRootContainer(TavILinkableObject::kInterfaceName))
             : nullptr;
}

std::vector<Ref<OrvIMfgAssembly>> OrvVekMfgAssyVersioningUtilities::GetModifiedMAsFromLog(const Ref<TavBaseUnknown>& container) {
  auto services = ServicesOf(container);
  return services ? services->GetModifiedMAsFromLog() : std::vector<Ref<OrvIMfgAssembly>>{};
}

bool OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(const Ref<OrvIMfgAssembly>& ma) {
  auto services = ServicesOf(ma);
  return services && services->WasMAReallyMod(ma);
}

HRESULT OrvVekMfgAssyVersioningUtilities::CreateNewMAVersion(const Ref<OrvIMfgAssembly>& ma) {
  auto services = ServicesOf(ma);
  return services ? services->CreateNewMAVersion(ma) : E_FAIL;
}

void TavDeclareMfgVersioningInterfaces() {
  TavInterfaceNames::Declare<OrvIMfgAssemblyReference>();
  TavInterfaceNames::Declare<OrvIMAVersioningServices>();
}
