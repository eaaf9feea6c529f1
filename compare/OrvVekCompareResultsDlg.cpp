// The dialog half of OrvVekCompareDlgBase: the header with the two roots, the
// Added/Removed/Modified tabs with the attributes of the selected line, the summary
// page, the two change trees, double-click to find an object, the report attribute
// selection and, in hub mode, the change-order notes taken on OK.
#include <algorithm>

#include "OrvVekCenterActInPPR.h"
#include "OrvVekCommandServices.h"
#include "OrvVekCompareChangeOrderDlg.h"
#include "OrvVekCompareDlgBase.h"
#include "OrvVekCompareFilterAttsDlg.h"
#include "OrvVekCompareUtilities.h"
#include "TavDialog.h"
#include "TavDocWindows.h"
#include "TavNavigBox.h"
#include "TavServices.h"

namespace {

constexpr const char* kCatalog = "OrvVekCompareDlgBase";

TavUnicodeString Text(const std::string& key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(kCatalog, key, {}, fallback);
}

template <class W>
W* Named(TavDlgDialog* d, const char* name) {
  return d ? dynamic_cast<W*>(d->Find(name)) : nullptr;
}

// The chain from the top of the object's tree down to it.
std::vector<Ref<TavBaseUnknown>> Chain(const Ref<TavBaseUnknown>& o) {
  std::vector<Ref<TavBaseUnknown>> chain;
  for (Ref<TavBaseUnknown> x = o; x; x = OrvVekCenterActInPPR::FatherOf(x)) chain.push_back(x);
  std::reverse(chain.begin(), chain.end());
  return chain;
}

}  // namespace

TavUnicodeString OrvVekCompareDlgBase::LabelOf(const Ref<TavBaseUnknown>& o, const OrvICompareObjects* co) {
  Ref<OrvICompareObjects> held;
  if (!co && (held = query<OrvICompareObjects>(o))) co = held.get();
  TavUnicodeString label;
  if (co && co->GetAttributeValue("Label", label) == S_OK) return label;
  return OrvVekCommandServices::GetDisplayName(o);
}

TavUnicodeString OrvVekCompareDlgBase::RootPath(int side) const {
  const Ref<TavBaseUnknown>& root = roots_[static_cast<std::size_t>(side)];
  if (!root) return {};
  const char* top = type_ == Activities ? "ProcessList" : type_ == Resources ? "ResourcesList" : "ProductList";
  const TavUnicodeString separator = Text("Separator", "/");
  std::string path = Text(top, top).utf8();
  for (const auto& o : Chain(root)) path += separator.utf8() + OrvVekCommandServices::GetDisplayName(o).utf8();
  return path;
}

TavUnicodeString OrvVekCompareDlgBase::FeatureName() const {
  const std::string late = roots_[0] ? roots_[0]->LateType() : std::string();
  return late.empty() ? TavUnicodeString(OrvVekCompareUtilities::kNoFeature) : TavUnicodeString(late);
}

bool OrvVekCompareDlgBase::ReportAttributes(std::vector<TavUnicodeString>& own, std::vector<TavUnicodeString>& hub) const {
  if (reportOverride_) {
    own = reportOwn_;
    hub = reportHub_;
    return true;
  }
  own.clear();
  hub.clear();
  std::vector<TavUnicodeString> names, kinds;
  if (!OrvVekCompareUtilities::ReadCheckList(FeatureName(), names, kinds)) return false;
  for (std::size_t i = 0; i < names.size() && i < kinds.size(); ++i) (kinds[i] == "V" ? own : hub).push_back(names[i]);
  return true;
}

