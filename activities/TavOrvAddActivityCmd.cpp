#include "TavOrvAddActivityCmd.h"

#include "OrvEInsertActivityDlgServices.h"
#include "OrvVekCommandServices.h"
#include "OrvVekServices.h"
#include "TavFlow.h"
#include "TavServices.h"

namespace {
constexpr const char* kClass = "TavOrvAddActivityCmd";
int g_startMode = 0;

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(TavOrvAddActivityCmd::kCatalog, key, {}, fallback);
}

// Control-flow types a quick sequence cannot chain.
bool IsControlFlowType(const TavUnicodeString& t) {
  for (const char* c : {"AndIn", "AndOut", "OrIn", "Start", "Stop", "Switch"})
    if (t == c) return true;
  return false;
}

bool IsBehavior(const Ref<TavBaseUnknown>& o) {
  auto a = query<TavISPPAbstractActivity>(o);
  return a && a->IsOfType("OrvBehavior");
}
}  // namespace

const TavTrace& TavOrvAddActivityCmd::Trace() {
  static TavTrace t("TavOrvAddActivityCmd", "Traces for module TavOrvAddActivityCmd");
  return t;
}

TavOrvAddActivityCmd::TavOrvAddActivityCmd() : TavStateCommand("TavOrvAddActivityCmd", 0, g_startMode) {}

std::unique_ptr<TavStateCommand> fctCreateTavOrvAddActivityCmd() { return std::make_unique<TavOrvAddActivityCmd>(); }

TavOrvAddActivityCmd::~TavOrvAddActivityCmd() {
  TavTraceScope scope(Trace(), kClass, "~TavOrvAddActivityCmd");
  if (!dialog_) return;
  for (auto* a : {okAgent_.get(), applyAgent_.get(), closeAgent_.get()})
    if (a) a->RemoveNotify(dialog_.get());
  for (const char* n : {TavDlgNotification::OK, TavDlgNotification::Apply, TavDlgNotification::Cancel, TavDlgNotification::Close})
    dialog_->RemoveAnalyseNotificationCB(dialog_.get(), n);
  dialog_.reset();
}

void TavOrvAddActivityCmd::SetStartMode(int mode) { g_startMode = mode; }
int TavOrvAddActivityCmd::GetStartMode() { return g_startMode; }
Ref<TavBaseUnknown> TavOrvAddActivityCmd::GetClient() { return OrvInsertActivityClient(); }

Ref<OrvIInsertActivityDlgServices> TavOrvAddActivityCmd::ClientServices() const {
  return query<OrvIInsertActivityDlgServices>(GetClient());
}

