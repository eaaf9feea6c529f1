#include "OrvVekCopyProcessServices.h"

#include <unordered_map>
#include <unordered_set>

#include "OrvVekCommandServices.h"
#include "OrvVekCopyResourceServices.h"
#include "OrvVekServices.h"
#include "OrvVekUnassignServices.h"
#include "TavAssignment.h"
#include "TavStates.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCopyProcessTrace", "Traces for module OrvVekCopyProcess");
  return t;
}
constexpr const char* kClass = "OrvVekCopyProcessServices";

// Object identity: the host hands out its objects themselves, and every interface
// handle of one object points at its one TavBaseUnknown.
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o.get(); }

std::vector<Ref<TavBaseUnknown>> ChildrenOf(const Ref<TavBaseUnknown>& parent) {
  auto children = query<TavISPPChildManagement>(parent);
  return children ? children->GetChildren() : std::vector<Ref<TavBaseUnknown>>{};
}

// The editor's copy-and-paste: the process copied, then pasted under the parent.
bool CopyAndPaste(const Ref<TavBaseUnknown>& process, const Ref<TavBaseUnknown>& parent) {
  auto editor = TavFrmEditor::GetCurrentEditor();
  auto actor = query<TavCCP_Actor>(editor);
  if (!actor) return false;
  TavSelectionSet& cso = editor->GetCSO();
  cso.Empty();
  cso.AddElement(OrvVekCommandServices::GetActivityPath(process));
  actor->SetMode(TavCCP_Actor::kCopyMode);
  const bool copied = actor->IsAllowed(cso) && SUCCEEDED(actor->Copy(cso));
  cso.Empty();
  if (!copied) return false;
  cso.AddElement(OrvVekCommandServices::GetActivityPath(parent));
  actor->SetMode(TavCCP_Actor::kPasteMode);
  const bool pasted = actor->IsAllowed(cso) && SUCCEEDED(actor->Paste(cso));
  cso.Empty();
  return pasted;
}
}  // namespace

int OrvVekCopyProcessServices::OptionsFrom(bool copyResources, bool keepResourceLinks, bool keepProductLinks) {
  if (copyResources) return keepProductLinks ? OrvVekCopyResourcesAndPrd : OrvVekCopyResources;
  if (keepResourceLinks) return keepProductLinks ? OrvVekKeepRscAndPrdLinks : OrvVekKeepRscLinks;
  return keepProductLinks ? OrvVekKeepPrdLinks : OrvVekCopyNothing;
}

