#include "VekGeneralAssignDialog.h"

#include "TavServices.h"

VekGeneralAssignDialog::VekGeneralAssignDialog(TavDlgWidget* father) : TavDlgDialog(father, "ASRDialog", 0, kCatalog) {
  SetVisibility(false);
  // The buttons speak for the dialog: its agents wait for the dialog's OK and CANCEL.
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  ok_->SetSensitivity(false);
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

VekGeneralAssignDialog::~VekGeneralAssignDialog() {
  if (list_) RemoveAnalyseNotificationCB(list_, TavDlgNotification::Select);
  RemoveAnalyseNotificationCB(ok_, TavDlgNotification::Activate);
  RemoveAnalyseNotificationCB(cancel_, TavDlgNotification::Activate);
}

void VekGeneralAssignDialog::CreateListOfOptions(const std::vector<TavUnicodeString>& options) {
  if (!list_) {
    list_ = Add<TavDlgMultiList>("asrmultilist");
    list_->SetColumnTitles({TavMsgCatalog::BuildMessage(kCatalog, "asrmultilist.ColumnTitle", {}, "Relation")});
    list_->SetColumnTextWidth(0, list_->GetColumnTextWidth(0) + 35);
    AddAnalyseNotificationCB(list_, TavDlgNotification::Select, [this] { OnSelection(); });
  }
  list_->ClearLine();
  for (auto& o : options) list_->SetColumnItem(0, o);
  OnSelection();
}

void VekGeneralAssignDialog::OnSelection() {
  if (ok_) ok_->SetSensitivity(list_ && list_->GetSelectCount() > 0);
}

bool VekGeneralAssignDialog::getSelectedOption(TavUnicodeString& text, int& index) const {
  if (!list_) return false;
  index = 0;
  auto sel = list_->GetSelect();
  if (sel.empty()) return true;
  index = sel.front();
  text = list_->GetColumnItem(0, index);
  return true;
}
