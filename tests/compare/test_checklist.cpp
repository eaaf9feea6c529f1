// The report-attribute check list kept in the comparison settings: reading a
// feature's block, replacing it, refusing what the text cannot hold, and the settings
// kept across a restart of the program.
#include <gtest/gtest.h>

#include "ConfigFolder.h"
#include "HostRuntime.h"
#include "OrvVekCompareUtilities.h"
#include "TavCompare.h"
#include "TavServices.h"

using U = OrvVekCompareUtilities;
using Strings = std::vector<TavUnicodeString>;

namespace {

std::pair<Strings, Strings> Read(const TavUnicodeString& text, const TavUnicodeString& feature) {
  Strings names, kinds;
  U::BuildCheckList(text, names, kinds, feature);
  return {names, kinds};
}

TEST(CheckList, ReadsTheBlockOfItsFeatureOnly) {
  const TavUnicodeString text = "$$P1$A|V|B|E|$$P2$C|V|";
  EXPECT_EQ(Read(text, "P1"), std::make_pair(Strings{"A", "B"}, Strings{"V", "E"}));
  EXPECT_EQ(Read(text, "P2"), std::make_pair(Strings{"C"}, Strings{"V"}));
  EXPECT_EQ(Read(text, "P"), std::make_pair(Strings{}, Strings{}));  // "$$P$" is no head of "$$P1$"
  EXPECT_EQ(Read("   ", "P1"), std::make_pair(Strings{}, Strings{}));
  // Empty names and other kind letters are skipped; a name without its kind is no entry.
  EXPECT_EQ(Read("$$F$|V|A|X|B|E|Weight (kg)|V|C", "F"), std::make_pair(Strings{"B", "Weight (kg)"}, Strings{"E", "V"}));
  // A malformed text gives what parses.
  EXPECT_EQ(Read("$$F$A|V", "F"), std::make_pair(Strings{"A"}, Strings{"V"}));
  EXPECT_EQ(Read("$$F$A|V$B|E|", "F"), std::make_pair(Strings{"A"}, Strings{"V"}));
}

TEST(CheckList, ReplacingABlockAppendsItAndKeepsTheOthers) {
  TavUnicodeString text = "$$P1$A|V|B|E|$$P2$C|V|";
  std::string problem;
  ASSERT_TRUE(U::ReplaceFeatureBlock(text, "P1", {"D"}, {"E"}, problem)) << problem;
  EXPECT_EQ(text, "$$P2$C|V|$$P1$D|E|");
  // An empty selection leaves the bare head: the feature chose no attribute.
  ASSERT_TRUE(U::ReplaceFeatureBlock(text, "P2", {}, {}, problem));
  EXPECT_EQ(text, "$$P1$D|E|$$P2$");
  EXPECT_EQ(Read(text, "P2"), std::make_pair(Strings{}, Strings{}));
  // A hand-edited text with two blocks of one feature loses both.
  EXPECT_EQ(U::RemoveCurrentFeatureFromAttList("$$F$A|V|$$G$B|E|$$F$C|V|", "F"), "$$G$B|E|");
  EXPECT_EQ(U::RemoveCurrentFeatureFromAttList("", "F"), "");
}

TEST(CheckList, RefusesWhatWouldReadBackDifferently) {
  const TavUnicodeString before = "$$P1$A|V|";
  std::string problem;
  struct Case {
    TavUnicodeString feature;
    Strings names, kinds;
  } cases[] = {
      {"P1", {"Cost $"}, {"V"}},   {"P1", {"a|b"}, {"E"}}, {"P1", {""}, {"V"}},
      {"P1", {"A"}, {"X"}},        {"P$1", {"A"}, {"V"}},  {"P1", {"A", "B"}, {"V"}},
  };
  for (auto& c : cases) {
    TavUnicodeString text = before;
    problem.clear();
    EXPECT_FALSE(U::ReplaceFeatureBlock(text, c.feature, c.names, c.kinds, problem)) << c.feature.utf8();
    EXPECT_EQ(text, before);
    EXPECT_FALSE(problem.empty());
  }
  // Everything else round-trips, blanks, brackets and other scripts included.
  const Strings names{" Weight (kg) ", "Masse [€]", "名前", "A-B.c"};
  const Strings kinds{"V", "E", "V", "E"};
  TavUnicodeString text = before;
  ASSERT_TRUE(U::ReplaceFeatureBlock(text, "FeatureNameNotAvailable", names, kinds, problem)) << problem;
  EXPECT_EQ(Read(text, "FeatureNameNotAvailable"), std::make_pair(names, kinds));
  EXPECT_EQ(Read(text, "P1"), std::make_pair(Strings{"A"}, Strings{"V"}));
}

TEST(CheckList, RemovalLeavesNoHeadOfTheFeatureBehind) {
  // Taking the block out joins "x$" and "$P$B|E|" into a second head of P, which
  // would hide the new block from the reader: it goes too.
  TavUnicodeString text = "x$$$P$A|V|$P$B|E|";
  std::string problem;
  ASSERT_TRUE(U::ReplaceFeatureBlock(text, "P", {"C"}, {"V"}, problem)) << problem;
  EXPECT_EQ(text, "x$$P$C|V|");
}

struct CheckListSettings : testing::Test {
  ConfigFolder config{"mirt-checklist"};
  std::unique_ptr<host::HostSession> session_ = std::make_unique<host::HostSession>();
};

TEST_F(CheckListSettings, KeptUnderOneKeyAcrossARestart) {
  std::string problem;
  ASSERT_TRUE(U::SaveCheckList("P1", {"A", "B"}, {"V", "E"}, problem)) << problem;
  ASSERT_TRUE(U::SaveCheckList("P2", {"C"}, {"V"}, problem)) << problem;
  EXPECT_FALSE(U::SaveCheckList("P1", {"a|b"}, {"V"}, problem));  // refused: the stored list stays
  session_.reset();
  session_ = std::make_unique<host::HostSession>();
  TavRepository& r = TavSettingRepository::GetRepository(OrvIDSICompareToolSettingAtt::kRepository);
  EXPECT_EQ(r.ReadString(OrvIDSICompareToolSettingAtt::kReportAttributesKey, {}), "$$P1$A|V|B|E|$$P2$C|V|");
  Strings names, kinds;
  U::ReadCheckList("P1", names, kinds);
  EXPECT_EQ(names, (Strings{"A", "B"}));
  EXPECT_EQ(kinds, (Strings{"V", "E"}));
}

}  // namespace
