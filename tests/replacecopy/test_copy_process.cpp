// Copying a process: what each option keeps, resources copied once and related to
// the copied activities, children found below their father's copy, the parent
// rules, and failures that leave the model as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "CopyPlant.h"
#include "HostEngine.h"
#include "HostUndo.h"
#include "OrvVekCopyProcessAndRscCmd.h"
#include "OrvVekCopyProcessServices.h"
#include "OrvVekServices.h"
#include "ResourceCommand.h"
#include "TavAssignment.h"

using namespace host;

namespace {

using Services = OrvVekCopyProcessServices;

struct CopyProcess : ::testing::Test, CopyPlant {
  using CopyPlant::CopyPlant;
  Ref<TavISPPActivity> Act(const char* id) { return Get<TavISPPActivity>(id); }
  Ref<TavIProduct> Res(const char* id) { return Get<TavIProduct>(id); }

  // The copy of `process` under `parent`, made by the service with rows as the command finds them.
  Ref<TavISPPActivity> Copy(const char* process, const Ref<TavBaseUnknown>& parent, int options,
                            std::vector<Ref<TavIProduct>>* copied = nullptr, const Ref<TavIProduct>& father = nullptr) {
    std::vector<Ref<TavIProduct>> resources, fathers, made;
    std::vector<int> types;
    std::vector<TavUnicodeString> names;
    std::vector<Ref<TavISPPActivity>> activities;
    std::vector<bool> children;
    if (Services::IsCopyingResources(options))
      for (auto& row : Services::GetAttachedResources(Act(process))) {
        resources.push_back(row.resource);
        fathers.push_back(row.childOfAssigned ? row.resource->GetFatherProduct() : father);
        types.push_back(row.type);
        names.push_back(TavUnicodeString("Copy of ") + row.resource->GetName());
        activities.push_back(row.activity);
        children.push_back(row.childOfAssigned);
      }
    Ref<TavISPPActivity> copy;
    EXPECT_EQ(Services::CopyProcessAndResource(Act(process), parent, "Copy", resources, fathers, types, names, activities,
                                               children, made, options, &copy),
              S_OK);
    if (copied) *copied = made;
    return copy;
  }
  static Ref<TavISPPActivity> Child(const Ref<TavISPPActivity>& a, const char* label) {
    for (auto& c : query<TavISPPChildManagement>(a)->GetChildActivities())
      if (c->GetLabel() == label) return c;
    return nullptr;
  }
  static int Type(const Ref<TavISPPActivity>& a, const Ref<TavBaseUnknown>& r) { return Services::DetermineAssignmentType(a, r); }
  static bool Processes(const Ref<TavISPPActivity>& a, const Ref<TavBaseUnknown>& p) {
    return query<TavISPPItemMgt>(a)->IsItemAssigned(p, TavItemCode::Processes) == S_OK;
  }
};

TEST_F(CopyProcess, RowsNameEachAttachedResourceOncePerActivityAndMarkChildren) {
  auto rows = Services::GetAttachedResources(Act("s10"));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].resource->GetName(), "Station.10");
  EXPECT_FALSE(rows[0].childOfAssigned);
  EXPECT_EQ(rows[1].resource->GetName(), "Robot.1");
  EXPECT_EQ(rows[1].type, 1);
  EXPECT_TRUE(rows[1].childOfAssigned);
  EXPECT_EQ(rows[2].resource->GetName(), "WeldGun.1");
  EXPECT_EQ(rows[2].type, 3) << "attached as an item";
  EXPECT_TRUE(rows[2].childOfAssigned) << "below the robot, itself below the station";
  EXPECT_EQ(rows[3].activity->GetLabel(), "Weld B");
}

TEST_F(CopyProcess, KeptAndDroppedRelationsByOption) {
  // 3: resource relations point at the source resources; product relations go.
  auto copy = Copy("s10", Act("grp"), OrvVekKeepRscLinks);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->GetLabel(), "Copy");
  auto weld = Child(copy, "Weld A");
  ASSERT_TRUE(weld);
  EXPECT_EQ(Type(weld, Res("robot")), 1);
  EXPECT_EQ(Type(weld, Res("gun")), 3) << "a resource held as an item is a resource link, not a product one";
  EXPECT_FALSE(Processes(weld, Res("body")));
  EXPECT_TRUE(Processes(Act("w1"), Res("body"))) << "the source keeps its relations";

  // 5: product relations stay; every resource relation goes.
  copy = Copy("s10", Act("grp"), OrvVekKeepPrdLinks);
  weld = Child(copy, "Weld A");
  EXPECT_TRUE(Processes(weld, Res("body")));
  EXPECT_EQ(Type(weld, Res("robot")), 0);
  EXPECT_EQ(Type(weld, Res("gun")), 0);
  EXPECT_EQ(Type(copy, Res("st10")), 0);
}

