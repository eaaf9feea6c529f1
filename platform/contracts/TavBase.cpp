#include "TavBase.h"

#include <algorithm>

TavExtensionRegistry& TavExtensionRegistry::Get() {
  static TavExtensionRegistry r;
  return r;
}

void TavExtensionRegistry::Register(std::string lateType, std::string interfaceName, Factory f) {
  auto& forType = byLateType_[std::move(lateType)];
  for (auto& [name, factory] : forType)
    if (name == interfaceName) {
      factory = std::move(f);
      return;
    }
  forType.emplace_back(std::move(interfaceName), std::move(f));
}

void TavExtensionRegistry::Add(std::string lateType, std::string interfaceName, Factory f) {
  byLateType_[std::move(lateType)].emplace_back(std::move(interfaceName), std::move(f));
}

void TavExtensionRegistry::RegisterForAnyType(std::string interfaceName, Factory f) {
  for (auto& [name, factory] : anyType_)
    if (name == interfaceName) {
      factory = std::move(f);
      return;
    }
  anyType_.emplace_back(std::move(interfaceName), std::move(f));
}

Ref<TavBaseUnknown> TavExtensionRegistry::Create(const Ref<TavBaseUnknown>& object, std::string_view interfaceName) const {
  if (!object) return nullptr;
  const std::string late = object->LateType();
  if (late.empty()) return nullptr;
  auto it = byLateType_.find(std::string_view(late));
  if (it != byLateType_.end())
    for (const auto& [name, factory] : it->second)
      if (name == interfaceName) return factory(object);
  for (const auto& [name, factory] : anyType_)
    if (name == interfaceName) return factory(object);
  return nullptr;
}

std::vector<Ref<TavBaseUnknown>> TavExtensionRegistry::CreateAll(const Ref<TavBaseUnknown>& object,
                                                                 std::string_view interfaceName) const {
  std::vector<Ref<TavBaseUnknown>> out;
  if (!object) return out;
  const std::string late = object->LateType();
  if (late.empty()) return out;
  auto keep = [&](const std::vector<std::pair<std::string, Factory>>& list) {
    for (const auto& [name, factory] : list)
      if (name == interfaceName)
        if (auto e = factory(object)) out.push_back(std::move(e));
  };
  if (auto it = byLateType_.find(std::string_view(late)); it != byLateType_.end()) keep(it->second);
  keep(anyType_);
  return out;
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
