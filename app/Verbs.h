#pragma once
// Each batch verb of `mirt` lives in its own file.
#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace mirt {

struct Verb {
  std::string name;
  std::string description;
  int order;  // position in --help
  std::function<void(CLI::App& sub)> setup;  // adds options and flags
  std::function<int()> run;                  // exit code: 0 success
  int trouble = 1;  // exit code of a failure (compare: 2, as 1 there means "different")
};

// Every verb of the program, in --help order.
std::vector<Verb>& Verbs();

// One per verb file; Verbs() lists them in one place (main.cpp), as the start-up
// lists what exists: nothing registers itself from a static initialiser.
Verb AddActivityVerb();
Verb AssembliesVerb();
Verb CheckVerb();
Verb CompareVerb();
Verb ConsumptionVerb();
Verb CreateResourceVerb();
Verb DeleteResourceVerb();
Verb CopyProcessVerb();
Verb CopyResourceVerb();
Verb DemoVerb();
Verb GanttSearchVerb();
Verb GanttVerb();
Verb PertVerb();
Verb GenerateVerb();
Verb ImportVerb();
Verb PrecedenceVerb();
Verb RelatedVerb();
Verb RenumberVerb();
Verb ReplacePartVerb();
Verb ReplaceProductVerb();
Verb ReplaceResourceVerb();
Verb RestoreVerb();
Verb RunVerb();
Verb ServeVerb();
Verb SettingsVerb();
Verb ShellVerb();
Verb StatesVerb();
Verb SyncVerb();
Verb UnassignVerb();
Verb WorkbenchVerb();

// Thrown by a verb for a failure the user must see; main prints "mirt: <what>" and exits 1.
struct VerbError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace mirt
