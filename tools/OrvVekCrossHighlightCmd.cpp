#include "OrvVekCrossHighlightCmd.h"

#include "TavAssignment.h"
#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCrossHighlight", "Trace for OrvVekCrossHighlightCmd");
  return t;
}
constexpr const char* kClass = "OrvVekCrossHighlightCmd";
constexpr int kPickBehavior = 0x800800;

// The path under which the editor's tree shows the object (its fathers down to it);
// the object alone when it is not in the editor's document.
TavPathElement TreePath(const Ref<TavBaseUnknown>& object, const Ref<TavDocument>& doc) {
  if (!doc || !SameObject(TavDocumentOf(object), doc)) return TavPathElement({object});
  std::vector<Ref<TavBaseUnknown>> up;
  for (Ref<TavBaseUnknown> o = object; o;) {
    up.push_back(o);
    if (auto activity = query<TavISPPAbstractActivity>(o)) o = activity->GetFather();
    else if (auto product = query<TavIProduct>(o)) o = product->GetFatherProduct();
    else o = nullptr;
  }
  return TavPathElement({up.rbegin(), up.rend()});
}
}  // namespace

OrvVekCrossHighlightCmd::OrvVekCrossHighlightCmd() : TavStateCommand("OrvVekCrossHighlightCmd") {}

OrvVekCrossHighlightCmd::~OrvVekCrossHighlightCmd() = default;

std::unique_ptr<TavStateCommand> fctCreateOrvVekCrossHighlightCmd() { return std::make_unique<OrvVekCrossHighlightCmd>(); }

void OrvVekCrossHighlightCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekCrossHighlightCmd;
  selectAgent_ = std::make_unique<TavPathElementAgent>("SelectSecondObject");
  for (const char* type : {TavIProduct::kInterfaceName, OrvIMfgAssembly::kInterfaceName, TavISPPActivity::kInterfaceName,
                           TavISPPItem::kInterfaceName})
    selectAgent_->AddElementType(type);
  selectAgent_->SetBehavior(kPickBehavior | TavAgent::kMultiAcquisition);
  AddCSOClient(selectAgent_.get());

  dialog_ = std::make_unique<OrvVekCrossHighlightDlg>();
  dialog_->Build();
  dialog_->SetVisibility(true);
  applyAgent_ = std::make_unique<TavDialogAgent>("ApplyAgent");
  applyAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Apply);
  closeAgent_ = std::make_unique<TavDialogAgent>("CloseAgent");
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);

  auto* state = GetInitialState("SelectObject");
  for (TavAgent* a : {static_cast<TavAgent*>(selectAgent_.get()), static_cast<TavAgent*>(applyAgent_.get()),
                      static_cast<TavAgent*>(closeAgent_.get())})
    state->AddDialogAgent(a);
  AddTransition(state, state, IsOutputSetCondition(selectAgent_.get()), Action(&Self::UpdateAfterSelection));
  AddTransition(state, state, IsOutputSetCondition(applyAgent_.get()), Action(&Self::UpdateAfterOptionsModification));
  AddTransition(state, state, IsOutputSetCondition(closeAgent_.get()), Action(&Self::CloseOptionsDialog));
  dialog_->Update();
  GetChecks();
}

bool OrvVekCrossHighlightCmd::UpdateAfterSelection() {
  TavTraceScope scope(Trace(), kClass, "UpdateAfterSelection");
  picked_ = selectAgent_->GetListOfValues();
  GetAndHighlightObjects();
  // Re-armed whatever happened: a valued agent would fire this transition again.
  selectAgent_->InitializeAcquisition();
  return true;
}

bool OrvVekCrossHighlightCmd::UpdateAfterOptionsModification() {
  TavTraceScope scope(Trace(), kClass, "UpdateAfterOptionsModification");
  applyAgent_->InitializeAcquisition();
  if (!dialog_ || dialog_->GetChangeFinished()) return true;  // an APPLY without a new change
  dialog_->SetChangeFinished(true);
  GetAndHighlightObjects();
  return true;
}

