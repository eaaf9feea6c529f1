// Making and deleting resources on the host: new products and the resource factory,
// the resource type libraries, the reverse index behind "what links to a resource",
// dropping the links into a deleted subtree, and the places and events a deletion
// talks to.
#include <gtest/gtest.h>

#include <random>

#include "HostAssignment.h"
#include "HostProducts.h"
#include "HostRelationIndex.h"
#include "HostResources.h"
#include "HostUndo.h"
#include "PlantText.h"
#include "TavPlanner.h"

using namespace host;

namespace {

// A station with a robot (a gun below it) and a spare robot with a behaviour whose
// input is the door; activities use the robot, its gun and the station.
const std::string kPlant =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plant format=\"1\" environment=\"local\" name=\"Line\">\n"
    "  <products>\n"
    "    <product id=\"door\" name=\"Door.1\" partNumber=\"D-100\"/>\n"
    "  </products>\n"
    "  <resources>\n"
    "    <resource id=\"st1\" name=\"Station.1\" type=\"Station\">\n"
    "      <resource id=\"rb1\" name=\"Robot.1\" type=\"Robot\" partNumber=\"R-6\">\n"
    "        <resource id=\"gun1\" name=\"Gun.1\" type=\"WeldGun\" partNumber=\"G-2\"/>\n"
    "      </resource>\n"
    "    </resource>\n"
    "    <resource id=\"rb2\" name=\"Robot.2\" type=\"Robot\" partNumber=\"R-6\">\n"
    "      <behavior id=\"bh2\">\n"
    "        <input ref=\"door\"/>\n"
    "        <activity id=\"ba1\" name=\"Hold\" type=\"PhysicalActivity\">\n"
    "          <relation type=\"process_uses_resource\" ref=\"gun1\"/>\n"
    "        </activity>\n"
    "      </behavior>\n"
    "    </resource>\n"
    "  </resources>\n"
    "  <process id=\"proc\" name=\"Process\" type=\"Activity\">\n"
    "    <activity id=\"a1\" name=\"Weld\" type=\"PhysicalActivity\">\n"
    "      <relation type=\"process_uses_resource\" ref=\"rb1\"/>\n"
    "      <relation type=\"process_attaches_resource\" ref=\"gun1\"/>\n"
    "      <relation type=\"process_processes_product\" ref=\"door\"/>\n"
    "      <context ref=\"door\"/>\n"
    "    </activity>\n"
    "    <activity id=\"a2\" name=\"Spot\" type=\"PhysicalActivity\">\n"
    "      <relation type=\"process_runs_on_resource\" ref=\"st1\"/>\n"
    "      <relation type=\"process_uses_resource\" ref=\"gun1\"/>\n"
    "    </activity>\n"
    "  </process>\n"
    "</plant>\n";

Ref<HostProduct> At(const HostDocument& doc, const std::string& path) {
  return std::dynamic_pointer_cast<HostProduct>(doc.Resolve(path).GetLeaf());
}
Ref<HostActivity> Act(const HostDocument& doc, const std::string& path) {
  return std::dynamic_pointer_cast<HostActivity>(doc.Resolve(path).GetLeaf());
}

// The owners of the relations naming `o`, by path, as the linkable object lists them.
std::vector<std::string> LinkedActivities(const HostDocument& doc, const Ref<TavBaseUnknown>& o) {
  std::vector<std::string> out;
  for (auto& spec : query<TavILinkableObject>(o)->GetLinkedObjects())
    out.push_back(doc.PathString(query<TavISpecObject>(spec)->GetSpecAttribute("PhysicActivity")));
  return out;
}

// The same by walking every activity: what the index must agree with.
std::vector<std::string> Walked(const HostDocument& doc, const TavBaseUnknown* target) {
  std::vector<std::pair<int, std::string>> found;
  std::vector<Ref<HostActivity>> stack(doc.Process().roots_.begin(), doc.Process().roots_.end());
  while (!stack.empty()) {
    auto a = stack.back();
    stack.pop_back();
    for (auto& r : a->Relations())
      if (r->Target().get() == target) found.emplace_back(a->GetModelNumber(), doc.PathString(a));
    for (auto& c : a->Children()) stack.push_back(c);
  }
  std::stable_sort(found.begin(), found.end(), [](auto& x, auto& y) { return x.first < y.first; });
  std::vector<std::string> out;
  for (auto& f : found) out.push_back(f.second);
  return out;
}

}  // namespace

