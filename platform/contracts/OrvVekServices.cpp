#include "OrvVekServices.h"

#include "TavAssignment.h"
#include "TavPlanner.h"
#include "TavResources.h"
#include "TavServices.h"
#include "TavYor.h"

std::vector<Ref<TavBaseUnknown>> OrvVekServices::GetAllTSAs(const Ref<TavDocument>& doc) {
  TavPlannerHost* planner = TavPlannerHost::Get();
  if (!doc || !planner) return {};
  return planner->GetAllTSAs(doc);
}

bool OrvVekServices::IsResource(const Ref<TavBaseUnknown>& object) {
  auto p = query<TavIProduct>(object);
  return p && p->IsResource();
}

bool OrvVekServices::IsZarnetSession() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  return ed && TavIsHubDocument(ed->GetDocument());
}

bool OrvVekServices::IsAWSC(const Ref<TavBaseUnknown>& object) {
  auto p = query<TavIProduct>(object);
  return p && p->IsResource() && p->GetResourceType() == "WSC";
}

int OrvVekServices::CanResourceHaveBehavior(const Ref<TavBaseUnknown>& resource) {
  if (!IsResource(resource)) return 0;
  auto mgr = query<OrvIResourceBehaviorManager>(resource);
  return mgr && mgr->CanHaveBehavior() ? 1 : 0;
}

HRESULT OrvVekServices::GetResourceBehavior(const Ref<TavBaseUnknown>& resource, int& canHave,
                                            Ref<OrvIResourceBehavior>& behavior, bool& existed) {
  canHave = 0;
  behavior = nullptr;
  existed = true;
  if (!IsResource(resource)) return E_FAIL;
  auto mgr = query<OrvIResourceBehaviorManager>(resource);
  if (!mgr) return E_FAIL;
  canHave = mgr->CanHaveBehavior() ? 1 : 0;
  behavior = mgr->GetBehavior();
  if (!behavior && canHave) {
    behavior = mgr->CreateBehavior();
    existed = !behavior;
  }
  return behavior ? S_OK : E_FAIL;
}

HRESULT OrvVekServices::DeleteResourceBehavior(const Ref<TavBaseUnknown>& resource) {
  auto mgr = query<OrvIResourceBehaviorManager>(resource);
  return mgr ? mgr->RemoveBehavior() : E_FAIL;
}

bool OrvVekServices::InPPRProductList(const Ref<TavBaseUnknown>& object) {
  auto doc = TavDocumentOf(object);
  if (!doc) return false;
  if (query<OrvIMfgAssembly>(object)) {
    for (auto& a : OrvEMfgAssemblyFactory::GetMAsInContainer(doc, 0))
      if (SameObject(a, object)) return true;
    return false;
  }
  auto list = query<TavIPPRProductList>(doc->GetRootContainer(TavIPPRProductList::kInterfaceName));
  return list && list->Contains(object);
}

bool OrvVekServices::InPPRResourceList(const Ref<TavBaseUnknown>& object) {
  auto doc = TavDocumentOf(object);
  if (!doc) return false;
  auto list = query<TavIPPRResourceList>(doc->GetRootContainer(TavIPPRResourceList::kInterfaceName));
  return list && list->Contains(object);
}

bool OrvVekServices::IsResourceUnderResourceContext(const Ref<TavBaseUnknown>& resource) {
  auto contexts = TavResourceContextsOf(TavDocumentOf(resource));
  return contexts && contexts->IsUnderResourceContext(resource);
}

HRESULT OrvVekServices::AddResourceContext(const Ref<TavDocument>& doc, const Ref<TavBaseUnknown>& resource) {
  auto contexts = TavResourceContextsOf(doc);
  return contexts ? contexts->AddResourceContext(resource) : E_FAIL;
}

HRESULT OrvVekServices::RemoveResourceContext(const Ref<TavDocument>& doc, const Ref<TavBaseUnknown>& resource) {
  auto contexts = TavResourceContextsOf(doc);
  return contexts ? contexts->RemoveResourceContext(resource) : E_FAIL;
}

std::vector<Ref<OrvIResourceBehavior>> OrvVekServices::GetAllBehavior() {
  std::vector<Ref<OrvIResourceBehavior>> out;
  auto ed = TavFrmEditor::GetCurrentEditor();
  auto doc = ed ? ed->GetDocument() : nullptr;
  auto list = doc ? query<TavIPPRResourceList>(doc->GetRootContainer(TavIPPRResourceList::kInterfaceName)) : nullptr;
  if (!list) return out;
  auto add = [&out](const Ref<TavBaseUnknown>& resource) {
    auto mgr = query<OrvIResourceBehaviorManager>(resource);
    if (auto b = mgr ? mgr->GetBehavior() : nullptr) out.push_back(std::move(b));
  };
  for (auto& root : list->GetRoots()) {
    add(root);
    for (auto& r : root->GetAllDescendants()) add(r);
  }
  return out;
}

bool OrvVekServices::IsPathInPPRProductList(const TavPathElement& path) {
  // The PPR product list also shows the manufactured assemblies.
  return !path.IsEmpty() && InPPRProductList(path.GetTop());
}

bool OrvVekServices::IsPathInPPRResourceList(const TavPathElement& path) {
  for (auto& o : path.Objects())
    if (InPPRResourceList(o)) return true;
  return false;
}

int OrvVekServices::DetermineItemOrResource(const TavPathElement& path, const Ref<TavBaseUnknown>& activity,
                                            const Ref<TavBaseUnknown>& product) {
  if (IsPathInPPRProductList(path)) return 1;
  if (IsPathInPPRResourceList(path)) return 2;
  auto ed = TavFrmEditor::GetCurrentEditor();
  if (ed && product && query<TavISPPActivity>(ed->GetActivePath().GetFatherOfLeaf()))
    return TavSPPContextsServices::SearchInContexts(product, activity) ? 2 : 0;
  return 0;
}
