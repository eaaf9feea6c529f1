#pragma once
namespace host {

// print viewpoint
void RegisterViewpointStatements();

}  // namespace host