// ------------------------------------------------------------------ building
void OrvVekCompareDlgBase::BuildDialog() {
  dialog_ = std::make_unique<TavDlgDialog>(nullptr, "OrvVekCompareDlgBase", 0, kCatalog);
  TavDlgDialog* d = dialog_.get();
  d->SetTitle(Text("MainTitle", "Process Comparison"));
  d->SetVisibility(false);
  d->SetMinimumSize(600, 600);
  auto* info = d->Add<TavDlgFrame>("FrameResource")->Add<TavDlgFrame>("InfoFrame");
  for (const char* n : {"FirstSelectedLabel", "FirstSelectedValue", "FirstProjectLabel", "FirstProjectValue",
                        "SecondSelectedLabel", "SecondSelectedValue", "SecondProjectLabel", "SecondProjectValue"})
    info->Add<TavDlgLabel>(n);
  auto* tabs = d->Add<TavDlgTabContainer>("TabContainer");
  auto list = [](TavDlgWidget* page, const char* name, std::vector<TavUnicodeString> columns) {
    auto* l = page->Add<TavDlgMultiList>(name);
    l->SetColumnTitles(std::move(columns));
    return l;
  };
  if (summaryPage_) {
    auto* page = tabs->Add<TavDlgTabPage>("TabPageSummary");
    for (const char* n : {"AllWireCountLabel", "AddedWireCountLabel", "RemovedWireCountLabel", "ModifiedWireCountLabel"})
      page->Add<TavDlgLabel>(n);
    for (const char* n : {"SelectListSummaryAdded", "SelectListSummaryRemoved", "SelectListSummaryModified"})
      page->Add<TavDlgMultiList>(n);
  }
  const TavUnicodeString attribute = Text("Attribute", "Attribute"), value = Text("Value", "Value");
  struct Tab {
    const char *page, *objects, *attributes;
  };
  const Tab pages[] = {{"TabPageAdded", "SelectListAdded", "SelectListAddedAttribute"},
                       {"TabPageRemoved", "SelectListRemoved", "SelectListRemovedAttribute"},
                       {"TabPageModified", "SelectListModified", "SelectListModifiedAttribute"}};
  for (int n = 0; n < 3; ++n) {
    auto* page = tabs->Add<TavDlgTabPage>(pages[n].page);
    auto* objects = list(page, pages[n].objects, {});
    if (n == 2) list(page, pages[n].attributes, {Text("ModifiedActivitiesAttribute", "Attribute"), Text("OldValue", "Old value"), Text("NewValue", "New value")});
    else list(page, pages[n].attributes, {attribute, value});
    d->AddAnalyseNotificationCB(objects, TavDlgNotification::Select, [this, n] { OnSelect(n); });
    d->AddAnalyseNotificationCB(objects, TavDlgNotification::Activate, [this, n] { OnDoubleClick(n); });
  }
  auto* trees = tabs->Add<TavDlgTabPage>("TabPageGraphicalTree")->Add<TavDlgFrame>("GraphicalTreeFrameMain");
  trees->Add<TavDlgNavigBox>("GraphicalTreeFirst");
  trees->Add<TavDlgNavigBox>("GraphicalTreeSecond");
  tabs->SetSelectedPage(summaryPage_ ? "TabPageSummary" : "TabPageAdded");
  auto* buttons = d->Add<TavDlgFrame>("ButtonFrame");
  d->AddAnalyseNotificationCB(buttons->Add<TavDlgPushButton>("SelectAttsPB"), TavDlgNotification::Activate, [this] { OnSelectAtts(); });
  d->AddAnalyseNotificationCB(buttons->Add<TavDlgPushButton>("ToggleValuePB"), TavDlgNotification::Activate, [this] { OnToggleValue(); });
  d->AddAnalyseNotificationCB(buttons->Add<TavDlgPushButton>("ExportToXMLPB"), TavDlgNotification::Activate, [this] { OnExportToXML(); });
  d->AddNotifyingButton("OK", TavDlgNotification::OK, "OK")->SetTitle(Text("OKTitle", "OK"));
  d->AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel")->SetTitle(Text("CancelTitle", "Cancel"));
  d->AddAnalyseNotificationCB(d, TavDlgNotification::OK, [this] { OnOK(); });
  d->AddAnalyseNotificationCB(d, TavDlgNotification::Cancel, [this] { OnCancel(); });
  d->AddAnalyseNotificationCB(d, TavDlgNotification::Close, [this] { OnCancel(); });
}

void OrvVekCompareDlgBase::ShowResults() {
  UpdateDialog();
  dialog_->SetSize(600, 600);
  dialog_->SetVisibility(true);
}

