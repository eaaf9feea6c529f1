// The compare engine over two versions of a plant: pairing, Added/Removed,
// modification codes and the checks behind each code bit.
#include <gtest/gtest.h>

#include <map>

#include "ComparePlant.h"
#include "PlantDocument.h"
#include "PlantGenerator.h"

using namespace cmptest;

namespace {

TEST_F(CompareTest, RenamedActivityPairsAndIsModifiedOnlyWhenAttributesCount) {
  Version a, b;
  a.Act("w", "Weld");
  b.Act("w", "Weld right");
  {
    Engine e;
    ASSERT_EQ(Run(e, a.root, b.root, E::Activities, 0, a, b), 0);
    const auto& r = e.Results(E::Activities);
    EXPECT_EQ(Ids(r.matchedOriginal), (std::vector<std::string>{"proc", "w"}));
    EXPECT_EQ(Ids(r.matchedModified), Ids(r.matchedOriginal));
    EXPECT_TRUE(r.added.empty() && r.removed.empty() && r.codes.empty());
  }
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::AllAttributes, a, b);
  const auto& r = e.Results(E::Activities);
  EXPECT_EQ(Ids(r.modifiedOriginal), (std::vector<std::string>{"w"}));
  EXPECT_EQ(r.codes, (std::vector<int>{E::ModAttributes}));
}

TEST_F(CompareTest, SelectedAttributesCompareOnlyThoseInSelectionOrder) {
  Version a, b;
  auto wa = a.Act("w", "Weld"), wb = b.Act("w", "Weld right");
  wa->SetAttribute("Spots", std::int64_t(40));
  wb->SetAttribute("Spots", std::int64_t(40));
  Engine probe;
  probe.SetType(E::Activities);
  probe.Initialize(a.root, b.root, nullptr, nullptr, a.doc, b.doc);
  std::vector<TavUnicodeString> own, prompts, hub;
  probe.GetAttributeList(own, prompts, hub);
  auto index = [&](const char* n) { return static_cast<int>(std::find(own.begin(), own.end(), TavUnicodeString(n)) - own.begin()); };
  ASSERT_LT(static_cast<std::size_t>(index("Spots")), own.size());
  {
    Engine e;  // the renamed label is not selected: no difference; out-of-range indices are ignored
    Run(e, a.root, b.root, E::Activities, E::SelectedAttributes, a, b, {index("Spots"), 999, -1});
    EXPECT_EQ(e.SelectedOwnAttributes(), (std::vector<TavUnicodeString>{"Spots"}));
    EXPECT_TRUE(e.Results(E::Activities).codes.empty());
  }
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::SelectedAttributes, a, b, {index("Spots"), index("Name")});
  EXPECT_EQ(e.Results(E::Activities).codes, (std::vector<int>{E::ModAttributes}));
}

TEST_F(CompareTest, SharedCompareKeyFallsBackToModelNumberAndWarnsOnce) {
  Settings().Write("CompareConditions.Activity", TavUnicodeString("Name"));
  Version a, b;
  a.Act("x1", "Load");
  a.Act("x2", "Load");
  a.Act("x3", "Load");
  b.Act("y1", "Load");
  Engine e;
  Run(e, a.root, b.root, E::Activities, 0, a, b);
  const auto& r = e.Results(E::Activities);
  // Only the first "Load" of each side keeps its key; the others are keyed by
  // their model numbers, which the modified side does not share.
  EXPECT_EQ(Ids(r.matchedOriginal), (std::vector<std::string>{"proc", "x1"}));
  EXPECT_EQ(Ids(r.matchedModified), (std::vector<std::string>{"proc", "y1"}));
  EXPECT_EQ(Ids(r.removed), (std::vector<std::string>{"x2", "x3"}));
  int sevens = 0;
  for (auto& w : e.Warnings()) sevens += w.errorType == 7;
  EXPECT_EQ(sevens, 1);
}