HRESULT OrvVekCopyProcessServices::CopyProcessAndResource(
    const Ref<TavISPPActivity>& process, const Ref<TavBaseUnknown>& newParent, const TavUnicodeString& copyName,
    const std::vector<Ref<TavIProduct>>& resources, const std::vector<Ref<TavIProduct>>& newFathers,
    const std::vector<int>& assignmentTypes, const std::vector<TavUnicodeString>& newNames,
    const std::vector<Ref<TavISPPActivity>>& activities, const std::vector<bool>& childFlags,
    std::vector<Ref<TavIProduct>>& copiedResources, int options, Ref<TavISPPActivity>* copyOut) {
  TavTraceScope scope(Trace(), kClass, "CopyProcessAndResource");
  copiedResources.clear();
  if (copyOut) *copyOut = nullptr;
  if (!process || !newParent) return E_FAIL;
  const bool copyResources = IsCopyingResources(options);
  const std::size_t rows = resources.size();
  // Rows that do not line up would relate copies to the wrong activities: refuse
  // before anything is copied.
  if (copyResources && (newFathers.size() != rows || assignmentTypes.size() != rows || newNames.size() != rows ||
                        activities.size() != rows || childFlags.size() != rows))
    return E_FAIL;

  TavSavepoint mark;
  auto fail = [&] {
    mark.RollBack();
    return E_FAIL;
  };
  const auto before = ChildrenOf(newParent);
  if (!CopyAndPaste(process, newParent)) return fail();
  auto copy = GetTopChild(before, ChildrenOf(newParent));
  if (!copy) return fail();
  copy->SetLabel(copyName);

  std::vector<Ref<TavISPPActivity>> sources, copies;
  GetAllActivities(process, sources);
  GetAllActivities(copy, copies);
  if (sources.size() != copies.size()) return fail();
  for (const auto& a : copies) {
    if (options == OrvVekCopyNothing || options == OrvVekCopyResources || options == OrvVekKeepRscLinks)
      DeleteProdAssigments(a);
    if (options != OrvVekKeepRscLinks && options != OrvVekKeepRscAndPrdLinks) DeleteResAssigments(a, options);
    RemoveStatesFromContext(a);
  }
  if (copyOut) *copyOut = copy;

  auto editor = TavFrmEditor::GetCurrentEditor();
  auto document = editor ? editor->GetDocument() : nullptr;
  if (!copyResources || !document) return S_OK;

  // Positions of the sources, so that each row finds its copied activity at once.
  std::unordered_map<const TavBaseUnknown*, std::size_t> position;
  position.reserve(sources.size());
  for (std::size_t i = 0; i < sources.size(); ++i) position.emplace(Key(sources[i]), i);
  auto copyOf = [&](const Ref<TavISPPActivity>& a) -> Ref<TavISPPActivity> {
    auto it = position.find(Key(a));
    return it == position.end() ? nullptr : copies[it->second];
  };

  const bool hub = OrvVekCopyResourceServices::IsHubMode(document);
  std::unordered_map<const TavBaseUnknown*, Ref<TavIProduct>> copied;  // source resource -> its copy
  std::vector<Ref<TavIProduct>> rowCopy(rows);
  for (std::size_t i = 0; i < rows; ++i) {
    if (childFlags[i] || !resources[i]) continue;
    if (hub && OrvVekCopyResourceServices::IsAKwProductInHx(resources[i])) continue;
    auto found = copied.find(Key(resources[i]));
    if (found != copied.end()) {
      rowCopy[i] = found->second;
      continue;
    }
    Ref<TavIProduct> made;
    if (SUCCEEDED(OrvVekCopyResourceServices::CopyResource(resources[i], newFathers[i], document, newNames[i], made)) && made) {
      copied.emplace(Key(resources[i]), made);
      copiedResources.push_back(made);
      rowCopy[i] = made;
    }
  }
  for (std::size_t i = 0; i < rows; ++i)
    if (rowCopy[i]) AssignResourceToProcess(copyOf(activities[i]), rowCopy[i], assignmentTypes[i]);

  // A marked child's copy sits at the same place below its nearest copied ancestor's copy.
  for (std::size_t i = 0; i < rows; ++i) {
    if (!childFlags[i] || !resources[i]) continue;
    std::vector<int> steps;  // child positions from the ancestor down
    Ref<TavIProduct> node = resources[i], ancestorCopy;
    while (node && !ancestorCopy) {
      auto father = node->GetFatherProduct();
      if (!father) break;
      const auto siblings = father->GetChildren();
      int at = -1;
      for (std::size_t k = 0; k < siblings.size(); ++k)
        if (Key(siblings[k]) == Key(node)) at = static_cast<int>(k);
      steps.insert(steps.begin(), at);
      auto c = copied.find(Key(father));
      if (c != copied.end()) ancestorCopy = c->second;
      node = father;
    }
    Ref<TavIProduct> target = ancestorCopy;
    for (int at : steps) {
      if (!target || at < 0) break;
      const auto children = target->GetChildren();
      target = at < static_cast<int>(children.size()) ? children[at] : nullptr;
    }
    if (ancestorCopy && target) AssignResourceToProcess(copyOf(activities[i]), target, assignmentTypes[i]);
  }
  return S_OK;
}

Ref<TavISPPActivity> OrvVekCopyProcessServices::GetTopChild(const std::vector<Ref<TavBaseUnknown>>& before,
                                                            const std::vector<Ref<TavBaseUnknown>>& after) {
  std::unordered_set<const TavBaseUnknown*> old;
  old.reserve(before.size());
  for (const auto& b : before) old.insert(Key(b));
  for (const auto& a : after)
    if (!old.count(Key(a)))
      if (auto activity = query<TavISPPActivity>(a)) return activity;
  return nullptr;
}

void OrvVekCopyProcessServices::GetAllActivities(const Ref<TavISPPActivity>& process, std::vector<Ref<TavISPPActivity>>& list) {
  list.clear();
  if (!process) return;
  list.push_back(process);
  if (auto children = query<TavISPPChildManagement>(process)) {
    auto all = children->GetAllChildActivities();
    list.insert(list.end(), all.begin(), all.end());
  }
}

