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
// The display name is written as <plant name="..."> unless it is the stem of the
// document's file path (the default a load gives it).
std::string SerializePlant(const HostDocument& doc);
// The same for a file at `path`; `problem` (if given) receives the first value the
// format cannot hold (a non-finite number, a malformed id, a reference outside the document).
std::string SerializePlant(const HostDocument& doc, const std::string& path, std::string* problem);
// Atomic: a temporary file beside the target, then renamed over it. A document the
// format cannot hold is refused with a message and the target is left untouched.
bool SavePlant(const HostDocument& doc, const std::string& path, std::string& error);

}  // namespace host
