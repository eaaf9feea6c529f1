#include "OrvAssyTypesDlg.h"

#include "TavServices.h"

namespace {
constexpr const char* kNames[4] = {"optAssembly", "optMK", "optMAoutput", "optAST"};
constexpr const char* kTitles[4] = {"Assembly", "Manufacturing kit", "Manufactured assembly output", "AST"};
TavUnicodeString Text(const std::string& key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvAssyTypesDlg::kCatalog, key, {}, fallback);
}
}  // namespace

OrvAssyTypesDlg::OrvAssyTypesDlg(TavDlgWidget* father) : TavDlgDialog(father, "OrvAssyTypesDlg", 0, kCatalog) {
  SetVisibility(false);
  SetTitle(Text("Title", "Assembly Type"));
  auto* frame = Add<TavDlgFrame>("TypeFrame");
  frame->SetTitle(Text("TypeFrame.Title", "Type"));
  for (int i = 0; i < 4; ++i) {
    radios_[static_cast<std::size_t>(i)] = frame->Add<TavDlgRadioButton>(kNames[i]);
    radios_[static_cast<std::size_t>(i)]->SetTitle(Text(std::string(kNames[i]) + ".Title", kTitles[i]));
    AddAnalyseNotificationCB(radios_[static_cast<std::size_t>(i)], TavDlgNotification::Modify, [this, i] { OnRadio(i + 1); });
  }
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

OrvAssyTypesDlg::~OrvAssyTypesDlg() {
  for (auto* r : radios_) RemoveAnalyseNotificationCB(r, TavDlgNotification::Modify);
}

void OrvAssyTypesDlg::OnRadio(int type) {
  // Radio buttons of one group: checking one clears the others; one cannot be unchecked alone.
  if (!Radio(type)->GetState()) Radio(type)->SetState(true);
  SetType(type);
}

void OrvAssyTypesDlg::SetType(int type) {
  for (int t = 1; t <= 4; ++t) Radio(t)->SetState(t == type);
}

int OrvAssyTypesDlg::GetType() const {
  for (int t = 1; t <= 4; ++t)
    if (Radio(t)->GetState()) return t;
  return None;
}
