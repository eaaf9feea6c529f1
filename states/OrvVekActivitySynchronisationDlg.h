#pragma once
// The start-start and end-end partners of an activity, one tab each, as editable
// lists: picks add to the shown tab, Remove takes the selected lines away.
#include "OrvVekActivitySynchronisation.h"
#include "TavDialog.h"

class OrvVekActivitySynchronisationDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekActivitySynchronisationDlg";
  // StartEndSelection values: the tabs.
  static constexpr int kStartStart = OrvVekActivitySynchronisation::kStartStart;
  static constexpr int kEndEnd = OrvVekActivitySynchronisation::kEndEnd;
  explicit OrvVekActivitySynchronisationDlg(TavDlgWidget* father = nullptr);
  ~OrvVekActivitySynchronisationDlg() override;

  void SetFirstActivity(const Ref<TavBaseUnknown>& activity);
  // Replaces one tab's list (duplicates dropped).
  void InitializeList(int selection, const std::vector<Ref<TavBaseUnknown>>& activities);
  // Appends to the shown tab's list; false when it is listed there already.
  bool AddToList(const Ref<TavBaseUnknown>& activity);
  const std::vector<Ref<TavBaseUnknown>>& GetList(int selection) const { return lists_[Index(selection)].Items(); }
  // Both lists, as the checks and the writing read them.
  const OrvVekActivitySynchronisation::Lists& PartnerLists() const { return lists_; }
  bool IsListed(int selection, const Ref<TavBaseUnknown>& activity) const;
  void SetStartEndSelection(int selection);
  int GetStartEndSelection() const { return shown_; }
  // Removes the selected lines of the shown tab's list.
  void OnRemove();
  // The user chose a tab: it becomes the shown one.
  void OnTabSelect();

  TavDlgTabContainer* Tabs() const { return tabs_; }
  TavDlgMultiList* ListWidget(int selection) const { return widgets_[Index(selection)]; }
  TavDlgPushButton* RemoveButton() const { return remove_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* ApplyButton() const { return apply_; }
  TavDlgPushButton* CloseButton() const { return close_; }

private:
  static int Index(int selection) { return selection == kEndEnd ? 1 : 0; }
  void Refill(int selection);
  OrvVekActivitySynchronisation::Lists lists_;
  TavDlgMultiList* widgets_[2] = {nullptr, nullptr};
  int shown_ = kStartStart;
  TavDlgTabContainer* tabs_ = nullptr;
  TavDlgPushButton *remove_ = nullptr, *ok_ = nullptr, *apply_ = nullptr, *close_ = nullptr;
};
