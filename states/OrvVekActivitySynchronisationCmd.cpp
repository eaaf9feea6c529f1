#include "OrvVekActivitySynchronisationCmd.h"

#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvVekActivitySynchronisation", "Traces for module OrvVekActivitySynchronisation");
  return t;
}
constexpr const char* kClass = "OrvVekActivitySynchronisationCmd";
using Dlg = OrvVekActivitySynchronisationDlg;
}  // namespace

OrvVekActivitySynchronisationCmd::OrvVekActivitySynchronisationCmd() : TavStateCommand("OrvVekActivitySynchronisationCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekActivitySynchronisationCmd() {
  return std::make_unique<OrvVekActivitySynchronisationCmd>();
}

OrvVekActivitySynchronisationCmd::~OrvVekActivitySynchronisationCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekActivitySynchronisationCmd");
  if (dialog_)
    for (auto* a : {okAgent_.get(), applyAgent_.get(), closeAgent_.get()})
      if (a) a->RemoveNotify(dialog_.get());
  dialog_.reset();
}

void OrvVekActivitySynchronisationCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekActivitySynchronisationCmd;
  firstAgent_ = std::make_unique<TavPathElementAgent>("FirstActivity");
  firstAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  secondAgent_ = std::make_unique<TavPathElementAgent>("SecondActivity");
  secondAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  secondAgent_->SetRepeatMode();
  secondAgent_->SetFilter([this](TavAcquisitionAgent* a) { return FilterActivity(a); });
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  applyAgent_ = std::make_unique<TavDialogAgent>("ApplyAgent");
  closeAgent_ = std::make_unique<TavDialogAgent>("CloseAgent");
  dialog_ = std::make_unique<Dlg>();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  applyAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Apply);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);

  auto* select = GetInitialState("SelectFirstActivity");
  auto* second = AddDialogState("SelectSecondActivity");
  select->AddDialogAgent(firstAgent_.get());
  second->AddDialogAgent(secondAgent_.get());
  second->AddDialogAgent(okAgent_.get());
  second->AddDialogAgent(applyAgent_.get());
  second->AddDialogAgent(closeAgent_.get());
  AddTransition(select, second, IsOutputSetCondition(firstAgent_.get()), Action(&Self::ShowDialog), {firstAgent_.get()});
  AddTransition(second, second, IsOutputSetCondition(secondAgent_.get()), Action(&Self::AddLinkToDialog), {secondAgent_.get()});
  AddTransition(second, second, IsOutputSetCondition(applyAgent_.get()), Action(&Self::CreateLinks), {applyAgent_.get()});
  AddTransition(second, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::CreateLinks));
  AddTransition(second, nullptr, IsOutputSetCondition(closeAgent_.get()), Action(&Self::CloseDialog));
}

void OrvVekActivitySynchronisationCmd::ReadPartners() {
  for (int selection : {Dlg::kStartStart, Dlg::kEndEnd}) dialog_->InitializeList(selection, sync_->Partners(selection));
}

bool OrvVekActivitySynchronisationCmd::ShowDialog() {
  TavTraceScope scope(Trace(), kClass, "ShowDialog");
  sync_ = std::make_unique<OrvVekActivitySynchronisation>(firstAgent_->GetValueObject());
  dialog_->SetFirstActivity(sync_->First());
  dialog_->SetStartEndSelection(Dlg::kStartStart);
  ReadPartners();
  dialog_->SetVisibility(true);
  return true;
}

bool OrvVekActivitySynchronisationCmd::FilterActivity(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "FilterActivity");
  auto pick = static_cast<TavPathElementAgent*>(agent)->GetValueObject();
  const int shown = dialog_->GetStartEndSelection();
  const auto refusal = sync_->FilterActivity(pick, shown, dialog_->PartnerLists());
  if (refusal == OrvVekActivitySynchronisation::Refusal::None) return true;
  agent->SetFilterMessage(OrvVekActivitySynchronisation::RefusalText(refusal, shown));
  return false;
}

bool OrvVekActivitySynchronisationCmd::AddLinkToDialog() {
  dialog_->AddToList(secondAgent_->GetValueObject());
  return true;
}

bool OrvVekActivitySynchronisationCmd::CreateLinks() {
  TavTraceScope scope(Trace(), kClass, "CreateLinks");
  CreateStartEndLinksInModel();
  // After Apply the lists show what the model holds, a failed pair included.
  ReadPartners();
  if (!okAgent_->IsValued()) return true;
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekActivitySynchronisationCmd::CreateStartEndLinksInModel() {
  if (sync_->CreateStartEndLinksInModel(dialog_->PartnerLists())) return true;
  DisplayErrorPrompt();
  return false;
}

void OrvVekActivitySynchronisationCmd::DisplayErrorPrompt() {
  TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
  box.DisplayBox(TavMsgCatalog::BuildMessage(OrvVekActivitySynchronisation::kCatalog, "ErrorWnd.Title", {}, "Error"),
                 sync_->ErrorText());
  box.DisplayBlocked();
}

bool OrvVekActivitySynchronisationCmd::CloseDialog() {
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekActivitySynchronisationCmd::Cancel() {
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}
