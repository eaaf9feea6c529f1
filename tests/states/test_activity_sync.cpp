// Synchronising activities: the pick filter's five checks in order, writing both
// lists on both activities of every pair, Apply and OK with unchanged or shortened
// lists, and a partner that refuses its side.
#include "HostUndo.h"
#include "OrvVekActivitySynchronisationCmd.h"
#include "PositionsPlant.h"
#include "PlantDocument.h"

namespace {

using Dlg = OrvVekActivitySynchronisationDlg;
constexpr int kSS = TavConstraintType::StartStart, kEE = TavConstraintType::EndEnd;

struct Sync : PositionsPlant {
  Dlg* Open(const std::string& first) {
    EXPECT_TRUE(Start("OrvVekActivitySynchronisationCmd")) << err;
    EXPECT_TRUE(Pick(first)) << err;
    auto* cmd = dynamic_cast<OrvVekActivitySynchronisationCmd*>(engine.RunningCommand());
    return cmd ? cmd->Dialog() : nullptr;
  }
  // A pick the filter refuses: the tooltip text, or "" when taken.
  std::string Refusal(const std::string& id) {
    bool refused = false;
    err.clear();
    engine.Pick(doc->PathOf(Obj(id)), &err, &refused);
    return refused ? err : "";
  }
  static std::string Tip(const char* key) {
    return TavMsgCatalog::BuildMessage(OrvVekActivitySynchronisationCmd::kCatalog, key).utf8();
  }
  std::string Saved() const { return host::SerializePlant(*doc); }
};

TEST_F(Sync, TheDialogShowsBothListsAndThePickFilterChecksInOrder) {
  auto* d = Open("weld");
  ASSERT_TRUE(d);
  EXPECT_EQ(Running(), "SelectSecondActivity");
  EXPECT_EQ(d->GetStartEndSelection(), Dlg::kStartStart);
  EXPECT_EQ(Ids(d->GetList(Dlg::kStartStart)), "seal");
  EXPECT_EQ(Ids(d->GetList(Dlg::kEndEnd)), "hem");  // held on weld's side too, made on load
  EXPECT_NE(Refusal("weld").find(Tip("ToolTip.Text3")), std::string::npos);
  EXPECT_NE(Refusal("seal").find(Tip("ToolTip.Text1")), std::string::npos);
  const std::string other = Refusal("hem");
  EXPECT_NE(other.find(Tip("ToolTip.Text2")), std::string::npos);
  EXPECT_NE(other.find(Tip("ToolTip.Text22")), std::string::npos);
  EXPECT_NE(Refusal("sw").find(Tip("ToolTip.Text4")), std::string::npos);  // a flow node
  EXPECT_EQ(Refusal("check"), "");
  EXPECT_EQ(Ids(d->GetList(Dlg::kStartStart)), "seal check");
  // The other tab: Check is listed on the first one now.
  d->SetStartEndSelection(Dlg::kEndEnd);
  EXPECT_NE(Refusal("check").find(Tip("ToolTip.Text2")), std::string::npos);
  EXPECT_EQ(Refusal("pack"), "");
  EXPECT_EQ(Ids(d->GetList(Dlg::kEndEnd)), "hem pack");
}

TEST_F(Sync, AnActivityConstrainedThroughOthersIsRefusedAndTheWalkEndsOnCycles) {
  auto weld = query<TavISPPProcessConstraintsMgt>(Obj("weld"));
  auto seal = query<TavISPPProcessConstraintsMgt>(Obj("seal"));
  // Mirrored pairs: every edge has its way back.
  EXPECT_TRUE(seal->HasIndirectConstraints(Obj("hem")));
  EXPECT_TRUE(weld->HasIndirectConstraints(Obj("seal")));
  EXPECT_FALSE(weld->HasIndirectConstraints(Obj("pack")));
  EXPECT_FALSE(weld->IsConstraintPossible(Obj("sw"), kSS));
  EXPECT_FALSE(query<TavISPPProcessConstraintsMgt>(Obj("load"))->IsConstraintPossible(Obj("check"), kSS));
  auto* d = Open("pack");
  ASSERT_TRUE(d);
  EXPECT_EQ(Refusal("weld"), "");
  EXPECT_NE(Refusal("seal").find(Tip("ToolTip.Text4")), std::string::npos);  // tied to Weld already
}

TEST_F(Sync, OkWritesBothSidesAndApplyRemovesThatKindOnly) {
  auto* d = Open("weld");
  ASSERT_TRUE(d);
  EXPECT_EQ(Refusal("check"), "");
  d->ApplyButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Running(), "SelectSecondActivity");
  EXPECT_EQ(Partners("weld", kSS), "seal check");
  EXPECT_EQ(Partners("check", kSS), "weld");
  // Seal taken off the start-start list: both sides lose it, the end-end pair stays.
  d->ListWidget(Dlg::kStartStart)->SetSelectedRows({0});
  d->RemoveButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Ids(d->GetList(Dlg::kStartStart)), "check");
  d->ApplyButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Partners("weld", kSS), "check");
  EXPECT_EQ(Partners("seal", kSS), "");
  EXPECT_EQ(Partners("weld", kEE), "hem");
  EXPECT_EQ(Partners("hem", kEE), "weld");
  d->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Running(), "ended");
}

