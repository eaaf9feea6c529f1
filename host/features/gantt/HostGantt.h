#pragma once
// The host's windows and Gantt chart windows: the window frame, Gantt tables and
// their search, the Gantt setting controller, activity type attribute keys and
// resource parameters.
namespace host {
void RegisterGanttHost();
}  // namespace host
