// The layout's windows: opening order, the current window and the notices each
// window's callbacks receive.
#include "GanttPlant.h"

using namespace host;

namespace {

// Records "Name:event" for every notice of the windows it watches.
struct Log {
  std::vector<std::string> lines;
  int Watch(const Ref<HostWindow>& w) {
    const std::string name = w->GetBaseName().utf8();
    return w->AddWindowCallback([this, name](TavFrmWindowEvent e) {
      lines.push_back(name + ":" + (e == TavFrmWindowEvent::Deleted ? "deleted" : e == TavFrmWindowEvent::Activated ? "activated" : "deactivated"));
    });
  }
};

std::vector<std::string> Names(const std::vector<Ref<TavFrmWindow>>& ws) {
  std::vector<std::string> out;
  for (auto& w : ws) out.push_back(w->GetBaseName().utf8());
  return out;
}

TEST(HostWindows, OpenActivateDeactivateCloseSendTheirNoticesAndMoveTheCurrentWindow) {
  Log log;
  GanttSession s;
  TavFrmLayoutWindows* frame = TavFrmLayoutWindows::Get();
  ASSERT_EQ(frame, &HostWindows::Get());
  EXPECT_FALSE(frame->GetCurrentWindow());
  auto w1 = s.Open("Process");
  log.Watch(w1);
  auto w2 = s.Open("Process/Body Shop");
  log.Watch(w2);
  EXPECT_EQ(w1->GetBaseName(), "Gantt Chart.1");
  EXPECT_EQ(w2->GetBaseName(), "Gantt Chart.2");
  EXPECT_EQ(Names(frame->GetWindows()), (std::vector<std::string>{"Gantt Chart.1", "Gantt Chart.2"}));
  EXPECT_EQ(frame->GetCurrentWindow(), w2);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Gantt Chart.1:deactivated"}));

  log.lines.clear();
  EXPECT_TRUE(HostWindows::Get().Activate(w1));
  EXPECT_TRUE(HostWindows::Get().Activate(w1));  // already current: no notice
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Gantt Chart.2:deactivated", "Gantt Chart.1:activated"}));
  EXPECT_EQ(frame->GetCurrentWindow(), w1);

  log.lines.clear();
  EXPECT_TRUE(HostWindows::Get().Deactivate());
  EXPECT_FALSE(frame->GetCurrentWindow());
  EXPECT_FALSE(HostWindows::Get().Deactivate());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Gantt Chart.1:deactivated"}));

  // Closing a window that is not current leaves the current one alone.
  log.lines.clear();
  EXPECT_TRUE(HostWindows::Get().Activate(w2));
  EXPECT_TRUE(HostWindows::Get().Close(w1));
  EXPECT_TRUE(w1->IsDeleted());
  EXPECT_FALSE(HostWindows::Get().Close(w1));
  EXPECT_EQ(frame->GetCurrentWindow(), w2);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Gantt Chart.2:activated", "Gantt Chart.1:deleted"}));
}

TEST(HostWindows, ClosingTheCurrentWindowMakesTheLastRemainingOneCurrent) {
  Log log;
  GanttSession s;
  auto a = s.Open("Process");
  auto b = s.Open("Process");
  auto c = s.Open("Process");
  for (auto& w : {a, b, c}) log.Watch(w);
  HostWindows::Get().Activate(a);
  log.lines.clear();
  HostWindows::Get().Close(a);
  EXPECT_EQ(HostWindows::Get().Current(), c);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Gantt Chart.1:deleted", "Gantt Chart.3:activated"}));
  HostWindows::Get().Close(c);
  HostWindows::Get().Close(b);
  EXPECT_FALSE(HostWindows::Get().Current());
  EXPECT_TRUE(HostWindows::Get().Windows().empty());
}

TEST(HostWindows, CallbacksMayUnsubscribeThemselvesAndOthersWhileBeingCalled) {
  std::vector<int> called;
  int first = 0, second = 0, third = 0;
  GanttSession s;
  auto w = s.Open("Process");
  first = w->AddWindowCallback([&](TavFrmWindowEvent) {
    called.push_back(1);
    w->RemoveWindowCallback(first);
    w->RemoveWindowCallback(second);  // not called in this notice any more
  });
  second = w->AddWindowCallback([&](TavFrmWindowEvent) { called.push_back(2); });
  third = w->AddWindowCallback([&](TavFrmWindowEvent) {
    called.push_back(3);
    w->AddWindowCallback([&](TavFrmWindowEvent) { called.push_back(4); });  // from the next notice on
  });
  HostWindows::Get().Deactivate();
  EXPECT_EQ(called, (std::vector<int>{1, 3}));
  called.clear();
  HostWindows::Get().Activate(w);
  EXPECT_EQ(called, (std::vector<int>{3, 4}));
  w->RemoveWindowCallback(third);
  EXPECT_EQ(w->CallbackCount(), 2u);  // the two that callback 3 added
}

TEST(HostWindows, AWindowClosedFromItsOwnDeleteNoticeIsClosedOnce) {
  int deleted = 0;
  GanttSession s;
  auto a = s.Open("Process");
  auto b = s.Open("Process");
  b->AddWindowCallback([&](TavFrmWindowEvent e) {
    if (e != TavFrmWindowEvent::Deleted) return;
    ++deleted;
    EXPECT_TRUE(b->IsDeleted());
    EXPECT_FALSE(HostWindows::Get().Close(b));  // already out of the frame
    EXPECT_EQ(HostWindows::Get().Windows().size(), 1u);
  });
  HostWindows::Get().Close(b);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(HostWindows::Get().Current(), a);
  HostWindows::Get().Close(a);
}

TEST(HostWindows, WindowsDieWithTheirPlantsEditor) {
  Log log;
  GanttSession s;
  auto w = s.Open("Process");
  log.Watch(w);
  s.Open("Process");
  // A second plant's editor: closing the first plant's editor closes its windows only.
  auto other = LoadPlantText(kGanttPlant);
  s.session.OpenDocument(other);
  std::string error;
  auto kept = OpenGanttWindow(other->Resolve("Process").GetLeaf(), error);
  ASSERT_TRUE(kept) << error;
  EXPECT_EQ(kept->GetBaseName(), "Gantt Chart.3");
  s.session.CloseEditor(s.editor);
  EXPECT_EQ(HostWindows::Get().Windows().size(), 1u);
  EXPECT_EQ(HostWindows::Get().Current(), kept);
  EXPECT_TRUE(w->IsDeleted());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Gantt Chart.1:deactivated", "Gantt Chart.1:deleted"}));
}

TEST(HostWindows, WindowsDieWithTheirSessionAndNamesCountAgainInTheNext) {
  Log log;
  {
    HostSession session;
    auto doc = LoadPlantText(kGanttPlant);
    session.OpenDocument(doc);
    std::string error;
    for (int i = 0; i < 2; ++i) {
      auto w = OpenGanttWindow(doc->Resolve("Process").GetLeaf(), error);
      ASSERT_TRUE(w) << error;
      log.Watch(w);
    }
  }
  GanttSession s;
  EXPECT_TRUE(HostWindows::Get().Windows().empty());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Gantt Chart.1:deactivated", "Gantt Chart.1:deleted", "Gantt Chart.2:deleted"}));
  EXPECT_EQ(s.Open("Process")->GetBaseName(), "Gantt Chart.1");
}

TEST(HostWindows, AGanttChartOpensOnActivitiesOfOpenPlantsOnly) {
  GanttSession s;
  std::string error;
  EXPECT_FALSE(OpenGanttWindow(s.At("Resources/Station.1"), error));
  EXPECT_NE(error.find("not an activity"), std::string::npos) << error;
  EXPECT_FALSE(OpenGanttWindow(s.At("Process/Body Shop/Switch"), error));
  auto closed = LoadPlantText(kGanttPlant);
  EXPECT_FALSE(OpenGanttWindow(closed->Resolve("Process").GetLeaf(), error));
  EXPECT_NE(error.find("not open"), std::string::npos) << error;
  EXPECT_TRUE(HostWindows::Get().Windows().empty());
}

}  // namespace
