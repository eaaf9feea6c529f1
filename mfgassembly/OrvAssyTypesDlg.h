#pragma once
// The type of a manufactured assembly, as four exclusive radio buttons.
#include <array>

#include "TavDialog.h"

class OrvAssyTypesDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvAssyTypesDlg";
  // Types 1..4: assembly, manufacturing kit, output, AST; 0 none.
  enum OrvAssyTypeOpt { None = 0, Assembly = 1, ManufacturingKit = 2, MAOutput = 3, AST = 4 };

  explicit OrvAssyTypesDlg(TavDlgWidget* father = nullptr);
  ~OrvAssyTypesDlg() override;
  // Checks the button of a type (none for 0 or an unknown type).
  void SetType(int type);
  // The checked type; 0 when none is checked.
  int GetType() const;
  TavDlgRadioButton* Radio(int type) const { return type >= 1 && type <= 4 ? radios_[static_cast<std::size_t>(type - 1)] : nullptr; }

private:
  void OnRadio(int type);
  std::array<TavDlgRadioButton*, 4> radios_{};
};
