// Reading "SCOPES" process files: the one line reader (comments, quoted lines, CR LF),
// the operations and their descriptions, the links, and files that leave the
// grammar, which end a block where they stand instead of reading on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TavMirtProcessFile.h"

namespace {

const char* kFile =
    "SCOPES 2.1\n"
    "## exported by the line planner\n"
    "2026-11-30 08:15\n"
    "Door line\n"
    "Operations\n"
    "\n"
    "Operation\n"
    "Load\n"
    "PhysicalActivity\n"
    "12.5 s\n"
    "img/load.png\n"
    "Load the inner panel\n"
    "Resources\n"
    "Robot.1\n"
    "EndOfResources\n"
    "Components\n"
    "\"##InnerPanel, left\"\n"
    "EndOfComponents\n"
    "Welds\n"
    "EndOfWelds\n"
    "Operation\r\n"
    "Weld\r\n"
    "NoSuchType\r\n"
    "fast\r\n"
    "\"\"\r\n"
    "Spot welds\r\n"
    "Resources\r\n"
    "EndOfResources\r\n"
    "Components\r\n"
    "EndOfComponents\r\n"
    "Welds\r\n"
    "W1\r\n"
    "W2\r\n"
    "EndOfWelds\r\n"
    "EndOfOperations\n"
    "Sequence\n"
    "Link\n"
    "Load\n"
    "Weld\n"
    "Link\n"
    "Weld\n"
    "Nowhere\n"
    "EndOfSequence\n";

TEST(ProcessFile, OperationsDescriptionsAndLinksInFileOrder) {
  TavMirtProcessFile f;
  ASSERT_TRUE(TavMirtProcessFile::Parse(kFile, f));
  EXPECT_EQ(f.Description(), "SCOPES 2.1\nGeneration time : 2026-11-30 08:15");
  EXPECT_EQ(f.label, "Door line");
  ASSERT_EQ(f.operations.size(), 2u);
  const auto& load = f.operations[0];
  EXPECT_EQ(load.label, "Load");
  EXPECT_EQ(load.line, 7);
  EXPECT_DOUBLE_EQ(load.time, 12.5);
  EXPECT_EQ(load.image, "img/load.png");
  // A quoted line is text, even when it begins like a comment.
  EXPECT_EQ(load.description,
            "Load the inner panel\nAssigned Resources : \nRobot.1\nAssigned Components : \n##InnerPanel, left\n"
            "Assigned Welds : \n");
  const auto& weld = f.operations[1];
  EXPECT_EQ(weld.type, "NoSuchType");  // the import falls back; reading keeps it
  EXPECT_EQ(weld.time, 0);             // no leading number
  EXPECT_EQ(weld.image, "");           // two quotes: an empty line
  EXPECT_EQ(weld.description, "Spot welds\nAssigned Resources : \nAssigned Components : \nAssigned Welds : \nW1\nW2\n");
  ASSERT_EQ(f.links.size(), 2u);
  EXPECT_EQ(f.links[1].source, "Weld");
  EXPECT_EQ(f.links[1].target, "Nowhere");
  EXPECT_TRUE(f.notes.empty()) << f.notes.front();
}

TEST(ProcessFile, AWrongHeaderReadsNothing) {
  TavMirtProcessFile f;
  EXPECT_FALSE(TavMirtProcessFile::Parse("SCOP\nx\n", f));
  EXPECT_FALSE(TavMirtProcessFile::Parse("## only a comment\n\n", f));
  EXPECT_FALSE(TavMirtProcessFile::Parse("scopes\n", f));
  EXPECT_TRUE(TavMirtProcessFile::Parse("SCOPE\n", f));  // five characters are enough
  EXPECT_EQ(f.notes, (std::vector<std::string>{"end of file: the file ends before \"EndOfOperations\""}));
}

TEST(ProcessFile, BlocksEndWhereTheFileLeavesTheGrammar) {
  TavMirtProcessFile f;
  // Cut inside the resources: the operation is kept with what it has.
  ASSERT_TRUE(TavMirtProcessFile::Parse("SCOPES\nt\nP\nx\nOperation\nA\nT\n3\ni\nd\nR\nr1\n", f));
  ASSERT_EQ(f.operations.size(), 1u);
  EXPECT_EQ(f.operations[0].description, "d\nAssigned Resources : \nr1\n");
  EXPECT_EQ(f.notes, (std::vector<std::string>{"end of file: the file ends before \"EndOfResources\""}));
  // Cut before the type: nothing to make.
  ASSERT_TRUE(TavMirtProcessFile::Parse("SCOPES\nt\nP\nx\nOperation\nA\n", f));
  EXPECT_TRUE(f.operations.empty());
  ASSERT_EQ(f.notes.size(), 1u);
  // A stray line between operations ends them and counts as their end; a stray line
  // between links ends them.
  ASSERT_TRUE(TavMirtProcessFile::Parse(
      "SCOPES\nt\nP\nx\nOperation\nA\nT\n1\ni\nd\nR\nEndOfResources\nC\nEndOfComponents\nW\nEndOfWelds\nOops\n"
      "Sequence\nLink\nA\nA\nStray\nLink\nA\nB\n",
      f));
  EXPECT_EQ(f.operations.size(), 1u);
  EXPECT_EQ(f.links.size(), 1u);
  EXPECT_EQ(f.notes, (std::vector<std::string>{
                         "line 17: 'Oops' where \"Operation\" or \"EndOfOperations\" was expected: the operations end here",
                         "line 22: 'Stray' where \"Link\" or \"EndOfSequence\" was expected: the links end here"}));
  // A time that is no finite number is 0.
  ASSERT_TRUE(TavMirtProcessFile::Parse("SCOPES\nt\nP\nx\nOperation\nA\nT\ninf\n", f));
  EXPECT_EQ(f.operations.at(0).time, 0);
  EXPECT_EQ(f.notes.front(), "line 8: the time 'inf' is no finite number: 0 is taken");
}

// The bundled sample holds each case the import has to meet.
TEST(ProcessFile, TheSampleFileReadsWhole) {
  std::ifstream in(std::string(MIRT_DATA_DIR) + "/door-line.process", std::ios::binary);
  ASSERT_TRUE(in);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  TavMirtProcessFile f;
  ASSERT_TRUE(TavMirtProcessFile::Parse(text, f));
  EXPECT_TRUE(f.notes.empty()) << f.notes.front();
  EXPECT_EQ(f.label, "Door line");
  ASSERT_EQ(f.operations.size(), 4u);
  EXPECT_NE(f.operations[0].description.find("Assigned Components : \n##InnerPanel.1, left\n"), std::string::npos);
  EXPECT_EQ(f.operations[2].type, "LaserGauge");
  EXPECT_EQ(f.operations[2].label, f.operations[3].label);
  ASSERT_EQ(f.links.size(), 3u);
  EXPECT_EQ(f.links[2].target, "Unload");  // no such operation: the import skips it
}

}  // namespace
