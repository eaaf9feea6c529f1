#pragma once
// The name of a new child assembly, typed on one line.
#include "TavDialog.h"

class OrvVekASTViewerAddItemDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekASTViewerAddItemDlg";
  explicit OrvVekASTViewerAddItemDlg(TavDlgWidget* father = nullptr);
  ~OrvVekASTViewerAddItemDlg() override;
  // The line as OK took it.
  const TavUnicodeString& GetName() const { return name_; }
  TavDlgEditor* Editor() const { return editor_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  TavUnicodeString name_;
  TavDlgEditor* editor_ = nullptr;
  TavDlgPushButton *ok_ = nullptr, *cancel_ = nullptr;
};
