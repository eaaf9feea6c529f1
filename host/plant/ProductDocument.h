#pragma once
// Product documents ("*.TavProduct"): a plant file holding only <products> with one
// root product (docs/product-document.md). A product replacement reads its
// replacing product from one.
#include <string>

#include "HostModel.h"

namespace host {

// The product document as a document of its own, whose one product root is the
// product it holds; null with one message "file:line:column: what is wrong" when
// the bytes are no product document.
Ref<HostDocument> ParseProductDocument(const std::string& bytes, const std::string& fileName, std::string& error);
Ref<HostDocument> LoadProductDocument(const std::string& path, std::string& error);

}  // namespace host
