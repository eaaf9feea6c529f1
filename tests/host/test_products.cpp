// Product instances, block-movable products, resource contexts, resource plan types,
// plant files as a source of resources, and the notification record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "HostAssignment.h"
#include "HostPlanner.h"
#include "HostProducts.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "PlantText.h"
#include "TavActivityLib.h"

using namespace host;

namespace {

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plant format=\"1\" environment=\"local\" name=\"Line\">\n";

// A station with two robots (one with a gun and a behaviour), a door, and
// activities relating them in the process and in the behaviour.
const std::string kPlant = kHead +
    "  <products>\n"
    "    <product id=\"door\" name=\"Door.1\" partNumber=\"D-100\">\n"
    "      <product id=\"hinge\" name=\"Hinge.1\" partNumber=\"H-1\"/>\n"
    "    </product>\n"
    "  </products>\n"
    "  <resources>\n"
    "    <resource id=\"st1\" name=\"Station.1\" type=\"Station\">\n"
    "      <resource id=\"rb1\" name=\"Robot.1\" type=\"Robot\" partNumber=\"R-6\">\n"
    "        <attribute name=\"Payload\" type=\"double\" value=\"120\"/>\n"
    "        <placement matrix=\"1 0 0 0 1 0 0 0 1 100 0 0\"/>\n"
    "        <resource id=\"gun1\" name=\"Gun.1\" type=\"WeldGun\" partNumber=\"G-2\">\n"
    "          <resource id=\"tip1\" name=\"Tip\" type=\"Tool\" partNumber=\"T-1\"/>\n"
    "        </resource>\n"
    "        <resource id=\"cab1\" name=\"Cable\" partNumber=\"C-1\"/>\n"
    "      </resource>\n"
    "      <resource id=\"rb2\" name=\"Robot.2\" type=\"Robot\" partNumber=\"R-6\">\n"
    "        <behavior id=\"bh2\">\n"
    "          <input ref=\"door\"/>\n"
    "          <activity id=\"ba1\" name=\"Hold\" type=\"PhysicalActivity\">\n"
    "            <relation type=\"process_uses_resource\" ref=\"gun1\"/>\n"
    "          </activity>\n"
    "        </behavior>\n"
    "      </resource>\n"
    "    </resource>\n"
    "  </resources>\n"
    "  <process id=\"proc\" name=\"Process\" type=\"Activity\">\n"
    "    <activity id=\"a1\" name=\"Weld\" type=\"PhysicalActivity\">\n"
    "      <relation type=\"process_uses_resource\" ref=\"rb1\"/>\n"
    "      <relation type=\"process_uses_resource\" ref=\"tip1\"/>\n"
    "      <relation type=\"process_processes_product\" ref=\"door\"/>\n"
    "      <relation type=\"process_creates_product\" ref=\"hinge\"/>\n"
    "      <context ref=\"hinge\"/>\n"
    "    </activity>\n"
    "  </process>\n"
    "</plant>\n";

Ref<HostDocument> Parse(const std::string& text, std::string* error = nullptr) {
  std::string e;
  auto doc = ParsePlant(text, "line.xml", e);
  if (error) *error = e;
  return doc;
}

Ref<HostProduct> At(const HostDocument& doc, const std::string& path) {
  return std::dynamic_pointer_cast<HostProduct>(doc.Resolve(path).GetLeaf());
}

std::vector<std::string> ChildNames(const HostProduct& p) {
  std::vector<std::string> out;
  for (auto& c : p.Children()) out.push_back(c->Name().utf8());
  return out;
}

}  // namespace

TEST(ProductInstances, NamesAreUniqueAmongTheFathersChildren) {
  auto doc = Parse(kPlant);
  ASSERT_TRUE(doc);
  auto station = At(*doc, "Resources/Station.1");
  EXPECT_EQ(InstanceName(*station, "Robot.1").utf8(), "Robot.3");  // .1 and .2 taken
  EXPECT_EQ(InstanceName(*station, "Robot").utf8(), "Robot.3");
  EXPECT_EQ(InstanceName(*station, "Cell.7").utf8(), "Cell.1");
  EXPECT_EQ(InstanceName(*station, "Robot.x").utf8(), "Robot.x.1");  // not a number: kept whole
  EXPECT_EQ(InstanceName(*station, "v2.").utf8(), "v2..1");
}

