// The plant section <activityTypes> (docs/plant-format.md, "Declared activity
// types"), and the attribute keys that types and activities answer.
#include <algorithm>

#include "HostGantt.h"
#include "PlantSections.h"
#include "TavGantt.h"
#include "TypeCatalog.h"

namespace host {

namespace {

// The types one plant declared, in file order, so that it saves as it was read.
// Held in the catalogue while the plant is alive.
class HostDeclaredTypes final : public virtual TavBaseUnknown {
public:
  explicit HostDeclaredTypes(HostDocument*) {}
  ~HostDeclaredTypes() override {
    for (auto& t : types) TypeCatalog::Get().Release(t.name);
  }
  HostDeclaredTypes(const HostDeclaredTypes&) = delete;
  HostDeclaredTypes& operator=(const HostDeclaredTypes&) = delete;
  std::vector<DeclaredType> types;
};

// Type names are single words, as plan types and libraries list them.
bool ValidTypeName(std::string_view n) {
  return !n.empty() && std::none_of(n.begin(), n.end(), [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; });
}

bool Blank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

bool LoadActivityTypes(const PlantElement& section, PlantLoadContext& ctx) {
  if (!ctx.ReadAttributes(section, {})) return false;
  TypeCatalog& catalog = TypeCatalog::Get();
  // Every type is checked before any is declared: a section refused declares nothing.
  std::vector<DeclaredType> types;
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "type")) return false;
    std::optional<std::string> name, super;
    if (!ctx.ReadAttributes(*e, {{"name", &name, true}, {"super", &super, true}})) return false;
    if (!ValidTypeName(*name)) {
      ctx.Error(e, "bad type name '" + *name + "' (one word, no blanks)");
      return false;
    }
    if (std::any_of(types.begin(), types.end(), [&](const DeclaredType& t) { return t.name == *name; })) {
      ctx.Error(e, "duplicate type '" + *name + "'");
      return false;
    }
    DeclaredType t{*name, *super, {}};
    for (const PlantElement* k : ctx.Children(*e)) {
      if (!ctx.Expect(*k, "attribute")) return false;
      std::optional<std::string> key;
      if (!ctx.ReadAttributes(*k, {{"key", &key, true}})) return false;
      if (Blank(*key)) {
        ctx.Error(k, "an attribute key of type '" + *name + "' is empty");
        return false;
      }
      if (std::find(t.keys.begin(), t.keys.end(), *key) != t.keys.end()) {
        ctx.Error(k, "duplicate attribute key '" + *key + "' of type '" + *name + "'");
        return false;
      }
      t.keys.push_back(*key);
    }
    if (ctx.Failed()) return false;
    std::string error;
    if (!catalog.CanDeclare(t, types, error)) {
      ctx.Error(e, error);
      return false;
    }
    types.push_back(std::move(t));
  }
  if (ctx.Failed()) return false;
  auto& held = ctx.doc.FindOrAddContainer<HostDeclaredTypes>();
  for (auto& t : types) {
    catalog.Declare(t);
    held.types.push_back(std::move(t));
  }
  return true;
}

void SaveActivityTypes(const HostDocument& doc, PlantWriter& w) {
  const auto* held = doc.FindContainer<HostDeclaredTypes>();
  w.Start("activityTypes");
  if (held)
    for (auto& t : held->types) {
      w.Start("type");
      w.Attr("name", t.name);
      w.Attr("super", t.super);
      for (auto& k : t.keys) {
        w.Start("attribute");
        w.Attr("key", k);
        w.End();
      }
      w.End();
    }
  w.End();  // no type declared: an empty element, which the writer drops
}

// What a type (from TypeCatalog::FindType) answers about its attribute keys.
class TypeKeys final : public virtual TavIActivityTypeAttributes, public virtual TavISpecAttrAccess {
public:
  explicit TypeKeys(Ref<TavBaseUnknown> type) : type_(std::move(type)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return type_; }
  std::vector<TavUnicodeString> GetAttributeKeys() const override { return TypeCatalog::Get().DeclaredKeys(Name()); }
  HRESULT GetBooleanAttribute(const TavUnicodeString&, bool&) const override { return E_FAIL; }
  std::vector<TavUnicodeString> ListAttributeKeys() const override { return TypeCatalog::BuiltInKeys(Name()); }

private:
  std::string Name() const {
    auto* t = TavCast<TavIActivityType>(type_.get());
    return t ? t->GetName().utf8() : std::string();
  }
  Ref<TavBaseUnknown> type_;
};

// What an activity answers: its own attributes' names, and their values when boolean.
class ActivityKeys final : public virtual TavISpecAttrAccess {
public:
  explicit ActivityKeys(Ref<HostActivity> a) : a_(std::move(a)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return a_; }
  HRESULT GetBooleanAttribute(const TavUnicodeString& name, bool& value) const override {
    auto v = a_->GetAttribute(name);
    if (!v || !std::holds_alternative<bool>(*v)) return E_FAIL;
    value = std::get<bool>(*v);
    return S_OK;
  }
  std::vector<TavUnicodeString> ListAttributeKeys() const override {
    std::vector<TavUnicodeString> keys;
    for (auto& a : a_->Attributes()) keys.push_back(a.name);
    return keys;
  }

private:
  Ref<HostActivity> a_;
};

}  // namespace

void RegisterActivityTypes() {
  TypeCatalog::Get().Install();
  auto& registry = TavExtensionRegistry::Get();
  auto typeKeys = [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    return TavCast<TavIActivityType>(o.get()) ? std::make_shared<TypeKeys>(o) : nullptr;
  };
  registry.Register("LibraryActivity", TavIActivityTypeAttributes::kInterfaceName, typeKeys);
  registry.Register("LibraryActivity", TavISpecAttrAccess::kInterfaceName, typeKeys);
  // Activities' late types are their type names, which plants add to: any late type,
  // for activities only (products and resources have their own).
  registry.RegisterForAnyType(TavISpecAttrAccess::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto a = std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
    return a ? std::make_shared<ActivityKeys>(a) : nullptr;
  });
  // Early: activities of the declared types load after it.
  RegisterPlantSection("activityTypes", LoadActivityTypes, SaveActivityTypes, PlantSectionPhase::Early);
}

}  // namespace host
