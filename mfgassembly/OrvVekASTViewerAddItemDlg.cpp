#include "OrvVekASTViewerAddItemDlg.h"

#include "TavServices.h"

OrvVekASTViewerAddItemDlg::OrvVekASTViewerAddItemDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekASTViewerAddItemDlg", 0, kCatalog) {
  SetVisibility(false);
  SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "Title", {}, "Add Manufactured Assembly"));
  editor_ = Add<TavDlgFrame>("DlgFrame")->Add<TavDlgEditor>("Editor003");
  // OK keeps the line, then tells the command (which may end and take the dialog with it).
  ok_ = Add<TavDlgPushButton>("OK");
  ok_->SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "OK.Title", {}, "OK"));
  AddAnalyseNotificationCB(ok_, TavDlgNotification::Activate, [this] {
    name_ = editor_->GetText();
    Notify(TavDlgNotification::OK);
  });
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

OrvVekASTViewerAddItemDlg::~OrvVekASTViewerAddItemDlg() {
  for (auto* w : {ok_, cancel_}) RemoveAnalyseNotificationCB(w, TavDlgNotification::Activate);
}
