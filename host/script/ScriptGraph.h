#pragma once
namespace host {
// Adds the graph windows' session statements. Called once from the host's start-up.
void RegisterGraphStatements();
}  // namespace host
