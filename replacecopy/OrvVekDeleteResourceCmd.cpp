#include "OrvVekDeleteResourceCmd.h"

#include <unordered_set>

#include "TavCopy.h"
#include "TavPlanner.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekDeleteResourceTrace", "Traces for module OrvVekDeleteResource");
  return t;
}
constexpr const char* kClass = "OrvVekDeleteResourceCmd";

TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekDeleteResourceCmd::kCatalog, key, params, fallback);
}

Ref<TavDocument> DocumentOf(const Ref<TavBaseUnknown>& o) {
  auto member = query<TavIDocumentMember>(o);
  return member ? member->GetDocument() : nullptr;
}

// Holds the father only weakly: the step outlives the document until it closes.
class RefreshFather final : public TavCommandGlobalUndo {
public:
  explicit RefreshFather(const Ref<TavBaseUnknown>& father) : father_(father) {}
  void Undo() override { OrvVekDeleteResourceCmd::RefreshParentResourceTree(father_.lock()); }
  void Redo() override { OrvVekDeleteResourceCmd::RefreshParentResourceTree(father_.lock()); }

private:
  std::weak_ptr<TavBaseUnknown> father_;
};
}  // namespace

OrvVekDeleteResourceCmd::OrvVekDeleteResourceCmd() : TavStateCommand("OrvVekDeleteResourceCmd", 0, 64) {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekDeleteResourceCmd() { return std::make_unique<OrvVekDeleteResourceCmd>(); }

OrvVekDeleteResourceCmd::~OrvVekDeleteResourceCmd() { TavTraceScope scope(Trace(), kClass, "~OrvVekDeleteResourceCmd"); }

void OrvVekDeleteResourceCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekDeleteResourceCmd;
  auto* select = GetInitialState("SelectResource");
  resourceAgent_ = std::make_unique<TavPathElementAgent>("ResourceItem");
  resourceAgent_->SetElementType(TavIProduct::kInterfaceName);
  resourceAgent_->SetBehavior(0x800800);
  resourceAgent_->SetFilter([this](TavAcquisitionAgent* a) { return IsResource(a); });
  AddCSOClient(resourceAgent_.get());
  select->AddDialogAgent(resourceAgent_.get());
  AddTransition(select, nullptr, IsOutputSetCondition(resourceAgent_.get()), Action(&Self::DeleteResource));
}

bool OrvVekDeleteResourceCmd::IsResource(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsResource");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  auto product = query<TavIProduct>(a->GetValue().GetLeaf());
  if (product && product->IsResource()) return true;
  a->SetFilterMessage(Msg("NotAResource", "Only a resource of the resource list can be deleted here."));
  return false;
}

int OrvVekDeleteResourceCmd::AnswerValue(const std::string& answer) {
  if (answer == "YES") return kAnswerYes;
  if (answer == "NO") return 4;
  if (answer == "CANCEL") return 2;
  return 1;  // OK, or a box closed without an answer
}

bool OrvVekDeleteResourceCmd::DeleteResource() {
  TavTraceScope scope(Trace(), kClass, "DeleteResource");
  auto resource = query<TavIProduct>(resourceAgent_->GetValue().GetLeaf());
  if (!resource) return true;
  int answer = 0;
  {
    TavDlgNotify box(nullptr, "Warning", TavDlgNotify::Warning);
    box.DisplayBox(Msg("OrvVekDeleteResourceCmd.Title", "Delete Resource"),
                   Msg("OrvVekDeleteResourceCmd.ReallyDelete", "Do you really want to delete the resource") + " '" +
                       resource->GetName() + "'");
    answer = AnswerValue(box.DisplayBlocked());
  }
  if (answer != kAnswerYes) return true;
  TavUnicodeString why;
  if (!DeleteConfirmed(resource, &why)) ShowErrorDlg(why);
  return true;
}

