// The command engine: graphs, agents, filters, dialogs and the module registry.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostScript.h"
#include "TavDocWindows.h"
#include "TavModules.h"

using namespace host;

namespace {

struct Fixture : ::testing::Test {
  std::ostringstream out;
  HostSession session;
  HostEngine engine{&out};
  Ref<HostDocument> doc = HostDocument::Create();
  Ref<HostRootActivity> root = doc->CreateRootProcess("proc", "Process");
  Ref<HostActivity> weld = doc->CreateActivity(root, "PhysicalActivity", "weld", "Weld");
  Ref<HostActivity> op = doc->CreateActivity(root, "AssemblyOperation", "op", "Join");
  Ref<HostProduct> door = doc->CreateProduct(nullptr, "door", "Door");
  Fixture() { session.OpenDocument(doc); }
  TavPathElement P(const std::string& s) { return doc->Resolve(s); }
};

// Picks an item, then an activity, through a pass-through state; refuses assembly
// operations with a message and asks again; a dialog confirms.
class TwoPicks : public TavStateCommand {
public:
  std::vector<std::string>* log;
  TavPathElementAgent item{"Item"}, activity{"Activity"};
  TavDialogAgent ok{"Ok"}, cancel{"Cancel"};
  std::unique_ptr<TavDlgDialog> dlg;
  explicit TwoPicks(std::vector<std::string>* l) : TavStateCommand("TwoPicks"), log(l) {}
  ~TwoPicks() override { log->push_back("destroyed"); }
  void BuildGraph() override {
    item.AddElementType("TavIProduct");
    activity.AddElementType("TavISPPActivity");
    activity.SetFilter([this](TavAcquisitionAgent* a) {
      auto act = query<TavISPPActivity>(static_cast<TavPathElementAgent*>(a)->GetValueObject());
      if (act && act->IsOfType("AssemblyOperation")) {
        a->SetFilterMessage("not an assembly operation");
        return false;
      }
      return true;
    });
    AddCSOClient(&item);
    auto* s0 = GetInitialState("SelectItem");
    s0->AddDialogAgent(&item);
    auto* pass = AddDialogState("Dummy");
    auto* s1 = AddDialogState("SelectActivity");
    s1->AddDialogAgent(&activity);
    auto* s2 = AddDialogState("Confirm");
    s2->AddDialogAgent(&ok);
    s2->AddDialogAgent(&cancel);
    AddTransition(s0, pass, IsOutputSetCondition(&item), Action(&TwoPicks::Note));
    AddTransition(pass, s1, nullptr, nullptr);
    AddTransition(s1, s2, IsOutputSetCondition(&activity), Action(&TwoPicks::Show));
    AddTransition(s2, nullptr, IsOutputSetCondition(&ok), Action(&TwoPicks::Done));
    AddTransition(s2, nullptr, IsOutputSetCondition(&cancel), nullptr);
  }
  bool Note() {
    log->push_back("item");
    return true;
  }
  bool Show() {
    dlg = std::make_unique<TavDlgDialog>(nullptr, "ConfirmDlg");
    ok.AcceptOnNotify(dlg.get(), TavDlgNotification::OK);
    cancel.AcceptOnNotify(dlg.get(), TavDlgNotification::Cancel);
    dlg->AddAnalyseNotificationCB(dlg.get(), TavDlgNotification::OK, [this] { log->push_back("callback"); });
    dlg->SetVisibility(true);
    return true;
  }
  bool Done() { log->push_back("done"); return true; }
};

TEST_F(Fixture, PicksFlowThroughPassThroughStatesAndFiltersRefuseWithTheirMessage) {
  std::vector<std::string> log;
  std::string err;
  ASSERT_TRUE(engine.StartCommand(std::make_unique<TwoPicks>(&log), &err)) << err;
  auto* cmd = engine.RunningCommand();
  EXPECT_EQ(cmd->GetCurrentState()->GetName(), "SelectItem");
  EXPECT_FALSE(engine.Pick(P("Process/Weld"), &err));  // wrong kind for this state
  EXPECT_NE(err.find("accepts"), std::string::npos);
  ASSERT_TRUE(engine.Pick(P("Products/Door"), &err)) << err;
  EXPECT_EQ(cmd->GetCurrentState()->GetName(), "SelectActivity");
  EXPECT_FALSE(engine.Pick(P("Process/Join"), &err));
  EXPECT_EQ(err, "not an assembly operation");
  ASSERT_TRUE(engine.Pick(P("Process/Weld"), &err)) << err;
  EXPECT_EQ(cmd->GetCurrentState()->GetName(), "Confirm");
  TavDlgDialog::FindByName("ConfirmDlg")->Notify(TavDlgNotification::OK);
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"item", "callback", "done", "destroyed"}));
  EXPECT_EQ(TavDlgDialog::FindByName("ConfirmDlg"), nullptr);  // the dialog went with the command
}

