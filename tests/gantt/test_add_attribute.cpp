// The attribute-column command: which picks it takes, which attributes it offers,
// how the dialog moves and sorts columns, and what OK, a failed save and Cancel do
// to the stored choice and to the current Gantt window.
#include "AddAttributeCommand.h"
#include "OrvGanttIconButton.h"

using namespace gantt_test;
using Cmd = OrvGanttAddAttributeCmd;
using Lines = std::vector<std::string>;

TEST_F(AddAttributeCommand, TakesActivitiesAndResourcesOfTheProcessAtAnyDepthButNoProduct) {
  std::string why;
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) ASSERT_TRUE(engine.Start(module, "OrvGanttAddAttributeCmd", &why)) << why;
  EXPECT_EQ(engine.Messages().back().name, "NotifyDlg1");
  EXPECT_EQ(engine.Messages().back().text, "Select Activity/Resource");
  cmd = static_cast<Cmd*>(engine.RunningCommand());
  EXPECT_FALSE(Pick(body, &why));
  EXPECT_EQ(why, "Select an activity or a resource of the process.");
  EXPECT_FALSE(Pick(panel));
  for (const auto& r : {station, robot, gun}) EXPECT_TRUE(cmd->AcceptsObject(r)) << r->GetName().utf8();
  EXPECT_FALSE(cmd->AcceptsObject(nullptr));
  // Nothing to offer (the gun has no parameter, the paint type only standard names):
  // the error, and the command waits for another pick.
  for (const auto& nothing : {Ref<TavBaseUnknown>(gun), Ref<TavBaseUnknown>(paint)}) {
    engine.ClearMessages();
    EXPECT_TRUE(Pick(nothing));
    ASSERT_EQ(engine.Messages().size(), 1u);
    EXPECT_EQ(engine.Messages()[0].kind + ": " + engine.Messages()[0].title + ": " + engine.Messages()[0].text,
              "error: Error: The selected object has no attribute to show as a column.");
    EXPECT_EQ(State(), "SelectActivity");
    EXPECT_EQ(cmd->Dialog(), nullptr);
  }
  EXPECT_TRUE(Pick(weld));
  EXPECT_EQ(State(), "ActivitySelected");
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  EXPECT_FALSE(cmd->Prompt()->IsVisible());
}

TEST_F(AddAttributeCommand, OffersTypeKeysThenOwnAttributesWithoutStandardNamesRepeatsOrUnstorableNames) {
  Start();
  ASSERT_TRUE(Pick(weld));
  EXPECT_EQ(Rows("AllAttributesList"), (Lines{"Weld spots", "Cost", "Operator"}));
  EXPECT_EQ(cmd->Dialog()->AllAttributes(), N({"Weld Spots", "Cost", "Operator"}));
  // The type keys' "(m)" spelling is no standard name among an activity's own attributes.
  auto own = std::make_shared<Keyed>("GanttTestWeld", Names{},
                                     N({"Operator", "Length Of Curve Fastener", "Length Of Curve Fastener (m)", "A$$B", "Jig", " Pad", "Jig", "Label"}));
  EXPECT_EQ(Cmd::GetAttributesFromActivity(own), N({"Weld Spots", "Cost", "Operator", "Length Of Curve Fastener (m)", "Jig"}));
  EXPECT_EQ(Cmd::GetAttributesFromActivity(std::make_shared<Keyed>("NoSuchType", Names{}, N({"Pad"}))), N({"Pad"}));
  auto parameters = std::make_shared<Parameters>(N({"Reach", "Payload", "Reach", "Description", "x$$y", "Tip $"}));
  EXPECT_EQ(Cmd::GetAttributesFromResource(parameters), N({"Reach", "Payload"}));
  EXPECT_TRUE(Cmd::GetAttributesFromResource(body).empty());
}

