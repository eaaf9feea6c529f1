// The attribute-column command: which picks it takes, which attributes it offers,
// how the dialog moves and sorts columns, and what OK, a failed save and Cancel do
// to the stored choice and to the current Gantt window.
#include "AddAttributeCommand.h"
#include "OrvGanttAddAttributeIconButton.h"

using namespace gantt_test;

namespace {
using Cmd = OrvGanttAddAttributeCmd;

struct NotAGanttWindow : TavFrmWindow {
  TavUnicodeString GetBaseName() const override { return "PERT Chart.1"; }
  bool IsDeleted() const override { return false; }
  int AddWindowCallback(Callback) override { return 0; }
  void RemoveWindowCallback(int) override {}
};
}  // namespace

TEST_F(AddAttributeCommand, RegisteredUnderBothModulesAndPromptsForAPick) {
  std::string err;
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    ASSERT_TRUE(engine.Start(module, "OrvGanttAddAttributeCmd", &err)) << err;
    EXPECT_EQ(engine.RunningCommand()->GetName(), "OrvGanttAddAttributeCmd");
  }
  ASSERT_FALSE(engine.Messages().empty());
  EXPECT_EQ(engine.Messages().back().name, "NotifyDlg1");
  EXPECT_EQ(engine.Messages().back().text, "Select Activity/Resource");
  EXPECT_EQ(State(), "SelectActivity");
}

TEST_F(AddAttributeCommand, TakesActivitiesAndResourcesOfTheProcessAtAnyDepthButNoProduct) {
  Start();
  std::string why;
  EXPECT_FALSE(Pick(body, &why));
  EXPECT_EQ(why, "Select an activity or a resource of the process.");
  EXPECT_FALSE(Pick(panel));
  for (const auto& resource : {station, robot, gun}) EXPECT_TRUE(cmd->AcceptsObject(resource)) << resource->GetName().utf8();
  EXPECT_TRUE(cmd->AcceptsObject(weld));
  EXPECT_FALSE(cmd->AcceptsObject(nullptr));
  // Picked, the gun has no parameter to offer: the error, and the command waits for another pick.
  engine.ClearMessages();
  EXPECT_TRUE(Pick(gun));
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].kind, "error");
  EXPECT_EQ(engine.Messages()[0].title, "Error");
  EXPECT_EQ(engine.Messages()[0].text, "The selected object has no attribute to show as a column.");
  EXPECT_EQ(State(), "SelectActivity");
  EXPECT_EQ(cmd->Dialog(), nullptr);
  EXPECT_TRUE(Pick(weld));
  EXPECT_EQ(State(), "ActivitySelected");
}

TEST_F(AddAttributeCommand, OffersTypeKeysThenOwnAttributesWithoutStandardNamesRepeatsOrUnstorableNames) {
  Start();
  ASSERT_TRUE(Pick(weld));
  ASSERT_NE(cmd->Dialog(), nullptr);
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  EXPECT_FALSE(cmd->Prompt()->IsVisible());
  EXPECT_EQ(cmd->Dialog()->AllAttributes(), N({"Weld Spots", "Cost", "Operator"}));
  EXPECT_EQ(Rows("AllAttributesList"), (std::vector<std::string>{"Weld spots", "Cost", "Operator"}));
  EXPECT_TRUE(Rows("SelectedAttributesList").empty());

  // Own attributes: the type list's "(m)" spelling is not the activity's standard name.
  auto loose = std::make_shared<OwnAttributesActivity>(
      "GanttTestWeld", N({"Operator", "Length Of Curve Fastener", "Length Of Curve Fastener (m)", "A$$B", "Station", " Pad", "Station", "Label"}));
  EXPECT_EQ(Cmd::GetAttributesFromActivity(loose), N({"Weld Spots", "Cost", "Operator", "Length Of Curve Fastener (m)", "Station"}));
  EXPECT_EQ(Cmd::GetAttributesFromActivity(std::make_shared<OwnAttributesActivity>("NoSuchType", N({"Pad"}))), N({"Pad"}));
  EXPECT_TRUE(Cmd::GetAttributesFromActivity(nullptr).empty());

  auto resource = std::make_shared<ParameterResource>(N({"Reach", "Payload", "Reach", "Description", "x$$y", "Tip $"}));
  EXPECT_EQ(Cmd::GetAttributesFromResource(resource), N({"Reach", "Payload"}));
  EXPECT_TRUE(Cmd::GetAttributesFromResource(body).empty());
}

