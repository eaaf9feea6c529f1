#include "OrvProcessCompareToolCmd.h"

#include "TavMfgAssy.h"
#include "TavServices.h"
#include "TavYor.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvProcessCompareTool", "Traces for module OrvProcessCompareTool");
  return t;
}
constexpr const char* kClass = "OrvProcessCompareToolCmd";

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvProcessCompareToolCmd::kCatalog, key, {}, fallback);
}

// The kind in a planner's words, with its article.
const char* KindWord(OrvProcessCompareToolCmd::Kind k) {
  switch (k) {
    case OrvProcessCompareToolCmd::IsProduct: return "a product";
    case OrvProcessCompareToolCmd::IsMA: return "a manufactured assembly";
    case OrvProcessCompareToolCmd::IsResource: return "a resource";
    case OrvProcessCompareToolCmd::IsActivity: return "an activity";
    case OrvProcessCompareToolCmd::IsFastener: return "a fastener";
    default: return "an object of no comparable kind";
  }
}
}  // namespace

OrvProcessCompareToolCmd::OrvProcessCompareToolCmd() : TavStateCommand("OrvProcessCompareToolCmd") {}
OrvProcessCompareToolCmd::~OrvProcessCompareToolCmd() {
  // The engine's dialogs go first, so that no agent keeps their addresses.
  engine_.reset();
  filter_.reset();
}

std::unique_ptr<TavStateCommand> fctCreateOrvProcessCompareToolCmd() { return std::make_unique<OrvProcessCompareToolCmd>(); }

OrvProcessCompareToolCmd::Kind OrvProcessCompareToolCmd::KindOf(const Ref<TavBaseUnknown>& o) {
  if (!o) return IsWrong;
  if (query<OrvIMfgAssembly>(o)) return IsMA;
  if (auto p = query<TavIProduct>(o)) return p->IsResource() ? IsResource : IsProduct;
  if (query<TavISPPActivity>(o)) return IsActivity;
  if (query<OrvIBIWFastener>(o)) return IsFastener;
  return IsWrong;
}

int OrvProcessCompareToolCmd::ObjectTypeOf(Kind k) {
  switch (k) {
    case IsActivity: return OrvVekCompareDlgBase::Activities;
    case IsProduct: return OrvVekCompareDlgBase::Products;
    case IsResource: return OrvVekCompareDlgBase::Resources;
    case IsMA: return OrvVekCompareDlgBase::ManufacturedAssemblies;
    case IsFastener: return OrvVekCompareDlgBase::Fasteners;
    default: return -1;
  }
}

// A product or resource of a document: the comparison walks its tree.
bool OrvProcessCompareToolCmd::IsValidFirstProduct(const Ref<TavBaseUnknown>& o) const {
  auto p = query<TavIProduct>(o);
  return p && !p->IsResource() && TavDocumentOf(o);
}
bool OrvProcessCompareToolCmd::IsValidFirstResource(const Ref<TavBaseUnknown>& o) const {
  auto p = query<TavIProduct>(o);
  return p && p->IsResource() && TavDocumentOf(o);
}

OrvProcessCompareToolCmd::Kind OrvProcessCompareToolCmd::CheckKindOfObject() {
  const Ref<TavBaseUnknown> o = first_->GetValueObject();
  kind_ = KindOf(o);
  if ((kind_ == IsProduct && !IsValidFirstProduct(o)) || (kind_ == IsResource && !IsValidFirstResource(o))) kind_ = IsWrong;
  return kind_;
}

bool OrvProcessCompareToolCmd::IsValidObject(TavAcquisitionAgent* agent) {
  auto* a = dynamic_cast<TavPathElementAgent*>(agent);
  const Kind k = a ? KindOf(a->GetValueObject()) : IsWrong;
  if (k == kind_ && a->GetValueObject() != firstObject_) return true;
  agent->SetFilterMessage(TavUnicodeString(a && a->GetValueObject() == firstObject_
                                               ? std::string("pick another object than the first one")
                                               : std::string("the second pick must be ") + KindWord(kind_) +
                                                     " like the first one, not " + KindWord(k)));
  return false;
}