// ------------------------------------------------------------------ filling
void OrvVekCompareDlgBase::FillHeader() {
  TavDlgDialog* d = dialog_.get();
  const TavUnicodeString separator = Text("Separator", "/");
  auto set = [d](const char* name, const TavUnicodeString& text) { Named<TavDlgLabel>(d, name)->SetTitle(text); };
  // "First" is the modified root, "Second" the original one.
  for (int side : {1, 0}) {
    const std::string which = side == 1 ? "First" : "Second";
    const TavUnicodeString path = RootPath(side);
    set((which + "SelectedLabel").c_str(), Text(which + "SelectedLabel", which == "First" ? "Modified:" : "Original:"));
    set((which + "SelectedValue").c_str(), path);
    Named<TavDlgLabel>(d, (which + "SelectedValue").c_str())->SetToolTip(OrvVekCompareUtilities::CreateTooltipString(path, separator));
    set((which + "ProjectLabel").c_str(), Text(which + (hxMode_ ? "HxProjectLabel" : "KwProjectLabel"), "Project:"));
    set((which + "ProjectValue").c_str(), projectNames_[static_cast<std::size_t>(side)]);
  }
}

void OrvVekCompareDlgBase::FillList(TavDlgMultiList* list, const CompareList& objects) {
  list->ClearLine();
  for (const auto& o : objects) list->SetColumnItem(0, LabelOf(o));
}

void OrvVekCompareDlgBase::FillModifiedList() {
  auto* list = Named<TavDlgMultiList>(dialog_.get(), "SelectListModified");
  std::vector<TavUnicodeString> titles;
  for (const ModifiedColumn& c : ModifiedColumns(type_)) titles.push_back(Text(c.key, c.key));
  list->SetColumnTitles(std::move(titles));
  list->ClearLine();
  const CompareResults& r = results_[static_cast<std::size_t>(type_)];
  const TavUnicodeString mark = Text("XXX", "X");
  for (std::size_t i = 0; i < r.codes.size(); ++i) {
    const auto row = ModifiedRow(type_, LabelOf(r.modifiedModified[i]), r.codes[i], mark);
    const int at = list->GetLineCount();
    for (std::size_t c = 0; c < row.size(); ++c) list->SetColumnItem(static_cast<int>(c), row[c], c == 0 ? -1 : at);
  }
}

void OrvVekCompareDlgBase::FillTrees() {
  buildGraphTree();
  for (int side : {1, 0}) {
    auto* box = Named<TavDlgNavigBox>(dialog_.get(), side == 1 ? "GraphicalTreeFirst" : "GraphicalTreeSecond");
    box->RemoveAllRoots();
    if (graphTrees_[static_cast<std::size_t>(side)]) box->AddRoot(graphTrees_[static_cast<std::size_t>(side)]);
  }
}

void OrvVekCompareDlgBase::UpdateDialog() {
  if (!dialog_) BuildDialog();
  TavDlgDialog* d = dialog_.get();
  FillHeader();
  const CompareResults& r = results_[static_cast<std::size_t>(type_)];
  auto* added = Named<TavDlgMultiList>(d, "SelectListAdded");
  added->SetColumnTitles({Text("AddedActivities", "Added object")});
  FillList(added, r.added);
  auto* removed = Named<TavDlgMultiList>(d, "SelectListRemoved");
  removed->SetColumnTitles({Text("RemovedActivities", "Removed object")});
  FillList(removed, r.removed);
  FillModifiedList();
  for (const char* n : {"SelectListAddedAttribute", "SelectListRemovedAttribute", "SelectListModifiedAttribute"})
    Named<TavDlgMultiList>(d, n)->ClearLine();
  if (summaryPage_) UpdateSummaryPage();
  FillTrees();
}

// One line per object with its label, then the values of the report attributes;
// side 1 (the modified object of a pair) shows values equal to the original's
// as the "Dots" text while the toggle is on.
void OrvVekCompareDlgBase::SummaryRows(TavDlgMultiList* list, const CompareList& objects, const std::vector<TavUnicodeString>& own,
                                       const std::vector<TavUnicodeString>& hub, int side) {
  for (const auto& o : objects) {
    auto co = query<OrvICompareObjects>(o);
    if (!co) continue;
    const int row = list->GetLineCount();
    list->SetColumnItem(0, LabelOf(o));
    std::vector<TavUnicodeString> values;
    if (!own.empty() && co->GetAttributeValues(own, values) != S_OK) values.clear();
    for (std::size_t i = 0; i < values.size(); ++i) list->SetColumnItem(static_cast<int>(1 + i), values[i], row);
    const auto& adapter = adapters_[static_cast<std::size_t>(side)];
    for (std::size_t i = 0; hxMode_ && adapter && i < hub.size(); ++i) {
      TavValue v;
      if (adapter->GetHubValue(o, hub[i], v) == S_OK)
        list->SetColumnItem(static_cast<int>(1 + own.size() + i), VariantText(v), row);
    }
  }
}

