// The column-visibility string: what is read back as chosen columns, what can be
// stored, and the display names of attributes.
#include <gtest/gtest.h>

#include "HostRuntime.h"
#include "OrvGanttAddAttributeDlg.h"

namespace {
using Names = std::vector<TavUnicodeString>;

Names Read(const char* value) {
  Names list{"left over"};
  OrvGanttAddAttributeDlg::BuildCheckList(value, list);
  return list;
}
}  // namespace

TEST(GanttColumnString, SeparatorsAndBlanksAloneGiveNoColumn) {
  for (const char* value : {"", "   ", "$$", " $$ ", "$$$$", "$$ $$\t$$", "no separator", "\n$$\n"})
    EXPECT_TRUE(Read(value).empty()) << '"' << value << '"';
}

TEST(GanttColumnString, PiecesAreTrimmedAtTheirEndsOnlyAndReadOnce) {
  EXPECT_EQ(Read(" $$Cost$$Weld Spots$$ "), (Names{"Cost", "Weld Spots"}));
  EXPECT_EQ(Read("$$  Weld Spots \t$$Cost$$Weld Spots$$"), (Names{"Weld Spots", "Cost"}));
  // Text before the first separator is no column; a last piece without one is.
  EXPECT_EQ(Read("stray$$A$$B"), (Names{"A", "B"}));
  // The first separator of a run of "$" ends a piece.
  EXPECT_EQ(Read("$$A$$$B$$"), (Names{"A", "$B"}));
  // A piece ending in "$" cannot have been written by the dialog: it is no column.
  EXPECT_EQ(Read("$$A$ $$B$$"), (Names{"B"}));
}

TEST(GanttColumnString, WrittenColumnsReadBackTheSame) {
  EXPECT_EQ(OrvGanttAddAttributeDlg::BuildColumnString({}), TavUnicodeString());
  const Names columns{"Weld Spots", "$Cost", "A/B", "Gewicht (kg)", "x=1"};
  const TavUnicodeString value = OrvGanttAddAttributeDlg::BuildColumnString(columns);
  EXPECT_EQ(value, "$$Weld Spots$$$Cost$$A/B$$Gewicht (kg)$$x=1$$");
  Names back;
  OrvGanttAddAttributeDlg::BuildCheckList(value, back);
  EXPECT_EQ(back, columns);
}

TEST(GanttColumnString, OnlyNamesThatSurviveTheStringCanBeStored) {
  for (const char* ok : {"Weld Spots", "$Cost", "a$b", "x"}) EXPECT_TRUE(OrvGanttAddAttributeDlg::CanBeStored(ok)) << ok;
  for (const char* bad : {"", " ", "A$$B", "$$", "Cost $", "$", " Pad", "Pad\t"})
    EXPECT_FALSE(OrvGanttAddAttributeDlg::CanBeStored(bad)) << '"' << bad << '"';
}

TEST(GanttColumnString, DisplayNamesComeFromTheCatalogueElseTheName) {
  host::HostSession session;  // the catalogues
  EXPECT_EQ(OrvGanttAddAttributeDlg::GetNLSAttributeName("Weld Spots"), "Weld spots");
  // A name that looks like a parameter is shown as it is.
  EXPECT_EQ(OrvGanttAddAttributeDlg::GetNLSAttributeName("Rate /P1"), "Rate /P1");
  EXPECT_EQ(OrvGanttAddAttributeDlg::GetNLSAttributeNameList({"Cost", "Weld Spots"}), (Names{"Cost", "Weld spots"}));
}
