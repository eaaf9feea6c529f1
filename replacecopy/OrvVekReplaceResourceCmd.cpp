#include "OrvVekReplaceResourceCmd.h"

#include <cstdlib>

#include "OrvIReplaceResource.h"
#include "OrvVekCommandServices.h"
#include "OrvVekReplaceRescDlg.h"
#include "OrvVekReplaceResourceServices.h"
#include "OrvVekServices.h"
#include "TavActivityLib.h"
#include "TavResources.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekReplaceResourceTrace", "Traces for module OrvVekBIWReplaceResource");
  return t;
}
constexpr const char* kClass = "OrvVekReplaceResourceCmd";

TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekReplaceResourceCmd::kCatalog, key, params, fallback);
}

Ref<TavDocument> CurrentDocument() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  return ed ? ed->GetDocument() : nullptr;
}

bool IsSet(const char* name) { return std::getenv(name) != nullptr; }
}  // namespace

OrvVekReplaceResourceCmd::OrvVekReplaceResourceCmd() : TavStateCommand("OrvVekReplaceResourceCmd", 0, 64) {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekReplaceResourceCmd() { return std::make_unique<OrvVekReplaceResourceCmd>(); }

OrvVekReplaceResourceCmd::~OrvVekReplaceResourceCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekReplaceResourceCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvVekReplaceResourceCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekReplaceResourceCmd;
  auto* initial = GetInitialState("initialState");
  auto* second = AddDialogState("secondState");
  auto pathAgent = [this](const char* name, bool (Self::*filter)(TavAcquisitionAgent*)) {
    auto a = std::make_unique<TavPathElementAgent>(name);
    a->SetElementType(TavIProduct::kInterfaceName);
    a->SetFilter([this, filter](TavAcquisitionAgent* agent) { return (this->*filter)(agent); });
    AddCSOClient(a.get());
    return a;
  };
  firstAgent_ = pathAgent("Select First Resource", &Self::IsValidFirstResource);
  secondAgent_ = pathAgent("Select Second Resource", &Self::IsValidSecondResource);
  okAgent_ = std::make_unique<TavDialogAgent>("DialogAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("DialogAgent");
  initial->AddDialogAgent(firstAgent_.get());
  second->AddDialogAgent(secondAgent_.get());
  second->AddDialogAgent(okAgent_.get());
  second->AddDialogAgent(cancelAgent_.get());

  AddTransition(initial, second, IsOutputSetCondition(firstAgent_.get()), Action(&Self::ToSelectFirstResource));
  AddTransition(second, second, IsOutputSetCondition(secondAgent_.get()), Action(&Self::ToSelectSecResource));
  AddTransition(second, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::ToReplaceResource));
  AddTransition(second, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CancelReplaceResource));
}

// ------------------------------------------------------------------ picks
bool OrvVekReplaceResourceCmd::TakePick(TavAcquisitionAgent* agent,
                                        bool (OrvVekReplaceResourceCmd::*test)(const Ref<TavBaseUnknown>&, TavUnicodeString*)) {
  auto* a = static_cast<TavPathElementAgent*>(agent);
  auto leaf = a->GetValue().GetLeaf();
  TavUnicodeString why;
  if (!(this->*test)(leaf, &why)) {
    a->SetFilterMessage(why);
    return false;
  }
  if (query<TavIResource>(leaf)) a->Value(TavPathElement({leaf}));
  return true;
}

bool OrvVekReplaceResourceCmd::IsValidFirstResource(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsValidFirstResource");
  return TakePick(agent, &OrvVekReplaceResourceCmd::AcceptsFirst);
}

bool OrvVekReplaceResourceCmd::IsValidSecondResource(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsValidSecondResource");
  return TakePick(agent, &OrvVekReplaceResourceCmd::AcceptsSecond);
}

bool OrvVekReplaceResourceCmd::AcceptsFirst(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why) {
  auto refuse = [&](TavUnicodeString text) {
    if (why) *why = std::move(text);
    return false;
  };
  if (OrvVekServices::InPPRProductList(candidate))
    return refuse(Msg("InProductList", "a product of the product list is no resource to replace"));
  auto product = query<TavIProduct>(candidate);
  if (query<TavIResource>(candidate) && product && !CheckIfInPrdList(product->GetName()))
    return refuse(Msg("NameOfAProduct", "a product of the process has the same name as this resource"));
  return true;
}

