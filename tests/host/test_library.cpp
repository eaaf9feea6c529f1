// Activity libraries: the strict library reader, the type table and icons, a plant's
// library containers, hub plan types and the activities a behaviour holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "HostAssignment.h"
#include "HostLibrary.h"
#include "HostUndo.h"
#include "PlantDocument.h"

namespace fs = std::filesystem;
using namespace host;

namespace {

fs::path Dir() {
  static const fs::path d = [] {
    fs::path p = fs::path(::testing::TempDir()) / ("mirt-library-" + std::to_string(::getpid()));
    fs::create_directories(p / "libs");
    fs::create_directories(p / "other");
    return p;
  }();
  return d;
}

std::string Write(const std::string& rel, const std::string& text) {
  fs::path p = Dir() / rel;
  std::ofstream(p, std::ios::binary) << text;
  return p.string();
}

const std::string kBody =
    "<activityLibrary name=\"Test body shop\">\n"
    "  <type name=\"TlWeld\" super=\"PhysicalActivity\" icon=\"I_TlWeld\">\n"
    "    <subType name=\"TlSpot\"/>\n"
    "    <subType name=\"TlStud\"/>\n"
    "  </type>\n"
    "  <type name=\"TlSpot\" super=\"TlWeld\" icon=\"I_TlSpot\"/>\n"
    "  <type name=\"TlStud\" super=\"TlWeld\"/>\n"
    "  <type name=\"TlCheck\" super=\"Activity\"/>\n"
    "</activityLibrary>\n";

ActivityLibraries& Libs() { return ActivityLibraries::Get(); }

// A second library of the same file name, repeating a type of the first.
const std::string kOtherBody =
    "<activityLibrary><type name=\"TlWeld\" super=\"PhysicalActivity\" icon=\"I_Other\"/>"
    "<type name=\"TlOwn\" super=\"TlSpot\"/></activityLibrary>";

const ActivityLibraryFile* LoadBody() {
  std::string error;
  auto* f = Libs().Load(Write("libs/body.act", kBody), error);
  EXPECT_TRUE(f) << error;
  Write("other/body.act", kOtherBody);
  return f;
}

Ref<HostDocument> Parse(const std::string& text, std::string* error = nullptr) {
  LoadBody();
  std::string e;
  auto doc = ParsePlant(text, (Dir() / "plant.xml").string(), e);
  if (error) *error = e;
  else EXPECT_TRUE(doc) << e;
  return doc;
}

// ------------------------------------------------------------------ the reader
TEST(LibraryReader, EachProblemIsReportedAtItsPlaceAndRegistersNothing) {
  struct Case {
    const char* text;
    const char* where;  // line:column
    const char* message;
  };
  // Each file defines a good type first: none of them may become known.
  const Case cases[] = {
      {"<activityLibrary><type name=\"TlE1\"/>\n<type name=\"TlE1b\"", "2:", "unclosed"},
      {"<activityLibrary><type name=\"TlE2\"/>\n<kind/></activityLibrary>", "2:8", "unknown element <kind> in <activityLibrary>"},
      {"<activityLibrary><type name=\"TlE3\"/>\n<type name=\"TlE3b\" colour=\"red\"/></activityLibrary>", "2:", "unknown attribute 'colour'"},
      {"<activityLibrary><type name=\"TlE4\"/>\n<type super=\"Activity\"/></activityLibrary>", "2:", "lacks the required attribute 'name'"},
      {"<activityLibrary><type name=\"TlE5\"/>\n<type name=\"TlE5\"/></activityLibrary>", "2:", "duplicate type 'TlE5'"},
      {"<activityLibrary><type name=\"TlE6\"/>\n<type name=\"TlE6b\" super=\"TlLater\"/><type name=\"TlLater\"/></activityLibrary>", "2:",
       "unknown super type 'TlLater'"},
      {"<activityLibrary><type name=\"TlE7\">\n<subType name=\"TlNowhere\"/></type></activityLibrary>", "2:", "sub type 'TlNowhere' of 'TlE7' is defined nowhere"},
      {"<activityLibrary><type name=\"TlE8\"/>\n<type name=\"PhysicalActivity\" super=\"TlE8\"/></activityLibrary>", "2:",
       "type 'PhysicalActivity' is defined by the host with super type 'Activity'"},
      {"<activityLibrary><type name=\"TlE9\">words</type></activityLibrary>", "1:", "unexpected text in <type>"},
      {"<library><type name=\"TlE10\"/></library>", "1:", "the root element must be <activityLibrary>"},
      {"<activityLibrary><type name=\"TlE11\"><subType name=\"TlE11\"><x/></subType></type></activityLibrary>", "1:", "unknown element <x> in <subType>"},
      {"<activityLibrary><type name=\"Tl E12\"/></activityLibrary>", "1:", "bad type name 'Tl E12'"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = Write("bad" + std::to_string(++n) + ".act", c.text);
    std::string error;
    EXPECT_FALSE(Libs().Load(path, error)) << c.text;
    EXPECT_EQ(error.rfind(path + ":" + c.where, 0), 0u) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  for (const char* t : {"TlE1", "TlE2", "TlE3", "TlE4", "TlE5", "TlE6", "TlE7", "TlE8", "TlE9", "TlE10", "TlE11"}) {
    EXPECT_FALSE(FindType(t)) << t;
    EXPECT_FALSE(Libs().FindType(t)) << t;
  }
  std::string error;
  EXPECT_FALSE(Libs().Load((Dir() / "missing.act").string(), error));
  EXPECT_EQ(error.rfind((Dir() / "missing.act").string() + ":", 0), 0u) << error;
}

TEST(LibraryReader, ALibraryMayRepeatATypeWithTheSameSuperButNotAnother) {
  ASSERT_TRUE(LoadBody());
  std::string error;
  auto* same = Libs().Load((Dir() / "other/body.act").string(), error);
  ASSERT_TRUE(same) << error;
  EXPECT_EQ(same->Types()[0]->Icon(), "I_Other");  // its own type object
  EXPECT_TRUE(FindType("TlOwn")->IsA("TlWeld"));   // a super from a loaded library
  const std::string clash = Write("clash.act", "<activityLibrary><type name=\"TlSpot\" super=\"Activity\"/></activityLibrary>");
  EXPECT_FALSE(Libs().Load(clash, error));
  EXPECT_NE(error.find("type 'TlSpot' is defined by " + (Dir() / "libs/body.act").string() + " with super type 'TlWeld'"),
            std::string::npos)
      << error;
}

TEST(LibraryReader, AFileIsReadOncePerRunWhateverItsSpelling) {
  auto* f = LoadBody();
  std::string error;
  EXPECT_EQ(Libs().Load((Dir() / "libs/../libs/./body.act").string(), error), f) << error;
  EXPECT_EQ(f->Path(), (Dir() / "libs/body.act").string());
  EXPECT_EQ(f->FileName(), "body.act");
  EXPECT_EQ(f->Extension(), "act");
  EXPECT_EQ(f->Title(), "Test body shop");
}

// ------------------------------------------------------------------ types and icons
TEST(LibraryTypes, TheCacheAnswersIconsAndTypesByName) {
  ASSERT_TRUE(LoadBody());
  OrvVekPlantypeCache* cache = OrvVekPlantypeCache::GetInstance();
  ASSERT_TRUE(cache);
  TavUnicodeString icon = "stale";
  EXPECT_EQ(cache->BitmapName("TlSpot", icon), S_OK);
  EXPECT_EQ(icon, TavUnicodeString("I_TlSpot"));
  EXPECT_EQ(cache->BitmapName("TlStud", icon), S_FALSE);
  EXPECT_TRUE(icon.IsEmpty());
  EXPECT_EQ(cache->BitmapName("TlNobody", icon), E_FAIL);
  EXPECT_EQ(cache->BitmapName("PhysicalActivity", icon), S_FALSE);
  // The workbench's libraries are read at start-up.
  EXPECT_EQ(cache->BitmapName("BIWActivity", icon), S_OK);
  EXPECT_EQ(icon, TavUnicodeString("I_BIWActivity"));

  auto weld = cache->FindType("TlWeld");
  ASSERT_TRUE(weld);
  EXPECT_EQ(weld->LateType(), "LibraryActivity");
  EXPECT_EQ(weld->GetKind(), TavUnicodeString("Activity"));
  EXPECT_EQ(weld->GetSuperType()->GetName(), TavUnicodeString("PhysicalActivity"));
  EXPECT_EQ(weld->GetSubActivityTypes(), (std::vector<TavUnicodeString>{"TlSpot", "TlStud"}));
  EXPECT_EQ(weld->GetLibraryDocument()->GetFileExtension(), TavUnicodeString("act"));
  EXPECT_EQ(cache->FindType("Switch")->GetKind(), TavUnicodeString("ControlFlow"));
  EXPECT_FALSE(cache->FindType("Switch")->GetLibraryDocument());
  EXPECT_TRUE(FindType("ResourceBehavior")->IsA("OrvBehavior"));
  auto spot = cache->FindType("BIWActivitySpotWelding");
  ASSERT_TRUE(spot);
  EXPECT_EQ(spot->GetLibraryDocument()->GetFileExtension(), TavUnicodeString("feat"));
  EXPECT_TRUE(FindType("BIWActivitySpotWelding")->IsA("PhysicalActivity"));
}

// ------------------------------------------------------------------ plants
const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

const std::string kHubPlant = kHead +
    "<plant format=\"1\" environment=\"hub\" name=\"Hub\">\n"
    "  <activityLibraries>\n"
    "    <library path=\"libs/body.act\"/>\n"
    "    <library path=\"other/body.act\"/>\n"
    "    <library path=\"libs/body.act\"/>\n"
    "  </activityLibraries>\n"
    "  <products>\n"
    "    <product id=\"p1\" name=\"Panel.1\"/>\n"
    "  </products>\n"
    "  <resources>\n"
    "    <resource id=\"r1\" name=\"Robot.1\" type=\"Robot\">\n"
    "      <behavior id=\"b1\">\n"
    "        <input ref=\"p1\"/>\n"
    "        <activity id=\"ba1\" name=\"Weld.1\" type=\"TlSpot\">\n"
    "          <relation type=\"process_processes_product\" ref=\"p1\"/>\n"
    "          <activity id=\"ba2\" name=\"Check.1\" type=\"TlCheck\"/>\n"
    "        </activity>\n"
    "        <activity id=\"ba3\" name=\"Weld.2\" type=\"TlWeld\" time=\"2.5\"/>\n"
    "        <links>\n"
    "          <flow id=\"bf1\" from=\"ba1\" to=\"ba3\"/>\n"
    "          <precedence from=\"ba1\" to=\"ba3\"/>\n"
    "        </links>\n"
    "      </behavior>\n"
    "    </resource>\n"
    "  </resources>\n"
    "  <process id=\"a1\" name=\"Body\" type=\"Activity\">\n"
    "    <activity id=\"a2\" name=\"Weld.1\" type=\"TlSpot\"/>\n"
    "    <activity id=\"a3\" name=\"Glue.1\" type=\"PhysicalActivity\"/>\n"
    "  </process>\n"
    "  <planTypes>\n"
    "    <planType name=\"Cell\" children=\"TlWeld TlSpot AndIn\"/>\n"
    "    <planType name=\"Broken\" listable=\"false\"/>\n"
    "    <planAssign object=\"a1\" planType=\"Cell\"/>\n"
    "    <planAssign object=\"b1\" planType=\"Broken\"/>\n"
    "  </planTypes>\n"
    "</plant>\n";

TEST(LibraryPlant, LibrariesPlanTypesAndBehaviourActivitiesSaveAsTheyWereRead) {
  std::string error;
  auto doc = Parse(kHubPlant);
  ASSERT_TRUE(doc);
  const std::string once = SerializePlant(*doc);
  EXPECT_EQ(once, kHubPlant);
  auto again = ParsePlant(once, (Dir() / "plant.xml").string(), error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(SerializePlant(*again), once);
}

TEST(LibraryPlant, ContainersKnowTheirDocumentNamesAndEnvironment) {
  auto local = Parse(kHead + "<plant format=\"1\" environment=\"local\">\n  <activityLibraries>\n    <library path=\"libs/body.act\"/>\n"
                     "    <library path=\"" + (Dir() / "libs/body.act").string() + "\"/>\n  </activityLibraries>\n</plant>\n");
  ASSERT_TRUE(local);
  auto mgt = TavActivityLibrariesOf(local);
  ASSERT_TRUE(mgt);
  auto containers = mgt->GetLibraryContainers();
  ASSERT_EQ(containers.size(), 2u);
  EXPECT_EQ(containers[0]->LateType(), "SPPLibCont");
  auto lib = query<TavIActivityLibrary>(containers[0]);
  ASSERT_TRUE(lib);
  auto types = lib->GetActivityTypes();
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(types[0]->GetName(), TavUnicodeString("TlWeld"));
  EXPECT_EQ(types[3]->GetName(), TavUnicodeString("TlCheck"));
  auto d = lib->GetLibraryDocument();
  EXPECT_EQ(d->GetStorageName(), TavUnicodeString((Dir() / "libs/body.act").string()));
  EXPECT_EQ(d->GetDisplayName(), TavUnicodeString("body.act"));
  EXPECT_EQ(d->GetDirtyStatus(), TavDirtyStatus::Saved);
  EXPECT_EQ(d->GetDocEnvironment()->GetIdentifierName(d), TavUnicodeString("Test body shop"));

  auto hub = Parse(kHubPlant);
  ASSERT_TRUE(hub);
  auto hubLibs = TavActivityLibrariesOf(hub)->GetLibraryContainers();
  ASSERT_EQ(hubLibs.size(), 3u);  // one per <library>, a repeated one too
  EXPECT_EQ(query<TavIActivityLibrary>(hubLibs[0])->GetLibraryDocument()->GetDocEnvironment()->GetName(), TavUnicodeString("YorDocEnv"));
  EXPECT_EQ(query<TavIActivityLibrary>(hubLibs[1])->GetLibraryDocument()->GetStorageName(),
            TavUnicodeString((Dir() / "other/body.act").string()));
}

TEST(LibraryPlant, AttachingAWorkbenchLibraryIsIdempotentAndNeverSaved) {
  auto doc = Parse(kHead + "<plant format=\"1\" environment=\"local\">\n</plant>\n");
  ASSERT_TRUE(doc);
  const std::string before = SerializePlant(*doc);
  EXPECT_EQ(before.find("activityLibraries"), std::string::npos);
  auto mgt = TavActivityLibrariesOf(doc);
  TavUnicodeString error;
  auto first = mgt->AttachWorkbenchLibrary("OrvBIWActivityLibrary.feat", error);
  ASSERT_TRUE(first) << error.utf8();
  EXPECT_EQ(mgt->AttachWorkbenchLibrary("OrvBIWActivityLibrary.feat", error), first);
  ASSERT_TRUE(mgt->AttachWorkbenchLibrary("VEKAssistantProcessLibrary.feat", error));
  EXPECT_EQ(mgt->GetLibraryContainers().size(), 2u);
  auto d = query<TavIActivityLibrary>(first)->GetLibraryDocument();
  EXPECT_EQ(d->GetFileExtension(), TavUnicodeString("feat"));
  EXPECT_EQ(query<TavIActivityLibrary>(first)->GetActivityTypes().front()->GetSubActivityTypes().size(), 4u);
  EXPECT_EQ(SerializePlant(*doc), before);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_FALSE(mgt->AttachWorkbenchLibrary("Elsewhere.feat", error));
  EXPECT_FALSE(error.IsEmpty());
}

TEST(LibraryPlant, MarkingALibraryModified) {
  auto doc = Parse(kHubPlant);
  ASSERT_TRUE(doc);
  std::string error;
  auto libs = LibrariesOf(*doc);
  EXPECT_TRUE(MarkLibraryModified(*doc, "other/body.act", error)) << error;
  EXPECT_EQ(libs[0]->GetLibraryDocument()->GetDirtyStatus(), TavDirtyStatus::Saved);
  EXPECT_EQ(libs[1]->GetLibraryDocument()->GetDirtyStatus(), TavDirtyStatus::ModifiedNotSaved);
  EXPECT_TRUE(MarkLibraryModified(*doc, "body.act", error));  // every library of that file name
  EXPECT_EQ(libs[0]->GetLibraryDocument()->GetDirtyStatus(), TavDirtyStatus::ModifiedNotSaved);
  EXPECT_FALSE(MarkLibraryModified(*doc, "libs/none.act", error));
  EXPECT_NE(error.find("no activity library 'libs/none.act'"), std::string::npos) << error;
  // The mark is the document's: another plant's view of the same file is unmodified.
  auto other = Parse(kHubPlant);
  EXPECT_EQ(LibrariesOf(*other)[0]->GetLibraryDocument()->GetDirtyStatus(), TavDirtyStatus::Saved);
}

TEST(LibraryPlant, ErrorsNameThePlantElementAndTheLibraryPlace) {
  Write("libs/broken.act", "<activityLibrary>\n  <type name=\"TlBroken\" super=\"Nothing\"/>\n</activityLibrary>\n");
  const std::string plant = (Dir() / "plant.xml").string();
  struct Case {
    std::string body, expect;
  };
  const Case cases[] = {
      {"  <activityLibraries>\n    <library path=\"libs/broken.act\"/>\n  </activityLibraries>\n",
       plant + ":4:38: library 'libs/broken.act' cannot be loaded: " + (Dir() / "libs/broken.act").string() + ":2:42: unknown super type 'Nothing'"},
      {"  <activityLibraries>\n    <library path=\"libs/gone.act\"/>\n  </activityLibraries>\n",
       plant + ":4:36: library 'libs/gone.act' cannot be loaded: " + (Dir() / "libs/gone.act").string() + ":1:1: cannot read"},
      {"  <activityLibraries>\n    <library file=\"x\"/>\n  </activityLibraries>\n", plant + ":4:24: unknown attribute 'file'"},
      // A type no library of the plant defines.
      {"  <process id=\"a1\" name=\"P\">\n    <activity id=\"a2\" name=\"X\" type=\"TlUndefined\"/>\n  </process>\n",
       plant + ":4:"},
      {"  <planTypes>\n    <planType name=\"Cell\"/>\n  </planTypes>\n", plant + ":3:14: plan types need a hub plant"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(Parse(kHead + "<plant format=\"1\" environment=\"local\">\n" + c.body + "</plant>\n", &error));
    EXPECT_EQ(error.rfind(c.expect, 0), 0u) << error;
  }
  EXPECT_FALSE(FindType("TlBroken"));
  const Case hub[] = {
      {"<planType name=\"C\" children=\"TlWeld Nope\"/>", "unknown activity type 'Nope'"},
      {"<planAssign object=\"a1\" planType=\"Nope\"/>", "unknown plan type 'Nope'"},
      {"<planType name=\"C\"/><planAssign object=\"p1\" planType=\"C\"/>", "'p1' is no activity"},
      {"<planType name=\"C\"/><planType name=\"C\"/>", "duplicate plan type 'C'"},
      {"<planType name=\"C\" listable=\"false\" children=\"TlWeld\"/>", "cannot list children but names some"},
  };
  for (const Case& c : hub) {
    std::string error;
    EXPECT_FALSE(Parse(kHead + "<plant format=\"1\" environment=\"hub\">\n  <products>\n    <product id=\"p1\" name=\"P\"/>\n  </products>\n"
                       "  <process id=\"a1\" name=\"P\"/>\n  <planTypes>" + c.body + "</planTypes>\n</plant>\n", &error));
    EXPECT_NE(error.find(c.expect), std::string::npos) << error;
  }
}

TEST(LibraryPlant, BehaviourLinksStayInsideTheBehaviour) {
  const std::string base = kHead + "<plant format=\"1\" environment=\"local\">\n  <resources>\n    <resource id=\"r1\" name=\"R\" type=\"Robot\">\n"
                           "      <behavior id=\"b1\">\n        <activity id=\"ba1\" name=\"W\"/>\n        <activity id=\"ba2\" name=\"V\"/>\n";
  const std::string tail = "      </behavior>\n    </resource>\n  </resources>\n  <process id=\"a1\" name=\"P\"/>\n</plant>\n";
  std::string error;
  EXPECT_FALSE(Parse(base + "<links><flow from=\"ba1\" to=\"a1\"/></links>" + tail, &error));
  EXPECT_NE(error.find("'a1' is no activity of behaviour 'b1'"), std::string::npos) << error;
  EXPECT_FALSE(Parse(base + "<links><flow from=\"ba1\" to=\"ba2\"/><flow from=\"ba1\" to=\"ba2\"/></links>" + tail, &error));
  EXPECT_NE(error.find("duplicate flow"), std::string::npos) << error;
  EXPECT_FALSE(Parse(base + "<links><constraint from=\"ba1\" to=\"ba2\"/></links>" + tail, &error));
  EXPECT_NE(error.find("unknown element <constraint>"), std::string::npos) << error;

  // A link made in a session from a behaviour's activity to the process refuses the save.
  auto doc = Parse(base + tail);
  ASSERT_TRUE(doc);
  auto ba1 = std::dynamic_pointer_cast<HostActivity>(doc->FindById("ba1"));
  ASSERT_EQ(ba1->AddControlFlowLink(doc->FindById("a1")), S_OK);
  EXPECT_FALSE(SavePlant(*doc, (Dir() / "cross.xml").string(), error));
  EXPECT_NE(error.find("is linked to 'a1' outside it"), std::string::npos) << error;
}

// ------------------------------------------------------------------ behaviours
TEST(LibraryBehaviour, ChildrenAreMadeByTypeReachedByPathAndUndone) {
  auto doc = Parse(kHubPlant);
  ASSERT_TRUE(doc);
  auto cont = query<OrvIBehaviorContainer>(doc->GetRootContainer(OrvIBehaviorContainer::kInterfaceName));
  ASSERT_TRUE(cont);
  EXPECT_EQ(doc->GetRootContainer(OrvIBehaviorContainer::kInterfaceName)->LateType(), "OrvBehaviorCont");
  auto behaviours = cont->GetBehaviors();
  ASSERT_EQ(behaviours.size(), 1u);
  auto b = std::dynamic_pointer_cast<HostActivity>(behaviours[0]);
  EXPECT_TRUE(b->IsOfType("OrvBehavior"));
  EXPECT_TRUE(b->IsOfType("ResourceBehavior"));

  // Paths run through the resource into the behaviour, and back.
  auto ba2 = doc->FindById("ba2");
  EXPECT_EQ(doc->PathString(ba2), "Resources/Robot.1/Robot.1 Behavior/Weld.1/Check.1");
  EXPECT_EQ(doc->Resolve("Resources/Robot.1/Robot.1 Behavior/Weld.1/Check.1").GetLeaf(), ba2);
  EXPECT_EQ(doc->Resolve("Resources/Robot.1/Robot.1 Behavior").GetLeaf(), b);
  EXPECT_TRUE(doc->Resolve("Resources/Robot.1/Robot.1 Behavior/Nothing").IsEmpty());

  const std::string before = SerializePlant(*doc);
  UndoJournal& j = doc->Journal();
  j.Begin();
  auto made = b->CreateChild("TlStud", "Stud.1");
  ASSERT_TRUE(made);
  EXPECT_FALSE(b->CreateChild("TlNobody", "X"));
  ASSERT_TRUE(j.Commit("add activity"));
  auto child = query<TavISPPActivity>(made);
  EXPECT_EQ(child->GetFather(), b);
  EXPECT_TRUE(child->IsOfType("PhysicalActivity"));
  const std::string after = SerializePlant(*doc);
  EXPECT_NE(after.find("name=\"Stud.1\" type=\"TlStud\""), std::string::npos);
  std::string err;
  ASSERT_TRUE(j.Undo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), before);
  ASSERT_TRUE(j.Redo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), after);
}

TEST(LibraryBehaviour, HubObjectsAnswerTheirPlanType) {
  auto doc = Parse(kHubPlant);
  ASSERT_TRUE(doc);
  auto root = query<OrvIMHIPlanTypeObject>(doc->FindById("a1"));
  ASSERT_TRUE(root);
  auto cell = root->GetPlanType();
  ASSERT_TRUE(cell);
  std::vector<TavUnicodeString> types;
  EXPECT_EQ(cell->GetAllowedChildTypes(types), S_OK);
  EXPECT_EQ(types, (std::vector<TavUnicodeString>{"TlWeld", "TlSpot", "AndIn"}));
  auto broken = query<OrvIMHIPlanTypeObject>(doc->FindById("b1"))->GetPlanType();
  ASSERT_TRUE(broken);
  EXPECT_EQ(broken->GetAllowedChildTypes(types), E_FAIL);
  EXPECT_FALSE(query<OrvIMHIPlanTypeObject>(doc->FindById("a2"))->GetPlanType());
  EXPECT_FALSE(query<OrvIMHIPlanTypeObject>(doc->FindById("p1")));
  auto local = Parse(kHead + "<plant format=\"1\" environment=\"local\">\n  <process id=\"a1\" name=\"P\"/>\n</plant>\n");
  EXPECT_FALSE(query<OrvIMHIPlanTypeObject>(local->FindById("a1")));
}

}  // namespace