void OrvVekCompareDlgBase::UpdateSummaryPage() {
  if (!dialog_) BuildDialog();
  TavDlgDialog* d = dialog_.get();
  auto* added = Named<TavDlgMultiList>(d, "SelectListSummaryAdded");
  if (!added) return;  // no summary page asked for
  auto* removed = Named<TavDlgMultiList>(d, "SelectListSummaryRemoved");
  auto* modified = Named<TavDlgMultiList>(d, "SelectListSummaryModified");
  std::vector<TavUnicodeString> own, hub;
  ReportAttributes(own, hub);
  std::vector<TavUnicodeString> titles{Text("Activities", "Object")};
  titles.insert(titles.end(), own.begin(), own.end());
  titles.insert(titles.end(), hub.begin(), hub.end());
  const CompareResults& r = results_[static_cast<std::size_t>(type_)];
  for (auto* l : {added, removed, modified}) {
    l->SetColumnTitles(titles);
    l->ClearLine();
  }
  SummaryRows(added, r.added, own, hub, 1);
  SummaryRows(removed, r.removed, own, hub, 0);
  const TavUnicodeString dots = Text("Dots", "...");
  for (std::size_t i = 0; i < r.codes.size(); ++i) {
    const int first = modified->GetLineCount();
    SummaryRows(modified, {r.modifiedOriginal[i]}, own, hub, 0);
    const int second = modified->GetLineCount();
    SummaryRows(modified, {r.modifiedModified[i]}, own, hub, 1);
    if (!valueToggle_ || second == first || modified->GetLineCount() == second) continue;
    for (std::size_t c = 0; c < own.size(); ++c) {
      const int col = static_cast<int>(1 + c);
      if (modified->GetColumnItem(col, second) == modified->GetColumnItem(col, first)) modified->SetColumnItem(col, dots, second);
    }
  }
  const int counts[3] = {static_cast<int>(r.added.size()), static_cast<int>(r.removed.size()), static_cast<int>(r.codes.size())};
  summaryTotal_ = counts[0] + counts[1] + counts[2];
  auto count = [d](const char* key, const char* fallback, int n) {
    Named<TavDlgLabel>(d, key)->SetTitle(Text(key, fallback) + std::to_string(n));
  };
  count("AllWireCountLabel", "All: ", summaryTotal_);
  count("AddedWireCountLabel", "Added: ", counts[0]);
  count("RemovedWireCountLabel", "Removed: ", counts[1]);
  count("ModifiedWireCountLabel", "Modified: ", counts[2]);
}

// ------------------------------------------------------------------ attribute panels
void OrvVekCompareDlgBase::UpdateAttributeDialog(TavDlgMultiList* list, const Ref<TavBaseUnknown>& object,
                                                 const Ref<TavBaseUnknown>& partner) {
  if (!list) return;
  list->ClearLine();
  if (!(filter_ & (AllAttributes | SelectedAttributes))) return;
  auto co = query<OrvICompareObjects>(object);
  if (!co) return;
  auto row = [list](const std::vector<TavUnicodeString>& cells) {
    const int at = list->GetLineCount();
    for (std::size_t c = 0; c < cells.size(); ++c) list->SetColumnItem(static_cast<int>(c), cells[c], c == 0 ? -1 : at);
  };
  if (!partner) {
    std::vector<TavUnicodeString> names, values;
    co->GetAttributeNamesAndValues(names, values);
    for (std::size_t i = 0; i < names.size(); ++i) row({names[i], i < values.size() ? values[i] : TavUnicodeString()});
    return;
  }
  const bool coordinates = type_ == Fasteners && settings_.coordinateCheck;
  std::vector<TavUnicodeString> names, mine, theirs;
  if (coordinates) {
    // UpdateAttributeDialogFastenerCoordCheck: the six positions, old and new.
    auto other = query<OrvICompareObjects>(partner);
    names.assign(OrvIBIWFastener::kCoordinateNames.begin(), OrvIBIWFastener::kCoordinateNames.end());
    if (!other || co->GetAttributeValues(names, mine) != S_OK || other->GetAttributeValues(names, theirs) != S_OK) return;
  } else if (displayAllAtts_) {
    co->GetAllAttributeValues(partner, names, mine, theirs);
  } else {
    co->GetChangedAttributes(partner, names, mine, theirs);
    if (!(filter_ & AllAttributes)) {
      // Only the selected attributes, in the order they were selected.
      std::vector<TavUnicodeString> n2, m2, t2;
      for (const auto& s : selectedOwn_) {
        auto it = std::find(names.begin(), names.end(), s);
        if (it == names.end()) continue;
        const auto i = static_cast<std::size_t>(it - names.begin());
        n2.push_back(names[i]);
        m2.push_back(i < mine.size() ? mine[i] : TavUnicodeString());
        t2.push_back(i < theirs.size() ? theirs[i] : TavUnicodeString());
      }
      names = std::move(n2);
      mine = std::move(m2);
      theirs = std::move(t2);
    }
  }
  for (std::size_t i = 0; i < names.size(); ++i)
    row({names[i], i < mine.size() ? mine[i] : TavUnicodeString(), i < theirs.size() ? theirs[i] : TavUnicodeString()});
  if (hxMode_) UpdateHxAttributeDialog(list, object, partner);
}

