// The results dialog of a comparison: header, Modified marks, attribute panels, the
// summary page with its dots, the trees with the fastener folder, double-click into
// either plant's window; the hub change orders (plant section, notes written with
// undo, the dialogs OK opens); the compare tool command from pick to close.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ComparePlant.h"
#include "FileWriter.h"
#include "HostEngine.h"
#include "OrvProcessCompareToolCmd.h"
#include "OrvVekCompareChangeOrderDlg.h"
#include "OrvVekCompareUtilities.h"
#include "PlantDocument.h"
#include "TavDialog.h"
#include "TavNavigBox.h"
#include "TavSettingComponents.h"

using namespace cmptest;
using Node = OrvVekCompareDlgNavigateObject;
using host::ParsePlant;
using host::SerializePlant;

namespace {

template <class W>
W* Widget(TavDlgDialog* d, const char* name) {
  return d ? dynamic_cast<W*>(d->Find(name)) : nullptr;
}

std::vector<std::string> RowCells(TavDlgMultiList* l, int row) {
  std::vector<std::string> out;
  for (int c = 0; c < l->GetColumnCount(); ++c) out.push_back(l->GetColumnItem(c, row).utf8());
  return out;
}

struct Shown : CompareTest {
  Version a, b;
  Engine e;
  TavDlgDialog* Show(int kind, const Ref<TavBaseUnknown>& r1, const Ref<TavBaseUnknown>& r2, int filter, bool summary = false,
                     bool all = false) {
    e.showDialog = true;
    e.SetSummaryPage(summary);
    e.SetDisplayAllAtts(all);
    Run(e, r1, r2, kind, filter, a, b);
    return e.GetDialog();
  }
};

TEST_F(Shown, HeaderNamesTheModifiedRootFirstAndMarksEachChange) {
  auto fa = a.Act("f", "Frame"), fb = b.Act("f", "Frame");
  auto ga = a.Act("g", "Group"), gb = b.Act("g", "Group");
  a.Act("w", "Weld", fa);
  b.Act("w", "Weld", gb);  // moved: its father changed, nothing else
  a.doc->SetDisplayName("Line A");
  b.doc->SetDisplayName("Line B");
  b.root->SetLabel("Process v2");
  TavDlgDialog* d = Show(E::Activities, a.root, b.root, E::Father | E::Children);
  ASSERT_TRUE(d);
  EXPECT_TRUE(d->IsVisible());
  EXPECT_GE(d->GetWidth(), 600);
  EXPECT_GE(d->GetHeight(), 600);
  EXPECT_EQ(Widget<TavDlgLabel>(d, "FirstProjectValue")->GetTitle(), "Line B");
  EXPECT_EQ(Widget<TavDlgLabel>(d, "SecondProjectValue")->GetTitle(), "Line A");
  EXPECT_EQ(Widget<TavDlgLabel>(d, "FirstSelectedValue")->GetTitle(), "Process/Process v2");
  EXPECT_EQ(Widget<TavDlgLabel>(d, "FirstSelectedValue")->GetToolTip(), "Process\nProcess v2");
  auto* modified = Widget<TavDlgMultiList>(d, "SelectListModified");
  ASSERT_EQ(modified->GetColumnCount(), 7);
  EXPECT_EQ(modified->GetColumnTitles()[4], "Father");
  // "Weld" moved: the mark in EC04 alone; its two fathers lost and gained a child.
  std::vector<std::vector<std::string>> rows;  // pair order is the dictionaries'
  for (int r = 0; r < modified->GetLineCount(); ++r) rows.push_back(RowCells(modified, r));
  EXPECT_NE(std::find(rows.begin(), rows.end(), std::vector<std::string>{"Weld", " ", " ", " ", "X", " ", " "}), rows.end());
  EXPECT_NE(std::find(rows.begin(), rows.end(), std::vector<std::string>{"Frame", " ", " ", " ", " ", "X", " "}), rows.end());
  // No attribute filter: selecting a pair shows no attribute.
  modified->SetSelect(0, true);
  EXPECT_EQ(Widget<TavDlgMultiList>(d, "SelectListModifiedAttribute")->GetLineCount(), 0);
  EXPECT_EQ(d->Find("TabPageSummary"), nullptr);
}

TEST_F(Shown, AttributePanelsFollowTheFilterAndTheDisplayChoice) {
  auto xa = a.Act("x", "Weld"), xb = b.Act("x", "Weld v2");
  xa->SetAttribute("Cost", 2.0);
  xb->SetAttribute("Cost", 2.0);
  b.Act("n", "New");
  TavDlgDialog* d = Show(E::Activities, a.root, b.root, E::AllAttributes);
  auto* panel = Widget<TavDlgMultiList>(d, "SelectListModifiedAttribute");
  Widget<TavDlgMultiList>(d, "SelectListModified")->SetSelect(0, true);
  ASSERT_EQ(panel->GetLineCount(), 1);  // only what changed
  EXPECT_EQ(RowCells(panel, 0), (std::vector<std::string>{"Name", "Weld", "Weld v2"}));
  Widget<TavDlgMultiList>(d, "SelectListAdded")->SetSelect(0, true);
  auto* added = Widget<TavDlgMultiList>(d, "SelectListAddedAttribute");
  EXPECT_GT(added->GetLineCount(), 1);
  EXPECT_EQ(added->GetColumnCount(), 2);
  // Displaying all attributes lists the unchanged cost too.
  Engine all;
  all.showDialog = true;
  all.SetDisplayAllAtts(true);
  Run(all, a.root, b.root, E::Activities, E::AllAttributes, a, b);
  Widget<TavDlgMultiList>(all.GetDialog(), "SelectListModified")->SetSelect(0, true);
  auto* full = Widget<TavDlgMultiList>(all.GetDialog(), "SelectListModifiedAttribute");
  bool cost = false;
  for (int r = 0; r < full->GetLineCount(); ++r) cost = cost || RowCells(full, r)[0] == "Cost";
  EXPECT_TRUE(cost);
}

TEST_F(Shown, SummaryCountsAndDotsForUnchangedValues) {
  auto xa = a.Act("x", "Weld"), xb = b.Act("x", "Weld v2");
  xa->SetAttribute("Cost", 2.0);
  xb->SetAttribute("Cost", 2.0);
  a.Act("old", "Old");
  b.Act("n1", "New");
  b.Act("n2", "Newer");
  std::string problem;
  ASSERT_TRUE(OrvVekCompareUtilities::SaveCheckList(a.root->LateType(), {"Name", "Cost"}, {"V", "V"}, problem)) << problem;
  TavDlgDialog* d = Show(E::Activities, a.root, b.root, E::AllAttributes, true);
  EXPECT_EQ(e.SummaryTotal(), 4);
  EXPECT_EQ(Widget<TavDlgLabel>(d, "AllWireCountLabel")->GetTitle(), "All: 4");
  EXPECT_EQ(Widget<TavDlgLabel>(d, "AddedWireCountLabel")->GetTitle(), "Added: 2");
  auto* modified = Widget<TavDlgMultiList>(d, "SelectListSummaryModified");
  ASSERT_EQ(modified->GetLineCount(), 2);
  EXPECT_EQ(RowCells(modified, 1), (std::vector<std::string>{"Weld v2", "Weld v2", "2"}));
  e.OnToggleValue();
  EXPECT_EQ(RowCells(modified, 1), (std::vector<std::string>{"Weld v2", "Weld v2", "..."}));
  e.OnToggleValue();
  EXPECT_EQ(RowCells(modified, 1)[2], "2");
}

TEST_F(Shown, ProductTreesGatherFastenersUnderAFolder) {
  auto pa = a.Prod("body", "Body"), pb = b.Prod("body", "Body");
  auto da = a.Prod("door", "Door", pa), db = b.Prod("door", "Door", pb);
  a.Fastener("sw1", {da}, 0);
  b.Fastener("sw1", {db}, 5);  // moved beyond the tolerance
  b.Fastener("sw2", {db});
  TavDlgDialog* d = Show(E::Products, pa, pb, 0);
  auto* modified = Widget<TavDlgMultiList>(d, "SelectListModified");
  ASSERT_EQ(modified->GetLineCount(), 1);
  EXPECT_EQ(RowCells(modified, 0), (std::vector<std::string>{"Door", " ", " ", " ", "X"}));
  const Node* tree = e.GraphTree(1);
  const Node* door = tree->Children()[0].get();
  EXPECT_EQ(door->GetIconType(), Node::Folder);
  const Node* folder = door->Children().back().get();
  EXPECT_EQ(folder->GetIdentifier(), "Joints");
  ASSERT_EQ(folder->Children().size(), 2u);
  EXPECT_EQ(folder->Children()[0]->GetIconType(), Node::Modified);
  EXPECT_EQ(folder->Children()[1]->GetIconType(), Node::Added);
  // The navigation box shows the nodes with their icons.
  auto* box = Widget<TavDlgNavigBox>(d, "GraphicalTreeFirst");
  ASSERT_EQ(box->Roots().size(), 1u);
  std::string err;
  auto* node = box->ResolveNode("Body/Door/Joints/sw2", &err);
  ASSERT_TRUE(node) << err;
  EXPECT_EQ(node->GetIconName(), "I_OrvVekCompToolNew");
}

TEST_F(Shown, DoubleClickShowsTheObjectInItsOwnPlantsWindow) {
  a.Act("x", "Weld");
  b.Act("x", "Weld v2");
  b.Act("n", "New");
  auto eda = session_->OpenDocument(a.doc);
  auto edb = session_->OpenDocument(b.doc);
  session_->SetCurrentEditor(eda);
  TavDlgDialog* d = Show(E::Activities, a.root, b.root, E::AllAttributes);
  // The added activity lives in B, not in the current plant: B's window shows it.
  Widget<TavDlgMultiList>(d, "SelectListAdded")->SetSelect(0);
  e.OnDoubleClick(0);
  ASSERT_EQ(edb->GetHSO().GetSize(), 1);
  EXPECT_EQ(b.doc->PathString(edb->GetHSO().Items()[0].GetLeaf()), "Process/New");
  EXPECT_EQ(edb->Viewer().GetLastFrame().size(), 1u);
  EXPECT_EQ(eda->GetHSO().GetSize(), 0);
  // With B current, the same line is shown in the current editor.
  session_->SetCurrentEditor(edb);
  edb->GetHSO().Empty();
  e.OnDoubleClick(0);
  EXPECT_EQ(edb->GetHSO().GetSize(), 1);
  // Nothing selected: nothing happens.
  Widget<TavDlgMultiList>(d, "SelectListAdded")->SetSelect(-1);
  edb->GetHSO().Empty();
  e.OnDoubleClick(0);
  EXPECT_EQ(edb->GetHSO().GetSize(), 0);
}

// ------------------------------------------------------------------ change orders
constexpr const char* kHub = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="hub" name="Rev B">
  <process id="proc" name="Process" type="Activity">
    <activity id="a1" name="Load" type="PhysicalActivity"/>
  </process>
  <changeOrders>
    <changeOrder ref="proc" slot="changeorderbegin" name="CO-17" note="first draft"/>
    <changeOrder ref="proc" slot="changeorderend" name="CO-18"/>
  </changeOrders>
</plant>
)";

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  auto at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

