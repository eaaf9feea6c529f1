#include "TavBase.h"

#include <algorithm>

TavExtensionRegistry& TavExtensionRegistry::Get() {
  static TavExtensionRegistry r;
  return r;
}

void TavExtensionRegistry::Register(std::string lateType, std::string interfaceName, Factory f) {
  for (auto& e : entries_) {
    if (e.lateType == lateType && e.interfaceName == interfaceName) {
      e.factory = std::move(f);
      return;
    }
  }
  entries_.push_back({std::move(lateType), std::move(interfaceName), std::move(f)});
}

Ref<TavBaseUnknown> TavExtensionRegistry::Create(const Ref<TavBaseUnknown>& object, std::string_view interfaceName) const {
  if (!object) return nullptr;
  const std::string late = object->LateType();
  if (late.empty()) return nullptr;
  for (const auto& e : entries_)
    if (e.lateType == late && e.interfaceName == interfaceName) return e.factory(object);
  return nullptr;
}

TavInterfaceNames& TavInterfaceNames::Get() {
  static TavInterfaceNames n;
  return n;
}

void TavInterfaceNames::Register(std::string_view name, Caster c) {
  for (auto& [n, cc] : names_)
    if (n == name) { cc = c; return; }
  names_.emplace_back(std::string(name), c);
}

TavInterfaceNames::Caster TavInterfaceNames::Find(std::string_view name) const {
  for (const auto& [n, c] : names_)
    if (n == name) return c;
  return nullptr;
}

Ref<TavBaseUnknown> TavBaseUnknown::QueryInterface(std::string_view interfaceName) {
  Ref<TavBaseUnknown> me = self();
  if (!me) return nullptr;
  if (interfaceName == kInterfaceName) return me;
  if (auto c = TavInterfaceNames::Get().Find(interfaceName))
    if (auto r = c(me)) return r;
  return TavExtensionRegistry::Get().Create(me, interfaceName);
}

bool SameObject(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  if (!a || !b) return a == b;
  return a->ExtendedObject().get() == b->ExtendedObject().get();
}
