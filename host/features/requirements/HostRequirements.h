#pragma once
// Engineering requirements of products, kept in plant files as <requirements> and
// implemented by activities through "process_implements_requirement"; the hub
// information of hub documents; the kinds of the host's late types.
namespace host {

void RegisterRequirementsHost();

}  // namespace host
