#pragma once
// Lists the products and resources displaced from their design positions and puts
// all of them, or those selected (in the dialog or by picks), back.
#include <memory>

#include "OrvVekDesignRestore.h"
#include "OrvVekRestoreDesignPosDlg.h"
#include "TavCommand.h"

class OrvVekRestoreDesignPosCmd : public TavStateCommand {
public:
  OrvVekRestoreDesignPosCmd();
  ~OrvVekRestoreDesignPosCmd() override;
  void BuildGraph() override;
  bool Cancel() override;
  OrvVekRestoreDesignPosDlg* Dialog() const { return dialog_.get(); }

private:
  bool CheckProd();
  bool Restore();
  bool CancelRestore();

  std::unique_ptr<OrvVekDesignRestore> engine_;
  std::unique_ptr<TavPathElementAgent> productAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvVekRestoreDesignPosDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekRestoreDesignPosCmd();
