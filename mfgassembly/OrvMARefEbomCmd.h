#pragma once
// Links a manufactured assembly to the engineering product it realises: pick the
// product, then the assembly (a kit sends the command back to the assembly pick).
#include "OrvMARefEbomCommon.h"

class OrvMARefEbomCmd : public OrvMARefEbomCommon {
public:
  OrvMARefEbomCmd() : OrvMARefEbomCommon("OrvMARefEbomCmd") {}
  void BuildGraph() override;
  // A product under "Resource.1", or in the resource list, cannot be an EBOM reference.
  static bool IsReferenceProduct(const Ref<TavBaseUnknown>& pick);

private:
  bool ProductFilter();
  bool SelectProduct();
  bool Link();
  std::unique_ptr<TavPathElementAgent> partAgent_;
  Ref<TavBaseUnknown> product_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvMARefEbomCmd();