void OrvProcessCompareToolCmd::ShowError(int error) {
  TavDlgNotify box(nullptr, "OrvProcessCompareToolCmdErrorWindow", TavDlgNotify::Error);
  box.DisplayBox(Msg("OrvProcessCompareToolCmd.InfoWnd.Title", "Process Comparison"),
                 error == 1 ? Msg("OrvProcessCompareToolCmd.ObjectNotAccepted",
                                  "Pick a process, a product, a resource, a manufactured assembly or a fastener.")
                            : Msg("OrvProcessCompareToolCmd.TextDefault", "The comparison could not be started."));
  box.DisplayBlocked();
}

bool OrvProcessCompareToolCmd::InitializeWrong() {
  TavTraceScope scope(Trace(), kClass, "InitializeWrong");
  ShowError(1);
  first_->InitializeAcquisition();
  return true;
}

bool OrvProcessCompareToolCmd::TakeFirst() {
  firstObject_ = first_->GetValueObject();
  firstDoc_ = TavDocumentOf(firstObject_);
  return true;
}

bool OrvProcessCompareToolCmd::TakeSecond() {
  secondObject_ = second_->GetValueObject();
  secondDoc_ = TavDocumentOf(secondObject_);
  comparability_ = CheckProcessComparability();
  return true;
}

int OrvProcessCompareToolCmd::CheckProcessComparability() {
  TavTraceScope scope(Trace(), kClass, "CheckProcessComparability");
  engine_ = std::make_unique<OrvVekCompareDlgBase>();
  engine_->SetHxMode(TavIsHubDocument(firstDoc_) && TavIsHubDocument(secondDoc_));
  const int type = ObjectTypeOf(kind_);
  engine_->SetType(type);
  if (type == OrvVekCompareDlgBase::Activities || type == OrvVekCompareDlgBase::ManufacturedAssemblies) {
    auto l1 = OrvEMfgAssemblyFactory::GetMAsInContainer(firstDoc_), l2 = OrvEMfgAssemblyFactory::GetMAsInContainer(secondDoc_);
    engine_->SetMALists({l1.begin(), l1.end()}, {l2.begin(), l2.end()});
  }
  engine_->Initialize(firstObject_, secondObject_, TavYorAdapterOf(firstDoc_), TavYorAdapterOf(secondDoc_), firstDoc_, secondDoc_);
  return engine_->CheckComparability();
}

bool OrvProcessCompareToolCmd::SetProcessFilterDlg() {
  TavTraceScope scope(Trace(), kClass, "SetProcessFilterDlg");
  filter_ = std::make_unique<OrvVekComparePPRFilterDlg>(nullptr);
  filter_->SetType(engine_->GetType());
  std::vector<TavUnicodeString> own, prompts, hub;
  engine_->GetAttributeList(own, prompts, hub);
  filter_->SetAttributeList(own, prompts, hub);
  filterOK_->AcceptOnNotify(filter_.get(), TavDlgNotification::OK);
  filterCancel_->AcceptOnNotify(filter_.get(), TavDlgNotification::Cancel);
  filterCancel_->AcceptOnNotify(filter_.get(), TavDlgNotification::Close);
  filter_->SetVisibility(true);
  return true;
}

bool OrvProcessCompareToolCmd::CompareProcesses() {
  TavTraceScope scope(Trace(), kClass, "CompareProcesses");
  int mask = 0;
  std::vector<int> attributes;
  filter_->SelectedItemsInFilter(mask, attributes);
  const bool summary = filter_->IsSummaryPageAvailable(), all = filter_->DisplayAllAtts();
  filter_->SetVisibility(false);
  engine_->SetSummaryPage(summary);
  engine_->SetDisplayAllAtts(all);
  engine_->SetOnDialogOpened([this](TavDlgDialog* d) {
    for (const char* n : {TavDlgNotification::OK, TavDlgNotification::Cancel, TavDlgNotification::Close})
      resultsClosed_->AcceptOnNotify(d, n);
  });
  engine_->StartComparison(attributes, mask);
  if (auto* d = engine_->GetDialog())
    for (const char* n : {TavDlgNotification::OK, TavDlgNotification::Cancel, TavDlgNotification::Close})
      resultsClosed_->AcceptOnNotify(d, n);
  return true;
}

