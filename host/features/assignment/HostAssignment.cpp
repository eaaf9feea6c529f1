#include "HostAssignment.h"

#include <algorithm>

#include "AssignmentUndo.h"
#include "HostCompare.h"
#include "HostFlow.h"
#include "PlantSections.h"
#include "TavActivityLib.h"

namespace host {

// ------------------------------------------------------------------ behaviours
namespace {
const RelationTypeInfo kInputInfo{kBehaviorInputType, RelationKind::Item, 0, true, true, false};
const RelationTypeInfo kOutputInfo{kBehaviorOutputType, RelationKind::Item, 0, true, true, false};

Ref<TavBaseUnknown> Extended(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject() : nullptr; }

// Products and assemblies can be items of a behaviour; resources cannot.
bool IsItemObject(const Ref<TavBaseUnknown>& o) {
  if (auto p = std::dynamic_pointer_cast<HostProduct>(o)) return !p->IsResource();
  return std::dynamic_pointer_cast<HostAssembly>(o) != nullptr;
}

bool Holds(const BehaviorItems& list, const TavBaseUnknown* o) { return list.Holds(o); }
}  // namespace

void BehaviorItems::Insert(std::size_t at, Ref<HostRelation> r) {
  ++held_[r->GetTarget().get()];
  list_.insert(list_.begin() + static_cast<std::ptrdiff_t>(std::min(at, list_.size())), std::move(r));
}

void BehaviorItems::Erase(std::size_t at) {
  auto it = held_.find(list_[at]->GetTarget().get());
  if (it != held_.end() && --it->second == 0) held_.erase(it);
  list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(at));
}

std::size_t BehaviorItems::Find(const HostRelation* r) const {
  auto at = std::find_if(list_.begin(), list_.end(), [&](const Ref<HostRelation>& x) { return x.get() == r; });
  return static_cast<std::size_t>(at - list_.begin());
}

std::vector<Ref<TavBaseUnknown>> HostBehavior::GetItems(const TavUnicodeString& kind, unsigned code) const {
  std::vector<Ref<TavBaseUnknown>> out = HostActivity::GetItems(kind, code);
  // Code 0 already holds them: their relations are items under no code.
  if (code == 0 || !(code & TavItemCode::Processes) || (!kind.IsEmpty() && kind != "Item")) return out;
  for (auto& item : Targets(inputs_)) out.push_back(std::move(item));
  for (auto& item : Targets(outputs_)) out.push_back(std::move(item));
  RemoveDuplicates(out);
  return out;
}

const RelationTypeInfo* HostBehavior::kInput() { return &kInputInfo; }
const RelationTypeInfo* HostBehavior::kOutput() { return &kOutputInfo; }

HostBehavior::HostBehavior(const Ref<HostProduct>& resource, const TavUnicodeString& label) {
  type_ = FindType("ResourceBehavior");
  label_ = label;
  father_ = resource;
}

Ref<TavIProduct> HostBehavior::GetResource() const { return std::dynamic_pointer_cast<TavIProduct>(father_.lock()); }

HRESULT HostBehavior::Add(BehaviorItems& list, const RelationTypeInfo* type, const Ref<TavBaseUnknown>& item) {
  Ref<TavBaseUnknown> o = Extended(item);
  if (!IsItemObject(o)) return E_FAIL;
  if (Holds(list, o.get())) return S_FALSE;
  list.Insert(list.size(), std::make_shared<HostRelation>(type, o, weak_from_this()));
  if (UndoLog* log = RecorderOf(*this)) log->Add(AssignmentUndo::Item(*this, list, list.size() - 1, false));
  return S_OK;
}

HRESULT HostBehavior::Remove(BehaviorItems& list, const Ref<TavBaseUnknown>& item) {
  Ref<TavBaseUnknown> o = Extended(item);
  if (!o || !list.Holds(o.get())) return E_FAIL;
  const auto& items = list.List();
  auto at = std::find_if(items.begin(), items.end(), [&](const Ref<HostRelation>& r) { return r->GetTarget() == o; });
  const auto index = static_cast<std::size_t>(at - items.begin());
  if (UndoLog* log = RecorderOf(*this)) log->Add(AssignmentUndo::Item(*this, list, index, true));
  list.Erase(index);
  return S_OK;
}

