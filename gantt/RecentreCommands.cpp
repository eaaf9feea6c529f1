#include "GanttModule.h"
#include "TavModules.h"

void RegisterRecentreCommands() {}
