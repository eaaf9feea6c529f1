#include "OrvVekPartConsumptionMerge.h"

#include <algorithm>

namespace {
// Blocks hold up to 2 * kBlock records: finding a record in its block and
// splitting a block both cost O(kBlock), whatever the number of records.
constexpr std::size_t kBlock = 64;
constexpr std::uint64_t kLabelStep = std::uint64_t{1} << 32;

const TavBaseUnknown* KeyOf(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }
std::size_t Hash(const TavBaseUnknown* p) { return (reinterpret_cast<std::uintptr_t>(p) >> 4) * 0x9E3779B97F4A7C15ull; }
}  // namespace

OrvVekPartConsumptionMerge::Node* OrvVekPartConsumptionMerge::FindLast(const TavBaseUnknown* part) const {
  if (!part) return nullPartLast_;
  if (table_.empty()) return nullptr;
  const std::size_t mask = table_.size() - 1;
  for (std::size_t i = Hash(part) & mask;; i = (i + 1) & mask) {
    if (table_[i].part == part) return table_[i].last;
    if (!table_[i].part) return nullptr;
  }
}

OrvVekPartConsumptionMerge::Node*& OrvVekPartConsumptionMerge::LastOf(const TavBaseUnknown* part) {
  if (!part) return nullPartLast_;
  if (2 * (used_ + 1) > table_.size()) {
    std::vector<Slot> old = std::move(table_);
    table_.assign(std::max<std::size_t>(64, old.size() * 2), Slot{});
    used_ = 0;
    for (auto& s : old)
      if (s.part) LastOf(s.part) = s.last;
  }
  const std::size_t mask = table_.size() - 1;
  std::size_t i = Hash(part) & mask;
  while (table_[i].part && table_[i].part != part) i = (i + 1) & mask;
  if (!table_[i].part) {
    table_[i].part = part;
    ++used_;
  }
  return table_[i].last;
}

void OrvVekPartConsumptionMerge::Clear() {
  blocks_.clear();
  nodes_.clear();
  table_.clear();
  used_ = 0;
  nullPartLast_ = nullptr;
  size_ = 0;
}

OrvPartConsumptionRecords OrvVekPartConsumptionMerge::Records() const {
  OrvPartConsumptionRecords out;
  out.reserve(size_);
  for (auto& b : blocks_)
    for (const Node* n : b.nodes) out.push_back(n->record);
  return out;
}

OrvVekPartConsumptionMerge::Node* OrvVekPartConsumptionMerge::NewNode(const Ref<OrvPartConsumptionAnalysisResult>& record) {
  nodes_.push_back({record, {}});
  ++size_;
  return &nodes_.back();
}

void OrvVekPartConsumptionMerge::Append(Node* node) {
  if (blocks_.empty() || blocks_.back().nodes.size() >= 2 * kBlock) {
    const std::uint64_t label = blocks_.empty() ? kLabelStep : blocks_.back().label;
    blocks_.push_back({});
    if (label > UINT64_MAX - kLabelStep) {
      Relabel();
    } else {
      blocks_.back().label = label + (blocks_.size() == 1 ? 0 : kLabelStep);
    }
  }
  node->block = std::prev(blocks_.end());
  node->block->nodes.push_back(node);
}

void OrvVekPartConsumptionMerge::InsertAfter(Node* at, Node* node) {
  BlockIt block = at->block;
  auto& v = block->nodes;
  auto pos = std::find(v.begin(), v.end(), at);
  v.insert(pos + 1, node);
  node->block = block;
  if (v.size() > 2 * kBlock) Split(block);
}

void OrvVekPartConsumptionMerge::Split(BlockIt block) {
  BlockIt next = std::next(block);
  BlockIt half = blocks_.insert(next, Block{});
  auto& from = block->nodes;
  half->nodes.assign(from.begin() + static_cast<std::ptrdiff_t>(from.size() / 2), from.end());
  from.resize(from.size() / 2);
  for (Node* n : half->nodes) n->block = half;
  const std::uint64_t low = block->label;
  const std::uint64_t high = next == blocks_.end() ? UINT64_MAX : next->label;
  if (high - low >= 2) half->label = low + (high - low) / 2;
  else Relabel();
}

void OrvVekPartConsumptionMerge::Relabel() {
  // Blocks are few (records / kBlock): spreading their labels again is cheap,
  // and it is needed only after many splits in one place.
  std::uint64_t label = kLabelStep;
  const std::uint64_t step = UINT64_MAX / (blocks_.size() + 2);
  for (auto& b : blocks_) {
    b.label = label;
    label += step;
  }
}

bool OrvVekPartConsumptionMerge::Before(const Node* a, const Node* b) const {
  if (a->block != b->block) return a->block->label < b->block->label;
  for (const Node* n : a->block->nodes) {
    if (n == a) return true;
    if (n == b) return false;
  }
  return false;
}

void OrvVekPartConsumptionMerge::NoteLast(Node* node, bool appended) {
  Node*& last = LastOf(KeyOf(node->record->GetSelPrd()));
  if (!last || appended || Before(last, node)) last = node;
}

HRESULT OrvVekPartConsumptionMerge::Add(const OrvPartConsumptionRecords* records) {
  if (!records) return S_OK;
  if (Empty()) {
    for (auto& r : *records) {
      if (!r) continue;
      Node* n = NewNode(r);
      Append(n);
      NoteLast(n, true);
    }
    return S_OK;
  }
  for (auto& r : *records) {
    if (!r) continue;
    const Ref<TavBaseUnknown>& key = r->IsChild() ? r->GetParent() : r->GetSelPrd();
    Node* e = FindLast(KeyOf(key));
    if (!e) {
      Node* n = NewNode(r);
      Append(n);
      NoteLast(n, true);
      continue;
    }
    const bool insert = !r->HasChildren() || (r->HasAssignedActivity() && e->record->HasAssignedActivity());
    if (insert) {
      Node* n = NewNode(r);
      InsertAfter(e, n);
      NoteLast(n, false);
    } else if (e->record->HasAssignedActivity() && r->AllChildrenAssigned()) {
      e->record->SetChildAssignment(true);
    }
  }
  return S_OK;
}