TEST(HubChangeOrders, RoundTripAndStrictLoading) {
  host::HostSession session;
  std::string error;
  auto doc = ParsePlant(kHub, "hub.xml", error);
  ASSERT_TRUE(doc) << error;
  auto mgt = TavYorAttributeMgtOf(doc);
  ASSERT_TRUE(mgt);
  auto proc = doc->FindById("proc");
  TavUnicodeString v;
  ASSERT_EQ(mgt->GetRecordObjectField(proc, "changeorderbegin", "name", v), S_OK);
  EXPECT_EQ(v, "CO-17");
  ASSERT_EQ(mgt->GetRecordObjectField(proc, "changeorderend", "note", v), S_OK);
  EXPECT_EQ(v, "");
  EXPECT_EQ(mgt->GetRecordObjectField(proc, "changeorderend", "owner", v), E_FAIL);
  EXPECT_EQ(mgt->GetRecordObjectField(doc->FindById("a1"), "changeorderbegin", "name", v), E_FAIL);
  // Only notes are written; the name is the hub's.
  EXPECT_EQ(mgt->SetRecordObjectField(proc, "changeorderbegin", "name", "X"), E_FAIL);
  EXPECT_EQ(mgt->SetRecordObjectField(doc->FindById("a1"), "changeorderbegin", "note", "X"), E_FAIL);
  EXPECT_EQ(SerializePlant(*doc, "hub.xml", nullptr), kHub);
  ASSERT_EQ(mgt->SetRecordObjectField(proc, "changeorderend", "note", "line 1\nline \"2\" & <3>"), S_OK);
  auto again = ParsePlant(SerializePlant(*doc, "hub.xml", nullptr), "hub.xml", error);
  ASSERT_TRUE(again) << error;
  ASSERT_EQ(TavYorAttributeMgtOf(again)->GetRecordObjectField(again->FindById("proc"), "changeorderend", "note", v), S_OK);
  EXPECT_EQ(v, "line 1\nline \"2\" & <3>");
  // A local plant has no hub records.
  auto local = ParsePlant(Replace(Replace(kHub, R"(environment="hub")", R"(environment="local")"),
                                  "<changeOrders>", "<!-- --><changeOrders>"), "local.xml", error);
  EXPECT_FALSE(local);
  EXPECT_NE(error.find("need a hub plant"), std::string::npos) << error;
  auto fails = [](const std::string& text, const std::string& needle) {
    std::string err;
    EXPECT_FALSE(ParsePlant(text, "bad.xml", err));
    EXPECT_NE(err.find(needle), std::string::npos) << err;
  };
  fails(Replace(kHub, "changeorderend", "changeorderbegin"), "has a changeorderbegin already");
  fails(Replace(kHub, "changeorderend", "changeordermiddle"), "neither changeorderbegin nor changeorderend");
  fails(Replace(kHub, R"(ref="proc" slot="changeorderend")", R"(ref="nowhere" slot="changeorderend")"), "nowhere");
  fails(Replace(kHub, R"( name="CO-18")", ""), "name");
  fails(Replace(kHub, R"(name="CO-18")", R"(name="CO-18" owner="me")"), "owner");
}

