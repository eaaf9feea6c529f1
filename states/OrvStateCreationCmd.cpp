#include "OrvStateCreationCmd.h"

#include "TavStates.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvStateCreation", "Traces for module OrvStateCreation");
  return t;
}
constexpr const char* kClass = "OrvStateCreationCmd";
constexpr int kManufacturingKit = 2;
}  // namespace

OrvStateCreationCmd::OrvStateCreationCmd() : TavStateCommand("OrvStateCreationCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvStateCreationCmd() { return std::make_unique<OrvStateCreationCmd>(); }

OrvStateCreationCmd::~OrvStateCreationCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvStateCreationCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvStateCreationCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvStateCreationCmd;
  objectAgent_ = std::make_unique<TavPathElementAgent>("Object");
  objectAgent_->AddElementType(TavIProduct::kInterfaceName);
  objectAgent_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  objectAgent_->SetFilter([this](TavAcquisitionAgent*) { return IsNotAWSC(); });
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  dialog_ = std::make_unique<OrvVekNamedStateDlg>(OrvVekNamedStateDlg::Mode::Create);
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);

  auto* select = GetInitialState("SelectPartResourceOrActivity");
  auto* kind = AddDialogState("SelectComparableObject");
  auto* show = AddDialogState("ShowPrdOrResOutput");
  select->AddDialogAgent(objectAgent_.get());
  show->AddDialogAgent(okAgent_.get());
  show->AddDialogAgent(cancelAgent_.get());
  auto* o = objectAgent_.get();
  // A kit: the warning, and the command waits for another pick.
  AddTransition(select, select, AndCondition(IsOutputSetCondition(o), Condition(&Self::IsKit)),
                Action(&Self::ShowMfgKitWarning), {o});
  AddTransition(select, kind, IsOutputSetCondition(o), Action(&Self::CheckKindOfObject), {o});
  AddTransition(kind, show, OrCondition(Condition(&Self::IsPrdOrRes), Condition(&Self::IsAssembly)),
                Action(&Self::ShowNamedStateDlg));
  AddTransition(kind, select, nullptr);
  AddTransition(show, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::EndDialog));
  AddTransition(show, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CloseDialog));
}

bool OrvStateCreationCmd::IsNotAWSC() {
  auto attrs = query<TavISpecAttrAccess>(objectAgent_->GetValueObject());
  bool wsc = false;
  if (attrs && SUCCEEDED(attrs->GetBooleanAttribute("YorWSC", wsc)) && wsc) {
    objectAgent_->SetFilterMessage(TavMsgCatalog::BuildMessage(kCatalog, "OrvStateCreationCmd.wscrefused", {},
                                                               "A WSC product holds no named states."));
    return false;
  }
  return true;
}

bool OrvStateCreationCmd::IsKit() {
  auto ma = query<OrvIMfgAssembly>(objectAgent_->GetValueObject());
  return ma && ma->GetType() == kManufacturingKit;
}

bool OrvStateCreationCmd::ShowMfgKitWarning() {
  TavTraceScope scope(Trace(), kClass, "ShowMfgKitWarning");
  TavDlgNotify box(nullptr, "Warning", TavDlgNotify::Warning);
  box.DisplayBox(TavMsgCatalog::BuildMessage(kCatalog, "OrvStateCreationCmd.kitwarningtitle", {}, "Warning"),
                 TavMsgCatalog::BuildMessage(kCatalog, "OrvStateCreationCmd.kitwarningmsg", {},
                                             "A manufacturing kit holds no named states."));
  box.DisplayBlocked();
  return true;
}

bool OrvStateCreationCmd::CheckKindOfObject() {
  TavTraceScope scope(Trace(), kClass, "CheckKindOfObject");
  pick_ = objectAgent_->GetValueObject();
  isAssembly_ = query<OrvIMfgAssembly>(pick_) != nullptr;
  isPrdOrRes_ = !isAssembly_ && query<TavIProduct>(pick_) != nullptr;
  return true;
}

bool OrvStateCreationCmd::IsPrdOrRes() { return isPrdOrRes_; }
bool OrvStateCreationCmd::IsAssembly() { return isAssembly_; }

bool OrvStateCreationCmd::ShowNamedStateDlg() {
  TavTraceScope scope(Trace(), kClass, "ShowNamedStateDlg");
  dialog_->SetVisibility(true);
  dialog_->SetSensitivity(true);
  if (isAssembly_) dialog_->Initialize(query<OrvIMfgAssembly>(pick_));
  else dialog_->Initialize(query<TavIProduct>(pick_));
  return true;
}

bool OrvStateCreationCmd::EndDialog() {
  dialog_->SetVisibility(false);
  return true;
}

// Cancel and Close leave the model as it was: what the synchronisation moved goes back.
bool OrvStateCreationCmd::CloseDialog() {
  TavTraceScope scope(Trace(), kClass, "CloseDialog");
  dialog_->RestoreSyncMoves();
  dialog_->SetVisibility(false);
  return true;
}

bool OrvStateCreationCmd::Cancel() {
  if (dialog_) CloseDialog();
  return true;
}
