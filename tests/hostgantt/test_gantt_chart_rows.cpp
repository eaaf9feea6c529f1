// The Gantt chart windows of the graph commands: what they accept as rows, how a
// resource Gantt groups them into lanes, and pictures that follow the times of the
// last refresh only.
#include <gtest/gtest.h>

#include "ChartPlant.h"
#include "GanttChartWindow.h"

namespace {
using host::GanttChartWindow;
using host::GanttPictureRow;

struct ChartRows : ::testing::Test {
  ChartSession plant;
  Ref<TavBaseUnknown> root = plant.At("Process");

  Ref<GanttChartWindow> Open(const Ref<TavBaseUnknown>& first, int kind = 2) {
    auto w = OrvGanttChartWindows::Create("Resource Gantt: x", plant.editor, {first}, 0, {root}, kind, 0);
    return std::dynamic_pointer_cast<GanttChartWindow>(w);
  }
  Ref<TavBaseUnknown> ActivityRow(const std::string& resource, const std::string& activity) {
    return std::make_shared<OrvEResourceGanttActivityObject>(resource.empty() ? nullptr : plant.At(resource),
                                                             plant.At(activity), nullptr, 0.0);
  }
  void Solve() { ASSERT_EQ(OrvModelTimeSolver().FullSolve(root), S_OK); }
  static std::vector<std::string> Labels(const host::GanttPicture& p) {
    std::vector<std::string> out;
    for (auto& r : p.rows) out.push_back((r.kind == GanttPictureRow::Kind::Resource ? "lane " : "row ") + r.label);
    return out;
  }
};

TEST_F(ChartRows, OpensAsTheCurrentWindowOnlyOnWhatItCanShow) {
  Solve();
  auto w = Open(plant.At("Resources/Station.1/Robot.1"));
  ASSERT_TRUE(w);
  EXPECT_EQ(host::HostWindows::Get().Current(), w);
  EXPECT_EQ(w->GetBaseName().utf8(), "Gantt Chart.1");
  EXPECT_EQ(w->GetChartKind(), 2);
  EXPECT_EQ(w->GetDisplayMode(), 0);
  // A product of the product list, an activity given bare, nothing, an unknown
  // kind: no window.
  EXPECT_FALSE(Open(plant.At("Products/Door.1")));
  EXPECT_FALSE(Open(plant.At("Process/Body Shop/Weld.1")));
  EXPECT_FALSE(Open(nullptr));
  EXPECT_FALSE(Open(plant.At("Process/Body Shop"), 3));
  EXPECT_EQ(host::HostWindows::Get().Windows().size(), 1u);
  // A process Gantt takes the activity and shows its tree.
  auto p = Open(plant.At("Process/Body Shop"), 1);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->GetChartKind(), 1);
  EXPECT_EQ(p->AddRoot(plant.At("Resources/Station.1/Robot.1"), 0, 1), E_FAIL);  // no lanes here
  ASSERT_FALSE(p->Picture().rows.empty());
  EXPECT_EQ(p->Picture().rows.front().label, "Body Shop");
}

TEST_F(ChartRows, AddRootAddsBelowOnceAndRefusesTheRest) {
  Solve();
  auto w = Open(plant.At("Resources/Station.1/Robot.1"));
  ASSERT_TRUE(w);
  EXPECT_EQ(w->AddRoot(plant.At("Resources/Station.1/Robot.1"), 0, 1), S_FALSE);
  EXPECT_EQ(w->AddRoot(ActivityRow("Resources/Station.1/Positioner.1/Table.1", "Process/Body Shop/Turn"), 0, 1), S_OK);
  // The same activity in another lane is shown already.
  EXPECT_EQ(w->AddRoot(ActivityRow("Resources/Station.1/Robot.1", "Process/Body Shop/Turn"), 0, 1), S_FALSE);
  EXPECT_EQ(w->AddRoot(ActivityRow("", "Process/Body Shop/Idle"), 0, 1), S_OK);
  EXPECT_EQ(w->AddRoot(plant.At("Products/Door.1"), 0, 1), E_FAIL);
  EXPECT_EQ(w->AddRoot(plant.At("Process/Body Shop"), 0, 1), E_FAIL);
  EXPECT_EQ(w->AddRoot(ActivityRow("Products/Door.1", "Process/Body Shop/Idle"), 0, 1), E_FAIL);
  EXPECT_EQ(w->AddRoot(nullptr, 0, 1), E_FAIL);
  EXPECT_EQ(w->Rows().size(), 3u);
  EXPECT_EQ(Labels(w->Picture()), (std::vector<std::string>{"lane Robot.1", "lane Table.1", "row Idle"}));
}