TEST_F(CompareTest, EverySecondaryKeyMustAgreeToPair) {
  Settings().Write("CompareConditions.Activity", TavUnicodeString("Name,Time"));
  Version a, b;
  a.Act("a1", "Weld")->SetTime(10);
  b.Act("b1", "Weld")->SetTime(12);
  a.Act("a2", "Seal")->SetTime(5);
  b.Act("b2", "Seal")->SetTime(5);
  Settings().Write("CompareConditions.Activity", TavUnicodeString("Name,Time"));
  Engine e;
  Run(e, a.root, b.root, E::Activities, 0, a, b);
  const auto& r = e.Results(E::Activities);
  EXPECT_EQ(Ids(r.added), (std::vector<std::string>{"b1"}));
  EXPECT_EQ(Ids(r.removed), (std::vector<std::string>{"a1"}));
  EXPECT_EQ(Ids(r.matchedModified), (std::vector<std::string>{"proc", "b2"}));
}

TEST_F(CompareTest, AddedAndRemovedFollowTheGatheredOrder) {
  Version a, b;
  for (int i = 0; i < 50; ++i) a.Act("old" + std::to_string(i), "Old");
  for (int i = 0; i < 50; ++i) b.Act("new" + std::to_string(i), "New");
  Engine e;
  Run(e, a.root, b.root, E::Activities, 0, a, b);
  const auto& r = e.Results(E::Activities);
  ASSERT_EQ(r.added.size(), 50u);
  ASSERT_EQ(r.removed.size(), 50u);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(Ids({r.added[static_cast<std::size_t>(i)]})[0], "new" + std::to_string(i));
    EXPECT_EQ(Ids({r.removed[static_cast<std::size_t>(i)]})[0], "old" + std::to_string(i));
  }
}

TEST_F(CompareTest, FatherChildrenItemsResourcesAndSequence) {
  Version a, b;
  auto st = a.Res("st", "Station"), stB = b.Res("st", "Station");
  auto p = a.Prod("p", "Part"), pB = b.Prod("p", "Part");
  auto q = a.Prod("q", "Other"), qB = b.Prod("q", "Other");
  (void)q;
  auto fa = a.Act("f", "Frame"), fb = b.Act("f", "Frame");
  auto ga = a.Act("g", "Group"), gb = b.Act("g", "Group");
  // "m" moves from Frame to Group: its father differs, and both fathers' children.
  auto ma = a.Act("m", "Moved", fa), mb = b.Act("m", "Moved", gb);
  auto xa = a.Act("x", "Next", ga), xb = b.Act("x", "Next", gb);
  ma->AddItem(p, TavItemCode::Processes);
  mb->AddItem(qB, TavItemCode::Processes);
  ma->AddResource(st, TavResourceCode::Uses);
  (void)pB;
  (void)stB;
  fa->AddControlFlowLink(ga);  // a sequence link only in the original
  (void)xa;
  (void)xb;
  (void)fb;
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::AssignedItems | E::AssignedResources | E::Father | E::Children | E::Sequence, a, b);
  const auto& r = e.Results(E::Activities);
  std::map<std::string, int> code;
  for (std::size_t i = 0; i < r.codes.size(); ++i) code[Ids({r.modifiedOriginal[i]})[0]] = r.codes[i];
  EXPECT_EQ(code["m"], E::ModItems | E::ModResources | E::ModFather);
  EXPECT_EQ(code["f"], E::ModChildren | E::ModSequence);
  EXPECT_EQ(code["g"], E::ModChildren | E::ModSequence);
  EXPECT_EQ(code.count("x"), 0u);
  EXPECT_EQ(code.count("proc"), 0u);
}

