#include "OrvVekMAVersioningDlg.h"

#include "OrvVekMAVersioningIndex.h"
#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekMAVersioningDlg::kCatalog, key, {}, fallback);
}
}  // namespace

OrvVekMAVersioningDlg::OrvVekMAVersioningDlg(TavDlgWidget* father) : TavDlgDialog(father, "OrvVekMAVersioningDlg", 0, kCatalog) {
  SetVisibility(false);
  SetTitle(Text("Title", "Manufactured Assembly Versioning"));
  SetMinimumSize(kMinWidth, kMinHeight);
  auto* modified = Add<TavDlgFrame>("Frame1");
  modified->SetTitle(Text("Frame1.Title", "Modified manufactured assemblies"));
  modList_ = modified->Add<TavDlgSelectorList>("ModDisplayListBx");
  modList_->SetMultiSelect(true);
  allSelect_ = modified->Add<TavDlgCheckButton>("AllSelectCB");
  allSelect_->SetTitle(Text("AllSelectCB.Title", "Select all"));
  Add<TavDlgLabel>("BlankLabel");
  auto* indirect = Add<TavDlgFrame>("Frame2");
  indirect->SetTitle(Text("Frame2.Title", "Manufactured assemblies containing them, versioned with them"));
  indList_ = indirect->Add<TavDlgSelectorList>("IndDisplayListBx");
  // The second frame's box of the same name is the original layout's; it selects nothing.
  allSelect2_ = indirect->Add<TavDlgCheckButton>("AllSelectCB");
  allSelect2_->SetTitle(Text("AllSelectCB.Title", "Select all"));
  allSelect2_->SetSensitivity(false);
  Add<TavDlgLabel>("BlankLabel");
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(modList_, TavDlgNotification::Select, [this] { OnSelectModListModifyNotification(); });
  AddAnalyseNotificationCB(allSelect_, TavDlgNotification::Modify, [this] { OnAllSelect(); });
}

OrvVekMAVersioningDlg::~OrvVekMAVersioningDlg() {
  RemoveAnalyseNotificationCB(modList_, TavDlgNotification::Select);
  RemoveAnalyseNotificationCB(allSelect_, TavDlgNotification::Modify);
  for (auto* w : {ok_, cancel_}) RemoveAnalyseNotificationCB(w, TavDlgNotification::Activate);
}

void OrvVekMAVersioningDlg::Initialize(const std::vector<Ref<OrvIMfgAssembly>>& modified, const OrvVekMAVersioningIndex* index) {
  modified_ = modified;
  index_ = index;
  modList_->ClearLine();
  for (auto& ma : modified_) modList_->SetLine(ma->GetName());
  allSelect_->SetState(true);
  OnAllSelect();
}

std::vector<Ref<OrvIMfgAssembly>> OrvVekMAVersioningDlg::SelectedModified() const {
  std::vector<Ref<OrvIMfgAssembly>> out;
  for (int r : modList_->GetSelect())
    if (r >= 0 && r < static_cast<int>(modified_.size())) out.push_back(modified_[r]);
  return out;
}

void OrvVekMAVersioningDlg::ShowIndirect(const std::vector<Ref<OrvIMfgAssembly>>& list) {
  indirect_ = OrvVekUniqueMAs(list);
  indList_->ClearLine();
  for (auto& ma : indirect_) indList_->SetLine(ma->GetName());
}

void OrvVekMAVersioningDlg::OnSelectModListModifyNotification() {
  // A click in the list is a choice of its own: "select all" no longer holds.
  if (allSelect_->GetState()) allSelect_->SetState(false);
  ShowIndirect(index_ ? index_->IndirectMAs(SelectedModified()) : std::vector<Ref<OrvIMfgAssembly>>{});
}

void OrvVekMAVersioningDlg::OnAllSelect() {
  if (allSelect_->GetState()) {
    std::vector<int> rows(modified_.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
    modList_->SetSelectedRows(rows);
    ShowIndirect(index_ ? index_->IndirectMAs(modified_) : std::vector<Ref<OrvIMfgAssembly>>{});
  } else {
    modList_->ClearSelect();
    ShowIndirect({});
  }
}
