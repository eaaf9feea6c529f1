#pragma once
namespace host {
// Adds `print times`: a tree solved and its times. Called once from the host's start-up.
void RegisterTimingStatements();
}  // namespace host
