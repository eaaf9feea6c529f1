#pragma once
// A framing line for the copy tests, loaded from text so that every object counts
// as saved: a grouping with two stations; Station 10's activities use Robot.1 (a
// child of the station, with a gun below it) and process the body and the door.
#include <string>

#include "HostRuntime.h"
#include "PlantText.h"
#include "ReplaceCopyModule.h"

inline const char* kCopyPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local" name="Copy">
  <products>
    <product id="body" name="Body.1" partNumber="B-1"/>
    <product id="door" name="Door.1" partNumber="D-1"/>
  </products>
  <resources>
    <resource id="line" name="Line.1" type="Line">
      <resource id="st10" name="Station.10" type="Station">
        <resource id="robot" name="Robot.1" type="Robot">
          <resource id="gun" name="WeldGun.1" type="WeldGun"/>
        </resource>
      </resource>
      <resource id="st20" name="Station.20" type="Station"/>
    </resource>
  </resources>
  <process id="proc" name="Process" type="Activity">
    <activity id="grp" name="Framing" type="BIWActivityGrouping">
      <relation type="process_uses_resource" ref="line"/>
      <activity id="s10" name="Station 10" type="BIWActivityStation">
        <relation type="process_uses_resource" ref="st10"/>
        <activity id="w1" name="Weld A" type="BIWActivitySpotWelding" time="10">
          <relation type="process_processes_product" ref="body"/>
          <relation type="process_uses_resource" ref="robot"/>
          <relation type="process_attaches_resource" ref="gun"/>
        </activity>
        <activity id="w2" name="Weld B" type="BIWActivitySpotWelding" time="12">
          <relation type="process_processes_product" ref="door"/>
          <relation type="process_uses_resource" ref="robot"/>
        </activity>
      </activity>
      <activity id="s20" name="Station 20" type="BIWActivityStation">
        <relation type="process_uses_resource" ref="st20"/>
      </activity>
    </activity>
  </process>
</plant>
)";

struct CopyPlant {
  host::HostSession session;
  Ref<host::HostDocument> doc;

  explicit CopyPlant(const std::string& text = kCopyPlant) {
    RegisterReplaceCopyModule();
    doc = LoadPlantText(text);
    if (doc) session.OpenDocument(doc);
  }
  template <class T = TavBaseUnknown>
  Ref<T> Get(const std::string& id) const {
    return query<T>(doc->FindById(TavUnicodeString(id)));
  }
};