std::vector<Ref<TavBaseUnknown>> HostBehavior::Targets(const BehaviorItems& list) {
  std::vector<Ref<TavBaseUnknown>> out;
  out.reserve(list.size());
  for (auto& r : list.List()) out.push_back(r->GetTarget());
  return out;
}

HRESULT HostBehavior::IsItemAssigned(const Ref<TavBaseUnknown>& item) const {
  Ref<TavBaseUnknown> o = Extended(item);
  if (!o) return E_FAIL;
  return Holds(inputs_, o.get()) || Holds(outputs_, o.get()) ? S_OK : S_FALSE;
}

HRESULT HostBehavior::GetPossibleRelations(const Ref<TavBaseUnknown>& target,
                                           std::optional<std::vector<TavUnicodeString>>& types) const {
  types.reset();
  Ref<TavBaseUnknown> o = Extended(target);
  if (!o) return E_FAIL;
  if (!IsItemObject(o)) return S_OK;  // a behaviour relates no resource
  // Both, in a fixed order, while one is free: callers address the options by position.
  types.emplace();
  if (!Holds(inputs_, o.get()) || !Holds(outputs_, o.get())) *types = {kBehaviorInputType, kBehaviorOutputType};
  return S_OK;
}

HRESULT HostBehavior::GetDisplayName(const TavUnicodeString& typeName, TavUnicodeString& displayName) const {
  if (typeName == kBehaviorInputType) displayName = "Input Item";
  else if (typeName == kBehaviorOutputType) displayName = "Output Item";
  else return E_FAIL;
  return S_OK;
}

HRESULT HostBehavior::CreateRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target,
                                     Ref<TavISPPActivitySpecification>* created) {
  BehaviorItems* list = typeName == kBehaviorInputType    ? &inputs_
                                         : typeName == kBehaviorOutputType ? &outputs_
                                                                           : nullptr;
  if (!list) return E_FAIL;
  // Through the item's resource relations when the planner offers them, so that an
  // input also reaches the resource's output assembly.
  HRESULT hr;
  auto rr = query<OrvIResourceRelations>(target);
  if (auto resource = father_.lock(); rr && resource)
    hr = rr->AddResourceRelation(resource, list == &inputs_ ? OrvResourceInputItem : OrvResourceOutputItem, 1, 1);
  else
    hr = Add(*list, typeName == kBehaviorInputType ? kInput() : kOutput(), target);
  if (created) {
    created->reset();
    Ref<TavBaseUnknown> o = Extended(target);
    if (o && list->Holds(o.get()))
      for (auto& r : list->List())
        if (r->GetTarget() == o) *created = r;
  }
  return hr;
}

HRESULT HostBehavior::RemoveRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target) {
  if (typeName == kBehaviorInputType) return Remove(inputs_, target);
  if (typeName == kBehaviorOutputType) return Remove(outputs_, target);
  return E_FAIL;
}

std::vector<Ref<TavISPPActivitySpecification>> HostBehavior::GetRelations() const {
  std::vector<Ref<TavISPPActivitySpecification>> out(inputs_.List().begin(), inputs_.List().end());
  out.insert(out.end(), outputs_.List().begin(), outputs_.List().end());
  return out;
}

std::vector<Ref<TavISPPActivitySpecification>> HostBehavior::GetActivitySpecifications(const Ref<TavBaseUnknown>& item) const {
  std::vector<Ref<TavISPPActivitySpecification>> out;
  for (auto* list : {&inputs_, &outputs_})
    for (auto& r : list->List())
      if (SameObject(r->GetTarget(), item)) out.push_back(r);
  return out;
}