TEST_F(CompareTest, AReversedLineChangesTheSequenceOfEveryActivity) {
  Version a, b;
  auto a1 = a.Act("a", "A"), b1 = a.Act("b", "B"), c1 = a.Act("c", "C");
  auto a2 = b.Act("a", "A"), b2 = b.Act("b", "B"), c2 = b.Act("c", "C");
  a1->AddControlFlowLink(b1);
  b1->AddControlFlowLink(c1);
  c2->AddControlFlowLink(b2);  // the same neighbours, the other way round
  b2->AddControlFlowLink(a2);
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::Sequence, a, b);
  const auto& r = e.Results(E::Activities);
  std::map<std::string, int> code;
  for (std::size_t i = 0; i < r.codes.size(); ++i) code[Ids({r.modifiedOriginal[i]})[0]] = r.codes[i];
  EXPECT_EQ(code, (std::map<std::string, int>{{"a", E::ModSequence}, {"b", E::ModSequence}, {"c", E::ModSequence}}));
}

TEST_F(CompareTest, UnmatchedFathersOnBothSidesPassTheFatherCheck) {
  Version a, b;
  auto pa = a.Act("pa", "Old group"), pb = b.Act("pb", "New group");
  a.Act("c", "Child", pa);
  b.Act("c", "Child", pb);
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::Father, a, b);
  const auto& r = e.Results(E::Activities);
  EXPECT_EQ(Ids(r.matchedOriginal), (std::vector<std::string>{"proc", "c"}));
  EXPECT_TRUE(r.codes.empty());
}

TEST_F(CompareTest, ChangedFastenersMarkTheActivityEvenWithoutFilterBits) {
  Version a, b;
  auto wa = a.Act("w", "Weld"), wb = b.Act("w", "Weld");
  auto sa = a.Act("s", "Seal"), sb = b.Act("s", "Seal");
  a.Fastener("f1", {wa}, 10);
  b.Fastener("f1", {wb}, 12);  // moved beyond the tolerance
  a.Fastener("f2", {wa}, 0);   // dropped
  b.Fastener("f3", {wb}, 0);   // new
  a.Fastener("f4", {sa}, 3);
  b.Fastener("f4", {sb}, 3);  // unchanged
  Engine e;
  Run(e, a.root, b.root, E::Activities, 0, a, b);
  const auto& r = e.Results(E::Activities);
  EXPECT_EQ(Ids(r.modifiedOriginal), (std::vector<std::string>{"w"}));
  EXPECT_EQ(r.codes, (std::vector<int>{E::ModFasteners}));
  const auto& f = e.Results(E::Fasteners);
  EXPECT_EQ(Ids(f.added), (std::vector<std::string>{"f3"}));
  EXPECT_EQ(Ids(f.removed), (std::vector<std::string>{"f2"}));
  EXPECT_EQ(Ids(f.modifiedOriginal), (std::vector<std::string>{"f1"}));
  EXPECT_EQ(f.codes, (std::vector<int>{E::ModAttributes}));
}

TEST_F(CompareTest, FastenerToleranceIsInclusive) {
  Settings().Write("ToleranceX", 0.5);
  Version a, b;
  auto fa = a.Fastener("f", {}, 10.0);
  auto exact = b.Fastener("f", {}, 10.5);  // exactly the tolerance apart
  {
    Engine e;
    Run(e, fa, exact, E::Fasteners, E::AllAttributes, a, b);
    EXPECT_EQ(Ids(e.Results(E::Fasteners).matchedOriginal), (std::vector<std::string>{"f"}));
    EXPECT_TRUE(e.Results(E::Fasteners).codes.empty());
  }
  exact->SetCoordinate(0, 10.5001);
  {
    Engine e;
    Run(e, fa, exact, E::Fasteners, E::AllAttributes, a, b);
    EXPECT_EQ(e.Results(E::Fasteners).codes, (std::vector<int>{E::ModAttributes}));
  }
  // Decimal coordinates a decimal tolerance apart are the same, although their
  // binary difference is a hair above it.
  Settings().Write("ToleranceX", 0.1);
  fa->SetCoordinate(3, 1020.5);
  exact->SetCoordinate(0, 10.0);
  exact->SetCoordinate(3, 1020.6);
  Engine e;
  Run(e, fa, exact, E::Fasteners, E::AllAttributes, a, b);
  EXPECT_TRUE(e.Results(E::Fasteners).codes.empty());
  // Without the coordinate check a fastener compares by all of its attributes.
  Settings().Write("CoordinateCheck", false);
  Engine whole;
  Run(whole, fa, exact, E::Fasteners, E::AllAttributes, a, b);
  EXPECT_EQ(whole.Results(E::Fasteners).codes, (std::vector<int>{E::ModAttributes}));
}