std::string WithoutChangeOrders(std::string s) {
  const auto from = s.find("  <changeOrders>"), to = s.find("</changeOrders>\n");
  return s.erase(from, to + 16 - from);
}

struct HubResults : ::testing::Test {
  host::HostSession session;
  std::ostringstream out;
  host::HostEngine engine{&out};
  Ref<HostDocument> original, modified;
  Engine e;
  // Compares Rev A (no change orders) with `text` (Rev B) in hub mode and presses OK.
  void OkOn(const std::string& text) {
    session.SetHasMainWindow(false);
    std::string error;
    original = ParsePlant(WithoutChangeOrders(Replace(kHub, "Rev B", "Rev A")), "a.xml", error);
    ASSERT_TRUE(original) << error;
    modified = ParsePlant(text, "b.xml", error);
    ASSERT_TRUE(modified) << error;
    e.showDialog = true;
    e.SetHxMode(true);
    e.SetType(E::Activities);
    e.Initialize(original->FindById("proc"), modified->FindById("proc"), TavYorAdapterOf(original), TavYorAdapterOf(modified),
                 original, modified);
    e.StartComparison({}, 0);
    e.GetDialog()->Notify(TavDlgNotification::OK);
  }
  TavUnicodeString Note(const char* slot) {
    TavUnicodeString v;
    TavYorAttributeMgtOf(modified)->GetRecordObjectField(modified->FindById("proc"), slot, "note", v);
    return v;
  }
};

