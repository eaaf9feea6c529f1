// The add-activity command on the reference host: the library rows and the type
// tree, icons, the three ways of placing the new activity, quick sequences, the
// client's wishes, and failures that must leave the plant as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "HostEngine.h"
#include "HostLibrary.h"
#include "HostRuntime.h"
#include "HostUndo.h"
#include "OrvEInsertActivityDlgServices.h"
#include "PlantDocument.h"
#include "TavOrvAddActivityCmd.h"

using namespace host;
namespace fs = std::filesystem;

namespace {

// The process's folder goes when the process ends.
struct ProcessDir {
  fs::path path;
  ~ProcessDir() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

const fs::path& Dir() {
  static const ProcessDir d{[] {
    // One folder per process: ctest runs each test in its own process, in parallel,
    // and a library half written by another would not load.
    fs::path p = fs::path(::testing::TempDir()) / ("add-activity-" + std::to_string(::getpid()));
    fs::create_directories(p / "a");
    fs::create_directories(p / "b");
    std::ofstream(p / "a" / "body.act") << R"(<activityLibrary name="Body">
  <type name="TWeld" super="PhysicalActivity" icon="I_Weld"><subType name="TSpot"/><subType name="TStud"/><subType name="TLaser"/></type>
  <type name="TSpot" super="TWeld" icon="I_Spot"/>
  <type name="TStud" super="TWeld"/>
  <type name="TLaser" super="TWeld"/>
  <type name="TGlue" super="PhysicalActivity" icon="I_Glue"/>
</activityLibrary>)";
    std::ofstream(p / "b" / "body.act") << R"(<activityLibrary name="Other body">
  <type name="TOther" super="PhysicalActivity"/>
</activityLibrary>)";
    return p;
  }()};
  return d.path;
}

std::string Plant(bool hub = false, const std::string& extra = {}) {
  return std::string("<plant format=\"1\" environment=\"") + (hub ? "hub" : "local") + R"(">
  <activityLibraries>
    <library path=")" + (Dir() / "a" / "body.act").string() + R"("/>
    <library path=")" + (Dir() / "b" / "body.act").string() + R"("/>
  </activityLibraries>
  <products><product id="p1" name="Door"/><product id="p2" name="Hood"/><product id="p3" name="Roof"/></products>
  <resources>
    <resource id="st" name="Station" type="Station"/>
    <resource id="rb" name="Robot" type="Robot"><behavior id="bh"/></resource>
  </resources>
  <process id="proc" name="Process" type="Activity">
    <activity id="cell" name="Cell" type="Activity">
      <activity id="a" name="A" type="PhysicalActivity"/>
      <activity id="b" name="B" type="PhysicalActivity"/>
      <activity id="c" name="C" type="PhysicalActivity"/>
      <activity id="sw" name="Switch" type="Switch"/>
      <activity id="d" name="D" type="PhysicalActivity"/>
    </activity>
  </process>
  <links><flow from="a" to="b"/><flow from="b" to="c"/><flow from="d" to="sw"/></links>
)" + extra + "</plant>\n";
}

struct AddActivity : ::testing::Test {
  std::ostringstream out;
  HostSession session;
  HostEngine engine{&out};
  Ref<HostDocument> doc;
  TavOrvAddActivityCmd* cmd = nullptr;

  void Open(const std::string& text) {
    std::string error;
    doc = ParsePlant(text, (Dir() / "t.xml").string(), error);
    ASSERT_TRUE(doc) << error;
    session.OpenDocument(doc);
  }
  void SetUp() override { Open(Plant()); }
  void TearDown() override {
    if (auto client = query<OrvIInsertActivityDlgServices>(TavOrvAddActivityCmd::GetClient())) {
      client->SetFlagForInsertAcitivityOnOK(true);
      TavUnicodeString none;
      client->SetInsertActivityIdentifier(none);
    }
  }
  Ref<TavBaseUnknown> At(const std::string& path) { return doc->Resolve(path).GetLeaf(); }
  void Start() {
    std::string err;
    auto c = std::make_unique<TavOrvAddActivityCmd>();
    cmd = c.get();
    ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  }
  void Pick(const std::string& path) {
    std::string err;
    ASSERT_TRUE(engine.Pick(doc->Resolve(path), &err)) << err;
  }
  // Clicks a node of the dialog's type tree.
  void PickType(const std::string& path) {
    std::vector<Ref<TavBaseUnknown>> objects;
    std::string err;
    ASSERT_TRUE(cmd->Dialog()->Tree()->ResolvePath(path, objects, &err)) << err;
    ASSERT_TRUE(engine.Pick(TavPathElement(objects), &err)) << err;
  }
  std::string Next(const std::string& path) {
    std::string s;
    for (auto& n : query<TavISPPFlowMgt>(At(path))->GetNextNodes())
      s += (s.empty() ? "" : " ") + query<TavISPPAbstractActivity>(n)->GetLabel().utf8();
    return s;
  }
  std::string Children(const std::string& path) {
    std::string s;
    for (auto& c : query<TavISPPChildManagement>(At(path))->GetChildren())
      s += (s.empty() ? "" : " ") + query<TavISPPAbstractActivity>(c)->GetLabel().utf8();
    return s;
  }
};

