#include "OrvMARefEbomCommon.h"

void OrvMARefEbomCommon::BuildMASelection(TavDialogState* select, TavAction finish) {
  using Self = OrvMARefEbomCommon;
  maAgent_ = std::make_unique<TavPathElementAgent>("SelectMA");
  maAgent_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  select->AddDialogAgent(maAgent_.get());
  auto* check = AddDialogState("ErrorCheck");
  AddTransition(select, check, IsOutputSetCondition(maAgent_.get()), Action(&Self::SelectMA), {maAgent_.get()});
  AddTransition(check, select, Condition(&Self::IsError), Action(&Self::ActionCleanUP));
  // The link's own result does not hold the command: "ErrorCheck" has no agent, so a
  // failure that kept it there would leave it waiting for good. It ends either way.
  AddTransition(check, nullptr, Condition(&Self::IsNoError), [finish] {
    finish();
    return true;
  });
}

bool OrvMARefEbomCommon::SelectMA() {
  SetError();
  auto ma = query<OrvIMfgAssemblyReference>(maAgent_->GetValueObject());
  if (ma && ma->GetTypeName() != TavUnicodeString("Manufacturing Kit")) {
    ma_ = ma;
    UnSetError();
  }
  return true;
}

bool OrvMARefEbomCommon::ActionCleanUP() {
  maAgent_->InitializeAcquisition();
  ma_ = nullptr;
  UnSetError();
  return true;
}