// ------------------------------------------------------------------ per-document container
Ref<HostBehavior> HostAssignmentContainer::BehaviorOf(const HostProduct& resource) const {
  auto it = behaviors_.find(&resource);
  return it == behaviors_.end() ? nullptr : it->second;
}

std::vector<Ref<HostBehavior>> HostAssignmentContainer::BehaviorsInResourceOrder() const {
  std::vector<Ref<HostBehavior>> out;
  if (behaviors_.empty()) return out;
  std::vector<Ref<HostProduct>> resources = doc_->Resources().roots_;
  for (std::size_t i = 0; i < resources.size(); ++i) {
    for (auto& c : resources[i]->Children()) resources.push_back(c);
    if (auto b = BehaviorOf(*resources[i])) out.push_back(std::move(b));
  }
  return out;
}

Ref<HostBehavior> HostAssignmentContainer::CreateBehavior(const Ref<HostProduct>& resource, const std::string& id,
                                                          const TavUnicodeString& label) {
  if (!resource || !resource->IsResource()) return nullptr;
  if (auto b = BehaviorOf(*resource)) return b;
  auto b = std::make_shared<HostBehavior>(resource, label.IsEmpty() ? resource->GetName() + " Behavior" : label);
  doc_->AdoptObject(*b, id, 'b');
  behaviors_[resource.get()] = b;
  if (UndoLog* log = doc_->Recording()) log->Add(AssignmentUndo::Behavior(*this, b, false));
  return b;
}

bool HostAssignmentContainer::RemoveBehavior(const HostProduct& resource) {
  auto it = behaviors_.find(&resource);
  if (it == behaviors_.end()) return false;
  // A removed behaviour is no longer found by its id (the journal may keep it alive).
  if (UndoLog* log = doc_->Recording()) log->Add(AssignmentUndo::Behavior(*this, it->second, true));
  doc_->ReleaseId(*it->second);
  behaviors_.erase(it);
  return true;
}

std::vector<Ref<TavBaseUnknown>> HostAssignmentContainer::GetContexts(const Ref<TavBaseUnknown>& activity) const {
  auto it = contexts_.find(Extended(activity).get());
  return it == contexts_.end() ? std::vector<Ref<TavBaseUnknown>>{} : it->second;
}

HRESULT HostAssignmentContainer::AddContext(const Ref<TavBaseUnknown>& activity, const Ref<TavBaseUnknown>& product) {
  Ref<TavBaseUnknown> a = Extended(activity), p = Extended(product);
  if (!std::dynamic_pointer_cast<HostActivity>(a) || !std::dynamic_pointer_cast<HostProduct>(p)) return E_FAIL;
  auto& list = contexts_[a.get()];
  if (std::find(list.begin(), list.end(), p) != list.end()) return S_FALSE;
  list.push_back(p);
  if (UndoLog* log = doc_->Recording()) log->Add(AssignmentUndo::Context(*this, a, p, false));
  return S_OK;
}

void HostAssignmentContainer::RemoveContextsOf(const std::unordered_set<const TavBaseUnknown*>& products) {
  UndoLog* log = doc_->Recording();
  for (auto it = contexts_.begin(); it != contexts_.end();) {
    auto& list = it->second;
    // From the back, so that undo, taking the records last first, puts each back at its place.
    for (std::size_t i = list.size(); i-- > 0;)
      if (products.count(list[i].get())) {
        if (log) log->Add(AssignmentUndo::Context(*this, const_cast<TavBaseUnknown*>(it->first)->self(), list[i], true, i));
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
      }
    it = list.empty() ? contexts_.erase(it) : std::next(it);
  }
}

HostAssignmentContainer* AssignmentOf(HostDocument& doc, bool create) {
  return create ? &doc.FindOrAddContainer<HostAssignmentContainer>() : doc.FindContainer<HostAssignmentContainer>();
}

