// Replacing a product instance by the product of a product document: the instance
// keeps what names it, its old descendants' links follow their name paths or go, the
// result saves and loads again and undoes in one step; what points at a product; the
// strict reader of product documents.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "HostProducts.h"
#include "HostReplacement.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "ProductDocument.h"
#include "TavCopy.h"
#include "TavPointing.h"
#include "TavResources.h"

using namespace host;
namespace fs = std::filesystem;

namespace {

const std::string kPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local" name="Line">
  <products>
    <product id="item" name="Item.1" partNumber="I-1">
      <product id="door" name="Door.1" partNumber="D-100">
        <attribute name="Colour" type="string" value="red"/>
        <placement matrix="1 0 0 0 1 0 0 0 1 1200 0 0"/>
        <product id="panel" name="Panel.1" partNumber="P-1"/>
        <product id="hinge" name="Hinge.1" partNumber="H-1"/>
        <product id="clip" name="Clip.1" partNumber="C-1"/>
      </product>
      <product id="door10" name="Door.10" partNumber="D-100"/>
      <product id="light2" name="LightDoor.1" partNumber="D-300"/>
    </product>
  </products>
  <resources>
    <resource id="rb" name="Robot.1" type="Robot">
      <behavior id="bh">
        <input ref="hinge"/>
      </behavior>
    </resource>
  </resources>
  <assemblies>
    <assembly id="ma" name="DoorAssy" partNumber="MA-1" type="1">
      <part ref="panel"/>
      <part ref="hinge"/>
    </assembly>
  </assemblies>
  <process id="proc" name="Process" type="Activity">
    <activity id="a1" name="Mount" type="PhysicalActivity">
      <relation type="process_processes_product" ref="door">
        <attribute name="Torque" type="double" value="22.5"/>
      </relation>
      <relation type="process_creates_product" ref="panel"/>
      <context ref="hinge"/>
    </activity>
    <activity id="a2" name="Fit" type="PhysicalActivity">
      <relation type="process_processes_product" ref="hinge"/>
      <relation type="process_processes_product" ref="clip"/>
    </activity>
  </process>
</plant>
)";

const std::string kLightDoor = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1">
  <products>
    <product id="d" name="LightDoor.1" partNumber="D-200">
      <attribute name="Supplier" type="string" value="North, plant 2"/>
      <product id="p" name="Panel.1" partNumber="P-2">
        <product id="r" name="Rib.1" partNumber="R-2"/>
      </product>
      <product id="h" name="Hinge.1" partNumber="H-2"/>
      <product id="s" name="Strut.1" partNumber="S-2"/>
    </product>
  </products>
</plant>
)";

class Replacement : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    doc = ParsePlant(kPlant, "line.xml", error);
    ASSERT_TRUE(doc) << error;
    folder = fs::temp_directory_path() / ("replacement-" + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path p = folder / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  Ref<HostProduct> At(const std::string& path) const {
    return std::dynamic_pointer_cast<HostProduct>(doc->Resolve(path).GetLeaf());
  }
  Ref<HostActivity> Activity(const std::string& path) const {
    return std::dynamic_pointer_cast<HostActivity>(doc->Resolve(path).GetLeaf());
  }
  HRESULT Replace(const std::string& instance, const std::string& file, std::string& error) {
    auto product = At(instance);
    auto automation = query<TavIAProduct>(query<TavIAProducts>(product ? product->GetFatherProduct() : nullptr));
    if (!automation) return E_NOINTERFACE;
    return automation->ReplaceComponent(product, file, error);
  }
  // The relation targets of an activity, as paths.
  std::vector<std::string> Targets(const std::string& activity) const {
    std::vector<std::string> out;
    for (auto& r : Activity(activity)->Relations()) out.push_back(r->GetRelationType().utf8() + " " + doc->PathString(r->Target()));
    return out;
  }
  Ref<HostDocument> doc;
  fs::path folder;
};

