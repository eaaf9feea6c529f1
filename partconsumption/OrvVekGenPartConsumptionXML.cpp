#include "OrvVekGenPartConsumptionXML.h"

#include <cerrno>
#include <cstring>

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>

#include "OrvVekPartConsumptionRecords.h"
#include "OrvVekPartConsumptionUtilities.h"
#include "OrvVekPartConsumptionWarning.h"
#include "XercesInit.h"

using namespace xercesc;

namespace {

const TavTrace& Trace() {
  static const TavTrace t("OrvPartConsumptionXML", "Traces for module OrvVekGenPartConsumptionXML");
  return t;
}
constexpr std::string_view kClass = "OrvVekGenPartConsumptionXML";

// A Xerces string made from ours, released on scope exit.
class X {
public:
  explicit X(const TavUnicodeString& s) : s_(s.ToUtf16()) {}
  explicit X(const char* s) : s_(TavUnicodeString(s).ToUtf16()) {}
  const XMLCh* get() const { return s_.c_str(); }

private:
  std::u16string s_;
};

void SetAttr(DOMElement* e, const char* name, const TavUnicodeString& value) { e->setAttribute(X(name).get(), X(value).get()); }

std::u16string_view View(const XMLCh* s) { return s ? std::u16string_view(s) : std::u16string_view(); }

}  // namespace

// ------------------------------------------------------------------ outputs
void OrvVekXMLOutput::WriteBytes(std::string_view bytes) {
  if (Failed() || bytes.empty()) return;
  errno = 0;
  if (!DoWrite(bytes)) SetError(errno);
}

std::unique_ptr<OrvVekXMLFileOutput> OrvVekXMLFileOutput::Open(const std::filesystem::path& target, int& errorCode,
                                                                std::string* message) {
  std::unique_ptr<OrvVekXMLFileOutput> out(new OrvVekXMLFileOutput());
  errorCode = 0;
  if (out->writer_.Open(target)) return out;
  errorCode = out->writer_.ErrorCode();
  if (message) *message = out->writer_.Error();
  return nullptr;
}

bool OrvVekXMLFileOutput::DoWrite(std::string_view bytes) {
  if (writer_.Write(bytes)) return true;
  errno = writer_.ErrorCode();
  return false;
}

bool OrvVekXMLFileOutput::Commit() {
  if (Failed()) {
    writer_.Abort();
    return false;
  }
  if (writer_.Commit()) return true;
  SetError(writer_.ErrorCode());
  return false;
}

// ------------------------------------------------------------------ document
const char* OrvVekGenPartConsumptionXML::EffectivityAttribute(int mode) {
  switch (mode) {
    case 1: return "LineEffectivity";
    case 2: return "DateEffectivity";
    case 3: return "LabelEffectivity";
    case 4: return "ExtendedEffectivity";
    default: return nullptr;
  }
}

HRESULT OrvVekGenPartConsumptionXML::GenerateXMLDocument(const OrvPartConsumptionRecords& records, DOMDocument* document,
                                                         int effectivityMode, const OrvIPartConsumptionEIInfo* dialog) {
  return GenerateXMLDocument(records, document, effectivityMode, dialog,
                             OrvVekPartConsumptionUtilities::IsChildAssignCheckEnabled());
}