// ------------------------------------------------------------------ behaviour container
namespace {
// Every document's behaviours, in resource order (late type "OrvBehaviorCont").
class HostBehaviorContainer final : public virtual OrvIBehaviorContainer {
public:
  explicit HostBehaviorContainer(HostDocument* d) : doc_(d) {}
  std::string LateType() const override { return "OrvBehaviorCont"; }
  std::vector<Ref<TavBaseUnknown>> GetBehaviors() const override {
    std::vector<Ref<TavBaseUnknown>> out;
    HostAssignmentContainer* c = AssignmentOf(*doc_, false);
    if (!c || c->BehaviorCount() == 0) return out;
    std::vector<const HostProduct*> work;
    for (auto it = doc_->Resources().roots_.rbegin(); it != doc_->Resources().roots_.rend(); ++it) work.push_back(it->get());
    while (!work.empty()) {
      const HostProduct* r = work.back();
      work.pop_back();
      if (auto b = c->BehaviorOf(*r)) out.push_back(b);
      for (auto it = r->Children().rbegin(); it != r->Children().rend(); ++it) work.push_back(it->get());
    }
    return out;
  }

private:
  HostDocument* doc_;
};
}  // namespace

// ------------------------------------------------------------------ resource extension
namespace {
// A resource's behaviour manager, attribute access and type, as one extension.
class HostResourceExtension final : public virtual OrvIResourceBehaviorManager,
                                    public virtual OrvIResourceAttrAccess,
                                    public virtual OrvIGetResourceType {
public:
  explicit HostResourceExtension(Ref<HostProduct> r) : resource_(std::move(r)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return resource_; }

  bool CanHaveBehavior() const override {
    if (!resource_->IsResource()) return false;
    if (Container(false) && Container(false)->BehaviorOf(*resource_)) return true;
    const std::string t = resource_->GetResourceType().utf8();
    return t == "Robot" || t == "Worker" || t == "Device";
  }
  Ref<OrvIResourceBehavior> GetBehavior() const override {
    auto* c = Container(false);
    return c ? c->BehaviorOf(*resource_) : nullptr;
  }
  Ref<OrvIResourceBehavior> CreateBehavior() override {
    if (!CanHaveBehavior() || !resource_->Doc()) return nullptr;
    return Container(true)->CreateBehavior(resource_, "", {});
  }
  HRESULT RemoveBehavior() override {
    auto* c = Container(false);
    return c && c->RemoveBehavior(*resource_) ? S_OK : E_FAIL;
  }

  bool AreAttributesLoaded() const override {
    auto* c = Container(false);
    return c && c->AttributesLoaded(*resource_);
  }
  HRESULT LoadAttributes() override {
    if (!resource_->Doc()) return E_FAIL;
    Container(true)->MarkAttributesLoaded(*resource_);
    return S_OK;
  }
  HRESULT GetBooleanAttribute(const TavUnicodeString& name, bool& value) const override {
    auto v = resource_->GetAttribute(name);
    auto b = v ? std::get_if<bool>(&*v) : nullptr;
    if (!b) return E_FAIL;
    value = *b;
    return S_OK;
  }

  TavUnicodeString GetResourceTypeName() const override { return resource_->GetResourceType(); }
  bool KeepsOutputAssembly() const override {
    auto v = resource_->GetAttribute("_NoOutputAssembly");
    auto b = v ? std::get_if<bool>(&*v) : nullptr;
    return !(b && *b);
  }

private:
  HostAssignmentContainer* Container(bool create) const {
    return resource_->Doc() ? AssignmentOf(*resource_->Doc(), create) : nullptr;
  }
  Ref<HostProduct> resource_;
};
}  // namespace

// ------------------------------------------------------------------ hub layout
bool HostHubLayout::IsKnownType(const TavUnicodeString& type) {
  for (const char* t : {"KwEPTypeString", "KwEPTypeInteger", "KwEPTypeFloat", "KwEPTypeBool", "KwEPTypeDate"})
    if (type == t) return true;
  return false;
}

HRESULT HostHubLayout::GetAttributeDefinitions(const TavUnicodeString& relationType,
                                               std::vector<OrvYorAttributeDefinition>& definitions) const {
  definitions.clear();
  if (relationType.IsEmpty()) return E_FAIL;
  auto it = defs_.find(relationType);
  if (it != defs_.end()) definitions = it->second;
  return S_OK;
}

