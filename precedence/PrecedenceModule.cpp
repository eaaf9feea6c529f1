#include "PrecedenceModule.h"

#include "OrvVekProcessConstVerificationCmd.h"
#include "TavModules.h"

void RegisterPrecedenceModule() {
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    registry.Register(module, "OrvVekProcessConstVerificationCmd", fctCreateOrvVekProcessConstVerificationCmd);
  }
}
