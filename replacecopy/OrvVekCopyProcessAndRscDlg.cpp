#include "OrvVekCopyProcessAndRscDlg.h"

#include "OrvVekCopyProcessServices.h"
#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekCopyProcessAndRscDlg::kCatalog, key, {}, fallback);
}
}  // namespace

OrvVekCopyProcessAndRscDlg::OrvVekCopyProcessAndRscDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekCopyProcessAndRscDlg", 0, kCatalog) {
  SetTitle(Text("OrvVekCopyProcessAndRscDlg.Title", "Copy Process"));
}

void OrvVekCopyProcessAndRscDlg::Build() {
  Add<TavDlgLabel>("NewNameLabel")->SetTitle(Text("NewNameLabel.Title", "Name of the copy"));
  name_ = Add<TavDlgEditor>("CopyProcessNameEditor");
  name_->SetVisibleTextWidth(20);
  AddAnalyseNotificationCB(name_, TavDlgNotification::Modify, [this] { OnEditInput(); });
  Add<TavDlgLabel>("EmptyLabel")->SetTitle(TavUnicodeString(" "));
  auto* options = Add<TavDlgFrame>("OptionsFrame");
  options->SetTitle(Text("OptionsFrame.Title", "Options"));
  copyRsc_ = options->Add<TavDlgCheckButton>("CheckBtnCopyRsc");
  copyRsc_->SetTitle(Text("CheckBtnCopyRsc.Title", "Copy the resources"));
  rscLinks_ = options->Add<TavDlgCheckButton>("CheckBtnCopyRscLinks");
  rscLinks_->SetTitle(Text("CheckBtnCopyRscLinks.Title", "Keep the links to the resources"));
  options->Add<TavDlgLabel>("EmptyLabel2")->SetTitle(TavUnicodeString(" "));
  prdLinks_ = options->Add<TavDlgCheckButton>("CheckBtnCopyPrdLinks");
  prdLinks_->SetTitle(Text("CheckBtnCopyPrdLinks.Title", "Keep the links to the products"));
  // A plain copy keeps every relation.
  rscLinks_->SetState(true);
  prdLinks_->SetState(true);
  AddAnalyseNotificationCB(copyRsc_, TavDlgNotification::Modify, [this] { OnCheck(copyRsc_, rscLinks_); });
  AddAnalyseNotificationCB(rscLinks_, TavDlgNotification::Modify, [this] { OnCheck(rscLinks_, copyRsc_); });
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  OnEditInput();
}

void OrvVekCopyProcessAndRscDlg::SetCopyName(const TavUnicodeString& name) {
  if (name_) name_->SetText(name, true);
}

TavUnicodeString OrvVekCopyProcessAndRscDlg::GetCopyName() const { return name_ ? name_->GetText() : TavUnicodeString(); }

OrvVekCopyProcessAndRscDlg::CopyOptions OrvVekCopyProcessAndRscDlg::GetCopyOptions() const {
  if (!copyRsc_) return None;
  return static_cast<CopyOptions>(
      OrvVekCopyProcessServices::OptionsFrom(copyRsc_->GetState(), rscLinks_->GetState(), prdLinks_->GetState()));
}

bool OrvVekCopyProcessAndRscDlg::WillResourcesBeCopied() const {
  return OrvVekCopyProcessServices::IsCopyingResources(GetCopyOptions());
}

void OrvVekCopyProcessAndRscDlg::OnEditInput() {
  if (ok_) ok_->SetSensitivity(!GetCopyName().Strip().IsEmpty());
}

void OrvVekCopyProcessAndRscDlg::OnCheck(TavDlgCheckButton* checked, TavDlgCheckButton* other) {
  if (checked->GetState() && other->GetState()) other->SetState(false);
}
