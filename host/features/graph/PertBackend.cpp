#include "PertBackend.h"

#include <cmath>

#include "PertLayout.h"
#include "PertWindow.h"

namespace host {

namespace {
Ref<HostActivity> ActivityOf(const Ref<TavBaseUnknown>& o) {
  return std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
}
Ref<HostActivity> NodeActivity(const Ref<TavIGENode>& node) { return node ? ActivityOf(node->GetModelObject()) : nullptr; }

bool AnyAlive(const std::vector<std::weak_ptr<HostActivity>>& list, const HostActivity* self) {
  for (auto& w : list)
    if (auto a = w.lock(); a && a.get() != self) return true;
  return false;
}

HRESULT Place(HostActivity& a, int view, double x, double y) {
  GraphPositionStore* store = a.Doc() ? GraphPositionsOf(*a.Doc()) : nullptr;
  return store ? store->Change(a, view, x, y) : E_FAIL;
}
}  // namespace

HostPertBackend& HostPertBackend::Instance() {
  static HostPertBackend b;
  return b;
}

HRESULT HostPertBackend::SetChildPertPositions(const Ref<TavIGENode>& node, int view) {
  auto a = NodeActivity(node);
  GraphPositionStore* store = a && a->Doc() ? GraphPositionsOf(*a->Doc()) : nullptr;
  if (!store || !GraphPositionStore::ValidView(view)) return E_FAIL;
  const SiblingGraph g = SiblingsOf(*a);
  const auto places = MissingPositions(g, *store, view);
  for (std::size_t i = 0; i < g.nodes.size(); ++i)
    if (places[i] && FAILED(store->Change(*g.nodes[i], view, places[i]->first, places[i]->second))) return E_FAIL;
  return S_OK;
}

// Positions have only ever been kept as graph nodes' own positions (<graphPosition>
// in the plant): there is no older form to carry over.
HRESULT HostPertBackend::TransferGENodesPositionData() { return S_OK; }

HRESULT HostPertBackend::ReframeInPertViewer(const Ref<TavBaseUnknown>& activity,
                                             const Ref<OrvVekPertChartWindow>& window, int& notShown) {
  notShown = 0;
  auto w = std::dynamic_pointer_cast<PertWindow>(Ref<TavBaseUnknown>(window));
  auto a = ActivityOf(activity);
  if (!w || w->IsDeleted() || !activity) return E_FAIL;
  if (!a || !w->Reframe(a)) notShown = 1;
  return S_OK;
}

HRESULT HostPertBackend::IsNodeLinked(const Ref<TavIGENode>& node, bool& linked) {
  linked = false;
  auto a = NodeActivity(node);
  if (!a) return E_FAIL;
  linked = AnyAlive(a->Next(), a.get()) || AnyAlive(a->Previous(), a.get()) || AnyAlive(a->Before(), a.get()) ||
           AnyAlive(a->After(), a.get());
  return S_OK;
}

double HostPertBackend::GetDefaultGridSize() { return pert::kGrid; }

// The chart the node is a box of: its father's children (a root's own children).
// Both views move when the precedence viewer has placed any of them; else the PERT
// chart's only.
HRESULT HostPertBackend::LayoutPertChart(const Ref<TavIGENode>& node, double x, double y) {
  auto a = NodeActivity(node);
  if (!a || !std::isfinite(x) || !std::isfinite(y)) return E_FAIL;
  Ref<HostActivity> father = a->FatherActivity();
  if (!father) father = a;
  GraphPositionStore* store = father->Doc() ? GraphPositionsOf(*father->Doc()) : nullptr;
  if (!store) return E_FAIL;
  const SiblingGraph g = SiblingsOf(*father);
  const auto places = LayoutAll(g, x, y);
  bool precedenceToo = false;
  for (auto& n : g.nodes) {
    double px = 0, py = 0;
    precedenceToo = precedenceToo || store->Get(*n, 2, px, py);
  }
  for (std::size_t i = 0; i < g.nodes.size(); ++i)
    for (int view = 1; view <= (precedenceToo ? 2 : 1); ++view)
      if (FAILED(Place(*g.nodes[i], view, places[i].first, places[i].second))) return E_FAIL;
  return S_OK;
}

bool HostPertBackend::IsHubMode() {
  HostSession* s = HostSession::Current();
  auto doc = s ? s->CurrentDocument() : nullptr;
  return doc && doc->IsHub();
}

}  // namespace host
