#pragma once
// The PERT chart, precedence viewer and layout commands driven through the host's
// engine on a small plant open in a session, with a settings folder per test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "ConfigFolder.h"
#include "HostEngine.h"
#include "HostWindows.h"
#include "PlantText.h"
#include "TavGraph.h"

namespace pert_test {
namespace fs = std::filesystem;

inline const char* kPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="ENV">
  <resources>
    <resource id="rb" name="Robot.1" type="Robot">
      <behavior id="bh" name="Robot.1 cycle">
        <activity id="bh_pick" name="Pick" type="PhysicalActivity" time="2"/>
        <activity id="bh_place" name="Place" type="PhysicalActivity" time="3"/>
        <links>
          <flow from="bh_pick" to="bh_place"/>
        </links>
      </behavior>
    </resource>
    <resource id="rb2" name="Robot.2" type="Robot"/>
  </resources>
  <process id="p" name="Process" type="Activity">
    <activity id="cell" name="Cell" type="Activity">
      <activity id="load" name="Load" type="PhysicalActivity" time="10"/>
      <activity id="weld" name="Weld" type="PhysicalActivity" time="5"/>
      <activity id="unload" name="Unload" type="PhysicalActivity" time="3"/>
      <activity id="spare" name="Spare" type="PhysicalActivity" time="1"/>
    </activity>
    <activity id="paint" name="Paint" type="Activity">
      <activity id="prime" name="Prime" type="PhysicalActivity" time="4"/>
    </activity>
    <activity id="empty" name="Empty" type="Activity"/>
  </process>
  <links>
    <flow from="cell" to="paint"/>
    <flow from="load" to="weld"/>
    <flow from="weld" to="unload"/>
    <precedence from="load" to="unload"/>
  </links>
</plant>
)";

struct PertCommand : ::testing::Test {
  ConfigFolder config{"pert-commands"};
  host::HostSession session;
  std::ostringstream out;
  host::HostEngine engine{&out};
  Ref<host::HostDocument> doc;
  Ref<host::HostEditor> editor;

  explicit PertCommand(const char* environment = "local") {
    std::string text = kPlant;
    text.replace(text.find("ENV"), 3, environment);
    doc = LoadPlantText(text);
    editor = session.OpenDocument(doc);
  }
  ~PertCommand() override {
    for (auto& w : host::HostWindows::Get().Windows()) host::HostWindows::Get().Close(w);
  }
  Ref<TavBaseUnknown> At(const std::string& path) const { return doc->Resolve(path).GetLeaf(); }
  Ref<TavIGENode> Node(const std::string& path) const { return query<TavIGENode>(At(path)); }
  bool Run(const char* cls, const std::string& path) {
    std::string why;
    EXPECT_TRUE(engine.Start("OrvVekPlanner", cls, &why)) << why;
    const bool ok = engine.Pick(doc->Resolve(path), &why);
    EXPECT_EQ(engine.RunningCommand(), nullptr) << cls << " on " << path;
    return ok;
  }
  std::vector<std::string> Windows() const {
    std::vector<std::string> names;
    for (auto& w : host::HostWindows::Get().Windows())
      names.push_back(w->GetBaseName().utf8() + (w == host::HostWindows::Get().Current() ? " *" : ""));
    return names;
  }
  Ref<OrvPertController> Controller(std::size_t i) const {
    auto w = host::HostWindows::Get().Windows().at(i);
    return query<OrvIPertWindow>(Ref<TavBaseUnknown>(w))->GetController();
  }
  std::string Message(std::size_t i) const {
    const auto& m = engine.Messages().at(i);
    return m.name + " " + m.kind + ": " + m.title + ": " + m.text;
  }
};

}  // namespace pert_test
