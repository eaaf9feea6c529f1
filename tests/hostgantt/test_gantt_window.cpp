// The Gantt chart window's table: rows, standard and attribute columns, numeric
// columns, the column choice, highlighting and its search.
#include "GanttPlant.h"

using namespace host;

namespace {

std::vector<std::string> Column(const GanttWindow& w, std::size_t c) {
  std::vector<std::string> out;
  for (std::size_t r = 0; r < w.Table().RowCount(); ++r) out.emplace_back(w.Table().Cell(r, c));
  return out;
}

std::vector<std::string> Headers(const GanttWindow& w) {
  std::vector<TavUnicodeString> h;
  w.GetVisibleColumnHeaders(h);
  std::vector<std::string> out;
  for (auto& x : h) out.push_back(x.utf8());
  return out;
}

TEST(GanttWindow, RowsAreTheActivitiesBelowTheRootDepthFirstWithTheStandardColumns) {
  GanttSession s;
  auto w = s.Open("Process");
  EXPECT_EQ(Headers(*w), (std::vector<std::string>{"Name", "Type", "Duration", "Description"}));
  // The switch is a control-flow node: no row.
  EXPECT_EQ(Column(*w, 0), (std::vector<std::string>{"Process", "Body Shop", "Weld.1", "Weld.2", "Paint"}));
  EXPECT_EQ(Column(*w, 1), (std::vector<std::string>{"Activity", "Activity", "PhysicalActivity", "PhysicalActivity", "PhysicalActivity"}));
  EXPECT_EQ(Column(*w, 2), (std::vector<std::string>{"0", "0", "2.5", "12", "1e-05"}));
  EXPECT_EQ(Column(*w, 3), (std::vector<std::string>{"", "front", "", "", ""}));
  bool numeric = false;
  EXPECT_EQ(w->IsColumnNumeric("Duration", numeric), S_OK);
  EXPECT_TRUE(numeric);
  EXPECT_EQ(w->IsColumnNumeric("Name", numeric), S_OK);
  EXPECT_FALSE(numeric);
  EXPECT_EQ(w->IsColumnNumeric("Nothing", numeric), E_FAIL);
  EXPECT_EQ(w->GetRowCount(), 5);
  EXPECT_EQ(w->GetCellText(2, 0), "Weld.1");
  EXPECT_EQ(w->GetCellText(5, 0), "");
  EXPECT_EQ(w->GetCellText(0, 4), "");
  EXPECT_TRUE(SameObject(w->GetRowObject(4), s.At("Process/Paint")));
  EXPECT_FALSE(w->GetRowObject(-1));
  EXPECT_TRUE(SameObject(w->GetRoot(), s.At("Process")));

  // A window on a sub activity, which is no process root, walks its own subtree.
  auto sub = s.Open("Process/Body Shop");
  EXPECT_EQ(Column(*sub, 0), (std::vector<std::string>{"Body Shop", "Weld.1", "Weld.2"}));
}

TEST(GanttWindow, AttributeColumnsComeFromTheSettingStringAndAreNumericOnlyWhenEveryValueIsANumber) {
  // Blanks trimmed, empty pieces skipped, a name given twice shown once, a standard
  // header never made an attribute column.
  GanttSession s(" $$ Spots $$$$Zone$$Checked$$Spots$$Name$$Missing$$Empty$$");
  auto w = s.Open("Process");
  EXPECT_EQ(Headers(*w), (std::vector<std::string>{"Name", "Type", "Duration", "Description", "Spots", "Zone", "Checked",
                                                   "Missing", "Empty"}));
  EXPECT_EQ(Column(*w, 4), (std::vector<std::string>{"", "3", "1.5", "", ""}));
  EXPECT_EQ(Column(*w, 5), (std::vector<std::string>{"", "A", "", "7", ""}));
  EXPECT_EQ(Column(*w, 6), (std::vector<std::string>{"", "", "true", "", ""}));
  auto numeric = [&](const char* h) {
    bool n = false;
    EXPECT_EQ(w->IsColumnNumeric(h, n), S_OK) << h;
    return n;
  };
  EXPECT_TRUE(numeric("Spots"));     // an int and a real
  EXPECT_FALSE(numeric("Zone"));     // a text among the numbers
  EXPECT_FALSE(numeric("Checked"));  // a boolean
  EXPECT_FALSE(numeric("Missing"));  // no value at all
  EXPECT_FALSE(numeric("Empty"));    // only an empty text
  EXPECT_EQ(w->GetAttributeColumns(), (std::vector<TavUnicodeString>{"Spots", "Zone", "Checked", "Missing", "Empty"}));
}

TEST(GanttWindow, ColumnChoiceStrings) {
  using V = std::vector<std::string>;
  EXPECT_EQ(GanttWindow::ParseColumnChoice(""), V{});
  EXPECT_EQ(GanttWindow::ParseColumnChoice("$$"), V{});
  EXPECT_EQ(GanttWindow::ParseColumnChoice("  \t "), V{});
  EXPECT_EQ(GanttWindow::ParseColumnChoice("$$A$$B$$"), (V{"A", "B"}));
  EXPECT_EQ(GanttWindow::ParseColumnChoice("before$$A$$ B c $$"), (V{"A", "B c"}));
  EXPECT_EQ(GanttWindow::ParseColumnChoice("$$A$$B"), (V{"A", "B"}));  // cut short
}

TEST(GanttWindow, AddedAndRemovedColumnsShowAfterTheTableIsUpdated) {
  GanttSession s("$$Zone$$");
  auto w = s.Open("Process");
  EXPECT_EQ(w->AddColumns({"Spots", "Zone", "Spots"}), S_OK);
  EXPECT_EQ(w->GetAttributeColumns(), (std::vector<TavUnicodeString>{"Zone", "Spots"}));
  EXPECT_EQ(w->Table().ColumnCount(), 5u);  // not yet
  w->UpdateGanttTable();
  EXPECT_EQ(Headers(*w).back(), "Spots");
  EXPECT_EQ(Column(*w, 5)[1], "3");
  // A standard header or an empty name is refused; the others are still added.
  EXPECT_EQ(w->AddColumns({"Duration", "", "Checked"}), E_FAIL);
  EXPECT_EQ(w->RemoveColumns({"Zone", "Unknown"}), S_OK);
  w->UpdateGanttTable();
  EXPECT_EQ(Headers(*w), (std::vector<std::string>{"Name", "Type", "Duration", "Description", "Spots", "Checked"}));
  // The table follows the model on update.
  auto a = std::dynamic_pointer_cast<HostActivity>(s.At("Process/Paint"));
  a->SetAttribute("Spots", std::int64_t{9});
  a->SetTime(4);
  EXPECT_EQ(Column(*w, 4).back(), "");
  w->UpdateGanttTable();
  EXPECT_EQ(Column(*w, 4).back(), "9");
  EXPECT_EQ(Column(*w, 2).back(), "4");
}

TEST(GanttWindow, HighlightKeepsItsRowsAndMakeVisibleMovesTheFirstVisibleRow) {
  GanttSession s;
  auto w = s.Open("Process");
  EXPECT_EQ(w->HighlightRow(3, true, false), S_OK);
  EXPECT_EQ(w->FirstVisibleRow(), 0);
  EXPECT_EQ(w->HighlightRow(1, true, true), S_OK);
  EXPECT_EQ(w->FirstVisibleRow(), 1);
  EXPECT_EQ(w->HighlightRow(1, true, false), S_OK);  // twice: once
  EXPECT_EQ(w->GetHighlightedRows(), (std::vector<int>{1, 3}));
  EXPECT_EQ(w->HighlightRow(5, true, true), E_FAIL);
  EXPECT_EQ(w->HighlightRow(-1, false, false), E_FAIL);
  EXPECT_EQ(w->FirstVisibleRow(), 1);
  EXPECT_EQ(w->HighlightRow(1, false, false), S_OK);
  EXPECT_EQ(w->GetHighlightedRows(), (std::vector<int>{3}));

  // A new activity before them: highlight and scroll position follow their activities.
  w->HighlightRow(4, true, true);
  auto shop = std::dynamic_pointer_cast<HostActivity>(s.At("Process/Body Shop"));
  ASSERT_TRUE(shop->CreateChild("PhysicalActivity", "Weld.0", 0));
  w->UpdateGanttTable();
  EXPECT_EQ(w->GetHighlightedRows(), (std::vector<int>{4, 5}));
  EXPECT_EQ(w->FirstVisibleRow(), 5);
  EXPECT_EQ(w->GetCellText(5, 0), "Paint");
}

TEST(GanttWindow, SearchRecordsNameTheRowTheActivityItsPathAndTheMatchingColumns) {
  GanttSession s("$$Zone$$");
  auto w = s.Open("Process");
  std::vector<OrvGanttSearchRecord> found;
  TavUnicodeString error;
  ASSERT_EQ(w->RunQuery({"'Name'=='Weld.2'", "OR", "'Zone'=='A'"}, false, found, error), S_OK) << error.utf8();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].row, 1);
  EXPECT_EQ(found[0].name, "Body Shop");
  EXPECT_EQ(found[0].accessPath, "Process/Body Shop");
  EXPECT_EQ(found[0].columns, (std::vector<TavUnicodeString>{"Zone"}));
  EXPECT_EQ(found[1].row, 3);
  EXPECT_EQ(found[1].accessPath, "Process/Body Shop/Weld.2");
  EXPECT_EQ(found[1].columns, (std::vector<TavUnicodeString>{"Name"}));

  EXPECT_EQ(w->RunQuery({"'Weight'=='1'"}, false, found, error), E_FAIL);
  EXPECT_TRUE(found.empty());
  EXPECT_TRUE(error.Contains("Weight")) << error.utf8();

  TavUnicodeString a, op, v;
  EXPECT_EQ(w->ParseCondition("'Name'=='Weld'", a, op, v), S_OK);
  EXPECT_EQ(a, "Name");
  EXPECT_EQ(op, "==");
  EXPECT_EQ(v, "Weld");
  EXPECT_EQ(w->ParseCondition("Name == Weld", a, op, v), E_FAIL);

  w->AddQuickSearchString("weld");
  w->AddQuickSearchString("12");
  w->AddQuickSearchString("weld");
  EXPECT_EQ(w->GetQuickSearchHistory(), (std::vector<TavUnicodeString>{"12", "weld"}));
  EXPECT_TRUE(s.Open("Process")->GetQuickSearchHistory().empty());  // per window
}

TEST(GanttWindow, TheWindowAnswersItsInterfacesByQuery) {
  GanttSession s;
  Ref<TavFrmWindow> w = s.Open("Process");
  EXPECT_TRUE(query<OrvGanttChartWindow>(w));
  EXPECT_TRUE(query<OrvIGanttTableDataAccessor>(w));
  EXPECT_TRUE(query<OrvIGanttAddRemoveColumn>(w));
  EXPECT_TRUE(query<OrvISearchUtility>(w));
}

}  // namespace
