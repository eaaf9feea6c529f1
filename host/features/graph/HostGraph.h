#pragma once
// PERT chart and precedence viewer windows of the reference host: graph nodes of
// activities with positions per view (stored in the plant), the layered layout, the
// PERT controller and adapter, the graph configuration, and their pictures.
namespace host {

// Registers all of the unit; called once from RegisterHost.
void RegisterGraphHost();

}  // namespace host
