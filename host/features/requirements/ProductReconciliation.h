#pragma once
// OrvIReconciliationAnalysisForEngRequirement on a product of this host.
#include "HostModel.h"
#include "TavRequirements.h"

namespace host {

class ProductReconciliation final : public virtual OrvIReconciliationAnalysisForEngRequirement {
public:
  explicit ProductReconciliation(Ref<HostProduct> product) : product_(std::move(product)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return product_; }
  // E_FAIL for a product taken out of its document, whose requirements are not
  // those of any plant any more.
  HRESULT GetReconciliationLevel(int& level) const override;

private:
  Ref<HostProduct> product_;
};

}  // namespace host