HRESULT OrvVekGenPartConsumptionXML::GenerateXMLDocument(const OrvPartConsumptionRecords& records, DOMDocument* document,
                                                         int effectivityMode, const OrvIPartConsumptionEIInfo* dialog,
                                                         bool childAssignCheck) {
  TavTraceScope trace(Trace(), kClass, "GenerateXMLDocument");
  if (!document) return E_FAIL;
  DOMElement* root = document->createElement(X("PartConsumption").get());
  document->appendChild(root);
  const char* effectivityName = EffectivityAttribute(effectivityMode);
  for (const auto& record : records) {
    if (!record) continue;
    const std::vector<TavUnicodeString> info = record->GetDisplayInfo();
    if (info.size() < 3) continue;
    DOMElement* part = document->createElement(X("Part").get());
    const TavUnicodeString status = info[1].IsEmpty() ? "Unassigned" : "Assigned";
    if (!childAssignCheck) {
      SetAttr(part, "Status", status);
      SetAttr(part, "PartNo", info[0]);
    } else if (record->HasChildren()) {
      SetAttr(part, "ChildrenAssigned", record->AllChildrenAssigned() ? "Yes" : "No");
      SetAttr(part, "Children", "");
      SetAttr(part, "Status", "Assigned");
      SetAttr(part, "PartNo", info[0]);
    } else {
      SetAttr(part, "Status", status);
      SetAttr(part, "PartNo", "");
      SetAttr(part, "Children", info[0]);
      SetAttr(part, "ChildrenAssigned", "");
    }
    SetAttr(part, "AssocActivity", info[1]);
    SetAttr(part, "Relation", info[2]);
    if (info.size() >= 4) SetAttr(part, "Parent", info[3]);
    if (info.size() >= 5 && effectivityName) SetAttr(part, effectivityName, info[4]);
    root->appendChild(part);
  }
  if (dialog) {
    const int rows = dialog->GetEIInfoListSize();
    for (int i = 1; i <= rows; ++i) {
      int number = 0;
      TavUnicodeString productName, state;
      if (FAILED(dialog->GetEIInfo(i, number, productName, state))) continue;
      DOMElement* ei = document->createElement(X("EI").get());
      SetAttr(ei, "Number", std::to_string(i));
      SetAttr(ei, "ProductName", productName);
      SetAttr(ei, "ConsumptionState", state);
      root->appendChild(ei);
    }
  }
  return S_OK;
}

// ------------------------------------------------------------------ serializer
void OrvVekGenPartConsumptionXML::Write(OrvVekXMLOutput* handle, const TavUnicodeString& text) {
  if (!handle || text.IsEmpty()) return;
  // One byte per character; what ISO-8859-1 cannot hold becomes a character
  // reference, so the report stays well-formed and loses nothing.
  handle->WriteBytes(text.ToLatin1WithReferences());
}

void OrvVekGenPartConsumptionXML::WriteToXML(OrvVekXMLOutput* handle, const XMLCh* domString) {
  if (!handle || !domString || !*domString) return;
  Write(handle, TavUnicodeString::FromXMLCh(domString));
}

void OrvVekGenPartConsumptionXML::WriteToXML2(OrvVekXMLOutput* handle, const XMLCh* domString) {
  if (!handle || !domString || !*domString) return;
  std::u16string escaped;
  for (char16_t c : View(domString)) {
    switch (c) {
      case u'&': escaped += u"&amp;"; break;
      case u'<': escaped += u"&lt;"; break;
      case u'>': escaped += u"&gt;"; break;
      case u'"': escaped += u"&quot;"; break;
      default: escaped += c;
    }
  }
  Write(handle, TavUnicodeString::FromUtf16(escaped));
}

void OrvVekGenPartConsumptionXML::WriteToXML(OrvVekXMLOutput* handle, const DOMNode* node) {
  if (!node) return;
  const XMLCh* name = node->getNodeName();
  const XMLCh* value = node->getNodeValue();
  switch (node->getNodeType()) {
    case DOMNode::DOCUMENT_NODE:
      Write(handle, "<?xml version='1.0' encoding='ISO-8859-1' ?>\n");
      for (const DOMNode* c = node->getFirstChild(); c; c = c->getNextSibling()) {
        WriteToXML(handle, c);
        Write(handle, "\n");
      }
      break;
    case DOMNode::ELEMENT_NODE: {
      Write(handle, "\n<");
      WriteToXML(handle, name);
      // Xerces keeps an element's attributes sorted by name.
      if (const DOMNamedNodeMap* attrs = node->getAttributes()) {
        for (XMLSize_t i = 0; i < attrs->getLength(); ++i) {
          const DOMNode* a = attrs->item(i);
          Write(handle, " ");
          WriteToXML(handle, a->getNodeName());
          Write(handle, " = \"");
          WriteToXML2(handle, a->getNodeValue());
          Write(handle, "\"");
        }
      }
      if (node->hasChildNodes()) {
        Write(handle, ">");
        for (const DOMNode* c = node->getFirstChild(); c; c = c->getNextSibling()) WriteToXML(handle, c);
        Write(handle, "</");
        WriteToXML(handle, name);
        Write(handle, ">\n");
      } else {
        Write(handle, "/>\n");
      }
      break;
    }
    case DOMNode::TEXT_NODE:
      WriteToXML2(handle, value);
      break;
    case DOMNode::CDATA_SECTION_NODE:
      Write(handle, "<![CDATA[");
      WriteToXML(handle, value);
      Write(handle, "]]>\n");
      break;
    case DOMNode::ENTITY_REFERENCE_NODE:
      for (const DOMNode* c = node->getFirstChild(); c; c = c->getNextSibling()) WriteToXML(handle, c);
      break;
    case DOMNode::PROCESSING_INSTRUCTION_NODE:
      Write(handle, "<?");
      WriteToXML(handle, name);
      Write(handle, " ");
      WriteToXML(handle, value);
      Write(handle, "?>");
      break;
    case DOMNode::COMMENT_NODE:
      Write(handle, "<!--");
      WriteToXML(handle, value);
      Write(handle, "-->\n");
      break;
    case DOMNode::DOCUMENT_TYPE_NODE: {
      // A document type carries no node value; what it stands for is its system id.
      const auto* type = static_cast<const DOMDocumentType*>(node);
      Write(handle, "<!DOCTYPE ");
      WriteToXML(handle, name);
      Write(handle, " SYSTEM \"");
      WriteToXML(handle, type->getSystemId());
      Write(handle, "\">\n");
      break;
    }
    default:
      break;
  }
}

