#include "GanttModule.h"
#include "OrvRefreshGanttCommand.h"
#include "OrvVekCreateGanttWndCmd.h"
#include "OrvVekResourceGanttWndCmd.h"
#include "TavModules.h"

void RegisterGanttChartCommands() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "OrvVekCreateGanttWndCmd", fctCreateOrvVekCreateGanttWndCmd);
    TavModuleRegistry::Get().Register(module, "OrvVekResourceGanttWndCmd", fctCreateOrvVekResourceGanttWndCmd);
    TavModuleRegistry::Get().Register(module, "OrvRefreshGanttCommand", fctCreateOrvRefreshGanttCommand);
  }
}
