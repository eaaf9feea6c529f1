#pragma once
namespace mirt {
// Registers every library's commands, extensions and workbench with the host.
// Real command classes first, so that placeholders only fill what is left.
void RegisterModules();
}  // namespace mirt