bool OrvVekDeleteResourceCmd::DeleteConfirmed(const Ref<TavIProduct>& resource, TavUnicodeString* why) {
  TavTraceScope scope(Trace(), kClass, "DeleteConfirmed");
  redrawn_.clear();
  auto fail = [&](TavUnicodeString reason) {
    if (why) *why = std::move(reason);
    return false;
  };
  auto place = query<TavIProductPlace>(resource);
  auto father = place ? place->GetFatherObject() : nullptr;
  auto doc = DocumentOf(resource);
  if (!resource || !resource->IsResource() || !father || !doc)
    return fail(Msg("NotAResource", "Only a resource of the resource list can be deleted here."));
  // A failure half-way leaves the model as before the deletion.
  TavSavepoint mark;

  // 2. The activities that use the resource or a resource below it.
  std::vector<Ref<TavISPPActivity>> activities;
  for (const auto& d : resource->GetAllDescendants()) GetLinkedAssemblyOperations(d, activities);
  GetLinkedAssemblyOperations(resource, activities);

  // 3. The links into the subtree go, so that the resource can.
  if (auto events = query<TavIModelEvents>(resource))
    events->Dispatch(OrvResourceModifiedNotification("DeletePODSForChildren"));

  // 4. The product structure learns of the removal, through a persistent dispatcher.
  father_ = father;
  auto dispatcher = query<TavIProductEventDispatcher>(doc->GetRootContainer(TavIProductEventDispatcher::kInterfaceName));
  const bool wasPersistent = dispatcher && dispatcher->IsPersistent();
  if (dispatcher) {
    dispatcher->SetCurrentEvent(TavPrdProductRemovedNotification(father, resource));
    dispatcher->SetPersistent(true);
  }
  if (auto session = query<TavIProductInSession>(father)) session->SendProductRemoved(query<TavIProduct>(father), resource);
  if (dispatcher) {
    dispatcher->DispatchCurrent();
    dispatcher->SetPersistent(wasPersistent);
  }

  // 5. Out of the resource list (a top-level resource) or out of its father.
  auto navigate = query<TavINavigateObject>(father);
  const auto ids = navigate ? navigate->GetIdentificators() : std::vector<TavUnicodeString>{};
  HRESULT removed = E_FAIL;
  if (!ids.empty() && ids.front() == "Resource") {
    auto list = TavProcessResourceListOf(doc);
    if (list && list->HasResource(resource)) removed = list->RemoveResource(resource);
  } else if (auto instances = query<TavIProductInstances>(father)) {
    removed = instances->RemoveInstance(resource);
    if (SUCCEEDED(removed))
      if (auto redraw = query<TavIRedrawEvent>(father)) redraw->Redraw();
  }
  if (FAILED(removed)) {
    mark.RollBack();
    father_ = nullptr;
    return fail(Msg("NotRemoved", "\"/P1\" could not be taken out of its father; nothing was changed.", {resource->GetName()}));
  }

  // 6. The father learns that the resource is gone.
  if (auto events = query<TavIModelEvents>(father))
    events->Dispatch(OrvResourceModifiedNotification("ResourceDeactivated"));

  // 7. Each activity that used it, once.
  std::unordered_set<const TavBaseUnknown*> seen;
  for (auto& a : activities)
    if (seen.insert(a->ExtendedObject().get()).second) redrawn_.push_back(a);
  for (auto& a : redrawn_)
    if (auto redraw = query<TavIRedrawEvent>(a)) redraw->Redraw();
  SetGlobalUndo(std::make_shared<RefreshFather>(father));
  return true;
}

Ref<TavCommandGlobalUndo> OrvVekDeleteResourceCmd::GetGlobalUndo() const {
  TavTraceScope scope(Trace(), kClass, "GetGlobalUndo");
  return TavStateCommand::GetGlobalUndo();
}

void OrvVekDeleteResourceCmd::RefreshParentResourceTree(const Ref<TavBaseUnknown>& father) {
  TavTraceScope scope(Trace(), kClass, "RefreshParentResourceTree");
  if (auto redraw = query<TavIRedrawEvent>(father)) redraw->Redraw();
}

HRESULT OrvVekDeleteResourceCmd::GetLinkedAssemblyOperations(const Ref<TavBaseUnknown>& resource,
                                                             std::vector<Ref<TavISPPActivity>>& operations) {
  TavTraceScope scope(Trace(), kClass, "GetLinkedAssemblyOperations");
  auto linkable = query<TavILinkableObject>(resource);
  if (!linkable) return E_FAIL;
  for (const auto& linked : linkable->GetLinkedObjects()) {
    auto spec = query<TavISpecObject>(linked);
    auto value = spec ? spec->GetSpecAttribute("PhysicActivity") : nullptr;
    if (auto activity = query<TavISPPActivity>(value)) operations.push_back(std::move(activity));
  }
  return S_OK;
}

void OrvVekDeleteResourceCmd::ShowErrorDlg(const TavUnicodeString& reason) {
  TavDlgNotify box(nullptr, "DeleteResource", TavDlgNotify::Error);
  box.DisplayBox(Msg("OrvVekDeleteResourceCmd.ErrorWnd.Title", "Delete Resource"), reason);
  box.DisplayBlocked();
}
