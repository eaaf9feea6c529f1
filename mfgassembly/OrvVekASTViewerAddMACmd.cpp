#include "OrvVekASTViewerAddMACmd.h"

#include "TavPlanner.h"
#include "TavServices.h"
#include "TavUndo.h"

OrvVekASTViewerAddMACmd::OrvVekASTViewerAddMACmd() : TavStateCommand("OrvVekASTViewerAddMACmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekASTViewerAddMACmd() { return std::make_unique<OrvVekASTViewerAddMACmd>(); }

OrvVekASTViewerAddMACmd::~OrvVekASTViewerAddMACmd() {
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (closeAgent_) closeAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvVekASTViewerAddMACmd::BuildGraph() {
  using Self = OrvVekASTViewerAddMACmd;
  maAgent_ = std::make_unique<TavPathElementAgent>("AgentMA");
  maAgent_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  okAgent_ = std::make_unique<TavDialogAgent>("AssignWeldDlgAgentId");
  closeAgent_ = std::make_unique<TavDialogAgent>("AssignWeldDlgAgentId");
  dialog_ = std::make_unique<OrvVekASTViewerAddItemDlg>();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  auto* select = GetInitialState("SelectMA");
  auto* named = AddDialogState("pState2");
  select->AddDialogAgent(maAgent_.get());
  named->AddDialogAgent(okAgent_.get());
  named->AddDialogAgent(closeAgent_.get());
  AddTransition(select, named, IsOutputSetCondition(maAgent_.get()), Action(&Self::LaunchAddMADialog));
  AddTransition(named, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::CreateMA));
  AddTransition(named, nullptr, IsOutputSetCondition(closeAgent_.get()), Action(&Self::CloseAssignWeldDlg));
}

bool OrvVekASTViewerAddMACmd::LaunchAddMADialog() {
  dialog_->SetVisibility(true);
  return true;
}

Ref<TavISPPActivity> OrvVekASTViewerAddMACmd::GetProducingOperation(const Ref<TavDocument>& doc, const Ref<TavBaseUnknown>& assembly) {
  auto container = doc ? std::dynamic_pointer_cast<TavISPPProcessContainer>(doc->GetRootContainer(TavISPPProcessContainer::kInterfaceName))
                       : nullptr;
  if (!container || !assembly) return nullptr;
  for (auto& root : container->GetRootActivities())
    if (auto children = query<TavISPPChildManagement>(root))
      for (auto& a : children->GetAllChildActivities())
        if (auto flow = query<TavISPPFlowMgt>(a); flow && !flow->GetOutputs(assembly).empty()) return a;
  return nullptr;
}

bool OrvVekASTViewerAddMACmd::CreateMA(const Ref<OrvIMfgAssembly>& father, const TavUnicodeString& name, Made& made) {
  made = {};
  Ref<TavDocument> doc = TavDocumentOf(father);
  if (!father || !doc) return false;
  // The assembly and its place in the father, or nothing.
  TavSavepoint mark;
  auto child = OrvEMfgAssemblyFactory::CreateMfgAssembly(doc, name);
  if (!child || FAILED(father->AddPart(child))) {
    mark.RollBack();
    return false;
  }
  if (auto redraw = query<TavIRedrawEvent>(father)) redraw->Redraw();
  made.assembly = child;
  auto producing = GetProducingOperation(doc, father);
  auto producer = producing ? query<TavISPPChildManagement>(producing->GetFather()) : nullptr;
  if (!producer) return true;
  // CreateChildOperation, named "Assemble NAME", making the child as its output
  // (AssignMAAsOutput) for the father's operation to take in (AddInputToActivity).
  const TavUnicodeString label =
      TavMsgCatalog::BuildMessage("OrvVekASTViewerAddMACmd", "OrvVekASTViewerAddMACmd.Assemble.Message", {}, "Assemble ") + name;
  TavSavepoint wiring;
  auto op = producer->CreateChild("AssemblyOperation", label);
  auto opFlow = query<TavISPPFlowMgt>(op);
  auto takesIn = query<TavISPPItemMgt>(producing);
  if (!opFlow || FAILED(opFlow->AddOutput(child)) || !takesIn || FAILED(takesIn->AddItem(child, TavItemCode::Processes))) {
    // The operation could not be wired: the assembly stays, alone, as with no producer.
    wiring.RollBack();
    return true;
  }
  made.operation = op;
  return true;
}

bool OrvVekASTViewerAddMACmd::CreateMA() {
  Made made;
  CreateMA(query<OrvIMfgAssembly>(maAgent_->GetValueObject()), dialog_->GetName(), made);
  maAgent_->InitializeAcquisition();
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekASTViewerAddMACmd::CloseAssignWeldDlg() {
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekASTViewerAddMACmd::Cancel() {
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}
