// The Gantt query language: parsing conditions, the shape of a query, AND before OR,
// text and numeric matching, the columns a match reports, the quick-search history.
#include <gtest/gtest.h>

#include <utility>

#include "GanttQuery.h"

using namespace host::gantt;

namespace {

struct Column {
  std::string header;
  bool numeric = false;
};

class Table final : public GanttCells {
public:
  Table(std::vector<Column> columns, std::vector<std::vector<std::string>> rows)
      : columns_(std::move(columns)), rows_(std::move(rows)) {}
  std::size_t ColumnCount() const override { return columns_.size(); }
  const std::string& Header(std::size_t c) const override { return columns_[c].header; }
  bool IsNumeric(std::size_t c) const override { return columns_[c].numeric; }
  std::size_t RowCount() const override { return rows_.size(); }
  std::string_view Cell(std::size_t r, std::size_t c) const override { return rows_[r][c]; }

private:
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
};

// Name, Type, Duration (numeric), Robot: a small plant's activities.
const Table& Plant() {
  static const Table t({{"Name"}, {"Type"}, {"Duration", true}, {"Robot"}},
                       {{"Weld Door", "Weld", "4", "R1-left"},
                        {"weld roof", "Weld", "12.5", "R2-right"},
                        {"Glue Hood", "Glue", "", "r3-x"},
                        {"Inspect", "Check", "n/a", ""},
                        {"Café Stop", "Pause", " 1e3 ", "Rö-1"}});
  return t;
}

std::vector<std::size_t> Rows(const std::vector<std::string>& query, const GanttCells& cells = Plant()) {
  std::string error;
  auto q = GanttQuery::Compile(query, cells, error);
  EXPECT_TRUE(q) << error;
  std::vector<std::size_t> rows;
  if (q)
    for (auto& m : q->Run(cells)) rows.push_back(m.row);
  return rows;
}

std::string Error(const std::vector<std::string>& query) {
  std::string error;
  EXPECT_FALSE(GanttQuery::Compile(query, Plant(), error));
  return error;
}

using Rs = std::vector<std::size_t>;

}  // namespace

TEST(GanttCondition, SplitsAtTheFirstQuoteBeforeAnOperatorAndTheLastQuote) {
  std::string a, op, v;
  ASSERT_TRUE(ParseCondition("'Name'=='Weld'", a, op, v));
  EXPECT_EQ(std::tie(a, op, v), std::tie("Name", "==", "Weld"));
  // Quotes and operators inside the parts: the attribute stops at the first quote
  // followed by an operator and a quote, the value runs to the last quote.
  ASSERT_TRUE(ParseCondition("'O'Brien'='it's 'x'='y''", a, op, v));
  EXPECT_EQ(std::tie(a, op, v), std::tie("O'Brien", "=", "it's 'x'='y'"));
  ASSERT_TRUE(ParseCondition("'a<b'<='c'", a, op, v));
  EXPECT_EQ(std::tie(a, op, v), std::tie("a<b", "<=", "c"));
  // The longest operator that a quote follows wins.
  ASSERT_TRUE(ParseCondition("'A'='=B'", a, op, v));
  EXPECT_EQ(std::tie(op, v), std::tie("=", "=B"));
  ASSERT_TRUE(ParseCondition("'A'>='3'", a, op, v));
  EXPECT_EQ(op, ">=");
  ASSERT_TRUE(ParseCondition("'A'!=''", a, op, v));
  EXPECT_EQ(std::tie(op, v), std::tie("!=", ""));
  ASSERT_TRUE(ParseCondition("'Name'='é*'", a, op, v));
  EXPECT_EQ(v, "é*");

  for (const char* bad : {"", "'", "''", "Name=Weld", "''='x'", "'Name'='x", "'Name'=x'", "'Name'x'y'", "'Name'='",
                          "'Name'=='", "'Name'=>'x'", "'Name' = 'x'", " 'Name'='x'", "'Name'", "AND"})
    EXPECT_FALSE(ParseCondition(bad, a, op, v)) << bad;
}

