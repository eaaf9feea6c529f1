#pragma once
// Process constraint verification: every pick of an activity shows, in the
// dialog and the viewer, what is built before, beside and after it. The command
// runs until its dialog closes.
#include <memory>

#include "OrvVekProcessConstVerificationDlg.h"
#include "TavCommand.h"

class OrvVekProcessConstVerificationCmd : public TavStateCommand {
public:
  OrvVekProcessConstVerificationCmd();
  ~OrvVekProcessConstVerificationCmd() override;
  void BuildGraph() override;
  bool Cancel() override;

  // The picked activity goes to the dialog.
  bool SetProcessDlg();

  OrvVekProcessConstVerificationDlg* Dialog() const { return dialog_.get(); }

private:
  std::unique_ptr<TavPathElementAgent> activityAgent_;
  std::unique_ptr<TavDialogAgent> closeAgent_;
  std::unique_ptr<OrvVekProcessConstVerificationDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekProcessConstVerificationCmd();
