#pragma once
// What the undo tests share: a generated plant with every feature's objects on it,
// and a check that a change undoes and redoes to the same saved bytes.
#include <gtest/gtest.h>

#include <functional>

#include "HostAssignment.h"
#include "HostCompare.h"
#include "HostPlanner.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "PlantGenerator.h"

namespace undotest {

using namespace host;

inline Ref<HostDocument> Plant(std::uint64_t seed = 3, std::size_t activities = 60) {
  PlantSpec spec;
  spec.activities = activities;
  spec.products = 40;
  spec.resources = 12;
  spec.depth = 4;
  spec.seed = seed;
  auto doc = GeneratePlant(spec);
  // What the generator leaves out: a behaviour, a context, a fastener and a TSA.
  Ref<HostProduct> robot;
  for (auto& s : doc->Resources().roots_)
    for (auto& c : s->Children())
      if (!robot && c->GetResourceType() == "Robot") robot = c;
  if (robot) {
    auto b = AssignmentOf(*doc, true)->CreateBehavior(robot, "beh", {});
    b->AddInputItem(doc->Products().roots_.front());
  }
  auto* fasteners = FastenersOf(*doc, true);
  auto f = fasteners->CreateFastener("f1", "Spot.1");
  fasteners->Relate(f, doc->Products().roots_.front());
  ContExtOf(*doc)->CreateTSA("tsa1", "Setup", "Activity");
  doc->MarkSaved();
  return doc;
}

inline std::string Bytes(const HostDocument& doc) { return SerializePlant(doc); }

// The change as one step: undo gives the bytes before, redo the bytes after, and
// undo again the bytes before; the step is left done.
inline void ExpectUndoable(HostDocument& doc, const std::string& what, const std::function<void()>& change,
                           bool showsInFile = true) {
  SCOPED_TRACE(what);
  UndoJournal& j = doc.Journal();
  const std::string before = Bytes(doc);
  j.Begin();
  change();
  ASSERT_TRUE(j.Commit(what)) << "the change recorded nothing";
  const std::string after = Bytes(doc);
  if (showsInFile) {
    ASSERT_NE(before, after) << "the change does not show in the plant file";
  }
  std::string err;
  ASSERT_TRUE(j.Undo(&err)) << err;
  EXPECT_EQ(Bytes(doc), before);
  ASSERT_TRUE(j.Redo(&err)) << err;
  EXPECT_EQ(Bytes(doc), after);
  ASSERT_TRUE(j.Undo(&err)) << err;
  EXPECT_EQ(Bytes(doc), before);
  ASSERT_TRUE(j.Redo(&err)) << err;
}

inline Ref<HostActivity> Activity(HostDocument& doc, const std::string& id) {
  return std::dynamic_pointer_cast<HostActivity>(doc.FindById(id));
}
inline Ref<HostProduct> Product(HostDocument& doc, const std::string& id) {
  return std::dynamic_pointer_cast<HostProduct>(doc.FindById(id));
}

}  // namespace undotest