// ------------------------------------------------------------------ export
std::string OrvVekGenPartConsumptionXML::BuildReport(const OrvPartConsumptionRecords& results,
                                                     const std::vector<Ref<TavBaseUnknown>>& unassigned, int effectivityMode,
                                                     const OrvIPartConsumptionEIInfo* dialog, bool childAssignCheck) {
  support::EnsureXerces();
  const OrvPartConsumptionRecords list = OrvVekPartConsumptionRecords::GatherReportRecords(results, unassigned);
  DOMImplementation* impl = DOMImplementationRegistry::getDOMImplementation(X("Core").get());
  std::unique_ptr<DOMDocument, void (*)(DOMDocument*)> doc(impl->createDocument(), [](DOMDocument* d) { d->release(); });
  GenerateXMLDocument(list, doc.get(), effectivityMode, dialog, childAssignCheck);
  OrvVekXMLStringOutput out;
  WriteToXML(&out, doc.get());
  return out.Bytes();
}

HRESULT OrvVekGenPartConsumptionXML::CreateXMLFile(const TavUnicodeString& path, const OrvPartConsumptionRecords& results,
                                                   const std::vector<Ref<TavBaseUnknown>>& unassigned, int effectivityMode,
                                                   const OrvIPartConsumptionEIInfo* dialog, OrvVekXMLExportStatus* status) {
  return CreateXMLFile(path, results, unassigned, effectivityMode, dialog,
                       OrvVekPartConsumptionUtilities::IsChildAssignCheckEnabled(), status);
}

HRESULT OrvVekGenPartConsumptionXML::CreateXMLFile(const TavUnicodeString& path, const OrvPartConsumptionRecords& results,
                                                   const std::vector<Ref<TavBaseUnknown>>& unassigned, int effectivityMode,
                                                   const OrvIPartConsumptionEIInfo* dialog, bool childAssignCheck,
                                                   OrvVekXMLExportStatus* status) {
  TavTraceScope trace(Trace(), kClass, "CreateXMLFile");
  OrvVekXMLExportStatus local;
  OrvVekXMLExportStatus& st = status ? *status : local;
  st = {};
  auto fail = [&](const char* catalog, int code, const std::string& message) {
    st.errorCode = code;
    st.diskFull = code == ENOSPC || code == EDQUOT;
    st.message = message;
    OrvVekShowWriteWarning(catalog, st.diskFull, path, std::strerror(code));
    return E_FAIL;
  };
  int code = 0;
  std::string message;
  auto file = OrvVekXMLFileOutput::Open(std::filesystem::path(path.utf8()), code, &message);
  if (!file) return fail(kCatalog, code, message);
  st.opened = true;

  support::EnsureXerces();
  const OrvPartConsumptionRecords list = OrvVekPartConsumptionRecords::GatherReportRecords(results, unassigned);
  DOMImplementation* impl = DOMImplementationRegistry::getDOMImplementation(X("Core").get());
  std::unique_ptr<DOMDocument, void (*)(DOMDocument*)> doc(impl->createDocument(), [](DOMDocument* d) { d->release(); });
  GenerateXMLDocument(list, doc.get(), effectivityMode, dialog, childAssignCheck);
  WriteToXML(file.get(), doc.get());
  if (!file->Commit())
    return fail(kWriteCatalog, file->ErrorCode(),
                file->Message().empty() ? "cannot write '" + path.utf8() + "': " + std::strerror(file->ErrorCode())
                                        : file->Message());
  st.written = true;
  return S_OK;
}
