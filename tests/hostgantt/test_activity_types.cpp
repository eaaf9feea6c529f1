// Activity types a plant declares (<activityTypes>), the attribute keys of types
// and activities, and the parameters of resources.
#include "GanttPlant.h"
#include "TavActivityLib.h"
#include "TavStates.h"

using namespace host;

namespace {

// Types live for the whole test program: each test declares names of its own.
std::string TypesPlant(const std::string& types, const std::string& activities = {}) {
  const std::string process = "  <process id=\"p\" name=\"P\" type=\"Activity\"";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plant format=\"1\" environment=\"local\">\n" + types +
         (activities.empty() ? process + "/>\n" : process + ">\n" + activities + "  </process>\n") + "</plant>\n";
}

const std::string kDeclared =
    "  <activityTypes>\n"
    "    <type name=\"AtWeld\" super=\"PhysicalActivity\">\n"
    "      <attribute key=\"Weld Spots\"/>\n"
    "      <attribute key=\"Gun\"/>\n"
    "    </type>\n"
    "    <type name=\"AtSpotWeld\" super=\"AtWeld\">\n"
    "      <attribute key=\"Pitch\"/>\n"
    "      <attribute key=\"Gun\"/>\n"
    "    </type>\n"
    "    <type name=\"AtGroup\" super=\"Activity\"/>\n"
    "  </activityTypes>\n";

std::vector<std::string> Utf8(const std::vector<TavUnicodeString>& v) {
  std::vector<std::string> out;
  for (auto& s : v) out.push_back(s.utf8());
  return out;
}

std::vector<std::string> TypeKeys(const std::string& type) {
  auto t = OrvVekPlantypeCache::GetInstance()->FindType(type);
  EXPECT_TRUE(t) << type;
  auto keys = query<TavIActivityTypeAttributes>(t);
  EXPECT_TRUE(keys) << type;
  return keys ? Utf8(keys->GetAttributeKeys()) : std::vector<std::string>{};
}

std::vector<std::string> BuiltIn(const std::string& type) {
  auto spec = query<TavISpecAttrAccess>(OrvVekPlantypeCache::GetInstance()->FindType(type));
  EXPECT_TRUE(spec) << type;
  return spec ? Utf8(spec->ListAttributeKeys()) : std::vector<std::string>{};
}

TEST(ActivityTypes, DeclaredTypesAreUsableInThePlantAndSaveByteForByte) {
  const std::string text = TypesPlant(kDeclared, "    <activity id=\"a\" name=\"Spot\" type=\"AtSpotWeld\"/>\n");
  auto doc = LoadPlantText(text);
  ASSERT_TRUE(doc);
  EXPECT_EQ(SerializePlant(*doc, "t.xml", nullptr), text);
  auto a = std::dynamic_pointer_cast<HostActivity>(doc->Resolve("P/Spot").GetLeaf());
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->IsOfType("AtWeld"));
  EXPECT_TRUE(a->IsOfType("PhysicalActivity"));
  EXPECT_TRUE(a->CreateChild("AtGroup", "G"));
  // A plant without the section saves without it.
  const std::string plain = TypesPlant("");
  EXPECT_EQ(SerializePlant(*LoadPlantText(plain), "t.xml", nullptr), plain);
}

TEST(ActivityTypes, KeysOfADeclaredTypeFollowItsSuperTypesFirst) {
  auto doc = LoadPlantText(TypesPlant(kDeclared));
  EXPECT_EQ(TypeKeys("AtWeld"), (std::vector<std::string>{"Weld Spots", "Gun"}));
  EXPECT_EQ(TypeKeys("AtSpotWeld"), (std::vector<std::string>{"Weld Spots", "Gun", "Pitch"}));
  EXPECT_TRUE(TypeKeys("AtGroup").empty());
  EXPECT_TRUE(TypeKeys("PhysicalActivity").empty());
  auto t = OrvVekPlantypeCache::GetInstance()->FindType("AtSpotWeld");
  ASSERT_TRUE(t->GetSuperType());
  EXPECT_EQ(t->GetSuperType()->GetName(), "AtWeld");
  EXPECT_EQ(t->GetKind(), "Activity");
  TavUnicodeString icon;
  EXPECT_EQ(OrvVekPlantypeCache::GetInstance()->BitmapName("AtSpotWeld", icon), S_FALSE);
  EXPECT_EQ(OrvVekPlantypeCache::GetInstance()->BitmapName("NoSuchTypeAnywhere", icon), E_FAIL);
  EXPECT_FALSE(OrvVekPlantypeCache::GetInstance()->FindType("NoSuchTypeAnywhere"));
  // The libraries' types are still theirs.
  EXPECT_EQ(OrvVekPlantypeCache::GetInstance()->BitmapName("BIWActivitySpotWelding", icon), S_OK);
}

