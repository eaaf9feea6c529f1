#include "RequirementCoverage.h"

#include "HostRelationIndex.h"

namespace host {

namespace {

const RelationTypeInfo* ImplementsType() {
  static const RelationTypeInfo* t = FindRelationType("process_implements_requirement");
  return t;
}

}  // namespace

bool IsImplementsRequirement(const HostRelation& r) { return r.Type() == ImplementsType(); }

RequirementCover CoverOf(const HostRelation& r) {
  for (const TavAttribute& a : r.Attributes()) {
    if (a.name != "Requirement") continue;
    if (const auto* text = std::get_if<TavUnicodeString>(&a.value)) return {RequirementCover::One, *text};
    return {RequirementCover::Unreadable, {}};
  }
  return {};
}

std::vector<Ref<HostRelation>> ImplementingRelations(const HostDocument& doc, const TavBaseUnknown* target,
                                                     bool ordered) {
  std::vector<Ref<HostRelation>> out;
  const RelationIndex* index = RelationIndex::Of(doc);
  if (!index || !target) return out;
  out = index->Naming(target, ordered);
  std::erase_if(out, [](const Ref<HostRelation>& r) { return !IsImplementsRequirement(*r); });
  return out;
}

int ReconciliationLevelOf(const HostDocument& doc, const HostProduct& product) {
  const HostRequirementStore* store = RequirementsOf(doc);
  const std::size_t count = store ? store->Of(product).size() : 0;
  if (count == 0) return 0;
  std::vector<bool> done(count, false);
  std::size_t left = count;
  for (auto& r : ImplementingRelations(doc, &product, false)) {
    const RequirementCover cover = CoverOf(*r);
    if (cover.kind == RequirementCover::Every) return 1;
    if (cover.kind != RequirementCover::One) continue;
    const std::size_t at = store->Find(product, cover.name);
    if (at == HostRequirementStore::npos || done[at]) continue;
    done[at] = true;
    if (--left == 0) return 1;
  }
  return 2;
}

std::vector<RequirementImplementation> ImplementationOf(const HostDocument& doc, const HostProduct& product) {
  std::vector<RequirementImplementation> out;
  const HostRequirementStore* store = RequirementsOf(doc);
  if (!store) return out;
  const auto& mine = store->Of(product);
  if (mine.empty()) return out;
  out.reserve(mine.size());
  for (std::size_t i : mine) out.push_back({&store->All()[i], {}});
  for (auto& r : ImplementingRelations(doc, &product, true)) {
    auto owner = std::dynamic_pointer_cast<HostActivity>(r->GetOwner());
    if (!owner) continue;
    const RequirementCover cover = CoverOf(*r);
    if (cover.kind == RequirementCover::Every) {
      for (auto& entry : out) entry.activities.push_back(owner);
    } else if (cover.kind == RequirementCover::One) {
      const std::size_t at = store->Find(product, cover.name);
      if (at != HostRequirementStore::npos) out[at].activities.push_back(owner);
    }
  }
  return out;
}

}  // namespace host
