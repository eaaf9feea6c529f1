#include "ReplaceCopyModule.h"

#include "OrvIReplaceResource.h"
#include "OrvVekCreateResourceCmd.h"
#include "OrvVekDeleteResourceCmd.h"
#include "OrvVekReplaceResourceCmd.h"
#include "TavModules.h"

void RegisterReplaceCopyModule() {
  TavInterfaceNames::Declare<OrvIReplaceResource>();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "OrvVekReplaceResourceCmd", fctCreateOrvVekReplaceResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekCreateResourceCmd", fctCreateOrvVekCreateResourceCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekDeleteResourceCmd", fctCreateOrvVekDeleteResourceCmd);
  }
}
