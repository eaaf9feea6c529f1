#pragma once
// Engineering requirements of products, kept in plant files as <requirements> and
// implemented by activities through "process_implements_requirement"; the hub
// information of hub documents; the kinds of the host's late types.
namespace host {

// The requirements store of every document, the reconciliation on products, the
// hub information of hub documents, the kind of the assemblies container and the
// plant section.
void RegisterRequirementsHost();
void RegisterRequirementsPlant();  // RequirementsPlant.cpp

}  // namespace host
