#include "OrvMfgAssyAsChildCmd.h"

#include "OrvVekMfgAssyUtilities.h"

std::unique_ptr<TavStateCommand> fctCreateOrvMfgAssyAsChildCmd() { return std::make_unique<OrvMfgAssyAsChildCmd>(); }

TavDialogState* OrvMfgAssyAsChildCmd::BuildLeadingStates(TavDialogState* parts) {
  fatherAgent_ = std::make_unique<TavPathElementAgent>("SelectFatherMfgAssy");
  fatherAgent_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  auto* first = GetInitialState("SelectFatherState");
  first->AddDialogAgent(fatherAgent_.get());
  AddTransition(first, parts, IsOutputSetCondition(fatherAgent_.get()), Action(&OrvMfgAssyAsChildCmd::OnFatherSelected),
                {fatherAgent_.get()});
  return first;
}

bool OrvMfgAssyAsChildCmd::OnFatherSelected() {
  father_ = query<OrvIMfgAssembly>(fatherAgent_->GetValueObject());
  if (!father_) {
    fatherAgent_->InitializeAcquisition();
    return false;
  }
  dialog_->SetVisibility(true);
  return true;
}

bool OrvMfgAssyAsChildCmd::AcceptAssembly(const Ref<OrvIMfgAssembly>& ma, TavUnicodeString& why) {
  if (!OrvMfgAssyCmd::AcceptAssembly(ma, why)) return false;
  if (father_ && OrvVekMfgAssyUtilities::Reaches(ma, father_)) {
    why = Msg("OrvMfgAssyCmd.FatherRefused", "/P1 cannot be put into a child of /P2: it is or contains /P2.",
              {ma->GetName(), father_->GetName()});
    return false;
  }
  return true;
}

HRESULT OrvMfgAssyAsChildCmd::CreateNew(Ref<OrvIMfgAssembly>& out) {
  if (!father_) return E_FAIL;
  return OrvEMfgAssemblyFactory::CreateMAAsChildOfMA(NameFromDialog(), father_, content_.Objects(), out);
}
