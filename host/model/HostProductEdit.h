#pragma once
// Taking a product or resource subtree out of its document. The model makes
// products through HostDocument::CreateProduct; this is the way back, recorded like
// every other change so that undo puts the subtree back where it was.
#include <string>

#include "HostModel.h"

namespace host {

// Detaches `product` and its descendants from their father (or from the product or
// resource list); their ids leave the document. Activities naming them are the
// caller's business. False with a message, nothing changed, when the product is not
// in `doc`.
bool DetachProduct(HostDocument& doc, const Ref<HostProduct>& product, std::string& why);

}  // namespace host
