// The state conditions command and dialog on the reference host: the add rules,
// what OK writes and links, failures that leave the model as it was, rows of
// same-named states, resources with behaviours and undo. (Cancel, Close and the
// find field: the session scripts in tests/e2e/states.)
#include "ConditionPlant.h"
#include "TavAssignment.h"

using namespace conditiontest;
using D = OrvVekActivitiesStateDlg;
using Strings = std::vector<std::string>;

namespace {

// The body-in-white flag on for one test: resources can be picked.
struct BIWResources {
  BIWResources() { Repo().Write("BIWResources", std::int64_t{1}); }
  ~BIWResources() { Repo().Delete("BIWResources"); }
  static TavRepository& Repo() { return TavSettingRepository::GetRepository("TavSPPFeatures"); }
};

struct Call {
  std::string state, other;
  int code;
  bool operator==(const Call&) const = default;
};

std::vector<Call> CallsOf(const host::HostStateStore& store) {
  std::vector<Call> v;
  for (auto& c : store.Calls()) v.push_back({c.state, c.other, c.code});
  return v;
}

using Conditions = ConditionPlant;

}  // namespace

TEST_F(Conditions, AddFollowsTheRulesAndTheRightPageDecidesWhatTheLeftLists) {
  ASSERT_TRUE(Open("weld"));
  EXPECT_EQ(Dlg().GetTitle().utf8(), "State Conditions of Weld");
  // Begin: what Weld is assigned (Door.1 processed, nothing used) that has states.
  EXPECT_EQ(Lines("pItemSelectorList"), (Strings{"Door.1"}));
  EXPECT_EQ(Lines("pResSelectorList"), (Strings{}));
  Pick(false, "Door.1", {"Open"});
  EXPECT_TRUE(Widget("pAddPb")->IsSensitive());
  Push("pAddPb");
  EXPECT_EQ(Ids(Dlg().GetList(D::Begin)), (Strings{"door_Open"}));
  // A second begin state of the same part is refused, and the button says so first.
  Pick(false, "Door.1", {"Shut"});
  EXPECT_FALSE(Widget("pAddPb")->IsSensitive());
  Push("pAddPb");
  EXPECT_EQ(Ids(Dlg().GetList(D::Begin)), (Strings{"door_Open"}));

  // 3D context widens the left lists to every object that has states.
  Page("pBegEnd3DTabContainer", "p3DTabPage");
  EXPECT_EQ(Lines("pItemSelectorList"), (Strings{"Door.1", "Hood.1"}));
  EXPECT_EQ(Lines("pResSelectorList"), (Strings{"Fixture.1", "Gripper.1"}));
  Pick(false, "Door.1", {"Open"});  // a begin condition already
  EXPECT_FALSE(Widget("pAddPb")->IsSensitive());
  Push("pAddPb");
  EXPECT_TRUE(Dlg().GetList(D::Context3D).empty());
  // Several lines at once: the part's other state and another part's state.
  Pick(false, "Door.1", {"Open", "Shut"});
  EXPECT_TRUE(Widget("pAddPb")->IsSensitive());
  Push("pAddPb");
  EXPECT_EQ(Ids(Dlg().GetList(D::Context3D)), (Strings{"door_Shut"}));
  Pick(true, "Gripper.1", {"Closed"});
  Push("pAddPb");
  // Rows sorted by name; the list keeps the order OK writes.
  EXPECT_EQ(Lines("p3DSelectorList"), (Strings{"Closed", "Shut"}));
  EXPECT_EQ(Ids(Dlg().GetList(D::Context3D)), (Strings{"door_Shut", "gr_Closed"}));

  // End narrows again; a begin state may also end the activity, a 3D one may not.
  Page("pBegEnd3DTabContainer", "pEndCondTabPage");
  EXPECT_EQ(Lines("pItemSelectorList"), (Strings{"Door.1"}));
  Pick(false, "Door.1", {"Shut"});
  EXPECT_FALSE(Widget("pAddPb")->IsSensitive());
  Pick(false, "Door.1", {"Open"});
  Push("pAddPb");
  EXPECT_EQ(Ids(Dlg().GetList(D::End)), (Strings{"door_Open"}));
  EXPECT_EQ(Ids(Dlg().GetList(D::Begin)), (Strings{"door_Open"}));

  // Remove acts on the selected rows of the shown page only.
  EXPECT_FALSE(Widget("pRemPb")->IsSensitive());
  Choose("pEndSelectorList", {"0"});
  EXPECT_TRUE(Widget("pRemPb")->IsSensitive());
  Push("pRemPb");
  EXPECT_TRUE(Dlg().GetList(D::End).empty());
  EXPECT_EQ(Ids(Dlg().GetList(D::Begin)), (Strings{"door_Open"}));
  EXPECT_FALSE(Widget("pRemPb")->IsSensitive());
}

