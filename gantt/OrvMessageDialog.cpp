#include "OrvMessageDialog.h"

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvMessageDialog::kCatalog, key, {}, fallback);
}
}  // namespace

OrvMessageDialog::OrvMessageDialog() : TavDlgDialog(nullptr, "OrvMessageDialog", 0, kCatalog) {
  SetTitle(Text("OrvVekResourceGanttWndCmd.PromptDlg.Title", "Resource Gantt"));
}

void OrvMessageDialog::Build() {
  auto* frame = Add<TavDlgFrame>("LabelFrame");
  frame->Add<TavDlgLabel>("DlgLabel")
      ->SetTitle(Text("OrvVekResourceGanttWndCmd.PromptDlg.Message",
                      "Pick more resources or activities to add them to the chart.\nOK ends."));
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  SetVisibility(false);
}
