#pragma once
// Solves the current editor's times again and redraws the current Gantt window.
#include <memory>

#include "TavCommand.h"

class OrvRefreshGanttCommand : public TavStateCommand {
public:
  OrvRefreshGanttCommand();
  void BuildGraph() override;
  bool RefreshGanttWindowActivationCB();
  // Nothing when the current window is no Gantt chart.
  void RefreshGanttWindow();
  static void UpdateTimeSolverOnProcess();
  static void UpdateTimeSolverOnBehavior();
};

std::unique_ptr<TavStateCommand> fctCreateOrvRefreshGanttCommand();
