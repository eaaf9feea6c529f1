#include "OrvVekShowErrorsDlg.h"

#include "TavServices.h"

OrvVekShowErrorsDlg::OrvVekShowErrorsDlg(TavDlgWidget* father) : TavDlgDialog(father, "OrvVekShowErrorsDlg", 0, kCatalog) {
  SetVisibility(false);
  SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "Title", {}, "Errors"));
  heading_ = Add<TavDlgLabel>("ErrorHeading");
  list_ = Add<TavDlgSelectorList>("ErrorList");
  close_ = Add<TavDlgPushButton>("Cancel");
  close_->SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "Cancel.Title", {}, "Close"));
  AddAnalyseNotificationCB(close_, TavDlgNotification::Activate, [this] { Notify(TavDlgNotification::Cancel); });
}

OrvVekShowErrorsDlg::~OrvVekShowErrorsDlg() { RemoveAnalyseNotificationCB(close_, TavDlgNotification::Activate); }

void OrvVekShowErrorsDlg::ShowErrors(const TavUnicodeString& heading, const std::vector<TavUnicodeString>& lines) {
  heading_->SetTitle(heading);
  list_->ClearLine();
  for (const auto& l : lines) list_->SetLine(l);
  SetVisibility(true);
}
