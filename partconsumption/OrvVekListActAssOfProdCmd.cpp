#include "OrvVekListActAssOfProdCmd.h"

#include "OrvIPartConsumptionAnalysis.h"
#include "OrvVekPartConsumptionRecords.h"
#include "OrvVekPartConsumptionUtilities.h"
#include "OrvVekPartConsumptionWarning.h"
#include "OrvVekServices.h"
#include "OrvVekYorPartConsumptionAnalysis.h"
#include "TavAssignment.h"
#include "TavRequirements.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekListActAssOfProdTrace", "Traces for the activities-of-product command");
  return t;
}
constexpr const char* kClass = "OrvVekListActAssOfProdCmd";

// The busy cursor for the length of one analysis.
struct Busy {
  Busy() { TavApplicationFrame::SetBusyCursor(true); }
  ~Busy() { TavApplicationFrame::SetBusyCursor(false); }
};

Ref<OrvIPartConsumptionAnalysis> EngineOf(const Ref<TavBaseUnknown>& object) {
  if (auto engine = query<OrvIPartConsumptionAnalysis>(object)) return engine;
  return query<OrvIPartConsumptionAnalysis>(query<OrvIMfgAssembly>(object));
}

void Append(std::vector<Ref<TavBaseUnknown>>& to, const std::vector<Ref<TavBaseUnknown>>& from) {
  to.insert(to.end(), from.begin(), from.end());
}
}  // namespace

OrvVekListActAssOfProdCmd::OrvVekListActAssOfProdCmd() : TavStateCommand("OrvVekListActAssOfProdCmd") {
  OrvVekPartConsumptionUtilities::InitTavSetting();
  if (auto ed = TavFrmEditor::GetCurrentEditor()) document_ = ed->GetDocument();
  if (auto env = document_ ? document_->GetDocEnvironment() : nullptr) environment_ = env->GetName();
  hub_ = environment_ == "YorDocEnv";
}

std::unique_ptr<TavStateCommand> fctCreateOrvVekListActAssOfProdCmd() {
  return std::make_unique<OrvVekListActAssOfProdCmd>();
}

OrvVekListActAssOfProdCmd::~OrvVekListActAssOfProdCmd() {
  // The highlight belongs to the dialog's lifetime: a command ended in any way
  // (close, cancel, another command) leaves nothing highlighted.
  OrvVekPartConsumptionUtilities::UnHighlightUnassignedParts(unassigned_);
  if (dialog_ && indication_) indication_->RemoveNotify(dialog_.get());
  dialog_.reset();
}

void OrvVekListActAssOfProdCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekListActAssOfProdCmd;
  auto* first = GetInitialState("SelectProductForQuery");
  auto* next = AddDialogState("SelectNextProductForQuery");

  preSelect_ = std::make_unique<TavPathElementAgent>("PreSelectPPR");
  preSelect_->SetBehavior(kPreSelectBehavior);
  preSelect_->SetBehavior(kPickBehavior);
  preSelect_->AddElementType(TavIProduct::kInterfaceName);
  preSelect_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  AddCSOClient(preSelect_.get());

  postSelect_ = std::make_unique<TavPathElementAgent>("PostSelectPPR");
  postSelect_->SetBehavior(kPickBehavior);
  postSelect_->AddElementType(TavIProduct::kInterfaceName);
  postSelect_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  postSelect_->SetFilter([this](TavAcquisitionAgent* agent) {
    if (IsValidProduct()) return true;
    agent->SetFilterMessage(TavMsgCatalog::BuildMessage(kCatalog, "InvalidSelMsg", {}, "Invalid Selection"));
    return false;
  });

  indication_ = std::make_unique<TavDialogAgent>("IndicationCAN");
  dialog_ = std::make_unique<OrvVekListActAssOfProdDlg>(hub_, nullptr);
  dialog_->Build();
  indication_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  indication_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  dialog_->AddAnalyseNotificationCB(dialog_->HighlightCheck(), TavDlgNotification::Modify, [this] { HighlightUnassigned(); });

  first->AddDialogAgent(preSelect_.get());
  first->AddDialogAgent(indication_.get());
  next->AddDialogAgent(postSelect_.get());
  next->AddDialogAgent(indication_.get());

  auto valued = [](TavAgent* a) { return IsOutputSetCondition(a); };
  AddTransition(first, next, AndCondition(valued(preSelect_.get()), Condition(&Self::ValidateSelection)),
                Action(&Self::IsPreAcquiredProducts), {preSelect_.get()});
  AddTransition(first, nullptr, AndCondition(valued(preSelect_.get()), NotCondition(Condition(&Self::ValidateSelectionList))),
                Action(&Self::ExitMessage), {preSelect_.get()});
  AddTransition(next, next, valued(postSelect_.get()), Action(&Self::IsPostAcquiredProducts), {postSelect_.get()});
  AddTransition(first, nullptr, valued(indication_.get()), Action(&Self::CloseDisplay), {indication_.get()});
  AddTransition(next, nullptr, valued(indication_.get()), Action(&Self::CloseDisplay), {indication_.get()});
}

