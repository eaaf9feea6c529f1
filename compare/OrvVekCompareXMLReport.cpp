// The comparison's XML report: written line by line, the layout and indentation
// fixed, the header with both roots and projects, the total, then the Added,
// Removed and Modified lists with the values of the report attributes.
#include <filesystem>
#include <system_error>

#include "FileWriter.h"
#include "OrvVekCompareDlgBase.h"
#include "OrvVekCompareUtilities.h"
#include "TavDialog.h"
#include "TavServices.h"

namespace {

constexpr const char* kCatalog = "OrvVekCompareDlgBase";

TavUnicodeString Text(const char* key, const char* fallback) { return TavMsgCatalog::BuildMessage(kCatalog, key, {}, fallback); }

// Appends text in the 8-bit encoding: ASCII as it is, the rest through the string's
// own conversion (characters beyond Latin-1 as character references).
void AppendLatin1(std::string& out, const TavUnicodeString& text) {
  const std::string& s = text.utf8();
  for (unsigned char c : s)
    if (c >= 0x80) {
      out += text.ToLatin1WithReferences();
      return;
    }
  out += s;
}

// The three characters that would end an attribute value or start markup.
void AppendEscaped(std::string& out, const TavUnicodeString& text) {
  const std::string& in = text.utf8();
  if (in.find_first_of("<&\"") == std::string::npos) return AppendLatin1(out, text);
  std::string escaped;
  escaped.reserve(in.size() + 16);
  for (char c : in) {
    switch (c) {
      case '<': escaped += "&lt;"; break;
      case '&': escaped += "&amp;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  AppendLatin1(out, escaped);
}

}  // namespace

void OrvVekCompareDlgBase::Write(std::string* file, const TavUnicodeString& text, int& errors) {
  if (!file) {
    errors |= XMLNoFile;
    return;
  }
  AppendLatin1(*file, text);
}

void OrvVekCompareDlgBase::WriteToXML(std::string* file, int& errors) {
  std::vector<TavUnicodeString> own, hub;
  if (!ReportAttributes(own, hub)) return;  // no settings: nothing at all
  const CompareResults& r = results_[static_cast<std::size_t>(type_)];
  // The pieces go straight into the file: a report holds several lines per object.
  auto w = [&](const char* piece) {
    if (file) *file += piece;
    else errors |= XMLNoFile;
  };
  // piece, escaped text, piece
  auto wq = [&](const char* before, const TavUnicodeString& text, const char* after) {
    if (!file) {
      errors |= XMLNoFile;
      return;
    }
    *file += before;
    AppendEscaped(*file, text);
    *file += after;
  };
  auto element = [&](const TavUnicodeString& value, bool closedAlone) {
    wq("      <ObjectElement name=\"", value, closedAlone ? "\"/>\n" : "\"> </ObjectElement>\n");
  };
  auto count = [&](std::size_t n) {
    const std::string text = std::to_string(n);
    w(text.c_str());
  };
  // Empty when unreadable.
  auto label = [](const OrvICompareObjects& co, const Ref<TavBaseUnknown>& o, TavUnicodeString& out) {
    out = LabelOf(o, &co);
    return !out.IsEmpty();
  };
  // The object's own values, then (hub mode) its hub values; unreadable: bit 2, none written.
  auto values = [&](const OrvICompareObjects& co, const Ref<TavBaseUnknown>& o, int side,
                    std::vector<TavUnicodeString>& ownValues, std::vector<TavUnicodeString>& hubValues) {
    ownValues.clear();
    hubValues.clear();
    if (!own.empty() && (co.GetAttributeValues(own, ownValues) != S_OK || ownValues.size() < own.size())) {
      errors |= XMLUnreadable;
      ownValues.clear();
      return false;
    }
    if (!hxMode_ || hub.empty()) return true;
    const auto& adapter = adapters_[static_cast<std::size_t>(side)];
    for (const auto& name : hub) {
      TavValue v;
      if (!adapter || adapter->GetHubValue(o, name, v) != S_OK) {
        errors |= XMLUnreadable;
        hubValues.clear();
        return true;  // the own values stand
      }
      hubValues.push_back(VariantText(v));
    }
    return true;
  };
  auto titles = [&](const TavUnicodeString& list, bool modified) {
    wq("    <ObjectTitleRow name=\"Title ", list, "\">\n");
    std::vector<TavUnicodeString> t{Text("Activities", "Object")};
    if (modified) t.push_back(Text("Change", "Change"));
    t.insert(t.end(), own.begin(), own.end());
    t.insert(t.end(), hub.begin(), hub.end());
    for (const auto& x : t) wq("      <TitleElement name=\"", x, "\"/>\n");
    w("    </ObjectTitleRow>\n");
  };
  auto head = [&](const char* listKey, const char* listFallback, const char* countKey, const char* countFallback,
                  std::size_t n, bool modified) {
    const TavUnicodeString list = Text(listKey, listFallback);
    // The dialog's count label says the same.
    if (auto* shown = dialog_ ? dynamic_cast<TavDlgLabel*>(dialog_->Find(countKey)) : nullptr)
      shown->SetTitle(Text(countKey, countFallback) + std::to_string(n));
    wq("  <ObjectList name=\"", list, "\">\n");
    wq("    <ElementCount name=\"", Text(countKey, countFallback), "\">");
    count(n);
    w("</ElementCount>\n");
    titles(list, modified);
  };

  w("<?xml version='1.0' encoding='ISO-8859-1' ?>\n");
  w("<CompareToolResults>\n");
  w("  <Information>\n");
  wq("  <FirstSelected name=\"", Text("FirstSelectedLabel", "Modified:"), "\">");
  wq("", RootPath(1), "</FirstSelected>\n");
  wq("  <FirstProject name=\"", Text(hxMode_ ? "FirstHxProjectLabel" : "FirstKwProjectLabel", "Project:"), "\">");
  wq("", projectNames_[1], "</FirstProject>\n");
  wq("  <SecondSelected name=\"", Text("SecondSelectedLabel", "Original:"), "\">");
  wq("", RootPath(0), "</SecondSelected>\n");
  wq("  <SecondProject name=\"", Text(hxMode_ ? "SecondHxProjectLabel" : "SecondKwProjectLabel", "Project:"), "\">");
  wq("", projectNames_[0], "</SecondProject>\n");
  w("</Information>\n");
  wq("  <AllElementCount name=\"", Text("AllWireCountLabel", "All: "), "\">");
  count(static_cast<std::size_t>(summaryTotal_));
  w("</AllElementCount>\n");

  std::vector<TavUnicodeString> ownValues, hubValues;
  TavUnicodeString l;
  auto plain = [&](const CompareList& objects, int side) {
    for (const auto& o : objects) {
      auto co = query<OrvICompareObjects>(o);
      if (!co) continue;
      if (!label(*co, o, l)) {
        errors |= XMLUnreadable;
        continue;
      }
      w("    <ObjectRow name=\"ObjectRow\">\n");
      element(l, true);
      values(*co, o, side, ownValues, hubValues);
      for (const auto& v : ownValues) element(v, false);
      for (const auto& v : hubValues) element(v, false);
      w("    </ObjectRow>\n");
    }
    w("  </ObjectList>\n");
  };
  head("AddedObjects", "Added objects", "AddedWireCountLabel", "Added: ", r.added.size(), false);
  plain(r.added, 1);
  head("RemovedObjects", "Removed objects", "RemovedWireCountLabel", "Removed: ", r.removed.size(), false);
  plain(r.removed, 0);

  head("ModifiedObjects", "Modified objects", "ModifiedWireCountLabel", "Modified: ", r.codes.size(), true);
  const TavUnicodeString oldMark = Text("Old", "Old"), newMark = Text("New", "New"), dots = Text("Dots", "...");
  std::vector<TavUnicodeString> aOwn, aHub;
  for (std::size_t i = 0; i < r.codes.size(); ++i) {
    const Ref<TavBaseUnknown>&a = r.modifiedOriginal[i], &b = r.modifiedModified[i];
    auto ca = query<OrvICompareObjects>(a), cb = query<OrvICompareObjects>(b);
    if (!ca || !cb) continue;
    bool aRead = false;
    if (label(*ca, a, l)) {
      w("    <ObjectRow name=\"ObjectRow\">\n");
      element(l, true);
      element(oldMark, true);
      aRead = values(*ca, a, 0, aOwn, aHub) && !aOwn.empty();
      for (const auto& v : aOwn) element(v, true);
      for (const auto& v : aHub) element(v, true);
      w("    </ObjectRow>\n");
    } else {
      aOwn.clear();
      errors |= XMLUnreadable;
    }
    if (label(*cb, b, l)) {
      w("    <ObjectRow name=\"ObjectRow\">\n");
      element(l, true);
      element(newMark, true);
      values(*cb, b, 1, ownValues, hubValues);
      for (std::size_t k = 0; k < ownValues.size(); ++k)
        element(valueToggle_ && aRead && k < aOwn.size() && ownValues[k] == aOwn[k] ? dots : ownValues[k], true);
      for (const auto& v : hubValues) element(v, true);
      w("    </ObjectRow>\n");
    } else {
      errors |= XMLUnreadable;
    }
  }
  w("  </ObjectList>\n");
  w("</CompareToolResults>\n");
}

// ------------------------------------------------------------------ export
TavUnicodeString OrvVekCompareDlgBase::XMLFileName(const TavUnicodeString& selection) {
  const std::string& s = selection.utf8();
  if (s.empty() || s.back() == '\\' || s.back() == '/') return {};
  if (s.size() >= 4 && s.compare(s.size() - 4, 4, ".xml") == 0) return selection;
  return s + ".xml";
}

void OrvVekCompareDlgBase::OnExportToXML() {
  closedBox_.reset();
  if (fileBox_) return;  // already open
  fileBox_ = std::make_unique<TavDlgFile>(nullptr, "OrvVekCompareXMLFileBox", 0x200);  // save mode
  fileBox_->SetFilterStrings({"XML (*.xml)"}, {"*.xml"});
  fileBox_->SetTitle(Text("XMLTitle", "Export the comparison to XML"));
  TavDlgFile* box = fileBox_.get();
  box->AddAnalyseNotificationCB(box, TavDlgNotification::OK, [this] { OnExportToXMLOk(); });
  box->AddAnalyseNotificationCB(box, TavDlgNotification::Cancel, [this] { OnExportToXMLCancel(); });
  box->Show();
  closedBox_.reset();  // an answer given while showing closed the box: its notification is over now
}

void OrvVekCompareDlgBase::OnExportToXMLOk() {
  if (!fileBox_) return;
  const TavUnicodeString path = XMLFileName(fileBox_->GetSelection());
  OnExportToXMLCancel();
  if (!path.IsEmpty()) CreateXMLFile(path);
}

void OrvVekCompareDlgBase::OnExportToXMLCancel() {
  if (!fileBox_) return;
  fileBox_->SetVisibility(false);
  closedBox_ = std::move(fileBox_);
}

bool OrvVekCompareDlgBase::CreateXMLFile(const TavUnicodeString& path) {
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::path(path.utf8()), ec)) {
    TavDlgNotify ask(nullptr, "Warning", TavDlgNotify::Warning);
    ask.DisplayBox(Text("OverwriteWnd.Title", "Warning"),
                   TavMsgCatalog::BuildMessage(kCatalog, "OverwriteWnd.Message", {path}, "/P1 exists. Replace it?"));
    if (TavUnicodeString(ask.DisplayBlocked()).ToUpper() != "YES") return false;
  }
  std::string error;
  if (ExportXML(path.utf8(), &error)) return true;
  Warn(8, TavMsgCatalog::BuildMessage(kCatalog, "XMLNotWritten", {TavUnicodeString(error)}, "The report was not written: /P1"));
  return false;
}

bool OrvVekCompareDlgBase::ExportXML(const std::string& path, std::string* error) {
  std::string bytes;
  int errors = 0;
  WriteToXML(&bytes, errors);
  // A report always has its header: none means the settings could not be read, and
  // an empty file would pass for a report. Any earlier file stays as it was.
  if (bytes.empty()) {
    if (error) *error = "the comparison settings are not available";
    return false;
  }
  return support::WriteFile(path, bytes, error);
}
