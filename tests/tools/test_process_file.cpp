// Reading "SCOPES" process files: the one line reader (comments, quoted lines, CR LF),
// the operations and their descriptions, the links, and files that leave the
// grammar, which are refused whole with the line where reading stopped.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TavMirtProcessFile.h"

namespace {

using Status = TavMirtProcessFile::Status;

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
  std::string error;
  ASSERT_EQ(TavMirtProcessFile::Parse(kFile, f, &error), Status::Read) << error;
  EXPECT_EQ(f.Description(), "SCOPES 2.1\nGeneration time : 2026-11-30 08:15");
  EXPECT_EQ(f.label, "Door line");
  EXPECT_FALSE(f.latin1);
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
  EXPECT_EQ(f.links[0].line, 37);
  EXPECT_EQ(f.links[1].source, "Weld");
  EXPECT_EQ(f.links[1].target, "Nowhere");
}

TEST(ProcessFile, HeaderAndReaderEdges) {
  TavMirtProcessFile f;
  EXPECT_EQ(TavMirtProcessFile::Parse("SCOP\nx\n", f), Status::NotScopes);
  EXPECT_EQ(TavMirtProcessFile::Parse("## only a comment\n\n", f), Status::NotScopes);
  EXPECT_EQ(TavMirtProcessFile::Parse("scopes\n", f), Status::NotScopes);
  EXPECT_EQ(TavMirtProcessFile::Parse("", f), Status::NotScopes);
  // Five characters are enough; a byte-order mark is no part of the header.
  const std::string tail = "\nt\nP\nx\nEndOfOperations\nS\nEndOfSequence\n";
  EXPECT_EQ(TavMirtProcessFile::Parse("SCOPEX" + tail, f), Status::Read);
  EXPECT_EQ(TavMirtProcessFile::Parse("\xEF\xBB\xBFSCOPES" + tail, f), Status::Read);
  EXPECT_EQ(f.header, "SCOPES");
  // A lone quote is an empty line, read without touching the byte before it; a
  // quoted keyword is the keyword.
  ASSERT_EQ(TavMirtProcessFile::Parse("SCOPES\n\"\nP\nx\n\"EndOfOperations\"\nS\nEndOfSequence", f), Status::Read);
  EXPECT_EQ(f.generationTime, "");
  EXPECT_EQ(f.label, "P");
  // Bytes that are no UTF-8 are Latin-1 (older planning systems write it).
  ASSERT_EQ(TavMirtProcessFile::Parse("SCOPES\nt\nSchwei\xDF" "en\nx\nEndOfOperations\nS\nEndOfSequence\n", f), Status::Read);
  EXPECT_TRUE(f.latin1);
  EXPECT_EQ(f.label, "Schwei\xC3\x9F" "en");
}

TEST(ProcessFile, ABrokenFileIsRefusedWithItsLine) {
  const std::string op = "Operation\nA\nT\n3\ni\nd\nR\nEndOfResources\nC\nEndOfComponents\nW\nEndOfWelds\n";
  const std::string start = "SCOPES\nt\nP\nx\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {start + "Operation\nA\nT\n3\ni\nd\nR\nr1\n", "12: the file ends where \"EndOfResources\" is due"},
      {start + "Operation\nA\n", "6: the file ends where the operation's type is due"},
      {start + op + "Oops\n", "17: 'Oops' where \"Operation\" or \"EndOfOperations\" is due"},
      {start + op + "EndOfOperations\nS\nLink\nA\nA\nStray\n", "22: 'Stray' where \"Link\" or \"EndOfSequence\" is due"},
      {start + op + "EndOfOperations\nS\nLink\nA\n", "20: the file ends where the link's target is due"},
      {start + op + "EndOfOperations\nS\n", "18: the file ends where \"Link\" or \"EndOfSequence\" is due"},
      {start + "Operation\nA\nT\ninf\n", "8: the time 'inf' is no finite number"},
      {start + "Operation\nA\nT\nnan s\n", "8: the time 'nan s' is no finite number"},
      {start + "Operation\nA\nT\n1e999\n", "8: the time '1e999' is no finite number"},
      {start + std::string("## a\0b\n", 7), "5: the line holds a NUL byte"},
      {start + std::string(10001, 'x') + "\n", "5: the line is longer than 10000 bytes"},
  };
  for (const auto& [text, expected] : cases) {
    TavMirtProcessFile f;
    std::string error;
    EXPECT_EQ(TavMirtProcessFile::Parse(text, f, &error), Status::Broken) << expected;
    EXPECT_EQ(error, expected);
    EXPECT_TRUE(f.operations.empty() && f.label.empty());  // nothing half-read reaches the import
  }
  // At the limit, a line is read; the time reads the same in every locale.
  TavMirtProcessFile f;
  std::string error;
  EXPECT_EQ(TavMirtProcessFile::Parse(start + std::string(10000, 'x') + "\r\nEndOfSequence", f, &error), Status::Broken);
  EXPECT_EQ(error.substr(0, 5), "5: 'x");  // read, and refused only where an operation is due
  ASSERT_EQ(TavMirtProcessFile::Parse(start + op.substr(0, 14) + "\t+2.5e1 s" + op.substr(15) + "EndOfOperations\nS\nEndOfSequence\n", f),
            Status::Read);
  EXPECT_DOUBLE_EQ(f.operations.at(0).time, 25);
}

// The bundled sample holds each case the import has to meet.
TEST(ProcessFile, TheSampleFileReadsWhole) {
  std::ifstream in(std::string(MIRT_DATA_DIR) + "/door-line.process", std::ios::binary);
  ASSERT_TRUE(in);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  TavMirtProcessFile f;
  std::string error;
  ASSERT_EQ(TavMirtProcessFile::Parse(text, f, &error), Status::Read) << error;
  EXPECT_EQ(f.label, "Door line");
  ASSERT_EQ(f.operations.size(), 4u);
  EXPECT_NE(f.operations[0].description.find("Assigned Components : \n##InnerPanel.1, left\n"), std::string::npos);
  EXPECT_EQ(f.operations[2].type, "LaserGauge");
  EXPECT_EQ(f.operations[2].label, f.operations[3].label);
  ASSERT_EQ(f.links.size(), 3u);
  EXPECT_EQ(f.links[2].target, "Unload");  // no such operation: the import skips it
}

}  // namespace
