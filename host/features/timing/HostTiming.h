#pragma once
// The time solver of the reference host: OrvModelTimeSolver's engine and the solved
// times every node of a process or behaviour tree answers (OrvITimedActivity).
//
// FullSolve times the tree its argument belongs to: that activity's process (or TSA),
// or, for a behaviour or one of its activities, every behaviour of the plant at once
// (they share one root and start together at 0). The semantics are TimeSolver.h's.
// A cycle or a negative duration fails the solve with the activities named, and the
// tree's times are cleared (IsTimed false) rather than left stale.
// The times are a snapshot: a change to the model after a solve leaves them as they
// were until that tree is solved again (the Gantt commands solve before they draw).
namespace host {

// Installs the engine and the extension; called once from RegisterHost.
void RegisterTimingHost();

}  // namespace host
