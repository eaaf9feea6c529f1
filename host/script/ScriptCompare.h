#pragma once
namespace host {
// Adds `print centred` (what each open plant's window highlights and where its
// viewer is centred) and `print setting` to the session script statements.
// Called once from the host's start-up (HostStartup.cpp).
void RegisterCompareStatements();
}  // namespace host
