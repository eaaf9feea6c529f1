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

// The three characters that would end an attribute value or start markup.
TavUnicodeString Escaped(const TavUnicodeString& text) {
  const std::string& in = text.utf8();
  if (in.find_first_of("<&\"") == std::string::npos) return text;
  std::string out;
  out.reserve(in.size() + 16);
  for (char c : in) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

void OrvVekCompareDlgBase::Write(std::string* file, const TavUnicodeString& text, int& errors) {
  if (!file) {
    errors |= XMLNoFile;
    return;
  }
  *file += text.ToLatin1WithReferences();
}

void OrvVekCompareDlgBase::WriteToXML(std::string* file, int& errors) {
  std::vector<TavUnicodeString> own, hub;
  if (!ReportAttributes(own, hub)) return;  // no settings: nothing at all
  const CompareResults& r = results_[static_cast<std::size_t>(type_)];
  auto w = [&](const TavUnicodeString& t) { Write(file, t, errors); };
  auto element = [&](const TavUnicodeString& value, bool closedAlone) {
    w("      <ObjectElement name=\"" + Escaped(value).utf8() + (closedAlone ? "\"/>\n" : "\"> </ObjectElement>\n"));
  };
  auto label = [](const Ref<TavBaseUnknown>& o, TavUnicodeString& out) {
    out = LabelOf(o);
    return !out.IsEmpty();
  };
  // The object's own values, then (hub mode) its hub values; unreadable: bit 2, none written.
  auto values = [&](const Ref<TavBaseUnknown>& o, int side, std::vector<TavUnicodeString>& ownValues,
                    std::vector<TavUnicodeString>& hubValues) {
    ownValues.clear();
    hubValues.clear();
    auto co = query<OrvICompareObjects>(o);
    if (!own.empty() && (!co || co->GetAttributeValues(own, ownValues) != S_OK || ownValues.size() < own.size())) {
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
    w("    <ObjectTitleRow name=\"Title " + Escaped(list).utf8() + "\">\n");
    std::vector<TavUnicodeString> t{Text("Activities", "Object")};
    if (modified) t.push_back(Text("Change", "Change"));
    t.insert(t.end(), own.begin(), own.end());
    t.insert(t.end(), hub.begin(), hub.end());
    for (const auto& x : t) w("      <TitleElement name=\"" + Escaped(x).utf8() + "\"/>\n");
    w("    </ObjectTitleRow>\n");
  };
  auto head = [&](const char* listKey, const char* listFallback, const char* countKey, const char* countFallback,
                  std::size_t count, bool modified) {
    const TavUnicodeString list = Text(listKey, listFallback);
    // The dialog's count label says the same.
    if (auto* shown = dialog_ ? dynamic_cast<TavDlgLabel*>(dialog_->Find(countKey)) : nullptr)
      shown->SetTitle(Text(countKey, countFallback) + std::to_string(count));
    w("  <ObjectList name=\"" + Escaped(list).utf8() + "\">\n");
    w("    <ElementCount name=\"" + Escaped(Text(countKey, countFallback)).utf8() + "\">" + std::to_string(count) +
      "</ElementCount>\n");
    titles(list, modified);
  };

  w("<?xml version='1.0' encoding='ISO-8859-1' ?>\n");
  w("<CompareToolResults>\n");
  w("  <Information>\n");
  w("  <FirstSelected name=\"" + Escaped(Text("FirstSelectedLabel", "Modified:")).utf8() + "\">" + Escaped(RootPath(1)).utf8() +
    "</FirstSelected>\n");
  w("  <FirstProject name=\"" + Escaped(Text(hxMode_ ? "FirstHxProjectLabel" : "FirstKwProjectLabel", "Project:")).utf8() + "\">" +
    Escaped(projectNames_[1]).utf8() + "</FirstProject>\n");
  w("  <SecondSelected name=\"" + Escaped(Text("SecondSelectedLabel", "Original:")).utf8() + "\">" +
    Escaped(RootPath(0)).utf8() + "</SecondSelected>\n");
  w("  <SecondProject name=\"" + Escaped(Text(hxMode_ ? "SecondHxProjectLabel" : "SecondKwProjectLabel", "Project:")).utf8() +
    "\">" + Escaped(projectNames_[0]).utf8() + "</SecondProject>\n");
  w("</Information>\n");
  w("  <AllElementCount name=\"" + Escaped(Text("AllWireCountLabel", "All: ")).utf8() + "\">" + std::to_string(summaryTotal_) +
    "</AllElementCount>\n");

  std::vector<TavUnicodeString> ownValues, hubValues;
  auto plain = [&](const CompareList& objects, int side) {
    for (const auto& o : objects) {
      if (!query<OrvICompareObjects>(o)) continue;
      TavUnicodeString l;
      if (!label(o, l)) {
        errors |= XMLUnreadable;
        continue;
      }
      w("    <ObjectRow name=\"ObjectRow\">\n");
      element(l, true);
      values(o, side, ownValues, hubValues);
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
  for (std::size_t i = 0; i < r.codes.size(); ++i) {
    const Ref<TavBaseUnknown>&a = r.modifiedOriginal[i], &b = r.modifiedModified[i];
    if (!query<OrvICompareObjects>(a) || !query<OrvICompareObjects>(b)) continue;
    std::vector<TavUnicodeString> aOwn, aHub;
    bool aRead = false;
    TavUnicodeString l;
    if (label(a, l)) {
      w("    <ObjectRow name=\"ObjectRow\">\n");
      element(l, true);
      element(oldMark, true);
      aRead = values(a, 0, aOwn, aHub) && !aOwn.empty();
      for (const auto& v : aOwn) element(v, true);
      for (const auto& v : aHub) element(v, true);
      w("    </ObjectRow>\n");
    } else {
      errors |= XMLUnreadable;
    }
    if (label(b, l)) {
      w("    <ObjectRow name=\"ObjectRow\">\n");
      element(l, true);
      element(newMark, true);
      values(b, 1, ownValues, hubValues);
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
