#pragma once
// The dialog's list of picked objects: a multi-column list whose rows carry the
// icon of their type (the toolkit's lists carry none, so it is kept here and
// shown in the dump), and a height in visible lines.
#include <string>
#include <vector>

#include "TavDialog.h"

class OrvMfgAssyPartsList : public TavDlgMultiList {
public:
  OrvMfgAssyPartsList(TavDlgWidget* father, std::string name) : TavDlgMultiList(father, std::move(name)) {}
  void SetVisibleLineCount(int lines) { visibleLines_ = lines; }
  int GetVisibleLineCount() const { return visibleLines_; }
  // The icon of a row; empty for none. Rows beyond the list are ignored.
  void SetRowIcon(int row, std::string icon);
  std::string GetRowIcon(int row) const;
  // Empties the rows and their icons.
  void ClearRows();

protected:
  void DumpDetails(std::string& out, int indent) const override;

private:
  int visibleLines_ = 0;
  std::vector<std::string> icons_;
};
