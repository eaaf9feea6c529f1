#pragma once
// Product replacement on the reference host: what points at a product
// (TavIPointingObjects), the names objects go by (TavIAlias), a product's model
// events, and the products collection's automation that replaces an instance by the
// product of a product document (TavIAProduct). See docs/product-replacement.md.
#include <string>
#include <vector>

#include "HostModel.h"
#include "TavPointing.h"

namespace host {

// The objects pointing at `product` (TavIPointingObjects): activity relations, flow
// outputs, assemblies holding it, behaviour items and 3D contexts, in the order
// their owners were made (then their place in the owner).
std::vector<Ref<TavBaseUnknown>> PointingObjects(const HostProduct& product);

// Replaces `instance`, a child of `father`, as TavIAProduct::ReplaceComponent says.
HRESULT ReplaceProductInstance(const Ref<HostProduct>& father, const Ref<HostProduct>& instance,
                               const std::string& path, std::string& error);

void RegisterReplacementHost();
void RegisterProductPointers();    // ProductPointers.cpp
void RegisterProductReplacing();   // ProductReplace.cpp

}  // namespace host
