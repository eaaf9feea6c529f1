#pragma once
// What the PPR tree shows of the model: its roots, each object's children in tree
// order and each node's text. Read from the model as it is at each call.
#include <string>
#include <vector>

#include "HostModel.h"

namespace host {

// Objects are compared as the model sees them: an extension stands for what it extends.
inline const void* TreeIdentity(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

// Every root process, then the product list, the resource list and the assemblies.
std::vector<Ref<TavBaseUnknown>> TreeRoots(const HostDocument& doc);
// An activity's children; a list's roots; a product's children, and for a resource
// its behaviour last; the assemblies of the container; an assembly's content.
std::vector<Ref<TavBaseUnknown>> TreeChildren(const Ref<TavBaseUnknown>& object);
bool HasTreeChildren(const Ref<TavBaseUnknown>& object);
std::string TreeText(const Ref<TavBaseUnknown>& object);

}  // namespace host
