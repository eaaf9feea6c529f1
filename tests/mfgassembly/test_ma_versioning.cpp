// Versioning: the modified list and the assemblies containing the selection (the
// index against the literal definition), OK with nothing selected, contained
// assemblies versioned first and each once, a version that cannot be made, and the
// containers of a deselected assembly left alone.
#include "MfgAssyPlant.h"
#include "OrvVekMAVersioningCmd.h"
#include "OrvVekSetMAExternallyProducedCmd.h"
#include "PlantGenerator.h"
#include "TavMfgVersioning.h"

namespace {

std::string Names(const std::vector<Ref<OrvIMfgAssembly>>& list) {
  std::string s;
  for (auto& m : list) s += (s.empty() ? "" : " ") + m->GetName().utf8();
  return s;
}

struct Versioning : MfgAssyPlant {
  int Version(const std::string& id) const { return query<OrvIMfgAssemblyReference>(Obj(id))->GetVersion(); }
  OrvVekMAVersioningDlg* Open() {
    auto* cmd = Start(std::make_unique<OrvVekMAVersioningCmd>());
    return cmd->Dialog();
  }
};

TEST(VersioningIndex, TheIndexFindsWhatTheLiteralDefinitionFindsInItsOrder) {
  for (std::uint64_t seed : {1, 2, 3}) {
    auto doc = host::GeneratePlant({.activities = 20, .products = 300, .resources = 5, .depth = 3, .seed = seed});
    const auto all = OrvEMfgAssemblyFactory::GetMAsInContainer(doc);
    ASSERT_FALSE(all.empty());
    OrvVekMAVersioningIndex index(all);
    for (std::size_t i = 0; i < all.size(); ++i) {
      const std::vector<Ref<OrvIMfgAssembly>> seeds{all[i], all[(i * 7) % all.size()]};
      EXPECT_EQ(Names(index.IndirectMAs(seeds)), Names(OrvVekUniqueMAs(OrvVekMAVersioningIndex::LiteralIndirectMAs(all, seeds))))
          << "seed " << seed << ", assembly " << i;
    }
  }
}

TEST_F(Versioning, TheDialogListsTheModifiedAndTheirContainers) {
  OrvVekSetMAExternallyProducedCmd::Toggle(Obj("inner"));
  OrvVekSetMAExternallyProducedCmd::Toggle(Obj("kit"));
  auto* d = Open();
  ASSERT_TRUE(d);
  EXPECT_EQ(d->ModifiedList()->GetLineCount(), 2);
  EXPECT_TRUE(d->AllSelect()->GetState());
  EXPECT_EQ(Names(d->Indirect()), "DoorAssy SideAssy");
  EXPECT_EQ(d->GetMinimumWidth(), 562);
  EXPECT_EQ(d->GetMinimumHeight(), 284);
  // Only the kit: nothing contains it, and "select all" no longer holds.
  d->ModifiedList()->SetSelect(1, true);
  EXPECT_FALSE(d->AllSelect()->GetState());
  EXPECT_EQ(Names(d->Indirect()), "");
  d->AllSelect()->SetValueFromText("unchecked", nullptr);
  EXPECT_EQ(d->ModifiedList()->GetSelectCount(), 0);
  Push(d->OKButton());  // nothing selected: the box says so, nothing is versioned
  EXPECT_EQ(Running(), "ended");
  ASSERT_FALSE(engine.Messages().empty());
  EXPECT_EQ(engine.Messages().back().name, "NothingToCreate");
  EXPECT_EQ(Version("inner") + Version("kit"), 0);
}

TEST_F(Versioning, ContainedAssembliesAreVersionedFirstAndEachOnce) {
  OrvVekSetMAExternallyProducedCmd::Toggle(Obj("inner"));
  OrvVekSetMAExternallyProducedCmd::Toggle(Obj("outer"));
  auto* d = Open();
  ASSERT_TRUE(d);
  Push(d->OKButton());
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(engine.Messages().back().name, "CreateVersion");
  EXPECT_FALSE(TavApplicationFrame::IsBusy());
  for (const char* id : {"inner", "ma", "outer"}) EXPECT_EQ(Version(id), 1) << id;
  EXPECT_EQ(Version("kit"), 0);
  // The order: the walk from the list versions contents before their containers.
  std::vector<Ref<OrvIMfgAssembly>> versioned, failed;
  OrvVekMAVersioningCmd::VersionModMAs({MA("outer"), MA("inner")}, {MA("outer"), MA("ma"), MA("inner")}, versioned, &failed);
  EXPECT_EQ(Names(versioned), "HingeAssy DoorAssy SideAssy");
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(Version("inner"), 2);
}

TEST_F(Versioning, AVersionThatCannotBeMadeLeavesTheOthersDone) {
  // The kit leaves the plant: no document versions it any more.
  auto kit = MA("kit");
  ASSERT_EQ(OrvVekMfgAssyVersioningUtilities::GetMBNContainer(doc)->RemoveAssembly(kit), S_OK);
  std::vector<Ref<OrvIMfgAssembly>> versioned, failed;
  OrvVekMAVersioningCmd::VersionModMAs({kit, MA("ma")}, {kit, MA("ma"), MA("inner")}, versioned, &failed);
  EXPECT_EQ(Names(failed), "DoorKit");
  EXPECT_EQ(Names(versioned), "HingeAssy DoorAssy");
}

TEST_F(Versioning, TheContainersOfADeselectedAssemblyAreNotVersioned) {
  OrvVekSetMAExternallyProducedCmd::Toggle(Obj("inner"));
  OrvVekSetMAExternallyProducedCmd::Toggle(Obj("kit"));
  auto* d = Open();
  ASSERT_TRUE(d);
  d->ModifiedList()->SetSelect(1, true);  // the kit only
  Push(d->OKButton());
  EXPECT_EQ(Version("kit"), 1);
  for (const char* id : {"inner", "ma", "outer"}) EXPECT_EQ(Version(id), 0) << id;
}

}  // namespace
