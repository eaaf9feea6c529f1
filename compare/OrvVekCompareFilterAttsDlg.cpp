#include "OrvVekCompareFilterAttsDlg.h"

#include <algorithm>

#include "OrvVekComparePPRFilterDlg.h"
#include "OrvVekCompareUtilities.h"
#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekCompareFilterAttsDlg::kCatalog, key, params, fallback);
}
}  // namespace

OrvVekCompareFilterAttsDlg::OrvVekCompareFilterAttsDlg(TavDlgWidget* father, TavUnicodeString feature,
                                                       std::vector<Attribute> offered, std::function<void()> onOK)
    : TavDlgDialog(father, "OrvVekCompareFilterAttsDlg", 0, kCatalog),
      feature_(std::move(feature)),
      offered_(std::move(offered)),
      onOK_(std::move(onOK)) {
  SetTitle(Text("OrvVekCompareFilterAttsDlg.Title", "Report Attributes"));
  auto list = [this](const char* frame, const char* name) {
    auto* l = Add<TavDlgFrame>(frame)->Add<TavDlgMultiList>(name);
    l->SetColumnTitles({Text((std::string(name) + ".ColumnTitle").c_str(), "Attribute")});
    l->SetMultiSelect(true);
    return l;
  };
  leftList_ = list("AllAttributesFrame", "AllAttributesList");
  // Icon buttons: the tooltip ("<name>.Help") says what the icon means.
  auto button = [this](TavDlgWidget* frame, const char* name, const char* icon, std::function<void()> push) {
    auto* b = frame->Add<TavDlgPushButton>(name);
    b->SetIconName(icon);
    b->SetToolTip(Text((std::string(name) + ".Help").c_str(), name));
    AddAnalyseNotificationCB(b, TavDlgNotification::Activate, std::move(push));
  };
  auto* buttons = Add<TavDlgFrame>("ButtonFrame");
  button(buttons, "AddAttribute", "I_ToRight", [this] { PushAdd(); });
  button(buttons, "RemoveAttribute", "I_ToLeft", [this] { PushRemove(); });
  rightList_ = list("SelectedAttributesFrame", "SelectedAttributesList");
  auto* order = Add<TavDlgFrame>("UpDownFrame");
  button(order, "ToUp", "I_ToUp", [this] { Move(-1); });
  button(order, "ToDown", "I_ToDown", [this] { Move(1); });
  button(order, "ToTop", "I_ToTop", [this] { MoveToEnd(true); });
  button(order, "ToBottom", "I_ToBottom", [this] { MoveToEnd(false); });
  auto* sort = Add<TavDlgFrame>("SortFrame");
  button(sort, "SortABCPrompts", "I_SortABCPrompts", [this] { SortLeft(Sort::ABCPrompts); });
  button(sort, "SortKwHxPrompts", "I_SortKwHxPrompts", [this] { SortLeft(Sort::KwHxPrompts); });
  button(sort, "SortABCNames", "I_SortABCNames", [this] { SortLeft(Sort::ABCNames); });
  button(sort, "SortKwHxNames", "I_SortKwHxNames", [this] { SortLeft(Sort::KwHxNames); });
  showOwn_ = sort->Add<TavDlgCheckButton>("CBKw");
  showHub_ = sort->Add<TavDlgCheckButton>("CBHx");
  for (auto* box : {showOwn_, showHub_}) {
    box->SetState(true);
    AddAnalyseNotificationCB(box, TavDlgNotification::Modify, [this] { ShowLists(); });
  }
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(this, TavDlgNotification::OK, [this] {
    if (SaveToSettings() && onOK_) onOK_();
  });
}

TavUnicodeString OrvVekCompareFilterAttsDlg::Line(const Attribute& a) {
  return a.hub ? OrvVekComparePPRFilterDlg::HubLine(a.prompt, a.name) : OrvVekComparePPRFilterDlg::OwnLine(a.name);
}

void OrvVekCompareFilterAttsDlg::Build() {
  std::vector<TavUnicodeString> names, kinds;
  OrvVekCompareUtilities::ReadCheckList(feature_, names, kinds);
  chosen_.clear();
  for (std::size_t i = 0; i < names.size(); ++i) {
    Attribute a{names[i], names[i], kinds[i] == "E"};
    // The prompt the roots offer; a stored attribute they lack stays chosen.
    if (auto it = std::find(offered_.begin(), offered_.end(), a); it != offered_.end()) a.prompt = it->prompt;
    if (std::find(chosen_.begin(), chosen_.end(), a) == chosen_.end()) chosen_.push_back(a);
  }
  left_.clear();
  for (const auto& a : offered_)
    if (std::find(chosen_.begin(), chosen_.end(), a) == chosen_.end() &&
        std::find(left_.begin(), left_.end(), a) == left_.end())
      left_.push_back(a);
  ShowLists();
}

