#include "OrvVekReplaceProductCmd.h"

#include "OrvIReplaceImpactedProduct.h"
#include "TavCopy.h"
#include "TavPointing.h"
#include "TavResources.h"
#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekReplaceProductTrace", "Traces for module OrvVekReplaceProduct");
  return t;
}
constexpr const char* kClass = "OrvVekReplaceProductCmd";

TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekReplaceProductCmd::kCatalog, key, params, fallback);
}
}  // namespace

OrvVekReplaceProductCmd::OrvVekReplaceProductCmd() : TavStateCommand("OrvVekReplaceProductCmd", 0, 64) {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekReplaceProductCmd() { return std::make_unique<OrvVekReplaceProductCmd>(); }

OrvVekReplaceProductCmd::~OrvVekReplaceProductCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekReplaceProductCmd");
  if (dialog_)
    for (auto* a : {okAgent_.get(), applyAgent_.get(), cancelAgent_.get()})
      if (a) a->RemoveNotify(dialog_.get());
}

void OrvVekReplaceProductCmd::InitializeAgents() {
  firstAgent_ = std::make_unique<TavPathElementAgent>("SelectFirstProduct");
  firstAgent_->SetElementType(TavIProduct::kInterfaceName);
  firstAgent_->SetFilter([this](TavAcquisitionAgent* a) { return IsValidFirstProduct(a); });
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  applyAgent_ = std::make_unique<TavDialogAgent>("ApplyAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  applyAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Apply);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
}

void OrvVekReplaceProductCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekReplaceProductCmd;
  dialog_ = std::make_unique<OrvVekReplaceProductDlg>(nullptr);
  dialog_->Build();
  InitializeAgents();
  auto* state = GetInitialState("SelectFirstProductState");
  for (TavAgent* a : std::initializer_list<TavAgent*>{firstAgent_.get(), okAgent_.get(), applyAgent_.get(), cancelAgent_.get()})
    state->AddDialogAgent(a);
  AddTransition(state, state, IsOutputSetCondition(firstAgent_.get()), Action(&Self::OnProductSelectedFirstState),
                {firstAgent_.get()});
  AddTransition(state, state, IsOutputSetCondition(okAgent_.get()), Action(&Self::OnOk_ReplaceProduct), {okAgent_.get()});
  AddTransition(state, state, IsOutputSetCondition(applyAgent_.get()), Action(&Self::OnApply), {applyAgent_.get()});
  AddTransition(state, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::OnCancel));
  dialog_->SetVisibility(true);
}

// ------------------------------------------------------------------ the pick
bool OrvVekReplaceProductCmd::IsProductUnderTopProductNode(const Ref<TavIProduct>& product) {
  auto father = product ? product->GetFatherProduct() : nullptr;
  return father && father->GetName() == kTopNode;
}

bool OrvVekReplaceProductCmd::Accepts(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why) {
  auto refuse = [&](TavUnicodeString text) {
    if (why) *why = std::move(text);
    return false;
  };
  auto product = query<TavIProduct>(candidate);
  if (!product) return refuse(Msg("NotAProduct", "only a product of the product structure can be replaced"));
  if (product->IsResource() || query<TavIResource>(candidate))
    return refuse(Msg("AResource", "/P1 is a resource, not a product", {product->GetName()}));
  if (!IsProductUnderTopProductNode(product))
    return refuse(Msg("NotUnderTopNode", "/P1 is not a product directly under /P2", {product->GetName(), kTopNode}));
  return true;
}

bool OrvVekReplaceProductCmd::IsValidFirstProduct(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsValidFirstProduct");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  TavUnicodeString why;
  if (!Accepts(a->GetValue().SearchFromLeaf<TavIProduct>(), &why)) {
    a->SetFilterMessage(why);
    return false;
  }
  return true;
}

void OrvVekReplaceProductCmd::CleanFirstSelectedProduct() {
  first_.reset();
  if (dialog_) {
    dialog_->Set1stPrd(nullptr);
    dialog_->CleanImpactedList();
  }
}

bool OrvVekReplaceProductCmd::IsA_WexComponent(const Ref<TavBaseUnknown>& object) {
  return query<OrvIReplaceImpactedProduct>(object) != nullptr;
}

