#pragma once
// A count of changes to any assembly's content (parts added or taken out, by a
// command, a load or undo): answers kept per content, such as which assemblies
// hold a product, know when to be made again.
#include <cstdint>

namespace host {

std::uint64_t AssemblyContentGeneration();

}  // namespace host
