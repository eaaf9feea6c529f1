#include "StatesModule.h"

#include "OrvDefineConditionCmd.h"
#include "OrvStateCreationCmd.h"
#include "OrvVekStateEditDblClick.h"
#include "TavModules.h"

void RegisterStatesModule() {
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    registry.Register(module, "OrvDefineConditionCmd", fctCreateOrvDefineConditionCmd);
    registry.Register(module, "OrvStateCreationCmd", fctCreateOrvStateCreationCmd);
  }
  OrvVekStateEditDblClick::Register();
}
