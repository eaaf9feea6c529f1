// Importing a process file into an activity through the command: the file box, the
// children and their links (the first child of a label wins, earlier children
// included), the fallback type, and files that change nothing.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "TavMirtParseProcessFile.h"
#include "HostUndo.h"
#include "ToolsPlant.h"

using namespace host;

namespace {

struct Import : ToolsPlant {
  Ref<HostRootActivity> root;
  Ref<HostActivity> line, old;
  std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "process-import";

  Import() {
    root = doc->CreateRootProcess("proc", "Plant");
    line = doc->CreateActivity(root, "Activity", "line", "Line");
    old = doc->CreateActivity(line, "PhysicalActivity", "old", "Inspect");
    Open();
    std::filesystem::create_directories(dir);
  }
  std::string Write(const std::string& name, const std::string& text) {
    const auto path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // Picks the line and answers the file box with `path` (empty: cancel).
  void Run(const std::string& path) {
    Start("TavMirtParseProcessFile");
    ASSERT_TRUE(Pick(line));
    ASSERT_EQ(State(), "SelectFile");
    auto* box = dynamic_cast<TavDlgFile*>(TavDlgDialog::FindByName("SelectProcessFile"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->GetFilterPattern(), "*.process");
    EXPECT_EQ(box->GetFilterPatterns(), (std::vector<TavUnicodeString>{"*.process", "*.*"}));
    std::string err;
    ASSERT_TRUE(engine.AnswerPending(path.empty() ? "cancel" : "file", path, &err)) << err;
    EXPECT_EQ(State(), "ended");
    EXPECT_FALSE(TavDlgDialog::FindByName("SelectProcessFile"));
  }
  std::vector<std::string> Labels() {
    std::vector<std::string> out;
    for (auto& c : line->GetChildActivities()) out.push_back(c->GetLabel().utf8());
    return out;
  }
};

TEST_F(Import, TheSampleFileFillsTheActivityAndLinksByTheFirstLabel) {
  Run(std::string(MIRT_DATA_DIR) + "/door-line.process");
  EXPECT_TRUE(engine.Messages().empty());
  EXPECT_EQ(line->GetLabel(), "Door line");
  EXPECT_EQ(line->GetDescription(), "SCOPES 2.1 door line\nGeneration time : 2026-11-30 08:15");
  ASSERT_EQ(Labels(), (std::vector<std::string>{"Inspect", "Load inner panel", "Tack weld", "Inspect", "Inspect"}));
  const auto children = line->GetChildActivities();
  auto load = children[1], tack = children[2], gauge = children[3];
  EXPECT_EQ(gauge->GetTypeName(), "PhysicalActivity");  // "LaserGauge" is no type here
  EXPECT_DOUBLE_EQ(tack->GetTime(), 31.25);
  EXPECT_EQ(TavValueToText(*query<TavIAttributeHolder>(tack)->GetAttribute("ImageFile")), "images/tack.png");
  EXPECT_EQ(load->GetDescription(),
            "The robot takes the inner panel from the rack\nAssigned Resources : \nRobot.1\nGripper.1\n"
            "Assigned Components : \n##InnerPanel.1, left\nAssigned Welds : \n");
  // "Inspect" names the child that was there before the import.
  auto next = [](const Ref<TavISPPActivity>& a) { return query<TavISPPFlowMgt>(a)->GetNextNodes(); };
  ASSERT_EQ(next(load).size(), 1u);
  EXPECT_TRUE(SameObject(next(load)[0], tack));
  ASSERT_EQ(next(tack).size(), 1u);
  EXPECT_TRUE(SameObject(next(tack)[0], old));
  EXPECT_TRUE(next(gauge).empty());
  // The imported plant saves and reads back to the same bytes.
  const std::string saved = Saved();
  std::string error;
  auto again = ParsePlant(saved, "t.xml", error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(SerializePlant(*again), saved);
  // One undo step takes the whole import back.
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &error)) << error;
  EXPECT_EQ(Labels(), std::vector<std::string>{"Inspect"});
  EXPECT_EQ(line->GetLabel(), "Line");
}

TEST_F(Import, FilesThatCannotBeImportedChangeNothing) {
  const std::string before = Saved();
  const std::string broken = Write("broken.process", "SCOPES\nt\nNew label\nx\nOperation\nA\nPhysicalActivity\n1\ni\nd\nR\n");
  Run(broken);
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].name, "ScopesParsing");
  EXPECT_EQ(engine.Messages()[0].text, broken + ":11: the file ends where \"EndOfResources\" is due. The process file is broken; nothing was imported.");
  Run(Write("wrong.process", "SCOPX\nt\nNew label\n"));
  ASSERT_EQ(engine.Messages().size(), 2u);
  EXPECT_EQ(engine.Messages()[1].title, "Process file");
  EXPECT_NE(engine.Messages()[1].text.find("not a SCOPES process file"), std::string::npos);
  // No file, a folder, a cancelled box: the command ends without a word.
  Run((dir / "missing.process").string());
  Run(dir.string());
  Run("");
  EXPECT_EQ(engine.Messages().size(), 2u);
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(doc->Journal().Size(), 0u);
}

TEST_F(Import, OnlyOneActivityAtATime) {
  Start("TavMirtParseProcessFile");
  std::string why;
  EXPECT_FALSE(engine.Pick(std::vector<TavPathElement>{doc->PathOf(line), doc->PathOf(old)}, &why));
  EXPECT_EQ(why, "no agent of state SelectActivity takes 2 objects picked together");
  EXPECT_EQ(State(), "SelectActivity");
  ASSERT_TRUE(Pick(line));
  EXPECT_EQ(State(), "SelectFile");
}

// A host that raises an error for a type it refuses, instead of answering null.
struct ThrowingChildren final : TavISPPChildManagement {
  std::vector<std::string> asked;
  std::vector<Ref<TavBaseUnknown>> GetChildren(const TavUnicodeString&) const override { return {}; }
  std::vector<Ref<TavBaseUnknown>> GetAllChildren(const TavUnicodeString&) const override { return {}; }
  Ref<TavBaseUnknown> CreateChild(const TavUnicodeString& type, const TavUnicodeString&, int) override {
    asked.push_back(type.utf8());
    throw std::runtime_error("unknown type " + type.utf8());
  }
  HRESULT RemoveChild(const Ref<TavBaseUnknown>&) override { return E_FAIL; }
};

TEST(ProcessImport, ARefusedTypeIsCaughtWhateverWayTheHostRefusesIt) {
  ThrowingChildren children;
  EXPECT_FALSE(TavMirtCreateChild(children, "LaserGauge", "Inspect"));
  EXPECT_EQ(children.asked, std::vector<std::string>{"LaserGauge"});
}

}  // namespace
