#pragma once
namespace host {
// Adds `print states`, `expect position` and `edit` (a double click) to the session
// script statements. Called once from the host's start-up (HostStartup.cpp).
void RegisterStateStatements();
}  // namespace host
