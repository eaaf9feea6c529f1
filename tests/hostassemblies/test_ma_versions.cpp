// What the host keeps about assemblies beside their content: the reference product,
// the externally-produced mark, versions and the modification log; in the model
// (answers, undo) and in plant files (byte-stable, one located error).
#include <gtest/gtest.h>

#include "HostProducts.h"
#include "HostUndo.h"
#include "MAVersions.h"
#include "PlantText.h"

namespace {

std::string Plant(const std::string& assemblyExtras, const std::string& sections = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plant format=\"1\" environment=\"local\" name=\"t\">\n"
         "  <products>\n    <product id=\"door\" name=\"Door.1\">\n      <product id=\"panel\" name=\"Panel.1\"/>\n"
         "    </product>\n  </products>\n  <resources>\n    <resource id=\"rb\" name=\"Robot.1\" type=\"Robot\"/>\n  </resources>\n"
         "  <assemblies>\n    <assembly id=\"inner\" name=\"InnerAssy\" type=\"1\">\n      <part ref=\"panel\"/>\n    </assembly>\n"
         "    <assembly id=\"outer\" name=\"OuterAssy\" partNumber=\"MA-2\" type=\"1\">\n" + assemblyExtras +
         "      <part ref=\"inner\"/>\n    </assembly>\n"
         "    <assembly id=\"kit\" name=\"Kit\" type=\"2\"/>\n  </assemblies>\n" + sections + "</plant>\n";
}

struct Versions : ::testing::Test {
  Ref<host::HostDocument> doc = LoadPlantText(Plant(""));
  Ref<OrvIMfgAssembly> Ma(const std::string& id) const { return query<OrvIMfgAssembly>(doc->FindById(id)); }
  Ref<OrvIMfgAssemblyReference> Ref_(const std::string& id) const { return query<OrvIMfgAssemblyReference>(doc->FindById(id)); }
  Ref<OrvIMAVersioningServices> Services() const { return OrvVekMfgAssyVersioningUtilities::ServicesOf(doc); }
  std::string Modified() const {
    std::string s;
    for (auto& m : OrvVekMfgAssyVersioningUtilities::GetModifiedMAsFromLog(OrvVekMfgAssyVersioningUtilities::GetMBNContainer(doc)))
      s += (s.empty() ? "" : " ") + m->GetName().utf8();
    return s;
  }
};

TEST_F(Versions, ReferenceLinksReplaceAndRefuseWhatIsNoProduct) {
  auto outer = Ref_("outer");
  ASSERT_TRUE(outer);
  EXPECT_EQ(outer->GetTypeName().utf8(), "Manufactured Assembly");
  EXPECT_EQ(Ref_("kit")->GetTypeName().utf8(), "Manufacturing Kit");
  EXPECT_EQ(outer->UnlinkRefEbom(), E_FAIL);  // nothing linked yet
  EXPECT_EQ(outer->LinkRefEbom(doc->FindById("rb")), E_FAIL);
  EXPECT_EQ(outer->LinkRefEbom(doc->FindById("kit")), E_FAIL);
  EXPECT_EQ(outer->LinkRefEbom(doc->FindById("panel")), S_OK);
  EXPECT_EQ(outer->LinkRefEbom(doc->FindById("door")), S_OK);  // replaces
  EXPECT_EQ(outer->GetRefEbomProduct(), doc->FindById("door"));
  EXPECT_EQ(outer->UnlinkRefEbom(), S_OK);
  EXPECT_FALSE(outer->GetRefEbomProduct());
}

TEST_F(Versions, ToggledTwiceIsNoChangeAndAVersionTakesItsEntries) {
  auto services = Services();
  ASSERT_TRUE(services);
  auto outer = Ma("outer");
  EXPECT_EQ(OrvVekMfgAssyVersioningUtilities::CreateNewMAVersion(outer), S_OK);
  EXPECT_EQ(Ref_("outer")->GetVersion(), 1);
  for (int i = 0; i < 2; ++i) {
    Ref_("outer")->SetExternallyProduced(i == 0);
    services->LogModification(outer, TavModificationCode::ExternallyProduced, "externallyproduced");
  }
  EXPECT_EQ(services->GetModificationLog().size(), 2u);
  EXPECT_EQ(Modified(), "OuterAssy");
  EXPECT_FALSE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(outer));
  // Never versioned: the log naming it is enough.
  services->LogModification(Ma("inner"), 3, "content");
  EXPECT_TRUE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(Ma("inner")));
  EXPECT_EQ(Modified(), "OuterAssy InnerAssy");
  Ref_("outer")->SetExternallyProduced(true);
  EXPECT_TRUE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(outer));
  EXPECT_EQ(OrvVekMfgAssyVersioningUtilities::CreateNewMAVersion(outer), S_OK);
  EXPECT_EQ(Ref_("outer")->GetVersion(), 2);
  EXPECT_FALSE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(outer));
  EXPECT_EQ(Modified(), "InnerAssy");  // the version took the outer assembly's entries
}

