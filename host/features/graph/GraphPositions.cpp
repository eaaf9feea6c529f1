#include "GraphPositions.h"

#include <cmath>

#include "HostUndo.h"
#include "PlantSections.h"

namespace host {

namespace {

constexpr const char* kViewNames[2] = {"pert", "precedence"};

// An activity's positions as they were; applying puts them back and records what
// they replaced, so undo and redo are the same record.
class PositionUndo final : public UndoAction {
public:
  PositionUndo(GraphPositionStore& s, Ref<HostActivity> a, GraphPlacement before)
      : store_(s), a_(std::move(a)), before_(before) {}
  bool Apply(HostDocument& doc, std::string& why) override {
    if (!doc.Holds(*a_)) return UndoGone(*a_, why);
    const GraphPlacement now = store_.Placement(*a_);
    store_.Put(*a_, before_);
    doc.Recording()->Add(std::make_unique<PositionUndo>(store_, a_, now));
    return true;
  }
  std::size_t Bytes() const override { return sizeof(*this); }
  // One field per activity: both its positions.
  const void* FieldOwner() const override { return a_.get(); }
  bool FieldUnchanged() const override { return store_.Placement(*a_) == before_; }

private:
  GraphPositionStore& store_;  // the document's: it outlives the journal
  Ref<HostActivity> a_;
  GraphPlacement before_;
};

bool LoadPosition(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  auto activity = std::dynamic_pointer_cast<HostActivity>(owner);
  GraphPositionStore* store = GraphPositionsOf(ctx.doc);
  if (!activity || !store) {
    ctx.Error(&e, "<graphPosition> belongs in an activity");
    return false;
  }
  std::optional<std::string> view, x, y;
  if (!ctx.ReadAttributes(e, {{"view", &view, true}, {"x", &x, true}, {"y", &y, true}})) return false;
  int v = 0;
  for (int i = 0; i < 2; ++i)
    if (*view == kViewNames[i]) v = i + 1;
  if (v == 0) {
    ctx.Error(&e, "unknown graph view \"" + *view + "\" (pert or precedence)");
    return false;
  }
  if (!ctx.Children(e).empty()) {
    ctx.Error(&e, "<graphPosition> holds nothing");
    return false;
  }
  GraphPlacement p = store->Placement(*activity);
  GraphPoint& point = p.views[v - 1];
  if (point.set) {
    ctx.Error(&e, "a second <graphPosition view=\"" + *view + "\"> in activity '" + activity->IdString() + "'");
    return false;
  }
  if (!ctx.ParseDouble(e, "x", *x, point.x) || !ctx.ParseDouble(e, "y", *y, point.y)) return false;
  point.set = true;
  store->Put(*activity, p);
  return true;
}

void SavePositions(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* activity = TavCast<HostActivity>(owner.get());
  const GraphPositionStore* store = activity && activity->Doc() ? GraphPositionsOf(*activity->Doc()) : nullptr;
  if (!store || store->Size() == 0) return;
  const GraphPlacement p = store->Placement(*activity);
  for (int i = 0; i < 2; ++i) {
    if (!p.views[i].set) continue;
    w.Start("graphPosition");
    w.Attr("view", kViewNames[i]);
    w.AttrDouble("x", p.views[i].x);
    w.AttrDouble("y", p.views[i].y);
    w.End();
  }
}

}  // namespace

bool GraphPositionStore::Get(const HostActivity& a, int view, double& x, double& y) const {
  if (!ValidView(view)) return false;
  auto it = entries_.find(&a);
  if (it == entries_.end() || !it->second.placement.views[view - 1].set) return false;
  x = it->second.placement.views[view - 1].x;
  y = it->second.placement.views[view - 1].y;
  return true;
}

GraphPlacement GraphPositionStore::Placement(const HostActivity& a) const {
  auto it = entries_.find(&a);
  return it == entries_.end() ? GraphPlacement{} : it->second.placement;
}

HRESULT GraphPositionStore::Change(HostActivity& a, int view, double x, double y) {
  if (!ValidView(view) || !std::isfinite(x) || !std::isfinite(y)) return E_FAIL;
  const GraphPlacement before = Placement(a);
  GraphPlacement after = before;
  after.views[view - 1] = GraphPoint{x, y, true};
  if (after == before) return S_FALSE;
  if (UndoLog* log = doc_.Recording()) log->Add(std::make_unique<PositionUndo>(*this, SelfRef<HostActivity>(a), before));
  Put(a, after);
  return S_OK;
}

void GraphPositionStore::Put(HostActivity& a, const GraphPlacement& p) {
  if (p.Empty()) entries_.erase(&a);
  else entries_[&a] = Entry{SelfRef<HostActivity>(a), p};
}

GraphPositionStore* GraphPositionsOf(const HostDocument& doc) { return doc.FindContainer<GraphPositionStore>(); }

void RegisterGraphPositions() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!GraphPositionsOf(doc)) doc.AddContainer(std::make_shared<GraphPositionStore>(doc));
  });
  RegisterElementExtension("activity", "graphPosition", LoadPosition, SavePositions);
}

}  // namespace host