// The hub attributes of a modified pair after its own ones: all of them (or the
// selected ones with filter bit 1), those that differ unless all are displayed.
void OrvVekCompareDlgBase::UpdateHxAttributeDialog(TavDlgMultiList* list, const Ref<TavBaseUnknown>& object,
                                                   const Ref<TavBaseUnknown>& partner) {
  if (!adapters_[0] || !adapters_[1]) return;
  std::vector<TavUnicodeString> names = selectedHub_;
  if (filter_ & AllAttributes) {
    std::vector<TavUnicodeString> prompts;
    names.clear();
    if (adapters_[0]->GetHubAttributes(object, names, prompts) != S_OK) return;
  }
  for (const auto& n : names) {
    TavValue a, b;
    const bool readA = adapters_[0]->GetHubValue(object, n, a) == S_OK, readB = adapters_[1]->GetHubValue(partner, n, b) == S_OK;
    if (!readA && !readB) continue;
    const TavUnicodeString ta = readA ? VariantText(a) : TavUnicodeString(), tb = readB ? VariantText(b) : TavUnicodeString();
    if (!displayAllAtts_ && ta == tb) continue;
    const int at = list->GetLineCount();
    list->SetColumnItem(0, n);
    list->SetColumnItem(1, ta, at);
    list->SetColumnItem(2, tb, at);
  }
}

// The attribute panel of the list's selected line (0 Added, 1 Removed, 2 Modified).
void OrvVekCompareDlgBase::OnSelect(int which) {
  static const char* kLists[][2] = {{"SelectListAdded", "SelectListAddedAttribute"},
                                    {"SelectListRemoved", "SelectListRemovedAttribute"},
                                    {"SelectListModified", "SelectListModifiedAttribute"}};
  auto* l = Named<TavDlgMultiList>(dialog_.get(), kLists[which][0]);
  auto* panel = Named<TavDlgMultiList>(dialog_.get(), kLists[which][1]);
  if (!l || !panel) return;
  const CompareResults& r = results_[static_cast<std::size_t>(type_)];
  const CompareList& objects = which == 0 ? r.added : which == 1 ? r.removed : r.modifiedOriginal;
  const auto sel = l->GetSelect();
  if (sel.empty() || static_cast<std::size_t>(sel[0]) >= objects.size()) return panel->ClearLine();
  const auto i = static_cast<std::size_t>(sel[0]);
  UpdateAttributeDialog(panel, objects[i], which == 2 ? r.modifiedModified[i] : nullptr);
}

