#include "HostCompare.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "CompareUndo.h"
#include "PlantSections.h"
#include "TavServices.h"

namespace host {

namespace {

std::vector<TavUnicodeString> ConditionsFor(const char* family) {
  TavRepository& r = TavSettingRepository::GetRepository(OrvIDSICompareToolSettingAtt::kRepository);
  std::string text = r.ReadString(std::string("CompareConditions.") + family, "Id").utf8();
  std::vector<TavUnicodeString> out;
  std::stringstream ss(text);
  std::string item;
  while (std::getline(ss, item, ','))
    if (auto t = TavUnicodeString(item).Strip(); !t.IsEmpty()) out.push_back(t);
  return out;
}

// Shortest text that reads back to the same double, so that 0.1 shows as "0.1".
TavUnicodeString ValueText(const TavValue& v) {
  if (auto d = std::get_if<double>(&v)) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, *d);
    return ec == std::errc() ? TavUnicodeString(std::string(buf, end)) : TavValueToText(v);
  }
  return TavValueToText(v);
}

bool IsHubName(const TavUnicodeString& n) { return n.StartsWith(kHubAttributePrefix); }

// The object's own fields, in the order the attribute lists show them.
struct Field {
  const char* name;
  TavValue (*get)(const HostObject&);
};
template <class T>
const T& As(const HostObject& o) {
  return static_cast<const T&>(o);
}

// What the comparison knows of an object's kind: its family (the key of its compare
// conditions) and its own fields.
struct Kind {
  const char* family;
  const std::vector<Field>& fields;
};
Kind KindOf(const HostObject& o) {
  static const std::vector<Field> common{{"Id", [](const HostObject& x) -> TavValue { return x.GetId(); }},
                                         {"Name", [](const HostObject& x) -> TavValue { return x.DisplayName(); }}};
  static const std::vector<Field> activity = [] {
    auto f = common;
    f.push_back({"Type", [](const HostObject& x) -> TavValue { return As<HostActivity>(x).GetTypeName(); }});
    f.push_back({"Description", [](const HostObject& x) -> TavValue { return As<HostActivity>(x).GetDescription(); }});
    f.push_back({"Time", [](const HostObject& x) -> TavValue { return As<HostActivity>(x).GetTime(); }});
    return f;
  }();
  static const std::vector<Field> product = [] {
    auto f = common;
    f.push_back({"PartNumber", [](const HostObject& x) -> TavValue { return As<HostProduct>(x).GetPartNumber(); }});
    return f;
  }();
  static const std::vector<Field> resource = [] {
    auto f = product;
    f.push_back({"ResourceType", [](const HostObject& x) -> TavValue { return As<HostProduct>(x).GetResourceType(); }});
    return f;
  }();
  static const std::vector<Field> assembly = [] {
    auto f = common;
    f.push_back({"PartNumber", [](const HostObject& x) -> TavValue { return As<HostAssembly>(x).GetPartNumber(); }});
    f.push_back({"Type", [](const HostObject& x) -> TavValue { return std::int64_t(As<HostAssembly>(x).GetType()); }});
    return f;
  }();
  if (dynamic_cast<const HostActivity*>(&o)) return {"Activity", activity};
  if (auto p = dynamic_cast<const HostProduct*>(&o)) return p->IsResource() ? Kind{"Resource", resource} : Kind{"Product", product};
  if (dynamic_cast<const HostAssembly*>(&o)) return {"Assembly", assembly};
  return {"Fastener", common};
}

std::vector<TavAttribute> AllAttributes(const HostObject& o) {
  std::vector<TavAttribute> a;
  for (const Field& f : KindOf(o).fields) a.push_back({f.name, f.get(o)});
  for (auto& u : o.GetAttributes())
    if (!IsHubName(u.name)) a.push_back(u);
  return a;
}

// One attribute by name, the first of that name as AllAttributes lists them, without
// building the list (reports read a few attributes of every object).
bool FindAttribute(const HostObject& o, const TavUnicodeString& name, TavValue& value) {
  const std::string& n = name.utf8();
  for (const Field& f : KindOf(o).fields)
    if (n == f.name) {
      value = f.get(o);
      return true;
    }
  if (IsHubName(name)) return false;
  auto u = o.GetAttribute(name);
  if (u) value = std::move(*u);
  return u.has_value();
}

}  // namespace

