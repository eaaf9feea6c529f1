#include "CompareModule.h"

#include "OrvProcessCompareToolCmd.h"
#include "TavModules.h"

void RegisterCompareModule() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"})
    TavModuleRegistry::Get().Register(module, "OrvProcessCompareToolCmd", fctCreateOrvProcessCompareToolCmd);
}
