// The versioning's plant elements: <versioning> in <assembly> (the mark, the reference
// product, the version and the state of the last version) and the <modificationLog>
// section.
#include <sstream>

#include "MAVersions.h"
#include "PlantSections.h"

namespace host {
namespace {

Ref<HostProduct> ProductRef(const PlantElement& e, const std::string& attr, const std::string& id, PlantLoadContext& ctx) {
  auto o = ctx.Lookup(id);
  auto p = o ? std::dynamic_pointer_cast<HostProduct>(o) : nullptr;
  if (!p || p->IsResource()) {
    ctx.Error(&e, attr + "=\"" + id + "\" is " + (o ? "no product" : "an unknown id"));
    return nullptr;
  }
  return p;
}

bool LoadLastVersion(const PlantElement& e, const HostAssembly& a, PlantLoadContext& ctx, MAState& s) {
  if (!ctx.Expect(e, "lastVersion")) return false;
  std::optional<std::string> name, partNumber, type, produced, refEbom, parts, gone;
  if (!ctx.ReadAttributes(e, {{"name", &name, true}, {"partNumber", &partNumber, false}, {"type", &type, false},
                              {"externallyProduced", &produced, false}, {"refEbom", &refEbom, false}, {"parts", &parts, false},
                              {"gone", &gone, false}}))
    return false;
  std::int64_t g = 0;
  if (gone && (!ctx.ParseInt(e, "gone", *gone, g) || g < 1 || g > 1000000000)) {
    if (!ctx.Failed()) ctx.Error(&e, "gone=\"" + *gone + "\" is no count of objects (1 or more)");
    return false;
  }
  s.gone = static_cast<int>(g);
  std::int64_t t = a.GetType();
  if (type && (!ctx.ParseInt(e, "type", *type, t) || t < 0 || t > 4)) {
    if (!ctx.Failed()) ctx.Error(&e, "type=\"" + *type + "\" is no assembly type (0 to 4)");
    return false;
  }
  if (produced && !ctx.ParseBool(e, "externallyProduced", *produced, s.externallyProduced)) return false;
  if (refEbom && !(s.refEbom = ProductRef(e, "refEbom", *refEbom, ctx))) return false;
  s.name = TavUnicodeString(*name);
  s.partNumber = TavUnicodeString(partNumber.value_or(""));
  s.type = static_cast<int>(t);
  std::istringstream words(parts.value_or(""));
  for (std::string id; words >> id;) {
    auto part = ctx.Lookup(id);
    if (!part) {
      ctx.Error(&e, "parts: unknown id \"" + id + "\"");
      return false;
    }
    s.parts.push_back(part);
  }
  return true;
}

bool LoadVersioning(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  auto a = std::dynamic_pointer_cast<HostAssembly>(owner);
  HostMAVersions* store = MAVersionsOf(ctx.doc);
  if (!a || !store) return false;
  std::optional<std::string> version, produced, refEbom;
  if (!ctx.ReadAttributes(e, {{"version", &version, false}, {"externallyProduced", &produced, false}, {"refEbom", &refEbom, false}}))
    return false;
  if (!(store->Record(*a) == MARecord{})) {
    ctx.Error(&e, "'" + a->IdString() + "' has two versioning elements");
    return false;
  }
  MARecord r;
  std::int64_t v = 0;
  if (version && (!ctx.ParseInt(e, "version", *version, v) || v < 0 || v > 1000000000)) {
    if (!ctx.Failed()) ctx.Error(&e, "version=\"" + *version + "\" is no version number (0 or more)");
    return false;
  }
  r.version = static_cast<int>(v);
  if (produced && !ctx.ParseBool(e, "externallyProduced", *produced, r.externallyProduced)) return false;
  if (refEbom && !(r.refEbom = ProductRef(e, "refEbom", *refEbom, ctx))) return false;
  const auto& children = ctx.Children(e);
  if (children.size() > 1) {
    ctx.Error(children[1], "an assembly has one last version");
    return false;
  }
  if (!children.empty()) {
    if (r.version == 0) {
      ctx.Error(children[0], "a last version needs version=\"1\" or more");
      return false;
    }
    MAState s;
    if (!LoadLastVersion(*children[0], *a, ctx, s)) return false;
    r.last = std::move(s);
  }
  store->PutLoaded(*a, std::move(r));
  return true;
}

void SaveVersioning(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* a = TavCast<HostAssembly>(owner.get());
  const HostMAVersions* store = a && a->Doc() ? MAVersionsOf(*a->Doc()) : nullptr;
  if (!store) return;
  const MARecord& r = store->Record(*a);
  if (r == MARecord{}) return;
  // Objects deleted since are not written: a current link to one links nothing, and
  // the last version counts them as gone.
  auto live = [&](const Ref<TavBaseUnknown>& o) -> const HostObject* {
    auto* h = TavCast<HostObject>(o.get());
    return h && h->Doc() == a->Doc() ? h : nullptr;
  };
  const Ref<HostProduct> refEbom = store->RefEbom(*a);
  if (r.version == 0 && !r.externallyProduced && !refEbom && !r.last) return;
  w.Start("versioning");
  if (r.version) w.AttrInt("version", r.version);
  if (r.externallyProduced) w.Attr("externallyProduced", "true");
  if (refEbom) w.Attr("refEbom", refEbom->IdString());
  if (r.last) {
    int gone = r.last->gone;
    w.Start("lastVersion");
    w.Attr("name", r.last->name);
    if (!r.last->partNumber.IsEmpty()) w.Attr("partNumber", r.last->partNumber);
    w.AttrInt("type", r.last->type);
    if (r.last->externallyProduced) w.Attr("externallyProduced", "true");
    if (const HostObject* h = live(r.last->refEbom)) w.Attr("refEbom", h->IdString());
    else if (r.last->refEbom) ++gone;
    std::string parts;
    for (auto& p : r.last->parts)
      if (const HostObject* h = live(p)) parts += (parts.empty() ? "" : " ") + h->IdString();
      else ++gone;
    if (!parts.empty()) w.Attr("parts", parts);
    if (gone) w.AttrInt("gone", gone);
    w.End();
  }
  w.End();
}

bool LoadLog(const PlantElement& section, PlantLoadContext& ctx) {
  HostMAVersions* store = MAVersionsOf(ctx.doc);
  if (!store) return false;
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "entry")) return false;
    std::optional<std::string> object, code, attribute;
    if (!ctx.ReadAttributes(*e, {{"object", &object, true}, {"code", &code, true}, {"attribute", &attribute, false}})) return false;
    auto o = std::dynamic_pointer_cast<HostObject>(ctx.Lookup(*object));
    if (!o) {
      ctx.Error(e, "object=\"" + *object + "\" is an unknown id");
      return false;
    }
    std::int64_t c = 0;
    if (!ctx.ParseInt(*e, "code", *code, c)) return false;
    store->AppendLoaded({o, static_cast<int>(c), TavUnicodeString(attribute.value_or("")), false});
  }
  return !ctx.Failed();
}

void SaveLog(const HostDocument& doc, PlantWriter& w) {
  const HostMAVersions* store = MAVersionsOf(doc);
  if (!store) return;
  bool any = false;
  for (auto& e : store->Log()) {
    // Taken into a version, or about an object that left the plant: no modification to keep.
    if (e.versioned || e.object->Doc() != &doc) continue;
    if (!any) w.Start("modificationLog");
    any = true;
    w.Start("entry");
    w.Attr("object", e.object->IdString());
    w.AttrInt("code", e.code);
    if (!e.attribute.IsEmpty()) w.Attr("attribute", e.attribute);
    w.End();
  }
  if (any) w.End();
}

}  // namespace

void RegisterMAVersions() {
  RegisterMAVersionStore();
  RegisterElementExtension("assembly", "versioning", LoadVersioning, SaveVersioning);
  RegisterPlantSection("modificationLog", LoadLog, SaveLog);
}

}  // namespace host
