#include "GanttModule.h"
#include "OrvRecenterActInPertViewerCmd.h"
#include "TavModules.h"

void RegisterRecentreCommands() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"})
    TavModuleRegistry::Get().Register(module, "OrvRecenterActInPertViewerCmd", fctCreateOrvRecenterActInPertViewerCmd);
}
