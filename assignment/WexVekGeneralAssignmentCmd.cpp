#include "WexVekGeneralAssignmentCmd.h"

#include <algorithm>

#include "OrvVekPartConsumptionUtilities.h"
#include "OrvVekServices.h"
#include "TavPlanner.h"
#include "TavServices.h"
#include "TavUndo.h"
#include "TavYor.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("TavPPRGeneralAssignTrace", "Traces for module PPRGeneralAssign");
  return t;
}
constexpr const char* kClass = "WexVekGeneralAssignmentCmd";

TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(WexVekGeneralAssignmentCmd::kCatalog, key, params, fallback);
}

Ref<TavBaseUnknown> Leaf(const TavPathElementAgent* a) { return a ? a->GetValue().GetLeaf() : nullptr; }

bool IsAssemblyOperation(const Ref<TavBaseUnknown>& o) {
  auto a = query<TavISPPActivity>(o);
  return a && a->GetTypeName() == "AssemblyOperation";
}

// A product that is a resource able to carry a behaviour.
bool IsBehaviorResource(const Ref<TavBaseUnknown>& o) {
  return query<TavIProduct>(o) && query<OrvIResourceBehaviorManager>(o) && OrvVekServices::CanResourceHaveBehavior(o) == 1;
}
}  // namespace

WexVekGeneralAssignmentCmd::WexVekGeneralAssignmentCmd() : TavStateCommand("WexVekGeneralAssignmentCmd", 0, 64) {}

std::unique_ptr<TavStateCommand> fctCreateWexVekGeneralAssignmentCmd() { return std::make_unique<WexVekGeneralAssignmentCmd>(); }

WexVekGeneralAssignmentCmd::~WexVekGeneralAssignmentCmd() {
  TavTraceScope scope(Trace(), kClass, "~WexVekGeneralAssignmentCmd");
  if (auto ed = TavFrmEditor::GetCurrentEditor())
    for (auto& p : highlighted_) ed->GetHSO().RemoveElement(p);
  // Callbacks go before the dialogs do; the agents last, as the dialogs name them.
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  if (attrDialog_) {
    if (attrOkAgent_) attrOkAgent_->RemoveNotify(attrDialog_.get());
    if (attrCancelAgent_) attrCancelAgent_->RemoveNotify(attrDialog_.get());
  }
  attrDialog_.reset();
  dialog_.reset();
  messageWindow_.reset();
}

Ref<TavDocument> WexVekGeneralAssignmentCmd::CurrentDocument() const {
  auto ed = TavFrmEditor::GetCurrentEditor();
  return ed ? ed->GetDocument() : nullptr;
}

void WexVekGeneralAssignmentCmd::Highlight(const TavPathElement& path) {
  auto ed = TavFrmEditor::GetCurrentEditor();
  if (!ed || path.IsEmpty() || ed->GetHSO().Contains(path)) return;
  ed->GetHSO().AddElement(path);
  highlighted_.push_back(path);
}

void WexVekGeneralAssignmentCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = WexVekGeneralAssignmentCmd;
  auto* select = GetInitialState("SelectActivityItem");
  auto* dummy1 = AddDialogState("Dummy1");
  auto* dummy2 = AddDialogState("Dummy2");
  auto* selectActivity = AddDialogState("SelectActivity");
  auto* selectProductResource = AddDialogState("SelectProductResource");
  auto* selectToAssign = AddDialogState("SelectToAssign");
  auto* selectOnAttribute = AddDialogState("SelectOnAttributeToAssign");
  auto* productIsSelected = AddDialogState("ProductIsSelected");
  auto* noPossible = AddDialogState("NoPossibleRelations");
  auto* noValid = AddDialogState("NoValidItem");

  auto pathAgent = [this](const char* name, std::initializer_list<const char*> types,
                          bool (Self::*filter)(TavAcquisitionAgent*)) {
    auto a = std::make_unique<TavPathElementAgent>(name);
    for (const char* t : types) a->AddElementType(t);
    a->SetFilter([this, filter](TavAcquisitionAgent* agent) { return (this->*filter)(agent); });
    a->SetBehavior(kAgentBehavior);
    AddCSOClient(a.get());
    return a;
  };
  activityItemAgent_ = pathAgent("ActivityItem", {TavISPPActivity::kInterfaceName, TavIProduct::kInterfaceName,
                                                  OrvIMfgAssembly::kInterfaceName}, &Self::IsWSC);
  activityAgent_ = pathAgent("Activity", {TavISPPActivity::kInterfaceName, OrvIResourceBehaviorManager::kInterfaceName},
                             &Self::IsResourceWithBehaviorOrAct);
  productResourceAgent_ = pathAgent("ProductResource", {TavIProduct::kInterfaceName, OrvIMfgAssembly::kInterfaceName,
                                                        TavISPPActivity::kInterfaceName},
                                    &Self::FilterActAndResourceWithBehavior);
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  attrOkAgent_ = std::make_unique<TavDialogAgent>("AttributeOKAgent");
  attrCancelAgent_ = std::make_unique<TavDialogAgent>("AttributeCancelAgent");
  messageOkAgent_ = std::make_unique<TavDialogAgent>("MessageOKAgent");

  messageWindow_ = std::make_unique<TavDlgNotify>(nullptr, "Error", TavDlgNotify::Error);
  messageWindow_->SetVisibility(false);
  // The user may close the window instead of pressing OK: the same answer.
  for (const char* n : {TavDlgNotification::OK, TavDlgNotification::Cancel, TavDlgNotification::Close})
    messageOkAgent_->AcceptOnNotify(messageWindow_.get(), n);

  select->AddDialogAgent(activityItemAgent_.get());
  selectActivity->AddDialogAgent(activityAgent_.get());
  selectProductResource->AddDialogAgent(productResourceAgent_.get());
  selectToAssign->AddDialogAgent(okAgent_.get());
  selectToAssign->AddDialogAgent(cancelAgent_.get());
  productIsSelected->AddDialogAgent(attrOkAgent_.get());
  productIsSelected->AddDialogAgent(attrCancelAgent_.get());
  noPossible->AddDialogAgent(messageOkAgent_.get());
  noValid->AddDialogAgent(messageOkAgent_.get());

  auto has = [](TavAgent* a) { return IsOutputSetCondition(a); };
  AddTransition(select, dummy1, has(activityItemAgent_.get()), Action(&Self::CheckType));
  AddTransition(dummy1, selectActivity, Condition(&Self::IsItem), Action(&Self::ProductResourceSelection));
  AddTransition(selectActivity, dummy1, AndCondition(has(activityAgent_.get()), Condition(&Self::IsAssemblyOperation1)),
                Action(&Self::TreatError1));
  AddTransition(selectActivity, dummy2, has(activityAgent_.get()), Action(&Self::ProcessSelectionPost));
  AddTransition(dummy1, select, AndCondition(has(activityItemAgent_.get()), Condition(&Self::IsAssemblyOperation2)),
                Action(&Self::TreatError2));
  AddTransition(dummy1, selectProductResource, Condition(&Self::IsResOrActivityButNotAO), Action(&Self::ProcessSelection));
  AddTransition(selectProductResource, dummy2, has(productResourceAgent_.get()), Action(&Self::ProductResourceSelectionPost));
  AddTransition(dummy2, selectToAssign, AndCondition(Condition(&Self::IsValidItem), Condition(&Self::CheckPossibleRelations)),
                Action(&Self::BuildDialog));
  AddTransition(dummy2, noValid, NotCondition(Condition(&Self::IsValidItem)), Action(&Self::ShowErrorBox));
  AddTransition(noValid, nullptr, has(messageOkAgent_.get()), Action(&Self::Exit));
  AddTransition(dummy2, noPossible, NotCondition(Condition(&Self::CheckPossibleRelations)), Action(&Self::ShowNotifyDlg));
  AddTransition(noPossible, nullptr, has(messageOkAgent_.get()), Action(&Self::Exit));
  AddTransition(selectToAssign, nullptr, AndCondition(NotCondition(Condition(&Self::IsHubMode)), has(okAgent_.get())),
                Action(&Self::AssignAccordingToOptions));
  AddTransition(selectToAssign, selectOnAttribute, AndCondition(Condition(&Self::IsHubMode), has(okAgent_.get())), nullptr);
  AddTransition(selectOnAttribute, nullptr,
                OrCondition(NotCondition(Condition(&Self::IsProduct)), NotCondition(Condition(&Self::HasAttributes))),
                Action(&Self::AssignAccordingToOptions));
  AddTransition(selectOnAttribute, productIsSelected, AndCondition(Condition(&Self::IsProduct), Condition(&Self::HasAttributes)),
                Action(&Self::BuildAttributeDialog));
  AddTransition(productIsSelected, nullptr, AndCondition(Condition(&Self::TestCorrectValue), has(attrOkAgent_.get())),
                Action(&Self::AssignAccordingOnAttributeToOptions));
  // Back in the same state: the OK is re-armed, so that a later Cancel is not read as OK.
  AddTransition(productIsSelected, productIsSelected,
                AndCondition(NotCondition(Condition(&Self::TestCorrectValue)), has(attrOkAgent_.get())),
                Action(&Self::IsCorrectValue), {attrOkAgent_.get()});
  AddTransition(productIsSelected, nullptr, has(attrCancelAgent_.get()), Action(&Self::Exit));
  AddTransition(selectToAssign, nullptr, has(cancelAgent_.get()), Action(&Self::Exit));
}

