#pragma once
// The door cell (displaced products and a resource, a tag group, a cable mark, an
// assembly, synchronised activities and one locked by another hub user) open in a
// session with an engine, and helpers to drive the position and synchronisation
// commands.
#include "EnginePlant.h"
#include "TavFlow.h"
#include "TavPositions.h"

struct PositionsPlant : EnginePlant {
  void SetUp() override { Open("e2e/positions/positions-plant.xml"); }
  static std::string Ids(const std::vector<Ref<TavBaseUnknown>>& list) {
    std::string s;
    for (auto& o : list) s += (s.empty() ? "" : " ") + Id(o);
    return s;
  }
  bool Start(const std::string& cls) { return engine.Start("OrvVekPlanner", cls, &err); }
  TavIMovable::Position Now(const std::string& id) const { return query<TavIMovable>(Obj(id))->GetPosition(); }
  TavIMovable::Position Design(const std::string& id) const { return TavDesignPositionsOf(doc)->GetDesignPosition(Obj(id)); }
  bool AtDesign(const std::string& id) const { return TavSamePosition(Now(id), Design(id)); }
  std::string Partners(const std::string& id, int type) const {
    return Ids(query<TavISPPProcessConstraintsMgt>(Obj(id))->GetConstraints(type));
  }
};