TEST_F(Fixture, SelectionBeforeStartIsTheFirstPick) {
  std::vector<std::string> log;
  session.CurrentHostEditor()->GetCSO().AddElement(P("Products/Door"));
  std::string err;
  ASSERT_TRUE(engine.StartCommand(std::make_unique<TwoPicks>(&log), &err));
  EXPECT_EQ(engine.RunningCommand()->GetCurrentState()->GetName(), "SelectActivity");
  engine.Cancel(&err);  // before the log goes
}

TEST_F(Fixture, CancelAndReplacementEndTheCommandAndClearTheSelection) {
  std::vector<std::string> log;
  std::string err;
  ASSERT_TRUE(engine.StartCommand(std::make_unique<TwoPicks>(&log), &err));
  session.CurrentHostEditor()->GetHSO().AddElement(P("Process/Weld"));
  ASSERT_TRUE(engine.Cancel(&err));
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(session.CurrentHostEditor()->GetHSO().GetSize(), 0);
  EXPECT_EQ(log.back(), "destroyed");
  EXPECT_FALSE(engine.Cancel(&err));  // nothing left to cancel

  std::vector<std::string> first, second;
  engine.StartCommand(std::make_unique<TwoPicks>(&first), &err);
  engine.StartCommand(std::make_unique<TwoPicks>(&second), &err);
  EXPECT_EQ(first, (std::vector<std::string>{"destroyed"}));
  EXPECT_TRUE(second.empty());
  EXPECT_NE(out.str().find("replaced by"), std::string::npos);
  engine.Cancel(&err);
}

class Looping : public TavStateCommand {
public:
  Looping() : TavStateCommand("Looping") {}
  void BuildGraph() override {
    auto* a = GetInitialState("A");
    auto* b = AddDialogState("B");
    AddTransition(a, b, nullptr, nullptr);
    AddTransition(b, a, nullptr, nullptr);
  }
};

TEST_F(Fixture, ALoopingGraphIsReportedNotHung) {
  std::string err;
  EXPECT_FALSE(engine.StartCommand(std::make_unique<Looping>(), &err));
  EXPECT_NE(err.find("does not settle"), std::string::npos);
  EXPECT_EQ(engine.RunningCommand(), nullptr);
}

class Immediate : public TavStateCommand {
public:
  int* runs;
  explicit Immediate(int* r) : TavStateCommand("Immediate"), runs(r) {}
  void BuildGraph() override {
    ++*runs;
    auto* s = AddDialogState("DummyState1");
    AddTransition(s, nullptr, nullptr, nullptr);
  }
};

TEST_F(Fixture, ACommandCanEndAsSoonAsItStartsAndAFalseActionKeepsItWaiting) {
  int runs = 0;
  std::string err;
  ASSERT_TRUE(engine.StartCommand(std::make_unique<Immediate>(&runs), &err));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(engine.LastEndedCommand(), "Immediate");
}