TEST(ProductInstances, DeepCopyAcrossDocumentsUndoesInOneStep) {
  auto doc = Parse(kPlant);
  auto source = Parse(ReplaceOnce(kPlant, "name=\"Station.1\"", "name=\"Other\""));
  ASSERT_TRUE(doc && source);
  auto station = At(*doc, "Resources/Station.1");
  auto of = At(*source, "Resources/Other/Robot.1");
  const std::size_t before = doc->ObjectCount();

  doc->Journal().Begin();
  Ref<TavIProduct> made;
  ASSERT_EQ(query<TavIProductInstances>(station)->AddInstance(of, made), S_OK);
  doc->Journal().Commit("New instance");
  auto robot = std::dynamic_pointer_cast<HostProduct>(made);
  ASSERT_TRUE(robot);
  EXPECT_EQ(robot->Name().utf8(), "Robot.3");
  EXPECT_EQ(robot->PartNumber().utf8(), "R-6");
  EXPECT_EQ(robot->ResourceType().utf8(), "Robot");
  EXPECT_EQ(robot->GetPosition(), of->GetPosition());
  ASSERT_TRUE(robot->GetAttribute("Payload"));
  EXPECT_EQ(robot->Doc(), doc.get());
  EXPECT_NE(robot->IdString(), "rb1");
  EXPECT_EQ(ChildNames(*robot), (std::vector<std::string>{"Gun.1", "Cable"}));
  EXPECT_EQ(ChildNames(*robot->Children()[0]), std::vector<std::string>{"Tip"});
  EXPECT_EQ(robot->Children()[0]->Children()[0]->ResourceType().utf8(), "Tool");
  EXPECT_EQ(doc->ObjectCount(), before + 4);
  EXPECT_EQ(At(*doc, "Resources/Station.1/Robot.3/Gun.1/Tip"), robot->Children()[0]->Children()[0]);
  // The source is untouched.
  EXPECT_EQ(ChildNames(*At(*source, "Resources/Other")), (std::vector<std::string>{"Robot.1", "Robot.2"}));

  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(ChildNames(*station), (std::vector<std::string>{"Robot.1", "Robot.2"}));
  EXPECT_EQ(doc->ObjectCount(), before);
  ASSERT_TRUE(doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(At(*doc, "Resources/Station.1/Robot.3/Cable"), robot->Children()[1]);
  // The new instance saves and loads like any resource.
  std::string error;
  auto again = ParsePlant(SerializePlant(*doc), "line.xml", error);
  ASSERT_TRUE(again) << error;
  EXPECT_TRUE(At(*again, "Resources/Station.1/Robot.3/Gun.1/Tip"));
}

TEST(ProductInstances, RefusalsChangeNothing) {
  auto doc = Parse(kPlant);
  ASSERT_TRUE(doc);
  auto station = At(*doc, "Resources/Station.1");
  auto gun = At(*doc, "Resources/Station.1/Robot.1/Gun.1");
  auto door = std::dynamic_pointer_cast<HostProduct>(doc->Resolve("Products/Door.1").GetLeaf());
  const std::size_t before = doc->ObjectCount();
  Ref<TavIProduct> made;
  auto instances = query<TavIProductInstances>(gun);
  EXPECT_EQ(instances->AddInstance(nullptr, made), E_FAIL);
  EXPECT_EQ(instances->AddInstance(gun, made), E_FAIL);      // itself
  EXPECT_EQ(instances->AddInstance(station, made), E_FAIL);  // an ancestor
  EXPECT_EQ(instances->AddInstance(door, made), E_FAIL);     // a product under a resource
  EXPECT_EQ(query<TavIProductInstances>(door)->AddInstance(gun, made), E_FAIL);  // and the reverse
  EXPECT_FALSE(made);
  EXPECT_EQ(instances->RemoveInstance(station), E_FAIL);  // not its child
  EXPECT_EQ(instances->RemoveInstance(nullptr), E_FAIL);
  EXPECT_EQ(doc->ObjectCount(), before);
  // Products answer no TavIResource; resources do.
  EXPECT_FALSE(query<TavIResource>(door));
  EXPECT_TRUE(query<TavIResource>(gun));
}

TEST(ProductInstances, RemoveDropsRelationsEverywhereAndUndoes) {
  auto doc = Parse(kPlant);
  ASSERT_TRUE(doc);
  const std::string saved = SerializePlant(*doc);
  auto station = At(*doc, "Resources/Station.1");
  auto robot = At(*doc, "Resources/Station.1/Robot.1");
  auto weld = std::dynamic_pointer_cast<HostActivity>(doc->Resolve("Process/Weld").GetLeaf());
  auto hold = std::dynamic_pointer_cast<HostActivity>(doc->Resolve("#ba1").GetLeaf());
  auto bh = std::dynamic_pointer_cast<HostBehavior>(doc->Resolve("#bh2").GetLeaf());
  ASSERT_TRUE(weld && hold && bh);
  ASSERT_EQ(ResourceContextsOf(*doc)->AddResourceContext(doc->FindById("tip1")), S_OK);

  doc->Journal().Begin();
  ASSERT_EQ(query<TavIProductInstances>(station)->RemoveInstance(robot), S_OK);
  doc->Journal().Commit("Remove instance");
  EXPECT_EQ(ChildNames(*station), std::vector<std::string>{"Robot.2"});
  EXPECT_FALSE(doc->Resolve("#tip1").GetLeaf());
  ASSERT_EQ(weld->GetRelations().size(), 2u);  // only the door's and the hinge's are left
  EXPECT_EQ(weld->GetRelations()[0]->GetRelationType().utf8(), "process_processes_product");
  EXPECT_TRUE(hold->GetRelations().empty());
  EXPECT_EQ(bh->GetInputItems().size(), 1u);
  EXPECT_TRUE(ResourceContextsOf(*doc)->List().empty());
  std::string error;
  const std::string without = SerializePlant(*doc);
  auto reloaded = ParsePlant(without, "line.xml", error);
  ASSERT_TRUE(reloaded) << error;
  EXPECT_EQ(SerializePlant(*reloaded), without);

  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(weld->GetRelations().size(), 4u);
  EXPECT_EQ(hold->GetRelations().size(), 1u);
  EXPECT_EQ(ResourceContextsOf(*doc)->List().size(), 1u);
  ResourceContextsOf(*doc)->RemoveResourceContext(At(*doc, "Resources/Station.1/Robot.1/Gun.1/Tip"));
  EXPECT_EQ(SerializePlant(*doc), saved);
}

TEST(ProductInstances, RemovingAProductDropsTheOutputsContextsAndBehaviourItemsNamingIt) {
  // The plant names the hinge as an input of Robot.2's behaviour too.
  auto doc = Parse(ReplaceOnce(kPlant, "<input ref=\"door\"/>", "<input ref=\"door\"/>\n          <input ref=\"hinge\"/>"));
  ASSERT_TRUE(doc);
  auto door = std::dynamic_pointer_cast<HostProduct>(doc->Resolve("Products/Door.1").GetLeaf());
  auto hinge = door->Children().at(0);
  auto weld = std::dynamic_pointer_cast<HostActivity>(doc->Resolve("Process/Weld").GetLeaf());
  auto bh = std::dynamic_pointer_cast<HostBehavior>(doc->Resolve("#bh2").GetLeaf());
  ASSERT_EQ(weld->GetOutputs().size(), 1u);
  ASSERT_EQ(bh->GetInputItems().size(), 2u);
  const std::string before = SerializePlant(*doc);
  doc->Journal().Begin();
  ASSERT_EQ(query<TavIProductInstances>(door)->RemoveInstance(hinge), S_OK);
  doc->Journal().Commit("Remove instance");
  EXPECT_TRUE(weld->GetOutputs().empty());
  EXPECT_EQ(weld->GetRelations().size(), 3u);
  EXPECT_TRUE(AssignmentOf(*doc, true)->GetContexts(weld).empty());
  EXPECT_EQ(bh->GetInputItems().size(), 1u) << "the behaviour's item naming the hinge went with it";
  std::string error;
  ASSERT_TRUE(ParsePlant(SerializePlant(*doc), "line.xml", error)) << error;
  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(weld->GetOutputs().size(), 1u);
  EXPECT_EQ(SerializePlant(*doc), before);
}

TEST(ProductInstances, RemovingAProductTakesItOutOfAssembliesSoThePlantStillSaves) {
  const std::string plant = ReplaceOnce(kPlant, "</products>",
                                        "</products>\n  <assemblies>\n    <assembly id=\"ma\" name=\"DoorAssy\">\n"
                                        "      <part ref=\"hinge\"/>\n      <part ref=\"door\"/>\n    </assembly>\n  </assemblies>");
  auto doc = Parse(plant);
  ASSERT_TRUE(doc);
  auto door = At(*doc, "Products/Door.1");
  auto hinge = At(*doc, "Products/Door.1/Hinge.1");
  auto ma = std::dynamic_pointer_cast<HostAssembly>(doc->Resolve("#ma").GetLeaf());
  ASSERT_TRUE(door && hinge && ma);
  const std::string before = SerializePlant(*doc);
  doc->Journal().Begin();
  ASSERT_EQ(query<TavIProductInstances>(door)->RemoveInstance(hinge), S_OK);
  doc->Journal().Commit("Remove instance");
  ASSERT_EQ(ma->Parts().size(), 1u);
  EXPECT_EQ(ma->Parts()[0], door);
  std::string error;
  const std::string without = SerializePlant(*doc);
  ASSERT_TRUE(ParsePlant(without, "line.xml", error)) << error;
  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(SerializePlant(*doc), before);
}

TEST(ProductPlant, BlockMovableAndContextsRoundTripAndUndo) {
  const std::string plant =
      ReplaceOnce(ReplaceOnce(ReplaceOnce(kPlant, "<resource id=\"cab1\" name=\"Cable\" partNumber=\"C-1\"/>",
                              "<resource id=\"cab1\" name=\"Cable\" partNumber=\"C-1\">\n"
                              "          <blockMovable value=\"false\"/>\n"
                              "        </resource>"),
                      "<product id=\"hinge\" name=\"Hinge.1\" partNumber=\"H-1\"/>",
                      "<product id=\"hinge\" name=\"Hinge.1\" partNumber=\"H-1\">\n"
                      "        <blockMovable value=\"false\"/>\n"
                      "      </product>"),
              "</plant>\n",
              "  <resourceContexts>\n"
              "    <context ref=\"rb2\"/>\n"
              "    <context ref=\"st1\"/>\n"
              "  </resourceContexts>\n"
              "</plant>\n");
  std::string error;
  auto doc = Parse(plant, &error);
  ASSERT_TRUE(doc) << error;
  EXPECT_EQ(SerializePlant(*doc), plant);
  auto cable = At(*doc, "Resources/Station.1/Robot.1/Cable");
  auto robot = At(*doc, "Resources/Station.1/Robot.1");
  EXPECT_FALSE(query<TavIBlockMovable>(cable)->IsBlockMovable());
  EXPECT_TRUE(query<TavIBlockMovable>(robot)->IsBlockMovable());
  auto contexts = TavResourceContextsOf(doc);
  ASSERT_TRUE(contexts);
  ASSERT_EQ(contexts->GetResourceContexts().size(), 2u);
  EXPECT_EQ(contexts->GetResourceContexts()[0], At(*doc, "Resources/Station.1/Robot.2"));
  EXPECT_FALSE(contexts->IsResourceContext(robot));
  EXPECT_TRUE(contexts->IsUnderResourceContext(cable));  // Station.1 is one
  EXPECT_FALSE(contexts->IsUnderResourceContext(doc->FindById("door")));

  // One step changes all three; undo gives the file back byte for byte.
  doc->Journal().Begin();
  EXPECT_EQ(query<TavIBlockMovable>(cable)->SetBlockMovable(1), S_OK);
  EXPECT_EQ(query<TavIBlockMovable>(robot)->SetBlockMovable(0), S_OK);
  EXPECT_EQ(contexts->RemoveResourceContext(At(*doc, "Resources/Station.1")), S_OK);
  EXPECT_EQ(contexts->RemoveResourceContext(At(*doc, "Resources/Station.1")), S_FALSE);
  EXPECT_EQ(contexts->AddResourceContext(robot), S_OK);
  EXPECT_EQ(contexts->AddResourceContext(robot), S_FALSE);
  EXPECT_EQ(contexts->AddResourceContext(doc->FindById("door")), E_FAIL);  // a product
  doc->Journal().Commit("Edit");
  EXPECT_TRUE(query<TavIBlockMovable>(cable)->IsBlockMovable());
  EXPECT_FALSE(contexts->IsUnderResourceContext(At(*doc, "Resources/Station.1")));
  EXPECT_TRUE(contexts->IsUnderResourceContext(robot->Children()[0]));
  const std::string edited = SerializePlant(*doc);
  EXPECT_EQ(SerializePlant(*Parse(edited)), edited);
  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(SerializePlant(*doc), plant);
  ASSERT_TRUE(doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(SerializePlant(*doc), edited);

  // A plant without any of it saves as it did.
  auto plain = Parse(kPlant);
  EXPECT_EQ(SerializePlant(*plain), kPlant);
}

TEST(ProductPlant, StrictLoaderNamesTheElement) {
  struct Case {
    std::string from, to, message;
  };
  const std::vector<Case> cases = {
      {"</plant>", "<resourceContexts><context ref=\"nope\"/></resourceContexts></plant>", "'nope' is no resource of this plant"},
      {"</plant>", "<resourceContexts><context ref=\"door\"/></resourceContexts></plant>", "'door' is no resource of this plant"},
      {"</plant>", "<resourceContexts><context ref=\"st1\"/><context ref=\"st1\"/></resourceContexts></plant>",
       "duplicate resource context 'st1'"},
      {"</plant>", "<resourceContexts><resource ref=\"st1\"/></resourceContexts></plant>", "unknown element"},
      {"</plant>", "<resourceContexts><context/></resourceContexts></plant>", "ref"},
      {"</plant>", "<resourceContexts><context ref=\"st1\" extra=\"1\"/></resourceContexts></plant>", "extra"},
      {"<resource id=\"cab1\" name=\"Cable\" partNumber=\"C-1\"/>",
       "<resource id=\"cab1\" name=\"Cable\"><blockMovable value=\"true\"/></resource>", "is the default"},
      {"<resource id=\"cab1\" name=\"Cable\" partNumber=\"C-1\"/>",
       "<resource id=\"cab1\" name=\"Cable\"><blockMovable value=\"no\"/></resource>", "value"},
      {"<resource id=\"cab1\" name=\"Cable\" partNumber=\"C-1\"/>",
       "<resource id=\"cab1\" name=\"Cable\"><blockMovable value=\"false\"/><blockMovable value=\"false\"/></resource>",
       "two <blockMovable> elements"},
      {"<resource id=\"cab1\" name=\"Cable\" partNumber=\"C-1\"/>", "<resource id=\"cab1\" name=\"Cable\"><blockMovable/></resource>",
       "value"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(Parse(ReplaceOnce(kPlant, c.from, c.to), &error)) << c.to;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.to << "\n" << error;
    EXPECT_EQ(error.rfind("line.xml:", 0), 0u) << error;  // file:line:column first
  }
}

TEST(ProductPlant, ResourcesTakePlanTypesInHubPlants) {
  const std::string hub = ReplaceOnce(ReplaceOnce(kPlant, "environment=\"local\"", "environment=\"hub\""), "</plant>",
                                  "  <planTypes>\n"
                                  "    <planType name=\"RobotCell\"/>\n"
                                  "    <planAssign object=\"rb1\" planType=\"RobotCell\"/>\n"
                                  "  </planTypes>\n"
                                  "</plant>");
  std::string error;
  auto doc = Parse(hub, &error);
  ASSERT_TRUE(doc) << error;
  EXPECT_EQ(SerializePlant(*doc), hub);
  auto typed = query<OrvIMHIPlanTypeObject>(doc->FindById("rb1"));
  ASSERT_TRUE(typed);
  ASSERT_TRUE(typed->GetPlanType());
  EXPECT_EQ(typed->GetPlanType()->GetName().utf8(), "RobotCell");
  auto untyped = query<OrvIMHIPlanTypeObject>(doc->FindById("rb2"));
  ASSERT_TRUE(untyped);
  EXPECT_FALSE(untyped->GetPlanType());
  EXPECT_FALSE(query<OrvIMHIPlanTypeObject>(doc->FindById("door")));  // products have none
  EXPECT_FALSE(Parse(ReplaceOnce(hub, "object=\"rb1\"", "object=\"door\""), &error));
  EXPECT_NE(error.find("'door' is no activity, process, behaviour or resource"), std::string::npos) << error;
}

TEST(ProductPlant, PlantFileReaderLoadsOnceAndNamesTheFile) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("mirt-products-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir / name) << text;
    return (dir / name).string();
  };
  const std::string good = write("cell.xml", kPlant);
  const std::string broken = write("broken.xml", ReplaceOnce(kPlant, "</process>", "</proces>"));
  const std::string empty = write("empty.xml", kHead + "  <process id=\"p\" name=\"P\"/>\n</plant>\n");
  TavPlantFileReader* reader = TavPlantFileReader::Get();
  ASSERT_TRUE(reader);
  std::vector<Ref<TavIProduct>> first, second;
  std::string error;
  ASSERT_EQ(reader->ReadResources(good, first, error), S_OK) << error;
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0]->GetName().utf8(), "Station.1");
  // The same file by another spelling of its path: the same document, the same handles.
  ASSERT_EQ(reader->ReadResources((dir / "." / "cell.xml").string(), second, error), S_OK) << error;
  EXPECT_EQ(first, second);
  EXPECT_TRUE(query<TavIDocumentMember>(first[0])->GetDocument());

  EXPECT_EQ(reader->ReadResources(broken, second, error), E_FAIL);
  EXPECT_EQ(error.rfind(broken + ":", 0), 0u) << error;
  EXPECT_TRUE(second.empty());
  EXPECT_EQ(reader->ReadResources((dir / "missing.xml").string(), second, error), E_FAIL);
  EXPECT_EQ(error, (dir / "missing.xml").string() + ": no such plant file");
  EXPECT_EQ(reader->ReadResources(empty, second, error), E_FAIL);
  EXPECT_EQ(error, empty + " has no resources");
  ForgetPlantFiles();
  fs::remove_all(dir);
}