bool WexVekGeneralAssignmentCmd::Cancel() {
  TavTraceScope scope(Trace(), kClass, "Cancel");
  Exit();
  return true;
}

// ------------------------------------------------------------------ filters
bool WexVekGeneralAssignmentCmd::IsWSC(TavAcquisitionAgent* agent) {
  auto leaf = Leaf(dynamic_cast<TavPathElementAgent*>(agent));
  return !(query<TavIProduct>(leaf) && OrvVekServices::IsAWSC(leaf));
}

bool WexVekGeneralAssignmentCmd::IsResourceWithBehaviorOrAct(TavAcquisitionAgent* agent) {
  auto leaf = Leaf(dynamic_cast<TavPathElementAgent*>(agent));
  if (query<TavISPPActivity>(leaf)) return true;
  if (query<TavIProduct>(leaf)) {
    if (!OrvVekServices::IsResource(leaf)) {
      agent->SetFilterMessage(Msg("InfoNotAResource", "A product is no activity: pick an activity or a resource with a behaviour."));
      return false;
    }
    if (OrvVekServices::CanResourceHaveBehavior(leaf) == 1) return true;
    agent->SetFilterMessage(Msg("InfoNoBehavior", "This resource can have no behaviour."));
    return false;
  }
  return false;
}

bool WexVekGeneralAssignmentCmd::FilterActAndResourceWithBehavior(TavAcquisitionAgent* agent) {
  if (!activityItemAgent_ || !activityItemAgent_->IsValued()) return false;
  auto leaf = Leaf(dynamic_cast<TavPathElementAgent*>(agent));
  if (query<TavIProduct>(leaf) && OrvVekServices::IsAWSC(leaf)) return false;
  auto first = Leaf(activityItemAgent_.get());
  if (query<TavISPPActivity>(first)) return !query<TavISPPActivity>(leaf);
  if (OrvVekServices::IsResource(first) && IsBehaviorResource(first)) {
    if (query<OrvIMfgAssembly>(leaf) || query<TavISPPActivity>(leaf)) return true;
    if (query<TavIProduct>(leaf)) {
      if (!OrvVekServices::IsResource(leaf) || !query<OrvIResourceBehaviorManager>(leaf)) return true;
      return OrvVekServices::CanResourceHaveBehavior(leaf) != 1;
    }
    return true;
  }
  return false;
}

// ------------------------------------------------------------------ first pick
bool WexVekGeneralAssignmentCmd::CheckType() {
  TavTraceScope scope(Trace(), kClass, "CheckType");
  itemFirst_ = activityFirst_ = false;
  auto leaf = Leaf(activityItemAgent_.get());
  if (query<TavIProduct>(leaf)) {
    if (IsBehaviorResource(leaf)) activityFirst_ = true;
    else itemFirst_ = true;
  } else if (query<OrvIMfgAssembly>(leaf)) {
    itemFirst_ = true;
  } else if (query<TavISPPActivity>(leaf)) {
    activityFirst_ = true;
  }
  Highlight(activityItemAgent_->GetValue());
  return true;
}

