#include "OrvVekCopyResourceCmd.h"

#include "OrvVekCommandServices.h"
#include "OrvVekCopyResourceServices.h"
#include "TavPlanner.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCopyResourceTrace", "Traces for module OrvVekCopyResource");
  return t;
}
constexpr const char* kClass = "OrvVekCopyResourceCmd";
constexpr int kPickBehavior = 0x800800;

TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekCopyResourceCmd::kCatalog, key, params, fallback);
}

Ref<TavDocument> CurrentDocument() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  return ed ? ed->GetDocument() : nullptr;
}

Ref<TavISPPProcessContainer> ProcessContainer() {
  Ref<TavISPPProcessContainer> container;
  OrvVekCommandServices::GetProcessContainer(container, nullptr);
  return container;
}

}  // namespace

OrvVekCopyResourceCmd::OrvVekCopyResourceCmd() : TavStateCommand("OrvVekCopyResourceCmd", 0, 64) {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekCopyResourceCmd() { return std::make_unique<OrvVekCopyResourceCmd>(); }

OrvVekCopyResourceCmd::~OrvVekCopyResourceCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekCopyResourceCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvVekCopyResourceCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekCopyResourceCmd;
  auto* select = GetInitialState("SelectResource");
  auto* parent = AddDialogState("SelectParent");
  auto* name = AddDialogState("EnterNewName");
  auto agent = [this](const char* n, int which) {
    auto a = std::make_unique<TavPathElementAgent>(n);
    a->SetElementType(TavIProduct::kInterfaceName);
    a->SetBehavior(kPickBehavior);
    a->SetFilter([this, which](TavAcquisitionAgent* x) { return FilterResource(x, which); });
    return a;
  };
  resourceAgent_ = agent("Resource", 1);
  parentAgent_ = agent("Parent", 2);
  AddCSOClient(resourceAgent_.get());
  okAgent_ = std::make_unique<TavDialogAgent>("OkAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");

  // Built hidden, shown with the first pick.
  dialog_ = std::make_unique<OrvVekCopyResourceDlg>();
  dialog_->Build();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);

  select->AddDialogAgent(resourceAgent_.get());
  parent->AddDialogAgent(parentAgent_.get());
  parent->AddDialogAgent(cancelAgent_.get());
  name->AddDialogAgent(parentAgent_.get());
  name->AddDialogAgent(okAgent_.get());
  name->AddDialogAgent(cancelAgent_.get());

  AddTransition(select, parent, IsOutputSetCondition(resourceAgent_.get()),
                AndAction(Action(&Self::SetResourceName), Action(&Self::ShowDialog)));
  AddTransition(parent, name, IsOutputSetCondition(parentAgent_.get()), Action(&Self::SetParent));
  AddTransition(parent, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CancelDlg));
  AddTransition(name, name, IsOutputSetCondition(parentAgent_.get()), Action(&Self::SetParent));
  AddTransition(name, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::CreateResources));
  AddTransition(name, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CancelDlg));
}

bool OrvVekCopyResourceCmd::FilterResource(TavAcquisitionAgent* agent, int which) {
  TavTraceScope scope(Trace(), kClass, "FilterResource");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  TavUnicodeString why;
  const bool ok = which == 1 ? AcceptsResource(a->GetValue(), &why) : AcceptsParent(a->GetValue(), &why);
  if (!ok) a->SetFilterMessage(why);
  return ok;
}

bool OrvVekCopyResourceCmd::AcceptsResource(const TavPathElement& path, TavUnicodeString* why) {
  const auto result = OrvVekCopyResourceServices::DetermineCopyResource(path, ProcessContainer(), CurrentDocument());
  if (result == OrvVekAcceptable) return true;
  if (why) *why = OrvVekCopyResourceServices::ResultMessage(result);
  return false;
}

bool OrvVekCopyResourceCmd::AcceptsParent(const TavPathElement& path, TavUnicodeString* why) {
  const auto result = OrvVekCopyResourceServices::DetermineParentResource(path, ProcessContainer(), CurrentDocument(), planType_);
  if (result == OrvVekAcceptable) return true;
  if (why) *why = OrvVekCopyResourceServices::ResultMessage(result, planType_);
  return false;
}

