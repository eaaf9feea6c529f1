#pragma once
namespace host {

// print highlight, expect highlighted, print requirements
void RegisterRequirementStatements();

}  // namespace host
