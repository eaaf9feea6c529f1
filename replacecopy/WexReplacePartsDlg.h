#pragma once
// The confirmation of the replace-parts command: which part takes whose place.
#include "TavDialog.h"
#include "TavPPR.h"

class WexReplacePartsDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "WexReplacePartsDlg";

  explicit WexReplacePartsDlg(TavDlgWidget* father);
  void Build() override;
  // "NameLabel" names both parts (a missing one as "?").
  void SetParts(const Ref<TavIProduct>& oldPart, const Ref<TavIProduct>& newPart);
};
