#include "OrvVekRestoreDesignPosCmd.h"

#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvVekRestoreDesignPos", "Traces for module OrvVekRestoreDesignPos");
  return t;
}
constexpr const char* kClass = "OrvVekRestoreDesignPosCmd";
}  // namespace

OrvVekRestoreDesignPosCmd::OrvVekRestoreDesignPosCmd() : TavStateCommand("OrvVekRestoreDesignPosCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekRestoreDesignPosCmd() { return std::make_unique<OrvVekRestoreDesignPosCmd>(); }

OrvVekRestoreDesignPosCmd::~OrvVekRestoreDesignPosCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekRestoreDesignPosCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvVekRestoreDesignPosCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekRestoreDesignPosCmd;
  Ref<TavDocument> doc;
  if (auto editor = TavFrmEditor::GetCurrentEditor()) doc = editor->GetDocument();
  engine_ = std::make_unique<OrvVekDesignRestore>(doc);

  productAgent_ = std::make_unique<TavPathElementAgent>("SelectProduct");
  productAgent_->AddElementType(TavIProduct::kInterfaceName);
  productAgent_->SetRepeatMode();
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  dialog_ = std::make_unique<OrvVekRestoreDesignPosDlg>();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  dialog_->PopulatePrdResList(engine_->ComputeDisplacedPrdRes());
  dialog_->SetVisibility(true);

  auto* show = GetInitialState("SelectProducts");
  show->AddDialogAgent(productAgent_.get());
  show->AddDialogAgent(okAgent_.get());
  show->AddDialogAgent(cancelAgent_.get());
  auto* p = productAgent_.get();
  AddTransition(show, show, IsOutputSetCondition(p), Action(&Self::CheckProd), {p});
  AddTransition(show, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::Restore));
  AddTransition(show, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CancelRestore));
}

bool OrvVekRestoreDesignPosCmd::CheckProd() {
  TavTraceScope scope(Trace(), kClass, "CheckProd");
  dialog_->UpdateList(productAgent_.get());
  return true;
}

bool OrvVekRestoreDesignPosCmd::Restore() {
  TavTraceScope scope(Trace(), kClass, "Restore");
  std::vector<Ref<TavBaseUnknown>> list;
  if (dialog_->IsRestoreAll()) {
    list = dialog_->Displaced();
    for (auto& ma : OrvEMfgAssemblyFactory::GetMAsInContainer(engine_->Document(), 0)) list.push_back(ma);
  } else {
    list = dialog_->SelectedProducts();
  }
  engine_->Restore(list);
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekRestoreDesignPosCmd::CancelRestore() {
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekRestoreDesignPosCmd::Cancel() {
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}
