#include "ReplaceCopyModule.h"

#include "OrvIReplaceResource.h"
#include "OrvVekCreateResourceCmd.h"
#include "OrvVekDeleteResourceCmd.h"
#include "OrvVekCopyProcessAndRscCmd.h"
#include "OrvVekCopyResourceCmd.h"
#include "OrvVekReplaceResourceCmd.h"
#include "TavModules.h"
#include "WexReplacePartsCmd.h"

void RegisterReplaceCopyModule() {
  TavInterfaceNames::Declare<OrvIReplaceResource>();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "OrvVekReplaceResourceCmd", fctCreateOrvVekReplaceResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCreateResourceCmd", fctCreateOrvVekCreateResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekDeleteResourceCmd", fctCreateOrvVekDeleteResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCopyProcessAndRscCmd", fctCreateOrvVekCopyProcessAndRscCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCopyResourceCmd", fctCreateOrvVekCopyResourceCmd);
    TavModuleRegistry::Get().Register(module, "WexReplacePartsCmd", fctCreateWexReplacePartsCmd);
  }
}
