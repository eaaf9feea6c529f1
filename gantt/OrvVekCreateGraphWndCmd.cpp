#include "OrvVekCreateGraphWndCmd.h"

#include "OrvGanttTimes.h"
#include "TavAssignment.h"
#include "TavDialog.h"
#include "TavFrmActivation.h"
#include "TavGantt.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCreateGraphWndTrace", "Traces for module OrvVekCreateGraphWnd");
  return t;
}
constexpr const char* kClass = "OrvVekCreateGraphWndCmd";

// The picked object as the activity the window shows: itself, or a resource's existing behaviour.
Ref<TavISPPActivity> GraphActivityOf(const Ref<TavBaseUnknown>& picked) {
  if (auto a = query<TavISPPActivity>(picked)) return a;
  auto manager = query<OrvIResourceBehaviorManager>(picked);
  auto behaviour = manager ? manager->GetBehavior() : nullptr;
  return query<TavISPPActivity>(behaviour);
}
}  // namespace

OrvVekCreateGraphWndCmd::OrvVekCreateGraphWndCmd()
    : OrvVekCreateGraphWndCmd("OrvVekCreateGraphWndCmd", Kind{0, " PERT chart", kCatalog}) {}

OrvVekCreateGraphWndCmd::OrvVekCreateGraphWndCmd(std::string name, Kind kind)
    : TavStateCommand(std::move(name), 0, 0), kind_(kind) {
  TavTraceScope scope(Trace(), kClass, "OrvVekCreateGraphWndCmd");
}

OrvVekCreateGraphWndCmd::~OrvVekCreateGraphWndCmd() { TavTraceScope scope(Trace(), kClass, "~OrvVekCreateGraphWndCmd"); }

std::unique_ptr<TavStateCommand> fctCreateOrvVekCreateGraphWndCmd() { return std::make_unique<OrvVekCreateGraphWndCmd>(); }

void OrvVekCreateGraphWndCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  auto* select = GetInitialState("SelectActivity");
  agent_ = std::make_unique<TavPathElementAgent>("Activity");
  agent_->SetElementType(TavISPPAbstractActivity::kInterfaceName);
  // A resource only reaches the filter as the holder of a behaviour.
  agent_->AddElementType(OrvIResourceBehaviorManager::kInterfaceName);
  agent_->SetFilter([this](TavAcquisitionAgent* a) { return IsActOrResourceWithBehaviour(a); });
  select->AddDialogAgent(agent_.get());
  // One action and the command ends, whether a window opened or not.
  AddTransition(select, nullptr, IsOutputSetCondition(agent_.get()), [this] {
    CreateWindowAction();
    return true;
  });
}

bool OrvVekCreateGraphWndCmd::IsActOrResourceWithBehaviour(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsActOrResourceWithBehaviour");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  const Ref<TavBaseUnknown> picked = a ? a->GetValue().GetLeaf() : nullptr;
  if (query<TavISPPAbstractActivity>(picked)) return true;
  auto manager = query<OrvIResourceBehaviorManager>(picked);
  return manager && manager->GetBehavior();
}

bool OrvVekCreateGraphWndCmd::CreatePertWindow() {
  TavTraceScope scope(Trace(), kClass, "CreatePertWindow");
  return CreateGraphWindow(agent_ ? agent_->GetValue().GetLeaf() : nullptr);
}

bool OrvVekCreateGraphWndCmd::CreatePrecedenceWindow() {
  TavTraceScope scope(Trace(), kClass, "CreatePrecedenceWindow");
  return CreateGraphWindow(agent_ ? agent_->GetValue().GetLeaf() : nullptr);
}

void OrvVekCreateGraphWndCmd::PositionChildren(const Ref<TavIGENode>& node) {
  OrvPertClientVisuServices::SetChildPertPositions(node, 1);
}

bool OrvVekCreateGraphWndCmd::CreateGraphWindow(const Ref<TavBaseUnknown>& picked) {
  TavTraceScope scope(Trace(), kClass, "CreateGraphWindow");
  const Ref<TavISPPActivity> activity = GraphActivityOf(picked);
  auto node = query<TavIGENode>(activity);
  if (!node || node->GetChildNodes().empty()) return false;

  auto config = OrvIGE0Config::OfSession();
  const bool keepRoots = !config || config->GetKeepWindowRoots();
  const Ref<TavFrmEditor> editor = TavFrmEditor::GetCurrentEditor();
  if (auto* layout = TavFrmLayoutWindows::Get()) {
    for (const Ref<TavFrmWindow>& w : layout->GetWindows()) {
      auto owner = query<TavIFrmWindowEditor>(w);
      auto pert = query<OrvIPertWindow>(w);
      auto controller = pert ? pert->GetController() : nullptr;
      if (!owner || owner->GetWindowEditor() != editor || !controller) continue;
      if (controller->GetViewerKind() == 1) {
        ShowWrongTypeError();
        return false;
      }
      if (!SameObject(controller->GetRoot(), activity) && !keepRoots) controller->SetRoot(activity);
      if (SameObject(controller->GetRoot(), activity) && controller->GetViewerKind() == kind_.viewerKind) {
        if (auto activation = query<TavIFrmWindowActivation>(w)) activation->ActivateWindow();
        Trace().Print(kAlreadyOpen);
        return true;
      }
    }
  }

  PositionChildren(node);
  OrvVekPertOldGEObjects::TransferGENodesPositionData();
  const Ref<TavBaseUnknown> root = OrvGanttTimes::RootProcessOf(activity);
  if (!root) return false;  // every activity has one: nothing to show without it
  auto window = OrvVekPertChartWindow::Create(activity->GetLabel() + TavUnicodeString(kind_.suffix), editor, activity,
                                              1, kind_.viewerKind);
  if (!window) return false;
  if (auto adapters = query<OrvIVEKAdapters>(root))
    if (auto pertAdapter = adapters->GetPertAdapter()) pertAdapter->ConnectWindow(window);
  return true;
}

void OrvVekCreateGraphWndCmd::ShowWrongTypeError() const {
  TavDlgNotify box(nullptr, "Unexpected", TavDlgNotify::Error);
  box.DisplayBox("Error", TavMsgCatalog::BuildMessage(kind_.catalog, "WrongGETypeErr", {},
                                                      "Another kind of graph window is open on this document: close it "
                                                      "before opening a PERT chart or a precedence viewer."));
  box.DisplayBlocked();
}
