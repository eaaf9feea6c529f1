// New instances of a product's reference under a father, and their removal with
// every relation that names them.
//
// This host keeps no reference objects apart from instances: products with one part
// number are instances of one reference, and the instance given stands for it, so a
// new instance receives that instance's structure.
#include <deque>
#include <unordered_set>

#include "HostPlanner.h"
#include "HostProductEdit.h"
#include "HostProducts.h"

namespace host {

namespace {

// "Robot.12" -> "Robot"; a name without a trailing ".N" stays as it is.
std::string_view BaseName(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return name;
  for (std::size_t i = dot + 1; i < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return name;
  return name.substr(0, dot);
}

// Copies what an instance carries of its own: resource type, attributes, position.
void CopyOwnState(const Ref<TavIProduct>& from, HostProduct& to) {
  if (!from->GetResourceType().IsEmpty()) to.SetResourceType(from->GetResourceType());
  if (auto attrs = query<TavIAttributeHolder>(from))
    for (auto& a : attrs->GetAttributes()) to.SetAttribute(a.name, a.value);
  if (auto movable = query<TavIMovable>(from)) {
    const auto position = movable->GetPosition();
    if (position != to.GetPosition()) to.SetPosition(position);
  }
  if (auto host = std::dynamic_pointer_cast<HostProduct>(from->ExtendedObject()); host && host->HasPosition())
    to.SetHasPosition(true);
}

}  // namespace

TavUnicodeString InstanceName(const HostProduct& father, const TavUnicodeString& name) {
  const std::string base(BaseName(name.utf8()));
  std::unordered_set<std::string> taken;
  for (auto& c : father.Children()) taken.insert(c->Name().utf8());
  for (std::size_t n = 1;; ++n) {
    std::string candidate = base + "." + std::to_string(n);
    if (!taken.count(candidate)) return TavUnicodeString(candidate);
  }
}

HRESULT AddProductInstance(const Ref<HostProduct>& father, const Ref<TavIProduct>& of, Ref<HostProduct>& created,
                           std::string& why) {
  created.reset();
  HostDocument* doc = father ? father->Doc() : nullptr;
  if (!doc) {
    why = "the father is in no document";
    return E_FAIL;
  }
  if (!of) {
    why = "no product to instantiate";
    return E_FAIL;
  }
  // The resource root only stands for the resource list: a child made under it
  // would be in no list, never saved and on no path.
  if (father->IsResourceRoot()) {
    why = "'" + father->Name().utf8() + "' is the root of the resource tree: new resources go into the resource list";
    return E_FAIL;
  }
  const auto source = of->ExtendedObject();
  for (auto a = father; a; a = a->Father())
    if (SameObject(a, source)) {
      why = "'" + of->GetName().utf8() + "' is '" + father->Name().utf8() + "' or one of its fathers";
      return E_FAIL;
    }
  if (of->IsResource() != father->IsResource()) {
    why = "'" + of->GetName().utf8() + "' is a " + (of->IsResource() ? "resource" : "product") + ", '" +
          father->Name().utf8() + "' a " + (father->IsResource() ? "resource" : "product");
    return E_FAIL;
  }
  created = doc->CreateProduct(father, {}, InstanceName(*father, of->GetName()), of->GetPartNumber());
  CopyOwnState(of, *created);
  // The reference's structure, level by level so that each father's children keep
  // their order; no recursion, so a deep structure cannot overflow the stack.
  std::deque<std::pair<Ref<TavIProduct>, Ref<HostProduct>>> todo{{of, created}};
  while (!todo.empty()) {
    auto [from, to] = std::move(todo.front());
    todo.pop_front();
    for (auto& child : from->GetChildren()) {
      auto made = doc->CreateProduct(to, {}, child->GetName(), child->GetPartNumber());
      CopyOwnState(child, *made);
      todo.emplace_back(child, made);
    }
  }
  return S_OK;
}

HRESULT RemoveProductInstance(const Ref<HostProduct>& father, const Ref<HostProduct>& child, std::string& why) {
  HostDocument* doc = father ? father->Doc() : nullptr;
  if (!doc || !child || child->Father() != father) {
    why = child ? "'" + child->Name().utf8() + "' is no child of '" + (father ? father->Name().utf8() : "") + "'"
                : "no child to remove";
    return E_FAIL;
  }
  DropLinksTo(*doc, SubtreeOf(child));
  return DetachProduct(*doc, child, why) ? S_OK : E_FAIL;
}

}  // namespace host