bool HostHubLayout::Define(const TavUnicodeString& relationType, OrvYorAttributeDefinition def) {
  auto& list = defs_[relationType];
  for (auto& d : list)
    if (d.name == def.name) return false;
  list.push_back(std::move(def));
  return true;
}

namespace {
TavUnicodeString HubName(const TavUnicodeString& name) { return TavUnicodeString(std::string(kHubAttributePrefix)) + name; }
// Hub values go on relations (and other attribute holders) of this document only.
Ref<TavIAttributeHolder> HubHolder(const Ref<TavBaseUnknown>& object) {
  return std::dynamic_pointer_cast<TavIAttributeHolder>(Extended(object));
}
}  // namespace

HRESULT HostHubLayout::SetAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name, const TavValue& value) {
  auto h = HubHolder(object);
  if (!h || name.IsEmpty() || std::holds_alternative<std::monostate>(value)) return E_FAIL;
  h->SetAttribute(HubName(name), value);
  return S_OK;
}

HRESULT HostHubLayout::GetAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name, TavValue& value) const {
  auto h = HubHolder(object);
  auto v = h ? h->GetAttribute(HubName(name)) : std::nullopt;
  if (!v) return E_FAIL;
  value = *v;
  return S_OK;
}

HRESULT HostHubLayout::RemoveAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name) {
  auto h = HubHolder(object);
  return h && h->RemoveAttribute(HubName(name)) ? S_OK : E_FAIL;
}

HostHubLayout* HubLayoutOf(const HostDocument& doc) { return doc.FindContainer<HostHubLayout>(); }


