#include "AssignmentModule.h"

#include "OrvEResourceRelationsForItems.h"
#include "TavModules.h"
#include "WexVekGeneralAssignmentCmd.h"

void RegisterAssignmentModule() {
  static const bool once = [] {
    TavDeclareAssignmentInterfaces();
    RegisterResourceRelationsForItems();
    for (const char* module : {"OrvVekPlanner", "Mirtcommands"})
      TavModuleRegistry::Get().Register(module, "WexVekGeneralAssignmentCmd", fctCreateWexVekGeneralAssignmentCmd);
    return true;
  }();
  (void)once;
}
