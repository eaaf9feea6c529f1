#include "PartConsumptionModule.h"

#include "OrvEPartConsumptionAnalysis.h"
#include "OrvVekListActAssOfProdCmd.h"
#include "TavModules.h"

void RegisterPartConsumptionModule() {
  TavInterfaceNames::Declare<OrvIPartConsumptionAnalysis>();
  auto factory = [](const Ref<TavBaseUnknown>& extended) -> Ref<TavBaseUnknown> {
    return OrvEPartConsumptionAnalysis::Create(extended);
  };
  // The engine extends manufactured assemblies. In this host a product is no
  // assembly, so the query a caller makes on its first picked product would
  // fail: products and resources carry the extension too.
  for (const char* late : {"OrvMfgAssy", "TavProduct", "TavResource"})
    TavExtensionRegistry::Get().Register(late, OrvIPartConsumptionAnalysis::kInterfaceName, factory);
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"})
    TavModuleRegistry::Get().Register(module, "OrvVekListActAssOfProdCmd", fctCreateOrvVekListActAssOfProdCmd);
}
