// The planner's part consumption settings, the unconsumed-parts highlight and
// the assembly expansion helpers.
#include <gtest/gtest.h>

#include "OrvVekPartConsumptionUtilities.h"
#include "PcPlant.h"

using namespace pctest;
using U = OrvVekPartConsumptionUtilities;

namespace {

TEST(Settings, DefaultsThenPersistedValues) {
  {
    Plant p;
    U::ResetSettings();
    ASSERT_EQ(U::InitTavSetting(), S_OK);
    EXPECT_EQ(U::GetRelations(), (std::vector<TavUnicodeString>{kProcesses, kFirst, kCreates}));
    EXPECT_FALSE(U::IsParentAssignCheckEnlable());
    EXPECT_FALSE(U::IsChildAssignCheckEnabled());
    EXPECT_FALSE(U::CheckProcessIntentRelation());
    EXPECT_FALSE(U::IsAttributeCheckEnabled());
    int mode = -1;
    EXPECT_EQ(U::GetEffectivityTypeToShow(mode), S_OK);
    EXPECT_EQ(mode, 0);
    U::SetRelations({kRemoves, kProcesses});
    U::SetParentAssignCheck(true);
    U::SetEffectivityTypeToShow(3);
    std::string error;
    ASSERT_TRUE(U::SaveSettings(&error)) << error;
  }
  {
    Plant p;  // a new session reads what the last one saved
    EXPECT_EQ(U::GetRelations(), (std::vector<TavUnicodeString>{kRemoves, kProcesses}));
    EXPECT_TRUE(U::IsParentAssignCheckEnlable());
    int mode = 0;
    U::GetEffectivityTypeToShow(mode);
    EXPECT_EQ(mode, 3);
    U::SetRelations({});  // an empty list is a choice, not a missing value
    EXPECT_TRUE(U::GetRelations().empty());
    U::ResetSettings();
    U::SaveSettings();
  }
}

TEST(Settings, HighlightHoldsEachPartOnce) {
  Plant p;
  auto a = p.Prod("A"), b = p.Prod("B");
  U::HighlightUnassignedParts({a, b, a});
  EXPECT_EQ(Names(U::GetHighlightedParts()), (std::vector<std::string>{"A", "B"}));
  U::UnHighlightUnassignedParts({a});
  EXPECT_FALSE(U::IsHighlighted(a));
  EXPECT_TRUE(U::IsHighlighted(b));
  U::UnHighlightUnassignedParts({b});
  EXPECT_TRUE(U::GetHighlightedParts().empty());
}

TEST(Settings, AssemblyExpansionSurvivesCycles) {
  Plant p;
  auto door = p.Prod("Door.1"), hinge = p.Prod("Hinge.1"), lock = p.Prod("Lock");
  auto outer = p.Ma("Outer"), inner = p.Ma("Inner"), deep = p.Ma("Deep");
  outer->AddPart(door);
  outer->AddPart(inner);
  inner->AddPart(hinge);
  inner->AddPart(deep);
  deep->AddPart(lock);
  deep->AddPart(outer);  // a cycle back to the top
  auto mas = U::GetMAList(outer);
  ASSERT_EQ(mas.size(), 2u);
  EXPECT_EQ(mas[0]->GetName(), "Inner");
  EXPECT_EQ(mas[1]->GetName(), "Deep");
  EXPECT_EQ(Names(U::GetNonMAList({lock, outer, door})), (std::vector<std::string>{"Lock", "Door.1", "Hinge.1"}));
}

}  // namespace
