// The cross highlight: the relation queries each box makes, the indexed reverse
// lookup against the literal walk of every activity, and the command with its
// options dialog (settings, DC both ways, APPLY without a change, closing, a
// resource's behaviour, several objects picked together, assemblies attached to
// the viewpoint once).
#include "HostAssignment.h"
#include "HostUndo.h"
#include "OrvVekCrossHighlightCmd.h"
#include "PlantGenerator.h"
#include "TavModelChanges.h"
#include "ToolsPlant.h"

using namespace host;

namespace {

using Flags = OrvVekCrossHighlightFlags;
using List = std::vector<Ref<TavBaseUnknown>>;

// An activity that records the queries it is asked and answers nothing.
struct RecordingActivity final : TavISPPItemMgt, TavISPPResourceManagement {
  mutable std::vector<std::string> asked;
  HRESULT IsItemAssigned(const Ref<TavBaseUnknown>&, unsigned) const override { return S_FALSE; }
  List GetItems(const TavUnicodeString& kind, unsigned code) const override {
    asked.push_back(kind.utf8() + " " + std::to_string(code));
    return {};
  }
  HRESULT AddItem(const Ref<TavBaseUnknown>&, unsigned) override { return E_FAIL; }
  HRESULT RemoveItem(const Ref<TavBaseUnknown>&, unsigned) override { return E_FAIL; }
  std::vector<Ref<TavISPPActivitySpecification>> GetActivitySpecifications(const Ref<TavBaseUnknown>&) const override { return {}; }
  HRESULT IsResourceAssigned(const Ref<TavBaseUnknown>&, unsigned) const override { return S_FALSE; }
  List GetResources(unsigned code) const override {
    asked.push_back("Resource " + std::to_string(code));
    return {};
  }
  HRESULT AddResource(const Ref<TavBaseUnknown>&, unsigned) override { return E_FAIL; }
  HRESULT RemoveResource(const Ref<TavBaseUnknown>&, unsigned) override { return E_FAIL; }
};

TEST(CrossHighlightRelations, EachBoxAsksItsCodesInTheTablesOrder) {
  auto activity = std::make_shared<RecordingActivity>();
  OrvVekCrossHighlightRelations::GetAllRelatedItems(activity, Flags::All());
  EXPECT_EQ(activity->asked, (std::vector<std::string>{"Item 2", "Item 1", "Item 256", "Item 4", "Item 8", "Item 16", "Item 32",
                                                       "Item 64", "Resource 1", "Resource 4", "Resource 2"}));
  activity->asked.clear();
  OrvVekCrossHighlightRelations::GetAllRelatedItems(activity, Flags::FromValue(2 | 16));  // PPP and PIR: two queries each
  EXPECT_EQ(activity->asked, (std::vector<std::string>{"Item 1", "Item 256", "Item 32", "Item 64"}));
  activity->asked.clear();
  OrvVekCrossHighlightRelations::GetAllRelatedItems(activity, Flags());
  EXPECT_TRUE(activity->asked.empty());
  EXPECT_EQ(Flags::FromValue(1023).Value(), 1023);
  EXPECT_EQ(Flags::FromValue(512 | 8).Value(), 520);
}

bool SameList(const List& a, const List& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!SameObject(a[i], b[i])) return false;
  return true;
}

// Every product, resource and assembly of the plant, asked of the index and of the
// literal walk under the flags: the same activities in the same order.
void ExpectIndexMatchesWalk(OrvVekCrossHighlightIndex& index, const Ref<HostDocument>& doc, const Flags& flags) {
  List items;
  for (auto& root : doc->Products().roots_) {
    items.push_back(root);
    for (auto& d : root->GetAllDescendants()) items.push_back(d);
  }
  for (auto& root : doc->Resources().roots_) {
    items.push_back(root);
    for (auto& d : root->GetAllDescendants()) items.push_back(d);
  }
  for (auto& a : doc->Assemblies().assemblies_) items.push_back(a);
  for (const auto& item : items) {
    auto literal = OrvVekCrossHighlightRelations::GetAllRelatedActivities(doc, item, flags);
    auto indexed = index.GetAllRelatedActivities(doc, item, flags);
    ASSERT_TRUE(literal && indexed);
    ASSERT_TRUE(SameList(*literal, *indexed)) << "flags " << flags.Value() << ", item " << doc->PathString(item) << ": "
                                              << literal->size() << " literal, " << indexed->size() << " indexed";
  }
}

