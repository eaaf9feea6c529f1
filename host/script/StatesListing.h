#pragma once
// What a plant holds of states: each owner's stored positions and states with their
// definitions, and each activity's or behaviour's condition lists. Shared by the
// script's `print states` and the `mirt states` verb; read through the platform's
// state interfaces only.
#include <string>
#include <vector>

#include "HostModel.h"
#include "TavStates.h"

namespace host {

struct StatesListing {
  struct Position {
    std::string name, id, path;
    TavIMovable::Position matrix;
  };
  struct State {
    std::string name, id, path;
    std::vector<std::string> definition;  // paths of positions and states, in order
  };
  struct Owner {
    std::string path;
    std::vector<Position> positions;
    std::vector<State> states;
  };
  struct Holder {
    std::string path;
    bool behaviour = false;
    std::vector<std::string> begin, context, end;  // state paths
  };
  std::vector<Owner> owners;
  std::vector<Holder> holders;
  std::size_t StateCount() const;
  std::size_t PositionCount() const;
};

// Everything, or only what concerns `objects` (an owner's states and positions; an
// activity's conditions; a resource's states and its behaviour's conditions).
StatesListing ListStates(const HostDocument& doc, const std::vector<Ref<TavBaseUnknown>>* objects = nullptr);
// Readable text, one line an entry, stable for golden files.
std::string StatesText(const StatesListing& l);

}  // namespace host