bool WexVekGeneralAssignmentCmd::IsItem() { return itemFirst_; }

bool WexVekGeneralAssignmentCmd::IsResOrActivityButNotAO() {
  auto first = Leaf(activityItemAgent_.get());
  if (query<TavIProduct>(first) && query<OrvIResourceBehaviorManager>(first) && OrvVekServices::CanResourceHaveBehavior(first) == 1)
    return true;
  return query<TavISPPActivity>(first) && !IsAssemblyOperation(first);
}

bool WexVekGeneralAssignmentCmd::IsAssemblyOperation1() { return IsAssemblyOperation(Leaf(activityAgent_.get())); }
bool WexVekGeneralAssignmentCmd::IsAssemblyOperation2() { return IsAssemblyOperation(Leaf(activityItemAgent_.get())); }

bool WexVekGeneralAssignmentCmd::TreatError1() {
  ThrowErrorMessage();
  ClearHSO(activityAgent_.get());
  return true;
}

bool WexVekGeneralAssignmentCmd::TreatError2() {
  ThrowErrorMessage();
  ClearHSO(activityItemAgent_.get());
  itemFirst_ = activityFirst_ = false;
  return true;
}

void WexVekGeneralAssignmentCmd::ThrowErrorMessage() {
  TavDlgNotify box(nullptr, "Error1", TavDlgNotify::Error);
  box.DisplayBox("Error", Msg("WexVekGeneralAssignmentCmd.AssemblyOperationErrorMsg",
                              "An assembly operation cannot be the target of this assignment."));
  box.DisplayBlocked();
}

void WexVekGeneralAssignmentCmd::ClearHSO(TavPathElementAgent* agent) {
  if (!agent) return;
  if (auto ed = TavFrmEditor::GetCurrentEditor()) {
    const TavPathElement p = agent->GetValue();
    if (ed->GetHSO().RemoveElement(p)) std::erase(highlighted_, p);
  }
  agent->InitializeAcquisition();
}

// ------------------------------------------------------------------ item first
bool WexVekGeneralAssignmentCmd::ProductResourceSelection() {
  TavTraceScope scope(Trace(), kClass, "ProductResourceSelection");
  itemPath_ = activityItemAgent_->GetValue();
  auto leaf = itemPath_.GetLeaf();
  product_ = query<TavIProduct>(leaf);
  assembly_ = query<OrvIMfgAssembly>(leaf);
  // The current selection may have filled the next agent at start: the activity is picked anew.
  activityAgent_->InitializeAcquisition();
  return !itemPath_.IsEmpty();
}

bool WexVekGeneralAssignmentCmd::ProcessSelectionPost() {
  TavTraceScope scope(Trace(), kClass, "ProcessSelectionPost");
  itemPath_ = activityItemAgent_->GetValue();
  activity_ = Leaf(activityAgent_.get());
  Highlight(activityAgent_->GetValue());
  if (OrvVekServices::IsResource(activity_) && query<OrvIResourceBehaviorManager>(activity_)) {
    int canHave = 0;
    Ref<OrvIResourceBehavior> behavior;
    OrvVekServices::GetResourceBehavior(activity_, canHave, behavior, behaviorExisted_);
    if (!behavior) {
      TavDlgNotify box(nullptr, "UserDlg", TavDlgNotify::Error);
      box.DisplayBox("Assign Product or Resource Command",
                     Msg("CreateLoadError", "The behaviour of this resource could not be loaded or created."));
      box.DisplayBlocked();
      return true;
    }
    resource_ = query<TavIProduct>(activity_);
    if (OrvVekServices::IsPathInPPRResourceList(itemPath_)) {
      resourceToResource_ = true;
      return true;
    }
    behaviorTarget_ = true;
    activity_ = behavior;
  }
  GetPossibleRelations(itemPath_);
  return true;
}

