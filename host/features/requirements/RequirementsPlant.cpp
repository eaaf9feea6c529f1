// The plant section <requirements> (docs/plant-format.md, "Engineering requirements").
#include "HostRequirements.h"
#include "PlantSections.h"
#include "RequirementCoverage.h"

namespace host {

namespace {

std::string Quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

std::string WhatItIs(const Ref<TavBaseUnknown>& o) {
  if (auto* p = TavCast<HostProduct>(o.get())) return p->IsResource() ? "a resource" : "a product";
  if (TavCast<HostAssembly>(o.get())) return "an assembly";
  if (TavCast<HostActivity>(o.get())) return "an activity";
  return "no product";
}

bool Blank(const std::string& s) { return s.find_first_not_of(" \t\r\n") == std::string::npos; }

// Every implementing relation that names a requirement names one its target
// carries. Relations load before this late section, so all of them are there; the
// relation's own place in the file is not kept, so the message names its activity.
bool CheckNamedRequirements(const PlantElement& section, PlantLoadContext& ctx, const HostRequirementStore& store) {
  auto check = [&](const TavBaseUnknown* target, const HostProduct* product, const std::string& targetId) {
    for (auto& r : ImplementingRelations(ctx.doc, target, true)) {
      const RequirementCover cover = CoverOf(*r);
      if (cover.kind == RequirementCover::Every) continue;
      auto* owner = TavCast<HostActivity>(r->GetOwner().get());
      const std::string activity = owner ? Quoted(owner->IdString()) : std::string("?");
      if (cover.kind == RequirementCover::Unreadable) {
        ctx.Error(&section, "activity " + activity + ": the attribute \"Requirement\" of its relation "
                            "process_implements_requirement to " + Quoted(targetId) + " is not a string");
        return false;
      }
      if (!product || store.Find(*product, cover.name) == HostRequirementStore::npos) {
        ctx.Error(&section, "activity " + activity + " implements requirement " + Quoted(cover.name.utf8()) + " of " +
                                Quoted(targetId) + ", which " + (product ? "has no such requirement" : "is no product"));
        return false;
      }
    }
    return true;
  };
  std::vector<const HostProduct*> stack;
  for (auto it = ctx.doc.Products().roots_.rbegin(); it != ctx.doc.Products().roots_.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    const HostProduct* p = stack.back();
    stack.pop_back();
    if (!check(p, p, p->IdString())) return false;
    for (auto it = p->Children().rbegin(); it != p->Children().rend(); ++it) stack.push_back(it->get());
  }
  for (auto& a : ctx.doc.Assemblies().assemblies_)
    if (!check(a.get(), nullptr, a->IdString())) return false;
  return true;
}

bool LoadRequirements(const PlantElement& section, PlantLoadContext& ctx) {
  HostRequirementStore* store = RequirementsOf(ctx.doc);
  if (!store) {
    ctx.Error(&section, "this document keeps no requirements");
    return false;
  }
  if (!ctx.ReadAttributes(section, {})) return false;
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "requirement")) return false;
    const auto& inner = ctx.Children(*e);
    if (ctx.Failed()) return false;
    if (!inner.empty()) {
      ctx.Error(inner.front(), "unknown element <" + inner.front()->Name() + "> in <requirement>");
      return false;
    }
    std::optional<std::string> product, name, description;
    if (!ctx.ReadAttributes(*e, {{"product", &product, true}, {"name", &name, true}, {"description", &description, false}}))
      return false;
    Ref<TavBaseUnknown> o = ctx.Lookup(*product);
    auto p = std::dynamic_pointer_cast<HostProduct>(o);
    if (!o) {
      ctx.Error(e, "a requirement of unknown product " + Quoted(*product));
      return false;
    }
    if (!p || p->IsResource()) {
      ctx.Error(e, Quoted(*product) + " is " + WhatItIs(o) + ": only products carry requirements");
      return false;
    }
    if (Blank(*name)) {
      ctx.Error(e, "a requirement of " + Quoted(*product) + " without a name");
      return false;
    }
    if (description && description->empty()) {
      // Only a description is written, so that a file saves as it was read.
      ctx.Error(e, "an empty description: leave the attribute out");
      return false;
    }
    if (!store->Add(p, *name, description ? TavUnicodeString(*description) : TavUnicodeString())) {
      ctx.Error(e, "product " + Quoted(*product) + " has two requirements named " + Quoted(*name));
      return false;
    }
  }
  return !ctx.Failed() && CheckNamedRequirements(section, ctx, *store);
}

// In file order; a product taken out of the plant takes its requirements along.
void SaveRequirements(const HostDocument& doc, PlantWriter& w) {
  const HostRequirementStore* store = RequirementsOf(doc);
  w.Start("requirements");
  if (store)
    for (const EngRequirement& r : store->All()) {
      if (!doc.Holds(*r.product)) continue;
      w.Start("requirement");
      w.Attr("product", r.product->IdString());
      w.Attr("name", r.name);
      if (!r.description.IsEmpty()) w.Attr("description", r.description);
      w.End();
    }
  w.End();  // none: an empty element, which the writer drops
}

}  // namespace

void RegisterRequirementsPlant() {
  // Late: after the relations and the behaviours' activities, whose named
  // requirements it checks.
  RegisterPlantSection("requirements", LoadRequirements, SaveRequirements, PlantSectionPhase::Late);
}

}  // namespace host
