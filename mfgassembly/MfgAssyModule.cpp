#include "MfgAssyModule.h"

#include "OrvAssyTypesCmd.h"
#include "OrvMADeleteRefEbomCmd.h"
#include "OrvMARefEbomCmd.h"
#include "OrvMASelectContentCmd.h"
#include "OrvMfgAssyAsChildCmd.h"
#include "OrvMfgAssyCmd.h"
#include "OrvMfgAssyEdit.h"
#include "OrvMfgAssyNotDirectChangeableCmd.h"
#include "OrvMfgKitCmd.h"
#include "OrvVekASTViewerAddMACmd.h"
#include "OrvVekImportSelectedASTFromHubCmd.h"
#include "OrvVekMAVersioningCmd.h"
#include "OrvVekSetMAExternallyProducedCmd.h"
#include "TavModules.h"

void RegisterMfgAssyModule() {
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    registry.Register(module, "OrvMfgAssyCmd", fctCreateOrvMfgAssyCmd);
    registry.Register(module, "OrvMfgAssyAsChildCmd", fctCreateOrvMfgAssyAsChildCmd);
    registry.Register(module, "OrvMfgAssyNotDirectChangeableCmd", fctCreateOrvMfgAssyNotDirectChangeableCmd);
    registry.Register(module, "OrvMfgKitCmd", fctCreateOrvMfgKitCmd);
    registry.Register(module, "OrvMASelectContentCmd", fctCreateOrvMASelectContentCmd);
    registry.Register(module, "OrvAssyTypesCmd", fctCreateOrvAssyTypesCmd);
    registry.Register(module, "OrvMARefEbomCmd", fctCreateOrvMARefEbomCmd);
    registry.Register(module, "OrvMADeleteRefEbomCmd", fctCreateOrvMADeleteRefEbomCmd);
    registry.Register(module, "OrvVekSetMAExternallyProducedCmd", fctCreateOrvVekSetMAExternallyProducedCmd);
    registry.Register(module, "OrvVekMAVersioningCmd", fctCreateOrvVekMAVersioningCmd);
    registry.Register(module, "OrvVekASTViewerAddMACmd", fctCreateOrvVekASTViewerAddMACmd);
    registry.Register(module, "OrvVekImportSelectedASTFromHubCmd", fctCreateOrvVekImportSelectedASTFromHubCmd);
    registry.Register(module, "OrvVekDeepImpSelASTFromHubCmd", fctCreateOrvVekDeepImpSelASTFromHubCmd);
  }
  OrvMfgAssyEdit::Register();
}
