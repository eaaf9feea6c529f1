// The three sets of an activity, level by level: which siblings come before,
// beside and after it, and how the walk copes with long chains and cycles.
#include <gtest/gtest.h>

#include "OrvVekPrecedenceSets.h"
#include "VerifPlant.h"

using Sets = OrvVekPrecedenceSetsUtilities;

namespace {

std::vector<std::string> Labels(const std::vector<Ref<TavBaseUnknown>>& l) {
  std::vector<std::string> out;
  for (auto& o : l) out.push_back(query<TavISPPAbstractActivity>(o)->GetLabel().utf8());
  return out;
}
using V = std::vector<std::string>;

TEST(PrecedenceSets, ChildOfTheRootTakesOneLevelOnly) {
  VerifPlant p;
  OrvVekPrecedenceSets s = Sets::Compute(p.st2, p.root);
  EXPECT_EQ(Labels(s.previous), V{"Station 1"});
  EXPECT_TRUE(s.successors.empty());
  EXPECT_TRUE(s.others.empty());
  s = Sets::Compute(p.st1, p.root);
  EXPECT_EQ(Labels(s.successors), V{"Station 2"});
}

TEST(PrecedenceSets, LevelsAddUpToTheRoot) {
  VerifPlant p;
  OrvVekPrecedenceSets s = Sets::Compute(p.b, p.root);
  EXPECT_EQ(Labels(s.previous), V{"A"});
  EXPECT_EQ(Labels(s.successors), (V{"C", "Station 2"}));
  EXPECT_EQ(Labels(s.others), V{"D"});
  s = Sets::Compute(p.d, p.root);  // unordered: everything of its level is "other"
  EXPECT_EQ(Labels(s.others), (V{"A", "B", "C"}));
  EXPECT_EQ(Labels(s.successors), V{"Station 2"});
  // The root itself has no father: nothing at all.
  s = Sets::Compute(p.root, p.root);
  EXPECT_TRUE(s.previous.empty() && s.successors.empty() && s.others.empty());
}

TEST(PrecedenceSets, PredecessorOutsideTheParentShowsAtTheParentsLevel) {
  VerifPlant p;
  // C of station 1 must come before F of station 2, and so must station 1 before station 2.
  VerifPlant::Before(p.c, p.f);
  OrvVekPrecedenceSets s = Sets::Compute(p.f, p.root);
  // At F's level only E is a sibling predecessor; C is not listed there...
  EXPECT_EQ(Labels(s.previous), (V{"E", "Station 1"}));
  // ...and station 1 comes in at the parent's level, through station 2's own precedence.
  for (auto& o : s.previous) EXPECT_NE(o.get(), static_cast<TavBaseUnknown*>(p.c.get()));
  // Without the parent's precedence the outside predecessor shows nowhere.
  query<TavISPPPrecedenceMgt>(Ref<TavBaseUnknown>(p.st2))->RemovePrecedence(p.st1);
  s = Sets::Compute(p.f, p.root);
  EXPECT_EQ(Labels(s.previous), V{"E"});
  EXPECT_EQ(Labels(s.others), V{"Station 1"});
}

TEST(PrecedenceSets, CycleEndsAndLeavesTheActivityOutOfItsOwnSets) {
  VerifPlant p;
  VerifPlant::Before(p.c, p.a);  // a -> b -> c -> a
  OrvVekPrecedenceSets s = Sets::Compute(p.b, p.root);
  EXPECT_EQ(Labels(s.previous), (V{"A", "C"}));
  EXPECT_EQ(Labels(s.successors), (V{"C", "A", "Station 2"}));
  for (auto* l : {&s.previous, &s.successors, &s.others})
    for (auto& o : *l) EXPECT_NE(o.get(), static_cast<TavBaseUnknown*>(p.b.get()));
}

TEST(PrecedenceSets, ChainOfAHundredThousandNeitherOverflowsNorRepeats) {
  auto doc = host::HostDocument::Create();
  auto root = doc->CreateRootProcess("proc", "Process");
  constexpr int kN = 100000;
  std::vector<Ref<host::HostActivity>> chain;
  chain.reserve(kN);
  for (int i = 0; i < kN; ++i) {
    chain.push_back(doc->CreateActivity(root, "PhysicalActivity", "", "A" + std::to_string(i)));
    if (i) VerifPlant::Before(chain[static_cast<std::size_t>(i) - 1], chain.back());
  }
  // A second path from the start to the end: every activity is still met once.
  VerifPlant::Before(chain.front(), chain.back());
  OrvVekPrecedenceSets s = Sets::Compute(chain.back(), root);
  EXPECT_EQ(s.previous.size(), std::size_t{kN - 1});
  EXPECT_TRUE(s.successors.empty());
  s = Sets::Compute(chain.front(), root);
  EXPECT_EQ(s.successors.size(), std::size_t{kN - 1});
  s = Sets::Compute(chain[kN / 2], root);
  EXPECT_EQ(s.previous.size() + s.successors.size() + s.others.size(), std::size_t{kN - 1});
  EXPECT_TRUE(s.others.empty());
}

}  // namespace
