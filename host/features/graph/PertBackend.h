#pragma once
// The host's PERT services (OrvPertGraphBackend): child positions, the layered
// layout on the grid, links, hub mode and recentring in a PERT window.
#include "TavGraph.h"

namespace host {

class HostPertBackend final : public OrvPertGraphBackend {
public:
  static HostPertBackend& Instance();
  HRESULT SetChildPertPositions(const Ref<TavIGENode>& node, int view) override;
  HRESULT TransferGENodesPositionData() override;
  HRESULT ReframeInPertViewer(const Ref<TavBaseUnknown>& activity, const Ref<OrvVekPertChartWindow>& window,
                              int& notShown) override;
  HRESULT IsNodeLinked(const Ref<TavIGENode>& node, bool& linked) override;
  double GetDefaultGridSize() override;
  HRESULT LayoutPertChart(const Ref<TavIGENode>& node, double x, double y) override;
  bool IsHubMode() override;
};

}  // namespace host