bool OrvVekReplaceResourceCmd::AcceptsSecond(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why) {
  auto refuse = [&](TavUnicodeString text) {
    if (why) *why = std::move(text);
    return false;
  };
  TavUnicodeString env;
  if (SUCCEEDED(GetDocumentEnvironment(env)) && env == "YorDocEnv") {
    TavUnicodeString mine, theirs;
    GetPlanTypeOfResource(first_, mine);
    GetPlanTypeOfResource(candidate, theirs);
    if (mine != theirs)
      return refuse(Msg("OtherPlanType", "its plan type \"/P1\" is not the first resource's \"/P2\"", {theirs, mine}));
  }
  if (SameObject(candidate, first_)) return refuse(Msg("SameResource", "a resource cannot replace itself"));
  return AcceptsFirst(candidate, why);
}

bool OrvVekReplaceResourceCmd::CheckIfInPrdList(const TavUnicodeString& instanceName) {
  auto doc = CurrentDocument();
  auto list = doc ? query<TavIPPRProductList>(doc->GetRootContainer(TavIPPRProductList::kInterfaceName)) : nullptr;
  Ref<TavISPPProcessContainer> container;
  if (!list || FAILED(OrvVekCommandServices::GetProcessContainer(container, nullptr))) return true;
  for (const auto& p : list->GetRoots())
    if (p->GetName() == instanceName || !CheckIfInPrdHeirarchy(p, instanceName)) return false;
  return true;
}

bool OrvVekReplaceResourceCmd::CheckIfInPrdHeirarchy(const Ref<TavIProduct>& product, const TavUnicodeString& instanceName) {
  if (!product) return true;
  for (const auto& d : product->GetAllDescendants())
    if (d->GetName() == instanceName) return false;
  return true;
}

HRESULT OrvVekReplaceResourceCmd::GetDocumentEnvironment(TavUnicodeString& name) {
  auto doc = CurrentDocument();
  auto env = doc ? doc->GetDocEnvironment() : nullptr;
  if (!env) return E_FAIL;
  name = env->GetName();
  return S_OK;
}

HRESULT OrvVekReplaceResourceCmd::GetPlanTypeOfResource(const Ref<TavBaseUnknown>& resource, TavUnicodeString& planType) {
  planType = {};
  auto object = query<OrvIMHIPlanTypeObject>(resource);
  auto type = object ? object->GetPlanType() : nullptr;
  if (!type) return E_FAIL;
  planType = type->GetName();
  return S_OK;
}

bool OrvVekReplaceResourceCmd::IsAWSC(const Ref<TavBaseUnknown>& product) { return OrvVekServices::IsAWSC(product); }

// ------------------------------------------------------------------ actions
bool OrvVekReplaceResourceCmd::ToSelectFirstResource() {
  TavTraceScope scope(Trace(), kClass, "ToSelectFirstResource");
  first_ = query<TavIProduct>(firstAgent_->GetValue().GetLeaf());
  if (!dialog_) {
    if (auto own = query<OrvIReplaceResource>(first_)) own->GetDialogObject(dialog_, nullptr);
    if (!dialog_) {
      TavUnicodeString env;
      const bool hub = SUCCEEDED(GetDocumentEnvironment(env)) && env == "YorDocEnv";
      dialog_ = std::make_unique<OrvVekReplaceRescDlg>(nullptr, hub, [this](const Ref<TavIProduct>& p) { return AcceptsSecond(p); });
      dialog_->Build();
    }
    dialog_->SetFirstResource(first_);
    okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
    cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
    cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
    dialog_->SetVisibility(true);
  }
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  return true;
}

bool OrvVekReplaceResourceCmd::ToSelectSecResource() {
  TavTraceScope scope(Trace(), kClass, "ToSelectSecResource");
  second_ = query<TavIProduct>(secondAgent_->GetValue().GetLeaf());
  if (dialog_) dialog_->SetSecondResource(second_);
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  secondAgent_->InitializeAcquisition();  // the next pick replaces this one
  return true;
}

