#pragma once
namespace host {

// The model change counter (TavModelChanges) and each editor's main 3D viewpoint
// (TavI3DViewpoint), which manufactured assemblies attach to.
void RegisterHighlightHost();

}  // namespace host
