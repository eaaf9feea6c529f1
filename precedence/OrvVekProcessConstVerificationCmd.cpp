#include "OrvVekProcessConstVerificationCmd.h"

#include "PrecedenceTrace.h"

namespace {
constexpr const char* kClass = "OrvVekProcessConstVerificationCmd";
}

std::unique_ptr<TavStateCommand> fctCreateOrvVekProcessConstVerificationCmd() {
  return std::make_unique<OrvVekProcessConstVerificationCmd>();
}

OrvVekProcessConstVerificationCmd::OrvVekProcessConstVerificationCmd() : TavStateCommand(kClass) {}

OrvVekProcessConstVerificationCmd::~OrvVekProcessConstVerificationCmd() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "~OrvVekProcessConstVerificationCmd");
}

void OrvVekProcessConstVerificationCmd::BuildGraph() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "BuildGraph");
  using Self = OrvVekProcessConstVerificationCmd;
  auto* select = GetInitialState("SelectActivity");

  activityAgent_ = std::make_unique<TavPathElementAgent>("ActivityObject");
  activityAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  AddCSOClient(activityAgent_.get());

  dialog_ = std::make_unique<OrvVekProcessConstVerificationDlg>(nullptr);
  dialog_->Build();  // hidden until the first pick
  closeAgent_ = std::make_unique<TavDialogAgent>("CloseAgent");
  for (const char* n : {TavDlgNotification::Close, TavDlgNotification::Cancel})
    closeAgent_->AcceptOnNotify(dialog_.get(), n);

  select->AddDialogAgent(activityAgent_.get());
  select->AddDialogAgent(closeAgent_.get());
  // The dialog has restored the viewer (or kept it) before its close reaches here.
  AddTransition(select, nullptr, IsOutputSetCondition(closeAgent_.get()));
  AddTransition(select, select, IsOutputSetCondition(activityAgent_.get()), Action(&Self::SetProcessDlg),
                {activityAgent_.get()});
}

bool OrvVekProcessConstVerificationCmd::SetProcessDlg() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "SetProcessDlg");
  if (auto picked = activityAgent_->GetValueObject()) dialog_->Initialize(picked);
  return true;
}

bool OrvVekProcessConstVerificationCmd::Cancel() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "Cancel");
  if (dialog_ && dialog_->IsVisible()) dialog_->OnClose();
  return true;
}
