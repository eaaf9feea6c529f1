// The layout command: the picked node must be linked, the spacing dialog, the grid
// rule for low values, and every text from the catalogues.
#include <cmath>

#include "OrvVekLayoutPertChartCmd.h"
#include "PertCommand.h"
#include "TavServices.h"

using namespace pert_test;
using Cmd = OrvVekLayoutPertChartCmd;

namespace {

struct LayoutCommand : PertCommand {
  Cmd* cmd = nullptr;
  void Start() {
    std::string why;
    ASSERT_TRUE(engine.Start("OrvVekPlanner", "OrvVekLayoutPertChartCmd", &why)) << why;
    cmd = static_cast<Cmd*>(engine.RunningCommand());
  }
  bool PickNode(const std::string& path) {
    std::string why;
    std::vector<Ref<TavBaseUnknown>> objects = doc->Resolve(path).Objects();
    objects.back() = Node(path);
    return engine.Pick(TavPathElement(objects), &why);
  }
  std::string State() const { return cmd->GetCurrentState() ? cmd->GetCurrentState()->GetName() : ""; }
  void Values(double x, double y) {
    static_cast<TavDlgSpinner*>(cmd->Dialog()->Find("XValSpinner"))->SetValue(x);
    static_cast<TavDlgSpinner*>(cmd->Dialog()->Find("YValSpinner"))->SetValue(y);
  }
  void Press(const char* button) {
    cmd->Dialog()->Find(button)->Notify(TavDlgNotification::Activate);
  }
  std::vector<std::pair<double, double>> Places() const {
    std::vector<std::pair<double, double>> out;
    for (auto& n : Node("Process/Cell")->GetChildNodes()) {
      double x = 0, y = 0;
      out.push_back(n->GetPosition(1, x, y) ? std::pair{x, y} : std::pair{-1.0, -1.0});
    }
    return out;
  }
};

TEST_F(LayoutCommand, AnUnlinkedNodeIsRefusedAndTheAgentWaitsForAnother) {
  Start();
  EXPECT_FALSE(cmd->Dialog()->IsVisible());
  PickNode("Process/Cell/Spare");
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(Message(0), "LayoutPertChart information: " +
                            TavMsgCatalog::BuildMessage(Cmd::kCatalog, "OrvVekLayoutPertChartCmd.NoConnection.Title", {}, "").utf8() +
                            ": " + TavMsgCatalog::BuildMessage(Cmd::kCatalog, "OrvVekLayoutPertChartCmd.NoConnection.Msg", {}, "").utf8());
  EXPECT_EQ(State(), "PickAnObject");
  EXPECT_FALSE(cmd->Agent()->IsValued());
  EXPECT_TRUE(PickNode("Process/Cell/Weld"));
  EXPECT_EQ(State(), "EnterValues");
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  EXPECT_TRUE(cmd->Dialog()->OKButton()->IsSensitive());
  Press("Cancel");
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(Places()[0].first, -1);  // nothing laid out
}

TEST_F(LayoutCommand, OneValueBelowTheGridLaysOutAndBothBelowItShowTheGrid) {
  Start();
  ASSERT_TRUE(PickNode("Process/Cell/Weld"));
  Values(5, 50);
  Press("OK");
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_TRUE(engine.Messages().empty());
  const auto laid = Places();
  for (auto [x, y] : laid) {
    EXPECT_EQ(std::fmod(x, 10), 0);
    EXPECT_EQ(std::fmod(y, 10), 0);
  }
  EXPECT_LT(laid[0].first, laid[1].first);   // load before weld
  EXPECT_LT(laid[1].first, laid[2].first);   // weld before unload
  EXPECT_NE(laid[3], laid[0]);

  Start();
  ASSERT_TRUE(PickNode("Process/Cell/Load"));
  Values(5, 5);
  Press("OK");
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].name, "LayoutPertChart");
  EXPECT_EQ(engine.Messages()[0].title,
            TavMsgCatalog::BuildMessage(Cmd::kCatalog, "OrvVekLayoutPertChartCmd.LowValues.Title", {}, "").utf8());
  const std::string& text = engine.Messages()[0].text;
  EXPECT_EQ(text.substr(text.size() - 2), "10");
  EXPECT_EQ(Places(), laid);  // unchanged
}

TEST_F(LayoutCommand, TheDialogFollowsItsGridAndEveryTextIsInTheCatalogues) {
  Start();
  std::vector<std::string> names;
  for (auto& w : cmd->Dialog()->Children()) names.push_back(w->GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"TitleLabel", "Separator", "XValLabel", "XValSpinner", "YValLabel",
                                             "YValSpinner", "OK", "Cancel"}));
  std::vector<std::pair<std::string, std::string>> keys = {
      {Cmd::kCatalog, "OrvVekLayoutPertChartCmd.NoConnection.Title"},
      {Cmd::kCatalog, "OrvVekLayoutPertChartCmd.NoConnection.Msg"},
      {Cmd::kCatalog, "OrvVekLayoutPertChartCmd.LowValues.Title"},
      {Cmd::kCatalog, "OrvVekLayoutPertChartCmd.LowValues.Msg"},
      {OrvVekLayoutPertChartDlg::kCatalog, "LayoutPertChart.Message"},
      {"OrvVekCreateGraphWndCmd", "WrongGETypeErr"},
      {"OrvVekPrecedentViewerWndCmd", "WrongGETypeErr"}};
  for (const char* label : {"TitleLabel", "XValLabel", "YValLabel", "OK", "Cancel"})
    keys.emplace_back(OrvVekLayoutPertChartDlg::kCatalog, std::string(label) + ".Title");
  for (const auto& [catalog, key] : keys) EXPECT_TRUE(TavMsgCatalog::HasKey(catalog, key)) << catalog << ": " << key;
}

}  // namespace
