#pragma once
// Handles, interface queries, extensions and result codes shared by host and workbench.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "TavString.h"

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// A handle is a reference-counted pointer; a null handle means "no such object".
template <class T>
using Ref = std::shared_ptr<T>;

// Every interface names itself; the name is what name-based queries and the
// extension registry use.
#define TAV_INTERFACE(Name) \
  static constexpr const char* kInterfaceName = #Name

class TavBaseUnknown : public std::enable_shared_from_this<TavBaseUnknown> {
public:
  TAV_INTERFACE(TavBaseUnknown);
  virtual ~TavBaseUnknown() = default;
  // The late type under which extensions are registered ("OrvMfgAssy", "Mirt_init", ...).
  virtual std::string LateType() const { return {}; }
  // The object an extension extends; the object itself for a plain object.
  virtual Ref<TavBaseUnknown> ExtendedObject() { return self(); }
  Ref<TavBaseUnknown> self() { return weak_from_this().lock(); }
  // Query by interface name; a failed query gives null.
  Ref<TavBaseUnknown> QueryInterface(std::string_view interfaceName);
};

// Extensions: (late type, interface name) -> factory given the extended object.
class TavExtensionRegistry {
public:
  using Factory = std::function<Ref<TavBaseUnknown>(const Ref<TavBaseUnknown>& extended)>;
  static TavExtensionRegistry& Get();
  void Register(std::string lateType, std::string interfaceName, Factory f);
  // A further extension for the pair, beside those registered: several applications
  // may implement one interface on the same objects (CreateAll finds them all).
  void Add(std::string lateType, std::string interfaceName, Factory f);
  // An extension of every late type that has no registration of its own for the
  // interface; the factory answers null for objects it does not extend.
  void RegisterForAnyType(std::string interfaceName, Factory f);
  // Null when nothing is registered for the pair.
  Ref<TavBaseUnknown> Create(const Ref<TavBaseUnknown>& object, std::string_view interfaceName) const;
  // Every extension of the object that implements the interface, in registration
  // order (those of any type last); factories answering null are left out.
  std::vector<Ref<TavBaseUnknown>> CreateAll(const Ref<TavBaseUnknown>& object, std::string_view interfaceName) const;

private:
  // Queries run per object in engines over whole plants: find the late type by
  // hash, then scan its few interfaces.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::vector<std::pair<std::string, Factory>>, Hash, std::equal_to<>> byLateType_;
  std::vector<std::pair<std::string, Factory>> anyType_;
};

// Name -> checked cast, for queries by a name only known at run time.
class TavInterfaceNames {
public:
  using Caster = Ref<TavBaseUnknown> (*)(const Ref<TavBaseUnknown>&);
  static TavInterfaceNames& Get();
  void Register(std::string_view name, Caster c);
  Caster Find(std::string_view name) const;

  template <class T>
  static void Declare() {
    Get().Register(T::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
      if (auto t = std::dynamic_pointer_cast<T>(o)) return o;
      return nullptr;
    });
  }

private:
  std::vector<std::pair<std::string, Caster>> names_;
};

// Interface casts. A dynamic_cast through the host's deep virtual hierarchies walks
// every base, comparing type names, and dominates engines that query each of 10^6
// objects. Within one complete object type an interface's subobject sits at a fixed
// offset, so the offset is remembered per (complete type, interface).
template <class T>
T* TavCast(TavBaseUnknown* p) {
  if (!p) return nullptr;
  struct Entry {
    const std::type_info* type;
    std::ptrdiff_t offset;
    bool found;
  };
  thread_local std::vector<Entry> known;
  const std::type_info* type = &typeid(*p);
  char* whole = static_cast<char*>(dynamic_cast<void*>(p));
  for (const Entry& e : known)
    if (e.type == type) return e.found ? reinterpret_cast<T*>(whole + e.offset) : nullptr;
  T* t = dynamic_cast<T*>(p);
  known.push_back({type, t ? reinterpret_cast<char*>(t) - whole : 0, t != nullptr});
  return t;
}

template <class T>
Ref<T> TavCast(const Ref<TavBaseUnknown>& p) {
  T* t = TavCast<T>(p.get());
  return t ? Ref<T>(p, t) : nullptr;
}

// Typed query: the object itself when it implements T, else an extension
// registered for its late type, else null.
template <class T, class U>
Ref<T> query(const Ref<U>& h) {
  if (!h) return nullptr;
  Ref<TavBaseUnknown> base = h;
  if (T* t = TavCast<T>(base.get())) return Ref<T>(h, t);
  if constexpr (requires { T::kInterfaceName; }) {
    if (auto ext = TavExtensionRegistry::Get().Create(base, T::kInterfaceName)) return TavCast<T>(ext);
  }
  return nullptr;
}

// Two handles name the same model object (extensions compare by what they extend).
bool SameObject(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);

template <class T>
using TavList = std::vector<Ref<T>>;

// Removes later duplicates, keeping the first occurrence (handle identity).
template <class T>
void RemoveDuplicates(std::vector<Ref<T>>& v) {
  std::unordered_set<const void*> seen;
  seen.reserve(v.size());
  std::erase_if(v, [&](const Ref<T>& e) { return !seen.insert(static_cast<const void*>(e.get())).second; });
}

inline void RemoveDuplicates(std::vector<TavUnicodeString>& v) {
  std::unordered_set<TavUnicodeString> seen;
  std::erase_if(v, [&](const TavUnicodeString& e) { return !seen.insert(e).second; });
}