TEST(CrossHighlightIndex, AnswersAsTheLiteralWalkOnRandomPlantsAndBoxSets) {
  HostSession session;
  SplitMix64 rng(7);
  for (std::uint64_t seed = 1; seed <= 3; ++seed) {
    PlantSpec spec;
    spec.activities = 60;
    spec.products = 30;
    spec.resources = 10;
    spec.seed = seed;
    auto doc = GeneratePlant(spec);
    session.OpenDocument(doc);
    OrvVekCrossHighlightIndex index;
    for (int round = 0; round < 5; ++round) {
      const Flags flags = Flags::FromValue(round == 0 ? 1023 : static_cast<int>(rng.Below(1024)));
      ExpectIndexMatchesWalk(index, doc, flags);
    }
    // An unchanged model keeps its map; a recorded change is seen.
    ExpectIndexMatchesWalk(index, doc, Flags::All());
    const int builds = index.Builds();
    ExpectIndexMatchesWalk(index, doc, Flags::All());
    EXPECT_EQ(index.Builds(), builds);
    {
      UndoScope job(*doc);
      auto activity = doc->Process().roots_.front()->GetChildActivities().back();
      query<TavISPPItemMgt>(activity)->AddItem(doc->Products().roots_.front(), TavItemCode::Processes);
      job.Keep("relate");
    }
    ExpectIndexMatchesWalk(index, doc, Flags::All());
    EXPECT_EQ(index.Builds(), builds + 1);
  }
}

TEST(CrossHighlightIndex, NoProcessContainerAnswersNull) {
  OrvVekCrossHighlightIndex index;
  EXPECT_FALSE(index.GetAllRelatedActivities(nullptr, nullptr, Flags::All()));
  EXPECT_FALSE(OrvVekCrossHighlightRelations::GetAllRelatedActivities(nullptr, nullptr, Flags::All()));
}

// Plant > Line > (Weld: processes Door.1, uses Robot.1; Cell > Glue: processes Panel.1,
// outputs Kit); Robot.1's behaviour takes Bracket.1.
struct CrossHighlight : ToolsPlant {
  Ref<HostRootActivity> root;
  Ref<HostActivity> line, weld, cell, glue;
  Ref<HostProduct> door, panel, bracket, station, robot;
  Ref<HostAssembly> kit;
  Ref<HostBehavior> behavior;

  CrossHighlight() {
    root = doc->CreateRootProcess("proc", "Plant");
    line = doc->CreateActivity(root, "Activity", "line", "Line");
    weld = doc->CreateActivity(line, "PhysicalActivity", "weld", "Weld");
    cell = doc->CreateActivity(line, "Activity", "cell", "Cell");
    glue = doc->CreateActivity(cell, "PhysicalActivity", "glue", "Glue");
    door = doc->CreateProduct(nullptr, "door", "Door.1");
    panel = doc->CreateProduct(nullptr, "panel", "Panel.1");
    bracket = doc->CreateProduct(nullptr, "bracket", "Bracket.1");
    station = doc->CreateProduct(nullptr, "st", "Station.1", {}, true);
    robot = doc->CreateProduct(station, "rb", "Robot.1", {}, true);
    robot->SetResourceType("Robot");
    kit = doc->CreateAssembly("kit", "Kit.1");
    weld->AddItem(door, TavItemCode::Processes);
    weld->AddResource(robot, TavResourceCode::Uses);
    glue->AddItem(panel, TavItemCode::Processes);
    glue->AddItem(kit, TavItemCode::Processes);
    behavior = AssignmentOf(*doc, true)->CreateBehavior(robot, "beh", {});
    behavior->AddInputItem(bracket);
    Open();
    auto& settings = TavSettingRepository::GetRepository(OrvVekCrossHighlightDlg::kSettings);
    for (const auto& box : OrvVekCrossHighlightBoxes()) settings.Write(box.name, true);
  }
  OrvVekCrossHighlightCmd* Cmd() { return dynamic_cast<OrvVekCrossHighlightCmd*>(engine.RunningCommand()); }
  OrvVekCrossHighlightDlg* Dlg() { return Cmd() ? Cmd()->Dialog() : nullptr; }
  void Set(const char* box, bool on) {
    std::string err;
    ASSERT_TRUE(Dlg()->Box(box)->SetValueFromText(on ? "checked" : "unchecked", &err)) << err;
  }
  std::vector<std::string> Hso() {
    std::vector<std::string> out;
    for (auto& p : session.CurrentHostEditor()->GetHSO().Items()) out.push_back(doc->PathString(p.GetLeaf()));
    return out;
  }
};

