// The search command on a real Gantt window: composing the query, quick searches
// beside it, recalling saved queries into it, and the window going away.
#include <gtest/gtest.h>

#include <sstream>

#include "GanttPlant.h"
#include "HostEngine.h"
#include "OrvGanttSearchDlg.h"
#include "OrvGanttSerachPreferencesServices.h"
#include "OrvSerachInGanttCmd.h"

namespace {
using Strings = std::vector<TavUnicodeString>;

struct SearchCommand : ::testing::Test {
  GanttSession plant{"$$Spots$$"};
  Ref<host::GanttWindow> window = plant.Open("Process");
  std::ostringstream out;
  host::HostEngine engine{&out};
  OrvSerachInGanttCmd* cmd = nullptr;

  void SetUp() override {
    std::string err;
    auto c = std::make_unique<OrvSerachInGanttCmd>();
    cmd = c.get();
    ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
    ASSERT_TRUE(cmd->Dialog());
  }
  bool Running() const { return const_cast<host::HostEngine&>(engine).RunningCommand() != nullptr; }
  // Message windows shown since the last call, as "kind: text".
  std::vector<std::string> Messages() {
    std::vector<std::string> m;
    for (auto& s : engine.Messages()) m.push_back(s.kind + ": " + s.text);
    engine.ClearMessages();
    return m;
  }
  std::vector<std::string> ResultNames() const {
    std::vector<std::string> n;
    for (auto& r : cmd->Results()) n.push_back(r.name.utf8());
    return n;
  }
};

TEST_F(SearchCommand, ConditionsAndCombinatorsKeepTheQueryAlternating) {
  EXPECT_EQ(cmd->UpdateCombinedRelation("OR", 0), E_FAIL);  // nothing to combine yet
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "=", "weld*", 0), S_OK);
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Spots", ">", "1", 0), S_OK);  // AND comes between by itself
  EXPECT_EQ(cmd->GetSubmittedQuery(), (Strings{"'Name'='weld*'", "AND", "'Spots'>'1'"}));
  ASSERT_EQ(cmd->UpdateCombinedRelation("OR", 0), S_OK);
  EXPECT_EQ(cmd->UpdateCombinedRelation("AND", 0), E_FAIL);  // two in a row
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "==", "Paint", 0), S_OK);  // after OR: no AND
  EXPECT_EQ(cmd->GetSubmittedQuery().size(), 5u);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "error: No query is found to combine\nPlease define a query first",
                            "error: Combined query has already been defined\nPlease edit or remove it"}));
  // Element numbers count from 1; a condition replaces a condition, a combinator a combinator.
  EXPECT_EQ(cmd->UpdateElemSearchQuery("Name", "=", "x", 6), E_FAIL);
  EXPECT_EQ(cmd->UpdateElemSearchQuery("Name", "=", "x", 2), E_FAIL);
  EXPECT_EQ(cmd->UpdateCombinedRelation("OR", 1), E_FAIL);
  ASSERT_EQ(cmd->UpdateCombinedRelation("OR", 2), S_OK);
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "=", "*", 1), S_OK);
  EXPECT_EQ(cmd->GetSubmittedQuery(), (Strings{"'Name'='*'", "OR", "'Spots'>'1'", "OR", "'Name'=='Paint'"}));
  // Parts that would not read back as one condition are refused, the query kept.
  EXPECT_EQ(cmd->UpdateElemSearchQuery("Name", "=", "", 0), E_FAIL);
  EXPECT_EQ(cmd->UpdateElemSearchQuery("a'='b", "=", "v", 0), E_FAIL);
  EXPECT_EQ(cmd->GetSubmittedQuery().size(), 5u);
  // Quotes inside a value read back whole: the value runs to the last quote.
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "==", "a'=='b", 5), S_OK);
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "==", "Paint", 5), S_OK);
  // A condition goes with its combinator; a combinator with the condition it joins.
  ASSERT_EQ(cmd->RemoveElemQuery(3), S_OK);
  EXPECT_EQ(cmd->GetSubmittedQuery(), (Strings{"'Name'='*'", "OR", "'Name'=='Paint'"}));
  ASSERT_EQ(cmd->RemoveElemQuery(1), S_OK);
  EXPECT_EQ(cmd->GetSubmittedQuery(), (Strings{"'Name'=='Paint'"}));
  EXPECT_EQ(cmd->RemoveElemQuery(2), E_FAIL);
  // The dialog's list shows the query, a row per element.
  EXPECT_EQ(cmd->Dialog()->QueryList()->GetLineCount(), 1);
}

