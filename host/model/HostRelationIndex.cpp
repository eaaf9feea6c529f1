#include "HostRelationIndex.h"

#include <algorithm>
#include <tuple>

namespace host {

RelationIndex* RelationIndex::Of(const HostDocument& doc) { return doc.FindContainer<RelationIndex>(); }

// By the slot alone: the relation may be dead (its address reused by a new one).
void RelationIndex::Erase(const HostRelation* key) {
  auto at = slot_.find(key);
  if (at == slot_.end()) return;
  const Slot slot = at->second;
  slot_.erase(at);
  auto list = byTarget_.find(slot.target);
  if (list == byTarget_.end()) return;
  auto& v = list->second;
  if (slot.pos + 1 != v.size()) {
    v[slot.pos] = std::move(v.back());
    slot_[v[slot.pos].key].pos = slot.pos;
  }
  v.pop_back();
  if (v.empty()) byTarget_.erase(list);
}

void RelationIndex::Added(const Ref<HostRelation>& r) {
  if (!r) return;
  if (auto at = slot_.find(r.get()); at != slot_.end()) {
    if (byTarget_[at->second.target][at->second.pos].relation.lock() == r) return;  // listed already
    Erase(r.get());
  }
  const TavBaseUnknown* target = r->Target().get();
  auto& list = byTarget_[target];
  slot_[r.get()] = {target, list.size()};
  list.push_back({r.get(), r});
}

void RelationIndex::Removed(const HostRelation& r) { Erase(&r); }

std::vector<Ref<HostRelation>> RelationIndex::Naming(const TavBaseUnknown* target) const {
  std::vector<Ref<HostRelation>> out;
  auto it = byTarget_.find(target);
  if (it == byTarget_.end()) return out;
  struct Found {
    int owner;
    std::size_t place;
    Ref<HostRelation> relation;
  };
  std::vector<Found> found;
  found.reserve(it->second.size());
  for (const Entry& e : it->second) {
    auto r = e.relation.lock();
    if (!r) continue;
    auto owner = std::dynamic_pointer_cast<HostActivity>(r->GetOwner());
    if (!owner || owner->Doc() != doc_) continue;
    // The owner's list is the truth: a relation changed while its subtree was out of
    // the document (no hook saw it) is not taken for a live one.
    const auto& list = owner->Relations();
    auto place = std::find(list.begin(), list.end(), r);
    if (place == list.end()) continue;
    found.push_back({owner->GetModelNumber(), static_cast<std::size_t>(place - list.begin()), std::move(r)});
  }
  std::sort(found.begin(), found.end(),
            [](const Found& a, const Found& b) { return std::tie(a.owner, a.place) < std::tie(b.owner, b.place); });
  out.reserve(found.size());
  for (auto& f : found) out.push_back(std::move(f.relation));
  return out;
}

void IndexRelationAdded(const HostActivity& owner, const Ref<HostRelation>& r) {
  if (const HostDocument* doc = owner.Doc())
    if (RelationIndex* index = RelationIndex::Of(*doc)) index->Added(r);
}

void IndexRelationRemoved(const HostActivity& owner, const HostRelation& r) {
  if (const HostDocument* doc = owner.Doc())
    if (RelationIndex* index = RelationIndex::Of(*doc)) index->Removed(r);
}

}  // namespace host
