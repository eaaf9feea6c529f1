#include "ReplaceCopyModule.h"

#include "OrvIReplaceImpactedProduct.h"
#include "OrvIReplaceResource.h"
#include "OrvVekCreateResourceCmd.h"
#include "OrvVekDeleteResourceCmd.h"
#include "OrvVekCopyProcessAndRscCmd.h"
#include "OrvVekCopyResourceCmd.h"
#include "OrvVekReplaceProductCmd.h"
#include "OrvVekReplaceResourceCmd.h"
#include "TavModules.h"
#include "WexReplacePartsCmd.h"

void RegisterReplaceCopyModule() {
  TavInterfaceNames::Declare<OrvIReplaceResource>();
  TavInterfaceNames::Declare<OrvIReplaceImpactedProduct>();
  // The components of the process that depend on a product: its relations and flow
  // outputs, the resource programs using it, the assemblies holding it.
  for (const char* late : {"TavSPPActivitySpecification", "TavSPPProductIO", "OrvBehaviorItem", "OrvMfgAssyContent"})
    TavExtensionRegistry::Get().Register(late, OrvIReplaceImpactedProduct::kInterfaceName,
                                         [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                           return std::make_shared<OrvEReplaceImpactedProduct>(o);
                                         });
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "OrvVekReplaceResourceCmd", fctCreateOrvVekReplaceResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCreateResourceCmd", fctCreateOrvVekCreateResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekDeleteResourceCmd", fctCreateOrvVekDeleteResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCopyProcessAndRscCmd", fctCreateOrvVekCopyProcessAndRscCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCopyResourceCmd", fctCreateOrvVekCopyResourceCmd);
    TavModuleRegistry::Get().Register(module, "WexReplacePartsCmd", fctCreateWexReplacePartsCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekReplaceProductCmd", fctCreateOrvVekReplaceProductCmd);
  }
}
