#include "StatesModule.h"

#include "TavModules.h"

void RegisterStatesModule() {
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    (void)registry;
    (void)module;
  }
}
