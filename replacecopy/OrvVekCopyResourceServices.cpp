#include "OrvVekCopyResourceServices.h"

#include <cstdlib>

#include "OrvVekServices.h"
#include "TavActivityLib.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCopyResourceTrace", "Traces for module OrvVekCopyResource");
  return t;
}
constexpr const char* kClass = "OrvVekCopyResourceServices";

// The sources and copies of the running copy. Only one copy may use them; the
// guard releases them on every way out.
struct CopyLists {
  bool inUse = false;
  std::vector<Ref<TavBaseUnknown>> sources, copies;
};
CopyLists& Lists() {
  static CopyLists lists;
  return lists;
}
class CopyListsGuard {
public:
  CopyListsGuard() : owned_(!Lists().inUse) {
    if (owned_) Lists().inUse = true;
  }
  ~CopyListsGuard() {
    if (!owned_) return;
    Lists().sources.clear();
    Lists().copies.clear();
    Lists().inUse = false;
  }
  CopyListsGuard(const CopyListsGuard&) = delete;
  CopyListsGuard& operator=(const CopyListsGuard&) = delete;
  bool Owned() const { return owned_; }

private:
  bool owned_;
};

TavUnicodeString TextAttribute(const Ref<TavBaseUnknown>& o, const char* name) {
  auto holder = query<TavIAttributeHolder>(o);
  auto v = holder ? holder->GetAttribute(name) : std::nullopt;
  auto s = v ? std::get_if<TavUnicodeString>(&*v) : nullptr;
  return s ? *s : TavUnicodeString();
}
int IntAttribute(const Ref<TavBaseUnknown>& o, const char* name) {
  auto holder = query<TavIAttributeHolder>(o);
  auto v = holder ? holder->GetAttribute(name) : std::nullopt;
  if (!v) return 0;
  if (auto i = std::get_if<std::int64_t>(&*v)) return static_cast<int>(*i);
  if (auto d = std::get_if<double>(&*v)) return static_cast<int>(*d);
  return 0;
}
}  // namespace

HRESULT OrvVekCopyResourceServices::CopyResource(const Ref<TavIProduct>& resource, const Ref<TavIProduct>& newFather,
                                                 const Ref<TavDocument>& document, const TavUnicodeString& newName,
                                                 Ref<TavIProduct>& copy) {
  TavTraceScope scope(Trace(), kClass, "CopyResource");
  copy = nullptr;
  if (!resource || !newFather) return E_FAIL;
  CopyListsGuard guard;
  if (!guard.Owned()) {
    Trace().Print("check ERROR: Temporary copylists are in use. Concurrent copy forbidden.");
    return E_FAIL;
  }
  TavSavepoint mark;
  HRESULT hr = S_OK;
  if (IsResourceADevice(resource) || (IsHubMode(document) && IsAKwProductInHx(resource))) {
    hr = CopyAsInstance(resource, newFather, copy);
  } else {
    // The source's subtree is taken first: a father below the source then gets a
    // copy of the subtree as it was, never of its own copy.
    const OrvVekResourceTree source = OrvVekResourceTree::Of(resource);
    // The copy is named as asked unless a sibling has that name already.
    TavUnicodeString instanceName = newName;
    for (const auto& sibling : newFather->GetChildren())
      if (sibling->GetName() == newName) instanceName = {};
    hr = CopyOneChildResource(resource, newFather, newName, instanceName, copy);
    if (SUCCEEDED(hr)) {
      Lists().sources.push_back(resource);
      Lists().copies.push_back(copy);
      hr = CopyChildrenResources(source.children, copy);
    }
    if (SUCCEEDED(hr)) OrvVekServices::SendPrdAddNotification(newFather, copy);
  }
  if (FAILED(hr) || !copy) {
    mark.RollBack();
    copy = nullptr;
    return E_FAIL;
  }
  if (std::getenv("ORV_ENABLE_PRP_RESOURCE_CMDS") && !Lists().sources.empty()) {
    OrvVekServices::CopySequenceLinks(Lists().sources, Lists().copies);
    OrvVekServices::CopyAssignments(Lists().sources, Lists().copies);
  }
  return S_OK;
}