void OrvVekCopyProcessServices::DeleteProdAssigments(const Ref<TavISPPActivity>& activity) {
  TavTraceScope scope(Trace(), kClass, "DeleteProdAssigments");
  // Resources are items here too (codes 8 and 16): they are the resource side's.
  OrvVekUnassignServices::RemoveProductItems(activity);
  if (auto flow = query<TavISPPFlowMgt>(activity))
    for (auto& output : flow->GetOutputs()) {
      auto io = query<TavISPPProductIO>(output);
      if (io && io->GetProduct()) flow->RemoveOutput(io->GetObject());
    }
  if (auto events = query<TavISPPActivityModificationEvents>(activity)) events->SendModification(TavUnicodeString("Modify"));
}

void OrvVekCopyProcessServices::DeleteResAssigments(const Ref<TavISPPActivity>& activity, int options) {
  TavTraceScope scope(Trace(), kClass, "DeleteResAssigments");
  const bool keepKw = IsCopyingResources(options) && OrvVekCopyResourceServices::IsHubMode(TavDocumentOf(activity));
  OrvVekUnassignServices::RemoveResourceAssignments(
      activity, [&](const Ref<TavBaseUnknown>& r) { return keepKw && OrvVekCopyResourceServices::IsAKwProductInHx(r); });
}

void OrvVekCopyProcessServices::RemoveStatesFromContext(const Ref<TavISPPActivity>& activity) {
  auto context = query<TavISPPActivity3DContext>(activity);
  if (!context) return;
  auto states = context->Get3DContext();
  if (!states.empty()) context->Remove3DContext(states);
}

HRESULT OrvVekCopyProcessServices::AssignResourceToProcess(const Ref<TavISPPActivity>& activity,
                                                           const Ref<TavIProduct>& resource, int type) {
  static const char* const kNames[] = {"process_uses_resource", "process_runs_on_resource", "process_attaches_resource",
                                       "process_detaches_resource"};
  auto relations = query<TavIPCSRelations>(activity);
  if (!relations || !resource || type < 1 || type > 4) return E_FAIL;
  return relations->CreateRelation(kNames[type - 1], resource);
}

Ref<TavISPPActivity> OrvVekCopyProcessServices::GetCopyOfProcess(const Ref<TavISPPActivity>& source,
                                                                 const std::vector<Ref<TavISPPActivity>>& sources,
                                                                 const std::vector<Ref<TavISPPActivity>>& copies) {
  for (std::size_t i = 0; i < sources.size() && i < copies.size(); ++i)
    if (Key(sources[i]) == Key(source)) return copies[i];
  return nullptr;
}

int OrvVekCopyProcessServices::DetermineAssignmentType(const Ref<TavISPPActivity>& activity, const Ref<TavBaseUnknown>& resource) {
  if (auto resources = query<TavISPPResourceManagement>(activity)) {
    if (resources->IsResourceAssigned(resource, TavResourceCode::Uses) == S_OK) return 1;
    if (resources->IsResourceAssigned(resource, TavResourceCode::RunsOn) == S_OK) return 2;
  }
  if (auto items = query<TavISPPItemMgt>(activity)) {
    if (items->IsItemAssigned(resource, TavItemCode::Attaches) == S_OK) return 3;
    if (items->IsItemAssigned(resource, TavItemCode::Detaches) == S_OK) return 4;
  }
  return 0;
}

std::vector<OrvVekAttachedResource> OrvVekCopyProcessServices::GetAttachedResources(const Ref<TavISPPActivity>& process) {
  std::vector<OrvVekAttachedResource> rows;
  std::vector<Ref<TavISPPActivity>> all;
  GetAllActivities(process, all);
  std::unordered_set<const TavBaseUnknown*> attached;
  for (const auto& activity : all) {
    std::unordered_set<const TavBaseUnknown*> here;
    auto add = [&](const Ref<TavBaseUnknown>& o) {
      auto product = query<TavIProduct>(o);
      if (!product || !product->IsResource() || !here.insert(Key(o)).second) return;
      rows.push_back({product, activity, DetermineAssignmentType(activity, o), false});
      attached.insert(Key(o));
    };
    if (auto resources = query<TavISPPResourceManagement>(activity))
      for (const auto& r : resources->GetResources(0)) add(r);
    if (auto items = query<TavISPPItemMgt>(activity))
      for (unsigned code : OrvVekUnassignServices::kResourceItemCodes)
        for (const auto& r : items->GetItems("Item", code)) add(r);
  }
  for (auto& row : rows)
    for (auto f = row.resource->GetFatherProduct(); f; f = f->GetFatherProduct())
      if (attached.count(Key(f))) {
        row.childOfAssigned = true;
        break;
      }
  return rows;
}