// ------------------------------------------------------------------ plant format
namespace {
std::string IdOf(const Ref<TavBaseUnknown>& o) {
  auto id = query<TavIModelIdentity>(o);
  return id ? id->GetId().utf8() : std::string();
}

bool LoadHubAttributes(const PlantElement& section, PlantLoadContext& ctx) {
  HostHubLayout* layout = HubLayoutOf(ctx.doc);
  if (!layout) {
    ctx.Error(&section, "hub attribute definitions need a hub plant (environment=\"hub\")");
    return false;
  }
  for (const PlantElement* rt : ctx.Children(section)) {
    if (!ctx.Expect(*rt, "relationType")) return false;
    std::optional<std::string> rname;
    if (!ctx.ReadAttributes(*rt, {{"name", &rname, true}})) return false;
    for (const PlantElement* a : ctx.Children(*rt)) {
      if (!ctx.Expect(*a, "attributeDef")) return false;
      std::optional<std::string> name, type, display, def, kind;
      if (!ctx.ReadAttributes(*a, {{"name", &name, true},
                                   {"type", &type, true},
                                   {"display", &display, false},
                                   {"default", &def, false},
                                   {"kind", &kind, false}}))
        return false;
      if (!HostHubLayout::IsKnownType(*type)) {
        ctx.Error(a, "unknown hub attribute type '" + *type + "'");
        return false;
      }
      OrvYorAttributeDefinition d;
      d.name = *name;
      d.type = *type;
      d.displayName = display.value_or(*name);
      d.defaultValue = def.value_or("");
      std::int64_t k = 2;
      if (kind && !ctx.ParseInt(*a, "kind", *kind, k)) return false;
      d.kind = static_cast<int>(k);
      for (const PlantElement* v : ctx.Children(*a)) {
        if (!ctx.Expect(*v, "value")) return false;
        std::optional<std::string> value, vdisplay;
        if (!ctx.ReadAttributes(*v, {{"value", &value, true}, {"display", &vdisplay, false}})) return false;
        if (std::find(d.allowedValues.begin(), d.allowedValues.end(), TavUnicodeString(*value)) != d.allowedValues.end()) {
          ctx.Error(v, "duplicate allowed value '" + *value + "'");
          return false;
        }
        d.allowedValues.emplace_back(*value);
        d.allowedDisplayValues.emplace_back(vdisplay.value_or(*value));
      }
      if (ctx.Failed()) return false;
      if (!layout->Define(*rname, std::move(d))) {
        ctx.Error(a, "relation type '" + *rname + "' defines '" + *name + "' twice");
        return false;
      }
    }
    if (ctx.Failed()) return false;
  }
  return !ctx.Failed();
}

void SaveHubAttributes(const HostDocument& doc, PlantWriter& w) {
  HostHubLayout* layout = HubLayoutOf(doc);
  if (!layout || layout->Definitions().empty()) return;
  w.Start("hubAttributes");
  for (auto& [rtype, defs] : layout->Definitions()) {
    if (defs.empty()) continue;
    w.Start("relationType");
    w.Attr("name", rtype);
    for (auto& d : defs) {
      w.Start("attributeDef");
      w.Attr("name", d.name);
      w.Attr("type", d.type);
      if (!(d.displayName == d.name)) w.Attr("display", d.displayName);
      if (!d.defaultValue.IsEmpty()) w.Attr("default", d.defaultValue);
      if (d.kind != 2) w.AttrInt("kind", d.kind);
      for (std::size_t i = 0; i < d.allowedValues.size(); ++i) {
        w.Start("value");
        w.Attr("value", d.allowedValues[i]);
        if (i < d.allowedDisplayValues.size() && !(d.allowedDisplayValues[i] == d.allowedValues[i]))
          w.Attr("display", d.allowedDisplayValues[i]);
        w.End();
      }
      w.End();
    }
    w.End();
  }
  w.End();
}

// The behaviour's activities, depth first.
std::vector<Ref<HostActivity>> BehaviorActivities(const HostBehavior& b) {
  std::vector<Ref<HostActivity>> out;
  std::vector<const HostActivity*> work{&b};
  while (!work.empty()) {
    const HostActivity* a = work.back();
    work.pop_back();
    if (a != &b) out.push_back(std::dynamic_pointer_cast<HostActivity>(const_cast<HostActivity*>(a)->self()));
    for (auto it = a->Children().rbegin(); it != a->Children().rend(); ++it) work.push_back(it->get());
  }
  return out;
}

bool Under(const HostActivity* a, const HostBehavior& b) {
  for (auto f = a ? a->FatherActivity() : nullptr; f; f = f->FatherActivity())
    if (f.get() == &b) return true;
  return false;
}

// A behaviour's own <links>: flows and precedences among its activities.
bool LoadBehaviorLinks(const PlantElement& links, const Ref<HostBehavior>& b, PlantLoadContext& ctx) {
  if (!ctx.ReadAttributes(links, {})) return false;
  for (const PlantElement* l : ctx.Children(links)) {
    const std::string kind = PlantLoadContext::Name(*l);
    if (kind != "flow" && kind != "precedence") {
      ctx.Error(l, "unknown element <" + kind + "> in <links> of a behaviour (flow, precedence)");
      return false;
    }
    std::optional<std::string> from, to, id;
    if (kind == "flow" ? !ctx.ReadAttributes(*l, {{"from", &from, true}, {"to", &to, true}, {"id", &id, false}})
                       : !ctx.ReadAttributes(*l, {{"from", &from, true}, {"to", &to, true}}))
      return false;
    Ref<HostActivity> ends[2];
    const std::string* ids[2] = {&*from, &*to};
    for (int k = 0; k < 2; ++k) {
      ends[k] = std::dynamic_pointer_cast<HostActivity>(ctx.Lookup(*ids[k]));
      if (!Under(ends[k].get(), *b)) {
        ctx.Error(l, "'" + *ids[k] + "' is no activity of behaviour '" + b->IdString() + "'");
        return false;
      }
    }
    if (ends[0] == ends[1]) {
      ctx.Error(l, "activity '" + *from + "' cannot be linked to itself");
      return false;
    }
    const bool flow = kind == "flow";
    bool taken = false;
    for (auto& w : flow ? ends[0]->Next() : ends[1]->Before()) taken = taken || w.lock() == ends[flow ? 1 : 0];
    if (taken) {
      ctx.Error(l, "duplicate " + kind + " from '" + *from + "' to '" + *to + "'");
      return false;
    }
    if (!flow) {
      HostActivity::AppendNewPrecedence(ends[0], ends[1]);
      continue;
    }
    if (id && !ctx.CheckNewId(*l, *id)) return false;
    HostActivity::AppendNewFlow(ends[0], ends[1]);
    if (id) ctx.doc.Flows().Adopt(ends[0], ends[1], *id);
  }
  return !ctx.Failed();
}

void SaveBehaviorActivities(const HostBehavior& b, PlantWriter& w) {
  HostDocument* doc = b.Doc();
  if (!doc) return;
  for (auto& c : b.Children()) WritePlantActivityTree(*doc, c, "activity", w);
  // Links stay inside the behaviour: one that leaves it could not be loaded again.
  bool any = false;
  const auto acts = BehaviorActivities(b);
  for (bool flows : {true, false})
    for (auto& a : acts) {
      for (auto& x : flows ? a->Previous() : a->After())
        if (auto other = x.lock(); other && !Under(other.get(), b))
          w.Problem("activity '" + a->IdString() + "' of behaviour '" + b.IdString() + "' is linked to '" + other->IdString() +
                    "' outside it");
      for (auto& x : flows ? a->Next() : a->Before()) {
        auto other = x.lock();
        if (!other) continue;
        if (!Under(other.get(), b)) {
          w.Problem("activity '" + a->IdString() + "' of behaviour '" + b.IdString() + "' is linked to '" + other->IdString() +
                    "' outside it");
          continue;
        }
        if (!any) w.Start("links");
        any = true;
        w.Start(flows ? "flow" : "precedence");
        if (const std::string* id = flows ? doc->Flows().IdOf(a.get(), other.get()) : nullptr) w.Attr("id", *id);
        w.Attr("from", flows ? a->IdString() : other->IdString());
        w.Attr("to", flows ? other->IdString() : a->IdString());
        w.End();
      }
      if (!a->ConstraintList().empty() || !a->PrevCycleList().empty())
        w.Problem("activity '" + a->IdString() + "' of behaviour '" + b.IdString() + "' holds process constraints");
    }
  if (any) w.End();
}

bool LoadBehavior(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  auto resource = std::dynamic_pointer_cast<HostProduct>(owner);
  if (!resource) return false;
  std::optional<std::string> id, name;
  if (!ctx.ReadAttributes(e, {{"id", &id, true}, {"name", &name, false}})) return false;
  if (!ctx.CheckNewId(e, *id)) return false;
  HostAssignmentContainer* c = AssignmentOf(ctx.doc, true);
  if (c->BehaviorOf(*resource)) {
    ctx.Error(&e, "resource '" + resource->IdString() + "' has a behaviour already");
    return false;
  }
  auto b = c->CreateBehavior(resource, *id, name ? TavUnicodeString(*name) : TavUnicodeString());
  const PlantLoadContext::ActivityRootMaker makeChild = [&](const std::string& cid, const TavUnicodeString& label,
                                                            const std::string& type) -> Ref<HostActivity> {
    return ctx.doc.CreateActivity(b, type, cid, label);
  };
  for (const PlantElement* item : ctx.Children(e)) {
    const std::string kind = PlantLoadContext::Name(*item);
    if (kind == "activity") {
      if (!ctx.LoadActivityTree(*item, makeChild)) return false;
      continue;
    }
    if (kind == "links") {
      if (!LoadBehaviorLinks(*item, b, ctx)) return false;
      continue;
    }
    if (kind != "input" && kind != "output") {
      if (!LoadChildExtension("behavior", *item, b, ctx)) return false;
      continue;
    }
    std::optional<std::string> ref;
    if (!ctx.ReadAttributes(*item, {{"ref", &ref, true}})) return false;
    auto target = ctx.Lookup(*ref);
    if (!target || !IsItemObject(target)) {
      ctx.Error(item, "'" + *ref + "' is no product or assembly");
      return false;
    }
    HRESULT hr = kind == "input" ? b->AddInputItem(target) : b->AddOutputItem(target);
    if (hr != S_OK) {
      ctx.Error(item, "duplicate " + kind + " '" + *ref + "'");
      return false;
    }
  }
  return !ctx.Failed();
}

void SaveBehavior(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* resource = TavCast<HostProduct>(owner.get());
  HostAssignmentContainer* c = resource && resource->Doc() ? AssignmentOf(*resource->Doc(), false) : nullptr;
  auto b = c ? c->BehaviorOf(*resource) : nullptr;
  if (!b) return;
  w.Start("behavior");
  w.Attr("id", b->GetId());
  if (!(b->GetLabel() == resource->GetName() + " Behavior")) w.Attr("name", b->GetLabel());
  for (auto& i : b->GetInputItems()) {
    w.Start("input");
    w.Attr("ref", IdOf(i));
    w.End();
  }
  for (auto& o : b->GetOutputItems()) {
    w.Start("output");
    w.Attr("ref", IdOf(o));
    w.End();
  }
  SaveBehaviorActivities(*b, w);
  SaveChildExtensions("behavior", b, w);
  w.End();
}

bool LoadContext(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  std::optional<std::string> ref;
  if (!ctx.ReadAttributes(e, {{"ref", &ref, true}})) return false;
  auto target = ctx.Lookup(*ref);
  auto product = std::dynamic_pointer_cast<HostProduct>(target);
  if (!product || product->IsResource()) {
    ctx.Error(&e, "'" + *ref + "' is no product");
    return false;
  }
  if (AssignmentOf(ctx.doc, true)->AddContext(owner, target) != S_OK) {
    ctx.Error(&e, "duplicate context '" + *ref + "'");
    return false;
  }
  return true;
}

void SaveContexts(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* a = TavCast<HostActivity>(owner.get());
  HostAssignmentContainer* c = a && a->Doc() ? AssignmentOf(*a->Doc(), false) : nullptr;
  if (!c) return;
  for (auto& p : c->GetContexts(owner)) {
    w.Start("context");
    w.Attr("ref", IdOf(p));
    w.End();
  }
}
}  // namespace