TEST_F(CompareTest, ComparabilityCodes) {
  Version a, b;
  Settings().Write("CheckRoot.0", true);
  {
    Engine e;
    e.SetType(E::Activities);
    e.Initialize(nullptr, b.root, nullptr, nullptr, a.doc, b.doc);
    EXPECT_EQ(e.CheckComparability(), 2);
    Engine f;
    f.SetType(E::Activities);
    f.Initialize(a.root, nullptr, nullptr, nullptr, a.doc, b.doc);
    EXPECT_EQ(f.CheckComparability(), 3);
  }
  Version c;
  Ref<host::HostRootActivity> other = c.doc->CreateRootProcess("proc2", "Process");
  {
    Engine e;  // the roots' ids differ: the mismatch is shown with both values
    e.SetType(E::Activities);
    e.Initialize(a.root, other, nullptr, nullptr, a.doc, c.doc);
    EXPECT_EQ(e.CheckComparability(), 5);
    ASSERT_EQ(e.Warnings().size(), 1u);
    EXPECT_EQ(e.Warnings()[0].errorType, 4);
    EXPECT_NE(e.Warnings()[0].text.utf8().find("proc2"), std::string::npos);
  }
  Settings().Write("CompareConditions.Activity", TavUnicodeString("NoSuchAttribute"));
  {
    Engine e;
    e.SetType(E::Activities);
    e.Initialize(a.root, b.root, nullptr, nullptr, a.doc, b.doc);
    EXPECT_EQ(e.CheckComparability(), 6);
  }
  Settings().Write("CheckRoot.0", false);
  Engine e;
  e.SetType(E::Activities);
  e.Initialize(a.root, b.root, nullptr, nullptr, a.doc, b.doc);
  EXPECT_EQ(e.CheckComparability(), 0);
}

// A root whose compare conditions give fewer values than names.
class ShortObject final : public virtual OrvICompareObjects {
public:
  std::vector<TavUnicodeString> GetAttributeNames() const override { return {"A", "B"}; }
  HRESULT GetAttributeValue(const TavUnicodeString&, TavUnicodeString& v) const override {
    v = "x";
    return S_OK;
  }
  HRESULT GetAttributeValues(const std::vector<TavUnicodeString>&, std::vector<TavUnicodeString>& v) const override {
    v = {"x"};
    return S_OK;
  }
  bool IsEqualTo(const Ref<TavBaseUnknown>&) const override { return true; }
  std::vector<TavUnicodeString> GetCompareConditionNames() const override { return {"A", "B"}; }
  void GetAttributeNamesAndValues(std::vector<TavUnicodeString>&, std::vector<TavUnicodeString>&) const override {}
  void GetChangedAttributes(const Ref<TavBaseUnknown>&, std::vector<TavUnicodeString>&, std::vector<TavUnicodeString>&,
                            std::vector<TavUnicodeString>&) const override {}
  void GetAllAttributeValues(const Ref<TavBaseUnknown>&, std::vector<TavUnicodeString>&, std::vector<TavUnicodeString>&,
                             std::vector<TavUnicodeString>&) const override {}
};

