#include "OrvVekCreateResourceCmd.h"

#include "TavCopy.h"
#include "TavPlanner.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCreateResourceTrace", "Traces for module OrvVekCreateResource");
  return t;
}
constexpr const char* kClass = "OrvVekCreateResourceCmd";

TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekCreateResourceCmd::kCatalog, key, params, fallback);
}

// The busy cursor while resources are made, off again however the making ends.
struct BusyCursor {
  BusyCursor() { TavApplicationFrame::SetBusyCursor(true); }
  ~BusyCursor() { TavApplicationFrame::SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

Ref<TavIResourceFactory> FactoryOf(const Ref<TavBaseUnknown>& object) {
  auto member = query<TavIDocumentMember>(object);
  auto doc = member ? member->GetDocument() : nullptr;
  return doc ? query<TavIResourceFactory>(doc->GetRootContainer(TavIResourceFactory::kInterfaceName)) : nullptr;
}
}  // namespace

OrvVekCreateResourceCmd::OrvVekCreateResourceCmd() : TavStateCommand("OrvVekCreateResourceCmd", 0, 64) {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekCreateResourceCmd() { return std::make_unique<OrvVekCreateResourceCmd>(); }

OrvVekCreateResourceCmd::~OrvVekCreateResourceCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekCreateResourceCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void OrvVekCreateResourceCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekCreateResourceCmd;
  auto* select = GetInitialState("SelectTarget");
  auto* enter = AddDialogState("EnterValues");
  targetAgent_ = std::make_unique<TavPathElementAgent>("Target");
  targetAgent_->SetElementType(TavIProduct::kInterfaceName);
  targetAgent_->SetBehavior(0x800800);
  targetAgent_->SetFilter([this](TavAcquisitionAgent* a) { return IsUnderResourceList(a); });
  AddCSOClient(targetAgent_.get());
  okAgent_ = std::make_unique<TavDialogAgent>("OK");
  cancelAgent_ = std::make_unique<TavDialogAgent>("Cancel");
  select->AddDialogAgent(targetAgent_.get());
  enter->AddDialogAgent(okAgent_.get());
  enter->AddDialogAgent(cancelAgent_.get());

  AddTransition(select, enter, IsOutputSetCondition(targetAgent_.get()), Action(&Self::ShowDialog));
  // A form that cannot make resources says why and stays open.
  AddTransition(enter, enter, AndCondition(IsOutputSetCondition(okAgent_.get()), Condition(&Self::IsFormInvalid)), nullptr,
                {okAgent_.get()});
  AddTransition(enter, nullptr, IsOutputSetCondition(okAgent_.get()),
                AndAction(Action(&Self::CreateResources), Action(&Self::HideDialog)));
  AddTransition(enter, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CancelDlg));
}

bool OrvVekCreateResourceCmd::AcceptsTarget(const Ref<TavBaseUnknown>& candidate) {
  auto product = query<TavIProduct>(candidate);
  if (!product || !product->IsResource()) return false;
  auto member = query<TavIDocumentMember>(product);
  auto doc = member ? member->GetDocument() : nullptr;
  auto list = doc ? query<TavIPPRResourceList>(doc->GetRootContainer(TavIPPRResourceList::kInterfaceName)) : nullptr;
  return list && list->Contains(product);
}

bool OrvVekCreateResourceCmd::IsUnderResourceList(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsUnderResourceList");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  auto leaf = a->GetValue().GetLeaf();
  if (AcceptsTarget(leaf)) return true;
  a->SetFilterMessage(Msg("NotUnderResourceList", "New resources go under a resource of the resource list."));
  return false;
}

bool OrvVekCreateResourceCmd::ShowDialog() {
  TavTraceScope scope(Trace(), kClass, "ShowDialog");
  target_ = query<TavIProduct>(targetAgent_->GetValue().GetLeaf());
  if (!dialog_) {
    dialog_ = std::make_unique<OrvVekResourceDlgBox>(nullptr);
    dialog_->Build();
    okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
    cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
    cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  }
  std::string error;
  if (!dialog_->FillCombo(&error))
    ShowErrorDlg(Msg("NoTypes", "The resource types cannot be offered: /P1", {TavUnicodeString(error)}));
  dialog_->SetVisibility(true);
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  return true;
}

bool OrvVekCreateResourceCmd::HideDialog() {
  TavTraceScope scope(Trace(), kClass, "HideDialog");
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}

bool OrvVekCreateResourceCmd::IsFormValid() { return dialog_ && dialog_->CheckValues().IsEmpty(); }