bool OrvVekListActAssOfProdCmd::Cancel() {
  CloseDisplay();
  return true;
}

Ref<TavBaseUnknown> OrvVekListActAssOfProdCmd::PickedObject(const TavPathElement& path) {
  // A path runs from the root product down to the pick: the product nearest the
  // leaf is the one picked.
  if (auto product = path.SearchFromLeaf<TavIProduct>()) return product;
  return path.SearchFromLeaf<OrvIMfgAssembly>();
}

bool OrvVekListActAssOfProdCmd::ValidateSelection() {
  TavTraceScope scope(Trace(), kClass, "ValidateSelection");
  selectionSet_ = preSelect_->GetListOfValues();
  hasSelectionSet_ = true;
  selected_.clear();  // evaluated once per pick of the first state, where nothing is selected yet
  bool valid = true;
  for (auto& path : selectionSet_) {
    valid = IsValidSelection(path);
    if (!valid) break;
    if (auto object = PickedObject(path)) selected_.push_back(object);
  }
  RemoveDuplicates(selected_);
  return valid;
}

bool OrvVekListActAssOfProdCmd::ValidateSelectionList() {
  return !(hasSelectionSet_ && selectionSet_.size() != selected_.size());
}

bool OrvVekListActAssOfProdCmd::IsValidSelection(const TavPathElement& path) const {
  if (path.IsEmpty()) return false;
  // Paths begin at the root object: the element below the list is the path's top.
  if (OrvVekServices::IsPathInPPRProductList(path)) return true;
  if (TavKinds::IsAKindOf(path.GetTop(), "OrvMBomNodesCont")) return true;
  auto ed = TavFrmEditor::GetCurrentEditor();
  if (!ed) return false;
  Ref<TavBaseUnknown> product = path.GetFatherOfLeaf();
  auto activity = query<TavISPPActivity>(ed->GetActivePath().GetFatherOfLeaf());
  if (product && activity) return TavSPPContextsServices::SearchInContexts(product, activity);
  return false;
}

bool OrvVekListActAssOfProdCmd::IsValidProduct() { return IsValidSelection(postSelect_->GetValue()); }

void OrvVekListActAssOfProdCmd::Refresh() {
  CleanUnassignedList();
  std::vector<TavUnicodeString> states;
  std::vector<Ref<TavBaseUnknown>> products;
  for (auto& s : eiStates_) {
    products.push_back(s.product);
    states.push_back(s.state);
  }
  if (dialog_) dialog_->InitDisplay(results_, unassigned_, states, products);
}

bool OrvVekListActAssOfProdCmd::IsPreAcquiredProducts() {
  TavTraceScope scope(Trace(), kClass, "IsPreAcquiredProducts");
  Busy busy;
  if (hasSelectionSet_) {
    AnalyzePartConsumptionYor();
    AnalyzePartConsumption();
    AnalyzeEIConsumption();
  }
  if (!selectionSet_.empty() && (!results_.empty() || !unassigned_.empty() || !eiStates_.empty())) Refresh();
  if (dialog_) dialog_->SetVisibility(true);
  return true;
}

