#pragma once
// Opens a process Gantt window on one picked activity, timed from a fresh solve of
// its root process.
#include <memory>

#include "TavCommand.h"
#include "TavGraph.h"

class OrvVekCreateGanttWndCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekCreateGanttWndCmd";
  OrvVekCreateGanttWndCmd();
  void BuildGraph() override;
  // The picked activity's window, as the current one; none when its root process has
  // no times or adapters. The command ends either way.
  bool CreateGanttWindow();
  const Ref<OrvGanttChartWindow>& Window() const { return window_; }

private:
  std::unique_ptr<TavPathElementAgent> root_;
  Ref<OrvGanttChartWindow> window_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekCreateGanttWndCmd();
