#pragma once
// The resources attached to the tree to copy, one row each: the resource, the name
// of its copy and the father product the copy goes below. A row's "..." button
// lets the user pick the father; rows of resources copied with their father are
// shown but cannot be edited.
#include <vector>

#include "TavDialog.h"
#include "TavPPR.h"

class OrvVekCopyProcessAttachedRscDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekCopyProcessAttachedRscDlg";
  struct Row {
    TavUnicodeString resource, newName, parent;
    bool editable = true;
  };

  explicit OrvVekCopyProcessAttachedRscDlg(TavDlgWidget* father = nullptr);
  // Builds one line of widgets per row (named "<widget>#<row>", rows from 1).
  void SetRows(const std::vector<Row>& rows);
  int GetRowCount() const { return static_cast<int>(rows_.size()); }
  TavUnicodeString GetNewName(int row) const;   // 0-based
  TavUnicodeString GetParentName(int row) const;
  void SetParentName(int row, const TavUnicodeString& name);
  void SetNewName(int row, const TavUnicodeString& name);

  // The "..." buttons, in row order, and the row of the last one pushed (-1: none).
  const std::vector<TavDlgPushButton*>& DotButtons() const { return dots_; }
  int GetPushedRow() const { return pushed_; }
  // A row's new name typed by the user: rows of children follow their father's.
  void SetOnNameChange(std::function<void(int row)> f) { onName_ = std::move(f); }

private:
  struct Widgets {
    TavDlgEditor *resource, *name, *parent;
    TavDlgPushButton *remove, *dot;
  };
  std::vector<Widgets> rows_;
  std::vector<TavDlgPushButton*> dots_;
  TavDlgFrame *resources_ = nullptr, *names_ = nullptr, *parents_ = nullptr;
  int pushed_ = -1;
  std::function<void(int)> onName_;
};
