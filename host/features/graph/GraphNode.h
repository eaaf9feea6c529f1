#pragma once
// The graph node of an activity or behaviour (TavIGENode), the adapters of the tree
// tops that refresh the windows showing them (OrvIVEKAdapters, OrvIVEKPertAdapter),
// and the document's graph configuration (OrvIGE0Config).
#include "GraphPositions.h"
#include "TavGraph.h"

namespace host {

class HostGraphNode final : public virtual TavIGENode {
public:
  HostGraphNode(Ref<HostActivity> a, GraphPositionStore& store) : a_(std::move(a)), store_(store) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return a_; }
  Ref<TavBaseUnknown> GetModelObject() const override { return a_; }
  std::vector<Ref<TavIGENode>> GetChildNodes() const override;
  bool GetPosition(int view, double& x, double& y) const override { return store_.Get(*a_, view, x, y); }
  HRESULT SetPosition(int view, double x, double y) override { return store_.Change(*a_, view, x, y); }
  const Ref<HostActivity>& Activity() const { return a_; }

private:
  Ref<HostActivity> a_;
  GraphPositionStore& store_;  // the document's
};

// The setting repository and key of OrvIGE0Config::GetKeepWindowRoots (default true).
inline constexpr const char* kGraphConfigRepository = "OrvGE0Config";
inline constexpr const char* kKeepWindowRootsKey = "KeepWindowRoots";

// Registers the node on every activity, the adapters on process roots and
// behaviours, and the configuration container on every document.
void RegisterGraphNodes();

}  // namespace host
