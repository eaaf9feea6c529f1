#include "OrvVekMAVersioningIndex.h"

namespace {
// The host hands out assemblies themselves (no wrappers): the handle's address is the
// assembly's, without a reference count taken per look-up.
const void* Key(const Ref<OrvIMfgAssembly>& ma) { return ma.get(); }
}  // namespace

std::vector<Ref<OrvIMfgAssembly>> OrvVekUniqueMAs(const std::vector<Ref<OrvIMfgAssembly>>& list) {
  std::vector<Ref<OrvIMfgAssembly>> out;
  std::unordered_set<const void*> seen;
  seen.reserve(list.size());
  for (auto& ma : list)
    if (ma && seen.insert(Key(ma)).second) out.push_back(ma);
  return out;
}

std::vector<Ref<OrvIMfgAssembly>> OrvVekMAVersioningIndex::ContentMAs(const Ref<OrvIMfgAssembly>& ma) {
  std::vector<Ref<OrvIMfgAssembly>> out;
  std::vector<Ref<TavBaseUnknown>> parts;
  // Content given by product structure holds products only.
  if (!ma || ma->GetParts(parts) != S_OK) return out;
  for (auto& p : parts)
    if (auto child = query<OrvIMfgAssembly>(p)) out.push_back(child);
  return out;
}

OrvVekMAVersioningIndex::OrvVekMAVersioningIndex(const std::vector<Ref<OrvIMfgAssembly>>& all) {
  containers_.reserve(all.size());
  for (auto& m : all)
    for (auto& child : ContentMAs(m)) containers_[Key(child)].push_back(m);
}

std::vector<Ref<OrvIMfgAssembly>> OrvVekMAVersioningIndex::IndirectMAs(const std::vector<Ref<OrvIMfgAssembly>>& seeds) const {
  // Level by level, as the literal definition finds them; an assembly met again is
  // not followed again, so shared sub-assemblies and cycles cost nothing more.
  std::vector<Ref<OrvIMfgAssembly>> out, level = seeds;
  std::unordered_set<const void*> seen;
  while (!level.empty()) {
    std::vector<Ref<OrvIMfgAssembly>> next;
    for (auto& s : level) {
      auto it = containers_.find(Key(s));
      if (it == containers_.end()) continue;
      for (auto& m : it->second)
        if (seen.insert(Key(m)).second) next.push_back(m);
    }
    out.insert(out.end(), next.begin(), next.end());
    level = std::move(next);
  }
  return out;
}

std::vector<Ref<OrvIMfgAssembly>> OrvVekMAVersioningIndex::LiteralIndirectMAs(const std::vector<Ref<OrvIMfgAssembly>>& all,
                                                                             const std::vector<Ref<OrvIMfgAssembly>>& seeds) {
  std::vector<Ref<OrvIMfgAssembly>> found;
  for (auto& s : seeds)
    for (auto& m : all)
      for (auto& child : ContentMAs(m))
        if (Key(child) == Key(s)) {
          found.push_back(m);
          break;
        }
  if (!found.empty()) {
    auto more = LiteralIndirectMAs(all, found);
    found.insert(found.end(), more.begin(), more.end());
  }
  return found;
}
