#pragma once
// The activities of the previous cycle an activity is constrained to, as an
// editable list: one row per activity.
#include "TavDialog.h"
#include "TavPPR.h"

class OrvVekConstraintToPrevCycleDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekConstraintToPrevCycleDlg";
  explicit OrvVekConstraintToPrevCycleDlg(TavDlgWidget* father = nullptr);
  ~OrvVekConstraintToPrevCycleDlg() override;
  void SetActivity(const Ref<TavBaseUnknown>& activity, const std::vector<Ref<TavBaseUnknown>>& constraints);
  // Adds a row; an activity already listed (by model identifier) is ignored. True when added.
  bool AddToList(const Ref<TavBaseUnknown>& activity);
  void RemoveSelected();
  const std::vector<Ref<TavBaseUnknown>>& GetList() const { return list_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  void Refill();
  std::vector<Ref<TavBaseUnknown>> list_;
  std::vector<int> ids_;  // model identifiers, row by row
  TavDlgMultiList* rows_ = nullptr;
  TavDlgPushButton *remove_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
};