TEST_F(CopyProcess, AStationIsCopiedWithItsRobotAndGunAndEachRowFindsItsCopy) {
  std::vector<Ref<TavIProduct>> copied;
  auto copy = Copy("s10", Act("grp"), OrvVekCopyResourcesAndPrd, &copied, Res("line"));
  ASSERT_TRUE(copy);
  ASSERT_EQ(copied.size(), 1u) << "the robot and the gun come with the station";
  auto station = copied[0];
  EXPECT_EQ(station->GetFatherProduct()->GetName(), "Line.1");
  ASSERT_EQ(station->GetChildrenCount(), 1);
  auto robot = station->GetChildren()[0];
  ASSERT_EQ(robot->GetChildrenCount(), 1);
  auto gun = robot->GetChildren()[0];
  EXPECT_EQ(robot->GetName(), "Robot.1");
  EXPECT_EQ(Type(copy, station), 1);
  auto weldA = Child(copy, "Weld A"), weldB = Child(copy, "Weld B");
  EXPECT_EQ(Type(weldA, robot), 1);
  EXPECT_EQ(Type(weldA, gun), 3);
  EXPECT_EQ(Type(weldB, robot), 1);
  EXPECT_EQ(Type(weldA, Res("robot")), 0) << "no link to the source is left";
  EXPECT_EQ(Type(weldA, Res("gun")), 0);
  EXPECT_TRUE(Processes(weldA, Res("body"))) << "option 2 keeps the product relations";
}

TEST_F(CopyProcess, AResourceOnTwoActivitiesIsCopiedOnceForBoth) {
  CopyPlant plant(ReplaceOnce(kCopyPlant, R"(<relation type="process_uses_resource" ref="st10"/>)", ""));
  auto act = [&](const char* id) { return plant.Get<TavISPPActivity>(id); };
  std::vector<Ref<TavIProduct>> resources, fathers, made;
  std::vector<int> types;
  std::vector<TavUnicodeString> names;
  std::vector<Ref<TavISPPActivity>> activities;
  std::vector<bool> children;
  for (auto& row : Services::GetAttachedResources(act("s10"))) {
    resources.push_back(row.resource);
    fathers.push_back(plant.Get<TavIProduct>("st20"));
    types.push_back(row.type);
    names.push_back("Robot copy");
    activities.push_back(row.activity);
    children.push_back(row.childOfAssigned);
  }
  ASSERT_EQ(resources.size(), 3u);
  Ref<TavISPPActivity> copy;
  ASSERT_EQ(Services::CopyProcessAndResource(act("s10"), act("s20"), "S10 copy", resources, fathers, types, names, activities,
                                             children, made, OrvVekCopyResources, &copy),
            S_OK);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0]->GetFatherProduct()->GetName(), "Station.20");
  EXPECT_EQ(made[0]->GetPartNumber(), "Robot copy");
  auto weldA = Child(copy, "Weld A"), weldB = Child(copy, "Weld B");
  EXPECT_EQ(Type(weldA, made[0]), 1);
  EXPECT_EQ(Type(weldB, made[0]), 1);
  ASSERT_EQ(made[0]->GetChildrenCount(), 1);
  EXPECT_EQ(Type(weldA, made[0]->GetChildren()[0]), 3) << "the gun row found the copy's gun";
  EXPECT_FALSE(Processes(weldA, plant.Get<TavIProduct>("body"))) << "option 1 drops product relations";
}

