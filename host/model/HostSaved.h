#pragma once
// The document at its saved state: just loaded from its file, or marked saved after
// a save (HostDocument::MarkSaved). Features that keep track of what the file holds
// (which products are in it) register here at start-up and are told each time, with
// the model number the next object made will get: every object made before the saved
// state has a smaller one.
#include <functional>

#include "HostModel.h"

namespace host {

void RegisterSavedListener(std::function<void(HostDocument& doc, int nextModelNumber)> listener);

}  // namespace host