TEST_F(AddAttributeCommand, OnlyStandardNamesGiveTheErrorAndNoDialog) {
  Start();
  engine.ClearMessages();
  EXPECT_TRUE(Pick(paint));
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].text, "The selected object has no attribute to show as a column.");
  EXPECT_EQ(cmd->Dialog(), nullptr);
  EXPECT_EQ(State(), "SelectActivity");
}

TEST_F(AddAttributeCommand, TheStoredChoiceFillsTheRightListInItsOrder) {
  Store(" $$Operator$$Gone$$ ");
  Start();
  ASSERT_TRUE(Pick(weld));
  EXPECT_EQ(cmd->Dialog()->SelectedAttributes(), N({"Operator", "Gone"}));
  EXPECT_EQ(cmd->Dialog()->AllAttributes(), N({"Weld Spots", "Cost"}));
  // Widgets as named, with their icons and texts.
  for (auto [name, icon] : {std::pair{"AddAttribute", "I_ToRight"}, {"RemoveAttribute", "I_ToLeft"}, {"Up", "I_ToUp"},
                            {"Down", "I_ToDown"}, {"Top", "I_ToTop"}, {"Bottom", "I_ToBottom"}})
    if (auto* b = Widget<OrvGanttAddAttributeIconButton>(name)) {
      EXPECT_EQ(b->GetIconName(), icon);
    }
  for (const char* frame : {"FrameResource", "AllAttributesFrame", "ButtonFrame", "SelectedAttributesFrame", "UpDownFrame"})
    Widget<TavDlgFrame>(frame);
  const std::string dump = cmd->Dialog()->DumpText();
  EXPECT_NE(dump.find("push AddAttribute \"Add\" [icon I_ToRight]"), std::string::npos) << dump;
}

TEST_F(AddAttributeCommand, EveryTextTheDialogAndCommandUseIsInTheirCatalogues) {
  Start();
  ASSERT_TRUE(Pick(weld));
  std::vector<std::pair<std::string, std::string>> keys = {
      {"OrvGanttColumnVisibility", "NotifyDlg1.Title"}, {"OrvGanttColumnVisibility", "BalloonHelp.Title"},
      {"OrvGanttAddAttributeCmd", "Error.Title"},       {"OrvGanttAddAttributeCmd", "NoAtrribute.Title"},
      {"OrvGanttAddAttributeCmd", "NotActivityOrResource"}, {"OrvGanttAddAttributeDlg", "OrvGanttAddAttributeDlg.Title"},
      {"OrvGanttAddAttributeDlg", "AllAttributesList.ColumnTitle"}, {"OrvGanttAddAttributeDlg", "SelectedAttributesList.ColumnTitle"},
      {"OrvGanttAddAttributeDlg", "Error.Title"},       {"OrvGanttAddAttributeDlg", "SaveFailed"},
      {"OrvGanttAddAttributeDlg", "NoSettings"}};
  std::function<void(const TavDlgWidget&)> titled = [&](const TavDlgWidget& w) {
    if (w.GetKind() == "frame" || w.GetKind() == "push") keys.emplace_back("OrvGanttAddAttributeDlg", w.GetName() + ".Title");
    for (const auto& c : w.Children()) titled(*c);
  };
  titled(*cmd->Dialog());
  EXPECT_GT(keys.size(), 20u);
  for (const auto& [catalog, key] : keys) EXPECT_TRUE(TavMsgCatalog::HasKey(catalog, key)) << catalog << ": " << key;
}

