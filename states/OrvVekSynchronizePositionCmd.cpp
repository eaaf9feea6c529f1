#include "OrvVekSynchronizePositionCmd.h"

#include "TavFlow.h"
#include "TavServices.h"
#include "TavStates.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvVekSynchronizePosition", "Traces for module OrvVekSynchronizePosition");
  return t;
}
constexpr const char* kClass = "OrvVekSynchronizePositionCmd";
constexpr const char* kCatalog = "OrvVekSynchronizePositionCmd";
}  // namespace

OrvVekSynchronizePositionCmd::OrvVekSynchronizePositionCmd() : TavStateCommand("OrvVekSynchronizePositionCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekSynchronizePositionCmd() {
  return std::make_unique<OrvVekSynchronizePositionCmd>();
}

void OrvVekSynchronizePositionCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  agent_ = std::make_unique<TavPathElementAgent>("SelectPositionOrState");
  agent_->AddElementType(TavIPcsPosition::kInterfaceName);
  agent_->AddElementType(OrvIState::kInterfaceName);
  auto* select = GetInitialState("SelectPositionOrState");
  select->AddDialogAgent(agent_.get());
  AddTransition(select, nullptr, IsOutputSetCondition(agent_.get()), Action(&OrvVekSynchronizePositionCmd::SynchronizePosition),
                {agent_.get()});
}

bool OrvVekSynchronizePositionCmd::SynchronizePosition() {
  TavTraceScope scope(Trace(), kClass, "SynchronizePosition");
  auto pick = agent_->GetValueObject();
  auto execution = query<OrvIStateExecutionMgt>(pick);
  // A state whose definition stops half-way leaves nothing moved.
  TavSavepoint mark;
  if (execution && SUCCEEDED(execution->Apply())) return true;
  mark.RollBack();
  // A product that refused to move: the host's reason, when it gave one.
  TavUnicodeString why;
  if (auto e = TavError::TavGetLastError(E_FAIL)) why = e->GetNLSMessage();
  TavError::TavCleanLastError();
  TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
  box.DisplayBox(TavMsgCatalog::BuildMessage(kCatalog, "OrvVekSynchronizePositionCmd.errorTitle", {}, "Error"),
                 TavMsgCatalog::BuildMessage(kCatalog, "OrvVekSynchronizePositionCmd.failed", {why},
                                             "The position could not be applied. /P1"));
  box.DisplayBlocked();
  return true;
}