// ------------------------------------------------------------------ activity first
bool WexVekGeneralAssignmentCmd::ProcessSelection() {
  TavTraceScope scope(Trace(), kClass, "ProcessSelection");
  activity_ = Leaf(activityItemAgent_.get());
  if (query<TavIProduct>(activity_) && query<OrvIResourceBehaviorManager>(activity_) &&
      OrvVekServices::CanResourceHaveBehavior(activity_) == 1) {
    int canHave = 0;
    Ref<OrvIResourceBehavior> behavior;
    OrvVekServices::GetResourceBehavior(activity_, canHave, behavior, behaviorExisted_);
    if (behavior) {
      resource_ = query<TavIProduct>(activity_);
      activity_ = behavior;
    }
  }
  productResourceAgent_->InitializeAcquisition();
  return true;
}

void WexVekGeneralAssignmentCmd::DropUnusedBehavior() {
  if (!behaviorExisted_ && resource_) OrvVekServices::DeleteResourceBehavior(resource_);
  behaviorExisted_ = true;
}

bool WexVekGeneralAssignmentCmd::ProductResourceSelectionPost() {
  TavTraceScope scope(Trace(), kClass, "ProductResourceSelectionPost");
  TavPathElement second = productResourceAgent_->GetValue();
  Highlight(second);
  itemPath_ = second;
  product_ = query<TavIProduct>(second.GetLeaf());
  assembly_ = query<OrvIMfgAssembly>(second.GetLeaf());
  if (query<TavISPPActivity>(second.GetLeaf()) && resource_) {
    // A resource with a behaviour, then an activity: the resource is the item.
    DropUnusedBehavior();
    activity_ = second.GetLeaf();
    itemPath_ = activityItemAgent_->GetValue();
    product_ = query<TavIProduct>(itemPath_.GetLeaf());
    assembly_ = nullptr;
    resource_ = nullptr;
  } else if (resource_) {
    behaviorTarget_ = true;
    if (OrvVekServices::IsPathInPPRResourceList(second)) {
      resourceToResource_ = true;
      return true;
    }
  }
  if (itemPath_.IsEmpty()) return true;
  GetPossibleRelations(itemPath_);
  return true;
}

// ------------------------------------------------------------------ item checks
bool WexVekGeneralAssignmentCmd::IsValidProduct(const TavPathElement& path) {
  return OrvVekServices::IsPathInPPRProductList(path);
}

bool WexVekGeneralAssignmentCmd::IsValidResource(const TavPathElement& path) {
  return OrvVekServices::IsPathInPPRResourceList(path);
}

int WexVekGeneralAssignmentCmd::DetermineItemOrResource() {
  return OrvVekServices::DetermineItemOrResource(itemPath_, activity_, product_);
}

bool WexVekGeneralAssignmentCmd::IsValidItem() {
  itemKind_ = DetermineItemOrResource();
  return itemKind_ != 0;
}

bool WexVekGeneralAssignmentCmd::IsProduct() { return itemKind_ == 1; }

bool WexVekGeneralAssignmentCmd::GetPossibleRelations(const TavPathElement& path) {
  TavTraceScope scope(Trace(), kClass, "GetPossibleRelations");
  typeNames_.clear();
  options_.clear();
  auto rel = query<TavIPCSRelations>(activity_);
  if (!rel) return false;
  std::optional<std::vector<TavUnicodeString>> types;
  if (FAILED(rel->GetPossibleRelations(path.GetLeaf(), types))) return false;
  if (!types) {
    noRelationList_ = true;
    return false;
  }
  typeNames_ = std::move(*types);
  for (auto& t : typeNames_) {
    TavUnicodeString display;
    if (SUCCEEDED(rel->GetDisplayName(t, display))) options_.push_back(display);
  }
  return true;
}

bool WexVekGeneralAssignmentCmd::CheckPossibleRelations() { return !options_.empty(); }

// ------------------------------------------------------------------ dialogs and messages
bool WexVekGeneralAssignmentCmd::BuildDialog() {
  TavTraceScope scope(Trace(), kClass, "BuildDialog");
  dialog_ = std::make_unique<VekGeneralAssignDialog>(nullptr);
  dialog_->SetTitle(TavMsgCatalog::BuildMessage(VekGeneralAssignDialog::kCatalog, "DialogTitle", {}, "Assign"));
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  if (!options_.empty()) dialog_->SetVisibility(true);
  dialog_->CreateListOfOptions(options_);
  return true;
}