bool OrvVekReplaceResourceCmd::ToReplaceResource() {
  TavTraceScope scope(Trace(), kClass, "ToReplaceResource");
  newInstance_ = nullptr;
  if (!dialog_) return true;
  Ref<TavIProduct> second;
  dialog_->GetSecondResource(second, fromOutside_);
  second_ = second;
  auto activities = std::make_unique<std::vector<Ref<TavISPPActivity>>>();
  auto* list = activities.get();
  unsigned char removeContext = 0;
  dialog_->GetActivitiesForReplacement(list, removeContext);

  const bool replay = IsSet("ADL_ODT_OUT") && IsSet("VEK_ENABLE_OLD_PRP_ODT");
  auto own = replay ? nullptr : query<OrvIReplaceResource>(second);
  TavUnicodeString message;
  bool attempted = false, replaced = false;
  // A replacement that fails after the device was added leaves the model as before.
  TavSavepoint mark;
  if (own) {
    if (own->CanReplace(first_, message)) {
      attempted = true;
      if (!fromOutside_) AddDevice(second);
      replaced = SUCCEEDED(own->ReplaceResource(first_, second, *activities));
    }
  } else if (OrvVekReplaceResourceServices::IsResourceCompatible(second, message)) {
    attempted = true;
    if (!fromOutside_) AddDevice(second);
    replaced = SUCCEEDED(OrvVekReplaceResourceServices::ReplaceResource(first_, second, activities.get(), 0, 0, &newInstance_));
  }
  if (replaced && removeContext) RemoveDevice();
  if (attempted && !replaced) {
    mark.RollBack();
    newInstance_ = nullptr;
    message = Msg("ReplaceFailed", "\"/P1\" could not be replaced: it needs a father product (a resource at the top of the resource list has none). Nothing was changed.",
                  {first_ ? first_->GetName() : TavUnicodeString()});
  }
  if (!replaced || replay) ShowErrorMessage(message);
  return true;
}

bool OrvVekReplaceResourceCmd::CancelReplaceResource() {
  TavTraceScope scope(Trace(), kClass, "CancelReplaceResource");
  return true;
}

void OrvVekReplaceResourceCmd::ShowErrorMessage(const TavUnicodeString& text) {
  TavDlgNotify box(nullptr, "Error Message", TavDlgNotify::Error);
  box.DisplayBox(Msg("err", "Warning"), text);
  box.DisplayBlocked();
}

// ------------------------------------------------------------------ devices
void OrvVekReplaceResourceCmd::AddDevice(const Ref<TavIProduct>& resource) {
  TavTraceScope scope(Trace(), kClass, "AddDevice");
  if (!OrvVekServices::IsResourceUnderResourceContext(resource) &&
      OrvVekServices::AddResourceContext(CurrentDocument(), resource) == S_OK)
    if (auto session = query<TavIProductInSession>(resource)) session->SendRootModified();
  DispatchActivityNotif("Add_Context");
}

void OrvVekReplaceResourceCmd::RemoveDevice() {
  TavTraceScope scope(Trace(), kClass, "RemoveDevice");
  // Only a context the first resource is itself can go; one it merely lies under stays.
  auto contexts = TavResourceContextsOf(CurrentDocument());
  if (contexts && contexts->IsResourceContext(first_) && OrvVekServices::RemoveResourceContext(CurrentDocument(), first_) == S_OK)
    if (auto session = query<TavIProductInSession>(first_)) session->SendRootModified();
  DispatchActivityNotif("Remove_Context");
}

void OrvVekReplaceResourceCmd::DispatchActivityNotif(const TavUnicodeString& kind) {
  Ref<TavISPPProcessContainer> container;
  if (FAILED(OrvVekCommandServices::GetProcessContainer(container, nullptr))) return;
  for (const auto& root : container->GetRootActivities())
    if (auto events = query<TavISPPActivityModificationEvents>(root)) events->SendModification(kind);
}
