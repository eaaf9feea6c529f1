#include "OrvVekSetMAExternallyProducedCmd.h"

#include "TavMfgVersioning.h"
#include "TavPlanner.h"

std::unique_ptr<TavStateCommand> fctCreateOrvVekSetMAExternallyProducedCmd() {
  return std::make_unique<OrvVekSetMAExternallyProducedCmd>();
}

void OrvVekSetMAExternallyProducedCmd::BuildGraph() {
  agent_ = std::make_unique<TavPathElementAgent>("Select Mfg Assembly");
  agent_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  auto* initial = GetInitialState("InitialState");
  initial->AddDialogAgent(agent_.get());
  AddTransition(initial, nullptr, IsOutputSetCondition(agent_.get()), Action(&OrvVekSetMAExternallyProducedCmd::SetExternallyProduced),
                {agent_.get()});
}

bool OrvVekSetMAExternallyProducedCmd::Toggle(const Ref<TavBaseUnknown>& assembly) {
  auto ma = query<OrvIMfgAssemblyReference>(assembly);
  if (!ma) return false;
  ma->SetExternallyProduced(!ma->IsExternallyProduced());
  if (auto redraw = query<TavIRedrawEvent>(assembly)) redraw->Redraw();
  // The document's log, for the versioning to find the change.
  if (auto log = OrvVekMfgAssyVersioningUtilities::ServicesOf(assembly))
    log->LogModification(assembly, TavModificationCode::ExternallyProduced, "externallyproduced");
  return true;
}

bool OrvVekSetMAExternallyProducedCmd::SetExternallyProduced() {
  Toggle(agent_->GetValueObject());
  return true;
}