TEST_F(Conditions, StatesOfTwoOwnersWithOneNameStayApartInRowOrder) {
  ASSERT_TRUE(Open("weld"));
  Page("pBegEnd3DTabContainer", "p3DTabPage");
  // Added gripper first: equal names keep the order they came in.
  Pick(true, "Gripper.1", {"Open"});
  Push("pAddPb");
  Pick(true, "Fixture.1", {"Open"});
  Push("pAddPb");
  EXPECT_EQ(Lines("p3DSelectorList"), (Strings{"Open (Gripper.1)", "Open (Fixture.1)"}));
  Choose("p3DSelectorList", {"1"});
  Push("pRemPb");
  EXPECT_EQ(Ids(Dlg().GetList(D::Context3D)), (Strings{"gr_Open"}));
  EXPECT_EQ(Lines("p3DSelectorList"), (Strings{"Open"}));
  Push("OK");
  EXPECT_EQ(CommandState(), "ended");
  EXPECT_EQ(Held("weld", D::Context3D), (Strings{"gr_Open"}));
}

TEST_F(Conditions, AnUnchangedOKRelinksEveryStateUnlinksNoneAndSavesTheSameBytes) {
  const std::string before = Bytes();
  ASSERT_TRUE(Open("load"));
  EXPECT_EQ(Lines("pBeginSelectorList"), (Strings{"Open", "Shut"}));
  EXPECT_EQ(Ids(Dlg().GetList(D::Begin)), (Strings{"door_Shut", "fix_Open"}));
  Store().ClearCalls();
  Push("OK");
  EXPECT_EQ(CommandState(), "ended");
  EXPECT_EQ(CallsOf(Store()), (std::vector<Call>{{"door_Shut", "load", 4}, {"fix_Open", "load", 4},
                                                 {"hood_Open", "load", 8}, {"fix_Closed", "load", 6}}));
  EXPECT_EQ(Bytes(), before);
}

TEST_F(Conditions, AChangedOKUnlinksWhatLeftAndUndoPutsTheListsBack) {
  const std::string before = Bytes();
  ASSERT_TRUE(Open("load"));
  Choose("pBeginSelectorList", {"1"});  // door_Shut
  Push("pRemPb");
  Pick(false, "Door.1", {"Open"});
  Push("pAddPb");
  Store().ClearCalls();
  Push("OK");
  ASSERT_EQ(CommandState(), "ended");
  EXPECT_EQ(CallsOf(Store()), (std::vector<Call>{{"fix_Open", "load", 4}, {"door_Open", "load", 4},
                                                 {"door_Shut", "load", 5}, {"hood_Open", "load", 8},
                                                 {"fix_Closed", "load", 6}}));
  EXPECT_EQ(Held("load", D::Begin), (Strings{"fix_Open", "door_Open"}));
  EXPECT_TRUE(query<OrvIStateMgt>(State("door_Shut"))->GetRelated(OrvStateRelation::BeginLinked).empty());

  std::string err;
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(Bytes(), before);
  ASSERT_TRUE(Open("load"));
  EXPECT_EQ(Ids(Dlg().GetList(D::Begin)), (Strings{"door_Shut", "fix_Open"}));
}

TEST_F(Conditions, ALockedActivityKeepsItsConditionsAndTheDialogStaysOpenWithTheError) {
  Load(true);
  const std::string before = Bytes();
  ASSERT_TRUE(Open("load"));
  Page("pBegEnd3DTabContainer", "pEndCondTabPage");
  Choose("pEndSelectorList", {"0"});
  Push("pRemPb");
  Push("OK");
  EXPECT_EQ(CommandState(), "ShowOutput");
  EXPECT_TRUE(Dlg().IsVisible());
  ASSERT_FALSE(engine.Messages().empty());
  EXPECT_EQ(engine.Messages().back().kind, "error");
  EXPECT_NE(engine.Messages().back().text.find("begin conditions could not be written"), std::string::npos)
      << engine.Messages().back().text;
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(Held("load", D::End), (Strings{"fix_Closed"}));
  // What the user chose is still there to fix or cancel.
  EXPECT_TRUE(Dlg().GetList(D::End).empty());
  Push("Cancel");
  EXPECT_EQ(CommandState(), "ended");
  EXPECT_EQ(Bytes(), before);
}

