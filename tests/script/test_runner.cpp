// The script runner as a strict harness and a safe session: failures inside the
// engine reach the script, widgets refuse what the user could not do, and closing
// or opening a plant first cancels the command that holds its objects.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "HostScript.h"
#include "TavModules.h"

using namespace host;

namespace {

// A command with a dialog whose OK sends it round in circles, and whose Apply
// button's callback fails the same way through a push.
class Loops : public TavStateCommand {
public:
  TavDialogAgent ok{"Ok"}, other{"Other"};
  std::unique_ptr<TavDlgDialog> dlg;
  Ref<TavBaseUnknown> held;  // an object of the document, as real commands hold them
  Loops() : TavStateCommand("Loops") {}
  void BuildGraph() override {
    dlg = std::make_unique<TavDlgDialog>(nullptr, "LoopDlg");
    auto* button = dlg->Add<TavDlgPushButton>("Go");
    auto* combo = dlg->Add<TavDlgCombo>("Choice");
    combo->SetLine("first");
    combo->SetLine("second line");
    ok.AcceptOnNotify(dlg.get(), TavDlgNotification::OK);
    ok.AcceptOnNotify(button, TavDlgNotification::Activate);
    dlg->SetVisibility(true);
    if (auto ed = TavFrmEditor::GetCurrentEditor()) held = ed->GetDocument()->FindById("weld");
    auto* wait = GetInitialState("Wait");
    wait->AddDialogAgent(&ok);
    auto* a = AddDialogState("A");
    auto* b = AddDialogState("B");
    AddTransition(wait, a, IsOutputSetCondition(&ok));
    AddTransition(a, b, nullptr);
    AddTransition(b, a, nullptr);
  }
};

struct Runner : ::testing::Test {
  std::ostringstream out;
  ScriptRunner r{out};
  Ref<HostDocument> doc = HostDocument::Create();
  Runner() {
    auto root = doc->CreateRootProcess("proc", "Process");
    doc->CreateActivity(root, "PhysicalActivity", "weld", "Weld");
    r.Session().OpenDocument(doc);
    TavModuleRegistry::Get().Register("ScriptTest", "Loops", [] { return std::make_unique<Loops>(); });
  }
};

TEST_F(Runner, AnEngineFailureInsideANotificationFailsTheStep) {
  EXPECT_FALSE(r.RunText("start ScriptTest Loops\nnotify LoopDlg ok\necho not reached\n", "n.mirt"));
  EXPECT_EQ(r.Error(), "n.mirt:2: command Loops does not settle: its transitions loop in state B");
  EXPECT_EQ(out.str().find("not reached"), std::string::npos);
  EXPECT_FALSE(r.RunText("start ScriptTest Loops\npush LoopDlg.Go\n", "p.mirt"));
  EXPECT_EQ(r.Error(), "p.mirt:2: command Loops does not settle: its transitions loop in state B");
  // The failure is not left behind for the next statement.
  EXPECT_TRUE(r.RunText("echo fine\n", "e.mirt")) << r.Error();
}

TEST_F(Runner, ListsAndCombosRefuseRowsTheyDoNotHave) {
  ASSERT_TRUE(r.RunText("start ScriptTest Loops\n", "s.mirt"));
  EXPECT_FALSE(r.RunText("set LoopDlg.Choice -1\n", "c.mirt"));
  EXPECT_EQ(r.Error(), "c.mirt:1: combo Choice has 2 lines, no line -1");
  EXPECT_FALSE(r.RunText("set LoopDlg.Choice 2\n", "c.mirt"));
  EXPECT_EQ(r.Error(), "c.mirt:1: combo Choice has 2 lines, no line 2");
  EXPECT_TRUE(r.RunText("set LoopDlg.Choice second line\nexpect widget LoopDlg.Choice second line\n"
                        "set LoopDlg.Choice none\nexpect widget LoopDlg.Choice\n",
                        "c.mirt"))
      << r.Error();
  EXPECT_FALSE(r.RunText("set LoopDlg.Choice thrid\n", "c.mirt"));
  EXPECT_EQ(r.Error(), "c.mirt:1: combo Choice has no line 'thrid'");
}

// A pick the step cannot take says what the step takes, in a planner's words.
TEST_F(Runner, ARefusedPickSaysWhatTheStepTakes) {
  ASSERT_TRUE(r.RunText("start ScriptTest Loops\n", "s.mirt"));
  EXPECT_FALSE(r.RunText("pick Process/Weld\n", "p.mirt"));
  EXPECT_EQ(r.Error(), "p.mirt:1: pick Process/Weld: this step takes no pick, not an activity");
}

TEST_F(Runner, ExpectationsAreStrict) {
  EXPECT_FALSE(r.RunText("expect hso contian Process/Weld\n", "x.mirt"));
  EXPECT_FALSE(r.RunText("expect hso count two\n", "x.mirt"));
  EXPECT_EQ(r.Error(), "x.mirt:1: expected a count, not 'two'");
  EXPECT_FALSE(r.RunText("expect ended now\n", "x.mirt"));
  EXPECT_TRUE(r.RunText("expect hso count 0\nexpect hso lacks Process/Weld\nexpect messages 0\n", "x.mirt")) << r.Error();
  EXPECT_FALSE(r.RunText("expect label Process/Weld Weld.1\n", "x.mirt"));
  EXPECT_EQ(r.Error(), "x.mirt:1: expectation failed: Process/Weld is labelled 'Weld', expected 'Weld.1'");
}

// Closing the plant under a running command cancels the command first: the
// command, its dialogs and what it held go before the document does.
TEST_F(Runner, CloseAndOpenCancelTheRunningCommandFirst) {
  ASSERT_TRUE(r.RunText("start ScriptTest Loops\nexpect running Wait\nclose\nexpect ended\n", "c.mirt")) << r.Error();
  EXPECT_NE(out.str().find("command Loops is cancelled: its plant is closed\ncommand Loops ended\n"), std::string::npos) << out.str();
  EXPECT_EQ(TavDlgDialog::FindByName("LoopDlg"), nullptr);
  EXPECT_FALSE(r.RunText("push LoopDlg.Go\n", "c.mirt"));
  EXPECT_EQ(r.Error(), "c.mirt:1: no dialog named 'LoopDlg'");
  EXPECT_TRUE(r.RunText("close\n", "c.mirt"));  // nothing open: nothing to do

  const std::string plant = std::string(MIRT_TEST_DATA) + "/../data/sample-plant.xml";
  r.Session().OpenDocument(doc);
  ASSERT_TRUE(r.RunText("start ScriptTest Loops\nopen " + plant + "\nexpect ended\n", "o.mirt")) << r.Error();
  EXPECT_NE(out.str().find("command Loops is cancelled: another plant is opened\n"), std::string::npos);
}

// `save` with no name writes the plant back where it came from; a plant made in
// memory has nowhere to go and says so.
TEST_F(Runner, SaveWithoutANameWritesBackToTheOpenedFile) {
  EXPECT_FALSE(r.RunText("save\n", "s.mirt"));
  EXPECT_EQ(r.Error(), "s.mirt:1: this plant has no file yet: save FILE");
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("mirt-save-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::copy_file(std::string(MIRT_TEST_DATA) + "/../data/sample-plant.xml", dir / "plant.xml", fs::copy_options::overwrite_existing);
  ASSERT_TRUE(r.RunText("open " + (dir / "plant.xml").string() + "\nstart OrvVekPlanner TavVekRenumberActCmd\nsave\n", "s.mirt"))
      << r.Error();
  EXPECT_NE(out.str().find("saved " + (dir / "plant.xml").string() + "\n"), std::string::npos) << out.str();
  std::ifstream in(dir / "plant.xml");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("Weld.1.2.2"), std::string::npos);  // the renumbered labels went back into the file
  fs::remove_all(dir);
}

// A changed plant goes only at the user's word: kept open, saved (not where it has
// no file), or let go. A plant open in a second editor closes in one without asking.
TEST_F(Runner, UnsavedChangesAreAskedAboutBeforeAPlantGoes) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("mirt-unsaved-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string plant = (dir / "plant.xml").string();
  fs::copy_file(std::string(MIRT_TEST_DATA) + "/../data/sample-plant.xml", plant, fs::copy_options::overwrite_existing);
  std::vector<std::string> asked;
  auto answer = ScriptRunner::Unsaved::Keep;
  r.SetUnsavedQuestion([&](const std::string& name) {
    asked.push_back(name);
    return answer;
  });
  ASSERT_TRUE(r.RunText("open " + plant + "\nstart OrvVekPlanner TavVekRenumberActCmd\nclose\nquit\n", "u.mirt")) << r.Error();
  EXPECT_EQ(asked, (std::vector<std::string>{plant, plant}));
  EXPECT_FALSE(r.QuitRequested());
  ASSERT_EQ(r.Session().CurrentDocument()->FilePath(), plant);

  r.Session().OpenDocument(r.Session().CurrentDocument());
  ASSERT_TRUE(r.RunText("close\n", "u.mirt")) << r.Error();
  EXPECT_EQ(asked.size(), 2u);
  answer = ScriptRunner::Unsaved::Save;
  ASSERT_TRUE(r.RunText("close\n", "u.mirt")) << r.Error();
  EXPECT_EQ(asked.size(), 3u);
  EXPECT_NE(out.str().find("saved " + plant + "\n"), std::string::npos) << out.str();
  std::ifstream in(plant);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("Weld.1.2.2"), std::string::npos);

