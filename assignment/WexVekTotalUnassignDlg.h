#pragma once
// What a total unassign removes: products, resources or both, as three radio
// buttons in one column, products checked at first.
#include "TavDialog.h"

class WexVekTotalUnassignDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "WexVekTotalUnassignDlg";
  // The host's style value that makes OK the default button.
  static constexpr int kDefaultButtonStyle = 1024;
  enum Option { Products = 0, Resources = 1, All = 2, None = 3 };

  explicit WexVekTotalUnassignDlg(TavDlgWidget* father);
  ~WexVekTotalUnassignDlg() override;
  void Build() override;
  // 0, 1 or 2 for the first checked button in dialog order; 3 when none is.
  int GetDeleteOption() const;

  TavDlgRadioButton* Radio(int option) const { return option >= 0 && option < 3 ? radios_[option] : nullptr; }

private:
  TavDlgRadioButton* radios_[3] = {};
  TavDlgPushButton *ok_ = nullptr, *cancel_ = nullptr;
};
