#include "OrvRefreshGanttCommand.h"

#include "OrvGanttTimes.h"
#include "OrvVekServices.h"
#include "TavAssignment.h"
#include "TavGantt.h"
#include "TavGraph.h"

OrvRefreshGanttCommand::OrvRefreshGanttCommand() : TavStateCommand("OrvRefreshGanttCommand") {}

std::unique_ptr<TavStateCommand> fctCreateOrvRefreshGanttCommand() { return std::make_unique<OrvRefreshGanttCommand>(); }

void OrvRefreshGanttCommand::BuildGraph() {
  AddTransition(GetInitialState("initialState"), nullptr, [] { return true; },
                Action(&OrvRefreshGanttCommand::RefreshGanttWindowActivationCB));
}

bool OrvRefreshGanttCommand::RefreshGanttWindowActivationCB() {
  RefreshGanttWindow();
  return true;
}

void OrvRefreshGanttCommand::RefreshGanttWindow() {
  auto* layout = TavFrmLayoutWindows::Get();
  auto window = std::dynamic_pointer_cast<OrvGanttChartWindow>(layout ? layout->GetCurrentWindow() : nullptr);
  if (!window) return;
  UpdateTimeSolverOnProcess();
  UpdateTimeSolverOnBehavior();
  window->UpdateGanttTable();
  if (auto rows = query<OrvIGanttChartRows>(Ref<TavBaseUnknown>(window))) rows->UpdateTimeBarsColor();
}

void OrvRefreshGanttCommand::UpdateTimeSolverOnProcess() {
  OrvGanttTimes::SolveAndRefresh(OrvGanttTimes::CurrentRootProcess());
}

void OrvRefreshGanttCommand::UpdateTimeSolverOnBehavior() {
  const auto behaviors = OrvVekServices::GetAllBehavior();
  if (behaviors.empty()) return;
  const auto root = OrvGanttTimes::RootProcessOf(behaviors.front());
  if (query<OrvITimedActivity>(root)) OrvModelTimeSolver().FullSolve(root);
}
