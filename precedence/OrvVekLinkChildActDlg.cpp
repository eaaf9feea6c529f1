#include "OrvVekLinkChildActDlg.h"

#include <algorithm>

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekLinkChildActDlg::kCatalog, key, {}, fallback);
}
constexpr const char* kRadioNames[3] = {"RemoveRB", "SerialRB", "ParallelRB"};
constexpr const char* kRadioTitles[3] = {"Remove links", "Serial", "Parallel"};
}  // namespace

OrvVekLinkChildActDlg::OrvVekLinkChildActDlg(TavDlgWidget* father) : TavDlgDialog(father, "OrvVekLinkChildActDlg", 0, kCatalog) {
  SetVisibility(false);
  SetTitle(Text("Title", "Link Children"));
  auto* listFrame = Add<TavDlgFrame>("ActListFrame");
  listParents_ = listFrame->Add<TavDlgPushButton>("ListParentsButton");
  listParents_->SetTitle(Text("ListParentsButton.Title", "List all parents"));
  list_ = listFrame->Add<TavDlgSelectorList>("ActSelList");
  remove_ = listFrame->Add<TavDlgPushButton>("RemoveActButton");
  remove_->SetTitle(Text("RemoveActButton.Title", "Remove"));
  auto* typeFrame = Add<TavDlgFrame>("LinkTypeFrame");
  for (int i = 0; i < 3; ++i) {
    radios_[i] = typeFrame->Add<TavDlgRadioButton>(kRadioNames[i]);
    radios_[i]->SetTitle(Text((std::string(kRadioNames[i]) + ".Title").c_str(), kRadioTitles[i]));
    AddAnalyseNotificationCB(radios_[i], TavDlgNotification::Modify, [this, i] {
      if (radios_[i]->GetState()) SetLinkType(i);
    });
  }
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  apply_ = AddNotifyingButton("Apply", TavDlgNotification::Apply, "Apply");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(remove_, TavDlgNotification::Activate, [this] { RemoveSelected(); });
  AddAnalyseNotificationCB(list_, TavDlgNotification::Activate, [this] { RemoveSelected(); });  // a double click
  AddAnalyseNotificationCB(listParents_, TavDlgNotification::Activate, [this] {
    if (lister_) lister_();
  });
  Reset();
}

OrvVekLinkChildActDlg::~OrvVekLinkChildActDlg() {
  for (auto* w : std::initializer_list<TavDlgWidget*>{ok_, apply_, cancel_, remove_, list_, listParents_})
    RemoveAnalyseNotificationCB(w, TavDlgNotification::Activate);
  for (auto* r : radios_) RemoveAnalyseNotificationCB(r, TavDlgNotification::Modify);
}

bool OrvVekLinkChildActDlg::AddItem(const Ref<TavBaseUnknown>& activity, const TavUnicodeString& line) {
  if (!activity) return false;
  if (std::any_of(activities_.begin(), activities_.end(), [&](const auto& a) { return SameObject(a, activity); })) return false;
  activities_.push_back(activity);
  list_->SetLine(line);
  UpdateSensitivity();
  return true;
}

void OrvVekLinkChildActDlg::RemoveSelected() {
  auto rows = list_->GetSelect();
  std::sort(rows.rbegin(), rows.rend());
  std::vector<TavUnicodeString> lines;
  for (int i = 0; i < list_->GetLineCount(); ++i) lines.push_back(list_->GetLine(i));
  for (int row : rows) {
    if (row < 0 || row >= static_cast<int>(activities_.size())) continue;
    activities_.erase(activities_.begin() + row);
    lines.erase(lines.begin() + row);
  }
  list_->ClearLine();
  for (const auto& l : lines) list_->SetLine(l);
  UpdateSensitivity();
}

void OrvVekLinkChildActDlg::Reset() {
  activities_.clear();
  list_->ClearLine();
  SetLinkType(kDefaultLinkType);
  cancel_->SetSensitivity(true);
  UpdateSensitivity();
}

void OrvVekLinkChildActDlg::SetLinkType(int type) {
  linkType_ = type;
  for (int i = 0; i < 3; ++i) radios_[i]->SetState(i == type);
}

void OrvVekLinkChildActDlg::UpdateSensitivity() {
  const bool any = !activities_.empty();
  ok_->SetSensitivity(any);
  apply_->SetSensitivity(any);
  for (auto* r : radios_) r->SetSensitivity(any);
}
