// Plant documents: round trips, load errors with positions, saving.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "PlantDocument.h"
#include "PlantGenerator.h"
#include "ReadAll.h"

namespace fs = std::filesystem;
using host::HostDocument;

namespace {

std::string SamplePath() { return std::string(MIRT_DATA_DIR) + "/sample-plant.xml"; }

fs::path TempDir() {
  fs::path d = fs::temp_directory_path() / ("mirt-plant-test-" + std::to_string(::getpid()));
  fs::create_directories(d);
  return d;
}

// Parses `body` wrapped in a plant element; expects failure and returns the message.
std::string LoadError(const std::string& body, const std::string& head = "<plant format=\"1\">") {
  std::string error;
  auto doc = host::ParsePlant(head + body + "</plant>", "t.xml", error);
  EXPECT_EQ(doc, nullptr) << body;
  return error;
}

const char* kCore = R"(<products>
    <product id="body" name="Body" partNumber="BD-100">
      <product id="door" name="Door.1" partNumber="DR-200"/>
    </product>
  </products>
  <resources>
    <resource id="st1" name="Station.1" type="Station">
      <resource id="rb1" name="Robot.1" type="Robot"/>
    </resource>
  </resources>
  <assemblies>
    <assembly id="ma1" name="DoorAssy" type="1"><part ref="door"/></assembly>
  </assemblies>
  <process id="proc" name="Process" type="Activity">
    <activity id="a1" name="Load" type="PhysicalActivity" time="12.5">
      <relation type="process_processes_product" ref="door"/>
      <activity id="a11" name="Spot" type="PhysicalActivity"/>
    </activity>
    <activity id="a2" name="Weld" type="PhysicalActivity"/>
  </process>
)";

}  // namespace