TEST_F(Replacement, InstanceKeepsWhatNamesItAndTakesTheDocumentsProduct) {
  const std::string before = SerializePlant(*doc);
  auto door = At("Products/Item.1/Door.1");
  auto oldHinge = At("Products/Item.1/Door.1/Hinge.1");
  const auto position = door->GetPosition();
  std::string error;
  doc->Journal().Begin();
  ASSERT_EQ(Replace("Products/Item.1/Door.1", Write("light.TavProduct", kLightDoor), error), S_OK) << error;
  doc->Journal().Commit("Replace product");

  // Same object, id, father, place and placement; the sibling holding the name made it ".2".
  EXPECT_EQ(At("Products/Item.1/LightDoor.2"), door);
  EXPECT_EQ(door->IdString(), "door");
  EXPECT_EQ(door->Father()->Children().front(), door);
  EXPECT_EQ(door->GetPosition(), position);
  EXPECT_EQ(door->PartNumber(), "D-200");
  EXPECT_FALSE(door->GetAttribute("Colour"));
  EXPECT_EQ(std::get<TavUnicodeString>(*door->GetAttribute("Supplier")), "North, plant 2");
  std::vector<std::string> children;
  for (auto& c : door->Children()) {
    children.push_back(c->Name().utf8() + " " + c->PartNumber().utf8());
    EXPECT_TRUE(c->IdString() != "panel" && c->IdString() != "hinge" && c->IdString() != "p") << c->IdString();
  }
  EXPECT_EQ(children, (std::vector<std::string>{"Panel.1 P-2", "Hinge.1 H-2", "Strut.1 S-2"}));
  ASSERT_TRUE(At("Products/Item.1/LightDoor.2/Panel.1/Rib.1"));

  // The relation to the instance keeps its attribute; the old descendants' links
  // follow their name paths, Clip.1's goes.
  EXPECT_EQ(Targets("Process/Mount"),
            (std::vector<std::string>{"process_processes_product Products/Item.1/LightDoor.2",
                                      "process_creates_product Products/Item.1/LightDoor.2/Panel.1"}));
  EXPECT_EQ(std::get<double>(*Activity("Process/Mount")->Relations().front()->GetAttribute("Torque")), 22.5);
  EXPECT_EQ(Targets("Process/Fit"), (std::vector<std::string>{"process_processes_product Products/Item.1/LightDoor.2/Hinge.1"}));
  auto newHinge = At("Products/Item.1/LightDoor.2/Hinge.1");
  EXPECT_EQ(PointingObjects(*newHinge).size(), 4u);  // Fit's relation, the assembly, the behaviour, Mount's context
  EXPECT_TRUE(PointingObjects(*oldHinge).empty());

  // Saves, loads again to the same bytes, and one undo gives the plant as it was.
  const std::string after = SerializePlant(*doc);
  auto again = ParsePlant(after, "again.xml", error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(SerializePlant(*again), after);
  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(SerializePlant(*doc), before);
  ASSERT_TRUE(doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(SerializePlant(*doc), after);
}

TEST_F(Replacement, PointingObjectsComeInCreationOrderAsComponentsSeeThem) {
  auto hinge = At("Products/Item.1/Door.1/Hinge.1");
  const auto objects = query<TavIPointingObjects>(hinge)->GetPointingObjects();
  std::vector<std::string> seen;
  for (auto& o : objects) {
    auto spec = query<TavISpecObject>(o);
    ASSERT_TRUE(spec);
    auto owner = spec->GetSpecAttribute("PhysicActivity");
    std::string kind = o->LateType();
    if (owner) kind += " " + query<TavISPPActivity>(owner)->GetLabel().utf8();
    else kind += " " + query<TavIAlias>(o)->GetAlias().utf8();
    seen.push_back(kind);
  }
  // Loading makes the assembly before the process, behaviours last; a context comes
  // after its activity's relations.
  EXPECT_EQ(seen, (std::vector<std::string>{"OrvMfgAssyContent DoorAssy", "TavSPPContext Mount",
                                            "TavSPPActivitySpecification Fit", "OrvBehaviorItem Robot.1 Behavior"}));
  // An output is a flow object, the door's relation an activity specification.
  auto panel = query<TavIPointingObjects>(At("Products/Item.1/Door.1/Panel.1"))->GetPointingObjects();
  ASSERT_EQ(panel.size(), 2u);
  EXPECT_TRUE(query<TavISPPProductIO>(panel[1]));
  EXPECT_TRUE(query<TavISPPActivitySpecification>(
      query<TavIPointingObjects>(At("Products/Item.1/Door.1"))->GetPointingObjects().at(0)));
  // The index follows content changes.
  auto assembly = std::dynamic_pointer_cast<HostAssembly>(doc->Resolve("Assemblies/DoorAssy").GetLeaf());
  doc->Journal().Begin();
  ASSERT_EQ(assembly->RemovePart(hinge), S_OK);
  doc->Journal().Commit("Remove part");
  EXPECT_EQ(PointingObjects(*hinge).size(), 3u);
}

TEST_F(Replacement, BadDocumentsAndInstancesChangeNothingAndSayWhere) {
  const std::string before = SerializePlant(*doc);
  struct Case {
    std::string name, bytes, expected;
  };
  const std::vector<Case> cases = {
      {"broken.TavProduct", "<plant format=\"1\"><products><product id=\"a\" name=\"A\"></products></plant>",
       "broken.TavProduct:1:"},
      {"two.TavProduct",
       "<plant format=\"1\">\n<products>\n<product id=\"a\" name=\"A\"/>\n<product id=\"b\" name=\"B\"/>\n</products>\n</plant>",
       "two.TavProduct:4:27: a product document holds one root product"},
      {"process.TavProduct",
       "<plant format=\"1\">\n<products><product id=\"a\" name=\"A\"/></products>\n<process id=\"p\" name=\"P\" type=\"Activity\"/>\n</plant>",
       "process.TavProduct:3:43: a product document holds only <products>, not <process>"},
      {"empty.TavProduct", "<plant format=\"1\"><products/></plant>", "empty.TavProduct:1:1: a product document holds one root product"},
      {"badattr.TavProduct", "<plant format=\"1\"><products><product id=\"a\" name=\"A\" colour=\"x\"/></products></plant>",
       "badattr.TavProduct:1:"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(Replace("Products/Item.1/Door.1", Write(c.name, c.bytes), error), E_FAIL) << c.name;
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
  }
  std::string error;
  EXPECT_EQ(Replace("Products/Item.1/Door.1", (folder / "missing.TavProduct").string(), error), E_FAIL);
  EXPECT_NE(error.find("missing.TavProduct: cannot be read"), std::string::npos) << error;
  // Another father's collection, a resource.
  auto light = Write("light.TavProduct", kLightDoor);
  auto other = query<TavIAProduct>(query<TavIAProducts>(At("Products/Item.1/Door.1")));
  EXPECT_EQ(other->ReplaceComponent(At("Products/Item.1/Door.10"), light, error), E_FAIL);
  EXPECT_EQ(ReplaceProductInstance(nullptr, At("Products/Item.1/Door.1"), light, error), E_FAIL);
  EXPECT_EQ(SerializePlant(*doc), before);
}

TEST_F(Replacement, ModelEventsOfAProductAreReported) {
  auto door = At("Products/Item.1/Door.1");
  NotificationsOf(*doc)->Take();
  query<TavIModelEvents>(door)->Dispatch(OrvResourceModifiedNotification("TavModify"));
  EXPECT_EQ(NotificationsOf(*doc)->Take(), (std::vector<std::string>{"product modified (TavModify): Products/Item.1/Door.1"}));
  EXPECT_EQ(query<TavIAlias>(door)->GetAlias(), "Door.1");
}

}  // namespace