TEST(ResourceFactory, NewResourcesTakeTheFormValuesAndUndoInOneStep) {
  auto doc = LoadPlantText(kPlant);
  ASSERT_TRUE(doc);
  const std::string before = SerializePlant(*doc);
  auto station = At(*doc, "Resources/Station.1");
  auto factory = query<TavIResourceFactory>(doc->GetRootContainer(TavIResourceFactory::kInterfaceName));
  ASSERT_TRUE(factory);

  doc->Journal().Begin();
  Ref<TavIProduct> a, b, c;
  ASSERT_EQ(query<TavIAProducts>(station)->AddProduct("Gun", a), S_OK);
  ASSERT_EQ(query<TavIAProducts>(station)->AddProduct("Gun", b), S_OK);
  EXPECT_EQ(a->GetName().utf8(), "Gun.1");
  EXPECT_EQ(b->GetName().utf8(), "Gun.2");
  EXPECT_TRUE(a->IsResource()) << "a resource under a resource";
  EXPECT_EQ(a->GetFatherProduct(), Ref<TavIProduct>(station));
  EXPECT_EQ(query<TavIAProducts>(station)->AddProduct("", c), E_FAIL);
  EXPECT_FALSE(c);
  ASSERT_EQ(factory->MakeResource(a, "Gripper", "Tool", "Physical", 500000, 3), S_OK);
  auto made = std::dynamic_pointer_cast<HostProduct>(a);
  EXPECT_EQ(made->Name().utf8(), "Gripper");
  EXPECT_EQ(made->ResourceType().utf8(), "Tool");
  EXPECT_EQ(made->GetAttribute("Category"), TavValue(TavUnicodeString("Physical")));
  EXPECT_EQ(made->GetAttribute("MTBF"), TavValue(std::int64_t{500000}));
  EXPECT_EQ(made->GetAttribute("MTTR"), TavValue(std::int64_t{3}));
  // Refused: an empty name or type, a negative time, a product, another document's resource.
  EXPECT_EQ(factory->MakeResource(b, "", "Tool", "", 0, 0), E_FAIL);
  EXPECT_EQ(factory->MakeResource(b, "X", "", "", 0, 0), E_FAIL);
  EXPECT_EQ(factory->MakeResource(b, "X", "Tool", "", -1, 0), E_FAIL);
  EXPECT_EQ(factory->MakeResource(At(*doc, "Products/Door.1"), "X", "Tool", "", 0, 0), E_FAIL);
  auto other = LoadPlantText(kPlant);
  EXPECT_EQ(factory->MakeResource(At(*other, "Resources/Robot.2"), "X", "Tool", "", 0, 0), E_FAIL);
  EXPECT_EQ(b->GetName().utf8(), "Gun.2");
  doc->Journal().Commit("Create resource");

  // The new resource saves and loads with its attributes.
  const std::string with = SerializePlant(*doc);
  auto again = LoadPlantText(with);
  ASSERT_TRUE(again);
  EXPECT_EQ(SerializePlant(*again), with);
  EXPECT_EQ(At(*again, "Resources/Station.1/Gripper")->GetAttribute("MTBF"), TavValue(std::int64_t{500000}));

  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(SerializePlant(*doc), before);
}

TEST(ResourceTypes, TheShippedLibraryAndStrictErrorsNamingFileAndLine) {
  auto* list = TavResourceTypeList::Get();
  ASSERT_TRUE(list);
  std::vector<TavUnicodeString> types;
  std::string error;
  ASSERT_EQ(list->GetResourceTypes("ResourceWex.feat", types, error), S_OK) << error;
  ASSERT_FALSE(types.empty());
  EXPECT_EQ(types.front().utf8(), "Station");

  EXPECT_EQ(list->GetResourceTypes("../catalogs/err.msg", types, error), E_FAIL);
  EXPECT_NE(error.find("not a file name"), std::string::npos) << error;
  EXPECT_TRUE(types.empty());
  EXPECT_EQ(list->GetResourceTypes("Missing.feat", types, error), E_FAIL);
  EXPECT_NE(error.find("Missing.feat: cannot be read"), std::string::npos) << error;

  ASSERT_TRUE(ParseResourceTypes("# c\r\n\nresource-types 1\r\ntype A\ntype B-2.x\n", "t.feat", types, error)) << error;
  EXPECT_EQ(types.size(), 2u);
  const std::pair<const char*, const char*> bad[] = {
      {"", "t.feat:1: expected \"resource-types 1\": the file holds no library"},
      {"resource-types 2\n", "t.feat:1: expected \"resource-types 1\" before any type"},
      {"resource-types 1\n", "t.feat:1: the library lists no type"},
      {"resource-types 1\ntype A\ntype A\n", "t.feat:3: type 'A' listed twice"},
      {"resource-types 1\ntype 9A\n", "t.feat:2: a type name begins with a letter"},
      {"resource-types 1\ntype A B\n", "t.feat:2: a type name holds only letters, digits, '_', '-' and '.'"},
      {"resource-types 1\ntype \n", "t.feat:2: spaces before or after the line's words"},
      {"resource-types 1\nkind A\n", "t.feat:2: expected \"type NAME\""},
      {"resource-types 1\n\ntype A\tB\n", "t.feat:3: a tab or carriage return inside a line"},
  };
  for (auto [text, want] : bad) {
    EXPECT_FALSE(ParseResourceTypes(text, "t.feat", types, error)) << text;
    EXPECT_EQ(error, want);
    EXPECT_TRUE(types.empty());
  }
  EXPECT_FALSE(ParseResourceTypes("resource-types 1\ntype " + std::string(65, 'a') + "\n", "t.feat", types, error));
  EXPECT_FALSE(ParseResourceTypes(std::string("resource-types 1\ntype A\n\0", 25), "t.feat", types, error));
  EXPECT_EQ(error, "t.feat:3: a NUL byte: this is no text file");
}

