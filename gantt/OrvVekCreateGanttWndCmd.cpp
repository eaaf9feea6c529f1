#include "OrvVekCreateGanttWndCmd.h"

#include "OrvGanttTimes.h"
#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekGanttTrace", "Traces for the Gantt chart commands");
  return t;
}
constexpr const char* kClass = "OrvVekCreateGanttWndCmd";
}  // namespace

OrvVekCreateGanttWndCmd::OrvVekCreateGanttWndCmd() : TavStateCommand("OrvVekCreateGanttWndCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekCreateGanttWndCmd() {
  return std::make_unique<OrvVekCreateGanttWndCmd>();
}

void OrvVekCreateGanttWndCmd::BuildGraph() {
  root_ = std::make_unique<TavPathElementAgent>("Root");
  root_->AddElementType(TavISPPActivity::kInterfaceName);
  auto* state = GetInitialState("SelectActivity");
  state->AddDialogAgent(root_.get());
  state->SetEntryAction([] {
    TavApplicationFrame::SetStatusText(
        TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCreateGanttWndCmd.SelectProcess.Message", {}, "Select Process"));
  });
  AddTransition(state, nullptr, IsOutputSetCondition(root_.get()), Action(&OrvVekCreateGanttWndCmd::CreateGanttWindow));
}

bool OrvVekCreateGanttWndCmd::CreateGanttWindow() {
  TavTraceScope scope(Trace(), kClass, "CreateGanttWindow");
  auto activity = query<TavISPPActivity>(root_->GetValueObject());
  auto root = OrvGanttTimes::RootProcessOf(activity);
  // Without times or adapters on the root process the command ends with no window.
  if (!activity || !OrvGanttTimes::SolveAndRefresh(root)) return true;
  const TavUnicodeString name = TavUnicodeString("Process Gantt: ") + activity->GetLabel();
  window_ = OrvGanttChartWindows::Create(name, TavFrmEditor::GetCurrentEditor(), {activity},
                                         OrvGanttTimes::DisplayMode(), {root}, 1, 0);
  return true;
}