TEST_F(Sync, RemoveTakesEachSelectedLineOnceAndKeepsTheRestInOrder) {
  auto* d = Open("pack");
  ASSERT_TRUE(d);
  for (const char* id : {"weld", "load", "check"}) EXPECT_EQ(Refusal(id), "") << id;
  // A row named twice and rows past the end: one line goes, the others keep their order.
  d->ListWidget(Dlg::kStartStart)->SetSelectedRows({1, 1, 7, -1});
  d->RemoveButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Ids(d->GetList(Dlg::kStartStart)), "weld check");
  EXPECT_EQ(Refusal("load"), "");  // off the list, so it may come back
  EXPECT_EQ(Ids(d->GetList(Dlg::kStartStart)), "weld check load");
}

TEST_F(Sync, OkWithUnchangedListsChangesNothing) {
  const std::string before = Saved();
  auto* d = Open("weld");
  ASSERT_TRUE(d);
  d->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(doc->Journal().Position(), 0u);  // no undo step
}

TEST_F(Sync, ALockedPartnerLeavesNoOneSidedPairAndTheErrorNamesBoth) {
  auto* d = Open("pack");
  ASSERT_TRUE(d);
  EXPECT_EQ(Refusal("locked"), "");  // the lock shows when the pair is written
  d->SetStartEndSelection(Dlg::kEndEnd);
  EXPECT_EQ(Refusal("check"), "");
  d->OKButton()->Notify(TavDlgNotification::Activate);
  ASSERT_FALSE(engine.Messages().empty());
  const auto& m = engine.Messages().back();
  EXPECT_EQ(m.kind, "error");
  EXPECT_NE(m.text.find("Pack"), std::string::npos);
  EXPECT_NE(m.text.find("Locked"), std::string::npos);
  EXPECT_NE(m.text.find("bob"), std::string::npos);  // the host's reason
  EXPECT_EQ(Partners("pack", kSS), "");
  EXPECT_EQ(Partners("locked", kSS), "");
  EXPECT_EQ(Partners("pack", kEE), "");  // end-end is written only after start-start succeeded
  // Taking away a pair from a locked partner fails the same way: both sides stay.
  auto locked = std::dynamic_pointer_cast<host::HostActivity>(Obj("locked"));
  host::HostActivity::AppendNewSync(std::dynamic_pointer_cast<host::HostActivity>(Obj("hem")), locked, kSS);
  d = Open("hem");
  ASSERT_TRUE(d);
  EXPECT_EQ(Ids(d->GetList(Dlg::kStartStart)), "locked");
  d->ListWidget(Dlg::kStartStart)->SetSelectedRows({0});
  d->InitializeList(Dlg::kStartStart, {});
  d->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Partners("hem", kSS), "locked");
  EXPECT_EQ(Partners("locked", kSS), "hem");
  EXPECT_EQ(engine.Messages().back().kind, "error");
}

TEST_F(Sync, MissingNamesReadFirstAndSecondActivity) {
  auto* d = Open("pack");
  ASSERT_TRUE(d);
  EXPECT_EQ(Refusal("locked"), "");
  query<TavISPPActivity>(Obj("pack"))->SetLabel("");
  query<TavISPPActivity>(Obj("locked"))->SetLabel("");
  d->OKButton()->Notify(TavDlgNotification::Activate);
  const std::string text = engine.Messages().back().text;
  EXPECT_NE(text.find("First Activity"), std::string::npos);
  EXPECT_NE(text.find("Second Activity"), std::string::npos);
}

}  // namespace