TEST_F(Versions, UndoTakesBackMarksLinksEntriesAndVersions) {
  auto outer = Ma("outer");
  {
    host::UndoScope job(*doc);
    Ref_("outer")->SetExternallyProduced(true);
    Services()->LogModification(outer, TavModificationCode::ExternallyProduced, "externallyproduced");
    Ref_("outer")->LinkRefEbom(doc->FindById("door"));
    job.Keep("change");
  }
  {
    host::UndoScope job(*doc);
    OrvVekMfgAssyVersioningUtilities::CreateNewMAVersion(outer);
    job.Keep("version");
  }
  EXPECT_EQ(Modified(), "");
  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(Ref_("outer")->GetVersion(), 0);
  EXPECT_EQ(Modified(), "OuterAssy");
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_FALSE(Ref_("outer")->IsExternallyProduced());
  EXPECT_FALSE(Ref_("outer")->GetRefEbomProduct());
  EXPECT_EQ(Modified(), "");
  ASSERT_TRUE(doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(Modified(), "OuterAssy");
  EXPECT_TRUE(Ref_("outer")->IsExternallyProduced());
}

TEST_F(Versions, TheHostLogsItsOwnRecordedEditsAndUndoTakesThemBack) {
  auto outer = std::dynamic_pointer_cast<host::HostAssembly>(doc->FindById("outer"));
  auto log = [&] {
    std::string s;
    for (auto& e : Services()->GetModificationLog()) s += std::to_string(e.code) + ":" + e.attribute.utf8() + " ";
    return s;
  };
  EXPECT_EQ(log(), "");  // loading logs nothing
  {
    host::UndoScope job(*doc);
    outer->SetName("OuterAssy");  // the same name: no edit
    outer->SetName("Outer");
    outer->SetPartNumber("MA-3");
    EXPECT_EQ(outer->AddPart(doc->FindById("door")), S_OK);
    EXPECT_EQ(outer->AddPart(doc->FindById("door")), S_FALSE);  // already there: no edit
    EXPECT_EQ(outer->RemovePart(doc->FindById("inner")), S_OK);  // a run of content edits: one entry
    outer->SetName("Outer.2");
    job.Keep("edit");
  }
  EXPECT_EQ(log(), "2:name 3:partnumber 1:content 2:name ");
  EXPECT_EQ(Modified(), "Outer.2");
  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(log(), "");
  EXPECT_EQ(outer->Name().utf8(), "OuterAssy");
  ASSERT_TRUE(doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(log(), "2:name 3:partnumber 1:content 2:name ");
  // A change nobody records (loading, generating) is no edit.
  outer->SetName("Quiet");
  EXPECT_EQ(Services()->GetModificationLog().size(), 4u);
}

TEST_F(Versions, ObjectsDeletedAfterAVersionNeitherLinkNorBreakTheSave) {
  auto inner = Ma("inner"), outer = Ma("outer");
  ASSERT_EQ(Ref_("outer")->LinkRefEbom(doc->FindById("panel")), S_OK);
  ASSERT_EQ(OrvVekMfgAssyVersioningUtilities::CreateNewMAVersion(inner), S_OK);
  ASSERT_EQ(OrvVekMfgAssyVersioningUtilities::CreateNewMAVersion(outer), S_OK);
  {
    host::UndoScope job(*doc);
    std::string why;
    auto door = std::dynamic_pointer_cast<host::HostProduct>(doc->FindById("door"));
    auto panel = std::dynamic_pointer_cast<host::HostProduct>(doc->FindById("panel"));
    ASSERT_EQ(host::RemoveProductInstance(door, panel, why), S_OK) << why;
    job.Keep("delete");
  }
  EXPECT_FALSE(Ref_("outer")->GetRefEbomProduct());
  EXPECT_EQ(Ref_("outer")->UnlinkRefEbom(), E_FAIL);  // nothing left to unlink
  EXPECT_TRUE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(inner));  // its part went, and the log says so
  EXPECT_EQ(Modified(), "InnerAssy");
  std::string problem;
  const std::string saved = host::SerializePlant(*doc, "t.xml", &problem);
  EXPECT_EQ(problem, "");
  EXPECT_EQ(saved.find("panel"), std::string::npos);
  EXPECT_NE(saved.find("<lastVersion name=\"InnerAssy\" type=\"1\" gone=\"1\"/>"), std::string::npos) << saved;
  auto reloaded = LoadPlantText(saved);
  ASSERT_TRUE(reloaded);
  EXPECT_EQ(host::SerializePlant(*reloaded, "t.xml", &problem), saved);
  for (const char* id : {"inner", "outer"})  // each version held what is gone: both differ from it
    EXPECT_TRUE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(query<OrvIMfgAssembly>(reloaded->FindById(id)))) << id;
  std::string why;
  ASSERT_TRUE(doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(Ref_("outer")->GetRefEbomProduct(), doc->FindById("panel"));  // the deletion undone, the link is back
}

TEST(VersionsPlant, VersionsLinksAndTheLogSurviveSaveAndReload) {
  const std::string text = Plant(
      "      <versioning version=\"2\" externallyProduced=\"true\" refEbom=\"door\">\n"
      "        <lastVersion name=\"OuterAssy\" partNumber=\"MA-2\" type=\"1\" refEbom=\"door\" parts=\"inner\"/>\n"
      "      </versioning>\n",
      "  <modificationLog>\n    <entry object=\"outer\" code=\"12\" attribute=\"externallyproduced\"/>\n"
      "    <entry object=\"inner\" code=\"3\"/>\n  </modificationLog>\n");
  auto doc = LoadPlantText(text);
  ASSERT_TRUE(doc);
  EXPECT_EQ(host::SerializePlant(*doc), text);
  auto outer = query<OrvIMfgAssembly>(doc->FindById("outer"));
  EXPECT_EQ(query<OrvIMfgAssemblyReference>(outer)->GetVersion(), 2);
  EXPECT_TRUE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(outer));  // produced outside since version 2
}

