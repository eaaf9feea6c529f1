#pragma once
// Sets the state conditions of an activity, or of a resource's behaviour: pick the
// activity or resource, then edit its begin conditions, 3D context and end
// conditions in the dialog; OK writes them.
#include <memory>

#include "OrvVekActivitiesStateDlg.h"
#include "TavCommand.h"

class OrvDefineConditionCmd : public TavStateCommand {
public:
  OrvDefineConditionCmd();
  ~OrvDefineConditionCmd() override;
  void BuildGraph() override;
  bool Cancel() override;
  OrvVekActivitiesStateDlg* Dialog() const { return dialog_.get(); }

  // The agent's filter: an activity, or a product that can have a behaviour.
  bool IsActOrResourceWithBehaviour(TavAcquisitionAgent* agent);

private:
  bool IsActivityOrResource();
  bool ShowActivitiesStateDlg();
  bool IsOKDone();
  bool CloseDialog();

  bool isActivity_ = false, isResourceWithBehaviour_ = false;
  Ref<TavBaseUnknown> picked_;  // what the filter accepted
  std::unique_ptr<TavPathElementAgent> objectAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvVekActivitiesStateDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvDefineConditionCmd();
