#pragma once
// Plants loaded by batch verbs.
#include <string>

#include "PlantDocument.h"

namespace mirt {

// Loads a plant for a batch verb and keeps its model until the process ends: the
// operating system takes the memory back at once, where taking a 10^6-object model
// apart object by object costs seconds. Sanitizer builds still take it apart when
// the verb lets go of it, so the leak checker sees the whole teardown.
Ref<host::HostDocument> LoadPlantForVerb(const std::string& path, std::string& error);

}  // namespace mirt
