#include "OrvMARefEbomCmd.h"

std::unique_ptr<TavStateCommand> fctCreateOrvMARefEbomCmd() { return std::make_unique<OrvMARefEbomCmd>(); }

void OrvMARefEbomCmd::BuildGraph() {
  using Self = OrvMARefEbomCmd;
  partAgent_ = std::make_unique<TavPathElementAgent>("SelectPart");
  partAgent_->AddElementType(TavIProduct::kInterfaceName);
  partAgent_->SetFilter([this](TavAcquisitionAgent*) { return ProductFilter(); });
  auto* initial = GetInitialState("initialState");
  auto* select = AddDialogState("SelectMA");
  initial->AddDialogAgent(partAgent_.get());
  AddTransition(initial, select, IsOutputSetCondition(partAgent_.get()), Action(&Self::SelectProduct), {partAgent_.get()});
  BuildMASelection(select, [this] { return Link(); });
}

bool OrvMARefEbomCmd::IsReferenceProduct(const Ref<TavBaseUnknown>& pick) {
  auto p = query<TavIProduct>(pick);
  // The resource list's roots do not answer "Resource.1" as their father here: being a
  // resource says the same.
  if (!p || p->IsResource()) return false;
  for (; p; p = p->GetFatherProduct())
    if (p->GetName() == TavUnicodeString("Resource.1")) return false;
  return true;
}

bool OrvMARefEbomCmd::ProductFilter() { return IsReferenceProduct(partAgent_->GetValueObject()); }

bool OrvMARefEbomCmd::SelectProduct() {
  product_ = partAgent_->GetValueObject();
  return product_ != nullptr;
}

bool OrvMARefEbomCmd::Link() {
  // A refused link leaves the assembly as it was; the command ends without a message.
  return Assembly() && product_ && SUCCEEDED(Assembly()->LinkRefEbom(product_));
}