// ------------------------------------------------------------------ graph
void TavOrvAddActivityCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = TavOrvAddActivityCmd;
  BuildGraphInitialize();
  if (!CheckForPreselectedObjects()) {
    End();
    return;
  }
  treeAgent_ = std::make_unique<TavPathElementAgent>("TreeObjectAgent");
  for (const char* t : {TavISPPActivity::kInterfaceName, TavISPPControlFlow::kInterfaceName,
                        TavISPPLogicalActivity::kInterfaceName, TavISPPActivityRoot::kInterfaceName,
                        // the dialog's own nodes and resources reach the filter too
                        TavINavigateObjectActivity::kInterfaceName, TavIProduct::kInterfaceName})
    treeAgent_->AddElementType(t);
  treeAgent_->SetFilter([this](TavAcquisitionAgent* a) { return ValidateTreeObjectForSelect(a); });
  quickAgent_ = std::make_unique<TavPathElementAgent>("QuickSequenceAssignAgent");
  quickAgent_->AddElementType(TavISPPItem::kInterfaceName);
  // One preselected object is the target; several are the objects of a quick sequence.
  if (quickObjects_.empty()) AddCSOClient(treeAgent_.get());
  else AddCSOClient(quickAgent_.get());
  okAgent_ = std::make_unique<TavDialogAgent>("AddActivityCmdOKButton");
  applyAgent_ = std::make_unique<TavDialogAgent>("AddActivityCmdApplyButton");
  closeAgent_ = std::make_unique<TavDialogAgent>("AddActivityCmdCloseButton");

  auto* start = GetInitialState("StartCommand");
  auto* check = AddDialogState("CheckQuickSequenceAssign");
  auto* select = AddDialogState("SelectTreeObject");
  auto* selectQuick = AddDialogState("SelectTreeObject QSA");
  auto* activity = AddDialogState("SelectActivity");
  select->AddDialogAgent(treeAgent_.get());
  selectQuick->AddDialogAgent(quickAgent_.get());
  for (TavAgent* a : std::initializer_list<TavAgent*>{treeAgent_.get(), okAgent_.get(), applyAgent_.get(), closeAgent_.get()})
    activity->AddDialogAgent(a);

  auto has = [](TavAgent* a) { return IsOutputSetCondition(a); };
  auto always = [] { return true; };
  AddTransition(start, check, Condition(&Self::FirstTime));
  AddTransition(start, activity, NotCondition(Condition(&Self::FirstTime)));
  AddTransition(check, selectQuick, Condition(&Self::CheckQuickSequenceAssign));
  AddTransition(check, select, always);
  AddTransition(select, activity, has(treeAgent_.get()), Action(&Self::State4Action), {treeAgent_.get()});
  AddTransition(selectQuick, activity, has(quickAgent_.get()), Action(&Self::ShowDialog), {quickAgent_.get()});
  AddTransition(activity, activity, has(treeAgent_.get()), Action(&Self::State4Action), {treeAgent_.get()});
  // OK ends the command only when its work succeeded: a failure keeps the dialog open.
  AddTransition(activity, nullptr, AndCondition(has(okAgent_.get()), Condition(&Self::OKDone)), nullptr, {okAgent_.get()});
  AddTransition(activity, nullptr, has(closeAgent_.get()), nullptr, {closeAgent_.get()});
}

bool TavOrvAddActivityCmd::BuildGraphInitialize() {
  TavTraceScope scope(Trace(), kClass, "BuildGraphInitialize");
  DetermineHubBasedMode();
  ManageNecessaryContainers();
  LoadActFiles();
  return true;
}

bool TavOrvAddActivityCmd::CheckForPreselectedObjects() {
  TavTraceScope scope(Trace(), kClass, "CheckForPreselectedObjects");
  auto editor = TavFrmEditor::GetCurrentEditor();
  if (!editor) return true;
  const auto& selection = editor->GetCSO().Items();
  if (selection.size() < 2) return true;
  if (!CheckForValidQuickAssigmentObjects(selection)) {
    AddActivityCmdErrorBox("CheckForValidQuickAssigmentObjectsFailed");
    if (dialog_) dialog_->SetVisibility(false);
    return false;
  }
  return true;
}

bool TavOrvAddActivityCmd::CheckForValidQuickAssigmentObjects(const std::vector<TavPathElement>& selection) {
  TavTraceScope scope(Trace(), kClass, "CheckForValidQuickAssigmentObjects");
  std::vector<Ref<TavBaseUnknown>> objects;
  for (const auto& p : selection) {
    auto leaf = p.GetLeaf();
    // Products and assemblies are what an activity processes; a resource is not.
    if (!query<TavISPPItem>(leaf) || IsResource(leaf)) return false;
    objects.push_back(leaf);
  }
  quickObjects_ = std::move(objects);
  return true;
}

bool TavOrvAddActivityCmd::FirstTime() {
  if (!firstTime_) return false;
  firstTime_ = false;
  if (auto editor = TavFrmEditor::GetCurrentEditor(); editor && treeAgent_ && treeAgent_->IsValued())
    editor->GetHSO().AddElement(treeAgent_->GetValue());
  return true;
}