  // The fixture's plant, changed in memory, has no file to be saved to.
  ASSERT_EQ(r.Session().CurrentDocument(), doc);
  ASSERT_TRUE(r.RunText("start OrvVekPlanner TavVekRenumberActCmd\n", "u.mirt")) << r.Error();
  ASSERT_TRUE(doc->IsModified());
  EXPECT_FALSE(r.RunText("quit\n", "u.mirt"));
  EXPECT_NE(r.Error().find("has no file yet: save FILE, then quit"), std::string::npos) << r.Error();
  answer = ScriptRunner::Unsaved::Discard;
  ASSERT_TRUE(r.RunText("quit\n", "u.mirt")) << r.Error();
  EXPECT_TRUE(r.QuitRequested());
  fs::remove_all(dir);
}

// An object kept beyond its document knows the document is gone.
TEST(ScriptSession, ObjectsOutlivingTheirDocumentKnowIt) {
  Ref<TavBaseUnknown> kept;
  {
    auto doc = HostDocument::Create();
    auto root = doc->CreateRootProcess("proc", "Process");
    kept = doc->CreateActivity(root, "PhysicalActivity", "weld", "Weld");
    ASSERT_NE(query<TavIDocumentMember>(kept)->GetDocument(), nullptr);
  }
  EXPECT_EQ(query<TavIDocumentMember>(kept)->GetDocument(), nullptr);
}

