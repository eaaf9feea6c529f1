#pragma once
// Copying on the reference host: the editor's copy-and-paste actor, the resource
// copy services behind OrvVekServices, which products are saved, the hub's product
// records (<hubProducts>, docs/plant-format.md) and the body-in-white activity types.
namespace host {

// Registers all of the unit; called once from RegisterHost (host/HostStartup.cpp).
void RegisterCopyHost();

// Its parts, each in its own file.
void RegisterCopyPasteActor();    // CopyPasteActor.cpp: TavCCP_Actor on editors
void RegisterSavedState();        // SavedState.cpp: TavISavedState on products and resources
void RegisterHubProducts();       // HubProducts.cpp: OrvIMHIProductAccess, <hubProducts>
void InstallResourceCopyHost();   // ResourceCopyHost.cpp: TavResourceCopyHost
void RegisterBodyInWhiteTypes();  // HostCopy.cpp

}  // namespace host