TEST_F(HubResults, BothChangeOrdersChooseWhoseNoteIsEdited) {
  OkOn(kHub);
  auto* d = TavDlgDialog::FindByName("OrvVekCompareChangeOrderComboDlg");
  ASSERT_TRUE(d);
  EXPECT_FALSE(e.IsClosed());
  auto* notes = Widget<TavDlgEditor>(d, "ChangeOrderNotes");
  EXPECT_EQ(notes->GetText(), "first draft");
  notes->SetText("begin note");
  Widget<TavDlgCombo>(d, "ChangeOrderCombo")->SetSelect(1, true);
  EXPECT_EQ(notes->GetText(), "");
  notes->SetText("end note");
  d->Notify(TavDlgNotification::OK);
  EXPECT_EQ(Note("changeorderbegin"), "begin note");
  EXPECT_EQ(Note("changeorderend"), "end note");
  EXPECT_TRUE(e.IsClosed());
}

TEST_F(HubResults, OneChangeOrderShowsItsNameAndCancelChangesNothing) {
  OkOn(Replace(kHub, "    <changeOrder ref=\"proc\" slot=\"changeorderend\" name=\"CO-18\"/>\n", ""));
  auto* d = TavDlgDialog::FindByName("OrvVekCompareChangeOrderDlg");
  ASSERT_TRUE(d);
  EXPECT_EQ(Widget<TavDlgEditor>(d, "ChangeOrderName")->GetText(), "CO-17");
  Widget<TavDlgEditor>(d, "ChangeOrderNotes")->SetText("changed");
  d->Notify(TavDlgNotification::Cancel);
  EXPECT_EQ(Note("changeorderbegin"), "first draft");
  EXPECT_FALSE(e.IsClosed());  // back to the results
}

TEST_F(HubResults, NoChangeOrderWarnsAndCloses) {
  OkOn(WithoutChangeOrders(kHub));
  ASSERT_FALSE(e.Warnings().empty());
  EXPECT_EQ(e.Warnings().back().errorType, 1);
  EXPECT_TRUE(e.IsClosed());
}

// A record that refuses every note.
class RefusingRecord final : public TavIYorAttributeMgt {
public:
  HRESULT GetRecordObjectField(const Ref<TavBaseUnknown>&, const TavUnicodeString&, const TavUnicodeString&,
                               TavUnicodeString&) const override {
    return E_FAIL;
  }
  HRESULT SetRecordObjectField(const Ref<TavBaseUnknown>&, const TavUnicodeString&, const TavUnicodeString&,
                               const TavUnicodeString&) override {
    return E_FAIL;
  }
};

TEST_F(HubResults, ANoteThatCannotBeWrittenSaysSoAndStays) {
  bool done = false;
  OrvVekCompareChangeOrderDlg d(nullptr, std::make_shared<RefusingRecord>(), nullptr, {"changeorderbegin", "CO-1", "old"},
                                [&](bool) { done = true; });
  Widget<TavDlgEditor>(&d, "ChangeOrderNotes")->SetText("new");
  EXPECT_FALSE(d.OnChangeOrderDlgOK());
  EXPECT_FALSE(done);
  ASSERT_FALSE(engine.Messages().empty());
  EXPECT_EQ(engine.Messages().back().kind, "error");
  EXPECT_EQ(d.Orders()[0].note, "old");
  // An unchanged note is not written at all.
  Widget<TavDlgEditor>(&d, "ChangeOrderNotes")->SetText("old");
  EXPECT_TRUE(d.OnChangeOrderDlgOK());
  EXPECT_TRUE(done);
}

