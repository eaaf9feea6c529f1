#pragma once
namespace host {
// Adds `window gantt|activate|deactivate|close`, `print window` and `expect window`
// to the session script statements. Called once from the host's start-up (HostStartup.cpp).
void RegisterWindowStatements();
}  // namespace host
