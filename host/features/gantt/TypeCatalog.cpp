#include "TypeCatalog.h"

#include <algorithm>

namespace host {

namespace {

// A type no library defines: the model's own types and those plants declare.
class CatalogType final : public virtual TavIActivityType, public virtual TavINavigateObject {
public:
  explicit CatalogType(const HostType& t) : type_(t) {}
  // Under the libraries' late type, so that one extension answers for every type.
  std::string LateType() const override { return "LibraryActivity"; }
  TavUnicodeString GetName() const override { return type_.name; }
  std::vector<TavUnicodeString> GetIdentificators() const override { return {type_.name}; }
  TavUnicodeString GetKind() const override { return type_.IsA("Activity") ? "Activity" : "ControlFlow"; }
  Ref<TavIActivityType> GetSuperType() const override {
    return type_.parent ? TypeCatalog::Get().FindType(type_.parent->name) : nullptr;
  }
  Ref<TavLibraryDocument> GetLibraryDocument() const override { return nullptr; }
  TavUnicodeString GetIconName() const override { return {}; }
  std::vector<TavUnicodeString> GetSubActivityTypes() const override { return {}; }

private:
  const HostType& type_;  // the model's types live for the run
};

const std::vector<std::string>& FasteningTypes() {
  static const std::vector<std::string> t{"BIWActivitySpotWelding", "BIWActivityStudWelding", "BIWActivityArcWelding",
                                          "BIWActivitySpotGluing",  "BIWActivityClinching",   "BIWActivityRiveting",
                                          "BIWActivityScrewing"};
  return t;
}

}  // namespace

TypeCatalog& TypeCatalog::Get() {
  static TypeCatalog catalog;
  return catalog;
}

void TypeCatalog::Install() {
  if (OrvVekPlantypeCache::GetInstance() != this) libraries_ = OrvVekPlantypeCache::GetInstance();
  OrvVekPlantypeCache::Install(this);
}

HRESULT TypeCatalog::BitmapName(const TavUnicodeString& type, TavUnicodeString& bitmap) const {
  bitmap = TavUnicodeString();
  if (libraries_) {
    HRESULT hr = libraries_->BitmapName(type, bitmap);
    if (hr != E_FAIL) return hr;
  }
  return host::FindType(type.utf8()) ? S_FALSE : E_FAIL;
}

Ref<TavIActivityType> TypeCatalog::FindType(const TavUnicodeString& name) const {
  if (libraries_)
    if (auto t = libraries_->FindType(name)) return t;
  auto it = made_.find(name.utf8());
  if (it != made_.end()) return it->second;
  const HostType* t = host::FindType(name.utf8());
  if (!t) return nullptr;
  return made_.emplace(name.utf8(), std::make_shared<CatalogType>(*t)).first->second;
}

const DeclaredType* TypeCatalog::FindDeclared(const std::string& name) const {
  auto it = declared_.find(name);
  return it == declared_.end() ? nullptr : &it->second.type;
}

bool TypeCatalog::CanDeclare(const DeclaredType& t, const std::vector<DeclaredType>& earlier, std::string& error) const {
  const auto q = [](const std::string& s) { return "'" + s + "'"; };
  const bool superEarlier =
      std::any_of(earlier.begin(), earlier.end(), [&](const DeclaredType& e) { return e.name == t.super; });
  const HostType* super = host::FindType(t.super);
  if (!superEarlier && (!super || !super->IsA("Activity"))) {
    error = "unknown super type " + q(t.super) + " of " + q(t.name) +
            (super ? " (a control-flow node type)" : " (not built in, not from a library, not declared before it)");
    return false;
  }
  auto it = declared_.find(t.name);
  if (it == declared_.end()) {
    if (host::FindType(t.name)) {
      error = "type " + q(t.name) + " is built in or defined by an activity library: declare a type of another name";
      return false;
    }
    return true;
  }
  const Entry& e = it->second;
  // The model's type keeps the super type it was first registered with.
  if (e.type.super != t.super) {
    error = "type " + q(t.name) + " was declared in this session with super type " + q(e.type.super) + ", here with " +
            q(t.super) + " (a type keeps its super type until the program ends)";
    return false;
  }
  if (e.holders > 0 && e.type.keys != t.keys) {
    error = "type " + q(t.name) + " is declared by another open plant with other attribute keys";
    return false;
  }
  return true;
}

void TypeCatalog::Declare(const DeclaredType& t) {
  Entry& e = declared_[t.name];
  if (e.type.name.empty()) RegisterType(t.name, t.super);
  e.type = t;
  ++e.holders;
}

void TypeCatalog::Release(const std::string& name) {
  auto it = declared_.find(name);
  if (it != declared_.end() && it->second.holders > 0) --it->second.holders;
}

std::vector<TavUnicodeString> TypeCatalog::DeclaredKeys(const std::string& type) const {
  std::vector<const HostType*> chain;
  for (const HostType* t = host::FindType(type); t; t = t->parent) chain.push_back(t);
  std::vector<TavUnicodeString> keys;
  for (auto t = chain.rbegin(); t != chain.rend(); ++t)
    if (const DeclaredType* d = FindDeclared((*t)->name))
      for (auto& k : d->keys)
        if (std::find(keys.begin(), keys.end(), TavUnicodeString(k)) == keys.end()) keys.emplace_back(k);
  return keys;
}

std::vector<TavUnicodeString> TypeCatalog::BuiltInKeys(const std::string& type) {
  const HostType* t = host::FindType(type);
  if (!t || !t->IsA("PhysicalActivity")) return {};
  std::vector<TavUnicodeString> keys{"SpecifiedCT", "CalculatedCT", "Description", "CalculatedBeginTime",
                                     "SpecifiedBeginning"};
  if (std::any_of(FasteningTypes().begin(), FasteningTypes().end(), [&](const std::string& f) { return t->IsA(f); }))
    for (const char* k : {"_NumberAsssignedFasteners", "_LengthOfAssignedCurveFasteners", "Number Of Point Fasteners",
                          "Length Of Curve Fastener (m)"})
      keys.emplace_back(k);
  return keys;
}

}  // namespace host