TEST_F(AddAttributeCommand, AddAndRemoveMoveTheSelectedRowsToTheEndOfTheOtherList) {
  Start();
  ASSERT_TRUE(Pick(weld));
  Choose("AllAttributesList", {2, 0});
  Push("AddAttribute");
  EXPECT_EQ(cmd->Dialog()->SelectedAttributes(), N({"Weld Spots", "Operator"}));
  EXPECT_EQ(Selected("SelectedAttributesList"), (std::vector<int>{0, 1}));
  EXPECT_EQ(Rows("AllAttributesList"), std::vector<std::string>{"Cost"});
  EXPECT_TRUE(Selected("AllAttributesList").empty());
  Choose("SelectedAttributesList", {0});
  Push("RemoveAttribute");
  EXPECT_EQ(cmd->Dialog()->AllAttributes(), N({"Cost", "Weld Spots"}));
  EXPECT_EQ(cmd->Dialog()->SelectedAttributes(), N({"Operator"}));
  Push("RemoveAttribute");  // nothing selected: nothing moves
  EXPECT_EQ(cmd->Dialog()->SelectedAttributes(), N({"Operator"}));
}

TEST_F(AddAttributeCommand, ReorderingKeepsTheOrderAndSelectionOfSeveralSelectedRows) {
  Store("$$A$$B$$C$$D$$E$$");
  Start();
  ASSERT_TRUE(Pick(weld));
  auto expect = [&](Names order, std::vector<int> selected) {
    EXPECT_EQ(cmd->Dialog()->SelectedAttributes(), order);
    EXPECT_EQ(Selected("SelectedAttributesList"), selected);
    EXPECT_EQ(Rows("SelectedAttributesList").size(), order.size());
  };
  Choose("SelectedAttributesList", {3, 1});
  Push("Top");
  expect(N({"B", "D", "A", "C", "E"}), {0, 1});
  Push("Up");  // already at the top
  expect(N({"B", "D", "A", "C", "E"}), {0, 1});
  Choose("SelectedAttributesList", {2, 4});
  Push("Up");
  expect(N({"B", "A", "D", "E", "C"}), {1, 3});
  Push("Down");
  expect(N({"B", "D", "A", "C", "E"}), {2, 4});
  Push("Down");  // E at the bottom holds A back only as far as C
  expect(N({"B", "D", "C", "A", "E"}), {3, 4});
  Choose("SelectedAttributesList", {0, 2});
  Push("Bottom");
  expect(N({"D", "A", "E", "B", "C"}), {3, 4});
}

TEST_F(AddAttributeCommand, SortButtonAndColumnClicksSortByDisplayNameKeepingTheSelection) {
  Store("$$Operator$$Weld Spots$$Cost$$Zone$$");
  Start();
  ASSERT_TRUE(Pick(weld));
  Choose("SelectedAttributesList", {0});
  Push("SortABCPrompt");
  EXPECT_EQ(Rows("SelectedAttributesList"), (std::vector<std::string>{"Cost", "Operator", "Weld spots", "Zone"}));
  EXPECT_EQ(Selected("SelectedAttributesList"), std::vector<int>{1});
  Push("Bottom");
  Choose("SelectedAttributesList", {});
  ASSERT_TRUE(Widget<TavDlgMultiList>("SelectedAttributesList")->ClickColumn(0));
  EXPECT_EQ(cmd->Dialog()->SelectedAttributes(), N({"Cost", "Operator", "Weld Spots", "Zone"}));

  Store("");
  ASSERT_TRUE(engine.Cancel(nullptr));
  Start();
  ASSERT_TRUE(Pick(weld));
  Choose("AllAttributesList", {0});  // "Weld spots"
  ASSERT_TRUE(Widget<TavDlgMultiList>("AllAttributesList")->ClickColumn(0));
  EXPECT_EQ(Rows("AllAttributesList"), (std::vector<std::string>{"Cost", "Operator", "Weld spots"}));
  EXPECT_EQ(Selected("AllAttributesList"), std::vector<int>{2});
}

