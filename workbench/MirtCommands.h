#pragma once
// The command classes of the system, created by name through the module
// registry under both of the system's load-module names.
#include <string>
#include <vector>

inline constexpr const char* kMirtModules[] = {"OrvVekPlanner", "Mirtcommands"};

// The 63 classes, in the address order of their creation functions.
const std::vector<std::string>& MirtCommandClasses();

// Gives every class that no library has registered yet a placeholder that tells
// the user the command is not available in this build. A placeholder under one
// module name hands over to a real class registered under the other, and a real
// registration made later replaces it. Idempotent.
void RegisterMirtCommandPlaceholders();
