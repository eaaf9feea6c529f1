#pragma once
// The solved times of one document, kept per solved tree (a process, or all the
// behaviours together), made on first use. A solve replaces its tree's times; a
// failed one clears them. A change to the model after a solve leaves the times as
// they were until the next solve of that tree.
#include <memory>
#include <string>

#include "TimeSolver.h"

namespace host {

class TimingStore final : public TavBaseUnknown {
public:
  explicit TimingStore(HostDocument* doc) : doc_(doc) {}
  std::string LateType() const override { return "MirtTimingStore"; }

  // The tree `node` belongs to, solved: its process, or every behaviour of the
  // document when it belongs to one. S_OK or E_FAIL with `error` set.
  HRESULT Solve(HostActivity& node, std::string& error);

  struct Hit {
    const TimeSolution* solution = nullptr;
    std::uint32_t node = NodeIndex::kNone;
    explicit operator bool() const { return solution != nullptr; }
    const NodeTimes& Times() const { return solution->times[node]; }
    bool Critical() const { return solution->critical[node] != 0; }
  };
  // The node's times from the latest solve of a tree that held it; empty when none.
  Hit Find(const HostActivity& a) const;
  // Every solved node, tree by tree in solving order.
  template <class F>
  void ForEachSolved(F&& f) const {
    for (auto& e : entries_)
      for (std::uint32_t i = 0; i < e.solution->nodes.size(); ++i) f(Hit{e.solution.get(), i});
  }

  // The store of a document; null when nothing was solved there (create: made then).
  static TimingStore* Of(const HostDocument& doc);
  static TimingStore& Make(HostDocument& doc);

private:
  struct Entry {
    const void* key;  // the process root, or the document for its behaviours
    std::unique_ptr<TimeSolution> solution;
    std::uint64_t serial;
  };
  HostDocument* doc_;
  std::vector<Entry> entries_;
  std::uint64_t serial_ = 0;
};

// The tree's root of `a`: the top activity above it (a process root, a TSA, a
// behaviour).
HostActivity* TopActivity(HostActivity& a);

}  // namespace host
