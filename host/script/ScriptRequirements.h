#pragma once
namespace host {

// print highlight, expect highlighted
void RegisterRequirementStatements();

}  // namespace host
