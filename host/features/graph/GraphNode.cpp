#include "GraphNode.h"

#include "HostWindows.h"
#include "PertWindow.h"

namespace host {

namespace {

Ref<HostActivity> ActivityOf(const Ref<TavBaseUnknown>& o) {
  return std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
}

// The tree top a Gantt window draws on; null for a window that shows no activity tree
// of its own (a resource Gantt draws on several).
Ref<HostActivity> TopOfGantt(OrvGanttChartWindow& w) {
  auto rows = dynamic_cast<OrvIGanttChartRows*>(&w);
  if (rows && rows->GetChartKind() == 2) return nullptr;
  return TreeTop(ActivityOf(w.GetRoot()));
}

class PertAdapter final : public virtual OrvIVEKPertAdapter {
public:
  explicit PertAdapter(Ref<HostActivity> top) : top_(std::move(top)) {}
  // The window must show a part of this tree. A tree not timed yet is solved, so
  // that the boxes show their times; one that cannot be (a cycle) shows none.
  HRESULT ConnectWindow(const Ref<OrvVekPertChartWindow>& window) override {
    auto w = std::dynamic_pointer_cast<PertWindow>(Ref<TavBaseUnknown>(window));
    if (!w || w->IsDeleted() || TreeTop(w->Root()) != top_) return E_FAIL;
    auto timed = query<OrvITimedActivity>(Ref<TavBaseUnknown>(top_));
    if (!timed || !timed->IsTimed()) OrvModelTimeSolver().FullSolve(top_);
    w->Connect(top_);
    w->Refresh();
    return S_OK;
  }

private:
  Ref<HostActivity> top_;
};

class Adapters final : public virtual OrvIVEKAdapters {
public:
  explicit Adapters(Ref<HostActivity> top) : top_(std::move(top)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return top_; }
  // Every Gantt window on this tree (and every resource Gantt, which may draw on it)
  // reads its table and bar colours again; every PERT window on it its boxes.
  HRESULT RefreshAdapters() override {
    for (const Ref<HostWindow>& w : HostWindows::Get().Windows()) {
      if (auto* gantt = dynamic_cast<OrvGanttChartWindow*>(w.get())) {
        const Ref<HostActivity> top = TopOfGantt(*gantt);
        if (top && top != top_) continue;
        gantt->UpdateGanttTable();
        if (auto* rows = dynamic_cast<OrvIGanttChartRows*>(w.get())) rows->UpdateTimeBarsColor();
      } else if (auto* pert = dynamic_cast<PertWindow*>(w.get())) {
        if (TreeTop(pert->Root()) == top_) pert->Refresh();
      }
    }
    return S_OK;
  }
  Ref<OrvIVEKPertAdapter> GetPertAdapter() override { return std::make_shared<PertAdapter>(top_); }

private:
  Ref<HostActivity> top_;
};

class GraphConfig final : public virtual OrvIGE0Config {
public:
  std::string LateType() const override { return "OrvGE0Config"; }
  bool GetKeepWindowRoots() const override {
    return TavSettingRepository::GetRepository(kGraphConfigRepository).ReadBool(kKeepWindowRootsKey, true);
  }
};

}  // namespace

std::vector<Ref<TavIGENode>> HostGraphNode::GetChildNodes() const {
  std::vector<Ref<TavIGENode>> out;
  out.reserve(a_->Children().size());
  for (const Ref<HostActivity>& c : a_->Children()) out.push_back(std::make_shared<HostGraphNode>(c, store_));
  return out;
}

void RegisterGraphNodes() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!doc.FindContainer<GraphConfig>()) doc.AddContainer(std::make_shared<GraphConfig>());
  });
  auto& registry = TavExtensionRegistry::Get();
  registry.RegisterForAnyType(TavIGENode::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto a = ActivityOf(o);
    GraphPositionStore* store = a && a->Doc() ? GraphPositionsOf(*a->Doc()) : nullptr;
    return store ? std::make_shared<HostGraphNode>(a, *store) : nullptr;
  });
  // Tree tops only: a process root or a behaviour.
  registry.RegisterForAnyType(OrvIVEKAdapters::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto a = ActivityOf(o);
    if (!a || !a->Doc() || a->FatherActivity()) return nullptr;
    if (!query<TavISPPActivityRoot>(Ref<TavBaseUnknown>(a)) && !a->Type()->IsA("OrvBehavior")) return nullptr;
    return std::make_shared<Adapters>(a);
  });
}

}  // namespace host