// ------------------------------------------------------------------ the command
struct Tool : CompareTest {
  std::ostringstream out;
  std::unique_ptr<host::HostEngine> engine;
  OrvProcessCompareToolCmd* cmd = nullptr;
  Version a, b;
  void Start() {
    engine = std::make_unique<host::HostEngine>(&out);
    session_->SetCurrentEditor(session_->OpenDocument(b.doc));
    session_->SetCurrentEditor(session_->OpenDocument(a.doc));
    auto c = std::make_unique<OrvProcessCompareToolCmd>();
    cmd = c.get();
    std::string err;
    ASSERT_TRUE(engine->StartCommand(std::move(c), &err)) << err;
  }
  bool Pick(const Version& v, const Ref<TavBaseUnknown>& o, std::string* why = nullptr) {
    std::string err;
    const bool ok = engine->Pick(v.doc->PathOf(o), &err, nullptr, v.doc != a.doc);
    if (why) *why = err;
    return ok;
  }
  std::string State() {
    auto* c = engine->RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
};

TEST_F(Tool, PicksInTwoPlantsFilterAndShowTheResults) {
  a.Act("x", "Weld");
  b.Act("x", "Weld v2");
  auto pa = a.Prod("p", "Part");
  Start();
  // A product is no pick for the second root of a process.
  ASSERT_TRUE(Pick(a, a.root));
  EXPECT_EQ(State(), "SelectSecondObject");
  std::string why;
  EXPECT_FALSE(Pick(a, pa, &why));
  EXPECT_NE(why.find("the second pick must be an activity like the first one, not a product"), std::string::npos) << why;
  EXPECT_FALSE(Pick(a, a.root, &why));
  EXPECT_NE(why.find("another"), std::string::npos) << why;
  ASSERT_TRUE(Pick(b, b.root));
  EXPECT_EQ(State(), "SelectProcessFilter");
  auto* filter = cmd->FilterDialog();
  ASSERT_TRUE(filter && filter->IsVisible());
  Widget<TavDlgRadioButton>(filter, "AllRadio")->SetState(true, true);
  filter->Notify(TavDlgNotification::OK);
  EXPECT_EQ(State(), "ShowProcessCompareResults");
  TavDlgDialog* results = cmd->Engine()->GetDialog();
  ASSERT_TRUE(results && results->IsVisible());
  EXPECT_EQ(Widget<TavDlgMultiList>(results, "SelectListModified")->GetLineCount(), 1);
  results->Notify(TavDlgNotification::OK);
  EXPECT_EQ(State(), "ended");
}

TEST_F(Tool, AWrongFirstPickAndUncomparableRoots) {
  auto fa = a.Fastener("sw", {});
  auto fb = b.Fastener("sw", {});
  Start();
  // The product list is nothing to compare: error 1, the command waits.
  std::string err;
  const TavPathElement products({a.doc->GetRootContainer(TavIPPRProductList::kInterfaceName)});
  EXPECT_TRUE(engine->Pick(products, &err)) << err;
  ASSERT_FALSE(engine->Messages().empty());
  EXPECT_NE(engine->Messages().back().text.find("cannot be compared"), std::string::npos);
  EXPECT_EQ(State(), "SelectComparableObject");
  // Roots whose compare conditions differ while the root check is on: no filter.
  Settings().Write("CheckRoot.4", true);
  b.Fastener("other", {});
  ASSERT_TRUE(Pick(a, fa));
  ASSERT_TRUE(Pick(b, b.doc->FindById("other")));
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(engine->Messages().back().kind, "warning");
  (void)fb;
}

// Each kind takes its own check states to the filter, which offers the process
// check boxes for processes alone.
TEST_F(Tool, EachKindReachesTheFilterThroughItsCheckStates) {
  auto pa = a.Prod("p", "Part"), pb = b.Prod("p", "Part");
  auto ra = a.Res("r", "Robot"), rb = b.Res("r", "Robot");
  auto ma = a.doc->CreateAssembly("m", "Sub"), mb = b.doc->CreateAssembly("m", "Sub");
  auto fa = a.Fastener("f", {}), fb = b.Fastener("f", {});
  Start();
  struct Case {
    Ref<TavBaseUnknown> first, second;
    OrvProcessCompareToolCmd::Kind kind;
    bool processBoxes;
  };
  const Case cases[] = {{a.root, b.root, OrvProcessCompareToolCmd::IsActivity, true},
                        {pa, pb, OrvProcessCompareToolCmd::IsProduct, false},
                        {ra, rb, OrvProcessCompareToolCmd::IsResource, false},
                        {ma, mb, OrvProcessCompareToolCmd::IsMA, false},
                        {fa, fb, OrvProcessCompareToolCmd::IsFastener, false}};
  for (const Case& c : cases) {
    if (!engine->RunningCommand()) {
      auto next = std::make_unique<OrvProcessCompareToolCmd>();
      cmd = next.get();
      std::string err;
      ASSERT_TRUE(engine->StartCommand(std::move(next), &err)) << err;
    }
    ASSERT_TRUE(Pick(a, c.first));
    EXPECT_EQ(cmd->FirstKind(), c.kind);
    ASSERT_TRUE(Pick(b, c.second));
    EXPECT_EQ(State(), "SelectProcessFilter");
    auto* filter = cmd->FilterDialog();
    EXPECT_EQ(Widget<TavDlgCheckButton>(filter, "Itms")->IsVisible(), c.processBoxes);
    EXPECT_EQ(Widget<TavDlgCheckButton>(filter, "SeqAct")->IsVisible(), c.processBoxes);
    filter->Notify(TavDlgNotification::Cancel);
    EXPECT_EQ(State(), "ended");
  }
}

}  // namespace