bool WexVekGeneralAssignmentCmd::ShowErrorBox() {
  if (itemKind_ == 0)
    messageWindow_->SetText(Msg("WexVekGeneralAssignmentCmd.NoValidItem",
                                "The picked object is no product or resource, and no context of the activity holds it."));
  messageWindow_->SetTitle(Msg("WexVekGeneralAssignmentCmd.MessageWnd.Title", "Assign Product or Resource"));
  messageWindow_->SetVisibility(true);
  return true;
}

bool WexVekGeneralAssignmentCmd::ShowNotifyDlg() {
  messageWindow_->SetText(resourceToResource_
                              ? Msg("WexVekGeneralAssignmentCmd.NoResourceToResourceRelation",
                                    "A resource cannot be related to the behaviour of a resource.")
                              : Msg("WexVekGeneralAssignmentCmd.AlreadyAssigned",
                                    "The object is already related to the activity under every relation it allows."));
  if (noRelationList_) {
    messageWindow_->SetText(Msg("WexVekGeneralAssignmentCmd.NotResourceExtension",
                                "The activity offers no relation for this kind of object."));
    noRelationList_ = false;
  }
  messageWindow_->SetTitle(Msg("WexVekGeneralAssignmentCmd.MessageWnd.Title", "Assign Product or Resource"));
  messageWindow_->SetVisibility(true);
  return true;
}

bool WexVekGeneralAssignmentCmd::Exit() {
  TavTraceScope scope(Trace(), kClass, "Exit");
  // A behaviour made only for this command does not outlive it.
  DropUnusedBehavior();
  return true;
}

// ------------------------------------------------------------------ hub mode
bool WexVekGeneralAssignmentCmd::IsHubMode() {
  if (!OrvVekPartConsumptionUtilities::IsAttributeCheckEnabled()) return false;
  auto doc = CurrentDocument();
  if (!doc || doc->GetDocumentKind() != "TavProcess") return false;
  auto env = doc->GetDocEnvironment();
  return env && env->GetName() == "YorDocEnv";
}

TavUnicodeString WexVekGeneralAssignmentCmd::MapToHubRelationName(const TavUnicodeString& t) {
  if (t == "process_processes_product") return "relationship_proc_processes_prod";
  if (t == "process_first_processes_product") return "relationship_proc_firstprocesses_prod";
  if (t == "process_creates_product") return "relationship_proc_creates_prod";
  if (t == "process_removes_product") return "relationship_proc_removes_prod";
  return t;
}

TavUnicodeString WexVekGeneralAssignmentCmd::GetUnicodeOfAssignmentType() {
  if ((!product_ && !assembly_) || itemPath_.IsEmpty() || !dialog_ || !dialog_->List() ||
      dialog_->List()->GetSelectCount() == 0)
    return {};
  TavUnicodeString text;
  int index = 0;
  if (!dialog_->getSelectedOption(text, index) || index < 0 || index >= static_cast<int>(typeNames_.size())) return {};
  return MapToHubRelationName(typeNames_[static_cast<std::size_t>(index)]);
}

bool WexVekGeneralAssignmentCmd::HasAttributes() {
  auto doc = CurrentDocument();
  auto layout = TavYorLayoutMgtOf(doc);
  if (!TavYorAdapterOf(doc) || !layout) return false;
  if (IsODTReplay()) return true;
  std::vector<OrvYorAttributeDefinition> defs;
  const TavUnicodeString type = GetUnicodeOfAssignmentType();
  return !type.IsEmpty() && SUCCEEDED(layout->GetAttributeDefinitions(type, defs)) && !defs.empty();
}

