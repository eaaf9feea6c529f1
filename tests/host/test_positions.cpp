// Design positions, tag and cable marks, and synchronisations in plant files and in
// the model: what loads, what is refused (one file:line:column error), what saves
// byte for byte, and the constraint interface's answers, undo and locks.
#include <gtest/gtest.h>

#include "HostPositions.h"
#include "HostUndo.h"
#include "PlantGenerator.h"
#include "PlantText.h"
#include "TavFlow.h"

namespace {

constexpr int kPlain = TavConstraintType::Plain, kSS = TavConstraintType::StartStart, kEE = TavConstraintType::EndEnd;

std::string Plant(const std::string& productExtras, const std::string& links, const std::string& env = "local",
                  const std::string& sections = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plant format=\"1\" environment=\"" + env +
         "\" name=\"t\">\n  <products>\n    <product id=\"p\" name=\"P.1\">\n" + productExtras +
         "    </product>\n  </products>\n  <process id=\"proc\" name=\"Process\" type=\"Activity\">\n"
         "    <activity id=\"a\" name=\"A\" type=\"PhysicalActivity\"/>\n"
         "    <activity id=\"b\" name=\"B\" type=\"PhysicalActivity\"/>\n"
         "    <activity id=\"c\" name=\"C\" type=\"PhysicalActivity\"/>\n"
         "    <activity id=\"s\" name=\"Switch\" type=\"Switch\"/>\n  </process>\n" +
         (links.empty() ? "" : "  <links>\n" + links + "  </links>\n") + sections + "</plant>\n";
}

std::string Ids(const std::vector<Ref<TavBaseUnknown>>& list) {
  std::string s;
  for (auto& o : list) s += (s.empty() ? "" : " ") + query<TavIModelIdentity>(o)->GetId().utf8();
  return s;
}

TEST(PlantPositions, DesignPositionsTagsAndCablesLoadAndSaveByteForByte) {
  const std::string text = Plant(
      "      <placement matrix=\"1 0 0 0 1 0 0 0 1 10 0 0\" design=\"0 1 0 -1 0 0 0 0 1 0 0 0\"/>\n"
      "      <tag kind=\"tagList\"/>\n      <cable designState=\"false\"/>\n",
      "    <constraint from=\"a\" to=\"b\"/>\n    <constraint from=\"a\" to=\"b\" type=\"startStart\"/>\n"
      "    <constraint from=\"b\" to=\"c\" type=\"endEnd\"/>\n");
  auto doc = LoadPlantText(text);
  ASSERT_TRUE(doc);
  EXPECT_EQ(host::SerializePlant(*doc), text);
  auto* store = host::DesignPositionsOf(*doc);
  auto p = doc->FindById("p");
  EXPECT_EQ(store->GetDesignPosition(p), (TavIMovable::Position{0, 1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_TRUE(store->IsTagObject(p));
  EXPECT_FALSE(store->CheckCableDesignStates(p));
  // Both sides of each synchronisation, the plain constraint on its holder only.
  auto a = query<TavISPPProcessConstraintsMgt>(doc->FindById("a"));
  auto b = query<TavISPPProcessConstraintsMgt>(doc->FindById("b"));
  EXPECT_EQ(Ids(a->GetConstraints(kSS)), "b");
  EXPECT_EQ(Ids(b->GetConstraints(kSS)), "a");
  EXPECT_EQ(Ids(b->GetConstraints(kEE)), "c");
  EXPECT_EQ(Ids(b->GetConstraints(kPlain)), "");
  EXPECT_EQ(Ids(b->GetConstraints()), "a c");
  EXPECT_EQ(Ids(a->GetConstraints()), "b");  // each once, of every kind
}

TEST(PlantPositions, APlacementWithoutDesignStandsWhereItsDesignPutsIt) {
  auto doc = LoadPlantText(Plant("      <placement matrix=\"1 0 0 0 1 0 0 0 1 10 0 0\"/>\n", ""));
  ASSERT_TRUE(doc);
  auto p = doc->FindById("p");
  EXPECT_EQ(host::DesignPositionsOf(*doc)->GetDesignPosition(p), query<TavIMovable>(p)->GetPosition());
  // Moved away: the design stays, and the save writes both.
  query<TavIMovable>(p)->SetPosition({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  EXPECT_NE(host::SerializePlant(*doc).find("<placement matrix=\"1 0 0 0 1 0 0 0 1 0 0 0\" design=\"1 0 0 0 1 0 0 0 1 10 0 0\"/>"),
            std::string::npos);
}

TEST(PlantPositions, BadPlacementsMarksAndSynchronisationsAreOneLocatedError) {
  const struct {
    std::string extras, links, error;
  } cases[] = {
      {"      <placement matrix=\"1 0 0 0 1 0 0 0 1 0 0 0\" design=\"1 0 0\"/>\n", "", "t.xml:5:67: design=\"1 0 0\" holds 3 numbers, not 12"},
      {"      <placement matrix=\"1 0 0 0 1 0 0 0 1 0 0 0\" design=\"1 0 0 0 1 0 0 0 1 0 0 nan\"/>\n", "", "bad number 'nan' in 'design'"},
      {"      <tag kind=\"label\"/>\n", "", "unknown tag kind \"label\""},
      {"      <tag kind=\"tag\"/>\n      <tag kind=\"tag\"/>\n", "", "marked as a tag twice"},
      {"      <cable designState=\"maybe\"/>\n", "", "designState"},
      {"", "    <constraint from=\"a\" to=\"b\" type=\"sideBySide\"/>\n", "t.xml:14:52: unknown constraint type 'sideBySide'"},
      {"", "    <constraint from=\"a\" to=\"a\" type=\"startStart\"/>\n", "cannot be linked to itself"},
      {"", "    <constraint from=\"a\" to=\"p\" type=\"endEnd\"/>\n", "not an activity"},
      {"", "    <constraint from=\"a\" to=\"s\" type=\"endEnd\"/>\n", "joins activities, not flow nodes"},
      {"", "    <constraint from=\"a\" to=\"b\" type=\"endEnd\"/>\n    <constraint from=\"b\" to=\"a\" type=\"endEnd\"/>\n",
       "t.xml:15:48: duplicate synchronisation of 'b' and 'a'"},
  };
  for (const auto& c : cases) {
    const std::string error = PlantTextError(Plant(c.extras, c.links));
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
  }
  // The same pair as start-start and end-end, and a plain constraint beside them, are three things.
  EXPECT_TRUE(LoadPlantText(Plant("", "    <constraint from=\"a\" to=\"b\" type=\"startStart\"/>\n"
                                      "    <constraint from=\"b\" to=\"a\" type=\"endEnd\"/>\n    <constraint from=\"b\" to=\"a\"/>\n")));
}

TEST(PlantPositions, ConstraintsAreTypedUndoableAndLockedActivitiesRefuseThem) {
  auto doc = LoadPlantText(Plant("", "", "hub", "  <hubSession>\n    <lock object=\"c\" user=\"bob\"/>\n  </hubSession>\n"));
  ASSERT_TRUE(doc);
  auto a = query<TavISPPProcessConstraintsMgt>(doc->FindById("a"));
  auto b = doc->FindById("b"), c = doc->FindById("c");
  {
    host::UndoScope job(*doc);
    EXPECT_EQ(a->AddConstraint(b, kSS), S_OK);
    EXPECT_EQ(a->AddConstraint(b, kSS), S_FALSE);  // no duplicate
    EXPECT_EQ(a->AddConstraint(b, kEE), S_OK);
    EXPECT_EQ(Ids(a->GetConstraints(kSS)), "b");
    EXPECT_EQ(a->RemoveConstraint(b, kSS), S_OK);
    EXPECT_EQ(Ids(a->GetConstraints(kEE)), "b");  // the other kind stays
    EXPECT_EQ(a->RemoveConstraint(b, kSS), E_FAIL);
    EXPECT_EQ(a->AddConstraint(b, 7), E_FAIL);
    EXPECT_EQ(a->AddConstraint(doc->FindById("s"), kSS), E_FAIL);
    job.Keep("sync");
  }
  EXPECT_EQ(doc->Journal().Position(), 1u);
  // A lock of another user: the partner's side is refused, with the reason kept.
  EXPECT_EQ(a->AddConstraint(c, kSS), S_OK);
  TavError::TavCleanLastError();
  EXPECT_EQ(query<TavISPPProcessConstraintsMgt>(c)->AddConstraint(doc->FindById("a"), kSS), E_FAIL);
  auto e = TavError::TavGetLastError(E_FAIL);
  ASSERT_TRUE(e);
  EXPECT_NE(e->GetNLSMessage().utf8().find("locked by bob"), std::string::npos);
  TavError::TavCleanLastError();
  // Removing an activity takes its synchronisations off its partners too.
  doc->RemoveActivity(std::dynamic_pointer_cast<host::HostActivity>(b));
  EXPECT_EQ(Ids(a->GetConstraints(kEE)), "");
}

TEST(PlantPositions, IndirectConstraintsAndPrecedencesAreReachabilityThatEndsOnCycles) {
  // a-b, b-c start-start on both sides (every edge mirrored), and d alone.
  std::string links = "    <constraint from=\"a\" to=\"b\" type=\"startStart\"/>\n    <constraint from=\"b\" to=\"c\" type=\"endEnd\"/>\n";
  auto doc = LoadPlantText(Plant("", links));
  ASSERT_TRUE(doc);
  auto a = query<TavISPPProcessConstraintsMgt>(doc->FindById("a"));
  auto c = query<TavISPPProcessConstraintsMgt>(doc->FindById("c"));
  EXPECT_TRUE(a->HasIndirectConstraints(doc->FindById("c")));
  EXPECT_TRUE(c->HasIndirectConstraints(doc->FindById("a")));
  EXPECT_FALSE(a->HasIndirectConstraints(doc->FindById("s")));
  EXPECT_FALSE(a->HasIndirectConstraints(nullptr));
  EXPECT_TRUE(a->IsConstraintPossible(doc->FindById("c"), kEE));
  // c follows a through b: they cannot end together, whichever asks.
  auto b = query<TavISPPPrecedenceMgt>(doc->FindById("b"));
  ASSERT_EQ(b->AddPrecedence(doc->FindById("a")), S_OK);
  ASSERT_EQ(query<TavISPPPrecedenceMgt>(doc->FindById("c"))->AddPrecedence(doc->FindById("b")), S_OK);
  EXPECT_FALSE(a->IsConstraintPossible(doc->FindById("c"), kEE));
  EXPECT_FALSE(c->IsConstraintPossible(doc->FindById("a"), kSS));
  EXPECT_FALSE(a->IsConstraintPossible(doc->FindById("a"), kEE));
  EXPECT_FALSE(a->IsConstraintPossible(doc->FindById("c"), 9));
}

TEST(PlantPositions, ActivitiesOrderedByControlFlowOrThroughTheirFathersCannotBeSynchronised) {
  // Two stations in flow order; in the first, x1 runs before x2 through a switch; in
  // the second, y1 and y2 are parallel; z stands alone.
  auto doc = LoadPlantText(
      "<plant format=\"1\" name=\"t\">\n  <process id=\"proc\" name=\"Process\" type=\"Activity\">\n"
      "    <activity id=\"st1\" name=\"S1\" type=\"PhysicalActivity\">\n"
      "      <activity id=\"x1\" name=\"X1\" type=\"PhysicalActivity\"/>\n"
      "      <activity id=\"sw\" name=\"Switch\" type=\"Switch\"/>\n"
      "      <activity id=\"x2\" name=\"X2\" type=\"PhysicalActivity\"/>\n    </activity>\n"
      "    <activity id=\"st2\" name=\"S2\" type=\"PhysicalActivity\">\n"
      "      <activity id=\"y1\" name=\"Y1\" type=\"PhysicalActivity\"/>\n"
      "      <activity id=\"y2\" name=\"Y2\" type=\"PhysicalActivity\"/>\n    </activity>\n"
      "    <activity id=\"z\" name=\"Z\" type=\"PhysicalActivity\"/>\n  </process>\n"
      "  <links>\n    <flow from=\"st1\" to=\"st2\"/>\n    <flow from=\"x1\" to=\"sw\"/>\n"
      "    <flow from=\"sw\" to=\"x2\"/>\n  </links>\n</plant>\n");
  ASSERT_TRUE(doc);
  auto possible = [&](const char* a, const char* b) {
    const bool there = query<TavISPPProcessConstraintsMgt>(doc->FindById(a))->IsConstraintPossible(doc->FindById(b), kEE);
    const bool back = query<TavISPPProcessConstraintsMgt>(doc->FindById(b))->IsConstraintPossible(doc->FindById(a), kEE);
    EXPECT_EQ(there, back) << a << " " << b;  // whichever asks
    return there && back;
  };
  EXPECT_FALSE(possible("x1", "x2"));  // through the switch
  EXPECT_FALSE(possible("x2", "y1"));  // the first station's children run before the second's
  EXPECT_FALSE(possible("x1", "st2"));
  EXPECT_TRUE(possible("y1", "y2"));
  EXPECT_TRUE(possible("z", "x1"));
  EXPECT_TRUE(possible("z", "y2"));
  // A precedence into the first station orders z before all of it.
  ASSERT_EQ(query<TavISPPPrecedenceMgt>(doc->FindById("st1"))->AddPrecedence(doc->FindById("z")), S_OK);
  EXPECT_FALSE(possible("z", "x1"));
  EXPECT_FALSE(possible("z", "y2"));
}

TEST(PlantPositions, GeneratedPlantsCarryPlacementsAndSynchronisations) {
  auto doc = host::GeneratePlant({.activities = 200, .products = 300, .resources = 20, .depth = 3, .seed = 4});
  const std::size_t displaced = host::AddGeneratedPlacements(*doc, 100);
  EXPECT_EQ(displaced, 3u);  // 320 products and resources, every 100th moved
  EXPECT_GT(host::AddGeneratedSynchronisations(*doc, 3), 0u);
  // None of them ties activities of which one runs after the other.
  doc->ForEachObject([&](host::HostObject& o) {
    auto* a = TavCast<host::HostActivity>(&o);
    if (!a) return;
    for (int type : {kSS, kEE})
      for (auto& p : a->GetConstraints(type)) {
        EXPECT_TRUE(a->IsConstraintPossible(p, type)) << a->IdString();
      }
  });
  const std::string text = host::SerializePlant(*doc);
  auto again = LoadPlantText(text);
  ASSERT_TRUE(again);
  EXPECT_EQ(host::SerializePlant(*again), text);
}

}  // namespace
