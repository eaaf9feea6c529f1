// Changing a named state from a double click: its own name stays allowed, only the
// difference reaches the host, candidates that would contain the state itself are
// left out, and a refusal leaves the state as it was.
#include "NamedPlant.h"
#include "OrvVekStateEditDblClick.h"

namespace {

struct Change : NamedPlant {
  OrvVekNamedStateDlg* Edit(const std::string& stateId) {
    auto edit = query<TavIEditExtension>(Obj(stateId));
    EXPECT_TRUE(edit);
    if (!edit) return nullptr;
    EXPECT_EQ(edit->Activate(TavPathElement({Obj(stateId)})), S_OK);
    auto* cmd = dynamic_cast<OrvVekStateEditCmd*>(engine.RunningCommand());
    EXPECT_TRUE(cmd);
    return cmd ? cmd->Dialog() : nullptr;
  }
  static void Ok(OrvVekNamedStateDlg* d) { d->OKButton()->Notify(TavDlgNotification::Activate); }
};

TEST_F(Change, TheDialogShowsTheDefinitionAndKeepingTheOwnNameIsAccepted) {
  auto* d = Edit("fix_open");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->GetMode(), OrvVekNamedStateDlg::Mode::Change);
  EXPECT_EQ(d->GetTitle().utf8(), TavMsgCatalog::BuildMessage(OrvVekNamedStateDlg::kCatalog, "EditDlgTitle").utf8());
  EXPECT_EQ(d->NameEditor()->GetText().utf8(), "Open");
  EXPECT_EQ(Lines(d->DefinitionList()), "Open");
  EXPECT_EQ(Lines(d->StatesList()), "Closed Open");  // neither the fixture's own nor the chosen one
  Ok(d);
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(CallCount(), 0u);  // nothing changed, nothing written
  EXPECT_EQ(Definition(StateOf("fix_open")), "c1_s_open");
}

TEST_F(Change, OnlyTheDifferenceIsWrittenWithCodesZeroToThree) {
  auto* d = Edit("c1_s_open");
  ASSERT_TRUE(d);
  AddPosition(d, "Down");
  AddState(d, "Closed");
  Remove(d, "Up");
  d->NameEditor()->SetText("Ajar");
  Ok(d);
  ASSERT_EQ(Running(), "ended");
  EXPECT_EQ(Calls(), "c1_s_open>c1_up:1 c1_s_open>c1_down:0 c1_s_open>c1_s_closed:2");
  EXPECT_EQ(Definition(StateOf("c1_s_open")), "c1_down c1_s_closed");
  EXPECT_EQ(StateOf("c1_s_open")->GetName().utf8(), "Ajar");
  // An entry taken out and put back goes to the end: out, then in again; the rest stays.
  d = Edit("c1_s_open");
  const std::size_t from = CallCount();
  Remove(d, "Down");
  AddPosition(d, "Down");
  Ok(d);
  EXPECT_EQ(Calls(from), "c1_s_open>c1_down:1 c1_s_open>c1_down:0");
  EXPECT_EQ(Definition(StateOf("c1_s_open")), "c1_s_closed c1_down");
}

TEST_F(Change, AStateThatContainsTheEditedOneIsNoCandidateAndNamesStayPerOwner) {
  auto* d = Edit("c1_s_open");
  ASSERT_TRUE(d);
  EXPECT_EQ(Lines(d->StatesList()), "Closed");  // not itself, nor the fixture's "Open" that contains it
  d->NameEditor()->SetText("Closed");
  Remove(d, "Up");
  Ok(d);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"NameAlreadyExisting"}));
  d->NameEditor()->SetText("Free");
  Ok(d);
  EXPECT_EQ(Errors().back(), "EmptyDefinitionList");
  EXPECT_EQ(Running(), "ShowStateDlg");
  d->Notify(TavDlgNotification::Close);
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(StateOf("c1_s_open")->GetName().utf8(), "Open");
  EXPECT_EQ(Definition(StateOf("c1_s_open")), "c1_up");
}

TEST_F(Change, ACycleTheHostRefusesLeavesTheStateAsItWas) {
  auto* d = Edit("c1_s_open");
  ASSERT_TRUE(d);
  d->NameEditor()->SetText("Renamed");
  AddPosition(d, "Down");
  AddState(d, "Closed");
  // Meanwhile "Closed" comes to contain the edited state: adding it would close a cycle.
  ASSERT_EQ(query<OrvIStateMgt>(StateOf("c1_s_closed"))->SetRelation(StateOf("c1_s_open"), OrvStateRelation::AddState), S_OK);
  Ok(d);
  EXPECT_EQ(Errors(), std::vector<std::string>{"EntryRefused"});
  EXPECT_EQ(Running(), "ShowStateDlg");
  EXPECT_EQ(StateOf("c1_s_open")->GetName().utf8(), "Open");
  EXPECT_EQ(Definition(StateOf("c1_s_open")), "c1_up");
}

TEST_F(Change, SynchronisedMovesGoBackOnCancel) {
  auto* d = Edit("c1_s_closed");
  ASSERT_TRUE(d);
  d->SyncCheck()->SetState(true, true);
  AddPosition(d, "Up");
  EXPECT_EQ(Z("clamp1"), 50);
  d->CancelButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(Z("clamp1"), 0);
  EXPECT_EQ(Definition(StateOf("c1_s_closed")), "c1_down");
}

}  // namespace
