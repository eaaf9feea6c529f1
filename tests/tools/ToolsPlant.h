#pragma once
// A plant in a host session with the engine commands run on, for the tools' tests.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostRuntime.h"
#include "PlantDocument.h"

struct ToolsPlant : ::testing::Test {
  host::HostSession session;
  Ref<host::HostDocument> doc = host::HostDocument::Create(false);
  std::ostringstream out;
  host::HostEngine engine{&out};

  void Open() { session.OpenDocument(doc); }
  void Start(const char* className) {
    std::string err;
    ASSERT_TRUE(engine.Start("OrvVekPlanner", className, &err)) << err;
  }
  bool Pick(const Ref<TavBaseUnknown>& o, std::string* why = nullptr) {
    std::string err;
    const bool ok = engine.Pick(doc->PathOf(o), &err);
    if (why) *why = err;
    return ok;
  }
  std::string State() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
  std::string Saved() { return host::SerializePlant(*doc); }
};
