#pragma once
// Where each activity's box stands in the PERT chart (view 1) and in the precedence
// viewer (view 2). Per document, and only for activities that were placed, so a plant
// nobody laid out costs nothing and saves as before. Every change is an undoable model
// change; plant files keep them as <graphPosition view="pert|precedence" x y> in
// <activity>.
#include <unordered_map>

#include "HostModel.h"

namespace host {

struct GraphPoint {
  double x = 0, y = 0;
  bool set = false;
  bool operator==(const GraphPoint&) const = default;
};

// An activity's positions in both views.
struct GraphPlacement {
  GraphPoint views[2];
  bool operator==(const GraphPlacement&) const = default;
  bool Empty() const { return !views[0].set && !views[1].set; }
};

class GraphPositionStore final : public virtual TavBaseUnknown {
public:
  explicit GraphPositionStore(HostDocument& doc) : doc_(doc) {}
  std::string LateType() const override { return "OrvGraphPositions"; }

  static bool ValidView(int view) { return view == 1 || view == 2; }
  // False when the activity has no position in that view (or the view is unknown).
  bool Get(const HostActivity& a, int view, double& x, double& y) const;
  GraphPlacement Placement(const HostActivity& a) const;
  // Moves the box, recording the old position in the open transaction: S_FALSE when
  // it already stands there, E_FAIL for an unknown view or a coordinate that is no
  // finite number.
  HRESULT Change(HostActivity& a, int view, double x, double y);
  // Sets without recording (loading, and the undo records themselves).
  void Put(HostActivity& a, const GraphPlacement& p);
  std::size_t Size() const { return entries_.size(); }

private:
  struct Entry {
    Ref<HostActivity> activity;
    GraphPlacement placement;
  };
  HostDocument& doc_;
  std::unordered_map<const HostActivity*, Entry> entries_;
};

GraphPositionStore* GraphPositionsOf(const HostDocument& doc);

// The store on every document and the plant element <graphPosition>.
void RegisterGraphPositions();

}  // namespace host
