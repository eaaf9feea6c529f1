// The hub information of hub documents and the kind of the assemblies list.
#include "RequirementPlant.h"

using namespace host;

namespace {

TEST(HubDocInfo, AHubPlantAnswersItsDisplayNameALocalOneHasNone) {
  auto hub = LoadPlantText(ReplaceOnce(kRequirementPlant, R"(environment="local")", R"(environment="hub" name="BIW line")"));
  ASSERT_TRUE(hub);
  auto info = OrvMHIDocInfoOf(hub);
  ASSERT_TRUE(info);
  TavUnicodeString name;
  EXPECT_EQ(info->GetHubInfoName(name), S_OK);
  EXPECT_EQ(name, "BIW line");
  hub->SetDisplayName("BIW line 2");  // read when asked
  EXPECT_EQ(info->GetHubInfoName(name), S_OK);
  EXPECT_EQ(name, "BIW line 2");
  EXPECT_TRUE(hub->GetRootContainer(OrvIMHIDocInfo::kInterfaceName));
  hub.reset();  // kept beyond its document, the container has no name to give
  EXPECT_EQ(info->GetHubInfoName(name), E_FAIL);

  auto local = LoadPlantText(kRequirementPlant);
  ASSERT_TRUE(local);
  EXPECT_FALSE(OrvMHIDocInfoOf(local));
  EXPECT_FALSE(OrvMHIDocInfoOf(nullptr));
}

TEST(Kinds, TheAssembliesListIsABomNodeContainerAndProductsAreNot) {
  auto doc = LoadPlantText(kRequirementPlant);
  ASSERT_TRUE(doc);
  auto assemblies = doc->GetRootContainer(TavIMfgAssemblyContainer::kInterfaceName);
  ASSERT_TRUE(assemblies);
  EXPECT_TRUE(TavKinds::IsAKindOf(assemblies, "OrvMBomNodesCont"));
  EXPECT_TRUE(TavKinds::IsAKindOf(assemblies, "OrvMfgAssyContainer"));
  EXPECT_FALSE(TavKinds::IsAKindOf(doc->Resolve("Products/Body/Door").GetLeaf(), "OrvMBomNodesCont"));
  EXPECT_FALSE(TavKinds::IsAKindOf(doc->Resolve("Assemblies/RoofAssy").GetLeaf(), "OrvMBomNodesCont"));
  EXPECT_FALSE(TavKinds::IsAKindOf(doc->GetRootContainer(TavIPPRProductList::kInterfaceName), "OrvMBomNodesCont"));
}

}  // namespace