TEST(GanttQueryShape, FaultsNameTheStringAndItsPosition) {
  EXPECT_EQ(Error({}), "the query is empty");
  EXPECT_EQ(Error({"AND", "'Name'='x'"}), "'AND' at position 1: a query starts with a condition, not with AND or OR");
  EXPECT_EQ(Error({"'Name'='x'", "'Type'='y'"}),
            "''Type'='y'' at position 2: two conditions in a row need AND or OR between them");
  EXPECT_EQ(Error({"'Name'='x'", "OR", "AND", "'Type'='y'"}), "'AND' at position 3: two combinators in a row");
  EXPECT_EQ(Error({"'Name'='x'", "OR"}), "'OR' at position 2: a query ends with a condition, not with AND or OR");
  EXPECT_EQ(Error({"'Name'='x'", "XOR", "'Type'='y'"}), "'XOR' at position 2: expected AND or OR");
  EXPECT_EQ(Error({"'Name'='x'", "and", "'Type'='y'"}), "'and' at position 2: expected AND or OR");
  EXPECT_EQ(Error({"'Name'='x'", "AND", "Type=y"}), "'Type=y' at position 3: not a condition 'Attribute'op'Value'");
  EXPECT_EQ(Error({"Define Relation"}), "'Define Relation' at position 1: not a condition 'Attribute'op'Value'");
}

TEST(GanttQueryShape, UnknownColumnsAreNamedWithCloseHeaders) {
  EXPECT_EQ(Error({"'Name'='x'", "OR", "'Weight'>'3'"}), "''Weight'>'3'' at position 3: no column 'Weight'");
  EXPECT_EQ(Error({"'Duraton'>'3'"}), "''Duraton'>'3'' at position 1: no column 'Duraton' (did you mean 'Duration'?)");
  EXPECT_EQ(Error({"'name'='x'"}), "''name'='x'' at position 1: no column 'name' (did you mean 'Name'?)");
  // Headers are matched exactly: blanks count.
  EXPECT_NE(Error({"'Name '='x'"}).find("no column 'Name '"), std::string::npos);
}

TEST(GanttQuery, AndBindsBeforeOr) {
  // Inspect OR (Weld AND R2): row 3, row 1; read left to right it would be row 1 only.
  EXPECT_EQ(Rows({"'Name'='Inspect'", "OR", "'Type'='Weld'", "AND", "'Robot'='R2*'"}), (Rs{1, 3}));
  // (Weld AND R1) OR Glue.
  EXPECT_EQ(Rows({"'Type'='Weld'", "AND", "'Robot'='R1*'", "OR", "'Type'='Glue'"}), (Rs{0, 2}));
  // Weld AND (nothing) OR Check AND (empty robot).
  EXPECT_EQ(Rows({"'Type'='Weld'", "AND", "'Robot'='none'", "OR", "'Type'='Check'", "AND", "'Robot'=''"}), (Rs{3}));
}

TEST(GanttQuery, TextEqualityIsWholeCellWithWildcardsAndCase) {
  EXPECT_EQ(Rows({"'Name'='weld door'"}), (Rs{0}));      // "=" ignores case
  EXPECT_EQ(Rows({"'Name'=='weld door'"}), (Rs{}));      // "==" does not
  EXPECT_EQ(Rows({"'Name'=='Weld*'"}), (Rs{0}));
  EXPECT_EQ(Rows({"'Name'='weld'"}), (Rs{}));            // the whole cell, not a part
  EXPECT_EQ(Rows({"'Name'='*WELD*'"}), (Rs{0, 1}));
  EXPECT_EQ(Rows({"'Name'='*o*'"}), (Rs{0, 1, 2, 4}));
  EXPECT_EQ(Rows({"'Name'!='*weld*'"}), (Rs{2, 3, 4}));  // "!=" is not "="
  EXPECT_EQ(Rows({"'Robot'=='R?-*'"}), (Rs{0, 1, 4}));    // '?' is one character, 'ö' too
  EXPECT_EQ(Rows({"'Robot'='R?\?-*'"}), (Rs{}));
  EXPECT_EQ(Rows({"'Name'='caf? stop'"}), (Rs{4}));
  EXPECT_EQ(Rows({"'Name'='CAFÉ STOP'"}), (Rs{}));      // only ASCII letters fold
  EXPECT_EQ(Rows({"'Robot'='*'"}), (Rs{0, 1, 2, 3, 4}));  // '*' matches the empty cell too
  EXPECT_EQ(Rows({"'Robot'=''"}), (Rs{3}));
  EXPECT_EQ(Rows({"'Robot'!=''"}), (Rs{0, 1, 2, 4}));
  EXPECT_EQ(Rows({"'Robot'='?*'"}), (Rs{0, 1, 2, 4}));
}

