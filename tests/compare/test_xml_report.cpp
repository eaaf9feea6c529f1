// The comparison's XML report read back by an XML parser: reports of generated
// revisions with labels full of markup characters and text beyond Latin-1 are
// well-formed and name every object of every list, as it was named in the plant.
#include <gtest/gtest.h>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/TransService.hpp>

#include "ComparePlant.h"
#include "PlantDocument.h"
#include "PlantGenerator.h"
#include "XercesInit.h"

using namespace cmptest;
using namespace xercesc;

namespace {

std::string Utf8(const XMLCh* s) {
  TranscodeToStr t(s, "UTF-8");
  return std::string(reinterpret_cast<const char*>(t.str()), t.length());
}

std::string Attr(const DOMElement* e, const char* name) {
  XMLCh* n = XMLString::transcode(name);
  std::string v = Utf8(e->getAttribute(n));
  XMLString::release(&n);
  return v;
}

std::vector<const DOMElement*> Children(const DOMElement* e, const std::string& tag) {
  std::vector<const DOMElement*> out;
  for (const DOMElement* c = e->getFirstElementChild(); c; c = c->getNextElementSibling())
    if (Utf8(c->getTagName()) == tag) out.push_back(c);
  return out;
}

std::vector<Ref<HostActivity>> Leaves(const HostDocument& d) {
  std::vector<Ref<HostActivity>> leaves;
  for (auto& a : query<TavISPPChildManagement>(d.Process().GetRootActivities()[0])->GetAllChildren())
    if (auto h = std::dynamic_pointer_cast<HostActivity>(a); h && h->GetChildren().empty()) leaves.push_back(h);
  return leaves;
}

class GeneratedReport : public CompareTest {
protected:
  Engine e;
};

TEST_F(GeneratedReport, ParsesAndNamesEveryObjectAsThePlantDoes) {
  support::EnsureXerces();
  for (std::uint64_t seed : {3u, 8u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    host::PlantSpec spec;
    spec.activities = 400;
    spec.products = 20;
    spec.resources = 5;
    spec.seed = seed;
    Version a, b;
    a.doc = host::GeneratePlant(spec);
    std::string error;
    b.doc = host::ParsePlant(host::SerializePlant(*a.doc), "revision.xml", error);
    ASSERT_TRUE(b.doc) << error;
    auto leaves = Leaves(*b.doc);
    for (std::size_t i = 0; i < leaves.size(); ++i) {
      if (i % 7 == 0) leaves[i]->SetLabel("Weld <\"" + std::to_string(i) + "\"> & seal");
      else if (i % 11 == 0) leaves[i]->SetTime(leaves[i]->GetTime() + 2);
      else if (i % 13 == 0) b.doc->RemoveActivity(leaves[i]);
    }
    auto root = std::dynamic_pointer_cast<HostActivity>(b.doc->Process().GetRootActivities()[0]);
    // Ids of their own: a fresh id may be one a removed activity had.
    for (int i = 0; i < 5; ++i) b.doc->CreateActivity(root, "PhysicalActivity", "new" + std::to_string(i), "Kleben \xc3\x9f \xe2\x82\xac \xe2\x9c\x93 <" + std::to_string(i));
    e.SetType(E::Activities);
    e.Initialize(a.doc->Process().GetRootActivities()[0], root, nullptr, nullptr, a.doc, b.doc);
    e.CheckComparability();
    e.StartComparison({}, E::AllAttributes);
    e.SetReportAttributes({"Name", "Time"}, {});
    if (!e.IsValueToggleOn()) e.OnToggleValue();
    std::string bytes;
    int errors = 0;
    e.WriteToXML(&bytes, errors);
    EXPECT_EQ(errors, 0);

    XercesDOMParser parser;
    parser.setValidationScheme(XercesDOMParser::Val_Never);
    MemBufInputSource in(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(), "report");
    parser.parse(in);
    ASSERT_EQ(parser.getErrorCount(), 0u);
    const DOMElement* top = parser.getDocument()->getDocumentElement();
    auto lists = Children(top, "ObjectList");
    ASSERT_EQ(lists.size(), 3u);

    const CompareResults& r = e.Results(E::Activities);
    EXPECT_FALSE(r.added.empty());
    EXPECT_FALSE(r.removed.empty());
    EXPECT_FALSE(r.codes.empty());
    std::vector<std::vector<std::string>> expected(3);
    for (auto& o : r.added) expected[0].push_back(E::LabelOf(o).utf8());
    for (auto& o : r.removed) expected[1].push_back(E::LabelOf(o).utf8());
    for (std::size_t i = 0; i < r.codes.size(); ++i) {
      expected[2].push_back(E::LabelOf(r.modifiedOriginal[i]).utf8());
      expected[2].push_back(E::LabelOf(r.modifiedModified[i]).utf8());
    }
    for (std::size_t l = 0; l < 3; ++l) {
      std::vector<std::string> named;
      for (const DOMElement* row : Children(lists[l], "ObjectRow")) {
        auto cells = Children(row, "ObjectElement");
        ASSERT_EQ(cells.size(), l == 2 ? 4u : 3u);
        named.push_back(Attr(cells[0], "name"));
        // Name: the label again, or dots in a New row whose name did not change.
        const std::string name = Attr(cells[l == 2 ? 2 : 1], "name");
        if (name != "...") {
          EXPECT_EQ(name, named.back());
        }
      }
      EXPECT_EQ(named, expected[l]);
    }
  }
}

}  // namespace
