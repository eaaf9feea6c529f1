// The states feature's interfaces on model objects, its plant elements and its
// path names, registered in one place.
#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "HostStates.h"
#include "PlantSections.h"

namespace host {
namespace {

// The three condition lists of an activity or behaviour, behind all three interfaces.
class HostConditionAccess final : public virtual TavISPP3DStateCondition,
                                  public virtual TavISPPActivity3DContext,
                                  public virtual OrvIResourceStatesCondition {
public:
  HostConditionAccess(Ref<HostActivity> a, HostStateStore& s) : a_(std::move(a)), store_(s) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return a_; }

  std::vector<Ref<OrvIState>> GetStateConditions(int kind) const override { return GetConditions(kind); }
  HRESULT RemoveStateConditions(int kind, const std::vector<Ref<OrvIState>>& states) override {
    return kind == TavStateConditionKind::Context3D ? E_FAIL : RemoveConditions(kind, states);
  }
  HRESULT AddStateConditions(int kind, const std::vector<Ref<OrvIState>>& states) override {
    return kind == TavStateConditionKind::Context3D ? E_FAIL : AddConditions(kind, states);
  }
  std::vector<Ref<OrvIState>> Get3DContext() const override { return store_.Conditions(*a_, ConditionKind::Context); }
  HRESULT Remove3DContext(const std::vector<Ref<OrvIState>>& states) override {
    return store_.RemoveConditions(*a_, ConditionKind::Context, states);
  }
  HRESULT Add3DContext(const std::vector<Ref<OrvIState>>& states) override {
    return store_.AddConditions(*a_, ConditionKind::Context, states);
  }
  std::vector<Ref<OrvIState>> GetConditions(int kind) const override {
    ConditionKind k;
    return Kind(kind, k) ? store_.Conditions(*a_, k) : std::vector<Ref<OrvIState>>{};
  }
  HRESULT RemoveConditions(int kind, const std::vector<Ref<OrvIState>>& states) override {
    ConditionKind k;
    return Kind(kind, k) ? store_.RemoveConditions(*a_, k, states) : E_FAIL;
  }
  HRESULT AddConditions(int kind, const std::vector<Ref<OrvIState>>& states) override {
    ConditionKind k;
    return Kind(kind, k) ? store_.AddConditions(*a_, k, states) : E_FAIL;
  }

private:
  static bool Kind(int kind, ConditionKind& k) {
    switch (kind) {
      case TavStateConditionKind::Begin: k = ConditionKind::Begin; return true;
      case TavStateConditionKind::End: k = ConditionKind::End; return true;
      case TavStateConditionKind::Context3D: k = ConditionKind::Context; return true;
      default: return false;
    }
  }
  Ref<HostActivity> a_;
  HostStateStore& store_;
};

// The typed boolean values of a product: its bool attributes.
class HostSpecAttributes final : public virtual TavISpecAttrAccess {
public:
  explicit HostSpecAttributes(Ref<HostProduct> p) : p_(std::move(p)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return p_; }
  HRESULT GetBooleanAttribute(const TavUnicodeString& name, bool& value) const override {
    auto v = p_->GetAttribute(name);
    if (!v || !std::holds_alternative<bool>(*v)) return E_FAIL;
    value = std::get<bool>(*v);
    return S_OK;
  }

private:
  Ref<HostProduct> p_;
};

// ------------------------------------------------------------------- plant file

std::string MatrixText(const TavIMovable::Position& m, PlantWriter& w) {
  if (!std::all_of(m.begin(), m.end(), [](double v) { return std::isfinite(v); }))
    w.Problem("a position holds a non-finite number");
  return PlantMatrixText(m);
}

bool LoadStates(const PlantElement& section, PlantLoadContext& ctx) {
  HostStateStore* store = StatesOf(ctx.doc);
  if (!store) {
    ctx.Error(&section, "this document keeps no states");
    return false;
  }
  if (!ctx.ReadAttributes(section, {})) return false;
  // First every position and state with its id, so that definitions may name later ones.
  std::vector<std::pair<const PlantElement*, Ref<HostState>>> made;
  for (const PlantElement* e : ctx.Children(section)) {
    if (PlantLoadContext::Name(*e) == "storedPosition") {
      std::optional<std::string> id, product, name, matrix;
      if (!ctx.ReadAttributes(*e, {{"id", &id, true}, {"product", &product, true}, {"name", &name, true}, {"matrix", &matrix, true}}) ||
          !ctx.CheckNewId(*e, *id))
        return false;
      auto p = std::dynamic_pointer_cast<HostProduct>(ctx.Lookup(*product));
      if (!p) {
        ctx.Error(e, ctx.Lookup(*product) ? "'" + *product + "' is no product or resource" : "a position of unknown product '" + *product + "'");
        return false;
      }
      TavIMovable::Position m{};
      if (!ParsePlantMatrix(*e, "matrix", *matrix, ctx, m)) return false;
      store->MakePosition(*id, p, TavUnicodeString(*name), m);
      continue;
    }
    if (!ctx.Expect(*e, "state")) return false;
    std::optional<std::string> id, owner, name;
    if (!ctx.ReadAttributes(*e, {{"id", &id, true}, {"owner", &owner, true}, {"name", &name, true}}) || !ctx.CheckNewId(*e, *id))
      return false;
    Ref<TavBaseUnknown> o = ctx.Lookup(*owner);
    auto* ho = TavCast<HostObject>(o.get());
    if (!ho || !(TavCast<HostProduct>(ho) || TavCast<HostAssembly>(ho))) {
      ctx.Error(e, o ? "'" + *owner + "' is no product, resource or assembly" : "a state of unknown owner '" + *owner + "'");
      return false;
    }
    if (name->find_first_not_of(" \t\r\n") == std::string::npos) {
      ctx.Error(e, "a state needs a name");
      return false;
    }
    if (store->FindState(*ho, TavUnicodeString(*name))) {
      ctx.Error(e, "'" + *owner + "' has two states named '" + *name + "'");
      return false;
    }
    auto s = store->MakeState(*id, TavUnicodeString(*name));
    s->SetOwner(o);
    made.emplace_back(e, s);
  }
  // Then the definitions, in order.
  for (auto& [e, s] : made) {
    for (const PlantElement* u : ctx.Children(*e)) {
      std::optional<std::string> ref;
      if (!ctx.Expect(*u, "uses") || !ctx.ReadAttributes(*u, {{"ref", &ref, true}})) return false;
      Ref<TavBaseUnknown> entry = ctx.Lookup(*ref);
      const bool position = TavCast<HostPosition>(entry.get()), state = TavCast<HostState>(entry.get());
      if (!position && !state) {
        ctx.Error(u, entry ? "'" + *ref + "' is no state or stored position" : "a state uses unknown '" + *ref + "'");
        return false;
      }
      HRESULT hr = s->SetRelation(entry, position ? OrvStateRelation::AddPosition : OrvStateRelation::AddState);
      if (hr != S_OK) {
        ctx.Error(u, hr == S_FALSE ? "state '" + s->IdString() + "' uses '" + *ref + "' twice"
                                   : "state '" + s->IdString() + "' would contain itself through '" + *ref + "'");
        return false;
      }
    }
  }
  store->ClearCalls();
  return !ctx.Failed();
}

void SaveStates(const HostDocument& doc, PlantWriter& w) {
  const HostStateStore* store = StatesOf(doc);
  if (!store) return;
  w.Start("states");
  for (auto& p : store->Positions()) {
    if (!p->Product()->Doc()) continue;
    w.Start("storedPosition");
    w.Attr("id", p->IdString());
    w.Attr("product", p->Product()->IdString());
    w.Attr("name", p->GetName());
    w.Attr("matrix", MatrixText(p->GetMatrix(), w));
    w.End();
  }
  for (auto& s : store->States()) {
    // A state made but never given an owner is not part of the plant.
    if (!s->Attached() || !s->Owner() || !s->Owner()->Doc()) continue;
    w.Start("state");
    w.Attr("id", s->IdString());
    w.Attr("owner", s->Owner()->IdString());
    w.Attr("name", s->GetName());
    for (auto& e : s->Definition()) {
      w.Start("uses");
      w.Attr("ref", e->IdString());
      w.End();
    }
    w.End();
  }
  w.End();
}

bool LoadCondition(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  auto holder = std::dynamic_pointer_cast<HostActivity>(owner);
  HostStateStore* store = StatesOf(ctx.doc);
  if (!holder || !store) return false;
  std::optional<std::string> kind, ref;
  if (!ctx.ReadAttributes(e, {{"kind", &kind, true}, {"ref", &ref, true}})) return false;
  ConditionKind k;
  if (*kind == "begin") k = ConditionKind::Begin;
  else if (*kind == "context") k = ConditionKind::Context;
  else if (*kind == "end") k = ConditionKind::End;
  else {
    ctx.Error(&e, "unknown condition kind '" + *kind + "' (begin, context or end)");
    return false;
  }
  auto s = std::dynamic_pointer_cast<HostState>(ctx.Lookup(*ref));
  if (!s) {
    ctx.Error(&e, ctx.Lookup(*ref) ? "'" + *ref + "' is no state" : "a condition of unknown state '" + *ref + "'");
    return false;
  }
  if (!store->AppendCondition(*holder, k, s)) {
    ctx.Error(&e, "duplicate " + *kind + " condition '" + *ref + "'");
    return false;
  }
  return true;
}

void SaveConditions(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* a = TavCast<HostActivity>(owner.get());
  const HostStateStore* store = a && a->Doc() ? StatesOf(*a->Doc()) : nullptr;
  const ConditionLists* lists = store ? store->ConditionsOf(*a) : nullptr;
  if (!lists) return;
  for (ConditionKind k : {ConditionKind::Begin, ConditionKind::Context, ConditionKind::End})
    for (auto& s : (*lists)[k]) {
      w.Start("condition");
      w.Attr("kind", ConditionKindName(k));
      w.Attr("ref", s->IdString());
      w.End();
    }
}

template <class T>
Ref<TavBaseUnknown> OwnerOf(const Ref<TavBaseUnknown>& o);
template <>
Ref<TavBaseUnknown> OwnerOf<HostState>(const Ref<TavBaseUnknown>& o) {
  auto* s = TavCast<HostState>(o.get());
  return s ? s->Owner() : nullptr;
}
template <>
Ref<TavBaseUnknown> OwnerOf<HostPosition>(const Ref<TavBaseUnknown>& o) {
  auto* p = TavCast<HostPosition>(o.get());
  return p ? p->Product() : nullptr;
}

HostStateStore* StoreOfObject(const Ref<TavBaseUnknown>& o) {
  auto* ho = TavCast<HostObject>(o.get());
  return ho && ho->Doc() ? StatesOf(*ho->Doc()) : nullptr;
}

}  // namespace

