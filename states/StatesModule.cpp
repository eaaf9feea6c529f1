#include "StatesModule.h"

#include "OrvStateCreationCmd.h"
#include "OrvVekStateEditDblClick.h"
#include "TavModules.h"

void RegisterStatesModule() {
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    registry.Register(module, "OrvStateCreationCmd", fctCreateOrvStateCreationCmd);
  }
  OrvVekStateEditDblClick::Register();
}
