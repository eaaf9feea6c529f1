#pragma once
// How another command steers the add-activity command: which options its dialog
// offers, whether OK really creates, and which activity it made. A data extension
// of the command's client object (TavOrvAddActivityCmd::GetClient()).
#include "TavBase.h"

class OrvIInsertActivityDlgServices : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIInsertActivityDlgServices);
  virtual HRESULT GetInsertActivityIdentifier(TavUnicodeString& identifier) = 0;
  virtual HRESULT SetInsertActivityIdentifier(TavUnicodeString& identifier) = 0;
  virtual HRESULT SetFlagForInsertAcitivityOnOK(bool flag) = 0;
  virtual bool DoCreateActivityOnOkInInsertActivityDlg() = 0;
  virtual HRESULT SetFlagForAddSuccessorActivityOption(bool flag) = 0;
  virtual HRESULT SetFlagForQuickAssignmentOption(bool flag) = 0;
  virtual bool DoShowAddSuccessorActivityOptionInInsertActivityDlg() = 0;
  virtual bool DoShowQuickAssignmentOptionInInsertActivityDlg() = 0;
  virtual HRESULT StartInsertActivityCmdInShareMode() = 0;
  virtual HRESULT ResetSharedStartModeOfInsertActivityCmd() = 0;
};