namespace {

TEST(CompareCatalogues, EveryTextTheResultsAndTheToolLookUpIsThere) {
  host::HostSession session;
  const std::vector<std::string> results{
      "MainTitle", "OKTitle", "CancelTitle", "Separator", "ProcessList", "ProductList", "ResourcesList",
      "FirstSelectedLabel", "SecondSelectedLabel", "FirstKwProjectLabel", "SecondKwProjectLabel", "FirstHxProjectLabel",
      "SecondHxProjectLabel", "TabPageSummary.Title", "TabPageAdded.Title", "TabPageRemoved.Title", "TabPageModified.Title",
      "TabPageGraphicalTree.Title", "AddedActivities", "RemovedActivities", "Attribute", "Value",
      "ModifiedActivitiesAttribute", "OldValue", "NewValue", "AllWireCountLabel", "AddedWireCountLabel",
      "RemovedWireCountLabel", "ModifiedWireCountLabel", "Activities", "Dots", "XXX", "ModifiedActivities", "EC01", "EC02",
      "EC03", "EC04", "EC05", "EC06", "EC07", "GraphicalTreeAssemblyJointsFolderName", "SelectAttsPB.Title",
      "ToggleValuePB.Title", "ExportToXMLPB.Title", "OrvVekCompareDlgBase.InfoWnd.Title",
      "OrvVekCompareDlgBase.InfoWnd2.Title", "OrvVekCompareDlgBase.TextNoChangeOrderObjectAvailable",
      "OrvVekCompareDlgBase.ManyObjectsWithSameCompareConditions", "OrvVekCompareDlgBase.TextDefault",
      "OrvVekCompareDlgBase.AttributeNotEqual", "OrvVekCompareDlgBase.FirstObject", "OrvVekCompareDlgBase.SecondObject"};
  for (const auto& k : results) EXPECT_TRUE(TavMsgCatalog::HasKey("OrvVekCompareDlgBase", k)) << k;
  for (const char* k : {"ChangeOrderDlg.Title", "ChangeOrderNameFrame.Title", "ChangeOrderComboFrame.Title",
                        "ChangeOrderComboLabel.Title", "ChangeOrderNotesFrame.Title", "ChangeOrderNotesLabel.Title",
                        "ChangeOrderBegin", "ChangeOrderEnd", "OK.Title", "Cancel.Title", "Error.Title", "WriteFailed"})
    EXPECT_TRUE(TavMsgCatalog::HasKey("OrvVekCompareChangeOrderDlg", k)) << k;
  for (const char* k : {"OrvProcessCompareToolCmd.InfoWnd.Title", "OrvProcessCompareToolCmd.ObjectNotAccepted",
                        "OrvProcessCompareToolCmd.TextDefault"})
    EXPECT_TRUE(TavMsgCatalog::HasKey(OrvProcessCompareToolCmd::kCatalog, k)) << k;
  // The icon buttons of the attribute selection say what they do.
  for (const char* b : {"AddAttribute", "RemoveAttribute", "ToUp", "ToDown", "ToTop", "ToBottom", "SortABCPrompts",
                        "SortKwHxPrompts", "SortABCNames", "SortKwHxNames"})
    EXPECT_TRUE(TavMsgCatalog::HasKey("OrvVekCompareFilterAttsDlg", std::string(b) + ".Help")) << b;
}

}  // namespace