bool WexVekGeneralAssignmentCmd::BuildAttributeDialog() {
  TavTraceScope scope(Trace(), kClass, "BuildAttributeDialog");
  if (dialog_) dialog_->SetVisibility(false);
  attrDialog_ = std::make_unique<VekAttributesOnRelationDialog>(nullptr);
  attrDialog_->SetTitle(TavMsgCatalog::BuildMessage(VekAttributesOnRelationDialog::kCatalog, "OnAttributeDialogTitle", {},
                                                    "Attributes of the relation"));
  attrOkAgent_->AcceptOnNotify(attrDialog_.get(), TavDlgNotification::OK);
  attrCancelAgent_->AcceptOnNotify(attrDialog_.get(), TavDlgNotification::Cancel);
  attrCancelAgent_->AcceptOnNotify(attrDialog_.get(), TavDlgNotification::Close);
  attrDialog_->SetVisibility(true);
  attrDialog_->CreateValidListOfAttributes(GetUnicodeOfAssignmentType());
  return true;
}

bool WexVekGeneralAssignmentCmd::TestCorrectValue() {
  if (!attrDialog_) return true;
  auto names = attrDialog_->GetAttributeList();
  auto values = attrDialog_->GetValueList();
  auto types = attrDialog_->GetTypeList();
  if (names.size() != values.size() || names.size() != types.size() || names.empty()) return true;
  for (std::size_t i = 0; i < values.size(); ++i)
    if (VekAttributesOnRelationDialog::CheckValue(values[i], types[i])) return false;
  return true;
}

bool WexVekGeneralAssignmentCmd::IsCorrectValue() {
  if (!attrDialog_) return true;
  auto values = attrDialog_->GetValueList();
  auto types = attrDialog_->GetTypeList();
  for (std::size_t i = 0; i < values.size() && i < types.size(); ++i)
    if (auto error = VekAttributesOnRelationDialog::CheckValue(values[i], types[i])) {
      ShowErrorWindow(*error, values[i]);
      break;  // one window per OK: the first refused value
    }
  return true;  // the dialog stays open
}

void WexVekGeneralAssignmentCmd::ShowErrorWindow(EPPErrorTypes errorType, const TavUnicodeString& magnitude) {
  VekAttributesOnRelationDialog::ShowErrorWindow(errorType, magnitude);
}

// ------------------------------------------------------------------ the assignment
void WexVekGeneralAssignmentCmd::ReportFailure(const TavUnicodeString& option) {
  TavDlgNotify box(nullptr, "AssignError", TavDlgNotify::Error);
  box.DisplayBox(Msg("WexVekGeneralAssignmentCmd.MessageWnd.Title", "Assign Product or Resource"),
                 Msg("WexVekGeneralAssignmentCmd.AssignmentFailed", "The relation '/P1' could not be created; nothing was changed.",
                     {option}));
  box.DisplayBlocked();
}

bool WexVekGeneralAssignmentCmd::Assign(Made& made) {
  made.object = product_ ? Ref<TavBaseUnknown>(product_) : Ref<TavBaseUnknown>(assembly_);
  if (!made.object || !query<TavISPPItem>(made.object) || !dialog_) return false;
  TavUnicodeString text;
  int index = 0;
  if (!dialog_->getSelectedOption(text, index)) return false;
  auto itemMgt = query<TavISPPItemMgt>(activity_);
  auto specsNow = [&] {
    return itemMgt ? itemMgt->GetActivitySpecifications(made.object) : std::vector<Ref<TavISPPActivitySpecification>>{};
  };
  const bool validProduct = IsValidProduct(itemPath_);
  // Options are matched by text, among the first four positions only.
  const std::size_t last = std::min<std::size_t>(4, std::min(options_.size(), typeNames_.size()));
  for (std::size_t k = 1; k <= last; ++k) {
    if (!(options_[k - 1] == text)) continue;
    auto before = specsNow();
    HRESULT hr = E_FAIL;
    if (!validProduct || !behaviorTarget_) {
      auto rel = query<TavIPCSRelations>(activity_);
      if (!rel) return false;
      Ref<TavISPPActivitySpecification> created;
      hr = rel->CreateRelation(typeNames_[k - 1], made.object, &created);
      if (hr != S_OK) continue;  // failed, or nothing new: the next equal position may do
      made.typeName = typeNames_[k - 1];
      if (created) made.relations.push_back(created);
    } else {
      if (k > 2) return false;
      auto rr = query<OrvIResourceRelations>(made.object);
      if (!rr || !resource_) return false;
      OrvResourceRelationType type = OrvResourceOutputItem;
      if (k == 1 && rr->IsAssigned(resource_, OrvResourceInputItem) != 0) type = OrvResourceInputItem;
      hr = rr->AddResourceRelation(resource_, type, 1, 1);
      if (hr != S_OK) continue;
      made.resourceType = type;
      if (k == 2)
        if (auto mgr = query<OrvIResourceBehaviorManager>(resource_))
          if (auto update = query<OrvIOutputUpdate>(mgr->GetBehavior())) update->UpdateOutputs();
      for (auto& s : specsNow())
        if (std::none_of(before.begin(), before.end(), [&](auto& b) { return b.get() == s.get(); })) made.relations.push_back(s);
    }
    made.done = true;
    return true;
  }
  return false;
}

