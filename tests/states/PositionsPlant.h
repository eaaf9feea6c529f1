#pragma once
// The door cell (displaced products and a resource, a tag group, a cable mark, an
// assembly, synchronised activities and one locked by another hub user) open in a
// session with an engine, and helpers to drive the position and synchronisation
// commands.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "PlantDocument.h"
#include "TavFlow.h"
#include "TavPositions.h"

struct PositionsPlant : ::testing::Test {
  std::ostringstream out;
  host::HostSession session;
  host::HostEngine engine{&out};
  Ref<host::HostDocument> doc;
  std::string err;

  void SetUp() override {
    doc = host::LoadPlant(std::string(MIRT_TEST_DATA) + "/e2e/positions/positions-plant.xml", err);
    ASSERT_TRUE(doc) << err;
    session.OpenDocument(doc);
  }
  Ref<TavBaseUnknown> Obj(const std::string& id) const { return doc->FindById(id); }
  static std::string Id(const Ref<TavBaseUnknown>& o) {
    auto id = query<TavIModelIdentity>(o);
    return id ? id->GetId().utf8() : "?";
  }
  static std::string Ids(const std::vector<Ref<TavBaseUnknown>>& list) {
    std::string s;
    for (auto& o : list) s += (s.empty() ? "" : " ") + Id(o);
    return s;
  }
  bool Start(const std::string& cls) { return engine.Start("OrvVekPlanner", cls, &err); }
  bool Pick(const std::string& id) { return engine.Pick(doc->PathOf(Obj(id)), &err); }
  std::string Running() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
  TavIMovable::Position Now(const std::string& id) const { return query<TavIMovable>(Obj(id))->GetPosition(); }
  TavIMovable::Position Design(const std::string& id) const { return TavDesignPositionsOf(doc)->GetDesignPosition(Obj(id)); }
  bool AtDesign(const std::string& id) const { return TavSamePosition(Now(id), Design(id)); }
  std::string Partners(const std::string& id, int type) const {
    return Ids(query<TavISPPProcessConstraintsMgt>(Obj(id))->GetConstraints(type));
  }
  // The notification windows shown so far: "kind title: text" each, one per line.
  std::string Notes() const {
    std::string s;
    for (auto& m : engine.Messages()) s += m.text + "\n";
    return s;
  }
};
