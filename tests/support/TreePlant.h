#pragma once
// A small plant open with a PPR tree window: a door with a hinge, a
// station with a robot, a shop of two welds and a paint step.
#include "PPRTreeWindow.h"
#include "PlantSession.h"

inline const char* kTreePlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <products>
    <product id="door" name="Door.1">
      <product id="hinge" name="Hinge.1"/>
    </product>
  </products>
  <resources>
    <resource id="st" name="Station.1" type="Station">
      <resource id="rb" name="Robot.1" type="Robot"/>
    </resource>
  </resources>
  <process id="p" name="Process" type="Activity">
    <activity id="shop" name="Body Shop" type="Activity">
      <activity id="w1" name="Weld.1" type="PhysicalActivity" time="2"/>
      <activity id="w2" name="Weld.2" type="PhysicalActivity" time="3"/>
    </activity>
    <activity id="paint" name="Paint" type="PhysicalActivity" time="1"/>
  </process>
</plant>
)";

struct TreePlantSession : PlantSession {
  Ref<host::PPRTreeWindow> tree;
  explicit TreePlantSession(Ref<host::HostDocument> d = LoadPlantText(kTreePlant))
      : PlantSession(std::move(d)), tree(host::OpenTreeWindow(editor)) {}
};
