#pragma once
// A copy of activity subtrees kept apart from the model: what the copy-and-paste
// actor holds between a copy and its pastes, and what a behaviour's copy is made
// from. Taking it reads the sources once; pasting it never reads them again, so a
// paste under one of the sources cannot walk its own copy.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "HostModel.h"

namespace host {

class ActivitySnapshot {
public:
  // The subtrees of `tops` (activities of one document), in that order. A top that
  // lies under another top, or is given twice, is taken once, with that other top.
  static ActivitySnapshot Take(const std::vector<Ref<HostActivity>>& tops);

  bool Empty() const { return tops_.empty(); }
  std::size_t Size() const { return nodes_.size(); }
  const HostDocument* Document() const { return doc_; }

  // Whether `parent` (an activity or behaviour of the snapshot's document) can take
  // the subtrees as children: a control-flow node takes none.
  bool CanPasteUnder(const HostActivity& parent) const;
  // Each subtree becomes a new last child of `parent`, with fresh ids: labels, types,
  // descriptions, times, attributes, plan types, relations with their attributes
  // (products and resources that left the document are skipped), 3D contexts, and
  // the links among the copied activities. Constraints are not kept under a
  // behaviour, which holds none. Every change goes through the model's recorded
  // mutators. The copies of the tops, in order; empty when CanPasteUnder refuses.
  std::vector<Ref<HostActivity>> PasteUnder(const Ref<HostActivity>& parent) const;

private:
  struct Relation {
    const RelationTypeInfo* type;
    Ref<TavBaseUnknown> target;
    std::vector<TavAttribute> attributes;
  };
  struct Node {
    std::uint32_t parent;  // index of the father node; kTop for a top
    const HostType* type;
    TavUnicodeString label, description;
    double time = 0;
    std::vector<TavAttribute> attributes;
    std::vector<Relation> relations;
    std::vector<Ref<TavBaseUnknown>> contexts;
    std::string planType;
  };
  enum class LinkKind : std::uint8_t { Flow, Precedence, Constraint, PrevCycle };
  struct Link {
    std::uint32_t from, to;  // precedence: from before to
    LinkKind kind;
  };
  static constexpr std::uint32_t kTop = UINT32_MAX;

  HostDocument* doc_ = nullptr;
  std::vector<Node> nodes_;  // each subtree depth first, fathers before children
  std::vector<std::uint32_t> tops_;
  std::vector<Link> links_;
};

}  // namespace host
