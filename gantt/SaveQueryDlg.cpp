#include "SaveQueryDlg.h"

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(SaveQueryDlg::kCatalog, key, {}, fallback);
}
}  // namespace

SaveQueryDlg::SaveQueryDlg() : TavDlgDialog(nullptr, "SaveQueryDlg", 0, kCatalog) {
  SetTitle(Text("OrvSaveQuery.Title", "Save Query"));
}

void SaveQueryDlg::Build() {
  auto* frame = Add<TavDlgFrame>("SaveQueryFrame");
  frame->Add<TavDlgLabel>("QuerySaveNameLabel")->SetTitle(Text("OrvSaveQuery.QuerySaveNameLabel.Title", "Name:"));
  name_ = frame->Add<TavDlgEditor>("QuerySaveNameEditor");
  name_->SetHelp(Text("OrvSaveQuery.QuerySaveNameEditor.ShortHelp", "Name:"));
  name_->SetVisibleTextWidth(30);
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}
