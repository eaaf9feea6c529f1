#include "HostRelationIndex.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace host {

RelationIndex* RelationIndex::Of(const HostDocument& doc) { return doc.FindContainer<RelationIndex>(); }

// By the slot alone: the relation may be dead (its address reused by a new one).
void RelationIndex::Erase(const HostRelation* key) const {
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

void RelationIndex::Insert(const Ref<HostRelation>& r) const {
  const TavBaseUnknown* target = r->Target().get();
  auto& list = byTarget_[target];
  slot_[r.get()] = {target, list.size()};
  list.push_back({r.get(), r});
}

void RelationIndex::Build() const {
  if (built_) return;
  built_ = true;
  std::size_t n = 0;
  doc_->ForEachObject([&](HostObject& o) {
    if (auto* a = TavCast<HostActivity>(&o)) n += a->Relations().size();
  });
  slot_.reserve(n);
  doc_->ForEachObject([&](HostObject& o) {
    if (auto* a = TavCast<HostActivity>(&o))
      for (auto& r : a->Relations()) Insert(r);
  });
}

void RelationIndex::Added(const Ref<HostRelation>& r) {
  if (!r || !built_) return;
  if (auto at = slot_.find(r.get()); at != slot_.end()) {
    if (byTarget_[at->second.target][at->second.pos].relation.lock() == r) return;  // listed already
    Erase(r.get());
  }
  Insert(r);
}

void RelationIndex::Removed(const HostRelation& r) {
  if (built_) Erase(&r);
}

std::vector<Ref<HostRelation>> RelationIndex::Naming(const TavBaseUnknown* target, bool ordered) const {
  Build();
  std::vector<Ref<HostRelation>> out;
  auto it = byTarget_.find(target);
  if (it == byTarget_.end()) return out;
  // Sorted by a key and a position, so that the handles themselves are moved once.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> keys;
  out.reserve(it->second.size());
  keys.reserve(it->second.size());
  for (const Entry& e : it->second) {
    auto r = e.relation.lock();
    if (!r) continue;
    auto* owner = dynamic_cast<const HostActivity*>(r->GetOwner().get());
    if (!owner || owner->Doc() != doc_) continue;
    // The owner's list is the truth: a relation changed while its subtree was out of
    // the document (no hook saw it) is not taken for a live one.
    const auto& list = owner->Relations();
    auto place = std::find(list.begin(), list.end(), r);
    if (place == list.end()) continue;
    const auto key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(owner->GetModelNumber())) << 32) |
                     static_cast<std::uint32_t>(place - list.begin());
    keys.emplace_back(key, static_cast<std::uint32_t>(out.size()));
    out.push_back(std::move(r));
  }
  if (!ordered) return out;
  std::sort(keys.begin(), keys.end());
  std::vector<Ref<HostRelation>> sorted;
  sorted.reserve(out.size());
  for (auto& k : keys) sorted.push_back(std::move(out[k.second]));
  return sorted;
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
