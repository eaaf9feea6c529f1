#include "OrvControlFlowDeleteCmd.h"

#include "OrvVekCommandServices.h"
#include "OrvVekLinkActServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvControlFlowDelete", "Traces for module OrvControlFlowDelete");
  return t;
}
constexpr const char* kClass = "OrvControlFlowDeleteCmd";
}  // namespace

OrvControlFlowDeleteCmd::OrvControlFlowDeleteCmd() : TavStateCommand("OrvControlFlowDeleteCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvControlFlowDeleteCmd() { return std::make_unique<OrvControlFlowDeleteCmd>(); }

void OrvControlFlowDeleteCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  agent_ = std::make_unique<TavPathElementAgent>("ControlFlowDelete");
  agent_->AddElementType(TavISPPControlFlow::kInterfaceName);
  agent_->SetRepeatMode(false);
  AddCSOClient(agent_.get());
  auto* state = GetInitialState("DeleteControlFlow");
  state->AddDialogAgent(agent_.get());
  AddTransition(state, nullptr, IsOutputSetCondition(agent_.get()), Action(&OrvControlFlowDeleteCmd::DeleteSelection));
}

bool OrvControlFlowDeleteCmd::DeleteSelection() {
  std::vector<Ref<TavBaseUnknown>> flows;
  for (const auto& p : agent_->GetListOfValues()) flows.push_back(p.GetLeaf());
  DeleteFlows(flows);
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  return true;
}

int OrvControlFlowDeleteCmd::DeleteFlows(const std::vector<Ref<TavBaseUnknown>>& flows) {
  TavTraceScope scope(Trace(), kClass, "DeleteFlows");
  using Services = OrvVekLinkActServices;
  const bool hub = Services::IsPartialReadOnlyAndPersistCF();
  int deleted = 0;
  for (const auto& f : flows) {
    auto flow = query<TavISPPControlFlow>(f);
    auto from = flow ? flow->GetSourceNode() : nullptr;
    auto to = flow ? flow->GetTargetNode() : nullptr;
    if (!from || !to) continue;
    auto life = query<TavILifeCycleObject>(f);
    if (!life) continue;
    if (hub) {
      if (FAILED(Services::LockNodes({from, to}, TavDocumentOf(from))) && !Services::GoOnAfterDisplayWarning()) continue;
      auto name = [](const Ref<TavBaseUnknown>& n) { return OrvVekCommandServices::GetDisplayName(n).Strip(); };
      Services::StartLog(from, Services::Text("OrvVekLinkActServices.Log.Delete", "Delete the link from /P1 to /P2", {name(from), name(to)}));
    }
    if (SUCCEEDED(life->Remove())) ++deleted;
    if (hub) Services::EndLog(from);
  }
  return deleted;
}
