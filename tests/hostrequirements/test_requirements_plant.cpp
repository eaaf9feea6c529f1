// <requirements> in plant files: byte-stable, strict, all-or-nothing, and never
// writing the requirements of a product that left the plant.
#include <algorithm>

#include "PlantDocument.h"
#include "RequirementPlant.h"
#include "TavResources.h"

using namespace host;

namespace {

std::string Saved(const HostDocument& doc) { return SerializePlant(doc, "t.xml", nullptr); }

std::size_t LineOf(const std::string& text, const std::string& needle) {
  const auto at = text.find(needle);
  return at == std::string::npos ? 0 : static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n')) + 1;
}

TEST(RequirementsPlant, LoadAndSaveGiveTheSameBytesAndAnEmptySectionIsLeftOut) {
  auto doc = LoadPlantText(kRequirementPlant);
  ASSERT_TRUE(doc);
  EXPECT_EQ(Saved(*doc), kRequirementPlant);

  const std::string section = std::string(kRequirementPlant).substr(std::string(kRequirementPlant).find("  <requirements>"));
  const std::string without = ReplaceOnce(ReplaceOnce(kRequirementPlant, section, "</plant>\n"), R"(
      <relation type="process_implements_requirement" ref="door">
        <attribute name="Requirement" type="string" value="Hem sealed"/>
      </relation>)", "");
  auto none = LoadPlantText(without);
  ASSERT_TRUE(none);
  EXPECT_EQ(Saved(*none), without);
  auto empty = LoadPlantText(ReplaceOnce(without, "</plant>\n", "  <requirements/>\n</plant>\n"));
  ASSERT_TRUE(empty);
  EXPECT_EQ(Saved(*empty), without);
}

TEST(RequirementsPlant, EachBadRequirementFailsTheWholeLoadWithItsPlace) {
  struct Case {
    std::string element, where, message;
  };
  const std::string req = R"(<requirement product="door" name="Gap checked"/>)";
  // The line of the replaced requirement (the second one) and of the section.
  const std::vector<Case> cases = {
      {R"(<requirement product="door"/>)", ":42:", "name"},
      {R"(<requirement name="Gap"/>)", ":42:", "product"},
      {R"(<requirement product="door" name="Gap" owner="x"/>)", ":42:", "owner"},
      {R"(<requirement product="nowhere" name="Gap"/>)", ":42:", "a requirement of unknown product 'nowhere'"},
      {R"(<requirement product="rb1" name="Gap"/>)", ":42:", "'rb1' is a resource: only products carry requirements"},
      {R"(<requirement product="ma1" name="Gap"/>)", ":42:", "'ma1' is an assembly: only products carry requirements"},
      {R"(<requirement product="hem" name="Gap"/>)", ":42:", "'hem' is an activity: only products carry requirements"},
      {R"(<requirement product="door" name="Hem sealed"/>)", ":42:", "product 'door' has two requirements named 'Hem sealed'"},
      {R"(<requirement product="door" name=""/>)", ":42:", "a requirement of 'door' without a name"},
      {R"(<requirement product="door" name="  "/>)", ":42:", "a requirement of 'door' without a name"},
      {R"(<requirement product="door" name="Gap" description=""/>)", ":42:", "an empty description"},
      {R"(<requirement product="door" name="Gap"><note/></requirement>)", ":42:", "unknown element <note> in <requirement>"},
      {R"(<requirement product="door" name="Gap">text</requirement>)", ":42:", "unexpected text in <requirement>"},
      {R"(<need product="door" name="Gap"/>)", ":42:", "<need>"},
  };
  for (const Case& c : cases) {
    const std::string error = PlantTextError(ReplaceOnce(kRequirementPlant, req, c.element));
    EXPECT_EQ(error.rfind("t.xml" + c.where, 0), 0u) << c.element << ": " << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.element << ": " << error;
  }
  const std::string error = PlantTextError(ReplaceOnce(kRequirementPlant, "<requirements>", "<requirements kind=\"eng\">"));
  EXPECT_EQ(error.rfind("t.xml:40:", 0), 0u) << error;
  EXPECT_NE(error.find("kind"), std::string::npos) << error;
}

// A relation's "Requirement" names one requirement of the product it points at; the
// relation's own position is not kept, so the message names its activity.
TEST(RequirementsPlant, ARelationNamingNoRequirementOfItsProductFailsTheLoad) {
  const std::string named = R"(<attribute name="Requirement" type="string" value="Hem sealed"/>)";
  struct Case {
    std::string text, message;
  };
  const std::vector<Case> cases = {
      {ReplaceOnce(kRequirementPlant, named, R"(<attribute name="Requirement" type="string" value="Hem glued"/>)"),
       "activity 'hem' implements requirement 'Hem glued' of 'door', which has no such requirement"},
      {ReplaceOnce(kRequirementPlant, named, R"(<attribute name="Requirement" type="string" value="Torqued"/>)"),
       "activity 'hem' implements requirement 'Torqued' of 'door', which has no such requirement"},
      {ReplaceOnce(kRequirementPlant, named, R"(<attribute name="Requirement" type="int" value="3"/>)"),
       "activity 'hem': the attribute \"Requirement\" of its relation process_implements_requirement to 'door' is not a string"},
      {ReplaceOnce(kRequirementPlant, R"(<relation type="process_implements_requirement" ref="hinge"/>)",
                   R"(<relation type="process_implements_requirement" ref="ma1">)" "\n        " + named + "\n      </relation>"),
       "activity 'torque' implements requirement 'Hem sealed' of 'ma1', which is no product"},
      {ReplaceOnce(kRequirementPlant, R"(<relation type="process_implements_requirement" ref="panel"/>)",
                   R"(<relation type="process_implements_requirement" ref="roof">)" "\n              " + named + "\n            </relation>"),
       "activity 'grip' implements requirement 'Hem sealed' of 'roof', which has no such requirement"},
  };
  for (const Case& c : cases) {
    const std::string error = PlantTextError(c.text);
    EXPECT_EQ(error, "t.xml:" + std::to_string(LineOf(c.text, "<requirements>")) + ":17: " + c.message);
  }
  // A relation to an assembly implementing "every requirement" implements none, and loads.
  EXPECT_TRUE(LoadPlantText(ReplaceOnce(kRequirementPlant, R"(<relation type="process_implements_requirement" ref="hinge"/>)",
                                        R"(<relation type="process_implements_requirement" ref="ma1"/>)")));
}

// Taking a product out of the plant takes its requirements, and those of the
// products below it, out of the file; undo brings them back, in their place.
TEST(RequirementsPlant, ARemovedProductsRequirementsAreNotSavedUntilUndoBringsItBack) {
  RequirementSession s;
  ASSERT_TRUE(s.doc);
  auto body = query<TavIProductInstances>(s.At("Products/Body"));
  auto door = query<TavIProduct>(s.At("Products/Body/Door"));
  ASSERT_TRUE(body && door);
  s.doc->Journal().Begin();
  ASSERT_EQ(body->RemoveInstance(door), S_OK);
  ASSERT_TRUE(s.doc->Journal().Commit("remove door"));
  const std::string saved = Saved(*s.doc);
  EXPECT_EQ(saved.find("requirement"), std::string::npos) << saved;  // the section has nothing left
  std::string problem;
  SerializePlant(*s.doc, "t.xml", &problem);
  EXPECT_EQ(problem, "");
  ASSERT_TRUE(LoadPlantText(saved));  // nothing dangles
  EXPECT_EQ(RequirementSession::LevelOf(door), -1);  // of no plant now

  std::string why;
  ASSERT_TRUE(s.doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(Saved(*s.doc), kRequirementPlant);
  EXPECT_EQ(s.Level("Products/Body/Door"), 2);
  EXPECT_EQ(s.Level("Products/Body/Door/Hinge"), 1);
}

}  // namespace
