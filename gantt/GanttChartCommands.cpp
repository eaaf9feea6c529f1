#include "GanttModule.h"
#include "TavModules.h"

void RegisterGanttChartCommands() {}
