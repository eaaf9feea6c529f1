#include "GanttModule.h"

#include "OrvSerachInGanttCmd.h"
#include "TavModules.h"

void RegisterGanttModule() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "OrvSerachInGanttCmd", fctCreateOrvSerachInGanttCmd);
  }
}
