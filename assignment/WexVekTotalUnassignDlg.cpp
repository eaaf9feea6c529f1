#include "WexVekTotalUnassignDlg.h"

#include "TavServices.h"

namespace {
constexpr const char* kRadioNames[3] = {"DelProductsRBtn", "DelRecourcesRBtn", "DelAllRBtn"};
constexpr const char* kRadioTitles[3] = {"Products", "Resources", "Products and resources"};
TavUnicodeString Text(const std::string& key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(WexVekTotalUnassignDlg::kCatalog, key, {}, fallback);
}
}  // namespace

WexVekTotalUnassignDlg::WexVekTotalUnassignDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "WexVekTotalUnassignDlg", kDefaultButtonStyle, kCatalog) {
  SetVisibility(false);
}

WexVekTotalUnassignDlg::~WexVekTotalUnassignDlg() {
  for (auto* r : radios_)
    if (r) RemoveAnalyseNotificationCB(r, TavDlgNotification::Modify);
}

void WexVekTotalUnassignDlg::Build() {
  if (radios_[0]) return;  // built once
  SetTitle(Text("Title", "Unassign"));
  auto* column = Add<TavDlgFrame>("OptionFrame");
  column->SetTitle(Text("OptionFrame.Title", "Remove the assignments of"));
  for (int i = 0; i < 3; ++i) {
    radios_[i] = column->Add<TavDlgRadioButton>(kRadioNames[i]);
    radios_[i]->SetTitle(Text(std::string(kRadioNames[i]) + ".Title", kRadioTitles[i]));
    // One group: checking a button unchecks the others. Unchecking leaves the rest alone,
    // so a dialog with none checked (option 3) stays possible.
    AddAnalyseNotificationCB(radios_[i], TavDlgNotification::Modify, [this, i] {
      if (!radios_[i]->GetState()) return;
      for (int j = 0; j < 3; ++j)
        if (j != i) radios_[j]->SetState(false);
    });
  }
  radios_[Products]->SetState(true);
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

int WexVekTotalUnassignDlg::GetDeleteOption() const {
  for (int i = 0; i < 3; ++i)
    if (radios_[i] && radios_[i]->GetState()) return i;
  return None;
}
