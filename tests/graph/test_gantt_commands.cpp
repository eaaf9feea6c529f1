// The Gantt chart commands on the host: the process Gantt, the resource Gantt with
// and without its prompt, and the refresh of the current Gantt window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "../hostgantt/ChartPlant.h"
#include "GanttChartWindow.h"
#include "HostEngine.h"
#include "OrvGanttTimes.h"
#include "OrvMessageDialog.h"
#include "OrvRefreshGanttCommand.h"
#include "OrvVekCreateGanttWndCmd.h"
#include "OrvVekResourceGanttWndCmd.h"
#include "TavServices.h"

namespace {
using host::GanttChartWindow;
constexpr const char* kPrompt = OrvVekResourceGanttWndCmd::kPromptVariable;

struct GanttCommands : ::testing::Test {
  ChartSession plant;
  std::ostringstream out;
  host::HostEngine engine{&out};

  void SetUp() override { unsetenv(kPrompt); }
  void TearDown() override { unsetenv(kPrompt); }

  template <class C>
  C* Start() {
    std::string err;
    auto c = std::make_unique<C>();
    C* cmd = c.get();
    EXPECT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
    return cmd;
  }
  // False when the pick was refused.
  bool Pick(const std::string& path) {
    std::string err;
    bool refused = false;
    EXPECT_TRUE(engine.Pick(plant.Path(path), &err, &refused) || refused) << err;
    return !refused;
  }
  bool Running() { return engine.RunningCommand() != nullptr; }
  std::vector<Ref<host::HostWindow>> Windows() const { return host::HostWindows::Get().Windows(); }
  Ref<GanttChartWindow> Current() const {
    return std::dynamic_pointer_cast<GanttChartWindow>(host::HostWindows::Get().Current());
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> m;
    for (auto& s : engine.Messages()) m.push_back(s.title + ": " + s.text);
    engine.ClearMessages();
    return m;
  }
  static std::vector<std::string> Lanes(const GanttChartWindow& w) {
    std::vector<std::string> out;
    for (auto& r : w.Rows()) out.push_back((r.resource ? r.resource->GetName().utf8() : "-") + "/" +
                                           (r.activity ? r.activity->Label().utf8() : "*"));
    return out;
  }
  static void SetDisplay(const char* value) {
    auto& repo = TavSettingRepository::GetRepository(OrvIVEKGanttSettingAtt::kControllerName);
    if (value) repo.Write(OrvGanttTimes::kDisplayModeKey, TavUnicodeString(value));
    else repo.Delete(OrvGanttTimes::kDisplayModeKey);
  }
};

TEST_F(GanttCommands, ProcessGanttOpensOnThePickedActivityAsTheCurrentWindow) {
  auto* cmd = Start<OrvVekCreateGanttWndCmd>();
  EXPECT_EQ(cmd->GetCurrentState()->GetName(), "SelectActivity");
  EXPECT_FALSE(Pick("Resources/Station.1/Robot.1"));  // no activity
  ASSERT_TRUE(Pick("Process/Body Shop/Weld.1"));
  EXPECT_FALSE(Running());
  auto w = Current();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->Title().utf8(), "Process Gantt: Weld.1");
  EXPECT_EQ(w->GetChartKind(), 1);
  EXPECT_EQ(w->Root(), plant.At("Process/Body Shop/Weld.1"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(GanttCommands, DisplaySettingTwoGivesModeZeroAnythingElseOne) {
  for (auto [setting, mode] : std::vector<std::pair<const char*, int>>{{"2", 0}, {"1", 1}, {"0", 1}, {"", 1}, {nullptr, 1}}) {
    SetDisplay(setting);
    EXPECT_EQ(OrvGanttTimes::DisplayMode(), mode) << (setting ? setting : "unset");
    Start<OrvVekCreateGanttWndCmd>();
    ASSERT_TRUE(Pick("Process/Body Shop"));
    ASSERT_TRUE(Current());
    EXPECT_EQ(Current()->GetDisplayMode(), mode);
  }
  SetDisplay(nullptr);
}

TEST_F(GanttCommands, WithoutThePromptOnePickOpensAndEnds) {
  auto* cmd = Start<OrvVekResourceGanttWndCmd>();
  EXPECT_FALSE(cmd->PromptEnabled());
  EXPECT_FALSE(TavDlgDialog::FindByName("OrvMessageDialog"));
  ASSERT_TRUE(Pick("Resources/Station.1/Robot.1"));
  EXPECT_FALSE(Running());
  auto w = Current();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->Title().utf8(), "Resource Gantt: Robot.1");
  EXPECT_EQ(w->GetChartKind(), 2);
  EXPECT_EQ(w->GetDisplayMode(), 0);
  EXPECT_EQ(Lanes(*w), (std::vector<std::string>{"Robot.1/*"}));
  // The window outlives the command; closing it later is no trouble.
  host::HostWindows::Get().Close(w);
}

TEST_F(GanttCommands, PromptOnEvenEmptyKeepsAddingRowsAndShowsEachObjectOnce) {
  setenv(kPrompt, "", 1);
  auto* cmd = Start<OrvVekResourceGanttWndCmd>();
  ASSERT_TRUE(cmd->PromptEnabled());
  ASSERT_TRUE(cmd->Prompt());
  EXPECT_FALSE(cmd->Prompt()->IsVisible());  // built hidden
  ASSERT_TRUE(Pick("Resources/Station.1/Robot.1"));
  ASSERT_TRUE(Running());
  EXPECT_EQ(cmd->GetCurrentState()->GetName(), "State2");
  EXPECT_TRUE(cmd->Prompt()->IsVisible());
  ASSERT_TRUE(Pick("Resources/Station.1/Robot.1"));
  ASSERT_TRUE(Pick("Process/Body Shop/Idle"));
  ASSERT_TRUE(Pick("Process/Body Shop/Weld.2"));
  ASSERT_TRUE(Pick("Process/Body Shop/Idle"));
  EXPECT_EQ(Windows().size(), 1u);
  auto w = Current();
  ASSERT_TRUE(w);
  EXPECT_EQ(Lanes(*w), (std::vector<std::string>{"Robot.1/*", "-/Idle", "Robot.1/Weld.2"}));
  EXPECT_EQ(cmd->Shown().size(), 3u);
  EXPECT_TRUE(cmd->Shown().count(std::to_string(query<TavIModelIdentity>(plant.At("Resources/Station.1/Robot.1"))->GetModelNumber())));
  cmd->Prompt()->Notify(TavDlgNotification::OK);
  EXPECT_FALSE(Running());
  EXPECT_FALSE(TavDlgDialog::FindByName("OrvMessageDialog"));
  EXPECT_TRUE(Current());  // the window stays
}

TEST_F(GanttCommands, ClosingTheWindowEndsThePromptedCommand) {
  setenv(kPrompt, "1", 1);
  Start<OrvVekResourceGanttWndCmd>();
  ASSERT_TRUE(Pick("Process/Body Shop/Weld.1"));
  ASSERT_TRUE(Running());
  host::HostWindows::Get().Close(Current());
  EXPECT_FALSE(Running());
  EXPECT_FALSE(TavDlgDialog::FindByName("OrvMessageDialog"));
  // Closing the window of another command's run later finds no callback left.
  Start<OrvVekResourceGanttWndCmd>();
  ASSERT_TRUE(Pick("Process/Body Shop/Weld.1"));
  auto w = host::HostWindows::Get().Current();
  const std::size_t callbacks = w->CallbackCount();
  engine.Cancel(nullptr);
  EXPECT_EQ(w->CallbackCount(), callbacks - 1);
}

TEST_F(GanttCommands, FilterRefusesMixedSelectionsAndAFirstElementThatIsNeither) {
  // A selection taken at the start is filtered as a whole.
  auto& cso = plant.editor->GetCSO();
  cso.AddElement(plant.Path("Resources/Station.1/Robot.1"));
  cso.AddElement(plant.Path("Process/Body Shop/Weld.1"));
  auto* cmd = Start<OrvVekResourceGanttWndCmd>();
  ASSERT_TRUE(Running());
  EXPECT_EQ(cmd->GetCurrentState()->GetName(), "State1");
  EXPECT_TRUE(Windows().empty());
  engine.Cancel(nullptr);
  cso.Empty();
  cso.AddElement(plant.Path("Process/Body Shop/Weld.1"));
  cso.AddElement(plant.Path("Process/Body Shop/Weld.2"));
  Start<OrvVekResourceGanttWndCmd>();
  EXPECT_FALSE(Running());
  ASSERT_TRUE(Current());
  EXPECT_EQ(Lanes(*Current()), (std::vector<std::string>{"Robot.1/Weld.1", "Robot.1/Weld.2"}));
  cso.Empty();
  // Picks: a product is neither; a device is a resource.
  Start<OrvVekResourceGanttWndCmd>();
  EXPECT_FALSE(Pick("Products/Door.1"));
  ASSERT_TRUE(Pick("Resources/Station.1/Positioner.1"));
  EXPECT_EQ(Lanes(*Current()), (std::vector<std::string>{"Table.1/*"}));  // its first mechanism's lane
}

TEST_F(GanttCommands, DevicesAndResourcesOfActivities) {
  EXPECT_EQ(OrvVekResourceGanttWndCmd::GetPickedDevice(plant.At("Resources/Station.1/Positioner.1")),
            plant.At("Resources/Station.1/Positioner.1/Table.1"));
  EXPECT_FALSE(OrvVekResourceGanttWndCmd::GetPickedDevice(plant.At("Resources/Station.1/Robot.1")));
  EXPECT_FALSE(OrvVekResourceGanttWndCmd::GetPickedDevice(plant.At("Process/Body Shop")));
  std::vector<Ref<TavBaseUnknown>> list;
  OrvVekResourceGanttWndCmd::GetAllResources(plant.At("Process/Body Shop"), list);
  ASSERT_EQ(list.size(), 2u);  // each once, in the order of the activities
  EXPECT_EQ(list[0], plant.At("Resources/Station.1/Robot.1"));
  EXPECT_EQ(list[1], plant.At("Resources/Station.1/Positioner.1/Table.1"));
  EXPECT_TRUE(OrvVekResourceGanttWndCmd::IsActivityWithoutResource(plant.At("Process/Body Shop/Idle")));
  EXPECT_FALSE(OrvVekResourceGanttWndCmd::IsActivityWithoutResource(plant.At("Process/Body Shop")));
}

TEST_F(GanttCommands, ResourcesOfADeepPlantAreFoundWithoutRecursion) {
  // 20000 levels would overflow a recursive walk under the sanitizers.
  auto shop = query<TavISPPChildManagement>(plant.At("Process/Body Shop/Idle"));
  Ref<TavBaseUnknown> leaf;
  for (int i = 0; i < 20000; ++i) {
    leaf = shop->CreateChild("PhysicalActivity", "Step");
    shop = query<TavISPPChildManagement>(leaf);
  }
  ASSERT_EQ(query<TavISPPResourceManagement>(leaf)->AddResource(plant.At("Resources/Station.1/Robot.1"),
                                                                 TavResourceCode::Uses), S_OK);
  EXPECT_FALSE(OrvVekResourceGanttWndCmd::IsActivityWithoutResource(plant.At("Process/Body Shop/Idle")));
}

TEST_F(GanttCommands, RefreshSolvesAgainAndRedrawsTheCurrentGanttOnly) {
  Start<OrvVekResourceGanttWndCmd>();
  ASSERT_TRUE(Pick("Process/Body Shop/Idle"));
  auto w = Current();
  ASSERT_TRUE(w);
  auto span = [&] { return w->Picture().rows.at(0).bars.at(0).end - w->Picture().rows.at(0).bars.at(0).begin; };
  EXPECT_EQ(span(), 4);
  query<TavISPPActivity>(plant.At("Process/Body Shop/Idle"))->SetTime(7);
  host::HostWindows::Get().Deactivate();
  Start<OrvRefreshGanttCommand>();  // no current window: nothing
  EXPECT_FALSE(Running());
  EXPECT_EQ(span(), 4);
  host::HostWindows::Get().Activate(w);
  Start<OrvRefreshGanttCommand>();
  EXPECT_FALSE(Running());
  EXPECT_EQ(span(), 7);
}

TEST_F(GanttCommands, MissingProcessEndsQuietlyWithNoWindow) {
  ChartSession empty;
  empty.doc = LoadPlantText(R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <resources><resource id="rb" name="Robot.1" type="Robot"/></resources>
</plant>
)");
  empty.editor = empty.session.OpenDocument(empty.doc);
  host::HostEngine other{&out};
  std::string err;
  ASSERT_TRUE(other.StartCommand(std::make_unique<OrvVekResourceGanttWndCmd>(), &err)) << err;
  ASSERT_TRUE(other.Pick(empty.doc->Resolve("Resources/Robot.1"), &err)) << err;
  EXPECT_FALSE(other.RunningCommand());
  EXPECT_TRUE(host::HostWindows::Get().Windows().empty());
  EXPECT_TRUE(other.Messages().empty());
}

TEST_F(GanttCommands, EveryCatalogueKeyTheCommandsLookUpHasAText) {
  std::map<std::string, std::vector<std::string>> used;
  const std::regex key(R"re("((OrvVek\w+|SolveFailed)(\.\w+)+)")re");
  for (const char* file : {"OrvVekResourceGanttWndCmd.cpp", "OrvMessageDialog.cpp", "OrvVekCreateGanttWndCmd.cpp",
                           "OrvGanttTimes.cpp"}) {
    std::ifstream in(std::string(MIRT_TEST_DATA) + "/../gantt/" + file);
    ASSERT_TRUE(in) << file;
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    const std::string catalog = std::string(file) == "OrvVekCreateGanttWndCmd.cpp" ? "OrvVekCreateGanttWndCmd"
                                : std::string(file) == "OrvGanttTimes.cpp"         ? "OrvGanttTimes"
                                                                                   : "OrvVekResourceGanttWndCmd";
    for (std::sregex_iterator it(s.begin(), s.end(), key), end; it != end; ++it)
      if (!(*it)[1].str().ends_with(".h")) used[catalog].push_back((*it)[1]);  // not the includes
  }
  EXPECT_GE(used["OrvVekResourceGanttWndCmd"].size(), 9u);
  for (auto& [catalog, keys] : used)
    for (auto& k : keys) EXPECT_TRUE(TavMsgCatalog::HasKey(catalog, k)) << catalog << ": " << k;
}
}  // namespace