TEST(GanttQuery, TextOrderingIgnoresCaseInCodePointOrder) {
  EXPECT_EQ(Rows({"'Name'<'h'"}), (Rs{2, 4}));  // "glue hood", "café stop"
  EXPECT_EQ(Rows({"'Name'>='WELD ROOF'"}), (Rs{1}));
  EXPECT_EQ(Rows({"'Name'<='weld roof'"}), (Rs{0, 1, 2, 3, 4}));
  EXPECT_EQ(Rows({"'Robot'>'R2'"}), (Rs{1, 2, 4}));  // 'ö' after every ASCII letter
  EXPECT_EQ(Rows({"'Robot'<'a'"}), (Rs{3}));         // the empty cell orders first
  EXPECT_EQ(Rows({"'Name'>'*'"}), (Rs{0, 1, 2, 3, 4}));  // no wildcards in orderings
}

TEST(GanttQuery, NumericColumnsReadWholeNumbers) {
  EXPECT_EQ(Rows({"'Duration'='4'"}), (Rs{0}));
  EXPECT_EQ(Rows({"'Duration'=='4.0'"}), (Rs{0}));
  EXPECT_EQ(Rows({"'Duration'='1000'"}), (Rs{4}));  // the cell " 1e3 " with blanks around it
  EXPECT_EQ(Rows({"'Duration'=' 1e3 '"}), (Rs{4}));
  EXPECT_EQ(Rows({"'Duration'='+0x3E8'"}), (Rs{4}));  // what strtod reads
  EXPECT_EQ(Rows({"'Duration'>'4'"}), (Rs{1, 4}));
  EXPECT_EQ(Rows({"'Duration'>='4'"}), (Rs{0, 1, 4}));
  EXPECT_EQ(Rows({"'Duration'<'12.5'"}), (Rs{0}));
  EXPECT_EQ(Rows({"'Duration'<='12.5'"}), (Rs{0, 1}));
  // Empty and non-numeric cells match no numeric condition, not even "!=".
  EXPECT_EQ(Rows({"'Duration'!='4'"}), (Rs{1, 4}));
  // A value that is not wholly a number matches nothing.
  for (const char* value : {"12abc", "info", "", "4 4", "*", "1e"})
    EXPECT_EQ(Rows({std::string("'Duration'!='") + value + "'"}), (Rs{})) << value;
  EXPECT_EQ(Rows({"'Duration'='12abc'", "OR", "'Name'='inspect'"}), (Rs{3}));
}

TEST(GanttQuery, NumericReadingOfCells) {
  const Table t({{"N", true}}, {{"12abc"}, {" 12 "}, {"1e3"}, {"-0"}, {"inf"}, {"\t7\n"}, {std::string("7\0x", 3)}});
  EXPECT_EQ(Rows({"'N'='12'"}, t), (Rs{1}));
  EXPECT_EQ(Rows({"'N'>'100'"}, t), (Rs{2, 4}));
  EXPECT_EQ(Rows({"'N'='0'"}, t), (Rs{3}));
  EXPECT_EQ(Rows({"'N'='7'"}, t), (Rs{5}));  // "7\0x" is no number: a NUL does not end a cell
  EXPECT_EQ(Rows({"'N'!='5'"}, t), (Rs{1, 2, 3, 4, 5}));
}