TEST(PlantDocument, SampleLoadsAndRoundTripsByteForByte) {
  std::string error;
  auto doc = host::LoadPlant(SamplePath(), error);
  ASSERT_TRUE(doc) << error;
  EXPECT_EQ(doc->GetDisplayName().utf8(), "Body In White Line");
  std::string first = host::SerializePlant(*doc);
  auto again = host::ParsePlant(first, "again.xml", error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(host::SerializePlant(*again, "again.xml", nullptr), first);
  // The sample is written in the saved form already.
  EXPECT_EQ(first, ReadAll(SamplePath()));
}

TEST(PlantDocument, LoadBuildsTheModel) {
  std::string error;
  auto doc = host::ParsePlant(std::string("<plant format=\"1\" environment=\"hub\">") + kCore +
                                  "<links><flow from=\"a1\" to=\"a2\"/><precedence from=\"a1\" to=\"a2\"/></links></plant>",
                              "dir/my-plant.xml", error);
  ASSERT_TRUE(doc) << error;
  EXPECT_TRUE(doc->IsHub());
  EXPECT_EQ(doc->GetDisplayName().utf8(), "my-plant");
  auto root = doc->Process().roots_.at(0);
  ASSERT_EQ(root->Children().size(), 2u);
  auto a1 = root->Children()[0], a2 = root->Children()[1];
  EXPECT_EQ(a1->GetTime(), 12.5);
  EXPECT_EQ(a1->Children().at(0)->GetLabel().utf8(), "Spot");
  auto door = doc->FindById("door");
  EXPECT_EQ(a1->IsItemAssigned(door, TavItemCode::Processes), S_OK);
  EXPECT_EQ(a1->GetNextNodes().at(0), std::static_pointer_cast<TavBaseUnknown>(a2));
  EXPECT_EQ(a2->GetPrecedences().at(0), std::static_pointer_cast<TavBaseUnknown>(a1));
  auto ma = doc->Assemblies().assemblies_.at(0);
  ASSERT_EQ(ma->Parts().size(), 1u);
  EXPECT_TRUE(SameObject(ma->Parts()[0], door));
  EXPECT_EQ(doc->Resources().roots_.at(0)->GetResourceType().utf8(), "Station");
}

TEST(PlantDocument, ValuesAndAwkwardTextSurviveRoundTrips) {
  auto doc = HostDocument::Create();
  auto root = doc->CreateRootProcess("p", "Pro<c>ess & \"co\"");
  auto a = doc->CreateActivity(root, "PhysicalActivity", "a", "tab\there\nnew line\r");
  a->SetTime(0.1 + 0.2);
  a->SetDescription("control \x01 char, DEL \x7f, NEL \xC2\x85, euro \xE2\x82\xAC, emoji \xF0\x9F\x98\x80");
  a->SetAttribute("i", std::int64_t{-9007199254740993});
  a->SetAttribute("d", 1e-300);
  a->SetAttribute("b", true);
  a->SetAttribute("s", TavUnicodeString(""));
  a->SetAttribute("n", TavValue{});
  doc->SetDisplayName("Plant & Co");
  std::string bytes = host::SerializePlant(*doc);
  EXPECT_NE(bytes.find("version=\"1.1\""), std::string::npos);  // the C0 control needs XML 1.1
  std::string error;
  auto back = host::ParsePlant(bytes, "x.xml", error);
  ASSERT_TRUE(back) << error << "\n" << bytes;
  EXPECT_EQ(host::SerializePlant(*back), bytes);
  auto b = back->Process().roots_.at(0)->Children().at(0);
  EXPECT_EQ(back->Process().roots_[0]->GetLabel().utf8(), "Pro<c>ess & \"co\"");
  EXPECT_EQ(b->GetLabel(), a->GetLabel());
  EXPECT_EQ(b->GetDescription(), a->GetDescription());
  EXPECT_EQ(b->GetTime(), 0.1 + 0.2);
  EXPECT_EQ(b->GetAttributes().size(), 5u);
  EXPECT_EQ(std::get<std::int64_t>(*b->GetAttribute("i")), -9007199254740993);
  EXPECT_EQ(std::get<double>(*b->GetAttribute("d")), 1e-300);
  EXPECT_TRUE(std::get<bool>(*b->GetAttribute("b")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(*b->GetAttribute("n")));
  EXPECT_EQ(back->GetDisplayName().utf8(), "Plant & Co");
}

TEST(PlantDocument, MalformedTextIsRepairedNotPropagated) {
  auto doc = HostDocument::Create();
  doc->CreateRootProcess("p", std::string("bad \xC3 utf8 \xED\xA0\x80 nul ") + std::string(1, '\0') + "!");
  std::string bytes = host::SerializePlant(*doc);
  std::string error;
  auto back = host::ParsePlant(bytes, "x.xml", error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->Process().roots_[0]->GetLabel().utf8(), "bad \xEF\xBF\xBD utf8 \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD nul \xEF\xBF\xBD!");
}

TEST(PlantDocument, GeneratedPlantsRoundTrip) {
  for (std::uint64_t seed : {1u, 7u}) {
    auto doc = host::GeneratePlant({.activities = 800, .products = 600, .resources = 40, .depth = 5, .seed = seed});
    std::string bytes = host::SerializePlant(*doc);
    std::string error;
    auto back = host::ParsePlant(bytes, "g.xml", error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(host::SerializePlant(*back), bytes);
    EXPECT_EQ(back->ObjectCount(), doc->ObjectCount());
  }
}

TEST(PlantDocument, EveryLoadErrorNamesFileLineAndColumn) {
  struct Case {
    std::string body, expected;
  };
  const std::vector<Case> cases = {
      {"<products><product id=\"x\" name=\"X\"></products>", "t.xml:1:"},  // malformed XML
      {"<widgets/>", "t.xml:1:29: unknown element <widgets> in <plant>"},
      {"\n<products>\n  <product id=\"x\" name=\"X\" colour=\"red\"/></products>",
       "t.xml:3:42: unknown attribute 'colour' on <product>"},
      {"<products><product name=\"X\"/></products>", "lacks the required attribute 'id'"},
      {"<products><product id=\"x\" name=\"X\"/><product id=\"x\" name=\"Y\"/></products>", "duplicate id 'x'"},
      {"<products><product id=\"a b\" name=\"X\"/></products>", "bad id 'a b'"},
      {"<process id=\"p\" name=\"P\"><relation type=\"process_uses_resource\" ref=\"nope\"/></process>",
       "relation names an unknown id 'nope'"},
      {"<products><product id=\"x\" name=\"X\"/></products>"
       "<process id=\"p\" name=\"P\"><relation type=\"process_uses_resource\" ref=\"x\"/></process>",
       "relation 'process_uses_resource' cannot point at product 'x'"},
      {"<resources><resource id=\"r\" name=\"R\"/></resources>"
       "<process id=\"p\" name=\"P\"><relation type=\"process_processes_product\" ref=\"r\"/></process>",
       "relation 'process_processes_product' cannot point at resource 'r'"},
      {"<process id=\"p\" name=\"P\"/><assemblies><assembly id=\"m\" name=\"M\"><part ref=\"p\"/></assembly></assemblies>",
       "part 'p' is an activity, not a product, a resource or an assembly"},
      {"<products><product id=\"x\" name=\"X\"/></products><process id=\"p\" name=\"P\"/>"
       "<links><flow from=\"p\" to=\"x\"/></links>",
       "'to' 'x' is a product, not an activity"},
      {"<process id=\"p\" name=\"P\" type=\"Dance\"/>", "unknown activity type 'Dance'"},
      {"<products><product id=\"x\" name=\"X\"/></products>"
       "<process id=\"p\" name=\"P\"><relation type=\"process_likes_product\" ref=\"x\"/></process>",
       "unknown relation type 'process_likes_product'"},
      {"<process id=\"p\" name=\"P\"><attribute name=\"c\" type=\"money\" value=\"1\"/></process>",
       "unknown attribute type 'money'"},
      {"<process id=\"p\" name=\"P\" time=\"12s\"/>", "bad number '12s' in 'time'"},
      {"<process id=\"p\" name=\"P\" time=\"inf\"/>", "bad number 'inf' in 'time'"},
      {"<process id=\"p\" name=\"P\" time=\" 1\"/>", "bad number ' 1' in 'time'"},
      {"<process id=\"p\" name=\"P\"><attribute name=\"c\" type=\"int\" value=\"1.5\"/></process>", "bad integer '1.5'"},
      {"<process id=\"p\" name=\"P\"><attribute name=\"c\" type=\"bool\" value=\"yes\"/></process>", "bad boolean 'yes'"},
      {"<assemblies><assembly id=\"m\" name=\"M\" type=\"2x\"/></assemblies>", "bad integer '2x' in 'type'"},
      {"<assemblies><assembly id=\"m\" name=\"M\" type=\"9\"/></assemblies>", "unknown assembly type '9'"},
      {"<assemblies><assembly id=\"m\" name=\"M\"><part ref=\"n\"/></assembly>"
       "<assembly id=\"n\" name=\"N\"><part ref=\"m\"/></assembly></assemblies>",
       "contains itself through its parts"},
      {"<process id=\"p\" name=\"P\"><activity id=\"a\" name=\"A\"/></process><links><flow from=\"a\" to=\"a\"/></links>",
       "cannot be linked to itself"},
      {"<process id=\"p\" name=\"P\"><activity id=\"a\" name=\"A\"/></process>"
       "<links><flow from=\"a\" to=\"p\"/><flow from=\"a\" to=\"p\"/></links>",
       "duplicate flow from 'a' to 'p'"},
      {"<process id=\"p\" name=\"P\">text</process>", "unexpected text in <process>"},
      {"<process id=\"p\" name=\"P\"><attribute name=\"c\" type=\"int\" value=\"1\"/>"
       "<attribute name=\"c\" type=\"int\" value=\"2\"/></process>",
       "duplicate attribute 'c'"},
  };
  for (auto& c : cases) {
    std::string error = LoadError(c.body);
    EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
    EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error << "\nfor: " << c.body;
    // "file:line:column: " with numbers.
    std::size_t l = error.find(':'), col = error.find(':', l + 1), end = error.find(':', col + 1);
    ASSERT_NE(end, std::string::npos) << error;
    EXPECT_GT(std::stoi(error.substr(l + 1, col - l - 1)), 0) << error;
    EXPECT_GT(std::stoi(error.substr(col + 1, end - col - 1)), 0) << error;
  }
}

TEST(PlantDocument, RootElementIsChecked) {
  std::string error;
  EXPECT_FALSE(host::ParsePlant("<plant/>", "t.xml", error));
  EXPECT_NE(error.find("lacks the required attribute 'format'"), std::string::npos) << error;
  EXPECT_FALSE(host::ParsePlant("<plant format=\"2\"/>", "t.xml", error));
  EXPECT_NE(error.find("unsupported plant format '2'"), std::string::npos) << error;
  EXPECT_FALSE(host::ParsePlant("<plant format=\"1\" environment=\"cloud\"/>", "t.xml", error));
  EXPECT_NE(error.find("unknown environment 'cloud'"), std::string::npos) << error;
  EXPECT_FALSE(host::ParsePlant("<factory format=\"1\"/>", "t.xml", error));
  EXPECT_NE(error.find("unknown element <factory>"), std::string::npos) << error;
  EXPECT_FALSE(host::ParsePlant("", "t.xml", error));
  EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
  EXPECT_FALSE(host::LoadPlant("/nonexistent/dir/p.xml", error));
  EXPECT_NE(error.find("/nonexistent/dir/p.xml: cannot open"), std::string::npos) << error;
}

TEST(PlantDocument, EntitiesAndDoctypesAreRefused) {
  fs::path secret = TempDir() / "secret.txt";
  std::ofstream(secret) << "TOPSECRET";
  std::string error;
  std::string xxe = "<?xml version=\"1.0\"?><!DOCTYPE plant [<!ENTITY x SYSTEM \"" + secret.string() +
                    "\">]><plant format=\"1\"><process id=\"p\" name=\"&x;\"/></plant>";
  EXPECT_FALSE(host::ParsePlant(xxe, "t.xml", error));
  EXPECT_EQ(error.find("TOPSECRET"), std::string::npos);
  EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
  std::string zero = "<!DOCTYPE plant [<!ENTITY z SYSTEM \"/dev/zero\">]><plant format=\"1\">&z;</plant>";
  EXPECT_FALSE(host::ParsePlant(zero, "t.xml", error));
  std::string laughs = "<!DOCTYPE plant [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                       "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                       "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]><plant format=\"1\"><process id=\"p\" name=\"&e;&e;&e;\"/></plant>";
  EXPECT_FALSE(host::ParsePlant(laughs, "t.xml", error));
  EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
}

TEST(PlantDocument, SaveIsAtomicAndReportsFailure) {
  fs::path dir = TempDir();
  std::string error;
  auto doc = host::LoadPlant(SamplePath(), error);
  ASSERT_TRUE(doc) << error;
  fs::path target = dir / "saved.xml";
  std::ofstream(target) << "old contents";
  ASSERT_TRUE(host::SavePlant(*doc, target.string(), error)) << error;
  auto reloaded = host::LoadPlant(target.string(), error);
  ASSERT_TRUE(reloaded) << error;
  std::string bytes = ReadAll(target);
  ASSERT_TRUE(host::SavePlant(*reloaded, target.string(), error)) << error;
  EXPECT_EQ(ReadAll(target), bytes);
  for (auto& e : fs::directory_iterator(dir)) EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos) << e.path();

  // An unwritable place: reported, nothing claimed; a missing folder is named, not made.
  EXPECT_FALSE(host::SavePlant(*doc, (dir / "saved.xml" / "below-a-file.xml").string(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(host::SavePlant(*doc, (dir / "new" / "deeper" / "p.xml").string(), error));
  EXPECT_NE(error.find("folder '" + (dir / "new" / "deeper").string() + "' does not exist"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(dir / "new"));

  // A value the format cannot hold leaves the old file as it was.
  auto bad = HostDocument::Create();
  bad->CreateRootProcess("p", "P")->SetTime(std::nan(""));
  EXPECT_FALSE(host::SavePlant(*bad, target.string(), error));
  EXPECT_NE(error.find("non-finite"), std::string::npos) << error;
  auto badId = HostDocument::Create();
  badId->CreateRootProcess("has space", "P");
  EXPECT_FALSE(host::SavePlant(*badId, target.string(), error));
  EXPECT_NE(error.find("'has space'"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(target), bytes);
  fs::remove_all(dir);
}

TEST(PlantDocument, DisplayNameDefaultsToTheFileStem) {
  fs::path dir = TempDir();
  auto doc = HostDocument::Create();
  doc->CreateRootProcess("p", "P");
  doc->SetDisplayName("line7");
  std::string error;
  ASSERT_TRUE(host::SavePlant(*doc, (dir / "line7.xml").string(), error)) << error;
  EXPECT_EQ(ReadAll(dir / "line7.xml").find("name=\"line7\">"), std::string::npos);  // implied by the file name
  ASSERT_TRUE(host::SavePlant(*doc, (dir / "copy.xml").string(), error)) << error;
  auto copy = host::LoadPlant((dir / "copy.xml").string(), error);
  ASSERT_TRUE(copy) << error;
  EXPECT_EQ(copy->GetDisplayName().utf8(), "line7");
  fs::remove_all(dir);
}

TEST(PlantDocument, RelationsKeepTheirAttributes) {
  std::string error;
  auto doc = host::ParsePlant(
      "<plant format=\"1\"><resources><resource id=\"r\" name=\"R\"/></resources>"
      "<process id=\"p\" name=\"P\"><relation type=\"process_uses_resource\" ref=\"r\">"
      "<attribute name=\"Share\" type=\"double\" value=\"0.5\"/></relation></process></plant>",
      "t.xml", error);
  ASSERT_TRUE(doc) << error;
  auto rel = doc->Process().roots_[0]->Relations().at(0);
  EXPECT_EQ(std::get<double>(*rel->GetAttribute("Share")), 0.5);
  EXPECT_NE(host::SerializePlant(*doc).find("<attribute name=\"Share\" type=\"double\" value=\"0.5\"/>"), std::string::npos);
}

TEST(PlantDocument, DeepTreesLoadAndSave) {
  auto doc = HostDocument::Create();
  Ref<host::HostActivity> a = doc->CreateRootProcess("p", "P");
  Ref<host::HostProduct> p;
  for (int i = 0; i < 5000; ++i) {
    a = doc->CreateActivity(a, "Activity", "", "A");
    p = doc->CreateProduct(p, "", "P");
  }
  std::string bytes = host::SerializePlant(*doc);
  std::string error;
  auto back = host::ParsePlant(bytes, "deep.xml", error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->ObjectCount(), doc->ObjectCount());
}
