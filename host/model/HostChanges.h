#pragma once
// How many model changes the host has made: each change recorded for undo, each
// record applied by undo, redo or a rollback, and each change of assembly content. An
// answer kept beside the model (an index, TavModelChanges) stays good while it stands.
#include <cstdint>

namespace host {

std::uint64_t ModelChangeCount();

}  // namespace host