TEST_F(AddAttributeCommand, OkStoresTheColumnsAndAppliesWhatWasRemovedAddedAndMoved) {
  Store("$$Cost$$Old$$");
  window->columns = N({"Cost", "Old"});
  Start();
  ASSERT_TRUE(Pick(weld));
  Choose("SelectedAttributesList", {1});
  Push("RemoveAttribute");
  Choose("AllAttributesList", {0});
  Push("AddAttribute");
  Push("Top");
  Push("OK");
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Stored(), "$$Weld Spots$$Cost$$");
  // Added columns come last in the window: the moved one is put back in the chosen order.
  EXPECT_EQ(window->calls, (std::vector<std::string>{"remove Old", "add Weld Spots", "remove Weld Spots,Cost",
                                                      "add Weld Spots,Cost", "update"}));
  EXPECT_EQ(window->columns, N({"Weld Spots", "Cost"}));

  // Everything removed: the empty string, and a window that is no Gantt chart is left alone.
  layout.current = std::make_shared<NotAGanttWindow>();
  Start();
  ASSERT_TRUE(Pick(weld));
  Choose("SelectedAttributesList", {0, 1});
  Push("RemoveAttribute");
  ASSERT_TRUE(cmd->Dialog()->SaveToSettings());
  EXPECT_EQ(cmd->Dialog()->LastRemoved(), N({"Weld Spots", "Cost"}));
  EXPECT_TRUE(cmd->Dialog()->LastAdded().empty());
  EXPECT_EQ(Stored(), "");
  EXPECT_EQ(window->calls.size(), 5u);

  // No window at all: the choice is stored all the same.
  layout.current = nullptr;
  Choose("AllAttributesList", {2});
  Push("AddAttribute");
  Push("OK");
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Stored(), "$$Cost$$");
}

TEST_F(AddAttributeCommand, AFailedSaveIsReportedAndTheDialogStaysForAnotherTry) {
  Store("$$Cost$$");
  window->columns = N({"Cost"});
  Start();
  ASSERT_TRUE(Pick(weld));
  // The settings file cannot be replaced while a folder stands in its place (even for root).
  fs::remove(config.SettingsFile());
  fs::create_directories(config.SettingsFile());
  Choose("AllAttributesList", {0});
  Push("AddAttribute");
  engine.ClearMessages();
  Push("OK");
  EXPECT_EQ(State(), "ActivitySelected");
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].kind, "error");
  EXPECT_EQ(engine.Messages()[0].text.rfind("The column choice could not be saved: ", 0), 0u) << engine.Messages()[0].text;
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  EXPECT_EQ(Stored(), "$$Cost$$");  // what the program holds is what the file held
  EXPECT_TRUE(window->calls.empty());

  fs::remove(config.SettingsFile());
  Push("OK");
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Stored(), "$$Cost$$Weld Spots$$");
  EXPECT_EQ(window->calls, (std::vector<std::string>{"add Weld Spots", "update"}));
}

TEST_F(AddAttributeCommand, CancelAndCloseEndWithoutStoringOrTouchingTheWindow) {
  Store("$$Cost$$");
  for (const char* how : {"Cancel", "close"}) {
    Start();
    ASSERT_TRUE(Pick(weld));
    Choose("AllAttributesList", {0, 1});
    Push("AddAttribute");
    auto* dialog = cmd->Dialog();
    if (std::string(how) == "Cancel") Push("Cancel");
    else dialog->Notify(TavDlgNotification::Close);
    EXPECT_EQ(State(), "ended") << how;
    EXPECT_EQ(Stored(), "$$Cost$$");
  }
  EXPECT_TRUE(window->calls.empty());
}
