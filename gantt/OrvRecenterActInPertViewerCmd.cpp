#include "OrvRecenterActInPertViewerCmd.h"

#include "OrvVekCenterActInPPR.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvRecenterActInPertViewer", "Traces for module OrvRecenterActInPertViewer");
  return t;
}
constexpr const char* kClass = "OrvRecenterActInPertViewerCmd";

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvRecenterActInPertViewerCmd::kCatalog, key, {}, fallback);
}
}  // namespace

OrvRecenterActInPertViewerCmd::OrvRecenterActInPertViewerCmd() : TavStateCommand("OrvRecenterActInPertViewerCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvRecenterActInPertViewerCmd() {
  return std::make_unique<OrvRecenterActInPertViewerCmd>();
}

void OrvRecenterActInPertViewerCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  agent_ = std::make_unique<TavPathElementAgent>("Activity");
  agent_->AddElementType(TavISPPAbstractActivity::kInterfaceName);
  agent_->AddElementType(TavISPPItem::kInterfaceName);
  auto* select = GetInitialState("SelectActivity");
  select->AddDialogAgent(agent_.get());
  AddTransition(select, nullptr, IsOutputSetCondition(agent_.get()),
                Action(&OrvRecenterActInPertViewerCmd::RecenterInViewers), {agent_.get()});
}

bool OrvRecenterActInPertViewerCmd::RecenterInViewers() {
  TavTraceScope scope(Trace(), kClass, "RecenterInViewers");
  auto picked = agent_->GetValueObject();
  auto* frame = TavFrmLayoutWindows::Get();
  if (!picked || !frame) return true;
  for (const auto& window : frame->GetWindows()) {
    if (query<TavNewInventorySpaceWnd>(window)) {
      OrvVekCenterActInPPR::RecenterInPPRViewer(picked, true, window, true, true, true);
    } else if (auto pert = query<OrvVekPertChartWindow>(window)) {
      RecenterInPertViewer(pert);  // a window that cannot reframe is left as it is
    }
  }
  return true;
}

bool OrvRecenterActInPertViewerCmd::RecenterInPertViewer(const Ref<OrvVekPertChartWindow>& window) {
  TavTraceScope scope(Trace(), kClass, "RecenterInPertViewer");
  int notShown = 0;
  if (FAILED(OrvPertClientVisuServices::ReframeInPertViewer(agent_->GetValueObject(), window, notShown))) return false;
  if (notShown == 1) {
    TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
    box.DisplayBox(Msg("OrvRecenterActInPertViewerCmd.ErrorWnd.Title", "Recentre"),
                   Msg("OrvRecenterActInPertViewerCmd.ErrorWnd.Text", "The PERT chart does not show this activity."));
    box.DisplayBlocked();
  }
  return true;
}
