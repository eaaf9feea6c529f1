#pragma once
// A small plant whose products carry engineering requirements, implemented by a
// process activity (one named requirement), a process activity (every requirement
// of its product) and a behaviour's activity; one requirement is left open.
#include <gtest/gtest.h>

#include "HostRuntime.h"
#include "HostUndo.h"
#include "PlantText.h"
#include "TavRequirements.h"

inline const char* kRequirementPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <products>
    <product id="body" name="Body">
      <product id="door" name="Door">
        <product id="hinge" name="Hinge"/>
        <product id="panel" name="Panel"/>
      </product>
      <product id="roof" name="Roof"/>
    </product>
  </products>
  <resources>
    <resource id="st1" name="Station.1" type="Station">
      <resource id="rb1" name="Robot.1" type="Robot">
        <behavior id="bh1" name="Robot.1 handling">
          <activity id="grip" name="Grip" type="PhysicalActivity">
            <relation type="process_implements_requirement" ref="panel"/>
          </activity>
        </behavior>
      </resource>
    </resource>
  </resources>
  <assemblies>
    <assembly id="ma1" name="RoofAssy" type="1">
      <part ref="roof"/>
    </assembly>
  </assemblies>
  <process id="proc" name="Process" type="Activity">
    <activity id="hem" name="Hem" type="PhysicalActivity">
      <relation type="process_processes_product" ref="panel"/>
      <relation type="process_implements_requirement" ref="door">
        <attribute name="Requirement" type="string" value="Hem sealed"/>
      </relation>
    </activity>
    <activity id="torque" name="Torque" type="PhysicalActivity">
      <relation type="process_implements_requirement" ref="hinge"/>
    </activity>
    <activity id="spare" name="Spare" type="PhysicalActivity"/>
  </process>
  <requirements>
    <requirement product="door" name="Hem sealed" description="Flange glued &amp; closed, &quot;full length&quot; – Falz"/>
    <requirement product="door" name="Gap checked"/>
    <requirement product="hinge" name="Torqued" description="22.5 Nm"/>
    <requirement product="hinge" name="Greased"/>
    <requirement product="panel" name="Gripped"/>
  </requirements>
</plant>
)";

// The plant open in a session, with helpers to reach its objects.
struct RequirementSession {
  host::HostSession session;
  Ref<host::HostDocument> doc;

  explicit RequirementSession(const std::string& text = kRequirementPlant) : doc(LoadPlantText(text)) {
    if (doc) session.OpenDocument(doc);
  }
  Ref<TavBaseUnknown> At(const std::string& path) const { return doc->Resolve(path).GetLeaf(); }
  // The level the platform interface answers; -1 when the query or the call fails.
  int Level(const std::string& path) const { return LevelOf(At(path)); }
  static int LevelOf(const Ref<TavBaseUnknown>& o) {
    auto rec = query<OrvIReconciliationAnalysisForEngRequirement>(o);
    int level = -1;
    if (!rec || FAILED(rec->GetReconciliationLevel(level))) return -1;
    return level;
  }
};
