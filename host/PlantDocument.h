#pragma once
// Plant documents: one XML file per plant (see docs/plant-format.md).
#include <functional>
#include <string>

#include "HostModel.h"

namespace host {

// Loading is all-or-nothing: on any error the result is null and `error` holds one
// message "file:line:column: what is wrong".
Ref<HostDocument> LoadPlant(const std::string& path, std::string& error);
Ref<HostDocument> ParsePlant(const std::string& bytes, const std::string& fileName, std::string& error);

// The document as the bytes of a plant file; saving a loaded file gives the same bytes.
std::string SerializePlant(const HostDocument& doc);
// Atomic: a temporary file beside the target, then renamed over it.
bool SavePlant(const HostDocument& doc, const std::string& path, std::string& error);

}  // namespace host
