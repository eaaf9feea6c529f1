#pragma once
// The hub's import of manufactured-assembly contexts, as far as this host has one: the
// command behind the header "WexPrcImportMAContextHdr" (listed once a hub document is
// open) takes the assemblies handed to it, records them and reports them; assemblies
// of a local plant are refused.
#include <string>
#include <vector>

namespace host {

// The names of the assemblies of each import, oldest first.
const std::vector<std::vector<std::string>>& MAContextImports();
void RegisterHubImport();

}  // namespace host