TEST(ActivityTypes, EveryTypeListsTheBuiltInKeysItsActivitiesCarry) {
  const std::vector<std::string> physical{"SpecifiedCT", "CalculatedCT", "Description", "CalculatedBeginTime",
                                          "SpecifiedBeginning"};
  std::vector<std::string> fastening = physical;
  for (const char* k : {"_NumberAsssignedFasteners", "_LengthOfAssignedCurveFasteners", "Number Of Point Fasteners",
                        "Length Of Curve Fastener (m)"})
    fastening.push_back(k);
  EXPECT_TRUE(BuiltIn("Activity").empty());
  EXPECT_EQ(BuiltIn("PhysicalActivity"), physical);
  EXPECT_EQ(BuiltIn("AssemblyOperation"), physical);
  EXPECT_EQ(BuiltIn("BIWActivityHemming"), physical);
  EXPECT_EQ(BuiltIn("BIWActivitySpotWelding"), fastening);  // a library type
  EXPECT_EQ(BuiltIn("BIWActivityRiveting"), fastening);     // a type only the model knows
  EXPECT_TRUE(BuiltIn("Switch").empty());
  EXPECT_EQ(OrvVekPlantypeCache::GetInstance()->FindType("Switch")->GetKind(), "ControlFlow");
  // A declared type below a weld type is one too.
  auto doc = LoadPlantText(TypesPlant("  <activityTypes>\n    <type name=\"AtRobotWeld\" super=\"BIWActivitySpotWelding\"/>\n"
                                      "  </activityTypes>\n"));
  EXPECT_EQ(BuiltIn("AtRobotWeld"), fastening);
}

TEST(ActivityTypes, AnActivityListsItsOwnAttributesAndAnswersItsBooleans) {
  GanttSession s;
  auto spec = query<TavISpecAttrAccess>(s.At("Process/Body Shop/Weld.1"));
  ASSERT_TRUE(spec);
  EXPECT_EQ(Utf8(spec->ListAttributeKeys()), (std::vector<std::string>{"Spots", "Checked"}));
  bool value = false;
  EXPECT_EQ(spec->GetBooleanAttribute("Checked", value), S_OK);
  EXPECT_TRUE(value);
  EXPECT_EQ(spec->GetBooleanAttribute("Spots", value), E_FAIL);
  EXPECT_EQ(spec->GetBooleanAttribute("None", value), E_FAIL);
  // Products keep their own access.
  auto product = query<TavISpecAttrAccess>(s.At("Resources/Station.1"));
  ASSERT_TRUE(product);
  EXPECT_TRUE(product->ListAttributeKeys().empty());
}

