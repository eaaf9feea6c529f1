#include "PlanTypes.h"

#include <algorithm>

#include "PlantSections.h"

namespace host {

HRESULT HostPlanTypes::GetPTSInfo(Ref<OrvIMHIPTSInfo>& info) const {
  // The catalogue answers for itself; the handle keeps the document's container.
  info = TavCast<OrvIMHIPTSInfo>(const_cast<HostPlanTypes*>(this)->self());
  return info ? S_OK : E_FAIL;
}

HRESULT HostPlanTypes::GetSubTypes(const TavUnicodeString& typeName, std::vector<TavUnicodeString>& subTypes) const {
  subTypes.clear();
  const std::string name = typeName.utf8();
  auto it = std::find_if(types_.begin(), types_.end(), [&](const PlanType& t) { return t.name == name; });
  if (it != types_.end())
    for (auto& s : it->subTypes) subTypes.emplace_back(s);
  return S_OK;
}

bool HostPlanTypes::IsKitPlanType(const TavUnicodeString& planType) const {
  auto it = std::find_if(types_.begin(), types_.end(), [](const PlanType& t) { return t.name == kKitType; });
  if (it == types_.end()) return false;
  const std::string want = planType.utf8();
  return std::find(it->subTypes.begin(), it->subTypes.end(), want) != it->subTypes.end();
}

HostPlanTypes* PlanTypesOf(const HostDocument& doc) { return doc.FindContainer<HostPlanTypes>(); }

namespace {

bool Blank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

// Reads a name attribute that must say something.
bool ReadName(const PlantElement& e, PlantLoadContext& ctx, std::string& name) {
  std::optional<std::string> n;
  if (!ctx.ReadAttributes(e, {{"name", &n, true}})) return false;
  if (Blank(*n)) {
    ctx.Error(&e, "an empty name on <" + e.Name() + ">");
    return false;
  }
  name = std::move(*n);
  return true;
}

bool LoadPlanTypes(const PlantElement& section, PlantLoadContext& ctx) {
  if (!ctx.ReadAttributes(section, {})) return false;
  std::vector<HostPlanTypes::PlanType> types;
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "plmType")) return false;
    HostPlanTypes::PlanType t;
    if (!ReadName(*e, ctx, t.name)) return false;
    if (std::any_of(types.begin(), types.end(), [&](const auto& x) { return x.name == t.name; })) {
      ctx.Error(e, "duplicate plan type '" + t.name + "'");
      return false;
    }
    for (const PlantElement* s : ctx.Children(*e)) {
      if (!ctx.Expect(*s, "subType")) return false;
      std::string sub;
      if (!ReadName(*s, ctx, sub)) return false;
      if (std::find(t.subTypes.begin(), t.subTypes.end(), sub) != t.subTypes.end()) {
        ctx.Error(s, "duplicate sub-type '" + sub + "' of plan type '" + t.name + "'");
        return false;
      }
      t.subTypes.push_back(std::move(sub));
    }
    if (ctx.Failed()) return false;
    types.push_back(std::move(t));
  }
  if (ctx.Failed()) return false;
  if (HostPlanTypes* c = PlanTypesOf(ctx.doc)) c->SetTypes(std::move(types));
  return true;
}

void SavePlanTypes(const HostDocument& doc, PlantWriter& w) {
  const HostPlanTypes* c = PlanTypesOf(doc);
  // A plan type the catalogue does not list would make a file that does not load.
  for (auto& a : doc.Assemblies().assemblies_)
    if (!a->PlanType().IsEmpty() && !(c && c->IsKitPlanType(a->PlanType())))
      w.Problem("the plan type '" + a->PlanType().utf8() + "' of assembly '" + a->Name().utf8() +
                "' is not a kit plan type of the plant");
  w.Start("plmTypes");
  if (c)
    for (auto& t : c->Types()) {
      w.Start("plmType");
      w.Attr("name", t.name);
      for (auto& s : t.subTypes) {
        w.Start("subType");
        w.Attr("name", s);
        w.End();
      }
      w.End();
    }
  w.End();  // none listed: an empty element, which the writer drops
}

std::string CheckPlanType(const HostAssembly& a, const HostDocument& doc) {
  if (a.PlanType().IsEmpty()) return {};
  const HostPlanTypes* c = PlanTypesOf(doc);
  if (c && c->IsKitPlanType(a.PlanType())) return {};
  return "plan type '" + a.PlanType().utf8() + "' of assembly '" + a.IdString() + "' is not a sub-type of '" +
         HostPlanTypes::kKitType + "' in <plmTypes>";
}

}  // namespace

void RegisterPlanTypes() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!PlanTypesOf(doc)) doc.AddContainer(std::make_shared<HostPlanTypes>(&doc));
  });
  RegisterPlantSection("plmTypes", LoadPlanTypes, SavePlanTypes);
  RegisterPlantAssemblyCheck("planType", CheckPlanType);
}

}  // namespace host
