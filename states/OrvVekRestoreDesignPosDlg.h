#pragma once
// The displaced products and resources, and whether to put back all of them or the
// selected ones; picks in the tree select too.
#include <unordered_map>

#include "TavCommand.h"
#include "TavDialog.h"
#include "TavPPR.h"

class OrvVekRestoreDesignPosDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekRestoreDesignPosDlg";
  explicit OrvVekRestoreDesignPosDlg(TavDlgWidget* father = nullptr);
  ~OrvVekRestoreDesignPosDlg() override;

  // PopulatePrdResList: the displaced products and resources, each in its list.
  void PopulatePrdResList(const std::vector<Ref<TavBaseUnknown>>& displaced);
  // The pick of the agent: a displaced one joins the selection (once); another gets
  // the warning and the selection stays as it was. True when selected.
  bool UpdateList(TavPathElementAgent* agent);
  bool IsRestoreAll() const { return all_->GetState(); }
  // The displaced list, products then resources.
  const std::vector<Ref<TavBaseUnknown>>& Displaced() const { return displaced_; }
  // SelectedProducts: the selected rows' objects, products then resources, each once.
  std::vector<Ref<TavBaseUnknown>> SelectedProducts() const;
  // EnableOkButton: OK only when there is something to restore.
  void EnableOkButton();

  TavDlgRadioButton* RestoreAllButton() const { return all_; }
  TavDlgRadioButton* RestoreSelectedButton() const { return selected_; }
  TavDlgSelectorList* ProductList() const { return products_; }
  TavDlgSelectorList* ResourceList() const { return resources_; }
  TavDlgEditor* CountField() const { return count_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  void OnRadio(TavDlgRadioButton* on);
  void Refresh();
  std::vector<Ref<TavBaseUnknown>> displaced_;
  // Row of each listed object, by the object it extends: a pick is found in O(1).
  struct Row {
    TavDlgSelectorList* list;
    int row;
  };
  std::unordered_map<const TavBaseUnknown*, Row> rows_;
  std::vector<Ref<TavBaseUnknown>> productRows_, resourceRows_;
  TavDlgRadioButton *all_ = nullptr, *selected_ = nullptr;
  TavDlgSelectorList *products_ = nullptr, *resources_ = nullptr;
  TavDlgEditor* count_ = nullptr;
  TavDlgPushButton *ok_ = nullptr, *cancel_ = nullptr;
};
