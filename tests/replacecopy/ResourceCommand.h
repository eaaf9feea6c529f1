#pragma once
// A command driven through the host's engine on a test's plant: `Base` is the test
// fixture that holds the plant (its `doc`).
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostProducts.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "ReplacePlant.h"

template <class Cmd, class Base>
struct CommandOn : Base {
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
    const bool ok = engine.Pick(this->doc->PathOf(o), &err);
    if (why) *why = err;
    return ok;
  }
  std::string State() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
  std::vector<std::string> Notes() { return host::NotificationsOf(*this->doc)->Take(); }
  std::string Saved() { return host::SerializePlant(*this->doc); }
};

struct ReplacePlantTest : ::testing::Test, ReplacePlant {};

// A command on the replacement plant.
template <class Cmd>
using ResourceCommand = CommandOn<Cmd, ReplacePlantTest>;
