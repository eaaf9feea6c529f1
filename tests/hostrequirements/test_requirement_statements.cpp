// print requirements, print highlight and expect highlighted, as a script runs them.
#include <sstream>

#include "HostScript.h"
#include "RequirementPlant.h"

using namespace host;

namespace {

struct Statements : ::testing::Test {
  std::ostringstream out;
  ScriptRunner r{out};
  Ref<HostDocument> doc = LoadPlantText(kRequirementPlant);
  void SetUp() override {
    ASSERT_TRUE(doc);
    r.Session().OpenDocument(doc);
    TavViewerHighlight::Clear();
  }
  void TearDown() override { TavViewerHighlight::Clear(); }
  Ref<TavBaseUnknown> At(const std::string& path) const { return doc->Resolve(path).GetLeaf(); }
  std::string Run(const std::string& line) {
    out.str("");
    EXPECT_TRUE(r.RunText(line + "\n", "s.mirt")) << r.Error();
    return out.str();
  }
  std::string Refused(const std::string& line) {
    EXPECT_FALSE(r.RunText(line + "\n", "s.mirt")) << line;
    return r.Error();
  }
};

TEST_F(Statements, PrintRequirementsListsEachProductsRequirementsWithTheirActivities) {
  EXPECT_EQ(Run("print requirements"),
            "requirements: 5 requirements on 3 products\n"
            "  Products/Body/Door: level 2 (not all implemented)\n"
            "    Hem sealed (Flange glued & closed, \"full length\" – Falz): implemented by Process/Hem\n"
            "    Gap checked: not implemented\n"
            "  Products/Body/Door/Hinge: level 1 (all implemented)\n"
            "    Torqued (22.5 Nm): implemented by Process/Torque\n"
            "    Greased: implemented by Process/Torque\n"
            "  Products/Body/Door/Panel: level 1 (all implemented)\n"
            "    Gripped: implemented by Resources/Station.1/Robot.1/Robot.1 handling/Grip\n");
  // A product named: itself whatever it carries, then those below it that carry some.
  EXPECT_EQ(Run("print requirements Products/Body/Roof"),
            "requirements: 0 requirements on 1 product\n"
            "  Products/Body/Roof: level 0 (no requirements)\n");
  query<TavIPCSRelations>(At("Process/Spare"))->CreateRelation("process_implements_requirement", At("Products/Body/Door/Hinge"));
  EXPECT_EQ(Run("print requirements Products/Body/Door/Hinge"),
            "requirements: 2 requirements on 1 product\n"
            "  Products/Body/Door/Hinge: level 1 (all implemented)\n"
            "    Torqued (22.5 Nm): implemented by Process/Torque, Process/Spare\n"
            "    Greased: implemented by Process/Torque, Process/Spare\n");
  EXPECT_EQ(Refused("print requirements Resources/Station.1"),
            "s.mirt:1: print requirements: Resources/Station.1 is no product (only products carry requirements)");
  EXPECT_EQ(Refused("print requirements Assemblies/RoofAssy"),
            "s.mirt:1: print requirements: Assemblies/RoofAssy is no product (only products carry requirements)");
}

TEST_F(Statements, PrintHighlightShowsTheHighlightInItsOrder) {
  EXPECT_EQ(Run("print highlight"), "highlight: none\n");
  TavViewerHighlight::Highlight({At("Products/Body/Roof"), At("Products/Body/Door/Hinge")});
  auto other = LoadPlantText(ReplaceOnce(kRequirementPlant, R"(environment="local")", R"(environment="local" name="Other")"));
  TavViewerHighlight::Highlight({other->Resolve("Products/Body/Door").GetLeaf()});
  EXPECT_EQ(Run("print highlight"),
            "highlight: 3 objects\n"
            "  Products/Body/Roof\n"
            "  Products/Body/Door/Hinge\n"
            "  Products/Body/Door (in Other)\n");
  TavViewerHighlight::UnHighlight({At("Products/Body/Roof")});
  other.reset();  // a closed plant leaves nothing highlighted
  EXPECT_EQ(Run("print highlight"), "highlight: 1 object\n  Products/Body/Door/Hinge\n");
}

TEST_F(Statements, ExpectHighlightedHoldsForExactlyTheseObjectsInAnyOrder) {
  Run("expect highlighted none");
  TavViewerHighlight::Highlight({At("Products/Body/Roof"), At("Products/Body/Door/Hinge")});
  Run("expect highlighted Products/Body/Door/Hinge #roof");
  Run("expect highlighted Products/Body/Roof Products/Body/Door/Hinge Products/Body/Roof");
  EXPECT_EQ(Refused("expect highlighted none"),
            "s.mirt:1: expectation failed: the viewer highlights Products/Body/Roof, Products/Body/Door/Hinge; "
            "highlighted but not expected: Products/Body/Roof, Products/Body/Door/Hinge");
  EXPECT_EQ(Refused("expect highlighted Products/Body/Roof Products/Body/Door"),
            "s.mirt:1: expectation failed: the viewer highlights Products/Body/Roof, Products/Body/Door/Hinge; "
            "not highlighted: Products/Body/Door; highlighted but not expected: Products/Body/Door/Hinge");
  EXPECT_EQ(Refused("expect highlighted Products/Body/Nowhere"), "s.mirt:1: no object at 'Products/Body/Nowhere'");
  EXPECT_NE(Refused("expect highlighted"), "");
  TavViewerHighlight::Clear();
  EXPECT_EQ(Refused("expect highlighted Products/Body/Roof"),
            "s.mirt:1: expectation failed: the viewer highlights none; not highlighted: Products/Body/Roof");
}

}  // namespace
