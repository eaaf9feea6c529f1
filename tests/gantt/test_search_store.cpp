// The saved-query store and the query strings the search dialog builds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "HostRuntime.h"
#include "OrvGanttSearchQueries.h"
#include "OrvGanttSerachPreferencesServices.h"

namespace fs = std::filesystem;
using Prefs = OrvGanttSerachPreferencesServices;
using Strings = std::vector<TavUnicodeString>;
namespace Q = OrvGanttSearchQueries;

namespace {

// A session whose repositories live in a fresh folder; a second session on the same
// folder is the program started again.
class StoreTest : public testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("mirt-store-" + std::to_string(::getpid()) + "-" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    old_ = std::getenv("MIRT_CONFIG_DIR") ? std::getenv("MIRT_CONFIG_DIR") : "";
    ::setenv("MIRT_CONFIG_DIR", dir_.c_str(), 1);
    session_ = std::make_unique<host::HostSession>();
  }
  void TearDown() override {
    session_.reset();
    ::setenv("MIRT_CONFIG_DIR", old_.c_str(), 1);
    fs::remove_all(dir_);
  }
  void Restart() {
    session_.reset();
    session_ = std::make_unique<host::HostSession>();
  }
  static Strings Names() {
    Strings names;
    EXPECT_EQ(Prefs::GetListOfSavedQueryNames(names), S_OK);
    return names;
  }
  static TavRepository& Repo() { return TavSysPreferenceRepository::GetRepository("OrvGanttSearch"); }

  fs::path dir_;
  std::string old_;
  std::unique_ptr<host::HostSession> session_;
};

const Strings kQuery{"'Name'='*weld*'", "AND", "'Duration'>'2'"};

TEST_F(StoreTest, SavesRecallsOverwritesAndKeepsAcrossARestart) {
  ASSERT_EQ(Prefs::SetSavedQuery("welds", kQuery), S_OK);
  ASSERT_EQ(Prefs::SetSavedQuery("short", {"'Duration'<'1'"}), S_OK);
  ASSERT_EQ(Prefs::SetSavedQuery("welds", {"'Name'=='Weld'"}), S_OK);  // overwritten, listed once
  EXPECT_EQ(Names(), (Strings{"welds", "short"}));
  EXPECT_EQ(Repo().ReadInt("SavedQueryListSize", 0), 2);
  EXPECT_EQ(Repo().ReadInt("welds_QS", 0), 1);
  Restart();
  Strings q;
  ASSERT_EQ(Prefs::GetSavedQuery("welds", q), S_OK);
  EXPECT_EQ(q, (Strings{"'Name'=='Weld'"}));
  ASSERT_EQ(Prefs::DeleteSavedQuery("welds"), S_OK);
  EXPECT_EQ(Names(), (Strings{"short"}));
  EXPECT_EQ(Prefs::GetSavedQuery("welds", q), E_FAIL);
  EXPECT_TRUE(q.empty());
  EXPECT_EQ(Prefs::DeleteSavedQuery("welds"), E_FAIL);
  EXPECT_FALSE(Repo().Read("welds_QS"));
}

TEST_F(StoreTest, RefusesBadNamesAndQueries) {
  const std::string longest(252, 'q');
  EXPECT_EQ(Prefs::SetSavedQuery(longest, kQuery), S_OK);
  EXPECT_EQ(Prefs::SetSavedQuery(std::string(253, 'q'), kQuery), E_FAIL);
  // 252 is counted in bytes: 127 two-byte letters are 254.
  std::string wide;
  for (int i = 0; i < 127; ++i) wide += "\xC3\xA9";
  EXPECT_EQ(Prefs::SetSavedQuery(wide, kQuery), E_FAIL);
  EXPECT_EQ(Prefs::SetSavedQuery("", kQuery), E_FAIL);
  EXPECT_EQ(Prefs::SetSavedQuery("empty", {}), E_FAIL);
  EXPECT_EQ(Prefs::SetSavedQuery("dangling", {"'Name'='x'", "AND"}), E_FAIL);
  EXPECT_EQ(Names(), (Strings{TavUnicodeString(longest)}));
}

