#pragma once
namespace host {
// Adds `library modified NAME` (an activity library edited elsewhere and not saved)
// to the session script statements. Called once from HostStartup.cpp.
void RegisterLibraryStatements();
}  // namespace host
