#pragma once
// The time solver of the reference host: OrvModelTimeSolver's engine and the solved
// times every node of a process or behaviour tree answers (OrvITimedActivity).
namespace host {

// Installs the engine and the extension; called once from RegisterHost.
void RegisterTimingHost();

}  // namespace host
