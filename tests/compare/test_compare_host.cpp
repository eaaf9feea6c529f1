// The host's side of comparison: comparable faces of model objects, the hub
// adapter, and fasteners in plant files.
#include <gtest/gtest.h>

#include "ComparePlant.h"
#include "PlantDocument.h"

using namespace cmptest;

namespace {

std::string PlantWith(const std::string& fasteners) {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local" name="f">
  <products>
    <product id="p1" name="Floor.1"/>
  </products>
  <process id="proc" name="Process" type="Activity">
    <activity id="w" name="Weld" type="PhysicalActivity"/>
  </process>
)" + fasteners + "</plant>\n";
}

TEST_F(CompareTest, FastenersRoundTripThroughPlantFiles) {
  const std::string text = PlantWith(R"(  <fasteners>
    <fastener id="sw1" name="SpotWeld.1" dx="1020.5" dy="-410" dz="220" mx="1020.5" my="-410" mz="220.25">
      <attribute name="Material" type="string" value="Steel &amp; zinc"/>
      <related ref="p1"/>
      <related ref="w"/>
    </fastener>
    <fastener id="sw2" dx="0" dy="0" dz="0" mx="0" my="0" mz="0"/>
  </fasteners>
)");
  std::string error;
  Ref<HostDocument> d = host::ParsePlant(text, "f.xml", error);
  ASSERT_TRUE(d) << error;
  EXPECT_EQ(host::SerializePlant(*d), text);
  auto rel = OrvFastenerRelationsOf(d);
  ASSERT_TRUE(rel);
  std::vector<Ref<TavBaseUnknown>> of;
  ASSERT_EQ(rel->GetFastenersOfPart(d->FindById("w"), of), S_OK);
  EXPECT_EQ(Ids(of), (std::vector<std::string>{"sw1"}));
  auto c = query<OrvICompareObjects>(d->FindById("sw1"));
  ASSERT_TRUE(c);
  std::vector<TavUnicodeString> values;
  std::vector<TavUnicodeString> names(OrvIBIWFastener::kCoordinateNames.begin(), OrvIBIWFastener::kCoordinateNames.end());
  ASSERT_EQ(c->GetAttributeValues(names, values), S_OK);
  EXPECT_EQ(values, (std::vector<TavUnicodeString>{"1020.5", "-410", "220", "1020.5", "-410", "220.25"}));
  // A plant without fasteners writes no section.
  Ref<HostDocument> bare = host::ParsePlant(PlantWith(""), "b.xml", error);
  ASSERT_TRUE(bare) << error;
  EXPECT_EQ(host::SerializePlant(*bare).find("fasteners"), std::string::npos);
}

TEST_F(CompareTest, MalformedFastenersAreRefusedWithTheirPosition) {
  struct Case {
    const char* body;
    const char* message;
  };
  const Case cases[] = {
      {R"(<fastener id="f" dx="1e999"/>)", "dx"},
      {R"(<fastener id="f"><related ref="nowhere"/></fastener>)", "nowhere"},
      {R"(<fastener id="f"><related ref="w"/><related ref="w"/></fastener>)", "already related"},
      {R"(<fastener id="p1"/>)", "p1"},
      {R"(<fastener id="f"><part ref="w"/></fastener>)", "part"},
      {R"(<fastener id="f" colour="red"/>)", "colour"},
      {R"(<fastener id="f"><attribute name="A" type="int" value="1"/></fastener>)", "strings"},
  };
  for (auto& c : cases) {
    std::string error;
    Ref<HostDocument> d = host::ParsePlant(PlantWith(std::string("  <fasteners>\n    ") + c.body + "\n  </fasteners>\n"), "bad.xml", error);
    EXPECT_FALSE(d) << c.body;
    EXPECT_NE(error.find("bad.xml:"), std::string::npos) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.body << " -> " << error;
  }
}

