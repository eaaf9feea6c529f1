#include "TavGraph.h"

namespace {
OrvModelTimeSolver::Engine& SolverEngine() {
  static OrvModelTimeSolver::Engine e;
  return e;
}
OrvGanttChartWindows::Factory& GanttFactory() {
  static OrvGanttChartWindows::Factory f;
  return f;
}
OrvVekPertChartWindow::Factory& PertFactory() {
  static OrvVekPertChartWindow::Factory f;
  return f;
}
OrvPertGraphBackend* g_pert = nullptr;
}  // namespace

HRESULT OrvModelTimeSolver::FullSolve(const Ref<TavBaseUnknown>& root) {
  error_ = {};
  if (!root) return E_FAIL;
  if (!SolverEngine()) return E_NOTIMPL;
  return SolverEngine()(root, error_);
}
void OrvModelTimeSolver::InstallEngine(Engine e) { SolverEngine() = std::move(e); }

Ref<OrvGanttChartWindow> OrvGanttChartWindows::Create(const TavUnicodeString& title, const Ref<TavFrmEditor>& editor,
                                                      const std::vector<Ref<TavBaseUnknown>>& rows, int displayMode,
                                                      const std::vector<Ref<TavBaseUnknown>>& roots, int kind,
                                                      int flags) {
  return editor && GanttFactory() ? GanttFactory()(title, editor, rows, displayMode, roots, kind, flags) : nullptr;
}
void OrvGanttChartWindows::InstallFactory(Factory f) { GanttFactory() = std::move(f); }

Ref<OrvVekPertChartWindow> OrvVekPertChartWindow::Create(const TavUnicodeString& name, const Ref<TavFrmEditor>& editor,
                                                         const Ref<TavBaseUnknown>& root, int mode, int viewerKind) {
  return editor && root && PertFactory() ? PertFactory()(name, editor, root, mode, viewerKind) : nullptr;
}
void OrvVekPertChartWindow::InstallFactory(Factory f) { PertFactory() = std::move(f); }

Ref<OrvIGE0Config> OrvIGE0Config::OfSession() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  auto doc = ed ? ed->GetDocument() : nullptr;
  return doc ? query<OrvIGE0Config>(doc->GetRootContainer(kInterfaceName)) : nullptr;
}

OrvPertGraphBackend* OrvPertGraphBackend::Get() { return g_pert; }
void OrvPertGraphBackend::Install(OrvPertGraphBackend* backend) { g_pert = backend; }

bool OrvPertController::IsHubMode() { return g_pert && g_pert->IsHubMode(); }

HRESULT OrvPertClientVisuServices::SetChildPertPositions(const Ref<TavIGENode>& node, int view) {
  return g_pert && node ? g_pert->SetChildPertPositions(node, view) : E_FAIL;
}
HRESULT OrvPertClientVisuServices::ReframeInPertViewer(const Ref<TavBaseUnknown>& activity,
                                                       const Ref<OrvVekPertChartWindow>& window, int& notShown) {
  notShown = 0;
  return g_pert && activity && window ? g_pert->ReframeInPertViewer(activity, window, notShown) : E_FAIL;
}
HRESULT OrvVekPertOldGEObjects::TransferGENodesPositionData() {
  return g_pert ? g_pert->TransferGENodesPositionData() : E_FAIL;
}
HRESULT OrvVekLayoutPertChart::IsNodeLinked(const Ref<TavIGENode>& node, bool& linked) {
  linked = false;
  return g_pert && node ? g_pert->IsNodeLinked(node, linked) : E_FAIL;
}
double OrvVekLayoutPertChart::GetDefaultGridSize() { return g_pert ? g_pert->GetDefaultGridSize() : 0; }
HRESULT OrvVekLayoutPertChart::LayoutPertChart(const Ref<TavIGENode>& node, double x, double y) {
  return g_pert && node ? g_pert->LayoutPertChart(node, x, y) : E_FAIL;
}

void TavDeclareGraphInterfaces() {
  TavInterfaceNames::Declare<OrvITimedActivity>();
  TavInterfaceNames::Declare<TavIFrmWindowEditor>();
  TavInterfaceNames::Declare<TavIWindowPicture>();
  TavInterfaceNames::Declare<OrvIVEKAdapters>();
  TavInterfaceNames::Declare<OrvIGanttChartRows>();
  TavInterfaceNames::Declare<TavIGENode>();
  TavInterfaceNames::Declare<OrvPertController>();
  TavInterfaceNames::Declare<OrvIPertWindow>();
  TavInterfaceNames::Declare<OrvVekPertChartWindow>();
  TavInterfaceNames::Declare<OrvIVEKPertAdapter>();
  TavInterfaceNames::Declare<OrvIGE0Config>();
}
