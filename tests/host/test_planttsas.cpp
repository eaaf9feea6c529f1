// TSAs in plant files: the <tsas> section, its activity trees and their links.
#include <gtest/gtest.h>

#include "HostPlanner.h"
#include "PlantDocument.h"
#include "PlantSections.h"
#include "PlantText.h"

using namespace host;

namespace {

// Everything a TSA tree can hold: relations with attributes, attributes, an element
// extension (context), nested activities, and links to and from process activities.
const std::string kPlant =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plant format=\"1\" environment=\"local\" name=\"Line\">\n"
    "  <products>\n"
    "    <product id=\"door\" name=\"Door.1\"/>\n"
    "  </products>\n"
    "  <resources>\n"
    "    <resource id=\"st1\" name=\"Station.1\" type=\"Station\"/>\n"
    "  </resources>\n"
    "  <process id=\"proc\" name=\"Process\" type=\"Activity\">\n"
    "    <activity id=\"a1\" name=\"Load.1\" type=\"PhysicalActivity\"/>\n"
    "  </process>\n"
    "  <links>\n"
    "    <flow from=\"a1\" to=\"t1a\"/>\n"
    "    <flow from=\"t1b\" to=\"a1\"/>\n"
    "    <precedence from=\"a1\" to=\"t1a\"/>\n"
    "  </links>\n"
    "  <tsas>\n"
    "    <tsa id=\"t1\" name=\"Maintenance\" type=\"Activity\" time=\"30\" description=\"weekly &amp; after faults\">\n"
    "      <relation type=\"process_uses_resource\" ref=\"st1\">\n"
    "        <attribute name=\"Share\" type=\"double\" value=\"0.5\"/>\n"
    "      </relation>\n"
    "      <attribute name=\"Shift\" type=\"string\" value=\"night\"/>\n"
    "      <context ref=\"door\"/>\n"
    "      <activity id=\"t1a\" name=\"Clean.3\" type=\"PhysicalActivity\">\n"
    "        <activity id=\"t1a1\" name=\"Tips\" type=\"PhysicalActivity\" time=\"2.5\"/>\n"
    "      </activity>\n"
    "      <activity id=\"t1b\" name=\"Check\" type=\"Activity\"/>\n"
    "    </tsa>\n"
    "    <tsa id=\"t2\" name=\"Changeover\" type=\"PhysicalActivity\"/>\n"
    "  </tsas>\n"
    "</plant>\n";

}  // namespace

