#include "StatesModule.h"

#include "OrvDefineConditionCmd.h"
#include "OrvIRestoreDesignState.h"
#include "OrvStateCreationCmd.h"
#include "OrvVekActivitySynchronisationCmd.h"
#include "OrvVekModifyPositionCmd.h"
#include "OrvVekRestoreDesignPosCmd.h"
#include "OrvVekStateEditDblClick.h"
#include "OrvVekSynchronizePositionCmd.h"
#include "TavModules.h"

void RegisterStatesModule() {
  OrvDeclareRestoreDesignState();
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    registry.Register(module, "OrvDefineConditionCmd", fctCreateOrvDefineConditionCmd);
    registry.Register(module, "OrvStateCreationCmd", fctCreateOrvStateCreationCmd);
    registry.Register(module, "OrvVekRestoreDesignPosCmd", fctCreateOrvVekRestoreDesignPosCmd);
    registry.Register(module, "OrvVekModifyPositionCmd", fctCreateOrvVekModifyPositionCmd);
    registry.Register(module, "OrvVekSynchronizePositionCmd", fctCreateOrvVekSynchronizePositionCmd);
    registry.Register(module, "OrvVekActivitySynchronisationCmd", fctCreateOrvVekActivitySynchronisationCmd);
  }
  OrvVekStateEditDblClick::Register();
}