TEST_F(AddActivity, LibraryRowsDropSecondFileOfOneNameAndWorkbenchLibraries) {
  TavOrvAddActivityCmd c;
  c.BuildGraphInitialize();
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < c.Types().size(); ++i)
    rows.push_back(c.Types()[i].utf8() + "|" + c.SubTypes()[i].utf8() + "|" + c.Icons()[i].utf8() + "|" + c.SubIcons()[i].utf8());
  const std::string lib = (Dir() / "a" / "body.act").string();
  EXPECT_EQ(rows, (std::vector<std::string>{lib + "|||", "TWeld|TSpot|I_Weld|I_Spot", "TWeld|TStud|I_Weld|",
                                            "TWeld|TLaser|I_Weld|", "TSpot||I_Spot|", "TStud|||",
                                            "TLaser|||", "TGlue||I_Glue|"}));
  // The workbench's own libraries are attached (their types exist) but list nothing.
  auto libs = TavActivityLibrariesOf(doc);
  ASSERT_TRUE(libs);
  EXPECT_EQ(libs->GetLibraryContainers().size(), 4u);
}

TEST_F(AddActivity, TreeHasOneLibraryNodeWithSubTypesAndIsNotRebuiltForAnotherTarget) {
  Start();
  Pick("Process/Cell/A");
  ASSERT_TRUE(cmd->Dialog()->IsVisible());
  auto* tree = cmd->Dialog()->Tree();
  ASSERT_EQ(tree->Roots().size(), 1u);
  const auto& types = tree->Roots()[0]->Children();
  ASSERT_EQ(types.size(), 5u);  // TWeld TSpot TStud TLaser TGlue
  EXPECT_EQ(types[0]->GetText(), "TWeld");
  EXPECT_EQ(types[0]->Children().size(), 3u);
  EXPECT_EQ(types[0]->GetIconName(), "I_Weld");
  EXPECT_EQ(types[0]->Children()[0]->GetIconName(), "I_Spot");
  EXPECT_TRUE(types[4]->Children().empty());
  const TavNavigNode* before = tree->Roots()[0].get();
  Pick("Process/Cell/B");
  EXPECT_EQ(tree->Roots()[0].get(), before);
}

TEST(AddActivityIcons, FollowTheNamingRules) {
  using Node = OrvVekActivityDlgNavigateObjectBase;
  EXPECT_EQ(Node::InitialIconName("BIWActivitySpotWelding", false), "I_BIWACTWeldingActivity");
  EXPECT_EQ(Node::InitialIconName("BIWActivityArcWelding", false), "I_BIWArcWeldingActivity");
  EXPECT_EQ(Node::InitialIconName("AssemblyOperation", false), "I_APPAssemblyOperation");
  EXPECT_EQ(Node::InitialIconName("NobodyDefinesThis", false), "I_Activity");
  EXPECT_EQ(Node::InitialIconName("AssemblyOperation", true), "");
}

TEST_F(AddActivity, SuccessorGoesBetweenTargetAndItsNextActivity) {
  Start();
  Pick("Process/Cell/A");
  PickType("body.act/TGlue");
  cmd->Dialog()->SetInsertType(OrvAddActivityDlg::AddAsSuccessor);
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(Children("Process/Cell"), "A TGlue B C Switch D");
  EXPECT_EQ(Next("Process/Cell/A"), "TGlue");
  EXPECT_EQ(Next("Process/Cell/TGlue"), "B");
  TavUnicodeString id;
  query<OrvIInsertActivityDlgServices>(TavOrvAddActivityCmd::GetClient())->GetInsertActivityIdentifier(id);
  EXPECT_EQ(id, query<TavIModelIdentity>(At("Process/Cell/TGlue"))->GetId());
}

