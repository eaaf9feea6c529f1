#include "ReplaceCopyModule.h"

#include "OrvIReplaceResource.h"
#include "OrvVekCopyProcessAndRscCmd.h"
#include "OrvVekCopyResourceCmd.h"
#include "OrvVekReplaceResourceCmd.h"
#include "TavModules.h"

void RegisterReplaceCopyModule() {
  TavInterfaceNames::Declare<OrvIReplaceResource>();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "OrvVekReplaceResourceCmd", fctCreateOrvVekReplaceResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCopyProcessAndRscCmd", fctCreateOrvVekCopyProcessAndRscCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCopyResourceCmd", fctCreateOrvVekCopyResourceCmd);
  }
}