TEST_F(SearchCommand, AQuickSearchLeavesTheComposedQueryAlone) {
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "==", "Paint", 0), S_OK);
  cmd->Search(true, "weld");
  EXPECT_EQ(ResultNames(), (std::vector<std::string>{"Weld.1", "Weld.2"}));
  EXPECT_EQ(window->GetHighlightedRows(), (std::vector<int>{2, 3}));
  EXPECT_EQ(cmd->GetSubmittedQuery(), (Strings{"'Name'=='Paint'"}));
  EXPECT_EQ(cmd->GetSavedQuickSearchedStrings(), (Strings{"weld"}));
  cmd->Search(false);
  EXPECT_EQ(ResultNames(), (std::vector<std::string>{"Paint"}));
  EXPECT_EQ(window->GetHighlightedRows(), (std::vector<int>{4}));
  // Choosing results narrows the highlight; none chosen clears it.
  cmd->Search(true, "e");
  ASSERT_GE(cmd->Results().size(), 2u);
  cmd->OnResultLinesSelected({1});
  EXPECT_EQ(window->GetHighlightedRows(), (std::vector<int>{cmd->Results()[1].row}));
  cmd->OnResultLinesSelected({});
  EXPECT_TRUE(window->GetHighlightedRows().empty());
  Messages();
}

TEST_F(SearchCommand, RecalledQueriesGoWhereTheSelectionSays) {
  ASSERT_EQ(OrvGanttSerachPreferencesServices::SetSavedQuery("welds", {"'Name'='weld*'", "OR", "'Spots'>'2'"}), S_OK);
  ASSERT_EQ(cmd->RetrieveSavedQuery("welds"), S_OK);  // into the empty query
  ASSERT_EQ(cmd->RetrieveSavedQuery("welds"), S_OK);  // the query already ends so: unchanged
  EXPECT_EQ(cmd->GetSubmittedQuery().size(), 3u);
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "==", "Paint", 0), S_OK);
  ASSERT_EQ(cmd->RetrieveSavedQuery("welds"), S_OK);  // appended after AND
  EXPECT_EQ(cmd->GetSubmittedQuery(), (Strings{"'Name'='weld*'", "OR", "'Spots'>'2'", "AND", "'Name'=='Paint'", "AND",
                                               "'Name'='weld*'", "OR", "'Spots'>'2'"}));
  cmd->ResetSearchQueryString();
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "==", "A", 0), S_OK);
  ASSERT_EQ(cmd->UpdateElemSearchQuery("Name", "==", "B", 0), S_OK);
  cmd->Dialog()->QueryList()->SetSelect(1);  // a combinator row: nothing happens
  ASSERT_EQ(cmd->RetrieveSavedQuery("welds"), S_OK);
  EXPECT_EQ(cmd->GetSubmittedQuery().size(), 3u);
  cmd->Dialog()->QueryList()->SetSelect(0);  // a condition row: replaced in place
  ASSERT_EQ(cmd->RetrieveSavedQuery("welds"), S_OK);
  EXPECT_EQ(cmd->GetSubmittedQuery(), (Strings{"'Name'='weld*'", "OR", "'Spots'>'2'", "AND", "'Name'=='B'"}));
  EXPECT_EQ(cmd->RetrieveSavedQuery("nothing saved"), E_FAIL);
  EXPECT_EQ(cmd->GetSubmittedQuery().size(), 5u);
  ASSERT_EQ(OrvGanttSerachPreferencesServices::DeleteSavedQuery("welds"), S_OK);
}

TEST_F(SearchCommand, ClosingTheGanttWindowEndsTheCommand) {
  cmd->Search(true, "weld");
  ASSERT_TRUE(host::HostWindows::Get().Activate(window));
  ASSERT_TRUE(host::HostWindows::Get().Deactivate());
  EXPECT_TRUE(cmd->Dialog()->IsMinimized());
  ASSERT_TRUE(host::HostWindows::Get().Activate(window));
  EXPECT_FALSE(cmd->Dialog()->IsMinimized());
  ASSERT_TRUE(host::HostWindows::Get().Close(window));
  EXPECT_FALSE(Running());
  EXPECT_EQ(engine.LastEndedCommand(), "OrvSerachInGanttCmd");
}

TEST(SearchCommandWithoutGantt, SaysSoAndEnds) {
  GanttSession plant;
  std::ostringstream out;
  host::HostEngine engine{&out};
  std::string err;
  ASSERT_TRUE(engine.StartCommand(std::make_unique<OrvSerachInGanttCmd>(), &err)) << err;
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].text, "The current window is no Gantt chart\nPlease open a Gantt chart first");
}

}  // namespace