TEST_F(CompareTest, CompareObjectsListAndDiffAttributes) {
  Settings().Write("CompareConditions.Activity", TavUnicodeString(" Name, Time ,,"));
  Version a, b;
  auto x = a.Act("x", "Weld"), y = b.Act("x", "Weld");
  x->SetTime(0.1);
  y->SetTime(0.1);
  x->SetAttribute("Cost", 2.5);
  y->SetAttribute("Robot", TavUnicodeString("R1"));
  auto cx = query<OrvICompareObjects>(x);
  ASSERT_TRUE(cx);
  EXPECT_EQ(cx->GetCompareConditionNames(), (std::vector<TavUnicodeString>{"Name", "Time"}));
  TavUnicodeString v;
  ASSERT_EQ(cx->GetAttributeValue("Time", v), S_OK);
  EXPECT_EQ(v, "0.1");
  EXPECT_EQ(cx->GetAttributeValue("Nothing", v), E_FAIL);
  // One value by name is the first of that name in the whole list: a user attribute
  // called "Name" does not hide the label; hub values are no own attributes.
  x->SetAttribute("Name", TavUnicodeString("shadow"));
  x->SetAttribute(std::string(host::kHubAttributePrefix) + "PLMID", TavUnicodeString("P-1"));
  std::vector<TavUnicodeString> all, values, one;
  cx->GetAttributeNamesAndValues(all, values);
  EXPECT_EQ(std::count(all.begin(), all.end(), TavUnicodeString("PLMID")) +
                std::count(all.begin(), all.end(), TavUnicodeString(std::string(host::kHubAttributePrefix) + "PLMID")), 0);
  ASSERT_EQ(cx->GetAttributeValues({"Name", "Type", "Time", "Cost"}, one), S_OK);
  EXPECT_EQ(one, (std::vector<TavUnicodeString>{"Weld", "PhysicalActivity", "0.1", "2.5"}));
  EXPECT_EQ(cx->GetAttributeValues({"Name", std::string(host::kHubAttributePrefix) + "PLMID"}, one), E_FAIL);
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (std::find(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(i), all[i]) != all.begin() + static_cast<std::ptrdiff_t>(i)) continue;
    ASSERT_EQ(cx->GetAttributeValue(all[i], v), S_OK);
    EXPECT_EQ(v, values[i]) << all[i].utf8();
  }
  x->RemoveAttribute("Name");
  x->RemoveAttribute(std::string(host::kHubAttributePrefix) + "PLMID");
  EXPECT_FALSE(cx->IsEqualTo(y));
  EXPECT_TRUE(cx->IsEqualTo(x));
  std::vector<TavUnicodeString> names, mine, theirs;
  cx->GetChangedAttributes(y, names, mine, theirs);
  EXPECT_EQ(names, (std::vector<TavUnicodeString>{"Cost", "Robot"}));
  EXPECT_EQ(mine, (std::vector<TavUnicodeString>{"2.5", ""}));
  EXPECT_EQ(theirs, (std::vector<TavUnicodeString>{"", "R1"}));
  // Hub values are not own attributes, and only hub documents have a hub adapter.
  x->SetAttribute("hub:uuid", TavUnicodeString("U1"));
  auto own = cx->GetAttributeNames();
  EXPECT_EQ(std::find(own.begin(), own.end(), TavUnicodeString("hub:uuid")), own.end());
  EXPECT_FALSE(TavYorAdapterOf(a.doc));
  Version h(true);
  auto adapter = TavYorAdapterOf(h.doc);
  ASSERT_TRUE(adapter);
  TavValue hv;
  EXPECT_EQ(adapter->GetHubValue(x, "uuid", hv), E_FAIL);  // x lives in a local document
  auto z = h.Act("z", "Z");
  z->SetAttribute("hub:uuid", TavUnicodeString("U7"));
  ASSERT_EQ(adapter->GetHubValue(z, "uuid", hv), S_OK);
  EXPECT_EQ(OrvVekCompareDlgBase::VariantText(hv), "U7");
  EXPECT_EQ(OrvVekCompareDlgBase::VariantText(TavValue(true)), "1");
  EXPECT_EQ(OrvVekCompareDlgBase::VariantText(TavValue(2.50)), "2.5");
  EXPECT_EQ(OrvVekCompareDlgBase::VariantText(TavValue()), "");
}

}  // namespace
