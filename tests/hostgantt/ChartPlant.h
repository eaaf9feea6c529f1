#pragma once
// A plant for the Gantt chart windows and commands: a robot doing two welds that
// nothing orders (they overlap), a positioner whose table is a mechanism, an
// activity without resource, and a product.
#include <gtest/gtest.h>

#include "PlantSession.h"

inline const char* kChartPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <products>
    <product id="door" name="Door.1"/>
  </products>
  <resources>
    <resource id="st" name="Station.1" type="Station">
      <resource id="rb" name="Robot.1" type="Robot"/>
      <resource id="pos" name="Positioner.1" type="Positioner">
        <resource id="tbl" name="Table.1" type="Mechanism"/>
      </resource>
    </resource>
  </resources>
  <process id="p" name="Process" type="Activity">
    <activity id="shop" name="Body Shop" type="PhysicalActivity">
      <activity id="w1" name="Weld.1" type="PhysicalActivity" time="2">
        <relation type="process_uses_resource" ref="rb"/>
      </activity>
      <activity id="w2" name="Weld.2" type="PhysicalActivity" time="3">
        <relation type="process_uses_resource" ref="rb"/>
      </activity>
      <activity id="turn" name="Turn" type="PhysicalActivity" time="1">
        <relation type="process_uses_resource" ref="tbl"/>
      </activity>
      <activity id="idle" name="Idle" type="PhysicalActivity" time="4"/>
    </activity>
  </process>
</plant>
)";

// The plant open in a session; its windows close with the fixture.
struct ChartSession : PlantSession {
  ChartSession() : PlantSession(kChartPlant) {}
  // A path the tests name must be there.
  Ref<TavBaseUnknown> At(const std::string& path) const {
    auto leaf = doc->Resolve(path).GetLeaf();
    EXPECT_TRUE(leaf) << path;
    return leaf;
  }
  TavPathElement Path(const std::string& path) const { return doc->Resolve(path); }
};
