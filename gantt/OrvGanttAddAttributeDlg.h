#pragma once
// The attribute-column dialog: the picked object's attributes on the left, the
// chosen columns on the right in column order. OK stores the choice as the
// column-visibility string ("$$A$$B$$") and applies it to the current Gantt window.
#include <memory>
#include <string>
#include <vector>

#include "TavDialog.h"
#include "TavGantt.h"

class OrvGanttAddAttributeDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvGanttAddAttributeDlg";

  explicit OrvGanttAddAttributeDlg(TavDlgWidget* father = nullptr);
  ~OrvGanttAddAttributeDlg() override;
  // Builds the widgets for these attributes (internal names) and the stored choice.
  void Build(const std::vector<TavUnicodeString>& attributes);
  void Build() override { Build(attributes_); }

  // Stores the choice and applies it; false (the dialog stays) when it could not be saved.
  bool OnOK();
  void OnCancel();
  bool SaveToSettings();

  void PushAddButton();
  void PushRemoveButton();
  void PushUpButton();
  void PushDownButton();
  void PushTopButton();
  void PushBottomButton();
  // Sorts the chosen columns by their display names.
  void PushSortABCPromptButton();
  // Sorts the list whose column title was clicked.
  void SortColumnOnClick(TavDlgMultiList* list);

  // The chosen attributes of a column-visibility string, in order, each once. Text
  // before the first "$$" is no column; blanks at the ends of a piece are not part of it.
  static void BuildCheckList(const TavUnicodeString& value, std::vector<TavUnicodeString>& list);
  // "$$A$$B$$"; "" for no column.
  static TavUnicodeString BuildColumnString(const std::vector<TavUnicodeString>& list);
  // Whether a name survives the column-visibility string unchanged: not empty, no
  // blank at its ends, no "$$" in it and no "$" at its end (that "$" would join the
  // separator after it).
  static bool CanBeStored(const TavUnicodeString& name);
  static TavUnicodeString GetNLSAttributeName(const TavUnicodeString& name);
  static std::vector<TavUnicodeString> GetNLSAttributeNameList(const std::vector<TavUnicodeString>& names);

  // State the tests look at: internal names in list order, what the last OK changed.
  const std::vector<TavUnicodeString>& AllAttributes() const { return left_; }
  const std::vector<TavUnicodeString>& SelectedAttributes() const { return right_; }
  const std::vector<TavUnicodeString>& LastAdded() const { return added_; }
  const std::vector<TavUnicodeString>& LastRemoved() const { return removed_; }

private:
  // A list's rows: internal names, shown by display name, with the selected ones.
  struct Rows {
    TavDlgMultiList* list = nullptr;
    std::vector<TavUnicodeString>* names = nullptr;
  };
  void BuildWidgets();
  TavDlgMultiList* AddList(TavDlgWidget* frame, const std::string& name, const char* columnKey, const char* fallback);
  void Show(const Rows& rows, const std::vector<int>& selected);
  void MoveSelected(const Rows& from, const Rows& to);
  // Reorders the right list: `order` holds old row numbers in their new order.
  void Reorder(const std::vector<int>& order);
  void SortRows(const Rows& rows);
  void ApplyToCurrentWindow(const std::vector<TavUnicodeString>& chosen);
  void ShowError(const TavUnicodeString& text);
  Rows Left() { return {leftList_, &left_}; }
  Rows Right() { return {rightList_, &right_}; }

  std::unique_ptr<OrvIVEKGanttSettingAtt> settings_;
  std::vector<TavUnicodeString> attributes_, left_, right_, previous_, added_, removed_;
  TavDlgMultiList *leftList_ = nullptr, *rightList_ = nullptr;
};