TEST_F(ChartRows, ActivitiesOfOneResourceShareItsLaneAndItsOwnRowShowsThemAll) {
  Solve();
  auto w = Open(ActivityRow("Resources/Station.1/Robot.1", "Process/Body Shop/Weld.1"));
  ASSERT_TRUE(w);
  ASSERT_EQ(w->Picture().rows.size(), 1u);
  EXPECT_EQ(w->Picture().rows[0].bars.size(), 1u);
  ASSERT_EQ(w->AddRoot(ActivityRow("Resources/Station.1/Robot.1", "Process/Body Shop/Weld.2"), 0, 1), S_OK);
  ASSERT_EQ(w->Picture().rows.size(), 1u);
  const GanttPictureRow& lane = w->Picture().rows[0];
  ASSERT_EQ(lane.bars.size(), 2u);
  // Nothing orders the two welds: they overlap, one above the other, flagged.
  EXPECT_TRUE(lane.doubleBooked);
  EXPECT_EQ(lane.stacks, 2);
  EXPECT_TRUE(lane.bars[0].overlaps && lane.bars[1].overlaps);
  EXPECT_NE(lane.bars[0].stack, lane.bars[1].stack);
}

TEST_F(ChartRows, BarsFollowTheTimesOfTheLastColourUpdate) {
  Solve();
  auto w = Open(ActivityRow("", "Process/Body Shop/Idle"));
  ASSERT_TRUE(w);
  ASSERT_EQ(w->Picture().rows.size(), 1u);
  ASSERT_EQ(w->Picture().rows[0].bars.size(), 1u);
  EXPECT_EQ(w->Picture().rows[0].bars[0].end - w->Picture().rows[0].bars[0].begin, 4);
  query<TavISPPActivity>(plant.At("Process/Body Shop/Idle"))->SetTime(9);
  Solve();
  EXPECT_EQ(w->Picture().rows[0].bars[0].end - w->Picture().rows[0].bars[0].begin, 4);  // not yet refreshed
  w->UpdateTimeBarsColor();
  EXPECT_EQ(w->Picture().rows[0].bars[0].end - w->Picture().rows[0].bars[0].begin, 9);
  // Text and picture read the same rows.
  EXPECT_NE(w->GetText().find("Idle"), std::string::npos);
  EXPECT_NE(w->GetSvg().find("Idle"), std::string::npos);
}

TEST_F(ChartRows, RowsOfRemovedObjectsLeaveThePicture) {
  Solve();
  auto w = Open(plant.At("Resources/Station.1/Robot.1"));
  ASSERT_TRUE(w);
  ASSERT_EQ(w->AddRoot(ActivityRow("", "Process/Body Shop/Idle"), 0, 1), S_OK);
  auto shop = query<TavISPPChildManagement>(plant.At("Process/Body Shop"));
  ASSERT_EQ(shop->RemoveChild(plant.At("Process/Body Shop/Idle")), S_OK);
  w->UpdateTimeBarsColor();
  EXPECT_EQ(Labels(w->Picture()), (std::vector<std::string>{"lane Robot.1"}));
}
}  // namespace
