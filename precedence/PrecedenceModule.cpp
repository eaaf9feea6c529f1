#include "PrecedenceModule.h"

#include "OrvControlFlowDeleteCmd.h"
#include "OrvVekConstraintToPrevCycleCmd.h"
#include "OrvVekCreatePrecedenceCmd.h"
#include "OrvVekLinkActCmd.h"
#include "OrvVekLinkChildActCmd.h"
#include "OrvVekProcessConstVerificationCmd.h"
#include "TavModules.h"

void RegisterPrecedenceModule() {
  auto& registry = TavModuleRegistry::Get();
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    registry.Register(module, "OrvVekLinkCommand", fctCreateOrvVekLinkCommand);
    registry.Register(module, "OrvVekLinkActCmd", fctCreateOrvVekLinkActCmd);
    registry.Register(module, "OrvVekLinkChildActCmd", fctCreateOrvVekLinkChildActCmd);
    registry.Register(module, "OrvVekCreatePrecedenceCmd", fctCreateOrvVekCreatePrecedenceCmd);
    registry.Register(module, "OrvVekConstraintToPrevCycleCmd", fctCreateOrvVekConstraintToPrevCycleCmd);
    registry.Register(module, "OrvControlFlowDeleteCmd", fctCreateOrvControlFlowDeleteCmd);
    registry.Register(module, "OrvVekProcessConstVerificationCmd", fctCreateOrvVekProcessConstVerificationCmd);
  }
}