void OrvVekListActAssOfProdCmd::RunEngine(const std::vector<Ref<TavBaseUnknown>>& objects,
                                          OrvPartConsumptionRecords& records,
                                          std::vector<Ref<TavBaseUnknown>>& unassigned) {
  auto engine = objects.empty() ? nullptr : EngineOf(objects.front());
  if (!engine) return;
  const std::vector<TavUnicodeString> relations = OrvVekPartConsumptionUtilities::GetRelations();
  engine->SetInputs(&objects, &relations);
  engine->AnalyzeConsumption(OrvVekPartConsumptionUtilities::IsParentAssignCheckEnlable(),
                             OrvVekPartConsumptionUtilities::IsChildAssignCheckEnabled());
  const OrvPartConsumptionRecords found = engine->GetAnalysisResults();
  records.insert(records.end(), found.begin(), found.end());
  Append(unassigned, engine->GetUnassignedParts());
}

void OrvVekListActAssOfProdCmd::AnalyzePartConsumption() {
  TavTraceScope scope(Trace(), kClass, "AnalyzePartConsumption");
  OrvPartConsumptionRecords found;
  std::vector<Ref<TavBaseUnknown>> unconsumed;
  RunEngine(selected_, found, unconsumed);
  AddToAnalysisResults(&found);
  Append(unassigned_, unconsumed);
}

void OrvVekListActAssOfProdCmd::PerformTaskWithoutIProgress(OrvVekYorPartConsumptionAnalysis& hubAnalysis) {
  for (auto& relation : OrvVekPartConsumptionUtilities::GetRelations()) hubAnalysis.AnalyzePartConsumption(relation);
}

void OrvVekListActAssOfProdCmd::RunHubAnalysis(const std::vector<Ref<TavBaseUnknown>>& objects,
                                               OrvPartConsumptionRecords& records,
                                               std::vector<Ref<TavBaseUnknown>>& unassigned) {
  OrvVekYorPartConsumptionAnalysis hubAnalysis(document_);
  hubAnalysis.SetStartObjects(objects);
  hubAnalysis.SetStartSetting(OrvVekPartConsumptionUtilities::IsParentAssignCheckEnlable(), {"name"}, "PROCESS");
  PerformTaskWithoutIProgress(hubAnalysis);
  hubAnalysis.IsAssigned();
  const OrvPartConsumptionRecords found = hubAnalysis.GetResultList();
  records.insert(records.end(), found.begin(), found.end());
  Append(unassigned, hubAnalysis.GetUnassignedList());
}

void OrvVekListActAssOfProdCmd::AnalyzePartConsumptionYor() {
  TavTraceScope scope(Trace(), kClass, "AnalyzePartConsumptionYor");
  if (selected_.empty() || environment_ != "YorDocEnv") return;
  OrvPartConsumptionRecords hubRecords;
  std::vector<Ref<TavBaseUnknown>> hubUnassigned;
  RunHubAnalysis(selected_, hubRecords, hubUnassigned);
  RemoveDuplicates(hubUnassigned);
  AddToAnalysisResults(&hubRecords);
  Append(unassigned_, hubUnassigned);
}

void OrvVekListActAssOfProdCmd::CheckPartConsumption(const Ref<TavBaseUnknown>& object, OrvPartConsumptionRecords& results,
                                                     std::vector<Ref<TavBaseUnknown>>& unassigned) {
  TavTraceScope scope(Trace(), kClass, "CheckPartConsumption");
  if (!object) return;
  const std::vector<Ref<TavBaseUnknown>> one{object};
  RunEngine(one, results, unassigned);
  if (hub_) RunHubAnalysis(one, results, unassigned);
}