bool OrvVekCrossHighlightCmd::CloseOptionsDialog() {
  TavTraceScope scope(Trace(), kClass, "CloseOptionsDialog");
  closeAgent_->InitializeAcquisition();
  // The boxes as the planner leaves them hold for later picks, even when nothing was
  // picked while the dialog was open.
  GetChecks();
  applyAgent_->RemoveNotify(dialog_.get());
  closeAgent_->RemoveNotify(dialog_.get());
  dialog_.reset();
  return true;
}

void OrvVekCrossHighlightCmd::GetChecks() {
  if (dialog_) flags_ = dialog_->GetChecks();
}

void OrvVekCrossHighlightCmd::GetAndHighlightObjects() {
  TavTraceScope scope(Trace(), kClass, "GetAndHighlightObjects");
  auto editor = TavFrmEditor::GetCurrentEditor();
  if (picked_.empty() || !editor) return;
  editor->GetHSO().Empty();
  editor->GetCSO().Empty();
  GetChecks();
  for (const auto& path : picked_) {
    const Ref<TavBaseUnknown> leaf = path.GetLeaf();
    if (query<TavISPPActivity>(leaf)) ShowActivityRelations(leaf);
    if (query<TavISPPItem>(leaf)) ShowItemRelations(leaf);
  }
  selectAgent_->InitializeAcquisition();
}

void OrvVekCrossHighlightCmd::ShowActivityRelations(const Ref<TavBaseUnknown>& activity) {
  auto list = OrvVekCrossHighlightRelations::GetAllRelatedItems(activity, flags_);
  list.push_back(activity);
  HighlightObjects(list);
}

bool OrvVekCrossHighlightCmd::IsAResource(const Ref<TavBaseUnknown>& item) {
  auto product = query<TavIProduct>(item);
  if (!product) return false;
  if (product->IsResource()) return true;
  for (auto p = product; p; p = p->GetFatherProduct())
    if (p->GetName() == "Resource.1") return true;
  return false;
}

void OrvVekCrossHighlightCmd::ShowItemRelations(const Ref<TavBaseUnknown>& item) {
  if (IsAResource(item)) {
    auto resource = query<TavIProduct>(item);
    std::vector<Ref<TavBaseUnknown>> behaviors;
    auto collect = [&](const Ref<TavBaseUnknown>& product) {
      auto manager = query<OrvIResourceBehaviorManager>(product);
      if (auto behavior = manager ? manager->GetBehavior() : nullptr) behaviors.push_back(behavior);
    };
    collect(resource);
    if (flags_.dc)
      for (const auto& child : resource->GetAllDescendants()) collect(child);
    for (const auto& behavior : behaviors) ShowActivityRelations(behavior);
  }
  auto editor = TavFrmEditor::GetCurrentEditor();
  auto list = index_.GetAllRelatedActivities(editor ? editor->GetDocument() : nullptr, item, flags_);
  if (!list) return;
  list->push_back(item);
  HighlightObjects(*list);
}

void OrvVekCrossHighlightCmd::HighlightObjects(const std::vector<Ref<TavBaseUnknown>>& list) {
  auto editor = TavFrmEditor::GetCurrentEditor();
  if (!editor) return;
  // Assemblies are shown only once attached to the viewpoint, looked up once.
  if (!viewpointSought_) {
    viewpointSought_ = true;
    viewpoint_ = TavMainViewpoint();
  }
  if (viewpoint_)
    for (const auto& o : list)
      if (query<OrvIMfgAssembly>(o) && !viewpoint_->IsAttached(o)) viewpoint_->Attach(o);
  const auto doc = editor->GetDocument();
  std::vector<TavPathElement> paths;
  paths.reserve(list.size());
  for (const auto& o : list) paths.push_back(TreePath(o, doc));
  for (const auto& p : paths) editor->GetHSO().AddElement(p);
  for (const auto& p : paths) editor->GetCSO().AddElement(p);
}
