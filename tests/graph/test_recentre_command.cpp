// The recentre command: picks it takes, tree windows centred, PERT windows reframed
// through the PERT services, and the error when a PERT chart does not show the pick.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostWindows.h"
#include "OrvRecenterActInPertViewerCmd.h"
#include "PPRTreeWindow.h"
#include "PlantText.h"
#include "TavModules.h"

using namespace host;

namespace {

const char* kPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <products>
    <product id="door" name="Door.1"/>
  </products>
  <process id="p" name="Process" type="Activity">
    <activity id="shop" name="Body Shop" type="Activity">
      <activity id="w1" name="Weld.1" type="PhysicalActivity" time="2"/>
    </activity>
  </process>
</plant>
)";

// A PERT chart window as the layout holds it; what it shows is the backend's.
class FakePertWindow final : public HostWindow, public virtual OrvVekPertChartWindow {
public:
  using HostWindow::HostWindow;
  std::string LateType() const override { return "OrvVekPertChartWindow"; }
};

// The PERT services: answers set by the test, the calls recorded.
struct FakeBackend final : OrvPertGraphBackend {
  HRESULT result = S_OK;
  int notShown = 0;
  std::vector<std::string> calls;
  HRESULT SetChildPertPositions(const Ref<TavIGENode>&, int) override { return E_FAIL; }
  HRESULT TransferGENodesPositionData() override { return E_FAIL; }
  HRESULT ReframeInPertViewer(const Ref<TavBaseUnknown>& activity, const Ref<OrvVekPertChartWindow>& window,
                              int& out) override {
    auto nav = query<TavINavigateObject>(activity);
    calls.push_back(window->GetBaseName().utf8() + ":" + (nav ? nav->GetIdentificators().front().utf8() : "?"));
    out = notShown;
    return result;
  }
  HRESULT IsNodeLinked(const Ref<TavIGENode>&, bool&) override { return E_FAIL; }
  double GetDefaultGridSize() override { return 10; }
  HRESULT LayoutPertChart(const Ref<TavIGENode>&, double, double) override { return E_FAIL; }
  bool IsHubMode() override { return false; }
};

struct RecentreCommand : ::testing::Test {
  HostSession session;
  Ref<HostDocument> doc = LoadPlantText(kPlant);
  Ref<HostEditor> editor = session.OpenDocument(doc);
  std::ostringstream out;
  HostEngine engine{&out};
  FakeBackend backend;
  OrvPertGraphBackend* previous = OrvPertGraphBackend::Get();
  Ref<FakePertWindow> pert;
  Ref<PPRTreeWindow> tree;

  void SetUp() override {
    OrvPertGraphBackend::Install(&backend);
    pert = std::make_shared<FakePertWindow>("PERT.1", editor);
    HostWindows::Get().Open(pert);
    tree = OpenTreeWindow(editor);
  }
  void TearDown() override {
    OrvPertGraphBackend::Install(previous);
    for (auto& w : HostWindows::Get().Windows()) HostWindows::Get().Close(w);
  }
  // Starts the command as a header does and picks `path`; false when the pick is refused.
  bool Run(const std::string& path) {
    std::string err;
    EXPECT_TRUE(engine.Start("OrvVekPlanner", "OrvRecenterActInPertViewerCmd", &err)) << err;
    bool refused = false;
    const bool picked = engine.Pick(doc->Resolve(path), &err, &refused);
    return picked && !refused;
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> m;
    for (auto& s : engine.Messages()) m.push_back(s.kind + " " + s.name + ": " + s.title + " | " + s.text);
    engine.ClearMessages();
    return m;
  }
  Ref<TavBaseUnknown> Visible() const {
    auto n = tree->GetVisibleNode();
    return n ? n->GetObject() : nullptr;
  }
};

TEST_F(RecentreCommand, CentresTheActivityInTreesAndReframesItInPertCharts) {
  ASSERT_TRUE(Run("Process/Body Shop/Weld.1"));
  EXPECT_FALSE(engine.RunningCommand());
  EXPECT_EQ(engine.LastEndedCommand(), "OrvRecenterActInPertViewerCmd");
  EXPECT_EQ(Visible(), doc->Resolve("Process/Body Shop/Weld.1").GetLeaf());
  EXPECT_EQ(backend.calls, (std::vector<std::string>{"PERT.1:Weld.1"}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RecentreCommand, APertChartThatDoesNotShowThePickSaysSo) {
  backend.notShown = 1;
  ASSERT_TRUE(Run("Products/Door.1"));  // an item is taken too
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"error Error: Recentre in PERT chart | The PERT chart does not show the picked object: "
                                      "open a PERT chart on its father activity to see it there."}));
  EXPECT_EQ(Visible(), doc->Resolve("Products/Door.1").GetLeaf());
}

TEST_F(RecentreCommand, AFailedReframingEndsQuietlyAndTheTreesAreStillCentred) {
  backend.result = E_FAIL;
  backend.notShown = 1;  // not read after a failure
  ASSERT_TRUE(Run("Process/Body Shop"));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Visible(), doc->Resolve("Process/Body Shop").GetLeaf());
  EXPECT_FALSE(engine.RunningCommand());
}

TEST_F(RecentreCommand, TheGraphAndTheCatalogueTexts) {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    EXPECT_TRUE(TavModuleRegistry::Get().IsRegistered(module, "OrvRecenterActInPertViewerCmd"));
    EXPECT_FALSE(TavModuleRegistry::Get().IsPlaceholder(module, "OrvRecenterActInPertViewerCmd"));
  }
  OrvRecenterActInPertViewerCmd cmd;
  cmd.BuildGraph();
  ASSERT_EQ(cmd.States().size(), 1u);
  EXPECT_EQ(cmd.States()[0]->GetName(), "SelectActivity");
  ASSERT_EQ(cmd.States()[0]->Agents().size(), 1u);
  auto* agent = dynamic_cast<TavPathElementAgent*>(cmd.States()[0]->Agents()[0]);
  ASSERT_TRUE(agent);
  EXPECT_EQ(agent->GetName(), "Activity");
  EXPECT_EQ(agent->GetElementTypes(), (std::vector<std::string>{"TavISPPAbstractActivity", "TavISPPItem"}));
  ASSERT_EQ(cmd.Transitions().size(), 1u);
  EXPECT_FALSE(cmd.Transitions()[0].to);
  for (const char* key : {"OrvRecenterActInPertViewerCmd.ErrorWnd.Title", "OrvRecenterActInPertViewerCmd.ErrorWnd.Text"})
    EXPECT_TRUE(TavMsgCatalog::HasKey(OrvRecenterActInPertViewerCmd::kCatalog, key)) << key;
}

}  // namespace
