#include "GanttModule.h"

#include "OrvGanttAddAttributeCmd.h"
#include "TavModules.h"

void RegisterGanttModule() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "OrvGanttAddAttributeCmd", fctCreateOrvGanttAddAttributeCmd);
  }
}
