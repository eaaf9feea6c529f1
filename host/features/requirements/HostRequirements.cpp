#include "HostRequirements.h"

#include "HubDocInfo.h"
#include "ProductReconciliation.h"
#include "RequirementStore.h"

namespace host {

void RegisterRequirementsHost() {
  TavInterfaceNames::Declare<OrvIReconciliationAnalysisForEngRequirement>();
  TavInterfaceNames::Declare<OrvIMHIDocInfo>();
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!RequirementsOf(doc)) doc.AddContainer(std::make_shared<HostRequirementStore>(&doc));
    if (doc.IsHub() && !doc.FindContainer<HubDocInfo>()) doc.AddContainer(std::make_shared<HubDocInfo>(doc));
  });
  // Products only: resources carry no requirements, so the query fails on them.
  TavExtensionRegistry::Get().Register(
      "TavProduct", OrvIReconciliationAnalysisForEngRequirement::kInterfaceName,
      [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
        auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
        return p && !p->IsResource() ? std::make_shared<ProductReconciliation>(std::move(p)) : nullptr;
      });
  // The assemblies list is a node container of the manufacturing bill of materials.
  TavKinds::Declare("OrvMfgAssyContainer", "OrvMBomNodesCont");
  RegisterRequirementsPlant();
}

}  // namespace host