void RegisterStatesHost() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!StatesOf(doc)) doc.AddContainer(std::make_shared<HostStateStore>(&doc));
  });
  auto conditions = [](bool behaviourOnly) {
    return [behaviourOnly](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
      auto a = std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
      HostStateStore* store = a ? StoreOfObject(a) : nullptr;
      if (!store || a->Type()->IsA("ResourceBehavior") != behaviourOnly) return nullptr;
      return std::make_shared<HostConditionAccess>(a, *store);
    };
  };
  auto& registry = TavExtensionRegistry::Get();
  registry.RegisterForAnyType(TavISPP3DStateCondition::kInterfaceName, conditions(false));
  registry.RegisterForAnyType(TavISPPActivity3DContext::kInterfaceName, conditions(false));
  registry.RegisterForAnyType(OrvIResourceStatesCondition::kInterfaceName, conditions(true));
  for (const char* late : {"TavProduct", "TavResource"})
    registry.Register(late, TavISpecAttrAccess::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
      auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
      return p ? std::make_shared<HostSpecAttributes>(p) : nullptr;
    });

  RegisterPlantSection("states", LoadStates, SaveStates);
  for (const char* parent : {"activity", "behavior"}) RegisterElementExtension(parent, "condition", LoadCondition, SaveConditions);

  RegisterSubObjectKind({"state",
                         [](const Ref<TavBaseUnknown>& owner, const TavUnicodeString& name) -> Ref<TavBaseUnknown> {
                           HostStateStore* store = StoreOfObject(owner);
                           auto* ho = TavCast<HostObject>(owner.get());
                           return store ? store->FindState(*ho, name) : nullptr;
                         },
                         OwnerOf<HostState>});
  RegisterSubObjectKind({"position",
                         [](const Ref<TavBaseUnknown>& owner, const TavUnicodeString& name) -> Ref<TavBaseUnknown> {
                           HostStateStore* store = StoreOfObject(owner);
                           auto* p = TavCast<HostProduct>(owner.get());
                           if (const auto* list = store && p ? store->PositionsOf(*p) : nullptr)
                             for (auto& pos : *list)
                               if (pos->GetName() == name) return pos;
                           return nullptr;
                         },
                         OwnerOf<HostPosition>});
}

}  // namespace host