// Every host object is comparable: "Id", "Name", the object's own fields, then its
// user attributes (hub values excluded). An extension, so the model knows no comparison.
class HostComparable final : public virtual OrvICompareObjects {
public:
  explicit HostComparable(Ref<HostObject> o) : o_(std::move(o)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return o_; }
  std::vector<TavUnicodeString> GetAttributeNames() const override;
  HRESULT GetAttributeValue(const TavUnicodeString& name, TavUnicodeString& value) const override;
  HRESULT GetAttributeValues(const std::vector<TavUnicodeString>& names, std::vector<TavUnicodeString>& values) const override;
  bool IsEqualTo(const Ref<TavBaseUnknown>& other) const override;
  std::vector<TavUnicodeString> GetCompareConditionNames() const override;
  void GetAttributeNamesAndValues(std::vector<TavUnicodeString>& names, std::vector<TavUnicodeString>& values) const override;
  void GetChangedAttributes(const Ref<TavBaseUnknown>& other, std::vector<TavUnicodeString>& names,
                            std::vector<TavUnicodeString>& mine, std::vector<TavUnicodeString>& theirs) const override;
  void GetAllAttributeValues(const Ref<TavBaseUnknown>& other, std::vector<TavUnicodeString>& names,
                             std::vector<TavUnicodeString>& mine, std::vector<TavUnicodeString>& theirs) const override;

private:
  Ref<HostObject> o_;
};

std::vector<TavUnicodeString> HostComparable::GetAttributeNames() const {
  std::vector<TavUnicodeString> n;
  for (auto& a : AllAttributes(*o_)) n.push_back(a.name);
  return n;
}

HRESULT HostComparable::GetAttributeValue(const TavUnicodeString& name, TavUnicodeString& value) const {
  TavValue v;
  if (!FindAttribute(*o_, name, v)) return E_FAIL;
  value = ValueText(v);
  return S_OK;
}

HRESULT HostComparable::GetAttributeValues(const std::vector<TavUnicodeString>& names, std::vector<TavUnicodeString>& values) const {
  values.clear();
  TavValue v;
  for (auto& n : names) {
    if (!FindAttribute(*o_, n, v)) return E_FAIL;
    values.push_back(ValueText(v));
  }
  return S_OK;
}

bool HostComparable::IsEqualTo(const Ref<TavBaseUnknown>& other) const {
  auto o = query<OrvICompareObjects>(other);
  if (!o) return false;
  std::vector<TavUnicodeString> n1, v1, n2, v2;
  GetAttributeNamesAndValues(n1, v1);
  o->GetAttributeNamesAndValues(n2, v2);
  return n1 == n2 && v1 == v2;
}

std::vector<TavUnicodeString> HostComparable::GetCompareConditionNames() const { return ConditionsFor(KindOf(*o_).family); }

void HostComparable::GetAttributeNamesAndValues(std::vector<TavUnicodeString>& names, std::vector<TavUnicodeString>& values) const {
  names.clear();
  values.clear();
  for (auto& a : AllAttributes(*o_)) {
    names.push_back(a.name);
    values.push_back(ValueText(a.value));
  }
}

void HostComparable::GetChangedAttributes(const Ref<TavBaseUnknown>& other, std::vector<TavUnicodeString>& names,
                                      std::vector<TavUnicodeString>& mine, std::vector<TavUnicodeString>& theirs) const {
  std::vector<TavUnicodeString> n, m, t;
  GetAllAttributeValues(other, n, m, t);
  names.clear();
  mine.clear();
  theirs.clear();
  for (std::size_t i = 0; i < n.size(); ++i)
    if (m[i] != t[i]) {
      names.push_back(n[i]);
      mine.push_back(m[i]);
      theirs.push_back(t[i]);
    }
}

// This object's names first, then the names only the other one has.
void HostComparable::GetAllAttributeValues(const Ref<TavBaseUnknown>& other, std::vector<TavUnicodeString>& names,
                                       std::vector<TavUnicodeString>& mine, std::vector<TavUnicodeString>& theirs) const {
  GetAttributeNamesAndValues(names, mine);
  theirs.assign(names.size(), TavUnicodeString());
  auto o = query<OrvICompareObjects>(other);
  if (!o) return;
  std::vector<TavUnicodeString> on, ov;
  o->GetAttributeNamesAndValues(on, ov);
  std::unordered_map<TavUnicodeString, std::size_t> at;
  for (std::size_t i = 0; i < names.size(); ++i) at.emplace(names[i], i);
  for (std::size_t i = 0; i < on.size(); ++i) {
    auto it = at.find(on[i]);
    if (it != at.end()) {
      theirs[it->second] = ov[i];
    } else {
      names.push_back(on[i]);
      mine.emplace_back();
      theirs.push_back(ov[i]);
    }
  }
}

