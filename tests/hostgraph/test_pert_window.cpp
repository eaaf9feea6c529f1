// The PERT window: its controller, text and picture, recentring, adapters and the
// graph configuration.
#include <regex>

#include "PertBackend.h"
#include "GraphPlant.h"
#include "PertWindow.h"

using namespace host;

namespace {

Ref<PertWindow> Open(GraphSession& s, const std::string& path, int kind) {
  auto w = OrvVekPertChartWindow::Create("chart", s.editor, s.At(path), 1, kind);
  EXPECT_TRUE(w);
  return std::dynamic_pointer_cast<PertWindow>(Ref<TavBaseUnknown>(w));
}

int Count(const std::string& text, const std::regex& re) {
  return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

TEST(PertWindow, OpensCurrentWithAControllerThatReRootsWithinItsPlant) {
  GraphSession s;
  auto w = Open(s, "Process/Cell", 0);
  ASSERT_TRUE(w);
  EXPECT_EQ(HostWindows::Get().Current(), w);
  auto controller = query<OrvIPertWindow>(Ref<TavBaseUnknown>(w))->GetController();
  EXPECT_EQ(controller->GetViewerKind(), 0);
  EXPECT_TRUE(SameObject(controller->GetRoot(), s.At("Process/Cell")));
  EXPECT_EQ(controller->SetRoot(s.At("Process")), S_OK);
  EXPECT_EQ(controller->SetRoot(s.At("Process")), S_FALSE);
  EXPECT_EQ(controller->SetRoot(s.At("Resources")), E_FAIL);
  EXPECT_FALSE(OrvVekPertChartWindow::Create("x", s.editor, s.At("Resources"), 1, 0));

  auto second = Open(s, "Process/Cell", 2);
  EXPECT_EQ(HostWindows::Get().Current(), second);
  EXPECT_EQ(w->ActivateWindow(), S_OK);
  EXPECT_EQ(w->ActivateWindow(), S_FALSE);
  EXPECT_EQ(HostWindows::Get().Current(), w);

  auto otherPlant = LoadPlantText(kGraphPlant);  // not open in the session
  EXPECT_EQ(controller->SetRoot(otherPlant->Resolve("Process/Cell").GetLeaf()), E_FAIL);
  EXPECT_FALSE(OrvVekPertChartWindow::Create("x", s.editor, otherPlant->Resolve("Process/Cell").GetLeaf(), 1, 0));
}

TEST(PertWindow, TextAndPictureShowABoxPerChildAndTheLinks) {
  GraphSession s(ReplaceOnce(kGraphPlant, "name=\"Weld\"", "name=\"Weld &amp; &lt;check&gt; &quot;A&quot;\""));
  auto w = Open(s, "Process/Cell", 0);
  HostPertBackend::Instance().SetChildPertPositions(s.Node("Process/Cell"), 1);
  const std::string text = w->GetText();
  EXPECT_EQ(text.substr(0, text.find('\n')), "PERT chart of Process/Cell: 5 boxes, 5 links");
  EXPECT_NE(text.find("  box Load  duration 10  "), std::string::npos) << text;
  EXPECT_NE(text.find("  precedence Weld & <check> \"A\" -> Seal\n"), std::string::npos) << text;

  const std::string svg = w->GetSvg();
  EXPECT_EQ(svg, w->GetSvg());  // deterministic
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  EXPECT_EQ(Count(svg, std::regex("<rect [^>]*class=\"box")), 5);
  EXPECT_EQ(Count(svg, std::regex("<line [^>]*class=\"flow")), 4);
  EXPECT_EQ(Count(svg, std::regex("<line [^>]*class=\"precedence[^>]*stroke-dasharray")), 1);
  EXPECT_NE(svg.find("Weld &amp; &lt;check&gt; &quot;A&quot;"), std::string::npos);
  EXPECT_EQ(svg.find("<check>"), std::string::npos);
  // Red boxes are exactly the critical ones the solver gave.
  const PertChart chart = BuildPertChart(w->Root(), 0);
  int critical = 0;
  for (auto& b : chart.boxes) critical += b.critical;
  EXPECT_EQ(Count(svg, std::regex("<rect [^>]*class=\"box critical\"[^>]*stroke=\"#d62728\"")), critical);
  EXPECT_EQ(Count(svg, std::regex("<rect [^>]*class=\"box\"[^>]*stroke=\"#d62728\"")), 0);
}

TEST(PertWindow, RecentringMovesTheViewOnlyToBoxesItShows) {
  GraphSession s;
  auto w = Open(s, "Process/Cell", 0);
  s.Node("Process/Cell/Seal")->SetPosition(1, 200, 100);
  int notShown = -1;
  ASSERT_EQ(OrvPertClientVisuServices::ReframeInPertViewer(s.At("Process/Cell/Seal"), w, notShown), S_OK);
  EXPECT_EQ(notShown, 0);
  EXPECT_EQ(w->Centre(), (std::pair<double, double>{280, 140}));
  ASSERT_EQ(OrvPertClientVisuServices::ReframeInPertViewer(s.At("Process"), w, notShown), S_OK);
  EXPECT_EQ(notShown, 1);
  EXPECT_EQ(w->Centre(), (std::pair<double, double>{280, 140}));
  EXPECT_NE(w->GetText().find("centred on Seal at 280,140"), std::string::npos);
}

TEST(PertWindow, AdaptersOfTheTreeTopRefreshAndConnectItsWindows) {
  GraphSession s;
  auto w = Open(s, "Process/Cell", 0);
  EXPECT_FALSE(query<OrvIVEKAdapters>(s.At("Process/Cell")));  // tree tops only
  auto adapters = query<OrvIVEKAdapters>(s.At("Process"));
  ASSERT_TRUE(adapters);
  ASSERT_EQ(adapters->GetPertAdapter()->ConnectWindow(w), S_OK);
  EXPECT_EQ(w->ConnectedTo(), s.Activity("Process"));
  const int before = w->Refreshes();
  EXPECT_EQ(adapters->RefreshAdapters(), S_OK);
  EXPECT_EQ(w->Refreshes(), before + 1);
}

TEST(PertWindow, GraphConfigurationKeepsRootsUntilTheSettingSaysNo) {
  GraphSession s;
  auto config = OrvIGE0Config::OfSession();
  ASSERT_TRUE(config);
  auto& repo = TavSettingRepository::GetRepository(kGraphConfigRepository);
  repo.Write(kKeepWindowRootsKey, TavValue(true));
  EXPECT_TRUE(config->GetKeepWindowRoots());
  repo.Write(kKeepWindowRootsKey, TavValue(false));
  EXPECT_FALSE(config->GetKeepWindowRoots());
  repo.Write(kKeepWindowRootsKey, TavValue(true));
}

}  // namespace
