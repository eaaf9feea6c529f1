// The PERT chart and precedence viewer commands: windows opened, reused and
// re-rooted, the graph-type error, behaviours, and positions per view.
#include "OrvVekCreateGraphWndCmd.h"
#include "OrvVekPrecedentViewerWndCmd.h"
#include "PertCommand.h"
#include "TavServices.h"

using namespace pert_test;
using Names = std::vector<std::string>;

namespace {

struct HubPertCommand : PertCommand {
  HubPertCommand() : PertCommand("hub") {}
};

TEST_F(PertCommand, PertTwiceOnOneActivityActivatesTheOpenWindow) {
  EXPECT_TRUE(Run("OrvVekCreateGraphWndCmd", "Process/Cell"));
  EXPECT_EQ(Windows(), (Names{"Cell PERT chart *"}));
  EXPECT_TRUE(Run("OrvVekCreateGraphWndCmd", "Process/Paint"));
  EXPECT_EQ(Windows(), (Names{"Cell PERT chart", "Paint PERT chart *"}));
  EXPECT_TRUE(Run("OrvVekCreateGraphWndCmd", "Process/Cell"));
  EXPECT_EQ(Windows(), (Names{"Cell PERT chart *", "Paint PERT chart"}));
  // The precedence viewer is another kind: a window of its own.
  EXPECT_TRUE(Run("OrvVekPrecedentViewerWndCmd", "Process/Cell"));
  EXPECT_EQ(Windows(), (Names{"Cell PERT chart", "Paint PERT chart", "Cell Precedence Viewer *"}));
  EXPECT_TRUE(Run("OrvVekPrecedentViewerWndCmd", "Process/Cell"));
  EXPECT_EQ(Windows().size(), 3u);
  EXPECT_TRUE(engine.Messages().empty());
  // Opening positioned the children in the kind's view; the window's adapter is the process's.
  double x = 0, y = 0;
  EXPECT_TRUE(Node("Process/Cell/Weld")->GetPosition(1, x, y));
  EXPECT_TRUE(Node("Process/Cell/Weld")->GetPosition(2, x, y));
  EXPECT_FALSE(Node("Process/Paint/Prime")->GetPosition(2, x, y));
}

TEST_F(PertCommand, AFalseConfigurationReRootsTheEditorsWindowsOnThePick) {
  TavSettingRepository::GetRepository("OrvGE0Config").Write("KeepWindowRoots", TavValue(false));
  EXPECT_TRUE(Run("OrvVekCreateGraphWndCmd", "Process/Cell"));
  EXPECT_TRUE(Run("OrvVekCreateGraphWndCmd", "Process/Paint"));
  EXPECT_EQ(Windows(), (Names{"Cell PERT chart *"}));  // the name stays, the root moves
  EXPECT_TRUE(SameObject(Controller(0)->GetRoot(), At("Process/Paint")));
  // Kept roots again: another activity gets a window of its own.
  TavSettingRepository::GetRepository("OrvGE0Config").Write("KeepWindowRoots", TavValue(true));
  EXPECT_TRUE(Run("OrvVekCreateGraphWndCmd", "Process/Cell"));
  EXPECT_EQ(Windows(), (Names{"Cell PERT chart", "Cell PERT chart *"}));
  EXPECT_TRUE(SameObject(Controller(0)->GetRoot(), At("Process/Paint")));
}

TEST_F(PertCommand, AnotherKindOfGraphViewerBlocksBothCommands) {
  ASSERT_TRUE(OrvVekPertChartWindow::Create("Other", editor, At("Process/Paint"), 1, 1));
  for (const char* cls : {"OrvVekCreateGraphWndCmd", "OrvVekPrecedentViewerWndCmd"}) {
    engine.ClearMessages();
    EXPECT_TRUE(Run(cls, "Process/Cell"));
    ASSERT_EQ(engine.Messages().size(), 1u) << cls;
    EXPECT_EQ(engine.Messages()[0].name, "Unexpected");
    EXPECT_EQ(engine.Messages()[0].kind, "error");
    EXPECT_EQ(engine.Messages()[0].title, "Error");
    EXPECT_EQ(engine.Messages()[0].text, TavMsgCatalog::BuildMessage(cls, "WrongGETypeErr", {}, "?").utf8());
    EXPECT_NE(engine.Messages()[0].text, "?");
  }
  EXPECT_EQ(Windows(), (Names{"Other *"}));
}

TEST_F(PertCommand, BehavioursOpenFromTheirResourceAndEmptyOnesNothing) {
  EXPECT_TRUE(Run("OrvVekCreateGraphWndCmd", "Resources/Robot.1"));
  EXPECT_EQ(Windows(), (Names{"Robot.1 cycle PERT chart *"}));
  // A resource without a behaviour, and an activity without children: no window, no message.
  std::string why;
  ASSERT_TRUE(engine.Start("OrvVekPlanner", "OrvVekCreateGraphWndCmd", &why));
  EXPECT_FALSE(engine.Pick(doc->Resolve("Resources/Robot.2"), &why));
  engine.Cancel(&why);
  EXPECT_TRUE(Run("OrvVekCreateGraphWndCmd", "Process/Empty"));
  EXPECT_EQ(Windows().size(), 1u);
  EXPECT_TRUE(engine.Messages().empty());
}

TEST_F(HubPertCommand, ThePrecedenceViewerOfAHubSessionPlacesThePertViewFirst) {
  EXPECT_TRUE(OrvPertController::IsHubMode());
  EXPECT_TRUE(Run("OrvVekPrecedentViewerWndCmd", "Process/Cell"));
  double x = 0, y = 0;
  EXPECT_TRUE(Node("Process/Cell/Load")->GetPosition(1, x, y));
  EXPECT_TRUE(Node("Process/Cell/Load")->GetPosition(2, x, y));
}

TEST_F(PertCommand, ALocalPrecedenceViewerLeavesThePertViewAlone) {
  EXPECT_FALSE(OrvPertController::IsHubMode());
  EXPECT_TRUE(Run("OrvVekPrecedentViewerWndCmd", "Process/Cell"));
  double x = 0, y = 0;
  EXPECT_FALSE(Node("Process/Cell/Load")->GetPosition(1, x, y));
  EXPECT_TRUE(Node("Process/Cell/Load")->GetPosition(2, x, y));
}

}  // namespace