TEST(ProductNotifications, RecordedInOrderWithPaths) {
  auto doc = Parse(kPlant);
  ASSERT_TRUE(doc);
  auto station = At(*doc, "Resources/Station.1");
  auto robot = At(*doc, "Resources/Station.1/Robot.1");
  auto session = query<TavIProductInSession>(station);
  ASSERT_TRUE(session);
  Ref<TavIProduct> made;
  ASSERT_EQ(query<TavIProductInstances>(station)->AddInstance(robot, made), S_OK);
  session->SendProductAdded(station, made);
  query<TavISPPActivityModificationEvents>(doc->Resolve("Process/Weld").GetLeaf())->SendModification(13);
  query<TavISPPActivityModificationEvents>(doc->Resolve("Process").GetLeaf())->SendModification(TavUnicodeString("Add_Context"));
  session->SendRootModified();
  session->SendProductRemoved(station, robot);
  query<TavIRedrawEvent>(made)->Redraw();
  query<TavIRedrawEvent>(doc->Resolve("Process/Weld").GetLeaf())->Redraw();
  EXPECT_EQ(NotificationsOf(*doc)->Take(), (std::vector<std::string>{
                                               "product added: Resources/Station.1/Robot.3 (under Resources/Station.1)",
                                               "activity modified: Process/Weld (13)",
                                               "activity modified: Process (Add_Context)",
                                               "product root modified",
                                               "product removed: Resources/Station.1/Robot.1 (from Resources/Station.1)",
                                               "product redrawn: Resources/Station.1/Robot.3",
                                               "activity redrawn: Process/Weld",
                                           }));
  EXPECT_EQ(NotificationsOf(*doc)->Size(), 0u);
  // A long session keeps the newest only, and says how many went.
  for (std::size_t i = 0; i < HostNotifications::kMaxEntries + 2; ++i) session->SendRootModified();
  const auto kept = NotificationsOf(*doc)->Take();
  ASSERT_EQ(kept.size(), HostNotifications::kMaxEntries + 1);
  EXPECT_EQ(kept.front(), "2 earlier notifications not kept");
  // The process tree's own record keeps the kinds too.
  const auto& mods = ContExtOf(*doc)->Modifications();
  ASSERT_EQ(mods.size(), 2u);
  EXPECT_EQ(mods[0].activityId, "a1");
  EXPECT_EQ(mods[0].kind, 13);
  EXPECT_EQ(mods[1].name, "Add_Context");
}