// Entry actions run when a state is entered from another one or first, exit
// actions when it is left for another one or for the end; a self-transition runs
// neither. The argument is there before the graph is built.
class Staged : public TavStateCommand {
public:
  std::vector<std::string>* log;
  TavPathElementAgent pick{"Pick"};
  explicit Staged(std::vector<std::string>* l) : TavStateCommand("Staged"), log(l) {}
  void BuildGraph() override {
    log->push_back("arg=" + GetArgument());
    auto* wait = GetInitialState("Wait");
    auto* work = AddDialogState("Work");
    wait->AddDialogAgent(&pick);
    work->AddDialogAgent(&pick);
    wait->SetEntryAction([this] { log->push_back("enter Wait"); });
    wait->SetExitAction([this] { log->push_back("leave Wait"); });
    work->SetEntryAction([this] { log->push_back("enter Work"); });
    work->SetExitAction([this] { log->push_back("leave Work"); });
    auto weld = [this] {
      auto a = query<TavISPPActivity>(pick.GetValueObject());
      return a && a->GetLabel() == "Weld";
    };
    AddTransition(wait, wait, AndCondition(IsOutputSetCondition(&pick), NotCondition(weld)), nullptr, {&pick});
    AddTransition(wait, work, IsOutputSetCondition(&pick), nullptr, {&pick});
    AddTransition(work, GetArgument() == "SingleShot" ? nullptr : wait, IsOutputSetCondition(&pick), nullptr, {&pick});
  }
};

TEST_F(Fixture, StatesRunEntryAndExitActionsAndCommandsGetTheirArgument) {
  for (std::string arg : {"", "SingleShot"}) {
    std::vector<std::string> log;
    std::string err;
    auto cmd = std::make_unique<Staged>(&log);
    cmd->SetArgument(arg);
    ASSERT_TRUE(engine.StartCommand(std::move(cmd), &err)) << err;
    ASSERT_TRUE(engine.Pick(P("Process/Join"), &err)) << err;  // stays in Wait
    ASSERT_TRUE(engine.Pick(P("Process/Weld"), &err)) << err;
    ASSERT_TRUE(engine.Pick(P("Process/Join"), &err)) << err;
    if (arg.empty())
      EXPECT_EQ(log, (std::vector<std::string>{"arg=", "enter Wait", "leave Wait", "enter Work", "leave Work", "enter Wait"}));
    else
      EXPECT_EQ(log, (std::vector<std::string>{"arg=SingleShot", "enter Wait", "leave Wait", "enter Work", "leave Work"}));
    EXPECT_EQ(engine.RunningCommand() == nullptr, !arg.empty());
  }
}

TEST(ModuleRegistry, UnknownClassesAreReportedAndPlaceholdersYield) {
  auto& r = TavModuleRegistry::Get();
  std::string err;
  EXPECT_EQ(r.Create("NoModule", "NoClass", &err), nullptr);
  EXPECT_EQ(err, "no command class 'NoClass' in module 'NoModule'");
  int runs = 0;
  r.Register("TestModule", "Real", [&] { return std::make_unique<Immediate>(&runs); });
  r.RegisterPlaceholder("TestModule", "Real", [] { return std::unique_ptr<TavStateCommand>(); });
  EXPECT_FALSE(r.IsPlaceholder("TestModule", "Real"));
  EXPECT_NE(r.Create("TestModule", "Real", &err), nullptr);
  r.RegisterPlaceholder("TestModule", "Later", [] { return std::unique_ptr<TavStateCommand>(); });
  EXPECT_TRUE(r.IsPlaceholder("TestModule", "Later"));
  EXPECT_EQ(r.Create("TestModule", "Later", &err), nullptr);  // a factory that yields nothing
  EXPECT_NE(err.find("returned no command"), std::string::npos);
  r.Register("TestModule", "Later", [&] { return std::make_unique<Immediate>(&runs); });
  EXPECT_FALSE(r.IsPlaceholder("TestModule", "Later"));
}