TEST(ActivityTypes, TheSectionIsStrict) {
  struct Case {
    std::string types, message;
  };
  auto wrap = [](const std::string& body) { return "  <activityTypes>\n" + body + "  </activityTypes>\n"; };
  const std::vector<Case> cases{
      {wrap("    <kind name=\"AtX\" super=\"Activity\"/>\n"), "t.xml:4:"},
      {"  <activityTypes bad=\"1\"/>\n", "unknown attribute"},
      {wrap("    <type name=\"AtX\" super=\"Activity\" icon=\"i\"/>\n"), "unknown attribute"},
      {wrap("    <type name=\"AtX\"/>\n"), "super"},
      {wrap("    <type name=\"\" super=\"Activity\"/>\n"), "bad type name"},
      {wrap("    <type name=\"At X\" super=\"Activity\"/>\n"), "bad type name"},
      {wrap("    <type name=\"AtX\" super=\"Activity\"/>\n    <type name=\"AtX\" super=\"Activity\"/>\n"), "t.xml:5:"},
      {wrap("    <type name=\"AtX\" super=\"AtLater\"/>\n    <type name=\"AtLater\" super=\"Activity\"/>\n"),
       "unknown super type 'AtLater'"},
      {wrap("    <type name=\"AtX\" super=\"Switch\"/>\n"), "control-flow"},
      {wrap("    <type name=\"PhysicalActivity\" super=\"Activity\"/>\n"), "built in"},
      {wrap("    <type name=\"AtX\" super=\"Activity\">\n      <attribute key=\" \"/>\n    </type>\n"), "empty"},
      {wrap("    <type name=\"AtX\" super=\"Activity\">\n      <attribute key=\"K\"/>\n      <attribute key=\"K\"/>\n"
            "    </type>\n"),
       "duplicate attribute key 'K'"},
      {wrap("    <type name=\"AtX\" super=\"Activity\">\n      <attribute key=\"K\" type=\"int\"/>\n    </type>\n"),
       "unknown attribute"},
      {wrap("    <type name=\"AtX\" super=\"Activity\">text</type>\n"), "text"},
  };
  for (auto& c : cases) {
    const std::string error = PlantTextError(TypesPlant(c.types));
    EXPECT_NE(error.find(c.message), std::string::npos) << c.types << "\n" << error;
    EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
  }
  // None of the refused sections declared anything.
  EXPECT_FALSE(OrvVekPlantypeCache::GetInstance()->FindType("AtX"));
  // An activity of an undeclared type is still refused.
  EXPECT_NE(PlantTextError(TypesPlant("", "    <activity id=\"a\" name=\"A\" type=\"AtX\"/>\n")).find("unknown activity type"),
            std::string::npos);
}

TEST(ActivityTypes, OpenPlantsMustAgreeOnADeclarationAndAClosedPlantReleasesIt) {
  const std::string v1 = "  <activityTypes>\n    <type name=\"AtShared\" super=\"PhysicalActivity\">\n"
                         "      <attribute key=\"A\"/>\n    </type>\n  </activityTypes>\n";
  const std::string v2 = ReplaceOnce(v1, "key=\"A\"", "key=\"B\"");
  {
    auto first = LoadPlantText(TypesPlant(v1));
    auto same = LoadPlantText(TypesPlant(v1));  // the same declaration: fine
    EXPECT_NE(PlantTextError(TypesPlant(v2)).find("another open plant"), std::string::npos);
    EXPECT_EQ(TypeKeys("AtShared"), (std::vector<std::string>{"A"}));
  }
  // Both plants are gone: a new declaration gives the type its keys.
  auto next = LoadPlantText(TypesPlant(v2));
  EXPECT_EQ(TypeKeys("AtShared"), (std::vector<std::string>{"B"}));
  // A type keeps its super type for the run.
  const std::string other = ReplaceOnce(v2, "super=\"PhysicalActivity\"", "super=\"Activity\"");
  next.reset();
  EXPECT_NE(PlantTextError(TypesPlant(other)).find("keeps its super type"), std::string::npos);
}

TEST(ResourceParameters, AResourceAndItsChildrenGiveTheirAttributesAsParametersInOrder) {
  GanttSession s;
  auto params = [&](const std::string& path) {
    auto props = query<TavIPrdProperties>(s.At(path));
    EXPECT_TRUE(props) << path;
    std::vector<std::string> out;
    if (props)
      for (auto& p : props->GetParameters()) out.push_back(p->GetName().utf8() + "=" + TavValueToText(p->GetValue()).utf8());
    return out;
  };
  EXPECT_EQ(params("Resources/Station.1"), (std::vector<std::string>{"Payload=12.5"}));
  EXPECT_EQ(params("Resources/Station.1/Robot.1"), (std::vector<std::string>{"Reach=2", "Brand=R"}));
  EXPECT_FALSE(query<TavIPrdProperties>(s.At("Process/Body Shop")));
}

}  // namespace