void OrvVekReplaceProductCmd::GetImpactedComponents(const Ref<TavBaseUnknown>& product,
                                                    std::vector<Ref<TavBaseUnknown>>& components) {
  auto pointing = query<TavIPointingObjects>(product);
  if (!pointing) return;
  const auto objects = pointing->GetPointingObjects();
  for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
    if (!IsA_WexComponent(*it)) continue;
    auto spec = query<TavISpecObject>(*it);
    components.push_back(spec ? Ref<TavBaseUnknown>(spec) : *it);
  }
}

void OrvVekReplaceProductCmd::ListImpacted(OrvVekReplaceProductDlg& dialog, const Ref<TavIProduct>& product) {
  dialog.CleanImpactedList();
  if (!product) return;
  std::vector<Ref<TavBaseUnknown>> components;
  GetImpactedComponents(product, components);
  dialog.AddImpactedComponentNames(product, components, true);
  for (const auto& d : product->GetAllDescendants()) {
    components.clear();
    GetImpactedComponents(d, components);
    dialog.AddImpactedComponentNames(d, components, false);
  }
}

bool OrvVekReplaceProductCmd::OnProductSelectedFirstState() {
  TavTraceScope scope(Trace(), kClass, "OnProductSelectedFirstState");
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  first_ = firstAgent_->GetValue().SearchFromLeaf<TavIProduct>();
  dialog_->Set1stPrd(first_);
  ListImpacted(*dialog_, first_);
  dialog_->UpdateSensitivity();
  return true;
}

// ------------------------------------------------------------------ the replacement
HRESULT OrvVekReplaceProductCmd::Replace(const Ref<TavIProduct>& product, const TavUnicodeString& path, std::string& error) {
  TavUnicodeString why;
  if (!Accepts(product, &why)) {
    error = why.utf8();
    return E_FAIL;
  }
  auto collection = query<TavIAProducts>(product->GetFatherProduct());
  auto automation = query<TavIAProduct>(collection);
  if (!automation) {
    error = "the products collection of '" + product->GetFatherProduct()->GetName().utf8() + "' cannot replace a product";
    return E_FAIL;
  }
  if (FAILED(automation->ReplaceComponent(product, path, error))) return E_FAIL;
  if (auto events = query<TavIModelEvents>(product)) events->Dispatch(OrvResourceModifiedNotification("TavModify"));
  return S_OK;
}

HRESULT OrvVekReplaceProductCmd::ReplaceListed(OrvVekReplaceProductDlg& dialog, const Ref<TavIProduct>& product,
                                               const TavUnicodeString& path, std::string& error) {
  TavUnicodeString oldName, newName;
  OrvVekReplaceProductDlg::GetPrdNameFromPPRTree(product, oldName);
  if (FAILED(Replace(product, path, error))) return E_FAIL;
  OrvVekReplaceProductDlg::GetPrdNameFromPPRTree(product, newName);
  dialog.ReplaceProductName_For_OK_Items(oldName, newName);
  dialog.Set1stPrdName(newName);
  return S_OK;
}

bool OrvVekReplaceProductCmd::ReplaceChosen() {
  const TavUnicodeString path = dialog_->Get2ndPrdName().Strip();
  if (!first_ || path.IsEmpty()) return false;  // OK and Apply are not sensitive then
  TavUnicodeString oldName;
  OrvVekReplaceProductDlg::GetPrdNameFromPPRTree(first_, oldName);
  std::string error;
  if (FAILED(ReplaceListed(*dialog_, first_, path, error))) {
    TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
    box.DisplayBox(Msg("Error.Title", "Replace Product"),
                   Msg("NotReplaced", "/P1 was not replaced by the product of /P2: /P3", {oldName, path, error}));
    box.DisplayBlocked();
    return false;
  }
  dialog_->Set2ndPrdName({});
  return true;
}

bool OrvVekReplaceProductCmd::OnOk_ReplaceProduct() {
  TavTraceScope scope(Trace(), kClass, "OnOk_ReplaceProduct");
  if (ReplaceChosen()) {
    dialog_->SetVisibility(false);
    End();
  }
  return true;
}

bool OrvVekReplaceProductCmd::OnApply() {
  TavTraceScope scope(Trace(), kClass, "OnApply");
  ReplaceChosen();
  return true;
}

bool OrvVekReplaceProductCmd::OnCancel() {
  TavTraceScope scope(Trace(), kClass, "OnCancel");
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}
