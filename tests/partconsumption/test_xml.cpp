// The part consumption report: document content, the serializer's exact bytes,
// the one-byte encoding and the file handling.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include <xercesc/dom/DOM.hpp>

#include "OrvVekGenPartConsumptionXML.h"
#include "OrvVekPartConsumptionUtilities.h"
#include "OrvVekPartConsumptionWarning.h"
#include "XercesInit.h"
#include "PcPlant.h"
#include "ReadAll.h"

using namespace pctest;
using Xml = OrvVekGenPartConsumptionXML;
namespace fs = std::filesystem;

namespace {

const std::string kDecl = "<?xml version='1.0' encoding='ISO-8859-1' ?>\n";

struct Report : ::testing::Test {
  Plant p;
  Ref<HostActivity> fit = p.Act("Fit");
  Ref<HostProduct> door = p.Prod("Door.1");
  Ref<HostProduct> hinge = p.Prod("Hinge.1", door);

  Ref<OrvPartConsumptionAnalysisResult> Rec(const Ref<HostProduct>& part, const Ref<HostProduct>& parent = nullptr) {
    auto r = std::make_shared<OrvPartConsumptionAnalysisResult>();
    r->SetDisplayInfo(part, parent, {}, fit, {}, false, false, parent != nullptr, kProcesses, true, {});
    return r;
  }
  Ref<OrvPartConsumptionAnalysisResult> Summary(const Ref<HostProduct>& part, bool all) {
    auto r = std::make_shared<OrvPartConsumptionAnalysisResult>();
    r->SetDisplayInfo(part, nullptr, {}, nullptr, {}, true, all, false, {}, true, "---");
    return r;
  }
  fs::path Dir() {
    fs::path d = fs::temp_directory_path() / ("pc-xml-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(fs::temp_directory_path() / ("pc-xml-" + std::to_string(::getpid())), ec);
  }
};

TEST_F(Report, TwoRecordsGiveExactlyTheseBytes) {
  std::string xml = Xml::BuildReport({Rec(door)}, {hinge}, 0, nullptr, false);
  EXPECT_EQ(xml, kDecl +
                     "\n<PartConsumption>"
                     "\n<Part AssocActivity = \"Process/Fit\" Parent = \"\" PartNo = \"Door.1\" "
                     "Relation = \"Process Processes Product\" Status = \"Assigned\"/>\n"
                     "\n<Part AssocActivity = \"\" Parent = \"\" PartNo = \"Hinge.1\" Relation = \"\" Status = \"Unassigned\"/>\n"
                     "</PartConsumption>\n\n");
  // Nothing to report: the root closes itself.
  EXPECT_EQ(Xml::BuildReport({}, {}, 0, nullptr, false), kDecl + "\n<PartConsumption/>\n\n");
}

TEST_F(Report, EffectivityAttributeFollowsTheMode) {
  const std::pair<int, std::string> modes[] = {{1, "LineEffectivity"}, {2, "DateEffectivity"}, {3, "LabelEffectivity"},
                                               {4, "ExtendedEffectivity"}};
  for (auto& [mode, name] : modes) {
    std::string xml = Xml::BuildReport({}, {hinge}, mode, nullptr, false);
    EXPECT_NE(xml.find(" " + name + " = \"---\""), std::string::npos) << xml;
  }
  for (int mode : {0, 5, -1})
    EXPECT_EQ(Xml::BuildReport({}, {hinge}, mode, nullptr, false).find("Effectivity"), std::string::npos);
}

TEST_F(Report, ChildAssignmentLayout) {
  std::string xml = Xml::BuildReport({Summary(door, false), Rec(hinge, door)}, {}, 0, nullptr, true);
  EXPECT_NE(xml.find("<Part AssocActivity = \"\" Children = \"\" ChildrenAssigned = \"No\" Parent = \"\" PartNo = \"Door.1\" "
                     "Relation = \"\" Status = \"Assigned\"/>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<Part AssocActivity = \"Process/Fit\" Children = \"Hinge.1\" ChildrenAssigned = \"\" Parent = \"Door.1\" "
                     "PartNo = \"\" Relation = \"Process Processes Product\" Status = \"Assigned\"/>"),
            std::string::npos)
      << xml;
  EXPECT_NE(Xml::BuildReport({Summary(door, true)}, {}, 0, nullptr, true).find("ChildrenAssigned = \"Yes\""), std::string::npos);
  // The setting drives the layout when no explicit choice is made.
  OrvVekPartConsumptionUtilities::SetChildAssignCheck(true);
  support::EnsureXerces();
  auto* impl = xercesc::DOMImplementationRegistry::getDOMImplementation(u"Core");
  xercesc::DOMDocument* doc = impl->createDocument();
  Xml::GenerateXMLDocument({Summary(door, true)}, doc, 0, nullptr);
  auto* part = static_cast<xercesc::DOMElement*>(doc->getDocumentElement()->getFirstChild());
  EXPECT_TRUE(part->hasAttribute(u"ChildrenAssigned"));
  doc->release();
  OrvVekPartConsumptionUtilities::ResetSettings();
}

TEST_F(Report, EscapingAndTheOneByteEncoding) {
  door->SetName("A&B <x> \"q\" 'a'");
  hinge->SetName("T\xC3\xBCr \xE2\x82\xAC \xF0\x9D\x84\x9E");  // "Tür € 𝄞"
  std::string xml = Xml::BuildReport({}, {door, hinge}, 0, nullptr, false);
  EXPECT_NE(xml.find("PartNo = \"A&amp;B &lt;x&gt; &quot;q&quot; 'a'\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("PartNo = \"T\xFCr &#8364; &#119070;\""), std::string::npos) << xml;
  for (unsigned char c : xml) EXPECT_TRUE(c < 0x80 || c == 0xFC);
}

TEST_F(Report, EngineeringIntentRowsFollowTheParts) {
  struct Rows : OrvIPartConsumptionEIInfo {
    int GetEIInfoListSize() const override { return 3; }
    HRESULT GetEIInfo(int i, int& n, TavUnicodeString& name, TavUnicodeString& state) const override {
      if (i == 2) return E_FAIL;
      n = i;
      name = i == 1 ? "Door.1" : "";
      state = "All Engineering Requirements fully implemented";
      return S_OK;
    }
  } rows;
  std::string xml = Xml::BuildReport({}, {}, 0, &rows, false);
  EXPECT_EQ(xml, kDecl +
                     "\n<PartConsumption>"
                     "\n<EI ConsumptionState = \"All Engineering Requirements fully implemented\" Number = \"1\" "
                     "ProductName = \"Door.1\"/>\n"
                     "\n<EI ConsumptionState = \"All Engineering Requirements fully implemented\" Number = \"3\" "
                     "ProductName = \"\"/>\n"
                     "</PartConsumption>\n\n");
}

TEST_F(Report, SerializerWritesEveryNodeKind) {
  support::EnsureXerces();
  auto* impl = xercesc::DOMImplementationRegistry::getDOMImplementation(u"Core");
  xercesc::DOMDocumentType* type = impl->createDocumentType(u"R", nullptr, u"r.dtd");
  xercesc::DOMDocument* doc = impl->createDocument(nullptr, u"R", type);
  auto* root = doc->getDocumentElement();
  root->appendChild(doc->createTextNode(u"a<b & 'c'"));
  root->appendChild(doc->createCDATASection(u"x<y"));
  root->appendChild(doc->createComment(u" note "));
  root->appendChild(doc->createProcessingInstruction(u"pi", u"go"));
  OrvVekXMLStringOutput out;
  Xml::WriteToXML(&out, doc);
  EXPECT_EQ(out.Bytes(), kDecl + "<!DOCTYPE R SYSTEM \"r.dtd\">\n\n" +
                             "\n<R>a&lt;b &amp; 'c'<![CDATA[x<y]]>\n<!-- note -->\n<?pi go?></R>\n\n");
  Xml::WriteToXML(nullptr, doc);  // a null handle writes nothing and does not fail
  doc->release();
}

TEST_F(Report, OutputStopsAtTheFirstFailedWrite) {
  struct Failing : OrvVekXMLOutput {
    int calls = 0;
    bool DoWrite(std::string_view) override {
      errno = ENOSPC;
      return ++calls > 2 ? false : true;
    }
  } out;
  for (int i = 0; i < 10; ++i) Xml::Write(&out, "piece");
  EXPECT_EQ(out.calls, 3);
  EXPECT_TRUE(out.Failed());
  EXPECT_EQ(out.ErrorCode(), ENOSPC);
}

TEST_F(Report, FileIsWrittenWholeOrNotAtAll) {
  fs::path dir = Dir();
  fs::path file = dir / "report.xml";
  OrvVekXMLExportStatus st;
  ASSERT_EQ(Xml::CreateXMLFile(file.string(), {Rec(door)}, {hinge}, 1, nullptr, false, &st), S_OK) << st.message;
  EXPECT_TRUE(st.written);
  EXPECT_EQ(ReadAll(file), Xml::BuildReport({Rec(door)}, {hinge}, 1, nullptr, false));

  // A path that cannot be created: one warning, a failure, no file.
  const int before = OrvVekWarningCount();
  EXPECT_EQ(Xml::CreateXMLFile((dir / "missing" / "r.xml").string(), {Rec(door)}, {}, 0, nullptr, false, &st), E_FAIL);
  EXPECT_FALSE(st.opened);
  EXPECT_NE(st.message.find("missing/r.xml"), std::string::npos);
  EXPECT_EQ(OrvVekWarningCount(), before + 1);
  EXPECT_EQ(OrvVekLastWarning().catalog, "OrvVekListActAssOfProdDlg");
  EXPECT_FALSE(fs::exists(dir / "missing"));
  EXPECT_EQ(Xml::CreateXMLFile(dir.string(), {}, {}, 0, nullptr, false, &st), E_FAIL);  // a folder

  // Writing fails half way (the file size limit stands in for a full disk):
  // the previous report survives untouched and no temporary file is left.
  OrvPartConsumptionRecords many;
  for (int i = 0; i < 2000; ++i) many.push_back(Rec(door));
  struct rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int beforeWrite = OrvVekWarningCount();
  HRESULT hr = Xml::CreateXMLFile(file.string(), many, {}, 0, nullptr, false, &st);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(hr, E_FAIL);
  EXPECT_TRUE(st.opened);
  EXPECT_FALSE(st.written);
  EXPECT_EQ(st.errorCode, EFBIG);
  EXPECT_EQ(OrvVekWarningCount(), beforeWrite + 1);
  EXPECT_EQ(OrvVekLastWarning().catalog, "OrvVekListActAssOfProdDlgNew");
  EXPECT_EQ(ReadAll(file), Xml::BuildReport({Rec(door)}, {hinge}, 1, nullptr, false));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  // Without a main window nothing is shown, the failure is still returned.
  p.session->SetHasMainWindow(false);
  const int quiet = OrvVekWarningCount();
  EXPECT_EQ(Xml::CreateXMLFile((dir / "missing" / "r.xml").string(), {}, {}, 0, nullptr, false, &st), E_FAIL);
  EXPECT_EQ(OrvVekWarningCount(), quiet);
}

}  // namespace