std::vector<OrvVekCompareFilterAttsDlg::Attribute> OrvVekCompareFilterAttsDlg::Shown() const {
  std::vector<Attribute> out;
  for (const auto& a : left_)
    if ((a.hub ? showHub_ : showOwn_)->GetState()) out.push_back(a);
  return out;
}

void OrvVekCompareFilterAttsDlg::ShowLists() {
  leftList_->ClearLine();
  for (const auto& a : Shown()) leftList_->SetColumnItem(0, Line(a));
  rightList_->ClearLine();
  for (const auto& a : chosen_) rightList_->SetColumnItem(0, Line(a));
}

void OrvVekCompareFilterAttsDlg::PushAdd() {
  const auto shown = Shown();
  std::vector<int> rows = leftList_->GetSelect();
  std::sort(rows.begin(), rows.end());
  const int from = static_cast<int>(chosen_.size());
  for (int r : rows) {
    if (r < 0 || r >= static_cast<int>(shown.size())) continue;
    const Attribute& a = shown[static_cast<std::size_t>(r)];
    chosen_.push_back(a);
    std::erase(left_, a);
  }
  ShowLists();
  std::vector<int> added;
  for (int i = from; i < static_cast<int>(chosen_.size()); ++i) added.push_back(i);
  rightList_->SetSelectedRows(added);
}

void OrvVekCompareFilterAttsDlg::PushRemove() {
  std::vector<int> rows = rightList_->GetSelect();
  std::sort(rows.begin(), rows.end(), std::greater<>());
  std::vector<Attribute> back;
  for (int r : rows) {
    if (r < 0 || r >= static_cast<int>(chosen_.size())) continue;
    back.push_back(chosen_[static_cast<std::size_t>(r)]);
    chosen_.erase(chosen_.begin() + r);
  }
  // Back on the left where the offer has them.
  std::vector<Attribute> left;
  for (const auto& a : offered_)
    if (std::find(left_.begin(), left_.end(), a) != left_.end() || std::find(back.begin(), back.end(), a) != back.end())
      if (std::find(left.begin(), left.end(), a) == left.end()) left.push_back(a);
  left_ = std::move(left);
  ShowLists();
}

void OrvVekCompareFilterAttsDlg::Move(int by) {
  const auto rows = rightList_->GetSelect();
  if (rows.size() != 1) return;
  const int from = rows.front(), to = from + by;
  if (from < 0 || to < 0 || to >= static_cast<int>(chosen_.size())) return;
  std::swap(chosen_[static_cast<std::size_t>(from)], chosen_[static_cast<std::size_t>(to)]);
  ShowLists();
  rightList_->SetSelectedRows({to});
}

void OrvVekCompareFilterAttsDlg::MoveToEnd(bool top) {
  const auto rows = rightList_->GetSelect();
  if (rows.size() != 1 || rows.front() < 0 || rows.front() >= static_cast<int>(chosen_.size())) return;
  const auto at = chosen_.begin() + rows.front();
  if (top) std::rotate(chosen_.begin(), at, at + 1);
  else std::rotate(at, at + 1, chosen_.end());
  ShowLists();
  rightList_->SetSelectedRows({top ? 0 : static_cast<int>(chosen_.size()) - 1});
}

void OrvVekCompareFilterAttsDlg::SortLeft(Sort how) {
  const bool byName = how == Sort::ABCNames || how == Sort::KwHxNames;
  const bool ownFirst = how == Sort::KwHxPrompts || how == Sort::KwHxNames;
  std::stable_sort(left_.begin(), left_.end(), [&](const Attribute& a, const Attribute& b) {
    if (ownFirst && a.hub != b.hub) return !a.hub;
    return (byName ? a.name : a.prompt) < (byName ? b.name : b.prompt);
  });
  ShowLists();
}

void OrvVekCompareFilterAttsDlg::ShowError(const TavUnicodeString& text) {
  TavDlgNotify box(this, "OrvVekCompareFilterAttsError", TavDlgNotify::Error);
  box.DisplayBox(Text("Error.Title", "Error"), text);
  box.DisplayBlocked();
}

bool OrvVekCompareFilterAttsDlg::SaveToSettings() {
  std::vector<TavUnicodeString> names, kinds;
  for (const auto& a : chosen_) {
    names.push_back(a.name);
    kinds.push_back(a.hub ? "E" : "V");
  }
  std::string problem;
  if (!OrvVekCompareUtilities::SaveCheckList(feature_, names, kinds, problem)) {
    ShowError(Text("SaveFailed", "The report attributes were not kept: /P1", {TavUnicodeString(problem)}));
    return false;
  }
  return true;
}