TEST(GanttQuery, MatchesListTheColumnsWhoseConditionHeld) {
  // A quick search for "r": every text column containing it, each once, ascending.
  std::string error;
  auto q = GanttQuery::Compile({"'Robot'='*r*'", "OR", "'Name'='*r*'", "OR", "'Type'='*r*'", "OR", "'Robot'=='*r*'"},
                               Plant(), error);
  ASSERT_TRUE(q) << error;
  const auto matches = q->Run(Plant());
  ASSERT_EQ(matches.size(), 4u);
  EXPECT_EQ(matches[0].row, 0u);
  EXPECT_EQ(matches[0].columns, (std::vector<std::size_t>{0, 3}));  // "Weld Door", "R1-left"
  EXPECT_EQ(matches[1].columns, (std::vector<std::size_t>{0, 3}));
  EXPECT_EQ(matches[2].row, 2u);
  EXPECT_EQ(matches[2].columns, (std::vector<std::size_t>{3}));  // only "r3-x"
  EXPECT_EQ(matches[3].row, 4u);
  // Conditions that held count even when their AND group failed.
  q = GanttQuery::Compile({"'Type'='Weld'", "AND", "'Duration'>'100'", "OR", "'Name'='weld roof'"}, Plant(), error);
  ASSERT_TRUE(q) << error;
  const auto roof = q->Run(Plant());
  ASSERT_EQ(roof.size(), 1u);
  EXPECT_EQ(roof[0].columns, (std::vector<std::size_t>{0, 1}));
}

TEST(GanttQuery, RunsOnATableThatChangedSinceCompiling) {
  std::string error;
  auto q = GanttQuery::Compile({"'Robot'='*'", "OR", "'Name'='inspect'"}, Plant(), error);
  ASSERT_TRUE(q) << error;
  const Table fewer({{"Name"}}, {{"x"}, {"Inspect"}});
  const auto m = q->Run(fewer);  // the Robot column is gone: its condition fails
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].row, 1u);
  EXPECT_EQ(q->Run(Table({}, {})).size(), 0u);
}

TEST(GanttQuery, WildcardsStayLinearOnLongCells) {
  const std::string as(100000, 'a');
  const Table t({{"Text"}}, {{as}, {as + "b"}});
  std::string pattern;
  for (int i = 0; i < 200; ++i) pattern += "*a";
  EXPECT_EQ(Rows({"'Text'='" + pattern + "*b'"}, t), (Rs{1}));
  EXPECT_EQ(Rows({"'Text'='" + pattern + "'"}, t), (Rs{0}));
  EXPECT_EQ(Rows({"'Text'='" + pattern + "?b*'"}, t), (Rs{1}));
  EXPECT_EQ(Rows({"'Text'=='*a?a?a?c*'"}, t), (Rs{}));
  EXPECT_EQ(Rows({"'Text'=='" + std::string(100001, '?') + "'"}, t), (Rs{1}));
}

TEST(QuickSearchHistory, KeepsTheLastFiftyOldestFirstEachOnce) {
  QuickSearchHistory h;
  h.Add("weld");
  h.Add("glue");
  h.Add("weld");
  EXPECT_EQ(h.Texts(), (std::vector<std::string>{"glue", "weld"}));
  for (int i = 0; i < 60; ++i) h.Add(std::to_string(i));
  ASSERT_EQ(h.Texts().size(), 50u);
  EXPECT_EQ(h.Texts().front(), "10");
  EXPECT_EQ(h.Texts().back(), "59");
  h.Add("30");
  EXPECT_EQ(h.Texts().size(), 50u);
  EXPECT_EQ(h.Texts().back(), "30");
  EXPECT_EQ(h.Texts().front(), "10");
}
