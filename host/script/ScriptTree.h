#pragma once
namespace host {
// Adds the tree windows' session statements. Called once from the host's start-up.
void RegisterTreeStatements();
}  // namespace host
