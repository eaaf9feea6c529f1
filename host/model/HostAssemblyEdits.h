#pragma once
// An assembly's own data edited by the planner: its content, name or part number.
// Features that keep a history of those edits (the modification log) register here at
// start-up. Only recorded changes are told: loading a plant, generating one and
// undo/redo change the model without recording and so log nothing new.
#include <functional>

#include "HostModel.h"

namespace host {

enum class AssemblyEdit { Content = 1, Name = 2, PartNumber = 3 };

void RegisterAssemblyEditListener(std::function<void(HostAssembly&, AssemblyEdit)> listener);
// Tells the listeners; called by the model after the recorded change.
void NotifyAssemblyEdit(HostAssembly& a, AssemblyEdit what);

}  // namespace host