// ------------------------------------------------------------------ finding objects
void OrvVekCompareDlgBase::OnDoubleClick(int which) {
  static const char* kLists[] = {"SelectListAdded", "SelectListRemoved", "SelectListModified"};
  if (which < 0 || which > 2) return;
  auto* l = Named<TavDlgMultiList>(dialog_.get(), kLists[which]);
  const auto sel = l ? l->GetSelect() : std::vector<int>();
  if (sel.empty()) return;
  const CompareResults& r = results_[static_cast<std::size_t>(type_)];
  const CompareList& objects = which == 0 ? r.added : which == 1 ? r.removed : r.modifiedModified;
  const auto i = static_cast<std::size_t>(sel[0]);
  if (i >= objects.size()) return;
  const Ref<TavBaseUnknown>& o = objects[i];
  const TavPathElement path(Chain(o));
  auto current = TavFrmEditor::GetCurrentEditor();
  const Ref<TavDocument> doc = TavDocumentOf(o);
  if (current && doc && current->GetDocument() == doc) {
    // OnDoubleClickForActiveDoc: the current editor highlights it, its viewers centre on it.
    TavDocumentWindows::HighlightAndCenter(current, path);
    return;
  }
  // OnDoubleClickForInactiveDoc / InactiveDocCenterObj: the other document's window.
  TavDocumentWindows::HighlightAndCenter(TavDocumentWindows::EditorOf(doc), path);
}

// ------------------------------------------------------------------ buttons
void OrvVekCompareDlgBase::OnToggleValue() {
  valueToggle_ = !valueToggle_;
  if (summaryPage_) UpdateSummaryPage();
}

void OrvVekCompareDlgBase::OnSelectAtts() {
  std::vector<TavUnicodeString> own, prompts, hub;
  GetAttributeList(own, prompts, hub);
  std::vector<OrvVekCompareFilterAttsDlg::Attribute> offered;
  for (auto& n : own) offered.push_back({n, n, false});
  for (std::size_t i = 0; i < hub.size(); ++i) offered.push_back({hub[i], i < prompts.size() ? prompts[i] : hub[i], true});
  attsDialog_ = std::make_unique<OrvVekCompareFilterAttsDlg>(nullptr, FeatureName(), std::move(offered),
                                                             [this] { OnCompareFilterAttsDlgOK(); });
  attsDialog_->Build();
  attsDialog_->AddAnalyseNotificationCB(attsDialog_.get(), TavDlgNotification::Cancel, [this] { attsDialog_->SetVisibility(false); });
  attsDialog_->SetVisibility(true);
}

void OrvVekCompareDlgBase::OnCompareFilterAttsDlgOK() {
  if (attsDialog_) attsDialog_->SetVisibility(false);
  if (summaryPage_) UpdateSummaryPage();
}

void OrvVekCompareDlgBase::Close() {
  if (dialog_) dialog_->SetVisibility(false);
  if (attsDialog_) attsDialog_->SetVisibility(false);
  closed_ = true;
}

void OrvVekCompareDlgBase::OnCancel() { Close(); }

void OrvVekCompareDlgBase::OnOK() {
  if (!hxMode_) return Close();
  // The change orders of the modified root's hub record: a note for the begin or the
  // end one (a choice when it has both), none: a warning.
  const Ref<TavBaseUnknown>& root = roots_[1];
  auto mgt = TavYorAttributeMgtOf(docs_[1]);
  std::vector<OrvVekCompareChangeOrder> orders;
  for (const char* slot : {TavIYorAttributeMgt::kChangeOrderBegin, TavIYorAttributeMgt::kChangeOrderEnd}) {
    TavUnicodeString name, note;
    if (mgt && root && mgt->GetRecordObjectField(root, slot, "name", name) == S_OK) {
      mgt->GetRecordObjectField(root, slot, "note", note);
      orders.push_back({slot, name, note});
    }
  }
  if (orders.empty()) {
    Warn(1, Text("OrvVekCompareDlgBase.TextNoChangeOrderObjectAvailable", "There is no object to record the change-order notes on."));
    return Close();
  }
  // Its OK (note written) closes the comparison; its Cancel goes back to the results.
  auto done = [this](bool written) {
    if (written) Close();
  };
  if (orders.size() == 2)
    changeOrderDialog_ = std::make_unique<OrvVekCompareChangeOrderComboDlg>(nullptr, mgt, root, std::move(orders), done);
  else
    changeOrderDialog_ = std::make_unique<OrvVekCompareChangeOrderDlg>(nullptr, mgt, root, orders.front(), done);
  if (onDialog_) onDialog_(changeOrderDialog_.get());
  changeOrderDialog_->SetVisibility(true);
}
