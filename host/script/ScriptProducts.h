#pragma once
namespace host {
// Adds `print notifications` to the session script statements. Called once from
// the host's start-up (HostStartup.cpp).
void RegisterProductStatements();
}  // namespace host