bool TavOrvAddActivityCmd::CheckQuickSequenceAssign() {
  if (quickObjects_.empty()) return false;
  quickMode_ = true;
  return true;
}

bool TavOrvAddActivityCmd::ValidateTreeObjectForSelect(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "ValidateTreeObjectForSelect");
  auto* pathAgent = static_cast<TavPathElementAgent*>(agent);
  auto leaf = pathAgent->GetValue().GetLeaf();
  if (auto* node = dynamic_cast<OrvVekActivityDlgNavigateObject*>(leaf.get())) {
    if (quickMode_ && IsControlFlowType(node->GetIdentifier())) {
      agent->SetFilterMessage(Msg("TavOrvAddActivityCmd.ControlFlowInSequence", "A quick sequence cannot chain control-flow nodes."));
      return false;
    }
    typeNodePicked_ = true;
    return true;
  }
  if (dynamic_cast<OrvVekActivityDlgRootNavigateObject*>(leaf.get())) {
    agent->SetFilterMessage(Msg("TavOrvAddActivityCmd.LibraryNode", "Choose an activity type below the library."));
    return false;
  }
  if (query<TavISPPActivity>(leaf) || query<TavISPPControlFlow>(leaf) || query<TavISPPLogicalActivity>(leaf) ||
      query<TavISPPActivityRoot>(leaf))
    return true;
  if (IsResource(leaf)) {
    if (OrvVekServices::CanResourceHaveBehavior(leaf) == 1) return true;
    agent->SetFilterMessage(Msg("TavOrvAddActivityCmd.NoBehavior", "This resource cannot carry activities."));
    return false;
  }
  agent->SetFilterMessage(Msg("TavOrvAddActivityCmd.WrongTarget", "Pick an activity, a resource or an activity type."));
  return false;
}

bool TavOrvAddActivityCmd::State4Action() {
  TavTraceScope scope(Trace(), kClass, "State4Action");
  const TavPathElement pick = treeAgent_->GetValue();
  auto leaf = pick.GetLeaf();
  if (dynamic_cast<OrvVekActivityDlgNavigateObjectBase*>(leaf.get())) {
    if (auto* node = dynamic_cast<OrvVekActivityDlgNavigateObject*>(leaf.get())) ActivitySelected(node->GetIdentifier());
    typeNodePicked_ = false;
    if (auto editor = TavFrmEditor::GetCurrentEditor()) editor->GetCSO().RemoveElement(pick);
    return true;
  }
  // A preselected object reaches here without the filter.
  if (!query<TavISPPAbstractActivity>(leaf) && !query<TavISPPControlFlow>(leaf) &&
      !(IsResource(leaf) && OrvVekServices::CanResourceHaveBehavior(leaf) == 1)) {
    TavApplicationFrame::SetStatusText(Msg("TavOrvAddActivityCmd.WrongTarget", "Pick an activity, a resource or an activity type."));
    return true;
  }
  SetTarget(pick);
  chosenType_ = {};
  typeChosen_ = false;
  return ShowDialog();
}

void TavOrvAddActivityCmd::SetTarget(const TavPathElement& path) {
  target_ = path.GetLeaf();
  targetPath_ = path;
  resource_ = behavior_ = nullptr;
  underBehavior_ = false;
  resourceTarget_ = IsResource(target_);
  father_ = path.GetFatherOfLeaf();
  auto activity = query<TavISPPAbstractActivity>(target_);
  if (!father_ && activity) father_ = activity->GetFather();
  // The model knows the father even when the pick's path starts below it.
  Ref<TavBaseUnknown> modelFather = activity ? activity->GetFather() : nullptr;
  if (IsBehavior(father_) || IsBehavior(modelFather)) {
    underBehavior_ = true;
    behavior_ = IsBehavior(father_) ? father_ : modelFather;
    auto b = query<TavISPPAbstractActivity>(behavior_);
    resource_ = b ? b->GetFather() : nullptr;
    father_ = resource_;
  }
  if (resourceTarget_) {
    resource_ = target_;
    behavior_ = GetActResourceBehavior(target_);
  }
}

