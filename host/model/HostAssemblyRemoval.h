#pragma once
// What a host feature may say before an assembly leaves its document
// (HostDocument::RemoveAssembly): a feature that could not take the assembly out of
// what it keeps (a state whose holder another user locked) refuses the removal
// before anything changes, rather than leave a reference behind.
#include <functional>

#include "HostModel.h"

namespace host {

// A check answers false to refuse, after setting the reason as the last error.
void RegisterAssemblyRemovalCheck(std::function<bool(const HostDocument&, const HostAssembly&)> check);

}  // namespace host
