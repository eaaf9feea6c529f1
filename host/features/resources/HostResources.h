#pragma once
// Making and deleting resources on the reference host: new products under a father,
// the document's resource factory, the resource type libraries, where a product
// hangs, the process container's resource list, what links to a resource, the
// resource events and the product root's event dispatcher.
#include <string>
#include <unordered_set>
#include <vector>

#include "HostModel.h"
#include "TavCopy.h"

namespace host {

// ------------------------------------------------------------------ resource type libraries
// The folder the resource type libraries are read from: <resources>/resourcetypes.
std::string ResourceTypeFolder();
// Reads a library's text (docs/resource-types.md). False with "FILE:LINE: reason"
// in `error` (types left empty) when it is malformed.
bool ParseResourceTypes(const std::string& text, const std::string& fileName, std::vector<TavUnicodeString>& types,
                        std::string& error);

// What the document's notifications say (HostNotifications of the products feature).
void NotifyResource(const HostDocument& doc, std::string text, const Ref<TavBaseUnknown>& object = nullptr);

// The resource list place of a document: where a top-level resource hangs.
Ref<TavBaseUnknown> ResourceListPlace(HostDocument& doc);

// Registers the extensions and containers above, installs the type list.
void RegisterResourcesHost();
void RegisterResourceFactory();  // ResourceFactory.cpp
void RegisterResourceTypes();    // ResourceTypes.cpp
void RegisterResourceLinks();    // ResourceLinks.cpp
void RegisterResourcePlaces();   // ResourcePlaces.cpp

}  // namespace host
