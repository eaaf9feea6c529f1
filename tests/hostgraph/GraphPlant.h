#pragma once
// A plant with a small PERT chart open in a session, for the graph host's tests.
#include <gtest/gtest.h>

#include "GraphNode.h"
#include "HostRuntime.h"
#include "HostUndo.h"
#include "HostWindows.h"
#include "PlantText.h"

inline const char* kGraphPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <process id="p" name="Process" type="Activity">
    <activity id="cell" name="Cell" type="Activity">
      <activity id="load" name="Load" type="PhysicalActivity" time="10"/>
      <activity id="weld" name="Weld" type="PhysicalActivity" time="5"/>
      <activity id="seal" name="Seal" type="PhysicalActivity" time="7"/>
      <activity id="unload" name="Unload" type="PhysicalActivity" time="3"/>
      <activity id="spare" name="Spare" type="PhysicalActivity" time="1"/>
    </activity>
  </process>
  <links>
    <flow from="load" to="weld"/>
    <flow from="load" to="seal"/>
    <flow from="weld" to="unload"/>
    <flow from="seal" to="unload"/>
    <precedence from="weld" to="seal"/>
  </links>
</plant>
)";

struct GraphSession {
  host::HostSession session;
  Ref<host::HostDocument> doc;
  Ref<host::HostEditor> editor;

  explicit GraphSession(const std::string& text = kGraphPlant) : doc(LoadPlantText(text)) {
    if (doc) editor = session.OpenDocument(doc);
  }
  ~GraphSession() {
    for (auto& w : host::HostWindows::Get().Windows()) host::HostWindows::Get().Close(w);
  }
  Ref<TavBaseUnknown> At(const std::string& path) const { return doc->Resolve(path).GetLeaf(); }
  Ref<host::HostActivity> Activity(const std::string& path) const {
    return std::dynamic_pointer_cast<host::HostActivity>(At(path));
  }
  Ref<TavIGENode> Node(const std::string& path) const { return query<TavIGENode>(At(path)); }
};