// ------------------------------------------------------------------ dialog
bool TavOrvAddActivityCmd::ShowDialog() {
  TavTraceScope scope(Trace(), kClass, "ShowDialog");
  if (!dialog_) {
    dialog_ = std::make_unique<OrvAddActivityDlg>(*this);
    dialog_->Build();
  }
  if (!dialogConnected_) {
    dialogConnected_ = true;
    okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
    applyAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Apply);
    closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
    closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
    dialog_->AddAnalyseNotificationCB(dialog_.get(), TavDlgNotification::OK, [this] { OnOKButton(); });
    dialog_->AddAnalyseNotificationCB(dialog_.get(), TavDlgNotification::Apply, [this] { OnApplyButton(); });
    dialog_->AddAnalyseNotificationCB(dialog_.get(), TavDlgNotification::Cancel, [this] { OnCloseButton(); });
    dialog_->AddAnalyseNotificationCB(dialog_.get(), TavDlgNotification::Close, [this] { OnCloseButton(); });
    if (quickMode_) dialog_->SetInsertType(OrvAddActivityDlg::QuickSequenceAssignment);
  }
  GetSelectedTreeObject();
  dialog_->UpdateLists();
  UpdateOptions();
  dialog_->ShowSelectedActivity(typeChosen_ ? chosenType_ : TavUnicodeString());
  UpdateButtons();
  dialog_->SetVisibility(true);
  return true;
}

void TavOrvAddActivityCmd::UpdateOptions() {
  if (!dialog_) return;
  auto client = ClientServices();
  const bool showSuccessor = !client || client->DoShowAddSuccessorActivityOptionInInsertActivityDlg();
  const bool showQuick = quickMode_ && (!client || client->DoShowQuickAssignmentOptionInInsertActivityDlg());
  dialog_->ShowInsertType(OrvAddActivityDlg::AddAsSuccessor, showSuccessor);
  dialog_->ShowInsertType(OrvAddActivityDlg::QuickSequenceAssignment, showQuick);
  dialog_->EnableInsertType(OrvAddActivityDlg::AddAsChild);
  if (resourceTarget_) {
    dialog_->DisableInsertType(OrvAddActivityDlg::AddAsSuccessor);
    dialog_->DisableInsertType(OrvAddActivityDlg::QuickSequenceAssignment);
    dialog_->SetInsertType(OrvAddActivityDlg::AddAsChild);
    return;
  }
  if (showSuccessor) dialog_->EnableInsertType(OrvAddActivityDlg::AddAsSuccessor);
  else dialog_->DisableInsertType(OrvAddActivityDlg::AddAsSuccessor);
  if (showQuick) dialog_->EnableInsertType(OrvAddActivityDlg::QuickSequenceAssignment);
  else dialog_->DisableInsertType(OrvAddActivityDlg::QuickSequenceAssignment);
  const int option = dialog_->GetInsertType();
  if ((option == OrvAddActivityDlg::AddAsSuccessor && !showSuccessor) ||
      (option == OrvAddActivityDlg::QuickSequenceAssignment && !showQuick) || option == OrvAddActivityDlg::NoOption)
    dialog_->SetInsertType(OrvAddActivityDlg::AddAsChild);
}

void TavOrvAddActivityCmd::UpdateButtons() {
  if (!dialog_) return;
  const bool ready = target_ && typeChosen_;
  dialog_->OKButton()->SetSensitivity(ready && !okBlocked_);
  dialog_->ApplyButton()->SetSensitivity(ready);
}

