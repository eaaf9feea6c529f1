#pragma once
namespace host {
// Adds `print viewer` and `expect colour|hidden|shown` to the session script
// statements. Called once from the host's start-up (HostStartup.cpp).
void RegisterViewerStatements();
}  // namespace host