TEST(ResourceLinks, TheIndexAgreesWithAWalkThroughEditsUndoAndRedo) {
  auto doc = LoadPlantText(kPlant);
  ASSERT_TRUE(doc);
  auto gun = At(*doc, "Resources/Station.1/Robot.1/Gun.1");
  EXPECT_EQ(LinkedActivities(*doc, gun),
            (std::vector<std::string>{"Process/Weld", "Process/Spot", "Resources/Robot.2/Robot.2 Behavior/Hold"}));
  auto spec = query<TavISpecObject>(query<TavILinkableObject>(gun)->GetLinkedObjects()[1]);
  EXPECT_FALSE(spec->GetSpecAttribute("Other"));

  // Random relation edits, activity removals and undo/redo: the index answers what a
  // walk over the process finds, for every resource.
  std::vector<Ref<HostProduct>> targets{At(*doc, "Resources/Station.1"), At(*doc, "Resources/Station.1/Robot.1"), gun,
                                        At(*doc, "Resources/Robot.2")};
  auto root = Act(*doc, "Process");
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    doc->Journal().Begin();
    for (int i = 0; i < 6; ++i) {
      auto acts = root->GetAllChildActivities();
      auto a = std::dynamic_pointer_cast<HostActivity>(acts.empty() ? Ref<TavBaseUnknown>(root) : acts[rng() % acts.size()]);
      auto t = targets[rng() % targets.size()];
      switch (rng() % 4) {
        case 0: a->AddResource(t, TavResourceCode::Uses); break;
        case 1: a->RemoveResource(t, TavResourceCode::Uses); break;
        case 2: doc->CreateActivity(a, "PhysicalActivity", {}, "New")->AddResource(t, TavResourceCode::RunsOn); break;
        default:
          if (a != root) a->FatherActivity()->RemoveChild(a);
      }
    }
    doc->Journal().Commit("Edit");
    std::string why;
    if (round % 3 == 1) {
      ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
    }
    if (round % 9 == 4) {
      ASSERT_TRUE(doc->Journal().Redo(&why)) << why;
    }
    for (auto& t : targets) {
      auto listed = LinkedActivities(*doc, t);
      std::erase_if(listed, [](const std::string& p) { return p.rfind("Process", 0) != 0; });
      ASSERT_EQ(listed, Walked(*doc, t.get())) << "round " << round << ", " << t->Name().utf8();
    }
  }
}

