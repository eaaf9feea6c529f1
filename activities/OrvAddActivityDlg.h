#pragma once
// The add-activity dialog: the activity types as a tree, the insert options, and
// OK, Apply and Close. The command reads the chosen option; the tree's nodes are
// picked like any object, through the command's tree agent.
#include <unordered_map>

#include "OrvVekActivityDlgNavigateObject.h"
#include "TavDialog.h"
#include "TavNavigBox.h"

class TavOrvAddActivityCmd;

class OrvAddActivityDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvAddActivityDlg";
  enum AddingOption { AddAsChild = 0, AddAsSuccessor = 1, QuickSequenceAssignment = 2, NoOption = 3 };

  explicit OrvAddActivityDlg(TavOrvAddActivityCmd& command);
  ~OrvAddActivityDlg() override;
  void Build() override;
  // Marks the tree as not yet filled: the next update builds it.
  void OnAfterCreate() { fillTree_ = true; }

  // Fills the tree from the command's lists: outside the hub once after the dialog
  // is made, in the hub at every update (a flat list of the allowed types).
  void UpdateLists();
  void RedrawNavigBox();
  void ExpandActivityNavigBox();
  void ExpandTree(const TavNavigNode& node);
  // Shows and selects the node of that type, if the tree has one.
  void ShowSelectedActivity(const TavUnicodeString& type);

  void OnAddAsChild() { SetInsertType(AddAsChild); }
  void OnAddAsBrother() { SetInsertType(AddAsSuccessor); }
  void OnQuickSequenceAssign() { SetInsertType(QuickSequenceAssignment); }
  // The checked option; NoOption when the dialog has no option buttons yet.
  int GetInsertType() const;
  void SetInsertType(int option);
  void DisableInsertType(int option);
  void EnableInsertType(int option);
  void ShowInsertType(int option, bool shown);

  TavDlgNavigBox* Tree() const { return tree_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* ApplyButton() const { return apply_; }
  TavDlgPushButton* CloseButton() const { return close_; }
  TavDlgLabel* TypeLabel() const { return typeLabel_; }
  TavDlgLabel* TargetLabel() const { return targetLabel_; }
  // The node of a type made in the last fill, or null.
  const Ref<OrvVekActivityDlgNavigateObject>* FindTypeNode(const TavUnicodeString& type) const;

private:
  void FillFromLibraries(const std::vector<TavUnicodeString>& types, const std::vector<TavUnicodeString>& subTypes,
                         const std::vector<TavUnicodeString>& icons, const std::vector<TavUnicodeString>& subIcons);
  void FillFlat(const std::vector<TavUnicodeString>& types, const std::vector<TavUnicodeString>& biwTypes);

  TavOrvAddActivityCmd& command_;
  TavDlgNavigBox* tree_ = nullptr;
  TavDlgRadioButton* radios_[3] = {nullptr, nullptr, nullptr};
  TavDlgPushButton *ok_ = nullptr, *apply_ = nullptr, *close_ = nullptr;
  TavDlgLabel *typeLabel_ = nullptr, *targetLabel_ = nullptr;
  bool fillTree_ = false;
  std::unordered_map<std::string, Ref<OrvVekActivityDlgNavigateObject>> typeNodes_;
};