namespace {

class HostHubAdapter final : public virtual TavIYorAdapter {
public:
  HRESULT GetHubValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& attribute, TavValue& value) const override {
    auto h = HubObject(object);
    if (!h) return E_FAIL;
    auto v = h->GetAttribute(std::string(kHubAttributePrefix) + attribute.utf8());
    if (!v) return E_FAIL;
    value = *v;
    return S_OK;
  }
  HRESULT GetHubAttributes(const Ref<TavBaseUnknown>& object, std::vector<TavUnicodeString>& names,
                           std::vector<TavUnicodeString>& prompts) const override {
    auto h = HubObject(object);
    if (!h) return E_FAIL;
    for (auto& a : h->GetAttributes())
      if (IsHubName(a.name)) {
        names.push_back(a.name.utf8().substr(kHubAttributePrefix.size()));
        prompts.push_back(names.back());
      }
    return S_OK;
  }

private:
  // Only objects of a hub document have a hub record.
  static Ref<HostObject> HubObject(const Ref<TavBaseUnknown>& object) {
    auto h = std::dynamic_pointer_cast<HostObject>(object ? object->ExtendedObject() : nullptr);
    return h && h->Doc() && h->Doc()->IsHub() ? h : nullptr;
  }
};

constexpr const char* kCoordinateAttributes[6] = {"dx", "dy", "dz", "mx", "my", "mz"};

bool LoadFasteners(const PlantElement& section, PlantLoadContext& ctx) {
  HostFastenerContainer* c = FastenersOf(ctx.doc, true);
  for (const PlantElement* f : ctx.Children(section)) {
    if (!ctx.Expect(*f, "fastener")) return false;
    std::optional<std::string> id, name, coords[6];
    if (!ctx.ReadAttributes(*f, {{"id", &id, true},
                                 {"name", &name, false},
                                 {kCoordinateAttributes[0], &coords[0], false},
                                 {kCoordinateAttributes[1], &coords[1], false},
                                 {kCoordinateAttributes[2], &coords[2], false},
                                 {kCoordinateAttributes[3], &coords[3], false},
                                 {kCoordinateAttributes[4], &coords[4], false},
                                 {kCoordinateAttributes[5], &coords[5], false}}))
      return false;
    if (!ctx.CheckNewId(*f, *id)) return false;
    double values[6] = {};
    for (int i = 0; i < 6; ++i)
      if (coords[i] && !ctx.ParseDouble(*f, kCoordinateAttributes[i], *coords[i], values[i])) return false;
    auto fastener = c->CreateFastener(*id, name.value_or(*id));
    for (int i = 0; i < 6; ++i) fastener->SetCoordinate(i, values[i]);
    for (const PlantElement* r : ctx.Children(*f)) {
      if (PlantLoadContext::Name(*r) == "attribute") {
        std::optional<std::string> an, at, av;
        if (!ctx.ReadAttributes(*r, {{"name", &an, true}, {"type", &at, true}, {"value", &av, true}})) return false;
        if (*at != "string") {
          ctx.Error(r, "fastener attributes are strings");
          return false;
        }
        if (fastener->GetAttribute(*an)) {
          ctx.Error(r, "duplicate attribute '" + *an + "'");
          return false;
        }
        fastener->SetAttribute(*an, TavUnicodeString(*av));
        continue;
      }
      if (!ctx.Expect(*r, "related")) return false;
      std::optional<std::string> ref;
      if (!ctx.ReadAttributes(*r, {{"ref", &ref, true}})) return false;
      auto target = ctx.Lookup(*ref);
      if (!target || !(std::dynamic_pointer_cast<HostProduct>(target) || std::dynamic_pointer_cast<HostAssembly>(target) ||
                       std::dynamic_pointer_cast<HostActivity>(target))) {
        ctx.Error(r, "'" + *ref + "' is no product, resource, assembly or activity");
        return false;
      }
      if (!c->Relate(fastener, target)) {
        ctx.Error(r, "fastener '" + *id + "' is already related to '" + *ref + "'");
        return false;
      }
    }
    if (ctx.Failed()) return false;
  }
  return !ctx.Failed();
}

void SaveFasteners(const HostDocument& doc, PlantWriter& w) {
  auto* c = FastenersOf(const_cast<HostDocument&>(doc), false);
  if (!c || c->Fasteners().empty()) return;
  w.Start("fasteners");
  for (auto& f : c->Fasteners()) {
    w.Start("fastener");
    w.Attr("id", f->GetId());
    if (f->GetName() != f->GetId()) w.Attr("name", f->GetName());
    for (int i = 0; i < 6; ++i) w.AttrDouble(kCoordinateAttributes[i], f->Coordinate(i));
    for (auto& a : f->GetAttributes()) {
      bool coordinate = std::find(OrvIBIWFastener::kCoordinateNames.begin(), OrvIBIWFastener::kCoordinateNames.end(),
                                  a.name.utf8()) != OrvIBIWFastener::kCoordinateNames.end();
      if (coordinate) continue;
      w.Start("attribute");
      w.Attr("name", a.name);
      w.Attr("type", "string");
      w.Attr("value", TavValueToText(a.value));
      w.End();
    }
    for (auto& r : c->RelatedTo(*f)) {
      w.Start("related");
      if (auto id = query<TavIModelIdentity>(r)) w.Attr("ref", id->GetId());
      w.End();
    }
    w.End();
  }
  w.End();
}

}  // namespace

