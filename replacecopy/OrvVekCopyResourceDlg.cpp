#include "OrvVekCopyResourceDlg.h"

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekCopyResourceDlg::kCatalog, key, {}, fallback);
}
}  // namespace

OrvVekCopyResourceDlg::OrvVekCopyResourceDlg(TavDlgWidget* father) : TavDlgDialog(father, "OrvVekCopyResourceDlg", 0, kCatalog) {
  SetTitle(Text("BuildCopyResource.Title", "Copy Resource"));
  SetVisibility(false);
}

void OrvVekCopyResourceDlg::Build() {
  Add<TavDlgLabel>("ResourceLabel")->SetTitle(Text("ResourceLabel.Title", "Resource to copy"));
  resource_ = Add<TavDlgEditor>("ResourceEditor");
  resource_->SetReadOnly(true);
  Add<TavDlgLabel>("ParentLabel")->SetTitle(Text("ParentLabel.Title", "Parent resource"));
  parent_ = Add<TavDlgEditor>("ParentEditor");
  parent_->SetReadOnly(true);
  Add<TavDlgLabel>("NameLabel")->SetTitle(Text("NameLabel.Title", "Name of the copy"));
  name_ = Add<TavDlgEditor>("ResourceNameEditor");
  name_->SetVisibleTextWidth(20);
  AddAnalyseNotificationCB(name_, TavDlgNotification::Modify, [this] { ResTxtOnEditInput(); });
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  ok_->SetSensitivity(false);
}

TavUnicodeString OrvVekCopyResourceDlg::GetResourceName() const { return name_ ? name_->GetText() : TavUnicodeString(); }

void OrvVekCopyResourceDlg::SetResourceName(const TavUnicodeString& name) {
  if (name_) name_->SetText(name);
  OnSelectionChange();
}

void OrvVekCopyResourceDlg::SetResource(const TavUnicodeString& name) {
  if (resource_) resource_->SetText(name);
  OnSelectionChange();
}

void OrvVekCopyResourceDlg::SetParent(const TavUnicodeString& name) {
  if (parent_) parent_->SetText(name);
  OnSelectionChange();
}

void OrvVekCopyResourceDlg::OnSelectionChange() {
  if (!ok_) return;
  bool filled = true;
  for (auto* editor : {resource_, parent_, name_}) filled = filled && !editor->GetText().Strip().IsEmpty();
  ok_->SetSensitivity(filled);
}

void OrvVekCopyResourceDlg::ResTxtOnEditInput() { OnSelectionChange(); }