HRESULT OrvVekCopyResourceServices::CopyAsInstance(const Ref<TavIProduct>& resource, const Ref<TavIProduct>& newFather,
                                                   Ref<TavIProduct>& copy) {
  TavTraceScope scope(Trace(), kClass, "CopyAsInstance");
  copy = nullptr;
  auto instances = query<TavIProductInstances>(newFather);
  if (!instances || FAILED(instances->AddInstance(resource, copy)) || !copy) return E_FAIL;
  OrvVekServices::SendPrdAddNotification(newFather, copy);
  return S_OK;
}

HRESULT OrvVekCopyResourceServices::CopyOneChildResource(const Ref<TavIProduct>& resource, const Ref<TavIProduct>& newFather,
                                                         const TavUnicodeString& partNumber,
                                                         const TavUnicodeString& instanceName, Ref<TavIProduct>& copy) {
  TavTraceScope scope(Trace(), kClass, "CopyOneChildResource");
  copy = nullptr;
  auto products = query<TavIAProducts>(newFather);
  if (!resource || !products || partNumber.IsEmpty()) return E_FAIL;
  if (FAILED(products->AddProduct(partNumber, copy)) || !copy) return E_FAIL;
  auto from = query<TavIAttributeHolder>(resource);
  auto to = query<TavIAttributeHolder>(copy);
  if (from && to)
    for (const auto& a : from->GetAttributes()) to->SetAttribute(a.name, a.value);
  const TavUnicodeString name = instanceName.IsEmpty() ? copy->GetName() : instanceName;
  const TavUnicodeString type = resource->GetResourceType();
  if (!type.IsEmpty()) {
    auto factory = query<TavIResourceFactory>(TavDocumentOf(copy) ? TavDocumentOf(copy)->GetRootContainer(TavIResourceFactory::kInterfaceName) : nullptr);
    if (!factory || FAILED(factory->MakeResource(copy, name, type, TextAttribute(resource, "Category"),
                                                 IntAttribute(resource, "MTBF"), IntAttribute(resource, "MTTR"))))
      return E_FAIL;
    // The factory gives every resource these three; a copy has only what its source has.
    for (const char* a : {"Category", "MTBF", "MTTR"})
      if (to && !(from && from->GetAttribute(a))) to->RemoveAttribute(a);
  } else if (name != copy->GetName()) {
    copy->SetName(name);
  }
  auto src = query<TavIMovable>(resource);
  auto dst = query<TavIMovable>(copy);
  if (src && dst) dst->SetPosition(src->GetPosition());
  if (OrvVekServices::CanResourceHaveBehavior(resource)) {
    const HRESULT hr = OrvVekServices::CopyBehavior(resource, copy);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT OrvVekCopyResourceServices::CopyChildrenResources(const std::vector<OrvVekResourceTree>& children,
                                                          const Ref<TavIProduct>& copy) {
  TavTraceScope scope(Trace(), kClass, "CopyChildrenResources");
  for (const auto& node : children) {
    const auto& child = node.resource;
    Ref<TavIProduct> childCopy;
    // A child keeps its reference's part number and its instance name: siblings'
    // names were unique below the source and stay unique below the copy.
    HRESULT hr = CopyOneChildResource(child, copy, child->GetPartNumber().IsEmpty() ? child->GetName() : child->GetPartNumber(),
                                      child->GetName(), childCopy);
    if (FAILED(hr)) return hr;
    Lists().sources.push_back(child);
    Lists().copies.push_back(childCopy);
    hr = CopyChildrenResources(node.children, childCopy);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

OrvVekResourceTree OrvVekResourceTree::Of(const Ref<TavIProduct>& resource) {
  OrvVekResourceTree tree{resource, {}};
  if (resource)
    for (const auto& child : resource->GetChildren()) tree.children.push_back(Of(child));
  return tree;
}

bool OrvVekCopyResourceServices::ResourceIsSaved(const Ref<TavBaseUnknown>& resource) {
  auto state = query<TavISavedState>(resource);
  return !state || state->IsSaved();
}

bool OrvVekCopyResourceServices::IsHubMode(const Ref<TavDocument>& document) {
  auto env = document ? document->GetDocEnvironment() : nullptr;
  return env && env->IsAKindOf("YorDocEnv");
}

bool OrvVekCopyResourceServices::IsAKwProductInHx(const Ref<TavBaseUnknown>& resource) {
  auto access = query<OrvIMHIProductAccess>(resource);
  return access && access->IsAKwProductInHx();
}

bool OrvVekCopyResourceServices::IsResourceADevice(const Ref<TavBaseUnknown>& resource) {
  auto product = query<TavIProduct>(resource);
  if (!product || !product->IsResource()) return false;
  return product->GetResourceType() == "Device" || OrvVekServices::IsResourceUnderResourceContext(resource);
}

Ref<TavIProduct> OrvVekCopyResourceServices::DetermineResource(const TavPathElement& path) {
  auto leaf = path.GetLeaf();
  auto product = query<TavIProduct>(leaf);
  return product && query<TavIResource>(leaf) ? product : nullptr;
}

OrvVekDetermineResult OrvVekCopyResourceServices::DetermineCopyResource(const TavPathElement& path,
                                                                        const Ref<TavISPPProcessContainer>&,
                                                                        const Ref<TavDocument>& document) {
  TavTraceScope scope(Trace(), kClass, "DetermineCopyResource");
  auto resource = DetermineResource(path);
  if (!resource) return OrvVekNotAResource;
  if (IsHubMode(document) && IsAKwProductInHx(resource)) return OrvVekAcceptable;
  return ResourceIsSaved(resource) ? OrvVekAcceptable : OrvVekResourceNotSaved;
}

OrvVekDetermineResult OrvVekCopyResourceServices::DetermineParentResource(const TavPathElement& path,
                                                                          const Ref<TavISPPProcessContainer>&,
                                                                          const Ref<TavDocument>& document,
                                                                          const TavUnicodeString& planType) {
  TavTraceScope scope(Trace(), kClass, "DetermineParentResource");
  auto parent = DetermineResource(path);
  if (!parent) return OrvVekNotAResource;
  if (!ResourceIsSaved(parent)) return OrvVekResourceNotSaved;
  if (!ResourceCanAddChild(parent, document)) return OrvVekParentHasNoChildRights;
  if (!ResourceCanCreatePlanType(path, document, planType)) return OrvVekWrongPlanType;
  return OrvVekAcceptable;
}

bool OrvVekCopyResourceServices::ResourceCanAddChild(const Ref<TavIProduct>& parent, const Ref<TavDocument>& document) {
  if (!IsHubMode(document)) return true;
  auto access = query<OrvIMHIProductAccess>(parent);
  return !access || access->HasChildRight();
}

bool OrvVekCopyResourceServices::ResourceCanCreatePlanType(const TavPathElement& parent, const Ref<TavDocument>& document,
                                                           const TavUnicodeString& planType) {
  if (!IsHubMode(document) || planType.IsEmpty()) return true;
  std::vector<TavUnicodeString> names;
  // A parent without a plan type sets no rule.
  if (FAILED(OrvVekServices::GetAuthorizedChildrenNames(parent, names))) return true;
  for (const auto& n : names)
    if (n == planType) return true;
  return false;
}

TavUnicodeString OrvVekCopyResourceServices::PlanTypeOf(const Ref<TavBaseUnknown>& resource) {
  auto object = query<OrvIMHIPlanTypeObject>(resource);
  auto type = object ? object->GetPlanType() : nullptr;
  return type ? type->GetName() : TavUnicodeString();
}

TavUnicodeString OrvVekCopyResourceServices::ResultMessage(OrvVekDetermineResult result, const TavUnicodeString& planType) {
  constexpr const char* kCatalog = "OrvVekCopyResourceCmd";
  switch (result) {
    case OrvVekNotAResource:
      return TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCopyResourceCmd.NotAResource.Text", {}, "This is not a resource.");
    case OrvVekResourceNotSaved:
      return TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCopyResourceCmd.ResourceNotSaved.Text", {},
                                         "This resource is not saved yet: save the plant first.");
    case OrvVekWrongPlanType:
      return TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCopyResourceCmd.WrongPlanType.Text", {planType},
                                         "This parent cannot hold a resource of plan type \"/P1\".");
    case OrvVekParentHasNoChildRights:
      return TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCopyResourceCmd.ParentHasNoChildRights.Text", {},
                                         "This parent may not receive children.");
    case OrvVekAcceptable: break;
  }
  return {};
}