double HostFastener::Coordinate(int i) const {
  auto v = GetAttribute(OrvIBIWFastener::kCoordinateNames[static_cast<std::size_t>(i)]);
  if (auto d = v ? std::get_if<double>(&*v) : nullptr) return *d;
  return 0;
}

void HostFastener::SetCoordinate(int i, double v) { SetAttribute(OrvIBIWFastener::kCoordinateNames[static_cast<std::size_t>(i)], v); }

HRESULT HostFastenerContainer::GetFastenersOfPart(const Ref<TavBaseUnknown>& part, std::vector<Ref<TavBaseUnknown>>& out) const {
  out.clear();
  if (!part) return E_FAIL;
  auto it = byObject_.find(part->ExtendedObject().get());
  if (it != byObject_.end()) out = it->second;
  return S_OK;
}

Ref<HostFastener> HostFastenerContainer::CreateFastener(const std::string& id, const TavUnicodeString& name) {
  auto f = std::make_shared<HostFastener>();
  f->SetName(name);
  doc_->AdoptObject(*f, id, 'f');
  fasteners_.push_back(f);
  if (UndoLog* log = doc_->Recording()) log->Add(CompareUndo::Fastener(*this, f, false));
  if (name.IsEmpty()) f->SetName(f->GetId());
  return f;
}

bool HostFastenerContainer::Relate(const Ref<HostFastener>& f, const Ref<TavBaseUnknown>& object) {
  if (!f || !object) return false;
  Ref<TavBaseUnknown> o = object->ExtendedObject();
  auto& list = byObject_[o.get()];
  if (std::any_of(list.begin(), list.end(), [&](const Ref<TavBaseUnknown>& x) { return x.get() == f.get(); })) return false;
  list.push_back(f);
  related_[f.get()].push_back(o);
  if (UndoLog* log = doc_->Recording()) log->Add(CompareUndo::Related(*this, f, o, false));
  return true;
}

std::size_t HostFastenerContainer::UnrelateAll(const Ref<TavBaseUnknown>& object) {
  if (!object) return 0;
  Ref<TavBaseUnknown> o = object->ExtendedObject();
  auto it = byObject_.find(o.get());
  if (it == byObject_.end()) return 0;
  auto& list = it->second;
  const std::size_t n = list.size();
  UndoLog* log = doc_->Recording();
  // From the back, so that undo, taking the records last first, puts each back at its place.
  for (std::size_t i = n; i-- > 0;) {
    auto* f = TavCast<HostFastener>(list[i].get());
    auto& related = related_[f];
    auto r = std::find_if(related.begin(), related.end(), [&](const std::weak_ptr<TavBaseUnknown>& w) { return w.lock() == o; });
    const auto at = static_cast<std::size_t>(r - related.begin());
    if (r != related.end()) related.erase(r);
    if (log) log->Add(CompareUndo::Unrelated(*this, SelfRef<HostFastener>(*f), o, i, at));
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
  }
  byObject_.erase(it);
  return n;
}

std::vector<Ref<TavBaseUnknown>> HostFastenerContainer::RelatedTo(const HostFastener& f) const {
  std::vector<Ref<TavBaseUnknown>> out;
  auto it = related_.find(&f);
  if (it != related_.end())
    for (auto& w : it->second)
      if (auto o = w.lock()) out.push_back(std::move(o));
  return out;
}

HostFastenerContainer* FastenersOf(HostDocument& doc, bool create) {
  return create ? &doc.FindOrAddContainer<HostFastenerContainer>() : doc.FindContainer<HostFastenerContainer>();
}

void RegisterCompareHost() {
  TavExtensionRegistry::Get().RegisterForAnyType(OrvICompareObjects::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto h = std::dynamic_pointer_cast<HostObject>(o ? o->ExtendedObject() : nullptr);
    return h ? std::make_shared<HostComparable>(std::move(h)) : nullptr;
  });
  RegisterDocumentInitialiser([](HostDocument& d) {
    if (d.IsHub()) d.AddContainer(std::make_shared<HostHubAdapter>());
  });
  RegisterPlantSection("fasteners", LoadFasteners, SaveFasteners);
  RegisterHubChangeOrders();
}

}  // namespace host
