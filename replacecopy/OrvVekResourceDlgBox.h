#pragma once
// The form of the create-resource command: name, quantity, category and type, and
// behind "More" the mean times between failures and to repair.
#include <string>
#include <vector>

#include "TavDialog.h"

class OrvVekResourceDlgBox : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekResourceDlgBox";
  static constexpr const char* kTypeLibrary = "ResourceWex.feat";
  static constexpr int kMaxQuantity = 5000;
  static constexpr int kMaxTime = 500000;

  explicit OrvVekResourceDlgBox(TavDlgWidget* father);
  ~OrvVekResourceDlgBox() override;
  void Build() override;

  TavUnicodeString GetResourceName() const;
  TavUnicodeString GetResourceCategory() const;
  // The chosen type; empty when none is chosen.
  TavUnicodeString GetResourceType() const;
  int GetResourceQuantity() const;
  int GetMTBF() const;
  int GetMTTR() const;
  // Why the form cannot make resources (no name, no type, a count that is no whole
  // number), or empty.
  TavUnicodeString CheckValues() const;

  // The types of the library; false with the library's error when it cannot be read.
  bool FillCombo(std::string* error = nullptr);
  void OnMore();
  void OnClearAll();
  bool IsMoreShown() const;

  TavDlgEditor* NameEditor() const { return name_; }
  TavDlgSpinner* QuantitySpinner() const { return quantity_; }
  TavDlgEditor* CategoryEditor() const { return category_; }
  TavDlgCombo* TypeCombo() const { return type_; }
  TavDlgSpinner* MTBFSpinner() const { return mtbf_; }
  TavDlgSpinner* MTTRSpinner() const { return mttr_; }
  TavDlgPushButton* OKButton() const { return ok_; }

private:
  TavDlgEditor *name_ = nullptr, *category_ = nullptr;
  TavDlgSpinner *quantity_ = nullptr, *mtbf_ = nullptr, *mttr_ = nullptr;
  TavDlgCombo* type_ = nullptr;
  TavDlgFrame* more_ = nullptr;
  TavDlgPushButton *moreLess_ = nullptr, *ok_ = nullptr;
};
