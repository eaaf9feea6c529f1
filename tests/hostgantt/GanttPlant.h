#pragma once
// A small plant open in a session, for the Gantt window and frame tests.
#include <gtest/gtest.h>

#include "GanttWindow.h"
#include "PlantSession.h"

inline const char* kGanttPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <resources>
    <resource id="st" name="Station.1" type="Station">
      <attribute name="Payload" type="double" value="12.5"/>
      <resource id="rb" name="Robot.1" type="Robot">
        <attribute name="Reach" type="int" value="2"/>
        <attribute name="Brand" type="string" value="R"/>
      </resource>
    </resource>
  </resources>
  <process id="p" name="Process" type="Activity">
    <activity id="shop" name="Body Shop" type="Activity" description="front">
      <attribute name="Spots" type="int" value="3"/>
      <attribute name="Zone" type="string" value="A"/>
      <activity id="w1" name="Weld.1" type="PhysicalActivity" time="2.5">
        <attribute name="Spots" type="double" value="1.5"/>
        <attribute name="Checked" type="bool" value="true"/>
      </activity>
      <activity id="sw" name="Switch" type="Switch"/>
      <activity id="w2" name="Weld.2" type="PhysicalActivity" time="12">
        <attribute name="Zone" type="int" value="7"/>
        <attribute name="Empty" type="string" value=""/>
      </activity>
    </activity>
    <activity id="paint" name="Paint" type="PhysicalActivity" time="1e-05"/>
  </process>
</plant>
)";

// A session with the plant open; the Gantt settings start with no attribute column.
struct GanttSession : PlantSession {
  explicit GanttSession(const std::string& columns = {}) : PlantSession(kGanttPlant) { SetColumns(columns); }
  static void SetColumns(const std::string& text) {
    auto ctrl = OrvIVEKGanttSettingAtt::Instantiate(OrvIVEKGanttSettingAtt::kControllerName);
    ctrl->SetColumnVisibility(text);
  }
  Ref<host::GanttWindow> Open(const std::string& path) {
    std::string error;
    auto w = host::OpenGanttWindow(At(path), error);
    EXPECT_TRUE(w) << error;
    return w;
  }
};
