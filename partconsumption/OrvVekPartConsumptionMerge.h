#pragma once
// The records of an analysis run pick after pick, merged as
// OrvVekPartConsumptionRecords::AddToAnalysisResults merges them (grouped by
// product, each new record right after the last record of its product) but
// with the last record of each product indexed, so that a merge costs about
// the same per record however many records came before.
#include <cstdint>
#include <deque>
#include <list>

#include "OrvPartConsumptionAnalysisResult.h"

class OrvVekPartConsumptionMerge {
public:
  // Merges `records`; nothing for a null list.
  HRESULT Add(const OrvPartConsumptionRecords* records);
  void Clear();
  bool Empty() const { return size_ == 0; }
  std::size_t Size() const { return size_; }
  // The merged records in order (a new list).
  OrvPartConsumptionRecords Records() const;

private:
  struct Node;
  struct Block {
    std::vector<Node*> nodes;
    std::uint64_t label = 0;  // blocks are in ascending label order
  };
  using BlockIt = std::list<Block>::iterator;
  struct Node {
    Ref<OrvPartConsumptionAnalysisResult> record;
    BlockIt block;
  };

  Node* NewNode(const Ref<OrvPartConsumptionAnalysisResult>& record);
  void Append(Node* node);
  void InsertAfter(Node* at, Node* node);
  void Split(BlockIt block);
  void Relabel();
  // Whether `a` comes before `b`.
  bool Before(const Node* a, const Node* b) const;
  // Makes `node` the last record of its part when nothing of that part follows it.
  void NoteLast(Node* node, bool appended);

  std::list<Block> blocks_;
  std::deque<Node> nodes_;  // stable addresses
  // Part -> its last record: open addressing in one array, as a node-based map
  // costs a cache miss per record once the records outgrow the caches.
  struct Slot {
    const TavBaseUnknown* part = nullptr;
    Node* last = nullptr;
  };
  Node*& LastOf(const TavBaseUnknown* part);
  Node* FindLast(const TavBaseUnknown* part) const;
  std::vector<Slot> table_;
  std::size_t used_ = 0;
  Node* nullPartLast_ = nullptr;  // records without a part group together too
  std::size_t size_ = 0;
};