TEST_F(Conditions, ALaterStepThatFailsTakesBackTheStepsWrittenBeforeIt) {
  ASSERT_TRUE(Open("load"));
  Choose("pBeginSelectorList", {"0", "1"});
  Push("pRemPb");  // begin would be written empty ...
  // ... but the 3D context names a state that is gone by the time OK writes it.
  ASSERT_EQ(query<TavILifeCycleObject>(Obj("hood_Open"))->Remove(), S_OK);
  const std::string withoutHood = Bytes();
  Push("OK");
  EXPECT_EQ(CommandState(), "ShowOutput");
  EXPECT_NE(engine.Messages().back().text.find("3D context could not be written"), std::string::npos)
      << engine.Messages().back().text;
  EXPECT_EQ(Held("load", D::Begin), (Strings{"door_Shut", "fix_Open"}));
  EXPECT_EQ(Bytes(), withoutHood);
  Push("Cancel");
}

TEST_F(Conditions, AResourceGetsItsBehaviourOnlyWhenOKWritesConditions) {
  BIWResources on;
  auto manager = query<OrvIResourceBehaviorManager>(Obj("rb"));
  const std::string before = Bytes();
  ASSERT_TRUE(Open("rb"));
  EXPECT_EQ(Dlg().GetTitle().utf8(), "State Conditions of Robot.1");
  EXPECT_FALSE(manager->GetBehavior());
  // No behaviour, no items; the resource's own tree on the resource page.
  EXPECT_EQ(Lines("pItemSelectorList"), (Strings{}));
  EXPECT_EQ(Lines("pResSelectorList"), (Strings{"Gripper.1"}));
  Pick(true, "Gripper.1", {"Closed"});
  Push("pAddPb");
  Push("Cancel");
  EXPECT_FALSE(manager->GetBehavior());
  EXPECT_EQ(Bytes(), before);

  ASSERT_TRUE(Open("rb"));
  Pick(true, "Gripper.1", {"Closed"});
  Push("pAddPb");
  Store().ClearCalls();
  Push("OK");
  EXPECT_EQ(CommandState(), "ended");
  auto behavior = manager->GetBehavior();
  ASSERT_TRUE(behavior);
  EXPECT_EQ(Held(behavior, D::Begin), (Strings{"gr_Closed"}));
  const std::string id = query<TavIModelIdentity>(behavior)->GetId().utf8();
  EXPECT_EQ(CallsOf(Store()), (std::vector<Call>{{"gr_Closed", id, 4}}));

  // A behaviour with items and conditions opens with them.
  ASSERT_TRUE(Open("rb2"));
  EXPECT_EQ(Lines("pItemSelectorList"), (Strings{"Hood.1"}));
  EXPECT_EQ(Ids(Dlg().GetList(D::Begin)), (Strings{"hood_Shut"}));
  Push("Cancel");
}

TEST_F(Conditions, OnlyActivitiesAndResourcesThatCanHaveABehaviourArePicked) {
  std::string err;
  ASSERT_TRUE(engine.StartCommand(std::make_unique<OrvDefineConditionCmd>(), &err)) << err;
  EXPECT_FALSE(engine.Pick(doc->PathOf(Obj("rb")), &err));  // resources only with the flag
  BIWResources on;
  ASSERT_TRUE(engine.StartCommand(std::make_unique<OrvDefineConditionCmd>(), &err)) << err;
  EXPECT_FALSE(engine.Pick(doc->PathOf(Obj("door")), &err));
  EXPECT_FALSE(engine.Pick(doc->PathOf(Obj("fix")), &err));
  EXPECT_NE(err.find("resource that can have a behaviour"), std::string::npos) << err;
  EXPECT_EQ(CommandState(), "SelectActivity");
  EXPECT_TRUE(engine.Pick(doc->PathOf(Obj("load")), &err)) << err;
  EXPECT_EQ(CommandState(), "ShowOutput");
}