TEST_F(AddActivity, SuccessorOfLastActivityOrBeforeAControlNodeIsOnlyLinkedFromTheTarget) {
  TavOrvAddActivityCmd c;
  c.BuildGraphInitialize();
  c.SetChosenType("TGlue");
  c.SetInsertOption(OrvAddActivityDlg::AddAsSuccessor);
  UndoScope job(*doc);
  for (const char* target : {"Process/Cell/C", "Process/Cell/D"}) {
    c.SetTarget(doc->Resolve(target));
    ASSERT_TRUE(c.InsertActivity());
  }
  EXPECT_EQ(Next("Process/Cell/C"), "TGlue");
  EXPECT_EQ(Next("Process/Cell/D"), "Switch TGlue");  // the Switch is no successor: it stays
  EXPECT_EQ(Children("Process/Cell"), "A B C TGlue Switch D TGlue");
  job.Keep("test");
}

TEST_F(AddActivity, RefusedLockLeavesThePlantByteIdentical) {
  Open(Plant(true, R"(  <hubSession partialReadOnly="true" persistentFlow="true"><lock object="b" user="bob"/></hubSession>
)"));
  const std::string before = SerializePlant(*doc);
  Start();
  Pick("Process/Cell/B");
  // A hub offers what the plan type allows, and Cell has none: the tree is empty.
  EXPECT_TRUE(cmd->Dialog()->Tree()->Roots().empty());
  cmd->SetChosenType("TGlue");
  cmd->Dialog()->SetInsertType(OrvAddActivityDlg::AddAsSuccessor);
  engine.QueueAnswer("NO");  // do not go on without the lock
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  ASSERT_NE(engine.RunningCommand(), nullptr);  // the dialog stays for another try
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  EXPECT_EQ(cmd->GetLastError(), TavMsgCatalog::BuildMessage("TavOrvAddActivityCmd", "TavOrvAddActivityCmd.Error.AddActivityFailed", {}, "Error"));
  EXPECT_EQ(SerializePlant(*doc), before);
}

TEST_F(AddActivity, ResourceWithoutBehaviourFailsAndMakesNoBehaviour) {
  const std::string before = SerializePlant(*doc);
  TavOrvAddActivityCmd c;
  c.BuildGraphInitialize();
  c.SetChosenType("TGlue");
  c.SetInsertOption(OrvAddActivityDlg::AddAsChild);
  UndoScope job(*doc);
  c.SetTarget(doc->Resolve("Resources/Station"));
  EXPECT_FALSE(c.InsertActivity());
  EXPECT_TRUE(c.GetCreated().empty());
  EXPECT_EQ(c.GetLastError(), TavMsgCatalog::BuildMessage("TavOrvAddActivityCmd",
                                                          "TavOrvAddActivityCmd.Error.AddActivityToResourceFailed", {}, "Error"));
  EXPECT_EQ(SerializePlant(*doc), before);
  // A resource with a behaviour takes the activity and is used by it.
  c.SetTarget(doc->Resolve("Resources/Robot"));
  ASSERT_TRUE(c.InsertActivity());
  ASSERT_EQ(c.GetCreated().size(), 1u);
  auto made = c.GetCreated()[0];
  EXPECT_TRUE(query<TavISPPAbstractActivity>(query<TavISPPAbstractActivity>(made)->GetFather())->IsOfType("OrvBehavior"));
  EXPECT_EQ(query<TavISPPResourceManagement>(made)->IsResourceAssigned(At("Resources/Robot"), TavResourceCode::Uses), S_OK);
}

TEST_F(AddActivity, QuickSequenceChainsOneActivityPerProductAndRefusesControlTypes) {
  auto editor = TavFrmEditor::GetCurrentEditor();
  for (const char* p : {"Products/Door", "Products/Hood", "Products/Roof"}) editor->GetCSO().AddElement(doc->Resolve(p));
  Start();
  EXPECT_EQ(cmd->GetCurrentState()->GetName(), "SelectActivity");
  EXPECT_TRUE(cmd->IsQuickSequenceMode());
  EXPECT_EQ(cmd->Dialog()->GetInsertType(), OrvAddActivityDlg::QuickSequenceAssignment);
  editor->GetCSO().Empty();
  Pick("Process/Cell");
  PickType("body.act/TGlue");
  cmd->Dialog()->SetInsertType(OrvAddActivityDlg::QuickSequenceAssignment);
  // A control-flow type cannot be chained.
  auto node = std::make_shared<OrvVekActivityDlgNavigateObject>(TavUnicodeString("Switch"), false);
  TavPathElementAgent probe("probe");
  probe.Value(TavPathElement({node}));
  EXPECT_FALSE(cmd->ValidateTreeObjectForSelect(&probe));
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(Children("Process/Cell"), "A B C Switch D TGlue TGlue TGlue");
  auto kids = query<TavISPPChildManagement>(At("Process/Cell"))->GetChildren();
  ASSERT_EQ(kids.size(), 8u);
  EXPECT_EQ(query<TavISPPFlowMgt>(kids[5])->GetNextNodes(), std::vector<Ref<TavBaseUnknown>>{kids[6]});
  EXPECT_EQ(query<TavISPPFlowMgt>(kids[6])->GetNextNodes(), std::vector<Ref<TavBaseUnknown>>{kids[7]});
  EXPECT_EQ(query<TavISPPItemMgt>(kids[7])->IsItemAssigned(At("Products/Roof"), TavItemCode::Processes), S_OK);
}

TEST_F(AddActivity, ClientCanAskForNothingOnOK) {
  auto client = query<OrvIInsertActivityDlgServices>(TavOrvAddActivityCmd::GetClient());
  ASSERT_TRUE(client);
  TavUnicodeString stale = "old";
  client->SetInsertActivityIdentifier(stale);
  client->SetFlagForInsertAcitivityOnOK(false);
  const std::string before = SerializePlant(*doc);
  Start();
  Pick("Process/Cell/A");
  PickType("body.act/TGlue");
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(SerializePlant(*doc), before);
  TavUnicodeString id;
  client->GetInsertActivityIdentifier(id);
  EXPECT_TRUE(id.IsEmpty());  // nothing made: no stale identifier either
}

TEST_F(AddActivity, ApplyKeepsTheDialogAndOKWaitsForANewType) {
  Start();
  Pick("Process/Cell/A");
  PickType("body.act/TWeld/TSpot");
  cmd->Dialog()->ApplyButton()->Notify(TavDlgNotification::Activate);
  EXPECT_NE(engine.RunningCommand(), nullptr);
  EXPECT_FALSE(cmd->Dialog()->OKButton()->IsSensitive());
  PickType("body.act/TGlue");
  EXPECT_TRUE(cmd->Dialog()->OKButton()->IsSensitive());
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  EXPECT_EQ(Children("Process/Cell/A"), "TSpot TGlue");
}

TEST_F(AddActivity, UnsavedLibraryWarnsAndStillOffersItsTypes) {
  std::string err;
  ASSERT_TRUE(MarkLibraryModified(*doc, "body.act", err)) << err;
  TavOrvAddActivityCmd c;
  c.BuildGraphInitialize();
  // One warning per modified library, both files called body.act among them.
  ASSERT_EQ(engine.Messages().size(), 2u);
  EXPECT_EQ(engine.Messages()[0].name, "ActModNotSaved");
  EXPECT_EQ(engine.Messages()[0].text.rfind("body.act: modified and not saved", 0), 0u) << engine.Messages()[0].text;
  EXPECT_GT(c.Types().size(), 1u);
}

TEST_F(AddActivity, HubTreeIsTheFlatListOfAllowedTypesRebuiltPerTarget) {
  Open(Plant(true, R"(  <planTypes>
    <planType name="Cell" children="TGlue OrvBehavior BIWActivitySpotWelding TWeld"/>
    <planType name="Leaf" children="TSpot"/>
    <planAssign object="cell" planType="Cell"/>
    <planAssign object="a" planType="Leaf"/>
  </planTypes>
)"));
  Start();
  Pick("Process/Cell");
  auto* tree = cmd->Dialog()->Tree();
  std::vector<std::string> roots;
  for (auto& r : tree->Roots()) roots.push_back(r->GetText().utf8());
  EXPECT_EQ(roots, (std::vector<std::string>{"TGlue", "TWeld", "BIWActivitySpotWelding"}));
  EXPECT_EQ(tree->Roots()[2]->GetIconName(), "I_BIWACTWeldingActivity");
  Pick("Process/Cell/A");
  ASSERT_EQ(tree->Roots().size(), 1u);
  EXPECT_EQ(tree->Roots()[0]->GetText(), "TSpot");
  // A successor of A is a child of Cell: Cell's plan type decides.
  cmd->Dialog()->SetInsertType(OrvAddActivityDlg::AddAsSuccessor);
  cmd->Dialog()->UpdateLists();
  EXPECT_EQ(tree->Roots().size(), 3u);
}

}  // namespace
