#include "OrvMfgAssyPartNumGenerator.h"

#include "TavServices.h"

OrvMfgAssyPartNumGenerator::OrvMfgAssyPartNumGenerator(TavDlgWidget* father,
                                                       std::function<void(const TavUnicodeString&)> onOk,
                                                       std::function<void()> onClose)
    : TavDlgDialog(father, "OrvMfgAssyPartNumGenerator", 0, kCatalog), onOk_(std::move(onOk)), onClose_(std::move(onClose)) {
  SetVisibility(false);
  SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "Title", {}, "Part Number"));
  Add<TavDlgLabel>("PartNumber");
  editor_ = Add<TavDlgEditor>("PartNumEditor");
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddAnalyseNotificationCB(this, TavDlgNotification::OK, [this] { OnOK(); });
  AddAnalyseNotificationCB(this, TavDlgNotification::Close, [this] { OnClose(); });
}

OrvMfgAssyPartNumGenerator::~OrvMfgAssyPartNumGenerator() {
  RemoveAnalyseNotificationCB(this, TavDlgNotification::OK);
  RemoveAnalyseNotificationCB(this, TavDlgNotification::Close);
}

void OrvMfgAssyPartNumGenerator::Show() { SetVisibility(true); }

void OrvMfgAssyPartNumGenerator::OnOK() {
  const TavUnicodeString text = editor_->GetText();
  editor_->SetText({});
  SetVisibility(false);
  if (onOk_) onOk_(text);
}

void OrvMfgAssyPartNumGenerator::OnClose() {
  editor_->SetText({});
  SetVisibility(false);
  if (onClose_) onClose_();
}
