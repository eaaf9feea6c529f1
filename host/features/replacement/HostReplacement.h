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

// One object naming a product, as the host keeps it.
struct ProductPointer {
  enum Kind { Relation, Output, AssemblyContent, BehaviourItem, Context } kind;
  Ref<HostObject> owner;       // the activity, assembly or behaviour
  Ref<HostRelation> relation;  // of a relation, an output or a behaviour item
  int order = 0;               // the owner's model number: the order owners were made
  std::size_t place = 0;       // within the owner's list
};
// What names `product`: activity relations, flow outputs, assemblies holding it,
// behaviour items and 3D contexts, in the order their owners were made (then their
// place in the owner).
std::vector<ProductPointer> PointersTo(const HostProduct& product);
// The same as the objects TavIPointingObjects answers.
std::vector<Ref<TavBaseUnknown>> PointingObjects(const HostProduct& product);

// Replaces `instance`, a child of `father`, as TavIAProduct::ReplaceComponent says.
HRESULT ReplaceProductInstance(const Ref<HostProduct>& father, const Ref<HostProduct>& instance,
                               const std::string& path, std::string& error);

void RegisterReplacementHost();
void RegisterProductPointers();    // ProductPointers.cpp
void RegisterProductReplacing();   // ProductReplace.cpp

}  // namespace host
