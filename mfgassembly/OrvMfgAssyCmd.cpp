#include "OrvMfgAssyCmd.h"

#include "OrvVekMfgAssyUtilities.h"
#include "OrvVekServices.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvMfgAssy", "Traces for module OrvMfgAssy");
  return t;
}
constexpr const char* kClass = "OrvMfgAssyCmd";
using Utils = OrvVekMfgAssyUtilities;
}  // namespace

OrvMfgAssyCmd::OrvMfgAssyCmd(Ref<OrvIMfgAssembly> ma) : OrvMfgAssyCmd("OrvMfgAssyCmd", std::move(ma)) {}

OrvMfgAssyCmd::OrvMfgAssyCmd(std::string className, Ref<OrvIMfgAssembly> ma)
    : TavStateCommand(std::move(className)), current_(std::move(ma)), edit_(current_ != nullptr) {}

std::unique_ptr<TavStateCommand> fctCreateOrvMfgAssyCmd() { return std::make_unique<OrvMfgAssyCmd>(); }

OrvMfgAssyCmd::~OrvMfgAssyCmd() {
  if (dialogAgent_ && dialog_) {
    dialogAgent_->RemoveNotify(dialog_.get());
    dialogAgent_->RemoveNotify(dialog_->RemovePartsButton());
  }
  dialog_.reset();
}

TavUnicodeString OrvMfgAssyCmd::Msg(const std::string& key, const char* fallback,
                                    const std::vector<TavUnicodeString>& params) {
  return TavMsgCatalog::BuildMessage(kCatalog, key, params, fallback);
}

TavUnicodeString OrvMfgAssyCmd::DefaultName() const { return Msg(Title(), Title()) + " NoName"; }

void OrvMfgAssyCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvMfgAssyCmd;
  selectAgent_ = std::make_unique<TavPathElementAgent>("SelectPart");
  selectAgent_->AddElementType(TavIProduct::kInterfaceName);
  selectAgent_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  selectAgent_->SetFilter([this](TavAcquisitionAgent* a) {
    TavUnicodeString why;
    if (ProductFilter(selectAgent_->GetValueObject(), &why)) return true;
    a->SetFilterMessage(why);
    return false;
  });
  if (TakesSelection()) AddCSOClient(selectAgent_.get());

  dialog_ = std::make_unique<OrvMfgAssyDialog>(DialogMode());
  dialog_->Build();
  dialogAgent_ = std::make_unique<TavDialogAgent>("MfgAssyDlg");
  for (const char* n : {TavDlgNotification::OK, TavDlgNotification::Apply, TavDlgNotification::Cancel,
                        TavDlgNotification::Close})
    dialogAgent_->AcceptOnNotify(dialog_.get(), n);
  dialogAgent_->AcceptOnNotify(dialog_->RemovePartsButton(), TavDlgNotification::Activate);

  auto* state = AddDialogState(InitialStateName());
  TavDialogState* lead = BuildLeadingStates(state);
  state->AddDialogAgent(selectAgent_.get());
  state->AddDialogAgent(dialogAgent_.get());
  auto* s = selectAgent_.get();
  auto* d = dialogAgent_.get();
  auto on = [this, d](const char* n) { return AndCondition(IsOutputSetCondition(d), [this, n] { return IsNotification(n); }); };
  AddTransition(state, state, IsOutputSetCondition(s), Action(&Self::OnPartsSelected), {s});
  AddTransition(state, state, on(TavDlgNotification::Apply), Action(&Self::ClickApplyOnDialog), {d});
  AddTransition(state, nullptr, on(TavDlgNotification::OK), Action(&Self::ClickOKOnDialog), {d});
  AddTransition(state, nullptr, OrCondition(on(TavDlgNotification::Cancel), on(TavDlgNotification::Close)),
                Action(&Self::ClickCancelOnDialog), {d});
  AddTransition(state, state, on(TavDlgNotification::Activate), Action(&Self::ClickRemoveParts), {d});

  RefreshLists();
  if (edit_) InitializeDialog(current_);
  if (!lead) dialog_->SetVisibility(true);
}

bool OrvMfgAssyCmd::IsNotification(const char* notification) const {
  return dialogAgent_->GetLastNotification() == notification;
}

// ------------------------------------------------------------------ picks
bool OrvMfgAssyCmd::ProductFilter(const Ref<TavBaseUnknown>& object, TavUnicodeString* why) {
  TavUnicodeString reason;
  bool ok = false;
  if (auto ma = query<OrvIMfgAssembly>(object)) ok = AcceptAssembly(ma, reason);
  else if (auto product = query<TavIProduct>(object)) ok = AcceptProduct(product, reason);
  else reason = Msg("OrvMfgAssyCmd.NotAPart", "Pick a product or a manufactured assembly.");
  if (!ok && why) *why = reason;
  return ok;
}

