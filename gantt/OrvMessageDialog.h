#pragma once
// The resource Gantt's prompt: while it is shown, further picks add rows to the
// chart; its OK, Cancel or close ends the command. Built hidden.
#include "TavDialog.h"

class OrvMessageDialog : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekResourceGanttWndCmd";
  OrvMessageDialog();
  void Build() override;
};