void WexVekGeneralAssignmentCmd::Undo(const Made& made) {
  if (!made.done) return;
  if (made.resourceType != 0) {
    if (auto rr = query<OrvIResourceRelations>(made.object)) rr->RemoveResourceRelation(resource_, made.resourceType, 1, 1);
  } else if (auto rel = query<TavIPCSRelations>(activity_)) {
    rel->RemoveRelation(made.typeName, made.object);
  }
}

bool WexVekGeneralAssignmentCmd::AssignAccordingToOptions() {
  TavTraceScope scope(Trace(), kClass, "AssignAccordingToOptions");
  TavSavepoint mark;  // a relation that cannot be made leaves the model as before it
  Made made;
  if (Assign(made)) return true;
  TavUnicodeString text;
  int index = 0;
  if (dialog_) dialog_->getSelectedOption(text, index);
  mark.RollBack();
  DropUnusedBehavior();
  ReportFailure(text);
  return true;
}

bool WexVekGeneralAssignmentCmd::AssignAccordingOnAttributeToOptions() {
  TavTraceScope scope(Trace(), kClass, "AssignAccordingOnAttributeToOptions");
  if (!attrDialog_) return AssignAccordingToOptions();
  auto names = attrDialog_->GetAttributeList();
  auto values = attrDialog_->GetValueList();
  auto types = attrDialog_->GetTypeList();
  // Every value is converted before anything is made: a refused value writes nothing.
  std::vector<std::pair<TavUnicodeString, std::unique_ptr<TavValue>>> typed;
  bool ok = true;
  if (names.size() == values.size() && names.size() == types.size())
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (values[i].IsEmpty()) continue;
      auto v = attrDialog_->CreateReturnVariant(values[i], names[i], types[i]);
      if (!v) ok = false;
      else typed.emplace_back(names[i], std::move(v));
    }
  TavUnicodeString text;
  int index = 0;
  if (dialog_) dialog_->getSelectedOption(text, index);
  auto hub = OrvMHIAttributeMgtOf(CurrentDocument());
  TavSavepoint mark;
  Made made;
  if (!ok || (!typed.empty() && !hub) || !Assign(made)) {
    mark.RollBack();
    DropUnusedBehavior();
    ReportFailure(text);
    return true;
  }
  if (typed.empty()) return true;
  // The values go on the relation objects just made; without one, on the outputs carrying the item.
  std::vector<Ref<TavBaseUnknown>> targets(made.relations.begin(), made.relations.end());
  if (targets.empty())
    if (auto flow = query<TavISPPFlowMgt>(activity_))
      for (auto& o : flow->GetOutputs(made.object))
        if (query<TavISPPProductIO>(o)) targets.push_back(o);
  std::vector<std::pair<Ref<TavBaseUnknown>, TavUnicodeString>> written;
  bool failed = targets.empty();
  for (auto& t : targets)
    for (auto& [name, value] : typed) {
      if (FAILED(hub->SetAttributeValue(t, name, *value))) failed = true;
      else written.emplace_back(t, name);
    }
  if (failed) {
    // No half-made relation: the values written and the relation go again, through
    // the relation service (which need not be the host's), then back to the mark.
    for (auto& [t, name] : written) hub->RemoveAttributeValue(t, name);
    Undo(made);
    mark.RollBack();
    DropUnusedBehavior();
    ReportFailure(text);
  }
  return true;
}
