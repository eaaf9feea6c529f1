#pragma once
namespace host {
// Adds `expect refused PATH` to the session script
// statements. Called once from the host's start-up (HostStartup.cpp).
void RegisterAssemblyStatements();
}  // namespace host