TEST_F(AddAttributeCommand, TheStoredChoiceFillsTheRightListAndEveryTextIsInTheCatalogues) {
  Store(" $$Operator$$Gone$$ ");
  Start();
  ASSERT_TRUE(Pick(weld));
  EXPECT_EQ(cmd->Dialog()->SelectedAttributes(), N({"Operator", "Gone"}));
  EXPECT_EQ(cmd->Dialog()->AllAttributes(), N({"Weld Spots", "Cost"}));
  cmd->Dialog()->Build();  // again: the same lists in the same widgets
  EXPECT_EQ(cmd->Dialog()->AllAttributes(), N({"Weld Spots", "Cost"}));
  EXPECT_EQ(cmd->Dialog()->Children().size(), 3u);
  for (auto [name, icon] : {std::pair{"AddAttribute", "I_ToRight"}, {"RemoveAttribute", "I_ToLeft"}, {"Up", "I_ToUp"},
                            {"Down", "I_ToDown"}, {"Top", "I_ToTop"}, {"Bottom", "I_ToBottom"}})
    EXPECT_EQ(Widget<OrvGanttIconButton>(name)->GetIconName(), icon);
  std::vector<std::pair<std::string, std::string>> keys = {
      {"OrvGanttColumnVisibility", "NotifyDlg1.Title"}, {"OrvGanttColumnVisibility", "BalloonHelp.Title"},
      {Cmd::kCatalog, "Error.Title"}, {Cmd::kCatalog, "NoAtrribute.Title"}, {Cmd::kCatalog, "NotActivityOrResource"}};
  for (const char* key : {"OrvGanttAddAttributeDlg.Title", "AllAttributesList.ColumnTitle", "SelectedAttributesList.ColumnTitle",
                          "Error.Title", "SaveFailed", "NoSettings"})
    keys.emplace_back(OrvGanttAddAttributeDlg::kCatalog, key);
  std::function<void(const TavDlgWidget&)> titled = [&](const TavDlgWidget& w) {
    if (w.GetKind() == "frame" || w.GetKind() == "push") keys.emplace_back(OrvGanttAddAttributeDlg::kCatalog, w.GetName() + ".Title");
    for (const auto& c : w.Children()) titled(*c);
  };
  titled(*cmd->Dialog());
  EXPECT_EQ(keys.size(), 25u);
  for (const auto& [catalog, key] : keys) EXPECT_TRUE(TavMsgCatalog::HasKey(catalog, key)) << catalog << ": " << key;
}

