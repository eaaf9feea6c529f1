// The workbench's own commands through the host's transactions: renumbering and
// resource relations undo to the bytes the plant had, and redo to those after.
#include <sstream>

#include "HostEngine.h"
#include "OrvEResourceRelationsForItems.h"
#include "UndoPlant.h"

using namespace undotest;

namespace {

struct Commands : ::testing::Test {
  std::ostringstream out;
  HostSession session;
  HostEngine engine{&out};
  std::string err;
  Ref<HostDocument> Open(const std::string& file) {
    auto doc = LoadPlant(std::string(MIRT_TEST_DATA) + "/../data/" + file, err);
    EXPECT_TRUE(doc) << err;
    if (doc) session.OpenDocument(doc);
    return doc;
  }
};

TEST_F(Commands, RenumberingUndoesToTheLoadedBytes) {
  auto doc = Open("sample-plant.xml");
  ASSERT_TRUE(doc);
  const std::string loaded = Bytes(*doc);
  ASSERT_TRUE(engine.Start("OrvVekPlanner", "TavVekRenumberActCmd", &err)) << err;
  const std::string renumbered = Bytes(*doc);
  ASSERT_NE(loaded, renumbered);
  // Renumbering a renumbered plant changes no label: no step.
  ASSERT_TRUE(engine.Start("OrvVekPlanner", "TavVekRenumberActCmd", &err)) << err;
  ASSERT_EQ(doc->Journal().Size(), 1u);
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(Bytes(*doc), loaded);
  EXPECT_FALSE(doc->IsModified());
  ASSERT_TRUE(engine.Redo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(Bytes(*doc), renumbered);
}

TEST_F(Commands, RenumberingAGeneratedPlantTwiceOverUndoes) {
  auto doc = Plant(11, 400);
  session.OpenDocument(doc);
  const std::string before = Bytes(*doc);
  ASSERT_TRUE(engine.Start("OrvVekPlanner", "TavVekRenumberActCmd", &err)) << err;
  doc->Process().roots_.front()->Children().front()->SetLabel("Moved.7");  // outside any command: not recorded
  const std::string touched = Bytes(*doc);
  ASSERT_TRUE(engine.Start("OrvVekPlanner", "TavVekRenumberActCmd", &err)) << err;
  ASSERT_EQ(doc->Journal().Size(), 2u);
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(Bytes(*doc), touched);
}

TEST_F(Commands, AResourceRelationThatFailsHalfWayLeavesNothing) {
  auto doc = Plant(5);
  session.OpenDocument(doc);
  Ref<HostProduct> robot;
  for (auto& s : doc->Resources().roots_)
    for (auto& c : s->Children())
      if (c->GetResourceType() == "Robot" && !AssignmentOf(*doc, true)->BehaviorOf(*c)) robot = c;
  ASSERT_TRUE(robot);
  auto door = doc->Products().roots_.front();
  auto rr = query<OrvIResourceRelations>(door);
  ASSERT_TRUE(rr);
  // The first input makes the behaviour and the output assembly: one undoable step.
  const std::string before = Bytes(*doc);
  ExpectUndoable(*doc, "input item", [&] { EXPECT_EQ(rr->AddResourceRelation(robot, OrvResourceInputItem, 1, 1), S_OK); });
  Ref<OrvIMfgAssembly> output;
  ASSERT_EQ(OrvEResourceRelationsForItems::GetOutputItem(robot, output), S_OK);
  // The output assembly as an input of its own resource cannot go under itself: the
  // input it was made goes again, and nothing else changes.
  const std::string assigned = Bytes(*doc);
  EXPECT_EQ(query<OrvIResourceRelations>(output)->AddResourceRelation(robot, OrvResourceInputItem, 1, 1), E_FAIL);
  EXPECT_EQ(Bytes(*doc), assigned);
  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(Bytes(*doc), before);
}

}  // namespace
