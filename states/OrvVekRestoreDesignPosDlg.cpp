#include "OrvVekRestoreDesignPosDlg.h"

#include <algorithm>

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekRestoreDesignPosDlg::kCatalog, key, {}, fallback);
}
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

TavUnicodeString RowText(const Ref<TavBaseUnknown>& o) {
  auto p = query<TavIProduct>(o);
  return p ? p->GetName() : TavUnicodeString();
}
}  // namespace

OrvVekRestoreDesignPosDlg::OrvVekRestoreDesignPosDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekRestoreDesignPosDlg", 0, kCatalog) {
  SetVisibility(false);
  SetTitle(Text("Title", "Restore Design Positions"));
  auto* mode = Add<TavDlgFrame>("Frame001");
  all_ = mode->Add<TavDlgRadioButton>("RestoreAll");
  all_->SetTitle(Text("RestoreAll.Title", "Restore all"));
  all_->SetState(true);
  selected_ = mode->Add<TavDlgRadioButton>("RestoreSelected");
  selected_->SetTitle(Text("RestoreSelected.Title", "Restore selected"));
  auto* lists = Add<TavDlgFrame>("Frame002");
  lists->Add<TavDlgLabel>("Products")->SetTitle(Text("Products.Title", "Products"));
  products_ = lists->Add<TavDlgSelectorList>("DisplacedProducts");
  products_->SetMultiSelect(true);
  lists->Add<TavDlgLabel>("Resources")->SetTitle(Text("Resources.Title", "Resources"));
  resources_ = lists->Add<TavDlgSelectorList>("DisplacedResources");
  resources_->SetMultiSelect(true);
  auto* count = Add<TavDlgFrame>("Frame003");
  count->Add<TavDlgLabel>("ProductLabel")->SetTitle(Text("ProductLabel.Title", "Selected products"));
  count_ = count->Add<TavDlgEditor>("OrvSimInitnum_sel_prods");
  count_->SetReadOnly(true);
  count_->SetText("0");
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(all_, TavDlgNotification::Modify, [this] { OnRadio(all_); });
  AddAnalyseNotificationCB(selected_, TavDlgNotification::Modify, [this] { OnRadio(selected_); });
  for (auto* list : {products_, resources_}) AddAnalyseNotificationCB(list, TavDlgNotification::Select, [this] { Refresh(); });
  EnableOkButton();
}

OrvVekRestoreDesignPosDlg::~OrvVekRestoreDesignPosDlg() {
  for (TavDlgWidget* w : {static_cast<TavDlgWidget*>(all_), static_cast<TavDlgWidget*>(selected_)})
    RemoveAnalyseNotificationCB(w, TavDlgNotification::Modify);
  for (auto* list : {products_, resources_}) RemoveAnalyseNotificationCB(list, TavDlgNotification::Select);
  for (auto* w : {ok_, cancel_}) RemoveAnalyseNotificationCB(w, TavDlgNotification::Activate);
}

void OrvVekRestoreDesignPosDlg::OnRadio(TavDlgRadioButton* on) {
  // The two buttons are one choice: the one set clears the other; clearing the one
  // that was on sets it again.
  TavDlgRadioButton* other = on == all_ ? selected_ : all_;
  if (on->GetState()) other->SetState(false);
  else if (!other->GetState()) on->SetState(true);
  EnableOkButton();
}

void OrvVekRestoreDesignPosDlg::PopulatePrdResList(const std::vector<Ref<TavBaseUnknown>>& displaced) {
  displaced_.clear();
  rows_.clear();
  productRows_.clear();
  resourceRows_.clear();
  products_->ClearLine();
  resources_->ClearLine();
  for (auto& o : displaced) {
    auto p = query<TavIProduct>(o);
    if (!p || rows_.count(Key(o))) continue;
    const bool resource = p->IsResource();
    auto* list = resource ? resources_ : products_;
    auto& objects = resource ? resourceRows_ : productRows_;
    rows_[Key(o)] = {list, static_cast<int>(objects.size())};
    objects.push_back(o);
    list->SetLine(RowText(o));
  }
  displaced_ = productRows_;
  displaced_.insert(displaced_.end(), resourceRows_.begin(), resourceRows_.end());
  Refresh();
}

bool OrvVekRestoreDesignPosDlg::UpdateList(TavPathElementAgent* agent) {
  auto pick = agent ? agent->GetValueObject() : nullptr;
  auto it = pick ? rows_.find(Key(pick)) : rows_.end();
  if (it == rows_.end()) {
    TavDlgNotify box(nullptr, "Warning", TavDlgNotify::Warning);
    box.DisplayBox(Text("UndisplacedPrdResWarningTitle", "Warning"),
                   IsRestoreAll() ? Text("UndisplacedPrdResWarningMsgAll",
                                         "This object stands in its design position: Restore all puts back only the displaced ones.")
                                  : Text("UndisplacedPrdResWarningMsgSelected",
                                         "This object stands in its design position: only displaced products and resources can be selected."));
    box.DisplayBlocked();
    return false;
  }
  // A row selected already stays selected once: the count is of distinct objects.
  auto rows = it->second.list->GetSelect();
  if (std::find(rows.begin(), rows.end(), it->second.row) == rows.end()) {
    rows.push_back(it->second.row);
    it->second.list->SetSelectedRows(rows);
  }
  Refresh();
  return true;
}

std::vector<Ref<TavBaseUnknown>> OrvVekRestoreDesignPosDlg::SelectedProducts() const {
  std::vector<Ref<TavBaseUnknown>> out;
  for (int r : products_->GetSelect())
    if (r >= 0 && r < static_cast<int>(productRows_.size())) out.push_back(productRows_[r]);
  for (int r : resources_->GetSelect())
    if (r >= 0 && r < static_cast<int>(resourceRows_.size())) out.push_back(resourceRows_[r]);
  return out;
}

void OrvVekRestoreDesignPosDlg::Refresh() {
  count_->SetText(TavUnicodeString(std::to_string(products_->GetSelectCount() + resources_->GetSelectCount())));
  EnableOkButton();
}

void OrvVekRestoreDesignPosDlg::EnableOkButton() {
  ok_->SetSensitivity(IsRestoreAll() ? !displaced_.empty() : products_->GetSelectCount() + resources_->GetSelectCount() > 0);
}
