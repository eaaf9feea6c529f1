#pragma once
// The copy resource dialog: the resource to copy, the parent it goes below and the
// name of the copy. OK only with both picks and a name.
#include "TavDialog.h"

class OrvVekCopyResourceDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekCopyResourceDlg";
  explicit OrvVekCopyResourceDlg(TavDlgWidget* father = nullptr);
  void Build() override;

  TavUnicodeString GetResourceName() const;
  void SetResourceName(const TavUnicodeString& name);
  // The picks as the dialog shows them (empty: not picked yet).
  void SetResource(const TavUnicodeString& name);
  void SetParent(const TavUnicodeString& name);
  // A pick changed: OK follows what is there.
  void OnSelectionChange();

private:
  void ResTxtOnEditInput();

  TavDlgEditor *resource_ = nullptr, *parent_ = nullptr, *name_ = nullptr;
  TavDlgPushButton* ok_ = nullptr;
};
