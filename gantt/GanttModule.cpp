#include "GanttModule.h"

#include "TavModules.h"

void RegisterGanttModule() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    (void)module;
  }
}
