#include "AssignmentModule.h"

#include "OrvEResourceRelationsForItems.h"
#include "TavModules.h"
#include "WexVekGeneralAssignmentCmd.h"
#include "WexVekTotalUnassignCmd.h"

void RegisterAssignmentModule() {
  RegisterResourceRelationsForItems();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "WexVekGeneralAssignmentCmd", fctCreateWexVekGeneralAssignmentCmd);
    TavModuleRegistry::Get().Register(module, "WexVekTotalUnassignCmd", fctCreateWexVekTotalUnassignCmd);
  }
}
