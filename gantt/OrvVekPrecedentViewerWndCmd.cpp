#include "OrvVekPrecedentViewerWndCmd.h"

OrvVekPrecedentViewerWndCmd::OrvVekPrecedentViewerWndCmd()
    : OrvVekCreateGraphWndCmd("OrvVekPrecedentViewerWndCmd", Kind{2, " Precedence Viewer", kCatalog}) {}

void OrvVekPrecedentViewerWndCmd::PositionChildren(const Ref<TavIGENode>& node) {
  if (OrvPertController::IsHubMode()) OrvPertClientVisuServices::SetChildPertPositions(node, 1);
  OrvPertClientVisuServices::SetChildPertPositions(node, 2);
}

std::unique_ptr<TavStateCommand> fctCreateOrvVekPrecedentViewerWndCmd() {
  return std::make_unique<OrvVekPrecedentViewerWndCmd>();
}
