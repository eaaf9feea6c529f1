#pragma once
// The data the add-activity command's client keeps: the identifier of the last
// activity made and three flags, all true until a client says otherwise.
#include "OrvIInsertActivityDlgServices.h"

class OrvEInsertActivityDlgServices final : public virtual OrvIInsertActivityDlgServices {
public:
  HRESULT GetInsertActivityIdentifier(TavUnicodeString& identifier) override;
  HRESULT SetInsertActivityIdentifier(TavUnicodeString& identifier) override;
  HRESULT SetFlagForInsertAcitivityOnOK(bool flag) override;
  bool DoCreateActivityOnOkInInsertActivityDlg() override { return createOnOK_; }
  HRESULT SetFlagForAddSuccessorActivityOption(bool flag) override;
  HRESULT SetFlagForQuickAssignmentOption(bool flag) override;
  bool DoShowAddSuccessorActivityOptionInInsertActivityDlg() override { return showSuccessor_; }
  bool DoShowQuickAssignmentOptionInInsertActivityDlg() override { return showQuick_; }
  HRESULT StartInsertActivityCmdInShareMode() override;
  HRESULT ResetSharedStartModeOfInsertActivityCmd() override;

private:
  TavUnicodeString identifier_;
  bool createOnOK_ = true, showSuccessor_ = true, showQuick_ = true;
};

// The client object and the registration of its data extension.
Ref<TavBaseUnknown> OrvInsertActivityClient();
void RegisterInsertActivityDlgServices();
