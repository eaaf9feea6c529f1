#pragma once
// The copy dialog: the copy's name and what becomes of its relations.
#include "TavDialog.h"

class OrvVekCopyProcessAndRscDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekCopyProcessAndRscDlg";
  // The copy options, by the three check buttons.
  enum CopyOptions { None = 0, CopyRsc = 1, CopyRscPrdLinks = 2, RscLinks = 3, RscPrdLinks = 4, PrdLinks = 5 };

  explicit OrvVekCopyProcessAndRscDlg(TavDlgWidget* father = nullptr);
  void Build() override;

  void SetCopyName(const TavUnicodeString& name);
  TavUnicodeString GetCopyName() const;
  CopyOptions GetCopyOptions() const;
  bool WillResourcesBeCopied() const;

  TavDlgEditor* NameEditor() const { return name_; }
  TavDlgCheckButton* CopyRscButton() const { return copyRsc_; }
  TavDlgCheckButton* RscLinksButton() const { return rscLinks_; }
  TavDlgCheckButton* PrdLinksButton() const { return prdLinks_; }

private:
  // OK only with a name to give the copy.
  void OnEditInput();
  // Copying the resources and keeping the links to the source resources exclude each other.
  void OnCheck(TavDlgCheckButton* checked, TavDlgCheckButton* other);

  TavDlgEditor* name_ = nullptr;
  TavDlgCheckButton *copyRsc_ = nullptr, *rscLinks_ = nullptr, *prdLinks_ = nullptr;
  TavDlgPushButton* ok_ = nullptr;
};
