#pragma once
// Which activity relations name an object: a reverse index from target to relations,
// kept up to date by the model itself wherever an activity's relation list changes
// (made, removed, undone, redone). Asking what links to a resource then costs the
// answer, not a walk over every activity of the plant. It is made from the document
// on the first question: a plant loaded and only read or saved (every batch check,
// compare, report) never pays for it.
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "HostModel.h"

namespace host {

class RelationIndex final : public virtual TavBaseUnknown {
public:
  explicit RelationIndex(HostDocument* doc) : doc_(doc) {}
  // Every document has one from its creation.
  static RelationIndex* Of(const HostDocument& doc);

  // The relations naming `target` (an object's ExtendedObject) whose owner is an
  // activity of the document now: a subtree taken out (kept by undo) does not count.
  // Ordered by the owner's model number, then by place in the owner's list, so that
  // a loaded plant answers in file order; unordered when the caller takes them all
  // away anyway.
  std::vector<Ref<HostRelation>> Naming(const TavBaseUnknown* target, bool ordered = true) const;
  std::size_t Size() const {
    Build();
    return slot_.size();
  }

  // The model's side: a relation came into (went out of) an owner's list.
  void Added(const Ref<HostRelation>& r);
  void Removed(const HostRelation& r);

private:
  struct Entry {
    const HostRelation* key;
    std::weak_ptr<HostRelation> relation;
  };
  struct Slot {
    const TavBaseUnknown* target;
    std::size_t pos;
  };
  void Erase(const HostRelation* key) const;
  void Insert(const Ref<HostRelation>& r) const;
  // Every relation of the document's activities, once.
  void Build() const;

  HostDocument* doc_;
  mutable bool built_ = false;
  mutable std::unordered_map<const TavBaseUnknown*, std::vector<Entry>> byTarget_;
  // Where each relation sits in its target's list: removal is O(1), so taking 10^4
  // relations off one resource does not search a list of 10^4 per relation.
  mutable std::unordered_map<const HostRelation*, Slot> slot_;
};

// The hooks the model calls; the owner's document (if any) keeps the index.
void IndexRelationAdded(const HostActivity& owner, const Ref<HostRelation>& r);
void IndexRelationRemoved(const HostActivity& owner, const HostRelation& r);

}  // namespace host
