#include "OrvDefineConditionCmd.h"

#include "OrvVekServices.h"
#include "TavAssignment.h"
#include "TavStates.h"

namespace {
constexpr const char* kClass = "OrvDefineConditionCmd";

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage("OrvDefineConditionCmd", key, {}, fallback);
}
}  // namespace

OrvDefineConditionCmd::OrvDefineConditionCmd() : TavStateCommand("OrvDefineConditionCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvDefineConditionCmd() { return std::make_unique<OrvDefineConditionCmd>(); }

OrvDefineConditionCmd::~OrvDefineConditionCmd() {
  TavTraceScope scope(OrvVekActivitiesStateDlg::Trace(), kClass, "~OrvDefineConditionCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvDefineConditionCmd::BuildGraph() {
  TavTraceScope scope(OrvVekActivitiesStateDlg::Trace(), kClass, "BuildGraph");
  using Self = OrvDefineConditionCmd;
  objectAgent_ = std::make_unique<TavPathElementAgent>("Object");
  objectAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  if (TavFeatureFlags::IsBIWResourcesOn()) objectAgent_->AddElementType(TavIProduct::kInterfaceName);
  objectAgent_->SetFilter([this](TavAcquisitionAgent* a) { return IsActOrResourceWithBehaviour(a); });
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  dialog_ = std::make_unique<OrvVekActivitiesStateDlg>();
  dialog_->Build();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);

  auto* select = GetInitialState("SelectActivity");
  auto* compare = AddDialogState("SelectComparableObject");
  auto* show = AddDialogState("ShowOutput");
  select->AddDialogAgent(objectAgent_.get());
  show->AddDialogAgent(okAgent_.get());
  show->AddDialogAgent(cancelAgent_.get());
  auto* o = objectAgent_.get();
  auto* ok = okAgent_.get();
  AddTransition(select, compare, IsOutputSetCondition(o), nullptr, {o});
  AddTransition(compare, show, Condition(&Self::IsActivityOrResource), Action(&Self::ShowActivitiesStateDlg));
  AddTransition(compare, select, NotCondition(Condition(&Self::IsActivityOrResource)));
  // A failed OK has shown its error and left the model as it was: the dialog stays.
  AddTransition(show, nullptr, AndCondition(IsOutputSetCondition(ok), Condition(&Self::IsOKDone)), Action(&Self::CloseDialog));
  AddTransition(show, show, AndCondition(IsOutputSetCondition(ok), NotCondition(Condition(&Self::IsOKDone))), nullptr, {ok});
  AddTransition(show, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CloseDialog));
}

bool OrvDefineConditionCmd::Cancel() {
  CloseDialog();
  return true;
}

bool OrvDefineConditionCmd::IsActOrResourceWithBehaviour(TavAcquisitionAgent* agent) {
  TavTraceScope scope(OrvVekActivitiesStateDlg::Trace(), kClass, "IsActOrResourceWithBehaviour");
  auto* path = dynamic_cast<TavPathElementAgent*>(agent);
  auto leaf = path ? path->GetValueObject() : nullptr;
  isActivity_ = isResourceWithBehaviour_ = false;
  picked_ = nullptr;
  if (query<TavISPPActivity>(leaf)) isActivity_ = true;
  else if (query<TavIProduct>(leaf) && OrvVekServices::CanResourceHaveBehavior(leaf) == 1) isResourceWithBehaviour_ = true;
  if (IsActivityOrResource()) {
    picked_ = leaf;
    return true;
  }
  agent->SetFilterMessage(Msg("OrvDefineConditionCmd.Filter.Message", "Pick an activity or a resource that can have a behaviour."));
  return false;
}

bool OrvDefineConditionCmd::IsActivityOrResource() { return isActivity_ || isResourceWithBehaviour_; }

bool OrvDefineConditionCmd::ShowActivitiesStateDlg() {
  TavTraceScope scope(OrvVekActivitiesStateDlg::Trace(), kClass, "ShowActivitiesStateDlg");
  dialog_->SetVisibility(true);
  dialog_->SetSensitivity(true);
  if (isActivity_ || query<OrvIResourceBehaviorManager>(picked_)) dialog_->Initialize(picked_);
  return true;
}

bool OrvDefineConditionCmd::IsOKDone() { return dialog_ && dialog_->IsOKDone(); }

bool OrvDefineConditionCmd::CloseDialog() {
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}
