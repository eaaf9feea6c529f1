#include "GanttModule.h"
#include "TavModules.h"

void RegisterPertChartCommands() {}
