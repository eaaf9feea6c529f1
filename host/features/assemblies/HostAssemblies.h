#pragma once
// The host's side of manufactured assemblies and kits: the plan-type catalogue, the
// assembly attributes of the plant format, redraws, removal from what points at an
// assembly, the preview window and double-click editing.
namespace host {

// Registers all of the unit; called once from RegisterHost (host/HostStartup.cpp).
void RegisterAssembliesHost();

// Its parts, each in its own file.
void RegisterAssemblyRedraws();       // AssemblyRedraws.cpp
void RegisterAssemblyRemovalHooks();  // AssemblyRemoval.cpp

}  // namespace host
