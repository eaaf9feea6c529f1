// The verification command driven through the host's engine: what the viewer
// shows for a picked activity, Next, the combo and check buttons, closing, and the
// settings they keep.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostUndo.h"
#include "OrvVekProcessConstVerificationCmd.h"
#include "TavServices.h"
#include "VerifPlant.h"

using Dlg = OrvVekProcessConstVerificationDlg;

namespace {

TavRepository& Repo() { return TavSettingRepository::GetRepository(Dlg::kRepository); }

struct Verification : ::testing::Test, VerifPlant {
  std::ostringstream out;
  host::HostEngine engine{&out};
  OrvVekProcessConstVerificationCmd* cmd = nullptr;

  void SetUp() override {
    for (const char* k : {Dlg::kComboKey, Dlg::kColourKey, Dlg::k3DKey}) Repo().Delete(k);
  }
  void Start() {
    std::string err;
    auto c = std::make_unique<OrvVekProcessConstVerificationCmd>();
    cmd = c.get();
    ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  }
  void Pick(const Ref<TavBaseUnknown>& o) {
    std::string err;
    ASSERT_TRUE(engine.Pick(doc->PathOf(o), &err)) << err;
  }
  Dlg& D() { return *cmd->Dialog(); }
  bool Running() { return engine.RunningCommand() != nullptr; }
  // Every product and resource shows as designed.
  void ExpectViewerRestored() {
    for (auto& p : {body, pa, pb, pc, pd, pe, loose, station, robot}) {
      EXPECT_EQ(Colour(p), kTavDefaultColour) << p->Name().utf8();
      EXPECT_TRUE(Shown(p)) << p->Name().utf8();
    }
  }
  template <class W>
  W* Widget(const char* name) {
    return dynamic_cast<W*>(D().Find(name));
  }
};

TEST_F(Verification, PickColoursBeforeBesideAtAndHidesAfter) {
  Start();
  EXPECT_FALSE(D().IsVisible());  // made hidden with the graph
  Pick(b);
  EXPECT_TRUE(D().IsVisible());
  EXPECT_EQ(Colour(pa), Dlg::kPreviousColour);
  EXPECT_EQ(Colour(pb), Dlg::kCurrentColour);
  EXPECT_EQ(Colour(pd), Dlg::kOtherColour);
  EXPECT_FALSE(Shown(pc));
  EXPECT_FALSE(Shown(pe));  // station 2 follows station 1
  EXPECT_TRUE(Shown(loose));
  EXPECT_EQ(Colour(loose), kTavDefaultColour);
  EXPECT_EQ(Widget<TavDlgEditor>("pCurrentEditor")->GetText().utf8(), "B");
  EXPECT_EQ(Widget<TavDlgSelectorList>("pSuccessorsSelectorList")->GetLineCount(), 2);
  auto& hso = session.CurrentHostEditor()->GetHSO();
  ASSERT_EQ(hso.GetSize(), 1);
  EXPECT_TRUE(hso.ContainsObject(b));
  // A later pick starts over: what the last activity hid comes back.
  Pick(d);
  EXPECT_TRUE(Shown(pc));
  EXPECT_EQ(Colour(pc), Dlg::kOtherColour);
  EXPECT_FALSE(Shown(pe));
}

TEST_F(Verification, PickingTheRootRestoresTheViewerAndCloses) {
  Start();
  Pick(b);
  Pick(root);
  EXPECT_FALSE(Running());
  ExpectViewerRestored();
}

TEST_F(Verification, NextWalksTheSuccessorsAndStopsAtTheLast) {
  Start();
  Pick(b);
  Widget<TavDlgPushButton>("pNextPB")->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(D().Current().get(), static_cast<TavBaseUnknown*>(c.get()));
  EXPECT_EQ(Colour(pb), Dlg::kPreviousColour);
  EXPECT_EQ(Colour(pc), Dlg::kCurrentColour);
  EXPECT_TRUE(Shown(pc));
  Widget<TavDlgPushButton>("pNextPB")->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(D().Current().get(), static_cast<TavBaseUnknown*>(st2.get()));
  // Station 2 has no successor: Next changes nothing.
  ASSERT_TRUE(D().Successors().empty());
  const auto before = std::vector{Colour(pa), Colour(pb), Colour(pc), Colour(pe)};
  const std::size_t steps = doc->Journal().OpenChanges();
  Widget<TavDlgPushButton>("pNextPB")->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(D().Current().get(), static_cast<TavBaseUnknown*>(st2.get()));
  EXPECT_EQ((std::vector{Colour(pa), Colour(pb), Colour(pc), Colour(pe)}), before);
  EXPECT_EQ(doc->Journal().OpenChanges(), steps);
}

TEST_F(Verification, DoubleClickMovesToTheLine) {
  Start();
  Pick(c);
  auto* previous = Widget<TavDlgSelectorList>("pViewerSelectorList");
  ASSERT_EQ(previous->GetLine(0).utf8(), "B");
  previous->SetSelect(0);
  previous->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(D().Current().get(), static_cast<TavBaseUnknown*>(b.get()));
  EXPECT_FALSE(Shown(pc));
  // A double click with no line selected does nothing.
  Widget<TavDlgSelectorList>("pOthersSelectorList")->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(D().Current().get(), static_cast<TavBaseUnknown*>(b.get()));
}

TEST_F(Verification, CloseRestoresUnlessKeepView) {
  Start();
  Pick(b);
  D().Notify(TavDlgNotification::Close);
  EXPECT_FALSE(Running());
  ExpectViewerRestored();

  Start();
  Pick(b);
  Widget<TavDlgCheckButton>("pCheckButton3D")->SetState(true, true);
  EXPECT_TRUE(D().KeepView());
  D().Notify(TavDlgNotification::Cancel);
  EXPECT_FALSE(Running());
  EXPECT_EQ(Colour(pb), Dlg::kCurrentColour);
  EXPECT_EQ(Colour(pa), Dlg::kPreviousColour);
  EXPECT_FALSE(Shown(pc));
  // The check button's state is kept for the next run.
  EXPECT_EQ(Repo().ReadInt(Dlg::k3DKey, -1), 1);
}

TEST_F(Verification, ComboShowsResourcesAndEveryChangeWritesAllThreeKeys) {
  Start();
  Pick(a);
  auto* combo = Widget<TavDlgCombo>("pCombo");
  combo->SetSelect(2, true);
  EXPECT_FALSE(Shown(station));
  EXPECT_FALSE(Shown(robot));
  EXPECT_EQ(Repo().ReadInt(Dlg::kComboKey, -1), 2);
  EXPECT_EQ(Repo().ReadInt(Dlg::kColourKey, -1), 0);
  EXPECT_EQ(Repo().ReadInt(Dlg::k3DKey, -1), 0);
  combo->SetSelect(1, true);  // only the current activity's resources: A has none
  EXPECT_FALSE(Shown(robot));
  Widget<TavDlgPushButton>("pNextPB")->Notify(TavDlgNotification::Activate);  // B uses the robot
  EXPECT_TRUE(Shown(robot));
  EXPECT_FALSE(Shown(station));
  combo->SetSelect(0, true);
  EXPECT_TRUE(Shown(station));
  EXPECT_EQ(Repo().ReadInt(Dlg::kComboKey, -1), 0);
}

TEST_F(Verification, ColourCheckColoursUnassignedProductsAsPrevious) {
  Start();
  Pick(b);
  Widget<TavDlgCheckButton>("pCheckButtonColor")->SetState(true, true);
  EXPECT_EQ(Colour(loose), Dlg::kPreviousColour);
  EXPECT_EQ(Colour(pb), Dlg::kCurrentColour);
  EXPECT_EQ(Colour(pd), Dlg::kOtherColour);
  EXPECT_EQ(Repo().ReadInt(Dlg::kColourKey, -1), 1);
  Widget<TavDlgCheckButton>("pCheckButtonColor")->SetState(false, true);
  EXPECT_EQ(Colour(loose), kTavDefaultColour);
  EXPECT_EQ(Colour(pa), Dlg::kPreviousColour);
  EXPECT_EQ(Repo().ReadInt(Dlg::kColourKey, -1), 0);
}

TEST_F(Verification, StoredSettingsOutOfRangeReadAsZero) {
  Repo().Write(Dlg::kComboKey, std::int64_t{7});
  Repo().Write(Dlg::kColourKey, std::int64_t{-1});
  Repo().Write(Dlg::k3DKey, TavUnicodeString("yes"));
  Dlg::Settings s = Dlg::ReadSettings();
  EXPECT_EQ(s.combo, 0);
  EXPECT_FALSE(s.colour);
  EXPECT_FALSE(s.keepView);
  Repo().Write(Dlg::kComboKey, std::int64_t{2});
  Repo().Write(Dlg::kColourKey, std::int64_t{1});
  Repo().Write(Dlg::k3DKey, std::int64_t{1});
  s = Dlg::ReadSettings();
  EXPECT_EQ(s.combo, 2);
  EXPECT_TRUE(s.colour && s.keepView);
  // The dialog starts from them: combo 2 hides every resource at the first pick.
  Start();
  Pick(b);
  EXPECT_FALSE(Shown(robot));
  EXPECT_TRUE(D().KeepView());
  EXPECT_EQ(Colour(loose), Dlg::kPreviousColour);
}

TEST_F(Verification, CancelledCommandRestoresAndUndoTakesItAllBack) {
  Start();
  Pick(b);
  std::string err;
  ASSERT_TRUE(engine.Cancel(&err)) << err;
  ExpectViewerRestored();
  // Keep-view on: the colours stay, and one undo step takes them back.
  Start();
  Pick(b);
  Widget<TavDlgCheckButton>("pCheckButton3D")->SetState(true, true);
  D().Notify(TavDlgNotification::Close);
  ASSERT_FALSE(Running());
  ASSERT_EQ(Colour(pb), Dlg::kCurrentColour);
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  ExpectViewerRestored();
}

}  // namespace
