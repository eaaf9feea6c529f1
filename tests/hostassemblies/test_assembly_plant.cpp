// The plant format of assemblies and kits: the mark, the plan type, type 0,
// resources as parts, the <plmTypes> catalogue; what is set saves and loads back,
// and a bad plant is one error with its position.
#include "AssemblyPlant.h"
#include "PlanTypes.h"

using namespace host;

namespace {

std::vector<std::string> SubTypes(const HostDocument& doc, const std::string& type) {
  auto services = query<OrvIPLMTypeServices>(doc.GetRootContainer(OrvIPLMTypeServices::kInterfaceName));
  EXPECT_TRUE(services);
  Ref<OrvIMHIPTSInfo> info;
  if (!services || FAILED(services->GetPTSInfo(info)) || !info) return {"(no info)"};
  std::vector<TavUnicodeString> subs;
  EXPECT_EQ(info->GetSubTypes(type, subs), S_OK);
  std::vector<std::string> out;
  for (auto& s : subs) out.push_back(s.utf8());
  return out;
}

TEST(AssemblyPlant, CatalogueAnswersInFileOrder) {
  auto doc = LoadPlantText(kAssemblyPlant);
  ASSERT_TRUE(doc);
  EXPECT_EQ(SubTypes(*doc, "ergocompmanufacturingkit"), (std::vector<std::string>{"StationKit", "LineKit"}));
  EXPECT_EQ(SubTypes(*doc, "other"), std::vector<std::string>{"X"});
  EXPECT_TRUE(SubTypes(*doc, "unknown").empty());
  // A plant without the section has an empty catalogue, and saves without it.
  auto bare = LoadPlantText(R"(<plant format="1"><assemblies><assembly id="m" name="M"/></assemblies></plant>)");
  ASSERT_TRUE(bare);
  EXPECT_TRUE(SubTypes(*bare, "ergocompmanufacturingkit").empty());
  EXPECT_EQ(SerializePlant(*bare).find("plmTypes"), std::string::npos);
}

TEST(AssemblyPlant, EverythingSetSavesAndLoadsBack) {
  auto doc = LoadPlantText(kAssemblyPlant);
  ASSERT_TRUE(doc);
  auto kit = AssemblyOf(*doc, "kit");
  EXPECT_EQ(kit->GetPlanType(), "StationKit");
  EXPECT_EQ(kit->Parts().back(), ProductOf(*doc, "rb"));  // a resource as a part
  // What the commands leave: a marked assembly of type 0, a kit with another plan type.
  Ref<OrvIMfgAssembly> made;
  ASSERT_EQ(doc->Assemblies().CreateChildAssembly("Sub", kit, {ProductOf(*doc, "st"), AssemblyOf(*doc, "target")}, made), S_OK);
  made->SetNotDirectlyChangeable(true);
  made->SetType(0);
  made->SetPlanType("LineKit");
  const std::string saved = SerializePlant(*doc);
  EXPECT_NE(saved.find(R"(type="0" notDirectlyChangeable="true" planType="LineKit")"), std::string::npos) << saved;
  EXPECT_NE(saved.find(R"(<subType name="LineKit"/>)"), std::string::npos);

  auto again = LoadPlantText(saved);
  ASSERT_TRUE(again);
  EXPECT_EQ(SerializePlant(*again), saved);
  auto back = std::dynamic_pointer_cast<HostAssembly>(again->Resolve("Assemblies/Sub").GetLeaf());
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->IsNotDirectlyChangeable());
  EXPECT_EQ(back->GetType(), 0);
  EXPECT_EQ(back->GetPlanType(), "LineKit");
  ASSERT_EQ(back->Parts().size(), 2u);
  EXPECT_EQ(back->Parts()[0], again->FindById("st"));
}

TEST(AssemblyPlant, PlainPlantsSaveAsBefore) {
  // Nothing new set: no new attribute, no new section.
  const std::string plain = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local">
  <products>
    <product id="d" name="Door.1"/>
  </products>
  <assemblies>
    <assembly id="m" name="M" type="1">
      <part ref="d"/>
    </assembly>
  </assemblies>
</plant>
)";
  auto doc = LoadPlantText(plain);
  ASSERT_TRUE(doc);
  EXPECT_EQ(SerializePlant(*doc, "t.xml", nullptr), plain);
}

TEST(AssemblyPlant, PlanTypeOutsideTheCatalogueIsRefusedWhenSaved) {
  auto doc = LoadPlantText(kAssemblyPlant);
  ASSERT_TRUE(doc);
  AssemblyOf(*doc, "target")->SetPlanType("X");  // a sub-type, but not of kits
  std::string problem;
  SerializePlant(*doc, "t.xml", &problem);
  EXPECT_NE(problem.find("'X' of assembly 'DoorAssy'"), std::string::npos) << problem;
}

struct BadPlant {
  const char* what;
  std::string from, to;
  std::string error;  // the whole message, with position
};

TEST(AssemblyPlant, BadPlantsAreOneErrorWithItsPosition) {
  const std::string base = kAssemblyPlant;
  const std::vector<BadPlant> cases{
      {"bad mark", R"(name="BodyAssy" type="1")", R"(name="BodyAssy" type="1" notDirectlyChangeable="yes")",
       "t.xml:25:79: bad boolean 'yes' in 'notDirectlyChangeable' (true or false)"},
      {"type out of range", R"(name="BodyAssy" type="1")", R"(name="BodyAssy" type="5")",
       "t.xml:25:51: unknown assembly type '5' (0 none, 1 assembly, 2 kit, 3 output, 4 AST)"},
      {"negative type", R"(name="BodyAssy" type="1")", R"(name="BodyAssy" type="-1")",
       "t.xml:25:52: unknown assembly type '-1' (0 none, 1 assembly, 2 kit, 3 output, 4 AST)"},
      {"plan type not of kits", R"(planType="StationKit")", R"(planType="X")",
       "t.xml:29:64: plan type 'X' of assembly 'kit' is not a sub-type of 'ergocompmanufacturingkit' in <plmTypes>"},
      {"empty plan type", R"(planType="StationKit")", R"(planType="")", "t.xml:29:63: empty 'planType' (leave it out for none)"},
      {"duplicate plan type", R"(<plmType name="other">)", R"(<plmType name="ergocompmanufacturingkit">)",
       "t.xml:65:46: duplicate plan type 'ergocompmanufacturingkit'"},
      {"duplicate sub-type", R"(<subType name="LineKit"/>)", R"(<subType name="StationKit"/>)",
       "t.xml:63:35: duplicate sub-type 'StationKit' of plan type 'ergocompmanufacturingkit'"},
      {"blank sub-type", R"(<subType name="X"/>)", R"(<subType name=" "/>)", "t.xml:66:26: an empty name on <subType>"},
      {"unknown element", R"(<subType name="X"/>)", R"(<kind name="X"/>)", "t.xml:66:23: unknown element <kind> in <plmType>"},
      {"part is an activity", R"(<part ref="rb"/>)", R"(<part ref="a1"/>)",
       "t.xml:31:23: part 'a1' is an activity, not a product, a resource or an assembly"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PlantTextError(ReplaceOnce(base, c.from, c.to)), c.error);
  }
  // Without the catalogue, any plan type is refused.
  const std::string noCatalogue = base.substr(0, base.find("  <plmTypes>")) + "</plant>\n";
  EXPECT_EQ(PlantTextError(noCatalogue),
            "t.xml:29:73: plan type 'StationKit' of assembly 'kit' is not a sub-type of 'ergocompmanufacturingkit' in <plmTypes>");
}

}  // namespace
