#include "OrvGanttAddAttributeDlg.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

#include "OrvGanttIconButton.h"
#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvGanttAddAttributeTrace", "Traces for module OrvGanttAddAttribute");
  return t;
}
constexpr const char* kClass = "OrvGanttAddAttributeDlg";
constexpr std::string_view kSeparator = "$$";

TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvGanttAddAttributeDlg::kCatalog, key, params, fallback);
}

// The names of `from` that `other` does not hold, in order.
std::vector<TavUnicodeString> Minus(const std::vector<TavUnicodeString>& from, const std::vector<TavUnicodeString>& other) {
  const std::unordered_set<TavUnicodeString> drop(other.begin(), other.end());
  std::vector<TavUnicodeString> out;
  for (const auto& n : from)
    if (!drop.contains(n)) out.push_back(n);
  return out;
}

std::vector<int> Ascending(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}
}  // namespace

OrvGanttAddAttributeDlg::OrvGanttAddAttributeDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvGanttAddAttributeDlg", 0, kCatalog) {
  SetTitle(Text("OrvGanttAddAttributeDlg.Title", "Gantt Attribute Columns"));
  SetVisibility(false);
}

OrvGanttAddAttributeDlg::~OrvGanttAddAttributeDlg() { TavTraceScope scope(Trace(), kClass, "~OrvGanttAddAttributeDlg"); }

// ------------------------------------------------------------------ build
TavDlgMultiList* OrvGanttAddAttributeDlg::AddList(TavDlgWidget* frame, const std::string& name, const char* columnKey,
                                                  const char* fallback) {
  auto* list = frame->Add<TavDlgMultiList>(name);
  list->SetColumnTitles({Text(columnKey, fallback)});
  list->SetMultiSelect(true);
  AddAnalyseNotificationCB(list, TavDlgNotification::ColumnClick, [this, list] { SortColumnOnClick(list); });
  return list;
}

void OrvGanttAddAttributeDlg::Build(const std::vector<TavUnicodeString>& attributes) {
  TavTraceScope scope(Trace(), kClass, "Build");
  std::vector<TavUnicodeString> offered;  // `attributes` may be attributes_ itself
  for (const auto& a : attributes)
    if (CanBeStored(a)) offered.push_back(a);
  RemoveDuplicates(offered);
  attributes_ = std::move(offered);

  settings_ = OrvIVEKGanttSettingAtt::Instantiate(OrvIVEKGanttSettingAtt::kControllerName);
  TavUnicodeString stored;
  if (settings_) settings_->GetColumnVisibility(stored);
  previous_.clear();
  BuildCheckList(stored, previous_);
  right_ = previous_;
  left_ = Minus(attributes_, right_);
  // A second build shows the new lists in the widgets already there.
  if (!leftList_) BuildWidgets();
  Show(Left(), {});
  Show(Right(), {});
}

