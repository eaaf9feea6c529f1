#include "AssignmentModule.h"

#include "OrvEResourceRelationsForItems.h"
#include "TavModules.h"
#include "WexVekGeneralAssignmentCmd.h"

void RegisterAssignmentModule() {
  RegisterResourceRelationsForItems();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"})
    TavModuleRegistry::Get().Register(module, "WexVekGeneralAssignmentCmd", fctCreateWexVekGeneralAssignmentCmd);
}