TEST(VersionsPlant, BadVersioningIsOneLocatedError) {
  const struct {
    std::string extras, sections, error;
  } cases[] = {
      {"      <versioning refEbom=\"rb\"/>\n", "", "refEbom=\"rb\" is no product"},
      {"      <versioning refEbom=\"kit\"/>\n", "", "refEbom=\"kit\" is no product"},
      {"      <versioning version=\"-1\"/>\n", "", "is no version number"},
      {"      <versioning version=\"x\"/>\n", "", "'x'"},
      {"      <versioning>\n        <lastVersion name=\"A\"/>\n      </versioning>\n", "", "needs version"},
      {"      <versioning version=\"1\">\n        <lastVersion name=\"A\" parts=\"nope\"/>\n      </versioning>\n", "",
       "unknown id \"nope\""},
      {"", "  <modificationLog>\n    <entry object=\"ghost\" code=\"12\"/>\n  </modificationLog>\n", "object=\"ghost\" is an unknown id"},
      {"", "  <modificationLog>\n    <entry object=\"outer\" code=\"twelve\"/>\n  </modificationLog>\n", "'twelve'"},
      {"      <versioning version=\"1\">\n        <lastVersion name=\"A\" gone=\"0\"/>\n      </versioning>\n", "",
       "gone=\"0\" is no count"},
  };
  for (const auto& c : cases) {
    const std::string error = PlantTextError(Plant(c.extras, c.sections));
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
  }
}

}  // namespace