TEST_F(AddAttributeCommand, ListButtonsMoveReorderAndSortTheSelectedRowsKeepingTheirOrderAndSelection) {
  Store("$$A$$B$$C$$D$$E$$");
  Start();
  ASSERT_TRUE(Pick(weld));
  auto expect = [&](Names order, std::vector<int> selected) {
    EXPECT_EQ(cmd->Dialog()->SelectedAttributes(), order);
    EXPECT_EQ(Selected("SelectedAttributesList"), selected);
  };
  // A column click sorts by display name; the selection follows its row.
  Choose("AllAttributesList", {0});
  ASSERT_TRUE(Widget<TavDlgMultiList>("AllAttributesList")->ClickColumn(0));
  EXPECT_EQ(Rows("AllAttributesList"), (Lines{"Cost", "Operator", "Weld spots"}));
  EXPECT_EQ(Selected("AllAttributesList"), std::vector<int>{2});

  Choose("SelectedAttributesList", {3, 1});
  Push("Top");
  expect(N({"B", "D", "A", "C", "E"}), {0, 1});
  Push("Up");  // already at the top
  expect(N({"B", "D", "A", "C", "E"}), {0, 1});
  Choose("SelectedAttributesList", {2, 4});
  Push("Up");
  expect(N({"B", "A", "D", "E", "C"}), {1, 3});
  Push("Down");
  Push("Down");  // E at the bottom holds, A moves on
  expect(N({"B", "D", "C", "A", "E"}), {3, 4});
  Choose("SelectedAttributesList", {0, 2});
  Push("Bottom");
  expect(N({"D", "A", "E", "B", "C"}), {3, 4});

  // Add and Remove: the selected rows, in order, to the end of the other list.
  Choose("AllAttributesList", {2, 0});
  Push("AddAttribute");
  expect(N({"D", "A", "E", "B", "C", "Cost", "Weld Spots"}), {5, 6});
  EXPECT_EQ(Rows("AllAttributesList"), Lines{"Operator"});
  Choose("SelectedAttributesList", {0, 5});
  Push("RemoveAttribute");
  EXPECT_EQ(cmd->Dialog()->AllAttributes(), N({"Operator", "D", "Cost"}));
  Push("RemoveAttribute");  // nothing selected
  EXPECT_EQ(cmd->Dialog()->AllAttributes().size(), 3u);

  Choose("SelectedAttributesList", {1});
  Push("SortABCPrompt");
  expect(N({"A", "B", "C", "E", "Weld Spots"}), {3});
  Push("Top");
  ASSERT_TRUE(Widget<TavDlgMultiList>("SelectedAttributesList")->ClickColumn(0));
  expect(N({"A", "B", "C", "E", "Weld Spots"}), {3});
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
  EXPECT_EQ(window->calls, (Lines{"remove Old", "add Weld Spots", "remove Weld Spots,Cost", "add Weld Spots,Cost", "update"}));
  EXPECT_EQ(window->columns, N({"Weld Spots", "Cost"}));

  // Everything removed gives the empty string; a window that is no Gantt chart is left alone.
  struct Pert : TavFrmWindow {
    TavUnicodeString GetBaseName() const override { return "PERT.1"; }
    bool IsDeleted() const override { return false; }
    int AddWindowCallback(Callback) override { return 0; }
    void RemoveWindowCallback(int) override {}
  };
  layout.current = std::make_shared<Pert>();
  Start();
  ASSERT_TRUE(Pick(weld));
  Choose("SelectedAttributesList", {0, 1});
  Push("RemoveAttribute");
  ASSERT_TRUE(cmd->Dialog()->SaveToSettings());
  EXPECT_EQ(cmd->Dialog()->LastRemoved(), N({"Weld Spots", "Cost"}));
  EXPECT_TRUE(cmd->Dialog()->LastAdded().empty());
  EXPECT_EQ(Stored(), "");
  layout.current = nullptr;  // no window: stored all the same
  Choose("AllAttributesList", {1});
  Push("AddAttribute");
  Push("OK");
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Stored(), "$$Weld Spots$$");
  EXPECT_EQ(window->calls.size(), 5u);
}

TEST_F(AddAttributeCommand, AFailedSaveIsReportedAndTheDialogStaysForAnotherTry) {
  Store("$$Cost$$");
  window->columns = N({"Cost"});
  Start();
  ASSERT_TRUE(Pick(weld));
  // A folder where the settings file goes cannot be replaced, even by root.
  fs::remove(config.SettingsFile("OrvVEKGanttSettingCtrl"));
  fs::create_directories(config.SettingsFile("OrvVEKGanttSettingCtrl"));
  Choose("AllAttributesList", {0});
  Push("AddAttribute");
  engine.ClearMessages();
  Push("OK");
  EXPECT_EQ(State(), "ActivitySelected");
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].kind, "error");
  EXPECT_EQ(engine.Messages()[0].text.rfind("The column choice could not be saved: cannot ", 0), 0u) << engine.Messages()[0].text;
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  EXPECT_EQ(Stored(), "$$Cost$$");  // what the program holds is what the file holds
  EXPECT_TRUE(window->calls.empty());

  fs::remove(config.SettingsFile("OrvVEKGanttSettingCtrl"));
  Push("OK");
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Stored(), "$$Cost$$Weld Spots$$");
  EXPECT_EQ(window->calls, (Lines{"add Weld Spots", "update"}));
}

TEST_F(AddAttributeCommand, CancelAndCloseEndWithoutStoringOrTouchingTheWindow) {
  Store("$$Cost$$");
  for (bool close : {false, true}) {
    Start();
    ASSERT_TRUE(Pick(weld));
    Choose("AllAttributesList", {0, 1});
    Push("AddAttribute");
    if (close) cmd->Dialog()->Notify(TavDlgNotification::Close);
    else Push("Cancel");
    EXPECT_EQ(State(), "ended");
  }
  EXPECT_EQ(Stored(), "$$Cost$$");
  EXPECT_TRUE(window->calls.empty());
}