TEST(PlantTsas, LoadAndSaveRoundTripByteForByte) {
  std::string error;
  auto doc = ParsePlant(kPlant, "line.xml", error);
  ASSERT_TRUE(doc) << error;
  const auto& tsas = ContExtOf(*doc)->TSAs();
  ASSERT_EQ(tsas.size(), 2u);
  // TSAs stay outside the process container.
  ASSERT_EQ(doc->Process().roots_.size(), 1u);
  const auto& t1 = tsas[0];
  EXPECT_EQ(t1->GetLabel(), "Maintenance");
  EXPECT_EQ(t1->GetTime(), 30);
  EXPECT_EQ(t1->GetDescription(), "weekly & after faults");
  EXPECT_EQ(t1->Relations().size(), 1u);
  EXPECT_EQ(tsas[1]->GetTypeName(), "PhysicalActivity");
  ASSERT_EQ(t1->Children().size(), 2u);
  auto clean = t1->Children()[0];
  EXPECT_EQ(clean->Children()[0]->GetTime(), 2.5);
  EXPECT_EQ(clean->FatherActivity(), t1);
  auto a1 = doc->Process().roots_[0]->Children()[0];
  ASSERT_EQ(a1->GetNextNodes().size(), 1u);
  EXPECT_EQ(a1->GetNextNodes()[0], clean);
  EXPECT_EQ(clean->GetPrecedences().size(), 1u);
  EXPECT_EQ(t1->Children()[1]->GetNextNodes()[0], a1);
  EXPECT_EQ(doc->FindById("t1a1"), clean->Children()[0]);

  EXPECT_EQ(SerializePlant(*doc), kPlant);
  auto again = ParsePlant(SerializePlant(*doc), "line.xml", error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(SerializePlant(*again), kPlant);
}

TEST(PlantTsas, TsasMadeInMemoryAreSavedAndComeBack) {
  auto doc = HostDocument::Create();
  auto root = doc->CreateRootProcess("proc", "Process");
  auto a = doc->CreateActivity(root, "PhysicalActivity", "a", "A");
  std::string bytes = SerializePlant(*doc);
  EXPECT_EQ(bytes.find("tsas"), std::string::npos) << bytes;  // a plant without TSAs is unchanged

  auto* ext = ContExtOf(*doc);
  auto t = ext->CreateTSA("t", "T");
  auto inT = doc->CreateActivity(t, "PhysicalActivity", "", "In");  // fresh id
  ASSERT_EQ(inT->AddPrecedence(a), S_OK);  // precedence kept by the TSA side only
  Ref<HostActivity> deep = ext->CreateTSA("deep", "Deep");
  for (int i = 0; i < 5000; ++i) deep = doc->CreateActivity(deep, "Activity", "", "D");  // no recursion anywhere
  bytes = SerializePlant(*doc);
  std::string error;
  auto back = ParsePlant(bytes, "p.xml", error);
  ASSERT_TRUE(back) << error;
  ASSERT_EQ(ContExtOf(*back)->TSAs().size(), 2u);
  EXPECT_EQ(back->ObjectCount(), doc->ObjectCount());
  auto inBack = ContExtOf(*back)->TSAs()[0]->Children().at(0);
  EXPECT_EQ(inBack->GetLabel(), "In");
  ASSERT_EQ(inBack->GetPrecedences().size(), 1u);
  EXPECT_EQ(inBack->GetPrecedences()[0], back->FindById("a"));
  EXPECT_EQ(SerializePlant(*back), bytes);
}

TEST(PlantTsas, MalformedSectionsFailWithThePosition) {
  struct Case {
    std::string from, to, message;
  };
  const std::vector<Case> cases{
      {"<tsa id=\"t2\"", "<process id=\"t2\"", "line.xml:29:65: unknown element <process> in <tsas>"},
      {"<tsas>", "<tsas kind=\"x\">", "line.xml:17:18: unknown attribute 'kind' on <tsas>"},
      {"<tsas>", "<tsas>stray", "line.xml:17:9: unexpected text in <tsas>"},
      {" name=\"Changeover\"", "", "line.xml:29:43: <tsa> lacks the required attribute 'name'"},
      {"id=\"t2\"", "id=\"a1\"", "line.xml:29:61: duplicate id 'a1'"},
      {"id=\"t1a1\"", "id=\"t2\"", "line.xml:29:61: duplicate id 't2'"},  // the later one is reported
      {"type=\"PhysicalActivity\"/>\n  </tsas>", "type=\"Robot\"/>\n  </tsas>",
       "line.xml:29:50: unknown activity type 'Robot'"},
      {"time=\"2.5\"", "time=\"soon\"", "line.xml:25:78: bad number 'soon' in 'time'"},
      {"<context ref=\"door\"/>", "<note/>", "line.xml:23:14: unknown element <note> in <tsa>"},
      {"ref=\"st1\"", "ref=\"nowhere\"", "line.xml:19:60: relation names an unknown id 'nowhere'"},
      {"ref=\"st1\"", "ref=\"door\"", "line.xml:19:57: relation 'process_uses_resource' cannot point at product 'door'"},
      {"<context ref=\"door\"/>", "<context ref=\"st1\"/>", "line.xml:23:27: 'st1' is no product"},
      {"to=\"t1a\"/>\n    <flow", "to=\"t9\"/>\n    <flow", "line.xml:13:30: 'to' names an unknown id 't9'"},
  };
  for (auto& c : cases) {
    std::string error;
    auto doc = ParsePlant(ReplaceOnce(kPlant, c.from, c.to), "line.xml", error);
    EXPECT_FALSE(doc) << c.to;
    EXPECT_EQ(error, c.message) << c.to;
  }
}

TEST(PlantTsas, AnEmptySectionLoadsAndOnlyRegisteredSectionsListRoots) {
  std::string error;
  auto parsed = ParsePlant("<plant format=\"1\"><tsas/></plant>", "e.xml", error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_TRUE(ContExtOf(*parsed)->TSAs().empty());
  EXPECT_EQ(SerializePlant(*parsed, "e.xml", nullptr), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plant format=\"1\" environment=\"local\"/>\n");
  EXPECT_THROW(RegisterPlantActivityRoots("noSuchSection", nullptr), std::invalid_argument);
}