bool OrvVekCreateResourceCmd::IsFormInvalid() {
  if (!dialog_ || IsFormValid()) return false;
  ShowErrorDlg(dialog_->CheckValues());
  return true;
}

OrvVekResourceValues OrvVekCreateResourceCmd::FormValues() const {
  OrvVekResourceValues v;
  if (!dialog_) return v;
  v.name = dialog_->GetResourceName();
  v.category = dialog_->GetResourceCategory();
  v.type = dialog_->GetResourceType();
  v.quantity = dialog_->GetResourceQuantity();
  v.mtbf = dialog_->GetMTBF();
  v.mttr = dialog_->GetMTTR();
  return v;
}

bool OrvVekCreateResourceCmd::MakeResources(const Ref<TavIProduct>& target, const OrvVekResourceValues& values,
                                            std::vector<Ref<TavIProduct>>* made, TavUnicodeString* why) {
  auto fail = [&](TavUnicodeString reason) {
    if (why) *why = std::move(reason);
    if (made) made->clear();
    return false;
  };
  if (made) made->clear();
  if (!AcceptsTarget(target)) return fail(Msg("NotUnderResourceList", "New resources go under a resource of the resource list."));
  if (values.quantity < 1 || values.quantity > OrvVekResourceDlgBox::kMaxQuantity)
    return fail(Msg("BadQuantity", "The quantity /P1 is not between 1 and 5000.", {TavUnicodeString(std::to_string(values.quantity))}));
  auto collection = query<TavIAProducts>(target);
  auto factory = FactoryOf(target);
  if (!collection || !factory) return fail(Msg("NoFactory", "This document cannot make resources."));
  // All or none: a refusal half-way takes back the resources this OK already made.
  TavSavepoint mark;
  std::vector<Ref<TavIProduct>> out;
  out.reserve(static_cast<std::size_t>(values.quantity));
  for (int i = 0; i < values.quantity; ++i) {
    Ref<TavIProduct> product;
    HRESULT hr = collection->AddProduct(values.name, product);
    if (SUCCEEDED(hr) && product)
      hr = factory->MakeResource(product, values.name, values.type, values.category, values.mtbf, values.mttr);
    if (FAILED(hr) || !product) {
      mark.RollBack();
      return fail(Msg("Refused", "The host refused resource /P1 of /P2 named \"/P3\" of type \"/P4\"; none was made.",
                      {TavUnicodeString(std::to_string(i + 1)), TavUnicodeString(std::to_string(values.quantity)),
                       values.name, values.type}));
    }
    out.push_back(std::move(product));
  }
  if (made) *made = std::move(out);
  return true;
}

HRESULT OrvVekCreateResourceCmd::CreateOneResource(const Ref<TavIProduct>& product) {
  TavTraceScope scope(Trace(), kClass, "CreateOneResource");
  auto factory = FactoryOf(product);
  if (!factory) return E_FAIL;
  const OrvVekResourceValues v = FormValues();
  return factory->MakeResource(product, v.name, v.type, v.category, v.mtbf, v.mttr);
}

bool OrvVekCreateResourceCmd::CreateResources() {
  TavTraceScope scope(Trace(), kClass, "CreateResources");
  created_.clear();
  if (!dialog_ || !target_) {
    ShowErrorDlg();
    return true;
  }
  TavUnicodeString why;
  bool done = false;
  {
    BusyCursor busy;
    done = MakeResources(target_, FormValues(), &created_, &why);
    if (done)
      if (auto redraw = query<TavIRedrawEvent>(target_)) redraw->Redraw();
  }
  if (!done) ShowErrorDlg(why);
  return true;
}

bool OrvVekCreateResourceCmd::CancelDlg() {
  TavTraceScope scope(Trace(), kClass, "CancelDlg");
  return HideDialog();
}

bool OrvVekCreateResourceCmd::Cancel() {
  TavTraceScope scope(Trace(), kClass, "Cancel");
  HideDialog();
  return true;
}

void OrvVekCreateResourceCmd::ShowErrorDlg(const TavUnicodeString& reason) {
  TavTraceScope scope(Trace(), kClass, "ShowErrorDlg");
  TavDlgNotify box(nullptr, "CreateResource", TavDlgNotify::Error);
  box.DisplayBox(Msg("OrvVekCreateResourceCmd.ErrorWnd.Title", "Create Resource"),
                 Msg("OrvVekCreateResourceCmd.ErrorWnd.Text", "The resources could not be created. /P1", {reason}));
  box.DisplayBlocked();
}
