#pragma once
// A small plant where one assembly ("target", Assemblies/DoorAssy) is named from
// everywhere a plant can name an assembly, for the assembly host tests.
#include <gtest/gtest.h>

#include "HostModel.h"
#include "PlantDocument.h"
#include "PlantText.h"

inline const char* kAssemblyPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <products>
    <product id="body" name="Body.1" partNumber="B-1">
      <product id="door" name="Door.1" partNumber="D-1"/>
      <product id="hinge" name="Hinge.1" partNumber="H-1"/>
    </product>
  </products>
  <resources>
    <resource id="st" name="Station.1" type="Station">
      <resource id="rb" name="Robot.1" type="Robot">
        <behavior id="bh" name="Robot.1 handling">
          <input ref="target"/>
          <input ref="door"/>
          <output ref="target"/>
        </behavior>
      </resource>
    </resource>
  </resources>
  <assemblies>
    <assembly id="target" name="DoorAssy" partNumber="MA-1" type="1">
      <part ref="door"/>
      <part ref="hinge"/>
    </assembly>
    <assembly id="outer" name="BodyAssy" type="1">
      <part ref="body"/>
      <part ref="target"/>
    </assembly>
    <assembly id="kit" name="StationKit" type="2" planType="StationKit">
      <part ref="target"/>
      <part ref="rb"/>
    </assembly>
  </assemblies>
  <process id="p" name="Process" type="Activity">
    <activity id="a1" name="Join" type="PhysicalActivity">
      <relation type="process_processes_product" ref="target"/>
      <relation type="process_uses_resource" ref="rb"/>
      <relation type="process_creates_product" ref="target"/>
      <condition kind="begin" ref="s_ready"/>
    </activity>
    <activity id="a2" name="Check" type="PhysicalActivity">
      <relation type="process_processes_product" ref="door"/>
    </activity>
  </process>
  <fasteners>
    <fastener id="sw1" name="SpotWeld.1">
      <related ref="door"/>
      <related ref="target"/>
    </fastener>
    <fastener id="sw2" name="SpotWeld.2">
      <related ref="target"/>
    </fastener>
  </fasteners>
  <states>
    <state id="s_ready" owner="target" name="Ready"/>
    <state id="s_line" owner="st" name="LineReady">
      <uses ref="s_ready"/>
    </state>
  </states>
  <plmTypes>
    <plmType name="ergocompmanufacturingkit">
      <subType name="StationKit"/>
      <subType name="LineKit"/>
    </plmType>
    <plmType name="other">
      <subType name="X"/>
    </plmType>
  </plmTypes>
</plant>
)";

inline Ref<host::HostAssembly> AssemblyOf(const host::HostDocument& doc, const std::string& id) {
  return std::dynamic_pointer_cast<host::HostAssembly>(doc.FindById(id));
}
inline Ref<host::HostProduct> ProductOf(const host::HostDocument& doc, const std::string& id) {
  return std::dynamic_pointer_cast<host::HostProduct>(doc.FindById(id));
}
