#pragma once
// A command of the replacement plant driven through the host's engine.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostProducts.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "ReplacePlant.h"

template <class Cmd>
struct ResourceCommand : ::testing::Test, ReplacePlant {
  std::ostringstream out;
  host::HostEngine engine{&out};
  Cmd* cmd = nullptr;

  void Start() {
    std::string err;
    auto c = std::make_unique<Cmd>();
    cmd = c.get();
    ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
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
  std::vector<std::string> Notes() { return host::NotificationsOf(*doc)->Take(); }
  std::string Saved() { return host::SerializePlant(*doc); }
};