TEST_F(CopyProcess, UnequalListsAndMissingPiecesFailWithNothingChanged) {
  const auto objects = doc->ObjectCount();
  const auto steps = doc->Journal().Size();
  std::vector<Ref<TavIProduct>> resources{Res("robot")}, fathers, made;
  std::vector<int> types{1};
  std::vector<TavUnicodeString> names{"x"};
  std::vector<Ref<TavISPPActivity>> activities{Act("w1")};
  std::vector<bool> children{false};
  EXPECT_EQ(Services::CopyProcessAndResource(Act("s10"), Act("grp"), "C", resources, fathers, types, names, activities, children,
                                             made, OrvVekCopyResources),
            E_FAIL);
  EXPECT_EQ(Services::CopyProcessAndResource(nullptr, Act("grp"), "C", {}, {}, {}, {}, {}, {}, made, 0), E_FAIL);
  EXPECT_EQ(Services::CopyProcessAndResource(Act("s10"), nullptr, "C", {}, {}, {}, {}, {}, {}, made, 0), E_FAIL);
  EXPECT_EQ(doc->ObjectCount(), objects);
  EXPECT_EQ(doc->Journal().Size(), steps);
  EXPECT_EQ(query<TavISPPChildManagement>(Act("grp"))->GetChildren().size(), 2u);
}

TEST_F(CopyProcess, TopChildAndCopyLookups) {
  auto grp = query<TavISPPChildManagement>(Act("grp"));
  auto before = grp->GetChildren();
  auto copy = Copy("s10", Act("grp"), OrvVekKeepRscAndPrdLinks);
  EXPECT_TRUE(SameObject(Services::GetTopChild(before, grp->GetChildren()), copy));
  EXPECT_FALSE(Services::GetTopChild(grp->GetChildren(), grp->GetChildren()));
  std::vector<Ref<TavISPPActivity>> sources, copies;
  Services::GetAllActivities(Act("s10"), sources);
  Services::GetAllActivities(copy, copies);
  ASSERT_EQ(sources.size(), 3u);
  ASSERT_EQ(copies.size(), 3u);
  EXPECT_TRUE(SameObject(Services::GetCopyOfProcess(Act("w2"), sources, copies), copies[2]));
  EXPECT_FALSE(Services::GetCopyOfProcess(Act("s20"), sources, copies));
  EXPECT_EQ(Services::AssignResourceToProcess(copies[1], Res("st20"), 5), E_FAIL);
}

// ------------------------------------------------------------------ the command
struct CopyProcessCommand : CommandOn<OrvVekCopyProcessAndRscCmd, CopyProcess> {
  void Check(const char* button, bool on) {
    static_cast<TavDlgCheckButton*>(cmd->Dialog()->Find(button))->SetState(on, true);
  }
  void Push(TavDlgDialog* d, const char* widget) { d->Find(widget)->Notify(TavDlgNotification::Activate); }
};

TEST_F(CopyProcessCommand, ParentRulesRefuseGroupingUnderStationAndAParentInsideTheCopy) {
  Start();
  std::string why;
  ASSERT_TRUE(Pick(Act("grp")));
  EXPECT_FALSE(Pick(Act("s30"), &why)) << "a grouping under a station";
  EXPECT_NE(why.find("BIWActivityStation"), std::string::npos) << why;
  EXPECT_FALSE(Pick(Act("s20"), &why)) << "a station inside the process to copy";
  EXPECT_FALSE(Pick(Act("w1"), &why)) << "an operation inside it";
  EXPECT_NE(why.find("below the process"), std::string::npos) << why;
  EXPECT_FALSE(Pick(Act("grp"), &why)) << "the process itself";
  EXPECT_EQ(State(), "State2");
  EXPECT_TRUE(Pick(Act("proc")));
  EXPECT_EQ(State(), "State3");
}

