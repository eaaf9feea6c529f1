#include "OrvAssyTypesCmd.h"

#include "OrvVekMfgAssyUtilities.h"

OrvAssyTypesCmd::OrvAssyTypesCmd() : TavStateCommand("OrvAssyTypesCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvAssyTypesCmd() { return std::make_unique<OrvAssyTypesCmd>(); }

OrvAssyTypesCmd::~OrvAssyTypesCmd() {
  if (dialogAgent_ && dialog_) dialogAgent_->RemoveNotify(dialog_.get());
  dialog_.reset();
}

void OrvAssyTypesCmd::BuildGraph() {
  using Self = OrvAssyTypesCmd;
  selectAgent_ = std::make_unique<TavPathElementAgent>("SelectMa");
  selectAgent_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  dialog_ = std::make_unique<OrvAssyTypesDlg>();
  dialogAgent_ = std::make_unique<TavDialogAgent>("MfgAssyDlg");
  for (const char* n : {TavDlgNotification::OK, TavDlgNotification::Cancel, TavDlgNotification::Close})
    dialogAgent_->AcceptOnNotify(dialog_.get(), n);

  auto* initial = GetInitialState("initialState");
  auto* shown = AddDialogState("DialogState");
  initial->AddDialogAgent(selectAgent_.get());
  shown->AddDialogAgent(dialogAgent_.get());
  auto* d = dialogAgent_.get();
  AddTransition(initial, shown, IsOutputSetCondition(selectAgent_.get()), Action(&Self::ShowDialog), {selectAgent_.get()});
  AddTransition(shown, nullptr, AndCondition(IsOutputSetCondition(d), [this] { return Is(TavDlgNotification::OK); }),
                Action(&Self::OnOK), {d});
  AddTransition(shown, nullptr, IsOutputSetCondition(d), Action(&Self::OnCancel), {d});
}

bool OrvAssyTypesCmd::Is(const char* notification) const { return dialogAgent_->GetLastNotification() == notification; }

bool OrvAssyTypesCmd::ShowDialog() {
  ma_ = query<OrvIMfgAssembly>(selectAgent_->GetValueObject());
  if (!ma_) return false;
  dialog_->SetType(ma_->GetType());
  dialog_->SetVisibility(true);
  return true;
}

bool OrvAssyTypesCmd::OnOK() {
  dialog_->SetVisibility(false);
  const int type = dialog_->GetType();
  // No button checked: the assembly keeps its type.
  if (ma_ && type != OrvAssyTypesDlg::None && type != ma_->GetType()) {
    ma_->SetType(type);
    OrvVekMfgAssyUtilities::RedrawMAContainer();
    OrvVekMfgAssyUtilities::RedrawMA(ma_);
  }
  return true;
}

bool OrvAssyTypesCmd::OnCancel() {
  dialog_->SetVisibility(false);
  return true;
}

bool OrvAssyTypesCmd::Cancel() {
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}