void OrvGanttAddAttributeDlg::BuildWidgets() {
  auto* main = Add<TavDlgFrame>("FrameResource");
  leftList_ = AddList(main->Add<TavDlgFrame>("AllAttributesFrame"), "AllAttributesList", "AllAttributesList.ColumnTitle",
                      "Attributes");
  auto* buttons = main->Add<TavDlgFrame>("ButtonFrame");
  auto button = [this](TavDlgWidget* frame, const char* name, const char* icon, void (OrvGanttAddAttributeDlg::*push)()) {
    auto* b = frame->Add<OrvGanttIconButton>(name, icon);
    AddAnalyseNotificationCB(b, TavDlgNotification::Activate, [this, push] { (this->*push)(); });
  };
  button(buttons, "AddAttribute", "I_ToRight", &OrvGanttAddAttributeDlg::PushAddButton);
  button(buttons, "RemoveAttribute", "I_ToLeft", &OrvGanttAddAttributeDlg::PushRemoveButton);
  rightList_ = AddList(main->Add<TavDlgFrame>("SelectedAttributesFrame"), "SelectedAttributesList",
                       "SelectedAttributesList.ColumnTitle", "Columns shown");
  auto* order = main->Add<TavDlgFrame>("UpDownFrame");
  button(order, "Up", "I_ToUp", &OrvGanttAddAttributeDlg::PushUpButton);
  button(order, "Down", "I_ToDown", &OrvGanttAddAttributeDlg::PushDownButton);
  button(order, "Top", "I_ToTop", &OrvGanttAddAttributeDlg::PushTopButton);
  button(order, "Bottom", "I_ToBottom", &OrvGanttAddAttributeDlg::PushBottomButton);
  button(order, "SortABCPrompt", "", &OrvGanttAddAttributeDlg::PushSortABCPromptButton);
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

void OrvGanttAddAttributeDlg::Show(const Rows& rows, const std::vector<int>& selected) {
  if (!rows.list) return;
  rows.list->ClearLine();
  for (const auto& name : GetNLSAttributeNameList(*rows.names)) rows.list->SetColumnItem(0, name);
  rows.list->SetSelectedRows(selected);
}

// ------------------------------------------------------------------ list buttons
void OrvGanttAddAttributeDlg::MoveSelected(const Rows& from, const Rows& to) {
  if (!from.list || !to.list) return;
  const auto rows = Ascending(from.list->GetSelect());
  std::vector<TavUnicodeString> moved;
  std::vector<bool> taken(from.names->size(), false);
  for (int r : rows)
    if (r >= 0 && r < static_cast<int>(taken.size())) {
      taken[static_cast<std::size_t>(r)] = true;
      moved.push_back((*from.names)[static_cast<std::size_t>(r)]);
    }
  if (moved.empty()) return;
  std::vector<TavUnicodeString> kept;
  for (std::size_t i = 0; i < taken.size(); ++i)
    if (!taken[i]) kept.push_back((*from.names)[i]);
  *from.names = std::move(kept);
  std::vector<int> arrived;
  for (const auto& n : moved) {
    arrived.push_back(static_cast<int>(to.names->size()));
    to.names->push_back(n);
  }
  Show(from, {});
  Show(to, arrived);
}

void OrvGanttAddAttributeDlg::PushAddButton() {
  TavTraceScope scope(Trace(), kClass, "PushAddButton");
  MoveSelected(Left(), Right());
}

void OrvGanttAddAttributeDlg::PushRemoveButton() {
  TavTraceScope scope(Trace(), kClass, "PushRemoveButton");
  MoveSelected(Right(), Left());
}

void OrvGanttAddAttributeDlg::Reorder(const std::vector<int>& order) {
  std::vector<TavUnicodeString> names;
  std::vector<int> selected;
  for (std::size_t k = 0; k < order.size(); ++k) {
    names.push_back(right_[static_cast<std::size_t>(order[k])]);
    if (rightList_->IsSelected(order[k])) selected.push_back(static_cast<int>(k));
  }
  right_ = std::move(names);
  Show(Right(), selected);
}

// Up and Down move each selected row past its unselected neighbour; a block of
// selected rows against the end stays where it is, so the selected rows keep their order.
void OrvGanttAddAttributeDlg::PushUpButton() {
  TavTraceScope scope(Trace(), kClass, "PushUpButton");
  if (!rightList_) return;
  std::vector<int> order(right_.size());
  std::iota(order.begin(), order.end(), 0);
  for (std::size_t i = 1; i < order.size(); ++i)
    if (rightList_->IsSelected(order[i]) && !rightList_->IsSelected(order[i - 1])) std::swap(order[i], order[i - 1]);
  Reorder(order);
}

void OrvGanttAddAttributeDlg::PushDownButton() {
  TavTraceScope scope(Trace(), kClass, "PushDownButton");
  if (!rightList_) return;
  std::vector<int> order(right_.size());
  std::iota(order.begin(), order.end(), 0);
  for (std::size_t i = order.size(); i-- > 1;)
    if (rightList_->IsSelected(order[i - 1]) && !rightList_->IsSelected(order[i])) std::swap(order[i], order[i - 1]);
  Reorder(order);
}

void OrvGanttAddAttributeDlg::PushTopButton() {
  TavTraceScope scope(Trace(), kClass, "PushTopButton");
  if (!rightList_) return;
  std::vector<int> order(right_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_partition(order.begin(), order.end(), [this](int r) { return rightList_->IsSelected(r); });
  Reorder(order);
}

void OrvGanttAddAttributeDlg::PushBottomButton() {
  TavTraceScope scope(Trace(), kClass, "PushBottomButton");
  if (!rightList_) return;
  std::vector<int> order(right_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_partition(order.begin(), order.end(), [this](int r) { return !rightList_->IsSelected(r); });
  Reorder(order);
}

void OrvGanttAddAttributeDlg::SortRows(const Rows& rows) {
  if (!rows.list) return;
  const auto shown = GetNLSAttributeNameList(*rows.names);
  std::vector<int> order(shown.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return shown[static_cast<std::size_t>(a)] < shown[static_cast<std::size_t>(b)];
  });
  std::vector<TavUnicodeString> names;
  std::vector<int> selected;
  for (std::size_t k = 0; k < order.size(); ++k) {
    names.push_back((*rows.names)[static_cast<std::size_t>(order[k])]);
    if (rows.list->IsSelected(order[k])) selected.push_back(static_cast<int>(k));
  }
  *rows.names = std::move(names);
  Show(rows, selected);
}

void OrvGanttAddAttributeDlg::PushSortABCPromptButton() {
  TavTraceScope scope(Trace(), kClass, "PushSortABCPromptButton");
  SortRows(Right());
}

void OrvGanttAddAttributeDlg::SortColumnOnClick(TavDlgMultiList* list) {
  TavTraceScope scope(Trace(), kClass, "SortColumnOnClick");
  if (list && list == leftList_) SortRows(Left());
  else if (list && list == rightList_) SortRows(Right());
}

// ------------------------------------------------------------------ OK and cancel
bool OrvGanttAddAttributeDlg::OnOK() {
  TavTraceScope scope(Trace(), kClass, "OnOK");
  if (!SaveToSettings()) return false;
  SetVisibility(false);
  return true;
}

void OrvGanttAddAttributeDlg::OnCancel() {
  TavTraceScope scope(Trace(), kClass, "OnCancel");
  SetVisibility(false);
}

bool OrvGanttAddAttributeDlg::SaveToSettings() {
  TavTraceScope scope(Trace(), kClass, "SaveToSettings");
  const TavUnicodeString value = BuildColumnString(right_);
  if (!settings_) {
    ShowError(Text("NoSettings", "The Gantt settings cannot be reached; the column choice was not saved."));
    return false;
  }
  TavUnicodeString old;
  settings_->GetColumnVisibility(old);
  std::string why;
  if (FAILED(settings_->SetColumnVisibility(value)) || FAILED(settings_->Save(&why))) {
    // What is kept in memory stays what the file holds.
    settings_->SetColumnVisibility(old);
    ShowError(Text("SaveFailed", "The column choice could not be saved: /P1", {TavUnicodeString(why)}));
    return false;
  }
  removed_ = Minus(previous_, right_);
  added_ = Minus(right_, previous_);
  previous_ = right_;
  ApplyToCurrentWindow(right_);
  return true;
}

void OrvGanttAddAttributeDlg::ApplyToCurrentWindow(const std::vector<TavUnicodeString>& chosen) {
  auto* windows = TavFrmLayoutWindows::Get();
  auto window = query<OrvGanttChartWindow>(windows ? windows->GetCurrentWindow() : nullptr);
  if (!window) return;
  if (auto columns = query<OrvIGanttAddRemoveColumn>(window)) {
    if (!removed_.empty()) columns->RemoveColumns(removed_);
    if (!added_.empty()) columns->AddColumns(added_);
    // Added columns come last; columns the user moved are put in the chosen order.
    const std::unordered_set<TavUnicodeString> wanted(chosen.begin(), chosen.end());
    std::vector<TavUnicodeString> shown;
    for (const auto& c : columns->GetAttributeColumns())
      if (wanted.contains(c)) shown.push_back(c);
    if (shown != chosen) {
      columns->RemoveColumns(chosen);
      columns->AddColumns(chosen);
    }
  }
  window->UpdateGanttTable();
}

void OrvGanttAddAttributeDlg::ShowError(const TavUnicodeString& text) {
  TavDlgNotify box(this, "OrvGanttAddAttributeError", TavDlgNotify::Error);
  box.DisplayBox(Text("Error.Title", "Error"), text);
  box.DisplayBlocked();
}

// ------------------------------------------------------------------ the column string
void OrvGanttAddAttributeDlg::BuildCheckList(const TavUnicodeString& value, std::vector<TavUnicodeString>& list) {
  TavTraceScope scope(Trace(), kClass, "BuildCheckList");
  list.clear();
  const std::string& s = value.utf8();
  std::size_t at = s.find(kSeparator);
  if (at == std::string::npos) return;
  std::unordered_set<TavUnicodeString> seen;
  for (at += kSeparator.size(); at <= s.size();) {
    std::size_t next = s.find(kSeparator, at);
    if (next == std::string::npos) next = s.size();
    TavUnicodeString piece = TavUnicodeString(s.substr(at, next - at)).Strip();
    if (CanBeStored(piece) && seen.insert(piece).second) list.push_back(std::move(piece));
    at = next + kSeparator.size();
  }
}

TavUnicodeString OrvGanttAddAttributeDlg::BuildColumnString(const std::vector<TavUnicodeString>& list) {
  TavTraceScope scope(Trace(), kClass, "BuildColumnString");
  if (list.empty()) return {};
  std::string out(kSeparator);
  for (const auto& name : list) out += name.utf8() + std::string(kSeparator);
  return out;
}

bool OrvGanttAddAttributeDlg::CanBeStored(const TavUnicodeString& name) {
  TavTraceScope scope(Trace(), kClass, "CanBeStored");
  return !name.IsEmpty() && name.Strip() == name && !name.Contains(kSeparator) && !name.EndsWith("$");
}

TavUnicodeString OrvGanttAddAttributeDlg::GetNLSAttributeName(const TavUnicodeString& name) {
  TavTraceScope scope(Trace(), kClass, "GetNLSAttributeName");
  const std::string key = name.utf8() + ".Name";
  // Looked up only when the catalogue has it: the name itself is no message to substitute in.
  return TavMsgCatalog::HasKey(kCatalog, key) ? TavMsgCatalog::BuildMessage(kCatalog, key) : name;
}

std::vector<TavUnicodeString> OrvGanttAddAttributeDlg::GetNLSAttributeNameList(const std::vector<TavUnicodeString>& names) {
  TavTraceScope scope(Trace(), kClass, "GetNLSAttributeNameList");
  std::vector<TavUnicodeString> out;
  out.reserve(names.size());
  for (const auto& n : names) out.push_back(GetNLSAttributeName(n));
  return out;
}