TEST_F(CrossHighlight, DescendantsCountBothWaysAndAnUnreadableSettingStartsChecked) {
  auto& settings = TavSettingRepository::GetRepository(OrvVekCrossHighlightDlg::kSettings);
  settings.Write("DC", false);
  settings.Write("PPP", TavUnicodeString("yes"));  // no bool: checked
  Start("OrvVekCrossHighlightCmd");
  ASSERT_TRUE(Dlg());
  EXPECT_FALSE(Dlg()->Box("DC")->GetState());
  EXPECT_TRUE(Dlg()->Box("PPP")->GetState());
  EXPECT_EQ(Dlg()->GetValues(), 511);
  // DC off: the parent relates nothing itself; the product shows its own activity.
  ASSERT_TRUE(Pick(cell));
  EXPECT_EQ(Hso(), std::vector<std::string>{"Plant/Line/Cell"});
  ASSERT_TRUE(Pick(panel));
  EXPECT_EQ(Hso(), (std::vector<std::string>{"Plant/Line/Cell/Glue", "Products/Panel.1"}));
  // DC on (applied at once): the product is found under every ancestor.
  Set("DC", true);
  EXPECT_EQ(Hso(), (std::vector<std::string>{"Plant", "Plant/Line", "Plant/Line/Cell", "Plant/Line/Cell/Glue", "Products/Panel.1"}));
  ASSERT_TRUE(Pick(cell));
  EXPECT_EQ(Hso(), (std::vector<std::string>{"Products/Panel.1", "Assemblies/Kit.1", "Plant/Line/Cell"}));
  EXPECT_EQ(session.CurrentHostEditor()->GetCSO().GetSize(), 3);
  // The assembly was attached to the viewpoint once, however often it is shown.
  ASSERT_TRUE(Pick(glue));
  ASSERT_TRUE(TavMainViewpoint());
  EXPECT_EQ(TavMainViewpoint()->GetAttached().size(), 1u);
}

TEST_F(CrossHighlight, AllBoxesOffShowsTheActivityAloneAndApplyWithoutAChangeDoesNothing) {
  Start("OrvVekCrossHighlightCmd");
  for (const auto& box : OrvVekCrossHighlightBoxes()) Set(box.name, false);
  ASSERT_TRUE(Pick(weld));
  EXPECT_EQ(Hso(), std::vector<std::string>{"Plant/Line/Weld"});
  Set("PUR", true);
  EXPECT_EQ(Hso(), (std::vector<std::string>{"Resources/Station.1/Robot.1", "Plant/Line/Weld"}));
  session.CurrentHostEditor()->GetHSO().Empty();
  Dlg()->Notify(TavDlgNotification::Apply);  // no box changed since
  EXPECT_TRUE(Hso().empty());
  EXPECT_TRUE(Dlg()->GetChangeFinished());
}

TEST_F(CrossHighlight, AResourceShowsItsBehavioursItemsAndTheActivitiesUsingIt) {
  Start("OrvVekCrossHighlightCmd");
  ASSERT_TRUE(Pick(robot));
  EXPECT_EQ(Hso(), (std::vector<std::string>{"Products/Bracket.1", "Resources/Station.1/Robot.1/" + behavior->GetLabel().utf8(),
                                            "Plant", "Plant/Line", "Plant/Line/Weld", "Resources/Station.1/Robot.1"}));
  // With DC, the station shows its robot's behaviour too.
  ASSERT_TRUE(Pick(station));
  EXPECT_EQ(Hso().front(), "Products/Bracket.1");
}

TEST_F(CrossHighlight, ClosingTheOptionsKeepsTheCommandAndSeveralPicksAreShownTogether) {
  Start("OrvVekCrossHighlightCmd");
  Set("DC", false);
  Dlg()->Notify(TavDlgNotification::Close);
  EXPECT_EQ(State(), "SelectObject");
  EXPECT_FALSE(Dlg());
  EXPECT_FALSE(TavDlgDialog::FindByName(OrvVekCrossHighlightDlg::kName));
  std::string err;
  ASSERT_TRUE(engine.Pick(std::vector<TavPathElement>{doc->PathOf(weld), doc->PathOf(panel)}, &err)) << err;
  // The boxes as the dialog was closed hold: DC off.
  EXPECT_EQ(Hso(), (std::vector<std::string>{"Products/Door.1", "Resources/Station.1/Robot.1", "Plant/Line/Weld",
                                            "Plant/Line/Cell/Glue", "Products/Panel.1"}));
  EXPECT_EQ(Cmd()->PickedPaths().size(), 2u);
}

}  // namespace