void TavOrvAddActivityCmd::ActivitySelected(const TavUnicodeString& type) {
  TavTraceScope scope(Trace(), kClass, "ActivitySelected");
  chosenType_ = type;
  typeChosen_ = !type.IsEmpty();
  okBlocked_ = false;
  if (dialog_) dialog_->ShowSelectedActivity(chosenType_);
  UpdateButtons();
}

HRESULT TavOrvAddActivityCmd::GetSelectedTreeObject() {
  if (!dialog_) return S_FALSE;
  if (!target_) {
    dialog_->TargetLabel()->SetTitle(Msg("TavOrvAddActivityCmd.NoTarget", "Pick where the activity goes"));
    return S_FALSE;
  }
  TavUnicodeString text = OrvVekCommandServices::GetDisplayName(target_);
  if (underBehavior_ && resource_)
    text = TavMsgCatalog::BuildMessage(kCatalog, "TavOrvAddActivityCmd.UnderResource",
                                       {text, OrvVekCommandServices::GetDisplayName(resource_)}, "/P1 (resource /P2)");
  dialog_->TargetLabel()->SetTitle(text);
  return S_OK;
}

int TavOrvAddActivityCmd::GetInsertOption() const {
  if (option_ >= 0) return option_;
  return dialog_ ? dialog_->GetInsertType() : OrvAddActivityDlg::NoOption;
}

// ------------------------------------------------------------------ buttons
TavOrvAddActivityCmd::Outcome TavOrvAddActivityCmd::CreateForButton() {
  created_.clear();
  auto client = ClientServices();
  Outcome outcome = Outcome::Failed;
  if (client && !client->DoCreateActivityOnOkInInsertActivityDlg()) {
    if (Trace().IsEnabled()) Trace().Print("No activity is created on account of wish of client of TavOrvAddActivityCmd");
    outcome = Outcome::NotWanted;
  } else if (target_ && typeChosen_) {
    const bool ok = GetInsertOption() == OrvAddActivityDlg::QuickSequenceAssignment && CheckQuickSequenceAssign()
                        ? QuickSequenceAssign()
                        : InsertActivity();
    outcome = ok ? Outcome::Created : Outcome::Failed;
  }
  UpdateInsertActivityIdentifier();
  return outcome;
}

void TavOrvAddActivityCmd::OnOKButton() {
  TavTraceScope scope(Trace(), kClass, "OnOKButton");
  // A failure showed its error box; the dialog stays for another try.
  okDone_ = CreateForButton() != Outcome::Failed;
  if (okDone_) OnCloseButton();
}

void TavOrvAddActivityCmd::OnApplyButton() {
  TavTraceScope scope(Trace(), kClass, "OnApplyButton");
  if (CreateForButton() != Outcome::Created) return;
  okBlocked_ = true;  // until a new type is chosen
  UpdateButtons();
}

void TavOrvAddActivityCmd::OnCloseButton() {
  TavTraceScope scope(Trace(), kClass, "OnCloseButton");
  if (dialog_) dialog_->SetVisibility(false);
}

void TavOrvAddActivityCmd::UpdateInsertActivityIdentifier() {
  auto client = ClientServices();
  if (!client) return;
  // Nothing made: the client must not read the previous run's activity.
  TavUnicodeString id;
  if (!created_.empty())
    if (auto identity = query<TavIModelIdentity>(created_.back())) id = identity->GetId();
  client->SetInsertActivityIdentifier(id);
}

void TavOrvAddActivityCmd::AddActivityCmdErrorBox(const std::string& key) {
  TavTraceScope scope(Trace(), kClass, "AddActivityCmdErrorBox");
  TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
  lastError_ = TavMsgCatalog::BuildMessage(kCatalog, "TavOrvAddActivityCmd.Error." + key, {}, "Error");
  box.DisplayBox(TavMsgCatalog::BuildMessage(kCatalog, "TavOrvAddActivityCmd.Resource.Title", {}, "Command Error Box"),
                 lastError_);
  box.DisplayBlocked();
}