TEST(Dialogs, CallbacksAreDisconnectedAndDumpsAreStable) {
  int calls = 0;
  auto d = std::make_unique<TavDlgDialog>(nullptr, "D");
  auto* f = d->Add<TavDlgFrame>("Frame");
  auto* list = f->Add<TavDlgMultiList>("list");
  list->SetColumnTitles({"No", "Name"});
  list->SetColumnItem(0, "1");
  list->SetColumnItem(1, "Door", 0);
  auto* ed = f->Add<TavDlgEditor>("ed");
  auto* chk = f->Add<TavDlgCheckButton>("chk");
  chk->SetTitle("Highlight");
  int id = d->AddAnalyseNotificationCB(list, TavDlgNotification::Select, [&] { ++calls; });
  std::string err;
  EXPECT_TRUE(list->SetValueFromText("0", &err));
  EXPECT_FALSE(list->SetValueFromText("3", &err));
  EXPECT_TRUE(ed->SetValueFromText("abc \"q\"", &err));
  EXPECT_FALSE(chk->SetValueFromText("maybe", &err));
  EXPECT_EQ(calls, 1);
  d->RemoveAnalyseNotificationCB(id);
  list->SetSelect(0, true);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(d->DumpText(),
            "dialog D [hidden]\n"
            "  frame Frame\n"
            "    multilist list\n"
            "      columns: | No | Name\n"
            "      * 0: | 1 | Door\n"
            "    editor ed = \"abc \\\"q\\\"\"\n"
            "    check chk \"Highlight\" = \"unchecked\"\n");
}

TEST(Dialogs, IconsTooltipsAndSizesShowInDumps) {
  TavDlgDialog d(nullptr, "D");
  auto* up = d.Add<TavDlgPushButton>("Up");
  up->SetIconName("I_ToUp");
  up->SetToolTip("Move \"up\"");
  d.SetSize(300, 200);
  EXPECT_EQ(d.GetWidth(), 300);
  // A minimum grows the window to it, and a smaller size is refused up to it.
  d.SetMinimumSize(600, 100);
  EXPECT_EQ(d.GetWidth(), 600);
  EXPECT_EQ(d.GetHeight(), 200);
  d.SetSize(10, 10);
  EXPECT_EQ(d.GetHeight(), 100);
  EXPECT_EQ(d.DumpText(), "dialog D [hidden] min=600x100 size=600x100\n  push Up icon=I_ToUp tooltip=\"Move \\\"up\\\"\"\n");
}

TEST(Dialogs, SeveralLinesAreChosenAtOnceOnlyWhereTheListAllowsIt) {
  auto d = std::make_unique<TavDlgDialog>(nullptr, "D");
  auto* list = d->Add<TavDlgSelectorList>("list");
  for (const char* line : {"Open", "Closed", "Open", "Home"}) list->SetLine(line);
  int calls = 0;
  d->AddAnalyseNotificationCB(list, TavDlgNotification::Select, [&] { ++calls; });
  std::string err;
  EXPECT_FALSE(list->SelectLinesFromText({"1", "3"}, &err));  // one line at a time here
  EXPECT_NE(err.find("one line at a time"), std::string::npos);
  EXPECT_TRUE(list->SelectLinesFromText({"Home"}, &err));  // one line is a plain choice
  list->SetMultiSelect(true);
  EXPECT_TRUE(list->SelectLinesFromText({"3", "Closed", "1"}, &err)) << err;
  EXPECT_EQ(list->GetSelect(), (std::vector<int>{1, 3}));  // each once, in list order
  EXPECT_EQ(calls, 2);  // one notification per choice, not per line
  // A text two lines share, or no line has, is refused and leaves the selection.
  EXPECT_FALSE(list->SelectLinesFromText({"Closed", "Open"}, &err));
  EXPECT_NE(err.find("several lines 'Open'"), std::string::npos);
  EXPECT_FALSE(list->SelectLinesFromText({"0", "9"}, &err));
  EXPECT_FALSE(list->SelectLinesFromText({"0", "Shut"}, &err));
  EXPECT_EQ(list->GetSelect(), (std::vector<int>{1, 3}));
  EXPECT_EQ(calls, 2);
}

TEST_F(Fixture, NotificationBoxesAreRecordedAndAnsweredByTheScript) {
  TavDlgNotify box(nullptr, "Warning", TavDlgNotify::Warning);
  box.DisplayBox("Title", "Text");
  EXPECT_EQ(box.DisplayBlocked(), "OK");  // the default answer
  engine.QueueAnswer("NO");
  EXPECT_EQ(box.DisplayBlocked(), "NO");
  ASSERT_EQ(engine.Messages().size(), 2u);
  EXPECT_EQ(engine.Messages()[1].kind, "warning");
  EXPECT_EQ(out.str(), "[warning] Title: Text -> OK\n[warning] Title: Text -> NO\n");
  std::string err;
  EXPECT_FALSE(engine.AnswerPending("OK", {}, &err));
  EXPECT_EQ(err, "no message window is waiting for an answer");
}