void RegisterAssignmentHost() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (doc.IsHub() && !HubLayoutOf(doc)) doc.AddContainer(std::make_shared<HostHubLayout>());
    if (!doc.FindContainer<HostBehaviorContainer>()) doc.AddContainer(std::make_shared<HostBehaviorContainer>(&doc));
  });
  // Paths reach a behaviour's activities through its resource.
  RegisterResourceActivity([](const HostProduct& r) -> Ref<HostActivity> {
    HostAssignmentContainer* c = r.Doc() ? AssignmentOf(*r.Doc(), false) : nullptr;
    return c ? c->BehaviorOf(r) : nullptr;
  });
  auto factory = [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto r = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
    return r ? std::make_shared<HostResourceExtension>(r) : nullptr;
  };
  for (const char* i : {OrvIResourceBehaviorManager::kInterfaceName, OrvIResourceAttrAccess::kInterfaceName,
                        OrvIGetResourceType::kInterfaceName})
    TavExtensionRegistry::Get().Register("TavResource", i, factory);
  // Every product answers as a behaviour manager, one that can have no behaviour,
  // so that the planner can tell the user why a plain product is no target.
  TavExtensionRegistry::Get().Register("TavProduct", OrvIResourceBehaviorManager::kInterfaceName, factory);
  RegisterPlantSection("hubAttributes", LoadHubAttributes, SaveHubAttributes);
  RegisterElementExtension("resource", "behavior", LoadBehavior, SaveBehavior);
  RegisterElementExtension("activity", "context", LoadContext, SaveContexts);
}

}  // namespace host