// ------------------------------------------------------------------ the XML report
namespace {

std::string Report(Engine& e, int* errors = nullptr) {
  std::string out;
  int bits = 0;
  e.WriteToXML(&out, bits);
  if (errors) *errors = bits;
  return out;
}

TEST_F(Shown, AnEmptyComparisonReportsThreeEmptyLists) {
  a.doc->SetDisplayName("Line A");
  Show(E::Activities, a.root, b.root, E::AllAttributes);
  int errors = -1;
  EXPECT_EQ(Report(e, &errors),
            "<?xml version='1.0' encoding='ISO-8859-1' ?>\n"
            "<CompareToolResults>\n"
            "  <Information>\n"
            "  <FirstSelected name=\"Modified:\">Process/Process</FirstSelected>\n"
            "  <FirstProject name=\"Modified plant:\">Plant</FirstProject>\n"
            "  <SecondSelected name=\"Original:\">Process/Process</SecondSelected>\n"
            "  <SecondProject name=\"Original plant:\">Line A</SecondProject>\n"
            "</Information>\n"
            "  <AllElementCount name=\"All: \">0</AllElementCount>\n"
            "  <ObjectList name=\"Added objects\">\n"
            "    <ElementCount name=\"Added: \">0</ElementCount>\n"
            "    <ObjectTitleRow name=\"Title Added objects\">\n"
            "      <TitleElement name=\"Object\"/>\n"
            "    </ObjectTitleRow>\n"
            "  </ObjectList>\n"
            "  <ObjectList name=\"Removed objects\">\n"
            "    <ElementCount name=\"Removed: \">0</ElementCount>\n"
            "    <ObjectTitleRow name=\"Title Removed objects\">\n"
            "      <TitleElement name=\"Object\"/>\n"
            "    </ObjectTitleRow>\n"
            "  </ObjectList>\n"
            "  <ObjectList name=\"Modified objects\">\n"
            "    <ElementCount name=\"Modified: \">0</ElementCount>\n"
            "    <ObjectTitleRow name=\"Title Modified objects\">\n"
            "      <TitleElement name=\"Object\"/>\n"
            "      <TitleElement name=\"Change\"/>\n"
            "    </ObjectTitleRow>\n"
            "  </ObjectList>\n"
            "</CompareToolResults>\n");
  EXPECT_EQ(errors, 0);
  std::string nothing;
  errors = 0;
  E::Write(nullptr, "x", errors);
  EXPECT_EQ(errors, E::XMLNoFile);
}

TEST_F(Shown, RowsEscapeMarkupWriteLatin1AndDotUnchangedValues) {
  auto xa = a.Act("x", "Weld <\"A\" & B>"), xb = b.Act("x", "Weld <\"A\" & B> v2");
  xa->SetAttribute("Cost", 2.0);
  xb->SetAttribute("Cost", 2.0);
  b.Act("n", "Schwei\xC3\x9F" "en \xE2\x86\x92 Naht")->SetAttribute("Cost", 0.0);  // a sharp s, then an arrow Latin-1 lacks
  std::string problem;
  ASSERT_TRUE(OrvVekCompareUtilities::SaveCheckList(a.root->LateType(), {"Cost"}, {"V"}, problem)) << problem;
  Show(E::Activities, a.root, b.root, E::AllAttributes, true);
  e.OnToggleValue();
  int errors = -1;
  const std::string xml = Report(e, &errors);
  EXPECT_EQ(errors, 0);
  EXPECT_NE(xml.find("  <AllElementCount name=\"All: \">2</AllElementCount>\n"), std::string::npos);
  EXPECT_NE(xml.find("    <ObjectRow name=\"ObjectRow\">\n      <ObjectElement name=\"Schwei\xDF" "en &#8594; Naht\"/>\n"
                     "      <ObjectElement name=\"0\"> </ObjectElement>\n    </ObjectRow>\n"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("      <ObjectElement name=\"Weld &lt;&quot;A&quot; &amp; B>\"/>\n      <ObjectElement name=\"Old\"/>\n"
                     "      <ObjectElement name=\"2\"/>\n"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("      <ObjectElement name=\"New\"/>\n      <ObjectElement name=\"...\"/>\n"), std::string::npos) << xml;
  EXPECT_NE(xml.find("      <TitleElement name=\"Cost\"/>\n"), std::string::npos);
}

TEST_F(Shown, UnreadableLabelsAndValuesAreCountedAndFlagged) {
  a.Act("gone", "");  // no label: left out, still counted
  auto xa = a.Act("x", "Weld"), xb = b.Act("x", "Weld v2");
  xb->SetAttribute("Cost", 3.0);  // A has no cost: its values cannot be read
  std::string problem;
  ASSERT_TRUE(OrvVekCompareUtilities::SaveCheckList(a.root->LateType(), {"Cost"}, {"V"}, problem)) << problem;
  Show(E::Activities, a.root, b.root, E::AllAttributes, true);
  e.OnToggleValue();
  int errors = 0;
  const std::string xml = Report(e, &errors);
  EXPECT_EQ(errors, E::XMLUnreadable);
  EXPECT_NE(xml.find("    <ElementCount name=\"Removed: \">1</ElementCount>\n"), std::string::npos);
  EXPECT_EQ(xml.find("name=\"\"/>"), std::string::npos);
  // A's row is closed without values; B's value is written in full.
  EXPECT_NE(xml.find("<ObjectElement name=\"Old\"/>\n    </ObjectRow>\n"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<ObjectElement name=\"New\"/>\n      <ObjectElement name=\"3\"/>\n"), std::string::npos) << xml;
  (void)xa;
}

}  // namespace

// ------------------------------------------------------------------ the export
namespace {

namespace fs = std::filesystem;

struct Export : Shown {
  std::ostringstream log;
  std::unique_ptr<host::HostEngine> engine;  // answers the boxes
  fs::path dir = fs::temp_directory_path() / ("cmp-xml-" + std::to_string(::getpid()));
  void SetUp() override {
    Shown::SetUp();
    engine = std::make_unique<host::HostEngine>(&log);
    fs::create_directories(dir);
    a.Act("x", "Weld");
    b.Act("x", "Weld v2");
    Show(E::Activities, a.root, b.root, E::AllAttributes);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
    engine.reset();
    Shown::TearDown();
  }
  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Choose(const std::string& path) {
    engine->QueueFileAnswer(true, path);
    Widget<TavDlgPushButton>(e.GetDialog(), "ExportToXMLPB")->Notify(TavDlgNotification::Activate);
  }
};

TEST_F(Export, TheFileBoxNameGetsItsExtensionAndAFolderWritesNothing) {
  EXPECT_EQ(E::XMLFileName("report"), "report.xml");
  EXPECT_EQ(E::XMLFileName("report.xml"), "report.xml");
  EXPECT_EQ(E::XMLFileName("out/"), "");
  EXPECT_EQ(E::XMLFileName("out\\"), "");
  Choose((dir / "report").string());
  std::string expected;
  int errors = 0;
  e.WriteToXML(&expected, errors);
  EXPECT_EQ(Read(dir / "report.xml"), expected);
  Choose((dir / "sub/").string());
  EXPECT_FALSE(fs::exists(dir / "sub"));
  EXPECT_FALSE(fs::exists(dir / "sub.xml"));
}

TEST_F(Export, AnExistingFileIsReplacedOnlyAfterYes) {
  const fs::path file = dir / "report.xml";
  std::ofstream(file) << "previous";
  engine->QueueAnswer("NO");
  Choose(file.string());
  EXPECT_EQ(Read(file), "previous");
  ASSERT_FALSE(engine->Messages().empty());
  EXPECT_EQ(engine->Messages().back().name, "Warning");
  engine->QueueAnswer("YES");
  Choose(file.string());
  EXPECT_NE(Read(file).find("<CompareToolResults>"), std::string::npos);
}

TEST_F(Export, AFailedWriteWarnsOnceAndKeepsThePreviousFile) {
  // A missing folder: the writer names it; nothing else is left behind.
  EXPECT_FALSE(e.CreateXMLFile(TavUnicodeString((dir / "missing" / "report.xml").string())));
  ASSERT_EQ(e.Warnings().size(), 1u);
  EXPECT_NE(e.Warnings()[0].text.utf8().find("missing"), std::string::npos) << e.Warnings()[0].text.utf8();
  const fs::path file = dir / "kept.xml";
  std::ofstream(file) << "previous";
  support::InjectWriteFailure(support::WriteStep::Write, ENOSPC);
  engine->QueueAnswer("YES");
  EXPECT_FALSE(e.CreateXMLFile(TavUnicodeString(file.string())));
  support::ClearWriteFailures();
  EXPECT_EQ(Read(file), "previous");
  EXPECT_EQ(e.Warnings().size(), 2u);
  std::size_t files = 0;
  for ([[maybe_unused]] auto& entry : fs::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 1u);  // no temporary file left
}

TEST_F(Export, WithoutTheSettingsComponentNothingIsWrittenAndTheWarningSaysWhy) {
  const fs::path kept = dir / "kept.xml", fresh = dir / "fresh.xml";
  std::ofstream(kept) << "previous";
  TavSettingComponents::SetUnavailable(OrvIDSICompareToolSettingAtt::kRepository, true);
  std::string bytes;
  int errors = 0;
  e.WriteToXML(&bytes, errors);
  EXPECT_TRUE(bytes.empty());
  engine->QueueAnswer("YES");
  EXPECT_FALSE(e.CreateXMLFile(TavUnicodeString(kept.string())));
  EXPECT_FALSE(e.CreateXMLFile(TavUnicodeString(fresh.string())));
  TavSettingComponents::SetUnavailable(OrvIDSICompareToolSettingAtt::kRepository, false);
  EXPECT_EQ(Read(kept), "previous");
  EXPECT_FALSE(fs::exists(fresh));
  ASSERT_EQ(e.Warnings().size(), 2u);
  EXPECT_NE(e.Warnings()[1].text.utf8().find("settings"), std::string::npos) << e.Warnings()[1].text.utf8();
  // Chosen attributes (batch) need no stored ones.
  e.SetReportAttributes({"Label"}, {});
  TavSettingComponents::SetUnavailable(OrvIDSICompareToolSettingAtt::kRepository, true);
  std::string error;
  EXPECT_TRUE(e.ExportXML(fresh.string(), &error)) << error;
  TavSettingComponents::SetUnavailable(OrvIDSICompareToolSettingAtt::kRepository, false);
}

}  // namespace