TEST_F(StoreTest, DamagedEntriesAreRefusedAndNothingChanges) {
  ASSERT_EQ(Prefs::SetSavedQuery("welds", kQuery), S_OK);
  Strings q{"kept"};
  // A count larger than the stored array is never read past.
  Repo().Write("welds_QS", std::int64_t(7));
  EXPECT_EQ(Prefs::GetSavedQuery("welds", q), E_FAIL);
  EXPECT_TRUE(q.empty());
  EXPECT_NE(Prefs::LastError().find("counts 7"), std::string::npos);
  // Strings that do not alternate condition and combinator.
  Repo().Write("welds_QS", std::int64_t(3));
  Repo().WriteStrings("welds_QN", {"'Name'='x'", "'Name'='y'", "OR"});
  EXPECT_EQ(Prefs::GetSavedQuery("welds", q), E_FAIL);
  // Empty strings are skipped before the check.
  Repo().WriteStrings("welds_QN", {"'Name'='x'", "", "OR", "'Name'='y'"});
  Repo().Write("welds_QS", std::int64_t(4));
  ASSERT_EQ(Prefs::GetSavedQuery("welds", q), S_OK);
  EXPECT_EQ(q, (Strings{"'Name'='x'", "OR", "'Name'='y'"}));
  // A list whose size disagrees refuses saving and listing alike.
  Repo().Write("SavedQueryListSize", std::int64_t(5));
  Strings names;
  EXPECT_EQ(Prefs::GetListOfSavedQueryNames(names), E_FAIL);
  EXPECT_EQ(Prefs::SetSavedQuery("other", kQuery), E_FAIL);
  EXPECT_FALSE(Repo().Read("other_QS"));
}

TEST_F(StoreTest, AFailedSaveFailsAndLeavesTheStoreAsBefore) {
  ASSERT_EQ(Prefs::SetSavedQuery("welds", kQuery), S_OK);
  // The repository file cannot be replaced: a folder stands in its place.
  const fs::path file = dir_ / "preferences" / "OrvGanttSearch.repo";
  ASSERT_TRUE(fs::exists(file));
  fs::remove(file);
  fs::create_directories(file / "blocker");
  EXPECT_EQ(Prefs::SetSavedQuery("new", {"'Name'='n'"}), E_FAIL);
  EXPECT_EQ(Prefs::SetSavedQuery("welds", {"'Name'='n'"}), E_FAIL);
  EXPECT_EQ(Prefs::DeleteSavedQuery("welds"), E_FAIL);
  EXPECT_EQ(Names(), (Strings{"welds"}));
  Strings q;
  ASSERT_EQ(Prefs::GetSavedQuery("welds", q), S_OK);
  EXPECT_EQ(q, kQuery);
  EXPECT_FALSE(Repo().Read("new_QS"));
}

TEST(SearchQueries, QuickSearchForANumberAndForAWord) {
  const Strings headers{"Duration", "Name", "Weld Spots"};
  auto numeric = [](const TavUnicodeString& h) { return h == "Duration" || h == "Weld Spots"; };
  EXPECT_EQ(Q::FormQueriesForQuickSearch("12.5", headers, numeric),
            (Strings{"'Duration'='12.5'", "OR", "'Name'='*12.5*'", "OR", "'Weld Spots'='12.5'"}));
  EXPECT_EQ(Q::FormQueriesForQuickSearch("weld", headers, numeric), (Strings{"'Name'='*weld*'"}));
  // "%le" reads a leading number: "12abc" goes to numeric columns too (and matches nothing there).
  EXPECT_EQ(Q::FormQueriesForQuickSearch("12abc", {"Duration"}, numeric), (Strings{"'Duration'='12abc'"}));
  EXPECT_TRUE(Q::FormQueriesForQuickSearch("weld", {"Duration"}, numeric).empty());
}

TEST(SearchQueries, ConditionsRelationsAndShape) {
  EXPECT_EQ(Q::BuildCondition("Name", "==", "Weld"), "'Name'=='Weld'");
  EXPECT_EQ(Q::BuildCondition("Name", "=", ""), "'Name'=");  // refused later: it does not read back
  EXPECT_EQ(Q::BuildCondition("", "", ""), "");
  EXPECT_TRUE(Q::IsWellFormed({"'a'='1'"}));
  EXPECT_TRUE(Q::IsWellFormed({"'a'='1'", "OR", "'b'='2'"}));
  EXPECT_FALSE(Q::IsWellFormed({}));
  EXPECT_FALSE(Q::IsWellFormed({"AND"}));
  EXPECT_FALSE(Q::IsWellFormed({"'a'='1'", "'b'='2'", "'c'='3'"}));
  EXPECT_FALSE(Q::IsWellFormed({"'a'='1'", "XOR", "'b'='2'"}));
  // Both "contains" and "equals" give "=", both exact relations "==".
  EXPECT_EQ(Q::OperatorOf("contains", false), "=");
  EXPECT_EQ(Q::OperatorOf("equals", false), "=");
  EXPECT_EQ(Q::OperatorOf("matches exactly", false), "==");
  EXPECT_EQ(Q::OperatorOf("contains exactly", false), "==");
  EXPECT_EQ(Q::OperatorOf("is less than or equal to", true), "<=");
  EXPECT_EQ(Q::OperatorOf("is less than", false), "Define Relation");  // not offered for text
  EXPECT_EQ(Q::RelationsFor(true).size(), 7u);
  EXPECT_EQ(Q::RelationsFor(false).size(), 6u);
}

}  // namespace
