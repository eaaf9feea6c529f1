#pragma once
// The part-number box of the assembly dialog: the user types a part number; OK
// hands it to the dialog, clears the box and hides it; closing the window hides and
// clears it.
// No number is computed: the text is the user's.
#include <functional>

#include "TavDialog.h"

class OrvMfgAssyPartNumGenerator : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvMfgAssyPartNumGenerator";
  // `onOk` receives the typed text; `onClose` runs when the box is closed.
  OrvMfgAssyPartNumGenerator(TavDlgWidget* father, std::function<void(const TavUnicodeString&)> onOk,
                             std::function<void()> onClose);
  ~OrvMfgAssyPartNumGenerator() override;
  void Show();
  TavDlgEditor* Editor() const { return editor_; }
  TavDlgPushButton* OKButton() const { return ok_; }

private:
  void OnOK();
  void OnClose();
  std::function<void(const TavUnicodeString&)> onOk_;
  std::function<void()> onClose_;
  TavDlgEditor* editor_ = nullptr;
  TavDlgPushButton* ok_ = nullptr;
};
