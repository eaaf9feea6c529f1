#pragma once
namespace host {
// Adds `undo [N]`, `redo [N]` and `print undo` to the session script statements.
// Called once from the host's start-up (HostStartup.cpp).
void RegisterUndoStatements();
}  // namespace host
