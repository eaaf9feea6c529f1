#include "OrvVekStateEditDblClick.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvVekStateEditDblClick", "Traces for module OrvVekStateEditDblClick");
  return t;
}
constexpr const char* kClass = "OrvVekStateEditDblClick";
}  // namespace

void OrvVekStateEditDblClick::Register() {
  TavExtensionRegistry::Get().Register(kLateType, TavIEditExtension::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& state) -> Ref<TavBaseUnknown> {
                                         return std::make_shared<OrvVekStateEditDblClick>(state);
                                       });
}

HRESULT OrvVekStateEditDblClick::Activate(const TavPathElement& path) {
  TavTraceScope scope(Trace(), kClass, "Activate");
  auto state = query<OrvIState>(path.GetLeaf());
  if (!state) state = query<OrvIState>(state_);
  auto* host = TavCommandHost::Get();
  if (!state || !state->GetOwner() || !host) return E_FAIL;
  std::string error;
  return host->StartCommand(std::make_unique<OrvVekStateEditCmd>(state), &error) ? S_OK : E_FAIL;
}

OrvVekStateEditCmd::OrvVekStateEditCmd(Ref<OrvIState> state)
    : TavStateCommand("OrvVekStateEditDblClick"), state_(std::move(state)) {}

OrvVekStateEditCmd::~OrvVekStateEditCmd() {
  TavTraceScope scope(Trace(), "OrvVekStateEditCmd", "~OrvVekStateEditCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvVekStateEditCmd::BuildGraph() {
  TavTraceScope scope(Trace(), "OrvVekStateEditCmd", "BuildGraph");
  using Self = OrvVekStateEditCmd;
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  dialog_ = std::make_unique<OrvVekNamedStateDlg>(OrvVekNamedStateDlg::Mode::Change);
  dialog_->SetTitle(TavMsgCatalog::BuildMessage(OrvVekNamedStateDlg::kCatalog, "EditDlgTitle", {}, "Named State Edition"));
  dialog_->Initialize(state_);
  dialog_->SetVisibility(true);
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  auto* show = GetInitialState("ShowStateDlg");
  show->AddDialogAgent(okAgent_.get());
  show->AddDialogAgent(cancelAgent_.get());
  AddTransition(show, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::EndDialog));
  AddTransition(show, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CloseDialog));
}

bool OrvVekStateEditCmd::EndDialog() {
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekStateEditCmd::CloseDialog() {
  dialog_->RestoreSyncMoves();
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekStateEditCmd::Cancel() {
  if (dialog_) CloseDialog();
  return true;
}
