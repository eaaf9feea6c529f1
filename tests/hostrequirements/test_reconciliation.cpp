// Reconciliation levels of products: 0 without requirements, 1 when an activity
// implements each, 2 otherwise; answered from the model as it is now, through
// relation edits, undo and redo.
#include "RequirementPlant.h"

using namespace host;

namespace {

TEST(Reconciliation, LevelsFollowNamedAndAllRequirementRelationsOfEveryKindOfActivity) {
  RequirementSession s;
  ASSERT_TRUE(s.doc);
  EXPECT_EQ(s.Level("Products/Body"), 0);       // carries none (its descendants do)
  EXPECT_EQ(s.Level("Products/Body/Roof"), 0);
  EXPECT_EQ(s.Level("Products/Body/Door"), 2);  // "Gap checked" has no activity
  EXPECT_EQ(s.Level("Products/Body/Door/Hinge"), 1);  // one relation covers both
  EXPECT_EQ(s.Level("Products/Body/Door/Panel"), 1);  // by a behaviour's activity

  // A second named relation covers the open requirement.
  auto spare = query<TavIPCSRelations>(s.At("Process/Spare"));
  Ref<TavISPPActivitySpecification> made;
  ASSERT_EQ(spare->CreateRelation("process_implements_requirement", s.At("Products/Body/Door"), &made), S_OK);
  auto attrs = query<TavIAttributeHolder>(made);
  ASSERT_TRUE(attrs);
  attrs->SetAttribute("Requirement", TavUnicodeString("Gap checked"));
  EXPECT_EQ(s.Level("Products/Body/Door"), 1);
  // Naming a requirement the product does not carry implements nothing, and a
  // "Requirement" that is no text neither.
  attrs->SetAttribute("Requirement", TavUnicodeString("Gap measured"));
  EXPECT_EQ(s.Level("Products/Body/Door"), 2);
  attrs->SetAttribute("Requirement", std::int64_t{2});
  EXPECT_EQ(s.Level("Products/Body/Door"), 2);
  // Without the attribute the relation implements every requirement of the product.
  attrs->RemoveAttribute("Requirement");
  EXPECT_EQ(s.Level("Products/Body/Door"), 1);
}

TEST(Reconciliation, TheQueryIsOfferedOnProductsOnly) {
  RequirementSession s;
  ASSERT_TRUE(s.doc);
  EXPECT_FALSE(query<OrvIReconciliationAnalysisForEngRequirement>(s.At("Resources/Station.1")));
  EXPECT_FALSE(query<OrvIReconciliationAnalysisForEngRequirement>(s.At("Assemblies/RoofAssy")));
  EXPECT_FALSE(query<OrvIReconciliationAnalysisForEngRequirement>(s.At("Process/Hem")));
  EXPECT_FALSE(s.At("Resources/Station.1")->QueryInterface(OrvIReconciliationAnalysisForEngRequirement::kInterfaceName));
  auto byName = s.At("Products/Body/Door")->QueryInterface(OrvIReconciliationAnalysisForEngRequirement::kInterfaceName);
  ASSERT_TRUE(byName);
  EXPECT_TRUE(SameObject(byName, s.At("Products/Body/Door")));
}

// Each edit is one undo step; undo and redo give the level back at once.
TEST(Reconciliation, RelationEditsThroughThePlatformChangeTheLevelAndUndoRestoresIt) {
  RequirementSession s;
  ASSERT_TRUE(s.doc);
  auto& journal = s.doc->Journal();
  std::string why;
  const auto door = s.At("Products/Body/Door");
  const auto hinge = s.At("Products/Body/Door/Hinge");

  journal.Begin();
  ASSERT_EQ(query<TavIPCSRelations>(s.At("Process/Spare"))->CreateRelation("process_implements_requirement", door), S_OK);
  ASSERT_TRUE(journal.Commit("implement all"));
  EXPECT_EQ(RequirementSession::LevelOf(door), 1);
  ASSERT_TRUE(journal.Undo(&why)) << why;
  EXPECT_EQ(RequirementSession::LevelOf(door), 2);
  ASSERT_TRUE(journal.Redo(&why)) << why;
  EXPECT_EQ(RequirementSession::LevelOf(door), 1);
  ASSERT_TRUE(journal.Undo(&why)) << why;

  journal.Begin();
  ASSERT_EQ(query<TavIPCSRelations>(s.At("Process/Torque"))->RemoveRelation("process_implements_requirement", hinge), S_OK);
  ASSERT_TRUE(journal.Commit("unimplement"));
  EXPECT_EQ(RequirementSession::LevelOf(hinge), 2);
  ASSERT_TRUE(journal.Undo(&why)) << why;
  EXPECT_EQ(RequirementSession::LevelOf(hinge), 1);

  // A relation attribute changed, and the implementing activity taken away.
  auto hem = s.At("Process/Hem");
  auto relations = query<TavISPPItemMgt>(hem)->GetActivitySpecifications(door);
  ASSERT_EQ(relations.size(), 1u);
  journal.Begin();
  query<TavIAttributeHolder>(relations[0])->RemoveAttribute("Requirement");
  ASSERT_TRUE(journal.Commit("every requirement"));
  EXPECT_EQ(RequirementSession::LevelOf(door), 1);
  ASSERT_TRUE(journal.Undo(&why)) << why;
  EXPECT_EQ(RequirementSession::LevelOf(door), 2);

  journal.Begin();
  ASSERT_EQ(query<TavISPPChildManagement>(s.At("Process"))->RemoveChild(s.At("Process/Torque")), S_OK);
  ASSERT_TRUE(journal.Commit("remove torque"));
  EXPECT_EQ(RequirementSession::LevelOf(hinge), 2);
  ASSERT_TRUE(journal.Undo(&why)) << why;
  EXPECT_EQ(RequirementSession::LevelOf(hinge), 1);
}

}  // namespace