bool OrvVekCopyResourceCmd::SetResourceName() {
  TavTraceScope scope(Trace(), kClass, "SetResourceName");
  resource_ = OrvVekCopyResourceServices::DetermineResource(resourceAgent_->GetValue());
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  if (!resource_) return true;
  resourceType_ = resource_->GetResourceType();
  planType_ = OrvVekCopyResourceServices::PlanTypeOf(resource_);
  if (dialog_) {
    dialog_->SetResource(resource_->GetName());
    dialog_->SetResourceName(Msg("OrvVekCopyResourceCmd.CopyPrefix.Text", "Copy of ") + resource_->GetName());
  }
  return true;
}

bool OrvVekCopyResourceCmd::SetParent() {
  TavTraceScope scope(Trace(), kClass, "SetParent");
  parent_ = OrvVekCopyResourceServices::DetermineResource(parentAgent_->GetValue());
  if (dialog_) dialog_->SetParent(parent_ ? parent_->GetName() : TavUnicodeString());
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  parentAgent_->InitializeAcquisition();  // a later pick replaces this one
  return true;
}

bool OrvVekCopyResourceCmd::ShowDialog() {
  if (dialog_) dialog_->SetVisibility(true);
  return true;
}

bool OrvVekCopyResourceCmd::HideDialog() {
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}

bool OrvVekCopyResourceCmd::CreateResources() {
  TavTraceScope scope(Trace(), kClass, "CreateResources");
  HideDialog();
  copy_ = nullptr;
  const TavUnicodeString name = dialog_ ? dialog_->GetResourceName() : TavUnicodeString();
  if (!resource_ || !parent_ || name.Strip().IsEmpty() ||
      FAILED(OrvVekCopyResourceServices::CopyResource(resource_, parent_, CurrentDocument(), name, copy_))) {
    copy_ = nullptr;
    ShowErrorDlg();
    return true;
  }
  if (auto redraw = query<TavIRedrawEvent>(parent_)) redraw->Redraw();
  return true;
}

bool OrvVekCopyResourceCmd::CopyInBatch(const TavPathElement& resource, const TavPathElement& parent,
                                        const TavUnicodeString& name, TavUnicodeString* why) {
  copy_ = nullptr;
  if (!AcceptsResource(resource, why)) return false;
  resource_ = OrvVekCopyResourceServices::DetermineResource(resource);
  planType_ = OrvVekCopyResourceServices::PlanTypeOf(resource_);
  if (!AcceptsParent(parent, why)) return false;
  parent_ = OrvVekCopyResourceServices::DetermineResource(parent);
  if (name.Strip().IsEmpty()) {
    if (why) *why = Msg("OrvVekCopyResourceCmd.EmptyName.Text", "The copy needs a name.");
    return false;
  }
  if (FAILED(OrvVekCopyResourceServices::CopyResource(resource_, parent_, CurrentDocument(), name, copy_))) {
    copy_ = nullptr;
    if (why) *why = Msg("OrvVekCopyResourceCmd.ErrorWnd.Text", "The resource could not be copied. Nothing was changed.");
    return false;
  }
  if (auto redraw = query<TavIRedrawEvent>(parent_)) redraw->Redraw();
  return true;
}

bool OrvVekCopyResourceCmd::CancelDlg() {
  TavTraceScope scope(Trace(), kClass, "CancelDlg");
  return HideDialog();
}

bool OrvVekCopyResourceCmd::Cancel() {
  HideDialog();
  return true;
}

void OrvVekCopyResourceCmd::ShowErrorDlg() {
  TavDlgNotify box(nullptr, "CopyResource", TavDlgNotify::Error);
  box.DisplayBox(Msg("OrvVekCopyResourceCmd.ErrorWnd.Title", "Copy Resource"),
                 Msg("OrvVekCopyResourceCmd.ErrorWnd.Text", "The resource could not be copied. Nothing was changed."));
  box.DisplayBlocked();
}
