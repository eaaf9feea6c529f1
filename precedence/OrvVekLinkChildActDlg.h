#pragma once
// The child linker's dialog: the parent activities whose children are linked, and
// how (remove the links, serially, in parallel between Start and Stop).
#include <functional>

#include "TavDialog.h"
#include "TavPPR.h"

class OrvVekLinkChildActDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekLinkChildActDlg";
  static constexpr int kDefaultLinkType = 1;  // serial
  explicit OrvVekLinkChildActDlg(TavDlgWidget* father = nullptr);
  ~OrvVekLinkChildActDlg() override;

  // Adds a line for the activity unless the activity is listed already (two
  // activities with one label are two lines). True when added.
  bool AddItem(const Ref<TavBaseUnknown>& activity, const TavUnicodeString& line);
  const std::vector<Ref<TavBaseUnknown>>& GetActivities() const { return activities_; }
  int GetLinkType() const { return linkType_; }
  // Empties the list and sets the default link type and button states.
  void Reset();
  // Fills the list with the parents the command offers (the "ListParentsButton").
  void SetParentLister(std::function<void()> lister) { lister_ = std::move(lister); }
  void RemoveSelected();

  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* ApplyButton() const { return apply_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  void UpdateSensitivity();
  void SetLinkType(int type);
  std::vector<Ref<TavBaseUnknown>> activities_;
  int linkType_ = kDefaultLinkType;
  std::function<void()> lister_;
  TavDlgSelectorList* list_ = nullptr;
  TavDlgPushButton *listParents_ = nullptr, *remove_ = nullptr, *ok_ = nullptr, *apply_ = nullptr, *cancel_ = nullptr;
  TavDlgRadioButton* radios_[3] = {};
};
