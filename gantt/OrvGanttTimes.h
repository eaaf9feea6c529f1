#pragma once
// What the Gantt commands share around the time solver: the root process to solve,
// a solve that refreshes the windows showing it, and the display mode the Gantt
// settings ask for.
#include "TavGraph.h"

class OrvGanttTimes {
public:
  static constexpr const char* kDisplayModeKey = "DisplayMode";

  // The root process of an activity: its first ancestor (or itself) that is a process
  // root, else the topmost activity above it (a behaviour is its own root).
  static Ref<TavBaseUnknown> RootProcessOf(const Ref<TavBaseUnknown>& activity);
  // The root of the current editor's first process; null without one.
  static Ref<TavBaseUnknown> CurrentRootProcess();
  // Solves the root's tree with a new solver and refreshes its adapters. False, with
  // nothing solved, when the root lacks the timed-activity or the adapters interface.
  // A failed solve (a cycle, a negative duration) is shown in a warning window; the
  // tree's times are cleared then and the windows show it untimed.
  static bool SolveAndRefresh(const Ref<TavBaseUnknown>& root);
  // The Gantt setting controller's display setting: 2 gives mode 0, any other value
  // mode 1; without the controller the mode is 0.
  static int DisplayMode();
};