bool OrvVekListActAssOfProdCmd::IsPostAcquiredProducts() {
  TavTraceScope scope(Trace(), kClass, "IsPostAcquiredProducts");
  Busy busy;
  Ref<TavBaseUnknown> object = PickedObject(postSelect_->GetValue());
  auto held = std::find_if(selected_.begin(), selected_.end(), [&](auto& s) { return SameObject(s, object); });
  if (!object) {
    // Nothing to add: the agent took a path without a product or assembly.
  } else if (held != selected_.end()) {
    selected_.erase(held);
    // The old list goes dark before it is forgotten, so nothing stays lit that no list holds.
    OrvVekPartConsumptionUtilities::UnHighlightUnassignedParts(unassigned_);
    OrvVekPartConsumptionUtilities::UnHighlightUnassignedParts({object});
    merge_.Clear();
    results_.clear();
    unassigned_.clear();
    AnalyzePartConsumptionYor();
    AnalyzePartConsumption();
    AnalyzeEIConsumption();
    // Always: removing the last product must empty the lists, not leave its rows.
    Refresh();
  } else {
    selected_.push_back(object);
    OrvPartConsumptionRecords found;
    std::vector<Ref<TavBaseUnknown>> newUnassigned;
    CheckPartConsumption(object, found, newUnassigned);
    AddToAnalysisResults(&found);
    Append(unassigned_, newUnassigned);
    AnalyzeEIConsumption();
    Refresh();
    if (dialog_) dialog_->SetVisibility(true);
  }
  HSOAndHighlightUnassigned();
  postSelect_->InitializeAcquisition();
  return true;
}

void OrvVekListActAssOfProdCmd::AnalyzeEIConsumption() {
  // Recomputed from the products now selected, so each state stays its product's.
  eiStates_.clear();
  if (OrvVekPartConsumptionUtilities::CheckProcessIntentRelation()) eiStates_ = OrvVekEIConsumption::Analyze(selected_);
}

HRESULT OrvVekListActAssOfProdCmd::AddToAnalysisResults(const OrvPartConsumptionRecords* records) {
  if (!records) return S_OK;
  const HRESULT hr = merge_.Add(records);
  results_ = merge_.Records();
  return hr;
}

int OrvVekListActAssOfProdCmd::LocateInAnalysisResult(const Ref<TavBaseUnknown>& product, int from) const {
  return OrvVekPartConsumptionRecords::LocateInAnalysisResult(results_, product, from);
}

void OrvVekListActAssOfProdCmd::CleanUnassignedList() { OrvVekPartConsumptionRecords::CleanUnassignedList(results_, unassigned_); }

void OrvVekListActAssOfProdCmd::HSOAndHighlightUnassigned() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  if (ed) ed->GetHSO().Empty();
  OrvVekPartConsumptionUtilities::UnHighlightUnassignedParts(unassigned_);
  if (!dialog_ || !dialog_->GetHiLightUnasignedCheck()) return;
  OrvVekPartConsumptionUtilities::HighlightUnassignedParts(unassigned_);
  if (ed)
    for (auto& p : unassigned_) ed->GetHSO().AddElement(TavPathElement({p}));
}

bool OrvVekListActAssOfProdCmd::HighlightUnassigned() {
  HSOAndHighlightUnassigned();
  return true;
}

bool OrvVekListActAssOfProdCmd::CloseDisplay() {
  TavTraceScope scope(Trace(), kClass, "CloseDisplay");
  OrvVekPartConsumptionUtilities::UnHighlightUnassignedParts(unassigned_);
  if (auto ed = TavFrmEditor::GetCurrentEditor(); ed && dialog_ && dialog_->GetHiLightUnasignedCheck()) ed->GetHSO().Empty();
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}

bool OrvVekListActAssOfProdCmd::ExitMessage() {
  ShowError(nullptr, "InvalidSelMsg", "InvalidSelTitle", {}, kErrorStyle);
  return true;
}

void OrvVekListActAssOfProdCmd::ShowError(TavDlgWidget*, const std::string& messageKey, const std::string& titleKey,
                                          const TavUnicodeString& extraText, int style) {
  OrvVekShowCatalogBox(kCatalog, "Error", TavDlgNotify::Error, messageKey, "Invalid Selection", titleKey,
                       "List Associated Activities - Warning", extraText, style);
}
