// The replacement service and the standard dialog, on the reference host.
#include <gtest/gtest.h>

#include "OrvVekReplaceRescDlg.h"
#include "OrvVekReplaceResourceServices.h"
#include "ReplacePlant.h"
#include "TavResources.h"

namespace {

std::vector<TavUnicodeString> Lines(const TavDlgSelectorList* l) {
  std::vector<TavUnicodeString> out;
  for (int i = 0; i < l->GetLineCount(); ++i) out.push_back(l->GetLine(i));
  return out;
}

struct Dialog : ::testing::Test, ReplacePlant {
  std::unique_ptr<OrvVekReplaceRescDlg> dlg;
  void Open(bool hub = false) {
    dlg = std::make_unique<OrvVekReplaceRescDlg>(nullptr, hub, [this](const Ref<TavIProduct>& p) { return p != robot; });
    dlg->Build();
    dlg->SetFirstResource(robot);
  }
  std::vector<Ref<TavISPPActivity>> Chosen(unsigned char* removeContext = nullptr) {
    auto list = std::make_unique<std::vector<Ref<TavISPPActivity>>>();
    auto* p = list.get();
    unsigned char rc = 0;
    dlg->GetActivitiesForReplacement(p, rc);
    if (removeContext) *removeContext = rc;
    return *list;
  }
  void Select(TavDlgSelectorList* l, std::vector<int> rows) {
    l->ClearSelect();
    std::vector<std::string> texts;
    for (int r : rows) texts.push_back(std::to_string(r));  // by number: two lines may read "Weld"
    std::string err;
    ASSERT_TRUE(l->SelectLinesFromText(texts, &err)) << err;
    l->Notify(TavDlgNotification::Select);
  }
};

TEST_F(Dialog, ListsTheUsersThenMovesLinesAndSwitchesTheButtons) {
  Open();
  // The root and both same-named activities use the robot; the attached item counts too.
  EXPECT_EQ(Lines(dlg->Available()), (std::vector<TavUnicodeString>{"Line", "Weld", "Weld", "Attach"}));
  auto* right = static_cast<TavDlgPushButton*>(dlg->Find("RightPB"));
  auto* left = static_cast<TavDlgPushButton*>(dlg->Find("LeftPB"));
  EXPECT_FALSE(right->IsSensitive());
  EXPECT_FALSE(dlg->OKButton()->IsSensitive());
  EXPECT_FALSE(dlg->Find("RmvRsrcCtxt")->IsSensitive());
  EXPECT_TRUE(dlg->Find("FileBrowserPB")->IsSensitive());
  EXPECT_FALSE(dlg->Find("Zarnet")->IsSensitive());

  Select(dlg->Available(), {1});
  EXPECT_TRUE(right->IsSensitive());
  // Both activities named "Weld" light up in the tree.
  EXPECT_EQ(session.CurrentHostEditor()->GetHSO().GetSize(), 2);
  right->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Lines(dlg->Considered()), (std::vector<TavUnicodeString>{"Weld"}));
  EXPECT_EQ(session.CurrentHostEditor()->GetHSO().GetSize(), 0);
  EXPECT_FALSE(right->IsSensitive());
  EXPECT_FALSE(dlg->OKButton()->IsSensitive()) << "no second resource yet";
  dlg->SetSecondResource(spare);
  EXPECT_TRUE(dlg->OKButton()->IsSensitive());

  // Selecting in one list clears the other's selection.
  Select(dlg->Available(), {0});
  Select(dlg->Considered(), {0});
  EXPECT_EQ(dlg->Available()->GetSelectCount(), 0);
  EXPECT_TRUE(left->IsSensitive());
  EXPECT_FALSE(right->IsSensitive());
  left->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(dlg->Considered()->GetLineCount(), 0);
  EXPECT_FALSE(dlg->OKButton()->IsSensitive()) << "the last line left";
}

TEST_F(Dialog, TheRootComesFirstThenEverySameNamedActivityOnce) {
  Open();
  Select(dlg->Available(), {1, 0});  // "Weld", then the root's line
  dlg->Find("RightPB")->Notify(TavDlgNotification::Activate);
  auto chosen = Chosen();
  ASSERT_EQ(chosen.size(), 3u);
  EXPECT_TRUE(SameObject(chosen[0], root));
  EXPECT_TRUE(SameObject(chosen[1], weldA));
  EXPECT_TRUE(SameObject(chosen[2], weldB));
}

TEST_F(Dialog, ReplaceInAllTakesConsideredLinesBackAndGovernsTheContextBox) {
  Open();
  Select(dlg->Available(), {3});
  dlg->Find("RightPB")->Notify(TavDlgNotification::Activate);
  auto* all = static_cast<TavDlgCheckButton*>(dlg->Find("ReplaceInAllAct"));
  all->SetState(true, true);
  EXPECT_FALSE(dlg->Find("ResourceAssignment")->IsSensitive());
  EXPECT_TRUE(dlg->Find("RmvRsrcCtxt")->IsSensitive());
  static_cast<TavDlgCheckButton*>(dlg->Find("RmvRsrcCtxt"))->SetState(true, true);
  unsigned char removeContext = 0;
  auto chosen = Chosen(&removeContext);
  EXPECT_EQ(chosen.size(), 4u) << "the attaching activity moved right still counts";
  EXPECT_EQ(removeContext, 1);
  EXPECT_EQ(Lines(dlg->Available()).back(), "Attach");

  all->SetState(false, true);
  EXPECT_FALSE(static_cast<TavDlgCheckButton*>(dlg->Find("RmvRsrcCtxt"))->GetState());
  Chosen(&removeContext);
  EXPECT_EQ(removeContext, 0);
}

