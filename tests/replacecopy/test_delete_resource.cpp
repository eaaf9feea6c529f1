// The delete-resource command: the confirmation, the links into the subtree, the
// redraws, and undo and redo back to the same plant.
#include "OrvVekDeleteResourceCmd.h"
#include "ResourceCommand.h"
#include "TavCopy.h"

using namespace host;

namespace {
using Delete = ResourceCommand<OrvVekDeleteResourceCmd>;

}  // namespace

TEST_F(Delete, AnsweringNoChangesAndNotifiesNothing) {
  const std::string before = Saved();
  Notes();
  for (const char* answer : {"NO", "OK", "CANCEL"}) {
    engine.QueueAnswer(answer);
    Start();
    ASSERT_TRUE(Pick(robot));
    EXPECT_EQ(State(), "ended");
    ASSERT_FALSE(engine.Messages().empty());
    EXPECT_EQ(engine.Messages().back().name, "Warning");
    EXPECT_EQ(engine.Messages().back().text, "Do you really want to delete the resource 'Robot.1'");
  }
  EXPECT_EQ(Saved(), before);
  EXPECT_TRUE(Notes().empty());
  EXPECT_EQ(doc->Journal().Size(), 0u);
}

TEST_F(Delete, AChildResourceAndItsGunLinkedToOneActivityRedrawItOnceAndUndoRestoresTheBytes) {
  weldA->AddResource(gun, TavResourceCode::Uses);  // the robot and its gun both in weldA
  const std::string before = Saved();
  Notes();
  std::string why;
  Start();
  EXPECT_FALSE(Pick(body, &why)) << "a product is no resource";
  engine.QueueAnswer("YES");
  ASSERT_TRUE(Pick(robot));
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(station->Children().size(), 0u);
  EXPECT_TRUE(weldA->GetRelations().empty());
  EXPECT_TRUE(attach->GetRelations().empty());
  // Every activity once, weldA too, in the order they were found, after the deletion's own notes.
  const auto notes = Notes();
  EXPECT_EQ(notes, (std::vector<std::string>{
                       "resource modified (DeletePODSForChildren): Resources/Station.1/Robot.1, 5 links dropped",
                       "product removed: Resources/Station.1/Robot.1 (from Resources/Station.1)",
                       "product event dispatched: removed Resources/Station.1/Robot.1 (from Resources/Station.1), kept current",
                       "product redrawn: Resources/Station.1",
                       "resource modified (ResourceDeactivated): Resources/Station.1",
                       "activity redrawn: Line/Weld",
                       "activity redrawn: Line",
                       "activity redrawn: Line/Cell/Weld",
                       "activity redrawn: Line/Cell/Attach",
                   }));
  const std::string after = Saved();
  std::string error;
  ASSERT_TRUE(ParsePlant(after, "t.xml", error)) << error;

  ASSERT_EQ(doc->Journal().Size(), 1u);
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &error)) << error;
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(Notes(), std::vector<std::string>{"product redrawn: Resources/Station.1"});
  ASSERT_TRUE(engine.Redo(*doc, 1, nullptr, &error)) << error;
  EXPECT_EQ(Saved(), after);
  EXPECT_EQ(Notes(), std::vector<std::string>{"product redrawn: Resources/Station.1"});
}

TEST_F(Delete, ATopLevelResourceLeavesTheResourceList) {
  const std::string before = Saved();
  Notes();
  engine.QueueAnswer("YES");
  Start();
  ASSERT_TRUE(Pick(crane));
  EXPECT_FALSE(doc->Resolve("Resources/Crane.1").GetLeaf());
  EXPECT_TRUE(load->GetRelations().empty());
  EXPECT_FALSE(TavProcessResourceListOf(doc)->HasResource(crane));
  const auto notes = Notes();
  EXPECT_EQ(notes, (std::vector<std::string>{
                       "resource modified (DeletePODSForChildren): Resources/Crane.1, 1 link dropped",
                       "product removed: Resources/Crane.1 (from the resource list)",
                       "product event dispatched: removed Resources/Crane.1 (from the resource list), kept current",
                       "resource list modified (ResourceDeactivated)",
                       "activity redrawn: Line/Cell/Load",
                   }));
  std::string error;
  auto reloaded = ParsePlant(Saved(), "t.xml", error);
  ASSERT_TRUE(reloaded) << error;
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &error)) << error;
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(Notes(), std::vector<std::string>{"resource list redrawn"});
}

TEST(DeleteResources, EveryResourceOfTheSamplePlantsGoesWithItsStatesAndLinksAndComesBack) {
  std::ostringstream out;
  HostEngine engine(&out);
  for (const char* file : {"sample-plant.xml", "sample-plant-hub.xml"}) {
    std::string error;
    auto doc = LoadPlant(std::string(MIRT_DATA_DIR) + "/" + file, error);
    ASSERT_TRUE(doc) << error;
    HostSession session;
    session.OpenDocument(doc);
    const std::string before = SerializePlant(*doc);
    std::vector<std::string> ids;
    for (auto& root : doc->Resources().roots_) {
      ids.push_back(root->IdString());
      for (auto& d : root->GetAllDescendants()) ids.push_back(query<TavIModelIdentity>(d)->GetId().utf8());
    }
    for (const auto& id : ids) {
      auto resource = query<TavIProduct>(doc->FindById(id));
      ASSERT_TRUE(resource) << id;
      doc->Journal().Begin();
      OrvVekDeleteResourceCmd cmd;
      TavUnicodeString why;
      ASSERT_TRUE(cmd.DeleteConfirmed(resource, &why)) << id << ": " << why.utf8();
      doc->Journal().Commit("Delete");
      const std::string without = SerializePlant(*doc);
      auto reloaded = ParsePlant(without, file, error);
      ASSERT_TRUE(reloaded) << file << " without " << id << ": " << error;
      ASSERT_TRUE(doc->Journal().Undo(&error)) << error;
      ASSERT_EQ(SerializePlant(*doc), before) << file << ", " << id;
    }
  }
}
