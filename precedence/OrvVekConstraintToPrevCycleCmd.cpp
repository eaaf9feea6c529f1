#include "OrvVekConstraintToPrevCycleCmd.h"

#include "TavFlow.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekConstraintToPrevCycle", "Traces for module OrvVekConstraintToPrevCycle");
  return t;
}
constexpr const char* kClass = "OrvVekConstraintToPrevCycleCmd";
}  // namespace

OrvVekConstraintToPrevCycleCmd::OrvVekConstraintToPrevCycleCmd() : TavStateCommand("OrvVekConstraintToPrevCycleCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekConstraintToPrevCycleCmd() {
  return std::make_unique<OrvVekConstraintToPrevCycleCmd>();
}

OrvVekConstraintToPrevCycleCmd::~OrvVekConstraintToPrevCycleCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekConstraintToPrevCycleCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvVekConstraintToPrevCycleCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekConstraintToPrevCycleCmd;
  objectAgent_ = std::make_unique<TavPathElementAgent>("Object");
  objectAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  object2Agent_ = std::make_unique<TavPathElementAgent>("Object2");
  object2Agent_->AddElementType(TavISPPActivity::kInterfaceName);
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  dialog_ = std::make_unique<OrvVekConstraintToPrevCycleDlg>();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);

  auto* select = GetInitialState("SelectActivity");
  auto* show = AddDialogState("ShowDialog");
  select->AddDialogAgent(objectAgent_.get());
  show->AddDialogAgent(object2Agent_.get());
  show->AddDialogAgent(okAgent_.get());
  show->AddDialogAgent(cancelAgent_.get());
  auto* o = objectAgent_.get();
  auto* o2 = object2Agent_.get();
  AddTransition(select, show, AndCondition(IsOutputSetCondition(o), Condition(&Self::HasPrevCycleConstraints)),
                Action(&Self::OpenDialog), {o});
  AddTransition(select, select, IsOutputSetCondition(o), nullptr, {o});  // no such activity: wait for another
  AddTransition(show, show, IsOutputSetCondition(o2), Action(&Self::AddToList), {o2});
  AddTransition(show, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::CreateConstraints));
  AddTransition(show, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CloseDialog));
}

bool OrvVekConstraintToPrevCycleCmd::HasPrevCycleConstraints() {
  return query<OrvIVekVisuConsToPrevCycle>(objectAgent_->GetValueObject()) != nullptr;
}

bool OrvVekConstraintToPrevCycleCmd::OpenDialog() {
  TavTraceScope scope(Trace(), kClass, "OpenDialog");
  activity_ = objectAgent_->GetValueObject();
  dialog_->SetActivity(activity_, query<OrvIVekVisuConsToPrevCycle>(activity_)->GetPrevCycleConstraints());
  dialog_->SetVisibility(true);
  return true;
}

bool OrvVekConstraintToPrevCycleCmd::AddToList() {
  TavTraceScope scope(Trace(), kClass, "AddToList");
  auto pick = object2Agent_->GetValueObject();
  // An activity is not constrained to itself: the host would refuse the whole list.
  if (!SameObject(pick, activity_)) dialog_->AddToList(pick);
  return true;
}

bool OrvVekConstraintToPrevCycleCmd::CreateConstraints() {
  TavTraceScope scope(Trace(), kClass, "CreateConstraints");
  dialog_->SetVisibility(false);
  auto target = query<OrvIVekVisuConsToPrevCycle>(activity_);
  if (!target || FAILED(target->SetPrevCycleConstraints(dialog_->GetList()))) {
    TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
    box.DisplayBox(TavMsgCatalog::BuildMessage(OrvVekConstraintToPrevCycleDlg::kCatalog, "Error.Title", {}, "Error"),
                   TavMsgCatalog::BuildMessage(OrvVekConstraintToPrevCycleDlg::kCatalog, "Error.Message", {},
                                               "The constraints could not be written; nothing was changed."));
    box.DisplayBlocked();
  }
  return true;
}

bool OrvVekConstraintToPrevCycleCmd::CloseDialog() {
  dialog_->SetVisibility(false);
  return true;
}