TEST_F(CompareTest, ShortValueListAndObjectsWithoutTheInterface) {
  Settings().Write("CheckRoot.1", true);
  auto s1 = std::make_shared<ShortObject>(), s2 = std::make_shared<ShortObject>();
  Engine e;
  e.SetType(E::Products);
  e.Initialize(s1, s2, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(e.CheckComparability(), 7);
  // Roots that are not comparable at all leave nothing to check.
  auto plain1 = std::make_shared<TavBaseUnknown>(), plain2 = std::make_shared<TavBaseUnknown>();
  Engine f;
  f.SetType(E::Products);
  f.Initialize(plain1, plain2, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(f.CheckComparability(), 0);
  f.StartComparison({}, 255);
  EXPECT_TRUE(f.Results(E::Products).matchedOriginal.empty());
}

TEST_F(CompareTest, UnknownKindAndEmptyRootsLeaveNothing) {
  Version a, b;
  Engine e;
  Run(e, a.root, b.root, 7, 255, a, b);
  for (int k = 0; k < 6; ++k) {
    EXPECT_TRUE(e.Results(k).matchedOriginal.empty());
    EXPECT_TRUE(e.Results(k).added.empty());
  }
  Engine empty;  // two bare processes pair their roots and nothing else
  Run(empty, a.root, b.root, E::Activities, 255, a, b);
  EXPECT_EQ(Ids(empty.Results(E::Activities).matchedOriginal), (std::vector<std::string>{"proc"}));
  EXPECT_TRUE(empty.Results(E::Activities).codes.empty());
}

TEST_F(CompareTest, ProductsResourcesAndAssemblies) {
  Version a, b;
  auto body = a.Prod("body", "Body"), bodyB = b.Prod("body", "Body");
  a.Prod("door", "Door", body);
  b.Prod("door", "Door", bodyB)->SetPartNumber("D-2");
  b.Prod("roof", "Roof", bodyB);
  {
    Engine e;
    Run(e, body, bodyB, E::Products, E::AllAttributes | E::Children, a, b);
    const auto& r = e.Results(E::Products);
    EXPECT_EQ(Ids(r.added), (std::vector<std::string>{"roof"}));
    EXPECT_EQ(Ids(r.modifiedOriginal), (std::vector<std::string>{"body", "door"}));
    EXPECT_EQ(r.codes, (std::vector<int>{E::ModChildren, E::ModAttributes}));
  }
  auto outer = a.doc->CreateAssembly("outer", "Outer"), inner = a.doc->CreateAssembly("inner", "Inner");
  auto outerB = b.doc->CreateAssembly("outer", "Outer"), innerB = b.doc->CreateAssembly("inner", "Inner");
  auto otherB = b.doc->CreateAssembly("other", "Other");
  outer->AddPart(inner);
  outerB->AddPart(otherB);
  otherB->AddPart(innerB);  // "inner" moved under a new assembly
  Engine e;
  Run(e, outer, outerB, E::ManufacturedAssemblies, E::Father, a, b);
  const auto& r = e.Results(E::ManufacturedAssemblies);
  EXPECT_EQ(Ids(r.added), (std::vector<std::string>{"other"}));
  EXPECT_EQ(Ids(r.modifiedOriginal), (std::vector<std::string>{"inner"}));
  EXPECT_EQ(r.codes, (std::vector<int>{E::ModFather}));
  ASSERT_EQ(inner->AddPart(outer), E_FAIL);  // no containment cycle: the model refuses one
  {
    Engine c;
    Run(c, outer, outerB, E::ManufacturedAssemblies, 255, a, b);
    EXPECT_EQ(c.Results(E::ManufacturedAssemblies).matchedOriginal.size(), 2u);
  }
  for (auto* m : {&*outer, &*inner, &*outerB, &*otherB}) {  // assemblies hold parts strongly
    auto parts = m->Parts();
    for (auto& p : parts) m->RemovePart(p);
  }
}

TEST_F(CompareTest, HubModeKeysByHubIdentityAndComparesHubAttributes) {
  Settings().Write("IdentityMatching.0", true);
  Settings().Write("OwnMatching.0", false);
  Version a(true), b(true);
  auto hub = [](const Ref<HostActivity>& x, const char* uuid) { x->SetAttribute("hub:oemobjectuuid", TavUnicodeString(uuid)); };
  hub(a.root, "U0");
  hub(b.root, "U0");
  auto x = a.Act("a1", "Weld"), y = b.Act("b7", "Weld again");  // different ids, same hub object
  hub(x, "U1");
  hub(y, "U1");
  x->SetAttribute("hub:Cycle", std::int64_t(30));
  y->SetAttribute("hub:Cycle", 30.0);  // "%d" and "%g" agree on 30
  a.Act("a2", "No hub record");
  Engine probe;
  probe.SetHxMode(true);
  probe.SetType(E::Activities);
  probe.Initialize(a.root, b.root, TavYorAdapterOf(a.doc), TavYorAdapterOf(b.doc), a.doc, b.doc);
  std::vector<TavUnicodeString> own, prompts, hubNames;
  probe.GetAttributeList(own, prompts, hubNames);
  auto cycle = std::find(hubNames.begin(), hubNames.end(), TavUnicodeString("Cycle")) - hubNames.begin();
  ASSERT_LT(static_cast<std::size_t>(cycle), hubNames.size());
  const int index = static_cast<int>(own.size() + static_cast<std::size_t>(cycle));
  {
    Engine e;
    ASSERT_EQ(Run(e, a.root, b.root, E::Activities, E::SelectedAttributes, a, b, {index}, true), 0);
    const auto& r = e.Results(E::Activities);
    EXPECT_EQ(Ids(r.matchedModified), (std::vector<std::string>{"proc", "b7"}));
    EXPECT_TRUE(r.removed.empty());  // without a hub record an object takes no part in matching
    EXPECT_TRUE(r.codes.empty());
  }
  y->SetAttribute("hub:Cycle", 31.5);
  Engine e;
  Run(e, a.root, b.root, E::Activities, E::SelectedAttributes, a, b, {index}, true);
  EXPECT_EQ(e.Results(E::Activities).codes, (std::vector<int>{E::ModAttributes}));
  // The roots must agree on their hub keys.
  b.root->SetAttribute("hub:oemobjectuuid", TavUnicodeString("U9"));
  Engine roots;
  EXPECT_NE(Run(roots, a.root, b.root, E::Activities, 0, a, b, {}, true), 0);
}

// Comparing a plant with itself, or with a saved and reloaded copy, finds no change.
TEST_F(CompareTest, APlantComparedWithItselfHasNoChange) {
  for (std::uint64_t seed : {1u, 2u, 3u}) {
    host::PlantSpec spec;
    spec.activities = 400;
    spec.products = 120;
    spec.resources = 30;
    spec.seed = seed;
    Ref<HostDocument> d = host::GeneratePlant(spec);
    std::string text = host::SerializePlant(*d), error;
    Ref<HostDocument> copy = host::ParsePlant(text, "copy.xml", error);
    ASSERT_TRUE(copy) << error;
    for (auto& other : {d, copy}) {
      Version v1, v2;
      v1.doc = d;
      v2.doc = other;
      struct Root {
        int kind;
        Ref<TavBaseUnknown> r1, r2;
      };
      std::vector<Root> roots{{E::Activities, d->Process().GetRootActivities()[0], other->Process().GetRootActivities()[0]}};
      if (!d->Products().GetRoots().empty())
        roots.push_back({E::Products, d->Products().GetRoots()[0], other->Products().GetRoots()[0]});
      if (!d->Resources().GetRoots().empty())
        roots.push_back({E::Resources, d->Resources().GetRoots()[0], other->Resources().GetRoots()[0]});
      for (auto& [kind, r1, r2] : roots) {
        Engine e;
        ASSERT_EQ(Run(e, r1, r2, kind, 255 & ~E::NoAttributes, v1, v2), 0);
        const auto& r = e.Results(kind);
        EXPECT_FALSE(r.matchedOriginal.empty());
        EXPECT_TRUE(r.added.empty()) << "seed " << seed << " kind " << kind;
        EXPECT_TRUE(r.removed.empty()) << "seed " << seed << " kind " << kind;
        EXPECT_TRUE(r.codes.empty()) << "seed " << seed << " kind " << kind;
      }
    }
  }
}

}  // namespace
