#include "ToolsModule.h"

#include "OrvVekCrossHighlightCmd.h"
#include "TavMirtParseProcessFile.h"
#include "TavModules.h"

void RegisterToolsModule() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "TavMirtParseProcessFile", fctCreateTavMirtParseProcessFile);
    TavModuleRegistry::Get().Register(module, "OrvVekCrossHighlightCmd", fctCreateOrvVekCrossHighlightCmd);
  }
}
