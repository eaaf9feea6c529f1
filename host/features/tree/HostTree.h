#pragma once
// The PPR tree window of the reference host (TavNewInventorySpaceWnd): a navigation
// tree over the plant's process, products, resources and assemblies that commands
// expand, highlight and centre.
namespace host {

// Registers all of the unit; called once from RegisterHost.
void RegisterTreeHost();

}  // namespace host
