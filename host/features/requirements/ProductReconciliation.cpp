#include "ProductReconciliation.h"

#include "RequirementCoverage.h"

namespace host {

HRESULT ProductReconciliation::GetReconciliationLevel(int& level) const {
  const HostDocument* doc = product_->Doc();
  if (!doc || product_->IsResource()) return E_FAIL;
  level = ReconciliationLevelOf(*doc, *product_);
  return S_OK;
}

}  // namespace host
