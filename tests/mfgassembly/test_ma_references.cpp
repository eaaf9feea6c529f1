// The reference commands and the externally-produced toggle: a kit goes back to the
// assembly pick, a resource is no reference, a refused link or unlink ends the command
// with the assembly as it was, a toggle is redrawn and logged, twice is no change.
#include "HostProducts.h"
#include "MfgAssyPlant.h"
#include "OrvMADeleteRefEbomCmd.h"
#include "OrvMARefEbomCmd.h"
#include "OrvVekSetMAExternallyProducedCmd.h"
#include "TavMfgVersioning.h"

namespace {

struct References : MfgAssyPlant {
  Ref<OrvIMfgAssemblyReference> Ref_(const std::string& id) const { return query<OrvIMfgAssemblyReference>(Obj(id)); }
  bool Refused(const std::string& id) {
    bool refused = false;
    engine.Pick(doc->PathOf(Obj(id)), &err, &refused);
    return refused;
  }
};

TEST_F(References, LinkTakesAProductAndAnAssemblyAndAKitGoesBackToTheAssemblyPick) {
  Start(std::make_unique<OrvMARefEbomCmd>());
  EXPECT_TRUE(Refused("robot"));  // a resource is no engineering product
  ASSERT_TRUE(Pick("door")) << err;
  EXPECT_EQ(Running(), "SelectMA");
  ASSERT_TRUE(Pick("kit")) << err;
  EXPECT_EQ(Running(), "SelectMA");  // back, without a message
  EXPECT_TRUE(engine.Messages().empty());
  ASSERT_TRUE(Pick("ma")) << err;
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(Ref_("ma")->GetRefEbomProduct(), Obj("door"));
  EXPECT_FALSE(Ref_("kit")->GetRefEbomProduct());
}

TEST_F(References, ARefusedUnlinkEndsTheCommandAndChangesNothing) {
  Start(std::make_unique<OrvMADeleteRefEbomCmd>());
  ASSERT_TRUE(Pick("ma")) << err;  // linked to nothing: the unlink fails
  EXPECT_EQ(Running(), "ended");
  Ref_("ma")->LinkRefEbom(Obj("hood"));
  Start(std::make_unique<OrvMADeleteRefEbomCmd>());
  ASSERT_TRUE(Pick("kit")) << err;
  EXPECT_EQ(Running(), "SelectMA");
  ASSERT_TRUE(Pick("ma")) << err;
  EXPECT_EQ(Running(), "ended");
  EXPECT_FALSE(Ref_("ma")->GetRefEbomProduct());
}

TEST_F(References, TogglingTwiceRestoresTheMarkAndLogsTwoChanges) {
  for (int i = 0; i < 2; ++i) {
    Start(std::make_unique<OrvVekSetMAExternallyProducedCmd>());
    ASSERT_TRUE(Pick("ma")) << err;
    EXPECT_EQ(Running(), "ended");
    EXPECT_EQ(Ref_("ma")->IsExternallyProduced(), i == 0);
  }
  auto log = OrvVekMfgAssyVersioningUtilities::ServicesOf(doc)->GetModificationLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].code, 12);
  EXPECT_EQ(log[1].attribute.utf8(), "externallyproduced");
  EXPECT_TRUE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(MA("ma")));  // never versioned
  OrvVekMfgAssyVersioningUtilities::CreateNewMAVersion(MA("ma"));
  Start(std::make_unique<OrvVekSetMAExternallyProducedCmd>());
  ASSERT_TRUE(Pick("ma")) << err;
  Start(std::make_unique<OrvVekSetMAExternallyProducedCmd>());
  ASSERT_TRUE(Pick("ma")) << err;
  EXPECT_FALSE(OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(MA("ma")));  // back to the version's state
  // Each toggle redraws the assembly.
  std::size_t redraws = 0;
  for (auto& line : host::NotificationsOf(*doc)->Take()) redraws += line.rfind("assembly redrawn: ", 0) == 0;
  EXPECT_EQ(redraws, 4u);
}

}  // namespace
