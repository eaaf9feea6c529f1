#include "GanttModule.h"
#include "OrvVekCreateGraphWndCmd.h"
#include "OrvVekLayoutPertChartCmd.h"
#include "OrvVekPrecedentViewerWndCmd.h"
#include "TavModules.h"

void RegisterPertChartCommands() {
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    registry.Register(module, "OrvVekCreateGraphWndCmd", fctCreateOrvVekCreateGraphWndCmd);
    registry.Register(module, "OrvVekPrecedentViewerWndCmd", fctCreateOrvVekPrecedentViewerWndCmd);
    registry.Register(module, "OrvVekLayoutPertChartCmd", fctCreateOrvVekLayoutPertChartCmd);
  }
}