bool OrvMfgAssyCmd::AcceptProduct(const Ref<TavIProduct>& product, TavUnicodeString& why) {
  if (Utils::IsUnderResourceRoot(product)) {
    why = Msg("OrvMfgAssyCmd.ResourceRefused", "A resource cannot be part of a manufactured assembly.");
    return false;
  }
  TavUnicodeString id;
  if (OrvVekServices::IsZarnetSession() && (FAILED(OrvPLMServices::GetPLMID(product, id)) || id.IsEmpty())) {
    why = Msg("OrvMfgAssyCmd.NoPLMID", "/P1 is not known to the hub (no PLM identifier).", {product->GetName()});
    return false;
  }
  return true;
}

bool OrvMfgAssyCmd::AcceptAssembly(const Ref<OrvIMfgAssembly>& ma, TavUnicodeString& why) {
  // The assembly being edited cannot take itself or an assembly that holds it.
  if (current_ && Utils::Reaches(ma, current_)) {
    why = Msg("OrvMfgAssyCmd.CycleRefused", "/P1 cannot be put into /P2: it is or contains /P2.",
              {ma->GetName(), current_->GetName()});
    return false;
  }
  return true;
}

bool OrvMfgAssyCmd::OnPartsSelected() {
  TavTraceScope scope(Trace(), kClass, "OnPartsSelected");
  // A selection taken at start reaches the agent untested: every pick passes the filter here.
  for (const auto& pick : selectAgent_->GetListOfValues()) {
    auto object = pick.GetLeaf();
    if (!ProductFilter(object)) continue;
    content_.Toggle(object, Utils::GetDisplayName(object), TypeTextOf(object));
  }
  content_.Settle();
  dialog_->ResetSelectAllChkBx();
  RefreshLists();
  dialog_->SetAPPLYSensitive(true);
  return true;
}

void OrvMfgAssyCmd::RefreshLists() {
  dialog_->SetPartsList(content_.Names());
  dialog_->SetPreviewList(content_.Objects(), true);
}

bool OrvMfgAssyCmd::ClickRemoveParts() {
  TavTraceScope scope(Trace(), kClass, "ClickRemoveParts");
  std::vector<int> rows;
  int count = 0;
  dialog_->GetSelectedParts(rows, count);
  if (count == 0) return true;
  content_.RemoveRows(rows);
  RefreshLists();
  dialog_->SetAPPLYSensitive(true);
  dialog_->ResetSelectAllChkBx();
  return true;
}

void OrvMfgAssyCmd::InitializeDialog(const Ref<OrvIMfgAssembly>& ma) {
  TavTraceScope scope(Trace(), kClass, "InitializeDialog");
  std::vector<Ref<TavBaseUnknown>> parts;
  if (ma) ma->GetParts(parts);
  content_.Clear();
  for (const auto& p : parts) content_.Add(p, Utils::GetDisplayName(p), TypeTextOf(p));
  dialog_->InitInEdit(ma ? ma->GetName() : TavUnicodeString(), ma ? ma->GetPartNumber() : TavUnicodeString(),
                      content_.Objects(), content_.Names());
  RefreshLists();
  if (ma) dialog_->SelectPlanType(ma->GetPlanType());
  dialog_->SetAPPLYSensitive(false);
}

// ------------------------------------------------------------------ dialog buttons
bool OrvMfgAssyCmd::ClickApplyOnDialog() {
  TavTraceScope scope(Trace(), kClass, "ClickApplyOnDialog");
  bool ok = false;
  if (edit_) {
    if (!saved_.taken) SaveForRollBack();
    ok = UpdateMfgAssembly(current_);
  } else {
    ok = CreateMfgAssembly();
  }
  selectAgent_->InitializeAcquisition();
  if (ok) dialog_->SetAPPLYSensitive(false);
  return true;
}

bool OrvMfgAssyCmd::ClickOKOnDialog() {
  TavTraceScope scope(Trace(), kClass, "ClickOKOnDialog");
  const TavUnicodeString name = dialog_->GetMAName();
  const TavUnicodeString currentName = current_ ? current_->GetName() : TavUnicodeString();
  bool ok = false;
  // Without a current assembly there is nothing to update: OK creates one.
  if (current_ && (edit_ || name == currentName)) ok = UpdateMfgAssembly(current_);
  else if (!current_ || currentName != DefaultName()) ok = CreateMfgAssembly();
  else ok = UpdateMfgAssembly(current_);
  if (!ok) {
    // The dialog stays as it was, waiting for another try or Cancel.
    dialogAgent_->InitializeAcquisition();
    return false;
  }
  finished_ = true;
  dialog_->SetVisibility(false);
  if (auto* box = dialog_->PartNumberBox()) box->SetVisibility(false);
  return true;
}

bool OrvMfgAssyCmd::ClickCancelOnDialog() {
  TavTraceScope scope(Trace(), kClass, "ClickCancelOnDialog");
  RollBack();
  dialog_->SetVisibility(false);
  if (auto* box = dialog_->PartNumberBox()) box->SetVisibility(false);
  return true;
}

