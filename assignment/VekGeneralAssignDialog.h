#pragma once
// The relation types an activity offers for the picked object, one per line; OK
// becomes possible once a line is selected.
#include "TavDialog.h"

class VekGeneralAssignDialog : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "VekGeneralAssignDialog";
  explicit VekGeneralAssignDialog(TavDlgWidget* father);
  ~VekGeneralAssignDialog() override;

  void CreateListOfOptions(const std::vector<TavUnicodeString>& options);
  void OnSelection();
  // The first selected line (from 0) and its text. False without a list; with no
  // line selected, true with index 0 and the text untouched.
  bool getSelectedOption(TavUnicodeString& text, int& index) const;

  TavDlgMultiList* List() const { return list_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  TavDlgMultiList* list_ = nullptr;
  TavDlgPushButton *ok_ = nullptr, *cancel_ = nullptr;
};
