#pragma once
// The error window of the child linker: a heading and one line per error.
#include "TavDialog.h"

class OrvVekShowErrorsDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekShowErrorsDlg";
  explicit OrvVekShowErrorsDlg(TavDlgWidget* father = nullptr);
  ~OrvVekShowErrorsDlg() override;
  // Replaces the heading and the lines, and shows the window.
  void ShowErrors(const TavUnicodeString& heading, const std::vector<TavUnicodeString>& lines);
  TavDlgSelectorList* Lines() const { return list_; }

private:
  TavDlgLabel* heading_ = nullptr;
  TavDlgSelectorList* list_ = nullptr;
  TavDlgPushButton* close_ = nullptr;
};
