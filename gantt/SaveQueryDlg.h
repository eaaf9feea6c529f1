#pragma once
// Asks for the name a Gantt query is saved under.
#include "TavDialog.h"

class SaveQueryDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvGanttSearchDlg";
  SaveQueryDlg();
  void Build() override;
  TavUnicodeString GetName() const { return name_ ? name_->GetText() : TavUnicodeString(); }
  void SetName(const TavUnicodeString& n) {
    if (name_) name_->SetText(n);
  }

private:
  TavDlgEditor* name_ = nullptr;
};
