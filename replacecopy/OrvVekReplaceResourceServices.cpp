#include "OrvVekReplaceResourceServices.h"

#include <unordered_set>

#include "OrvVekCommandServices.h"
#include "TavPlanner.h"
#include "TavResources.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekReplaceResourceTrace", "Traces for module OrvVekBIWReplaceResource");
  return t;
}
constexpr const char* kClass = "OrvVekReplaceResourceServices";

// The process's activities as the replacement walks them: all of them, then the root.
std::vector<Ref<TavISPPActivity>> ProcessActivities() {
  auto all = OrvVekCommandServices::GetAllActivities();
  Ref<TavISPPActivityRoot> root;
  if (SUCCEEDED(OrvVekCommandServices::GetRootProcess(root, nullptr))) all.push_back(root);
  return all;
}

// One activity: each relation to the first resource is made again to the new
// instance, of the same type and with the same attributes (hub values included).
bool ReplaceIn(const Ref<TavISPPActivity>& activity, const Ref<TavBaseUnknown>& first, const Ref<TavBaseUnknown>& newInstance) {
  auto items = query<TavISPPItemMgt>(activity);
  auto relations = query<TavIPCSRelations>(activity);
  bool changed = false;
  if (items && relations) {
    for (const auto& spec : items->GetActivitySpecifications(first)) {
      const TavUnicodeString type = spec->GetRelationType();
      auto holder = query<TavIAttributeHolder>(spec);
      const std::vector<TavAttribute> attributes = holder ? holder->GetAttributes() : std::vector<TavAttribute>{};
      if (FAILED(relations->RemoveRelation(type, first))) continue;
      changed = true;
      Ref<TavISPPActivitySpecification> made;
      if (FAILED(relations->CreateRelation(type, newInstance, &made))) continue;  // already held so
      if (auto to = query<TavIAttributeHolder>(made))
        for (const auto& a : attributes) to->SetAttribute(a.name, a.value);
    }
    return changed;
  }
  // An activity without relation objects: its resource list only.
  auto resources = query<TavISPPResourceManagement>(activity);
  if (!resources) return false;
  for (unsigned code : {TavResourceCode::Uses, TavResourceCode::RunsOn})
    if (resources->IsResourceAssigned(first, code) == S_OK && SUCCEEDED(resources->RemoveResource(first, code))) {
      resources->AddResource(newInstance, code);
      changed = true;
    }
  return changed;
}

int ReplaceInListed(const std::vector<Ref<TavISPPActivity>>& all, const std::vector<Ref<TavISPPActivity>>& listed,
                    const Ref<TavBaseUnknown>& first, const Ref<TavBaseUnknown>& newInstance) {
  // Membership by object: the list may name an activity several times.
  std::unordered_set<const TavBaseUnknown*> chosen;
  chosen.reserve(listed.size());
  for (const auto& a : listed)
    if (a) chosen.insert(a.get());
  int changed = 0;
  for (const auto& a : all)
    if (a && chosen.count(a.get()) && ReplaceIn(a, first, newInstance)) ++changed;
  return changed;
}

void Redraw(const Ref<TavBaseUnknown>& o) {
  if (auto r = query<TavIRedrawEvent>(o)) r->Redraw();
}
}  // namespace

bool OrvVekReplaceResourceServices::IsResourceCompatible(const Ref<TavBaseUnknown>& newResource, TavUnicodeString& message) {
  TavTraceScope scope(Trace(), kClass, "IsResourceCompatible");
  if (query<TavIProduct>(newResource)) return true;
  message = TavMsgCatalog::BuildMessage(kCompatibilityCatalog, " errormessage", {}, "Second Resource is not an ASMPRODUCT");
  return false;
}

HRESULT OrvVekReplaceResourceServices::ReplaceResource(const Ref<TavBaseUnknown>& firstObject, const Ref<TavBaseUnknown>& second,
                                                       std::vector<Ref<TavISPPActivity>>* activities, unsigned char removeOld,
                                                       unsigned char secondIsInstance, Ref<TavIProduct>* created) {
  TavTraceScope scope(Trace(), kClass, "ReplaceResource");
  if (created) *created = nullptr;
  auto first = query<TavIProduct>(firstObject);
  auto father = first ? first->GetFatherProduct() : nullptr;
  auto movable = query<TavIMovable>(first);
  auto editor = TavFrmEditor::GetCurrentEditor();
  auto doc = editor ? editor->GetDocument() : nullptr;
  Ref<TavISPPProcessContainer> container;
  if (!father || !movable || !doc || FAILED(OrvVekCommandServices::GetProcessContainer(container, nullptr)))
    return E_FAIL;
  const TavIMovable::Position placement = movable->GetPosition();
  const auto all = ProcessActivities();

  // A step that fails half-way leaves the model as before the replacement.
  TavSavepoint mark;
  auto fail = [&] {
    mark.RollBack();
    return E_FAIL;
  };
  Ref<TavIProduct> instance;
  if (secondIsInstance) {
    instance = query<TavIProduct>(second);
    if (!instance) return fail();
    Redraw(instance);
  } else {
    auto of = query<TavIProduct>(second);
    auto instances = query<TavIProductInstances>(father);
    if (!of || !instances || FAILED(instances->AddInstance(of, instance)) || !instance) return fail();
    auto firstBlock = query<TavIBlockMovable>(first);
    auto newBlock = query<TavIBlockMovable>(instance);
    if (firstBlock && newBlock && firstBlock->IsBlockMovable()) newBlock->SetBlockMovable(0);
    if (auto session = query<TavIProductInSession>(father)) session->SendProductAdded(father, instance);
    for (const auto& a : container->GetRootActivities())
      if (auto events = query<TavISPPActivityModificationEvents>(a)) events->SendModification(TavActivityModification::AddContext);
  }
  if (activities) ReplaceInListed(all, *activities, first, instance);
  if (auto to = query<TavIMovable>(instance)) to->SetPosition(placement);
  if (removeOld == 1) {
    if (auto session = query<TavIProductInSession>(father)) session->SendProductRemoved(father, first);
    auto instances = query<TavIProductInstances>(father);
    if (!instances || FAILED(instances->RemoveInstance(first))) return fail();
  }
  for (const char* list : {TavIPPRProductList::kInterfaceName, TavIPPRResourceList::kInterfaceName})
    if (auto roots = query<TavIPPRRootList>(doc->GetRootContainer(list)))
      for (const auto& p : roots->GetRoots()) Redraw(p);
  if (created) *created = instance;
  return S_OK;
}

HRESULT OrvVekReplaceResourceServices::ReplaceResource(const Ref<TavBaseUnknown>& first, const Ref<TavBaseUnknown>& second,
                                                       const Ref<TavISPPActivity>& activity, unsigned char removeOld,
                                                       unsigned char secondIsInstance, Ref<TavIProduct>* created) {
  auto list = std::make_unique<std::vector<Ref<TavISPPActivity>>>();
  if (activity) list->push_back(activity);
  return ReplaceResource(first, second, list.get(), removeOld, secondIsInstance, created);
}

int OrvVekReplaceResourceServices::ReplaceInActivities(std::vector<Ref<TavISPPActivity>>* activities,
                                                       const Ref<TavBaseUnknown>& first, const Ref<TavBaseUnknown>& newInstance) {
  TavTraceScope scope(Trace(), kClass, "ReplaceInActivities");
  if (!activities || !first || !newInstance) return 0;
  return ReplaceInListed(ProcessActivities(), *activities, first, newInstance);
}