TEST_F(Dialog, TypedNamesResolveOrAreRefusedWithTheirBox) {
  Open();
  auto* with = dlg->WithEditor();
  with->SetText("Robot.9", true);
  Ref<TavIProduct> second;
  unsigned char outside = 1;
  dlg->GetSecondResource(second, outside);
  EXPECT_TRUE(SameObject(second, spare));
  EXPECT_EQ(outside, 0);

  // Names are unique among siblings only: a name two resources carry is no choice.
  doc->CreateProduct(station, "twin", "Gun.9");
  for (const char* bad : {"Nobody.1", "Robot.1", "bad\x01name", "Gun.9"}) {
    with->SetText(bad, true);
    dlg->GetSecondResource(second, outside);
    EXPECT_FALSE(second) << bad;
    EXPECT_TRUE(with->GetText().IsEmpty()) << bad;
  }
}

// ------------------------------------------------------------------ the service
struct Service : ::testing::Test, ReplacePlant {};

TEST_F(Service, TheNewInstanceStandsInPlaceAndTakesOverOnlyTheChosenActivities) {
  std::vector<Ref<TavISPPActivity>> chosen{weldB, weldB};
  Ref<TavIProduct> made;
  ASSERT_EQ(OrvVekReplaceResourceServices::ReplaceResource(robot, spare, &chosen, 0, 0, &made), S_OK);
  ASSERT_TRUE(made);
  EXPECT_TRUE(SameObject(made->GetFatherProduct(), station));
  EXPECT_EQ(made->GetPartNumber(), "RB-200");
  EXPECT_EQ(made->GetChildrenCount(), 1) << "the reference's gun comes along";
  EXPECT_EQ(query<TavIMovable>(made)->GetPosition(), robot->GetPosition());
  EXPECT_EQ(station->GetChildrenCount(), 2) << "the first resource stays";
  EXPECT_EQ(weldB->IsResourceAssigned(made, TavResourceCode::Uses), S_OK);
  EXPECT_EQ(weldB->IsResourceAssigned(robot, TavResourceCode::Uses), S_FALSE);
  EXPECT_EQ(weldA->IsResourceAssigned(robot, TavResourceCode::Uses), S_OK) << "not chosen: untouched";
  EXPECT_EQ(root->IsResourceAssigned(made, TavResourceCode::Uses), S_FALSE);
}

TEST_F(Service, AnItemKeepsItsCodeAndTheRelationItsAttributes) {
  query<TavIAttributeHolder>(attach->GetActivitySpecifications(robot).front())->SetAttribute("hub:Torque", 35.5);
  std::vector<Ref<TavISPPActivity>> chosen{attach};
  Ref<TavIProduct> made;
  ASSERT_EQ(OrvVekReplaceResourceServices::ReplaceResource(robot, spare, &chosen, 0, 0, &made), S_OK);
  EXPECT_EQ(attach->IsItemAssigned(made, TavItemCode::Attaches), S_OK);
  EXPECT_EQ(attach->IsItemAssigned(robot, TavItemCode::Attaches), S_FALSE);
  EXPECT_TRUE(attach->GetResources().empty()) << "no resource relation invented";
  auto specs = attach->GetActivitySpecifications(made);
  ASSERT_EQ(specs.size(), 1u);
  auto value = query<TavIAttributeHolder>(specs.front())->GetAttribute("hub:Torque");
  ASSERT_TRUE(value);
  EXPECT_EQ(std::get<double>(*value), 35.5);
}

TEST_F(Service, MissingPiecesFailWithoutChangingAnything) {
  std::vector<Ref<TavISPPActivity>> chosen{load};
  const std::size_t objects = doc->ObjectCount();
  EXPECT_EQ(OrvVekReplaceResourceServices::ReplaceResource(crane, spare, &chosen, 0, 0), E_FAIL) << "no father product";
  EXPECT_EQ(OrvVekReplaceResourceServices::ReplaceResource(robot, nullptr, &chosen, 0, 0), E_FAIL);
  EXPECT_EQ(doc->ObjectCount(), objects);
  EXPECT_EQ(load->IsResourceAssigned(crane, TavResourceCode::Uses), S_OK);
  TavUnicodeString message;
  EXPECT_FALSE(OrvVekReplaceResourceServices::IsResourceCompatible(root, message));
  EXPECT_FALSE(message.IsEmpty());
  EXPECT_EQ(OrvVekReplaceResourceServices::ReplaceInActivities(nullptr, robot, spare), 0);
}

TEST_F(Service, RemovingTheOldInstanceTakesItsRemainingRelationsAlong) {
  Ref<TavIProduct> made;
  ASSERT_EQ(OrvVekReplaceResourceServices::ReplaceResource(robot, spare, weldA, 1, 0, &made), S_OK);
  EXPECT_EQ(station->GetChildrenCount(), 1);
  EXPECT_TRUE(SameObject(station->GetChildren().front(), made));
  EXPECT_EQ(weldA->IsResourceAssigned(made, TavResourceCode::Uses), S_OK);
  EXPECT_TRUE(weldB->GetResources().empty());
  EXPECT_TRUE(doc->Resolve("Resources/Station.1/Robot.1").IsEmpty());
}

}  // namespace