bool OrvMfgAssyCmd::Cancel() {
  if (dialog_) ClickCancelOnDialog();
  return true;
}

// ------------------------------------------------------------------ model changes
TavUnicodeString OrvMfgAssyCmd::NameFromDialog() const {
  TavUnicodeString name = dialog_->GetMAName();
  return name.IsEmpty() ? DefaultName() : name;
}

void OrvMfgAssyCmd::ShowError(const std::string& key, const char* fallback, const std::vector<TavUnicodeString>& params) {
  TavDlgNotify box(nullptr, "OrvMfgAssyError", TavDlgNotify::Error);
  box.DisplayBox(Msg("OrvMfgAssyCmd.ErrorTitle", "Error"), Msg(key, fallback, params));
  box.DisplayBlocked();
}

bool OrvMfgAssyCmd::EmptyContent(const Ref<OrvIMfgAssembly>& ma) {
  std::vector<Ref<TavBaseUnknown>> parts;
  ma->GetParts(parts);
  for (auto it = parts.rbegin(); it != parts.rend(); ++it)
    if (FAILED(ma->RemovePart(*it))) return false;
  return true;
}

HRESULT OrvMfgAssyCmd::CreateNew(Ref<OrvIMfgAssembly>& out) {
  if (FAILED(OrvEMfgAssemblyFactory::CreateMfgAssembly(out, MarksNotDirectlyChangeable())) || !out) return E_FAIL;
  for (const auto& o : content_.Objects())
    if (FAILED(out->AddPart(o))) return E_FAIL;
  return S_OK;
}

void OrvMfgAssyCmd::SetValues(const Ref<OrvIMfgAssembly>& ma, const TavUnicodeString& name) {
  ma->SetName(name);
  ma->SetPartNumber(dialog_->GetMAPartNumber());
}

bool OrvMfgAssyCmd::CreateMfgAssembly() {
  TavTraceScope scope(Trace(), kClass, "CreateMfgAssembly");
  TavSavepoint mark;
  Ref<OrvIMfgAssembly> ma;
  if (FAILED(CreateNew(ma)) || !ma) {
    mark.RollBack();
    ShowError("OrvMfgAssyCmd.CreateFailed", "The manufactured assembly could not be created; nothing was changed.");
    return false;
  }
  SetValues(ma, NameFromDialog());
  current_ = ma;
  created_.push_back(ma);
  Utils::RedrawMAContainer();
  Utils::RedrawMA(ma);
  return true;
}

bool OrvMfgAssyCmd::UpdateMfgAssembly(const Ref<OrvIMfgAssembly>& ma) {
  TavTraceScope scope(Trace(), kClass, "UpdateMfgAssembly");
  // Checked before anything changes: an assembly cannot hold itself.
  for (const auto& o : content_.Objects())
    if (auto sub = query<OrvIMfgAssembly>(o); sub && Utils::Reaches(sub, ma)) {
      ShowError("OrvMfgAssyCmd.CycleRefused", "/P1 cannot be put into /P2: it is or contains /P2.",
                {sub->GetName(), ma->GetName()});
      return false;
    }
  TavSavepoint mark;
  bool ok = EmptyContent(ma);
  for (const auto& o : content_.Objects()) {
    if (!ok) break;
    ok = SUCCEEDED(ma->AddPart(o));
  }
  if (!ok) {
    mark.RollBack();
    ShowError("OrvMfgAssyCmd.UpdateFailed", "/P1 could not be updated; nothing was changed.", {ma->GetName()});
    return false;
  }
  SetValues(ma, NameFromDialog());
  Utils::RedrawMAContainer();
  Utils::RedrawMA(ma);
  return true;
}

void OrvMfgAssyCmd::SaveForRollBack() {
  saved_.taken = true;
  saved_.name = current_->GetName();
  saved_.partNumber = current_->GetPartNumber();
  saved_.planType = current_->GetPlanType();
  saved_.type = current_->GetType();
  current_->GetParts(saved_.content);
}

void OrvMfgAssyCmd::RollBack() {
  if (finished_) return;
  finished_ = true;
  if (edit_) {
    // Nothing was changed before the first Apply: nothing to give back.
    if (!saved_.taken || !current_) return;
    current_->SetName(saved_.name);
    current_->SetPartNumber(saved_.partNumber);
    if (current_->GetPlanType() != saved_.planType) current_->SetPlanType(saved_.planType);
    if (current_->GetType() != saved_.type) current_->SetType(saved_.type);
    EmptyContent(current_);
    for (const auto& o : saved_.content) current_->AddPart(o);
    Utils::RedrawMAContainer();
    Utils::RedrawMA(current_);
    return;
  }
  for (auto it = created_.rbegin(); it != created_.rend(); ++it) OrvEMfgAssemblyFactory::RemoveMfgAssembly(*it);
  if (!created_.empty()) Utils::RedrawMAContainer();
  created_.clear();
  current_ = nullptr;
}