TEST_F(Runner, ABadLineFailsWhereItStands) {
  EXPECT_FALSE(r.RunText("echo one\necho \"open\necho three\n", "b.mirt"));
  EXPECT_EQ(r.Error(), "b.mirt:2: unterminated quoted text");
  EXPECT_EQ(out.str(), "one\n");
}

TEST_F(Runner, QuitEndsAScript) {
  EXPECT_TRUE(r.RunText("echo one\nquit\necho two\n", "q.mirt"));
  EXPECT_EQ(out.str(), "one\n");
  EXPECT_TRUE(r.QuitRequested());
}

// A value put in for a parameter is never read as a parameter again.
TEST(ScriptSession, MessageParametersAreSubstitutedOnce) {
  HostSession session;
  EXPECT_EQ(TavMsgCatalog::BuildMessage("NoSuchCatalog", "Key", {"/P2", "x"}, "/P1 and /P2").utf8(), "/P2 and x");
  EXPECT_EQ(TavMsgCatalog::BuildMessage("NoSuchCatalog", "Key", {"a/P1", "/P1"}, "/P2|/P1").utf8(), "/P1|a/P1");
  EXPECT_EQ(TavMsgCatalog::BuildMessage("NoSuchCatalog", "Key", {"é", "/P3"}, "/P1 /P2 /P1").utf8(), "é /P3 é");
  std::vector<TavUnicodeString> ten;
  for (int i = 1; i <= 10; ++i) ten.push_back("v" + std::to_string(i));
  EXPECT_EQ(TavSubstituteParameters("/P10|/P1|/P11", ten).utf8(), "v10|v1|v11");
}

}  // namespace
