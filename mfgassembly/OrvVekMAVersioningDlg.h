#pragma once
// The assemblies the modification log reports as changed, to choose from, and the
// assemblies that contain the chosen ones (which are versioned with them).
#include "TavDialog.h"
#include "TavPPR.h"

class OrvVekMAVersioningIndex;

class OrvVekMAVersioningDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekMAVersioningDlg";
  static constexpr int kMinWidth = 562, kMinHeight = 284;
  explicit OrvVekMAVersioningDlg(TavDlgWidget* father = nullptr);
  ~OrvVekMAVersioningDlg() override;

  // Fills the modified list, ticks "AllSelectCB" and shows the assemblies containing them.
  void Initialize(const std::vector<Ref<OrvIMfgAssembly>>& modified, const OrvVekMAVersioningIndex* index);
  // The selected modified assemblies, in selection (row) order.
  std::vector<Ref<OrvIMfgAssembly>> SelectedModified() const;
  // The assemblies containing the selected ones, as the second list shows them.
  const std::vector<Ref<OrvIMfgAssembly>>& Indirect() const { return indirect_; }
  void OnSelectModListModifyNotification();
  void OnAllSelect();

  TavDlgSelectorList* ModifiedList() const { return modList_; }
  TavDlgSelectorList* IndirectList() const { return indList_; }
  TavDlgCheckButton* AllSelect() const { return allSelect_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  void ShowIndirect(const std::vector<Ref<OrvIMfgAssembly>>& list);
  std::vector<Ref<OrvIMfgAssembly>> modified_, indirect_;
  const OrvVekMAVersioningIndex* index_ = nullptr;
  TavDlgSelectorList *modList_ = nullptr, *indList_ = nullptr;
  TavDlgCheckButton *allSelect_ = nullptr, *allSelect2_ = nullptr;
  TavDlgPushButton *ok_ = nullptr, *cancel_ = nullptr;
};
