#include "OrvIReplaceImpactedProduct.h"

#include "TavCopy.h"
#include "TavPointing.h"
#include "TavResources.h"

namespace {
TavUnicodeString LabelOf(const Ref<TavBaseUnknown>& activity) {
  auto a = query<TavISPPActivity>(activity);
  return a ? a->GetLabel() : TavUnicodeString();
}
}  // namespace

HRESULT OrvEReplaceImpactedProduct::GetNameofComponent(TavUnicodeString& name) {
  // A flow object belongs to the activity its spec names.
  if (query<TavISPPProductIO>(extended_) || query<TavISPPControlIO>(extended_)) {
    auto spec = query<TavISpecObject>(extended_);
    auto owner = spec ? spec->GetSpecAttribute("PhysicActivity") : nullptr;
    if (!owner) return E_FAIL;
    name = LabelOf(owner);
    return S_OK;
  }
  if (auto relation = query<TavISPPActivitySpecification>(extended_)) {
    auto owner = relation->GetOwner();
    if (!owner) return E_FAIL;
    name = LabelOf(owner);
    return S_OK;
  }
  if (auto alias = query<TavIAlias>(extended_)) {
    name = alias->GetAlias();
    return S_OK;
  }
  return E_FAIL;
}

HRESULT OrvEReplaceImpactedProduct::GetNLSTypeOfComponent(TavUnicodeString& type) {
  type = "Manufacturing Assembly";
  return S_OK;
}
