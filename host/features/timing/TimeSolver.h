#pragma once
// The time solver: earliest and latest times of every node of one or more activity
// trees, from durations, control flow and precedence.
//
// Each node has a start and an end event. A leaf lasts its own time; a control node
// ("Switch", "AndOut", "OrIn", "AndIn", "Start", "Stop", "Feeder", "Deliver") lasts
// nothing; a node with children starts them and ends with the last of them, so its
// own time is ignored. The links, all end-to-start with no lag:
//   parent start -> child start, child end -> parent end, start -> end (the duration),
//   control flow (Next) from -> to, precedence before -> after.
// Every event takes the latest of what leads to it, so an AndIn waits for all its
// inputs and an OrIn for its longest alternative. Process constraints and constraints
// to the previous cycle do not time anything. Links to nodes outside the solved trees
// are left out. The trees start together at 0; the span is the latest end of all.
//
// One topological pass forward (earliest times) and one back (latest times, from the
// span), over flat arrays indexed by a dense node number: O(nodes + links), no
// recursion, so plants of any depth solve.
#include <cstdint>
#include <string>
#include <vector>

#include "HostModel.h"

namespace host {

struct NodeTimes {
  double begin = 0, end = 0;              // earliest
  double latestBegin = 0, latestEnd = 0;  // latest that keep the span
  double Slack() const { return latestBegin - begin; }
};

// Pointer -> dense number, open addressing: one flat array, no node per entry.
class NodeIndex {
public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  void Reset(std::size_t count);
  void Insert(const HostActivity* a, std::uint32_t n);
  std::uint32_t Find(const HostActivity* a) const;

private:
  std::size_t Slot(const HostActivity* a) const;
  std::vector<const HostActivity*> keys_;
  std::vector<std::uint32_t> values_;
  std::size_t mask_ = 0;
};

struct TimeSolution {
  std::vector<HostActivity*> nodes;  // depth first, each tree's root first
  std::vector<int> modelNumbers;     // of each node when solved: a reused address is no hit
  std::vector<NodeTimes> times;      // by node
  std::vector<std::uint8_t> critical;
  NodeIndex index;
  double span = 0;
  // The node's number, kNone when it was not solved here.
  std::uint32_t Find(const HostActivity& a) const;
};

// Solves the trees below `roots`. False on a cycle or a negative (or not finite)
// duration, with `error` naming the activities (at most 10, then "...") and `out`
// left empty.
bool SolveTimes(const HostDocument& doc, const std::vector<HostActivity*>& roots, TimeSolution& out, std::string& error);

// Whether the node is a control node (takes no time).
bool IsControlNode(const HostActivity& a);

}  // namespace host