bool OrvProcessCompareToolCmd::Cancel() {
  if (filter_) filter_->SetVisibility(false);
  if (auto* d = engine_ ? engine_->GetDialog() : nullptr) d->SetVisibility(false);
  return true;
}

void OrvProcessCompareToolCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvProcessCompareToolCmd;
  auto* selectFirst = GetInitialState("SelectComparableObject");
  auto* selectSecond = AddDialogState("SelectSecondObject");
  auto* taken = AddDialogState("SelectPartResourceOrActivityInExtDoc");
  auto* modProduct = AddDialogState("CheckModIsProduct");
  auto* productOK = AddDialogState("CheckProductComparability");
  auto* modMA = AddDialogState("CheckModIsMA");
  auto* maOK = AddDialogState("CheckMAComparability");
  auto* modResource = AddDialogState("CheckModIsResource");
  auto* resourceOK = AddDialogState("CheckResourceComparability");
  auto* modProcess = AddDialogState("CheckModIsProcess");
  auto* processOK = AddDialogState("CheckProcessComparability");
  auto* modFastener = AddDialogState("CheckModIsFastener");
  auto* filterState = AddDialogState("SelectProcessFilter");
  auto* results = AddDialogState("ShowProcessCompareResults");

  // Any object may be picked first: what is not comparable gets error 1.
  first_ = std::make_unique<TavPathElementAgent>("OrgObject");
  AddCSOClient(first_.get());
  second_ = std::make_unique<TavOtherDocumentAgent>("ModObject");
  for (const char* t : {TavIProduct::kInterfaceName, OrvIMfgAssembly::kInterfaceName, TavISPPActivity::kInterfaceName,
                        OrvIBIWFastener::kInterfaceName})
    second_->AddElementType(t);
  second_->SetFilter([this](TavAcquisitionAgent* a) { return IsValidObject(a); });
  filterOK_ = std::make_unique<TavDialogAgent>("FilterOK");
  filterCancel_ = std::make_unique<TavDialogAgent>("FilterCancel");
  resultsClosed_ = std::make_unique<TavDialogAgent>("ResultsClosed");
  selectFirst->AddDialogAgent(first_.get());
  selectSecond->AddDialogAgent(second_.get());
  filterState->AddDialogAgent(filterOK_.get());
  filterState->AddDialogAgent(filterCancel_.get());
  results->AddDialogAgent(resultsClosed_.get());

  auto has = [](TavAgent* a) { return IsOutputSetCondition(a); };
  AddTransition(selectFirst, selectFirst, [this] { return first_->IsValued() && CheckKindOfObject() == IsWrong; },
                Action(&Self::InitializeWrong), {first_.get()});
  AddTransition(selectFirst, selectSecond, has(first_.get()), Action(&Self::TakeFirst));
  AddTransition(selectSecond, taken, has(second_.get()), Action(&Self::TakeSecond));
  auto kindIs = [this](Kind k) { return [this, k] { return kind_ == k; }; };
  auto comparable = [this] { return comparability_ == 0; };
  auto notComparable = [this] { return comparability_ != 0; };
  const std::pair<Kind, std::pair<TavDialogState*, TavDialogState*>> chains[] = {
      {IsProduct, {modProduct, productOK}}, {IsMA, {modMA, maOK}}, {IsResource, {modResource, resourceOK}},
      {IsActivity, {modProcess, processOK}}, {IsFastener, {modFastener, nullptr}}};
  for (const auto& [k, states] : chains) {
    auto [mod, ok] = states;
    AddTransition(taken, mod, kindIs(k));
    // Not comparable: the engine has said why where it does; no filter dialog.
    AddTransition(mod, nullptr, notComparable);
    if (ok) {
      AddTransition(mod, ok, comparable);
      AddTransition(ok, filterState, comparable, Action(&Self::SetProcessFilterDlg));
    } else {
      AddTransition(mod, filterState, comparable, Action(&Self::SetProcessFilterDlg));
    }
  }
  AddTransition(filterState, nullptr, has(filterCancel_.get()), [this] {
    filter_->SetVisibility(false);
    return true;
  });
  AddTransition(filterState, results, has(filterOK_.get()), Action(&Self::CompareProcesses));
  AddTransition(results, nullptr, [this] { return resultsClosed_->IsValued() && engine_ && engine_->IsClosed(); });
}