TEST_F(CopyProcessCommand, CopyingResourcesShowsTheRowsAndWarnsWithTheCopies) {
  Start();
  ASSERT_TRUE(Pick(Act("s10")));
  ASSERT_TRUE(Pick(Act("grp"))) << "a station under a grouping";
  ASSERT_TRUE(cmd->Dialog());
  EXPECT_EQ(cmd->Dialog()->GetCopyName(), "Copy of Station 10");
  Check("CheckBtnCopyRsc", true);
  EXPECT_FALSE(cmd->Dialog()->RscLinksButton()->GetState()) << "the two exclude each other";
  Push(cmd->Dialog(), "OK");
  ASSERT_EQ(State(), "State4");
  auto* rows = cmd->AttachedDialog();
  ASSERT_EQ(rows->GetRowCount(), 4);
  EXPECT_EQ(rows->GetParentName(0), "Line.1") << "the grouping's resource is the proposed father";
  EXPECT_EQ(rows->GetParentName(1), "Copy of Station.10") << "a child follows its father's copy";
  EXPECT_FALSE(rows->Find("DotPushButton#2")->IsSensitive());

  // Re-pick the station's father: Station.20 (a resource being copied is refused).
  Push(rows, "DotPushButton#1");
  ASSERT_EQ(State(), "State5");
  std::string why;
  EXPECT_FALSE(Pick(Res("st10"), &why));
  ASSERT_TRUE(Pick(Res("st20")));
  EXPECT_EQ(State(), "State4");
  EXPECT_EQ(rows->GetParentName(0), "Station.20");
  Push(rows, "OK");
  EXPECT_EQ(State(), "ended");
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].name, "Warning");
  EXPECT_NE(engine.Messages()[0].text.find("Copy of Station.10"), std::string::npos) << engine.Messages()[0].text;
  EXPECT_EQ(Res("st20")->GetChildrenCount(), 1);
}

TEST_F(CopyProcessCommand, TwentyOneCopiesListTwenty) {
  std::string robots, uses;
  for (int i = 1; i <= 21; ++i) {
    robots += "<resource id=\"r" + std::to_string(i) + "\" name=\"Robot." + std::to_string(i + 10) + "\" type=\"Robot\"/>";
    uses += "<relation type=\"process_uses_resource\" ref=\"r" + std::to_string(i) + "\"/>";
  }
  std::string text = ReplaceOnce(kCopyPlant, R"(<resource id="st20" name="Station.20" type="Station"/>)",
                                 R"(<resource id="st20" name="Station.20" type="Station">)" + robots + "</resource>");
  text = ReplaceOnce(text, R"(<relation type="process_uses_resource" ref="st20"/>)", uses);
  CopyPlant plant(text);
  std::ostringstream log;
  HostEngine own(&log);
  auto c = std::make_unique<OrvVekCopyProcessAndRscCmd>();
  auto* command = c.get();
  std::string err;
  ASSERT_TRUE(own.StartCommand(std::move(c), &err)) << err;
  ASSERT_TRUE(own.Pick(plant.doc->PathOf(plant.Get("s20")), &err)) << err;
  ASSERT_TRUE(own.Pick(plant.doc->PathOf(plant.Get("grp")), &err)) << err;
  static_cast<TavDlgCheckButton*>(command->Dialog()->Find("CheckBtnCopyRsc"))->SetState(true, true);
  command->Dialog()->Find("OK")->Notify(TavDlgNotification::Activate);
  command->AttachedDialog()->Find("OK")->Notify(TavDlgNotification::Activate);
  ASSERT_EQ(own.Messages().size(), 1u);
  const std::string text2 = own.Messages()[0].text;
  EXPECT_EQ(std::count(text2.begin(), text2.end(), '\n'), 20) << text2;
  EXPECT_EQ(plant.Get<TavIProduct>("line")->GetChildrenCount(), 2 + 21);
}

TEST_F(CopyProcessCommand, CancelAndAPlainCopyAreOneUndoStep) {
  Start();
  ASSERT_TRUE(Pick(Act("s10")));
  ASSERT_TRUE(Pick(Act("grp")));
  Push(cmd->Dialog(), "Cancel");
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(query<TavISPPChildManagement>(Act("grp"))->GetChildren().size(), 2u);

  const auto steps = doc->Journal().Size();
  Start();
  ASSERT_TRUE(Pick(Act("s10")));
  ASSERT_TRUE(Pick(Res("robot"))) << "a robot's behaviour takes the copy";
  Push(cmd->Dialog(), "OK");
  EXPECT_EQ(State(), "ended");
  EXPECT_TRUE(engine.Messages().empty());
  EXPECT_EQ(doc->Journal().Size(), steps + 1);
  std::string err;
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  int canHave = 0;
  bool existed = true;
  Ref<OrvIResourceBehavior> behaviour;
  OrvVekServices::GetResourceBehavior(Res("robot"), canHave, behaviour, existed);
  EXPECT_FALSE(existed) << "the behaviour made for the copy went with it";
}

}  // namespace
