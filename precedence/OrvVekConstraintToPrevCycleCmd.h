#pragma once
// Edits the list of activities of the previous cycle that an activity is
// constrained to: pick the activity, then the activities to add; OK writes the list.
#include <memory>

#include "OrvVekConstraintToPrevCycleDlg.h"
#include "TavCommand.h"

class OrvVekConstraintToPrevCycleCmd : public TavStateCommand {
public:
  OrvVekConstraintToPrevCycleCmd();
  ~OrvVekConstraintToPrevCycleCmd() override;
  void BuildGraph() override;
  OrvVekConstraintToPrevCycleDlg* Dialog() const { return dialog_.get(); }

private:
  bool HasPrevCycleConstraints();
  bool OpenDialog();
  bool AddToList();
  bool CreateConstraints();
  bool CloseDialog();

  Ref<TavBaseUnknown> activity_;
  std::unique_ptr<TavPathElementAgent> objectAgent_, object2Agent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvVekConstraintToPrevCycleDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekConstraintToPrevCycleCmd();
