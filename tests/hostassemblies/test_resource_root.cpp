// The resource tree hangs under one product, "Resource.1", as planners know it:
// every resource's chain in the product tree ends there, its children are the
// resource list's roots. It is no object of the document: no id, no path of its own,
// never saved, and nothing is made below it but roots of the list.
#include "AssemblyPlant.h"
#include "TavMfgAssy.h"
#include "TavResources.h"

using namespace host;

TEST(ResourceRoot, FatherChainsEndThereWithPathsAndFilesUnchanged) {
  auto doc = LoadPlantText(kAssemblyPlant);
  ASSERT_TRUE(doc);
  auto rb = ProductOf(*doc, "rb"), st = ProductOf(*doc, "st");
  std::vector<std::string> chain;
  for (Ref<TavIProduct> p = rb; p; p = TavFatherInProductTree(p)) chain.push_back(p->GetName().utf8());
  EXPECT_EQ(chain, (std::vector<std::string>{"Robot.1", "Station.1", "Resource.1"}));
  EXPECT_FALSE(st->GetFatherProduct());  // the list's roots keep no father of their own

  const auto& root = doc->ResourceRoot();
  EXPECT_TRUE(root->IsResource());
  EXPECT_TRUE(root->IsResourceRoot());
  EXPECT_TRUE(root->GetId().IsEmpty());
  EXPECT_EQ(root->GetChildren(), (std::vector<Ref<TavIProduct>>{st}));
  EXPECT_EQ(root->GetChildrenCount(), 1);
  EXPECT_EQ(root->GetAllDescendants(), (std::vector<Ref<TavIProduct>>{st, rb}));
  // Products keep no such father.
  EXPECT_FALSE(TavFatherInProductTree(ProductOf(*doc, "body")));

  EXPECT_EQ(doc->PathString(rb), "Resources/Station.1/Robot.1");
  EXPECT_EQ(doc->Resolve("Resources/Station.1/Robot.1").GetLeaf(), rb);
  const std::string saved = SerializePlant(*doc);
  EXPECT_EQ(saved.find("Resource.1"), std::string::npos);
  auto again = LoadPlantText(saved);
  ASSERT_TRUE(again);
  EXPECT_EQ(SerializePlant(*again), saved);
}

TEST(ResourceRoot, FollowsTheResourceList) {
  auto doc = LoadPlantText(kAssemblyPlant);
  ASSERT_TRUE(doc);
  auto line = doc->CreateProduct(nullptr, "line", "Line.1", {}, true);
  EXPECT_EQ(TavFatherInProductTree(line), doc->ResourceRoot());
  EXPECT_EQ(doc->ResourceRoot()->GetChildrenCount(), static_cast<int>(doc->Resources().roots_.size()));
  // Made "under" the root, a resource is a root of the list, saved and on a path.
  auto cell = doc->CreateProduct(doc->ResourceRoot(), "cell", "Cell.1");
  EXPECT_TRUE(cell->IsResource());
  EXPECT_EQ(doc->Resources().roots_.back(), cell);
  EXPECT_EQ(doc->PathString(cell), "Resources/Cell.1");
  EXPECT_NE(SerializePlant(*doc).find(R"(<resource id="cell" name="Cell.1"/>)"), std::string::npos);
  // An instance under it is refused with a reason rather than made nowhere.
  auto instances = query<TavIProductInstances>(doc->ResourceRoot());
  ASSERT_TRUE(instances);
  Ref<TavIProduct> made;
  EXPECT_EQ(instances->AddInstance(line, made), E_FAIL);
  EXPECT_FALSE(made);
  // A resource root of one document is not another's.
  auto other = LoadPlantText(kAssemblyPlant);
  EXPECT_NE(TavFatherInProductTree(ProductOf(*other, "st")), doc->ResourceRoot());
}
