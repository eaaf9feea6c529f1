#include "PrecedenceModule.h"

#include "TavModules.h"

void RegisterPrecedenceModule() {
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    (void)registry;
    (void)module;
  }
}