TEST(ResourceDeletion, DropsEveryLinkIntoTheSubtreeSavesAndUndoesToTheSameBytes) {
  auto doc = LoadPlantText(kPlant);
  ASSERT_TRUE(doc);
  ASSERT_EQ(ResourceContextsOf(*doc)->AddResourceContext(doc->FindById("gun1")), S_OK);
  auto robot2 = At(*doc, "Resources/Robot.2");
  auto hold = Act(*doc, "#ba1");
  ASSERT_EQ(AssignmentOf(*doc, false)->AddContext(Act(*doc, "Process/Weld"), doc->FindById("gun1")), S_OK);
  const std::string before = SerializePlant(*doc);
  auto list = TavProcessResourceListOf(doc);
  auto station = At(*doc, "Resources/Station.1");
  auto robot = At(*doc, "Resources/Station.1/Robot.1");
  EXPECT_TRUE(list->HasResource(station));
  EXPECT_FALSE(list->HasResource(robot)) << "a child is no root of the list";
  EXPECT_EQ(list->RemoveResource(robot), E_FAIL);

  doc->Journal().Begin();
  query<TavIModelEvents>(station)->Dispatch(OrvResourceModifiedNotification("DeletePODSForChildren"));
  ASSERT_EQ(list->RemoveResource(station), S_OK);
  doc->Journal().Commit("Delete resource");
  EXPECT_FALSE(doc->Resolve("Resources/Station.1").GetLeaf());
  EXPECT_EQ(Act(*doc, "Process/Weld")->GetRelations().size(), 1u) << "the door's relation stays";
  EXPECT_TRUE(Act(*doc, "Process/Spot")->GetRelations().empty());
  EXPECT_TRUE(hold->GetRelations().empty()) << "a behaviour's activity too";
  EXPECT_TRUE(ResourceContextsOf(*doc)->List().empty());
  EXPECT_TRUE(AssignmentOf(*doc, false)->GetContexts(Act(*doc, "Process/Weld")).size() == 1u) << "the door's context stays";
  EXPECT_EQ(query<TavIProductPlace>(robot2)->GetFatherObject(), ResourceListPlace(*doc));
  const auto notes = NotificationsOf(*doc)->Take();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes[0], "resource modified (DeletePODSForChildren): Resources/Station.1, 5 links dropped");
  // The plant without the station loads again.
  const std::string without = SerializePlant(*doc);
  auto reloaded = LoadPlantText(without);
  ASSERT_TRUE(reloaded);
  EXPECT_EQ(SerializePlant(*reloaded), without);

  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(SerializePlant(*doc), before);
  EXPECT_EQ(LinkedActivities(*doc, doc->FindById("gun1")).size(), 3u);
  ASSERT_TRUE(doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(SerializePlant(*doc), without);
}

TEST(ResourcePlaces, FathersListPlaceAndTheEventDispatcher) {
  auto doc = LoadPlantText(kPlant);
  ASSERT_TRUE(doc);
  auto robot = At(*doc, "Resources/Station.1/Robot.1");
  auto station = At(*doc, "Resources/Station.1");
  EXPECT_EQ(query<TavIProductPlace>(robot)->GetFatherObject(), Ref<TavBaseUnknown>(station));
  auto place = query<TavIProductPlace>(station)->GetFatherObject();
  ASSERT_TRUE(place);
  EXPECT_EQ(query<TavINavigateObject>(place)->GetIdentificators(), std::vector<TavUnicodeString>{"Resource"});
  EXPECT_EQ(query<TavINavigateObject>(query<TavIProductPlace>(At(*doc, "Products/Door.1"))->GetFatherObject())
                ->GetIdentificators(),
            std::vector<TavUnicodeString>{"Product"});
  ASSERT_TRUE(query<TavIProductInSession>(place) && query<TavIRedrawEvent>(place) && query<TavIModelEvents>(place));

  auto dispatcher = query<TavIProductEventDispatcher>(doc->GetRootContainer(TavIProductEventDispatcher::kInterfaceName));
  ASSERT_TRUE(dispatcher);
  dispatcher->DispatchCurrent();  // nothing current: nothing said
  dispatcher->SetCurrentEvent(TavPrdProductRemovedNotification(place, station));
  dispatcher->SetPersistent(true);
  EXPECT_TRUE(dispatcher->IsPersistent());
  dispatcher->DispatchCurrent();
  dispatcher->SetPersistent(false);
  dispatcher->DispatchCurrent();
  dispatcher->DispatchCurrent();  // no longer current
  query<TavIRedrawEvent>(place)->Redraw();
  query<TavIModelEvents>(robot)->Dispatch(OrvResourceModifiedNotification("ResourceDeactivated"));
  query<TavIRedrawEvent>(Act(*doc, "Process/Weld"))->Redraw();
  EXPECT_EQ(NotificationsOf(*doc)->Take(),
            (std::vector<std::string>{
                "product event dispatched: removed Resources/Station.1 (from the resource list), kept current",
                "product event dispatched: removed Resources/Station.1 (from the resource list)",
                "resource list redrawn",
                "resource modified (ResourceDeactivated): Resources/Station.1/Robot.1",
                "activity redrawn: Process/Weld",
            }));
  EXPECT_EQ(RelationIndex::Of(*doc)->Size(), 6u);
}
