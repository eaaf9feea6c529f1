#pragma once
// A plant of the test data open in a session with a command engine, and the helpers
// command tests use: objects by id, picks, the running state.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "PlantDocument.h"

struct EnginePlant : ::testing::Test {
  std::ostringstream out;
  host::HostSession session;
  host::HostEngine engine{&out};
  Ref<host::HostDocument> doc;
  std::string err;

  // `file`: below the test data folder.
  void Open(const std::string& file) {
    doc = host::LoadPlant(std::string(MIRT_TEST_DATA) + "/" + file, err);
    ASSERT_TRUE(doc) << err;
    session.OpenDocument(doc);
  }
  Ref<TavBaseUnknown> Obj(const std::string& id) const { return doc->FindById(id); }
  static std::string Id(const Ref<TavBaseUnknown>& o) {
    auto id = query<TavIModelIdentity>(o);
    return id ? id->GetId().utf8() : "?";
  }
  bool Pick(const std::string& id) { return engine.Pick(doc->PathOf(Obj(id)), &err); }
  std::string Running() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
};
