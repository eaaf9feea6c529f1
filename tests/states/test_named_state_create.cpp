// Creating a named state: the picks the command takes, the checks of OK and their
// order, what the host is told, and that a failed OK leaves the model as it was.
#include "NamedPlant.h"
#include "OrvStateCreationCmd.h"

namespace {

struct Creation : NamedPlant {
  OrvStateCreationCmd* cmd = nullptr;
  OrvVekNamedStateDlg* Open(const std::string& ownerId) {
    auto c = std::make_unique<OrvStateCreationCmd>();
    cmd = c.get();
    EXPECT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
    EXPECT_TRUE(Pick(ownerId)) << err;
    EXPECT_EQ(Running(), "ShowPrdOrResOutput");
    return cmd->Dialog();
  }
  void Ok(OrvVekNamedStateDlg* d, const std::string& name) {
    d->NameEditor()->SetText(name);
    d->OKButton()->Notify(TavDlgNotification::Activate);
  }
};

TEST_F(Creation, ErrorsComeInTheOrderNameDefinitionTakenAndKeepTheDialog) {
  auto* d = Open("fix");
  EXPECT_EQ(Lines(d->StatesList()), "Open Open Closed Open");  // the fixture's, Clamp.1's, Clamp.2's
  EXPECT_EQ(Lines(d->PositionsList()), "Up Down Up");
  Ok(d, "   ");  // blank and no definition: the name first
  Ok(d, "Open");  // taken too: the definition first
  AddState(d, "Closed");
  Ok(d, " Open ");  // stripped, it is the fixture's own "Open"
  EXPECT_EQ(Errors(), (std::vector<std::string>{"NoNameAvailable", "EmptyDefinitionList", "NameAlreadyExisting"}));
  EXPECT_EQ(Running(), "ShowPrdOrResOutput");
  EXPECT_EQ(Lines(d->DefinitionList()), "Closed");
  EXPECT_EQ(d->NameEditor()->GetText().utf8(), " Open ");
  EXPECT_EQ(StatesOf("fix"), "Open");
  EXPECT_EQ(CallCount(), 0u);
  // "Open" of the clamps is no obstacle: a name is taken per owner only.
  Ok(d, "Closed");
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(StatesOf("fix"), "Open Closed");
}

TEST_F(Creation, OnePositionAndOneStateGiveCodesZeroThenTwoAndUndoAsOneStep) {
  auto* d = Open("fix");
  AddPosition(d, "Down");
  AddState(d, "3");  // Clamp.2's "Open"
  EXPECT_EQ(Lines(d->DefinitionList()), "Down Open");
  EXPECT_EQ(Lines(d->PositionsList()), "Up Up");
  Ok(d, "Half");
  ASSERT_EQ(Running(), "ended");
  auto made = d ? OrvFactoryOnState(doc).GetStates(Obj("fix")).back() : nullptr;
  ASSERT_TRUE(made);
  EXPECT_EQ(made->GetName().utf8(), "Half");
  EXPECT_TRUE(SameObject(made->GetOwner(), Obj("fix")));
  EXPECT_EQ(Calls(), Id(made) + ">c1_down:0 " + Id(made) + ">c2_s_open:2");
  EXPECT_EQ(Definition(made), "c1_down c2_s_open");
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(StatesOf("fix"), "Open");
}

TEST_F(Creation, AKitWarnsAWSCProductIsRefusedAndAnAssemblyListsItsStructure) {
  ASSERT_TRUE(engine.Start("OrvVekPlanner", "OrvStateCreationCmd", &err)) << err;
  ASSERT_TRUE(Pick("kit"));
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].name, "Warning");
  EXPECT_EQ(engine.Messages()[0].kind, "warning");
  EXPECT_EQ(Running(), "SelectPartResourceOrActivity");
  EXPECT_FALSE(Pick("wsc"));
  EXPECT_EQ(Running(), "SelectPartResourceOrActivity");
  ASSERT_TRUE(Pick("ma"));
  EXPECT_EQ(Running(), "ShowPrdOrResOutput");
  auto* d = static_cast<OrvStateCreationCmd*>(engine.RunningCommand())->Dialog();
  EXPECT_EQ(Lines(d->PositionsList()), "Opened");  // the door's, through the body
  AddPosition(d, "Opened");
  Ok(d, "Doors open");
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(StatesOf("ma"), "Doors open");
}

TEST_F(Creation, SynchronisationMovesAtOnceRemoveAndCancelMoveBackOKKeeps) {
  auto* d = Open("fix");
  d->SyncCheck()->SetState(true, true);
  AddPosition(d, "0");  // Clamp.1's "Up": z 50
  EXPECT_EQ(Z("clamp1"), 50);
  Remove(d, "Up");
  EXPECT_EQ(Z("clamp1"), 0);
  AddState(d, "3");  // Clamp.2's "Open": up too
  AddPosition(d, "2");  // Clamp.1's "Up", back at the end
  EXPECT_EQ(Z("clamp2"), 50);
  EXPECT_EQ(Z("clamp1"), 50);
  d->CancelButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(Z("clamp1"), 0);
  EXPECT_EQ(Z("clamp2"), 0);
  // OK keeps the moves with the state.
  d = Open("fix");
  d->SyncCheck()->SetState(true, true);
  AddPosition(d, "0");
  Ok(d, "Raised");
  EXPECT_EQ(Z("clamp1"), 50);
}

TEST_F(Creation, AnEntryTheHostRefusesLeavesNoStateBehind) {
  auto* d = Open("fix");
  AddPosition(d, "Down");
  AddState(d, "Closed");
  // The chosen state goes before OK: the host refuses it as an entry.
  ASSERT_EQ(query<TavILifeCycleObject>(StateOf("c1_s_closed"))->Remove(), S_OK);
  const std::size_t before = engine.Messages().size();
  Ok(d, "Shut");
  EXPECT_EQ(Errors(before), std::vector<std::string>{"EntryRefused"});
  EXPECT_EQ(Running(), "ShowPrdOrResOutput");
  EXPECT_EQ(StatesOf("fix"), "Open");
  EXPECT_EQ(Lines(d->DefinitionList()), "Down Closed");
}

}  // namespace
