#include "ActivitiesModule.h"

#include "TavModules.h"
#include "TavVekRenumberActCmd.h"

void RegisterActivitiesModule() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"})
    TavModuleRegistry::Get().Register(module, "TavVekRenumberActCmd", fctCreateTavVekRenumberActCmd);
}
