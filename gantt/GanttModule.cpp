#include "GanttModule.h"

#include "OrvGanttAddAttributeCmd.h"
#include "OrvSerachInGanttCmd.h"
#include "TavModules.h"

void RegisterGanttModule() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "OrvSerachInGanttCmd", fctCreateOrvSerachInGanttCmd);
    TavModuleRegistry::Get().Register(module, "OrvGanttAddAttributeCmd", fctCreateOrvGanttAddAttributeCmd);
  }
  RegisterGanttChartCommands();
  RegisterPertChartCommands();
  RegisterRecentreCommands();
}
