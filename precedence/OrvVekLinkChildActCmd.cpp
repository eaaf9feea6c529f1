#include "OrvVekLinkChildActCmd.h"

#include "OrvVekCommandServices.h"
#include "OrvVekLinkActServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekLinkChildActCmd", "Traces for module OrvVekLinkChildActCmd");
  return t;
}
constexpr const char* kClass = "OrvVekLinkChildActCmd";

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekLinkChildActCmd::kCatalog, key, {}, fallback);
}
}  // namespace

OrvVekLinkChildActCmd::OrvVekLinkChildActCmd() : TavStateCommand("OrvVekLinkChildActCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekLinkChildActCmd() { return std::make_unique<OrvVekLinkChildActCmd>(); }

OrvVekLinkChildActCmd::~OrvVekLinkChildActCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekLinkChildActCmd");
  for (auto* a : {cancelAgent_.get(), applyAgent_.get(), okAgent_.get()})
    if (a && dialog_) a->RemoveNotify(dialog_.get());
  if (errorCloseAgent_ && errors_) errorCloseAgent_->RemoveNotify(errors_.get());
  errors_.reset();
  dialog_.reset();
}

void OrvVekLinkChildActCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekLinkChildActCmd;
  pickAgent_ = std::make_unique<TavPathElementAgent>("ObjectPicked");
  pickAgent_->AddElementType(TavISPPAbstractActivity::kInterfaceName);
  AddCSOClient(pickAgent_.get());
  dialog_ = std::make_unique<OrvVekLinkChildActDlg>();
  dialog_->SetParentLister([this] { ListParents(); });
  errors_ = std::make_unique<OrvVekShowErrorsDlg>();
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  applyAgent_ = std::make_unique<TavDialogAgent>("ApplyAgent");
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  errorCloseAgent_ = std::make_unique<TavDialogAgent>("ErrorCloseAgent");
  for (const char* n : {TavDlgNotification::Cancel, TavDlgNotification::Close}) {
    cancelAgent_->AcceptOnNotify(dialog_.get(), n);
    errorCloseAgent_->AcceptOnNotify(errors_.get(), n);
  }
  applyAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Apply);
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);

  auto* pick = GetInitialState("PickActivities");
  auto* show = AddDialogState("ShowActivities");
  auto* error = AddDialogState("ShowErrorDlg");
  for (auto* s : {pick, show}) {
    s->AddDialogAgent(pickAgent_.get());
    s->AddDialogAgent(cancelAgent_.get());
  }
  show->AddDialogAgent(applyAgent_.get());
  show->AddDialogAgent(okAgent_.get());
  for (auto* s : {pick, show, error}) s->AddDialogAgent(errorCloseAgent_.get());

  auto has = [](TavAgent* a) { return IsOutputSetCondition(a); };
  // Closing the error window ends the command from any state.
  for (auto* s : {pick, show, error}) AddTransition(s, nullptr, has(errorCloseAgent_.get()), Action(&Self::CancelDlg));
  AddTransition(pick, show, has(pickAgent_.get()), Action(&Self::PickActivities), {pickAgent_.get()});
  AddTransition(pick, nullptr, has(cancelAgent_.get()), Action(&Self::CancelDlg));
  AddTransition(show, show, has(pickAgent_.get()), Action(&Self::PickActivities), {pickAgent_.get()});
  AddTransition(show, show, has(applyAgent_.get()), Action(&Self::ApplyChanges), {applyAgent_.get()});
  AddTransition(show, nullptr, has(cancelAgent_.get()), Action(&Self::CancelDlg));
  AddTransition(show, error, has(okAgent_.get()), Action(&Self::ApplyAndCancel), {okAgent_.get()});
}

bool OrvVekLinkChildActCmd::PickActivities() {
  TavTraceScope scope(Trace(), kClass, "PickActivities");
  for (const auto& p : pickAgent_->GetListOfValues()) {
    auto leaf = p.GetLeaf();
    if (query<TavISPPChildManagement>(leaf) && OrvVekLinkActServices::HoldsPhysicalChildren(leaf))
      AddItemToList(leaf);
    else
      TavApplicationFrame::SetStatusText(Msg("OrvVekLinkChildActCmd.WrongActivity.Message",
                                             "Pick an activity that holds physical activities."));
  }
  dialog_->SetVisibility(true);
  return true;
}

void OrvVekLinkChildActCmd::AddItemToList(const Ref<TavBaseUnknown>& activity) {
  TavTraceScope scope(Trace(), kClass, "AddItemToList");
  // By object, not by text: two activities may share a label.
  if (!dialog_->AddItem(activity, OrvVekCommandServices::GetDisplayName(activity).Strip()) && Trace().IsEnabled())
    Trace().Print("Item is already in the list");
}

void OrvVekLinkChildActCmd::ListParents() {
  TavTraceScope scope(Trace(), kClass, "ListParents");
  Ref<TavISPPActivityRoot> root;
  if (SUCCEEDED(OrvVekCommandServices::GetRootProcess(root, nullptr)) && OrvVekLinkActServices::HoldsPhysicalChildren(root))
    AddItemToList(root);
  for (const auto& a : OrvVekCommandServices::GetAllActivities())
    if (OrvVekLinkActServices::HoldsPhysicalChildren(a)) AddItemToList(a);
}

bool OrvVekLinkChildActCmd::Apply() {
  TavApplicationFrame::SetBusyCursor(true);
  const auto parents = dialog_->GetActivities();
  const bool ok = !parents.empty() && MakeLinks(parents, dialog_->GetLinkType());
  TavApplicationFrame::SetBusyCursor(false);
  return ok;
}

bool OrvVekLinkChildActCmd::ApplyChanges() {
  TavTraceScope scope(Trace(), kClass, "ApplyChanges");
  if (!Apply()) return true;
  dialog_->Reset();
  dialog_->SetVisibility(true);
  dialog_->ApplyButton()->SetSensitivity(false);
  if (!appliedOnce_) {
    appliedOnce_ = true;
    dialog_->CancelButton()->SetTitle(Msg("OrvVekLinkChildActCmd.CancelButton.Title", "Close"));
  }
  return true;
}

bool OrvVekLinkChildActCmd::ApplyAndCancel() {
  TavTraceScope scope(Trace(), kClass, "ApplyAndCancel");
  if (Apply()) End();
  return true;
}

bool OrvVekLinkChildActCmd::CancelDlg() {
  TavTraceScope scope(Trace(), kClass, "CancelDlg");
  dialog_->SetVisibility(false);
  errors_->SetVisibility(false);
  return true;
}

bool OrvVekLinkChildActCmd::MakeLinks(const std::vector<Ref<TavBaseUnknown>>& parents, int linkType) {
  TavTraceScope scope(Trace(), kClass, "MakeLinks");
  if (TavSPPLinkServices::IsMultiLevelPrecedenceCheckActivated() < 0) TavSPPLinkServices::ActiveMultiLevelPrecedenceCheck();
  auto editor = TavFrmEditor::GetCurrentEditor();
  TavUnicodeString message;
  if (OrvVekLinkActServices::LinkChildren(parents, linkType, editor ? editor->GetDocument() : nullptr, message)) return true;
  errors_->ShowErrors(Msg("OrvVekLinkChildActCmd.PrecedentError.Msg", "The children could not be linked; nothing was changed:"),
                      {message});
  return false;
}