TEST(Script, WordsQuotesAndComments) {
  std::vector<std::string> w;
  std::string err;
  ASSERT_TRUE(SplitWords("pick \"Process/Body Shop/Weld.2\" # the weld", w, err));
  EXPECT_EQ(w, (std::vector<std::string>{"pick", "Process/Body Shop/Weld.2"}));
  ASSERT_TRUE(SplitWords("set D.ed \"say \\\"hi\\\"\" x#y", w, err));
  EXPECT_EQ(w, (std::vector<std::string>{"set", "D.ed", "say \"hi\"", "x#y"}));
  EXPECT_FALSE(SplitWords("echo \"open", w, err));
  EXPECT_EQ(err, "unterminated quoted text");
}

TEST(Script, FailuresNameTheLine) {
  std::ostringstream out;
  ScriptRunner r(out);
  EXPECT_FALSE(r.RunText("echo one\nfrobnicate\n", "s.mirt"));
  EXPECT_EQ(r.Error(), "s.mirt:2: unknown statement 'frobnicate' (help lists them)");
  EXPECT_FALSE(r.RunText("pick Process/X\n", "s.mirt"));
  EXPECT_EQ(r.Error(), "s.mirt:1: no plant is open");
  EXPECT_FALSE(r.RunText("start NoModule NoClass\n", "t.mirt"));
  EXPECT_EQ(r.Error(), "t.mirt:1: no command class 'NoClass' in module 'NoModule'");
  EXPECT_FALSE(r.RunText("expect running\n", "t.mirt"));
  EXPECT_EQ(r.Error(), "t.mirt:1: expectation failed: no command is running");
  EXPECT_FALSE(r.RunText("fire WexDDPNoSuchHeader\n", "t.mirt"));
  EXPECT_EQ(out.str(), "one\n");
}

}  // namespace

namespace {

// The second pick may come from another open plant; the first may not.
class OtherPlant : public TavStateCommand {
public:
  TavPathElementAgent here{"Here"};
  TavOtherDocumentAgent there{"There"};
  OtherPlant() : TavStateCommand("OtherPlant") {}
  void BuildGraph() override {
    auto* s0 = GetInitialState("First");
    auto* s1 = AddDialogState("Second");
    s0->AddDialogAgent(&here);
    s1->AddDialogAgent(&there);
    AddTransition(s0, s1, IsOutputSetCondition(&here));
    AddTransition(s1, nullptr, IsOutputSetCondition(&there));
  }
};

TEST_F(Fixture, PicksInAnotherPlantReachOnlyAgentsThatTakeThem) {
  auto other = HostDocument::Create();
  auto otherRoot = other->CreateRootProcess("proc", "Process");
  auto otherEditor = session.OpenDocument(other);
  session.SetCurrentEditor(session.Editors().front());
  std::string err;
  ASSERT_TRUE(engine.StartCommand(std::make_unique<OtherPlant>(), &err)) << err;
  EXPECT_FALSE(engine.Pick(other->Resolve("Process"), &err, nullptr, true));
  EXPECT_NE(err.find("another plant"), std::string::npos) << err;
  ASSERT_TRUE(engine.Pick(P("Process"), &err)) << err;
  ASSERT_TRUE(engine.Pick(other->Resolve("Process"), &err, nullptr, true)) << err;
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  // The other plant's window is found, and shows what it is asked to.
  EXPECT_EQ(TavDocumentWindows::EditorOf(other), otherEditor);
  EXPECT_TRUE(TavDocumentWindows::HighlightAndCenter(otherEditor, other->Resolve("Process")));
  EXPECT_EQ(otherEditor->GetHSO().GetSize(), 1);
  EXPECT_EQ(otherEditor->Viewer().GetLastFrame().size(), 1u);
  EXPECT_FALSE(TavDocumentWindows::HighlightAndCenter(nullptr, other->Resolve("Process")));
  session.CloseEditor(otherEditor);
  EXPECT_EQ(TavDocumentWindows::EditorOf(other), nullptr);
  (void)otherRoot;
}

}  // namespace
