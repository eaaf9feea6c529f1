#include "OrvVekActivitySynchronisationCmd.h"

#include "TavFlow.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvVekActivitySynchronisation", "Traces for module OrvVekActivitySynchronisation");
  return t;
}
constexpr const char* kClass = "OrvVekActivitySynchronisationCmd";
using Dlg = OrvVekActivitySynchronisationDlg;

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekActivitySynchronisationCmd::kCatalog, key, {}, fallback);
}
int TypeOf(int selection) { return selection == Dlg::kEndEnd ? TavConstraintType::EndEnd : TavConstraintType::StartStart; }
TavUnicodeString Name(const Ref<TavBaseUnknown>& o, const char* missing) {
  auto a = query<TavISPPAbstractActivity>(o);
  TavUnicodeString label = a ? a->GetLabel() : TavUnicodeString();
  return label.IsEmpty() ? TavUnicodeString(missing) : label;
}
bool Holds(const Ref<TavISPPProcessConstraintsMgt>& c, const Ref<TavBaseUnknown>& other, int type) {
  for (auto& p : c->GetConstraints(type))
    if (SameObject(p, other)) return true;
  return false;
}
}  // namespace

OrvVekActivitySynchronisationCmd::OrvVekActivitySynchronisationCmd() : TavStateCommand("OrvVekActivitySynchronisationCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekActivitySynchronisationCmd() {
  return std::make_unique<OrvVekActivitySynchronisationCmd>();
}

OrvVekActivitySynchronisationCmd::~OrvVekActivitySynchronisationCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekActivitySynchronisationCmd");
  if (dialog_)
    for (auto* a : {okAgent_.get(), applyAgent_.get(), closeAgent_.get()})
      if (a) a->RemoveNotify(dialog_.get());
  dialog_.reset();
}

void OrvVekActivitySynchronisationCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekActivitySynchronisationCmd;
  firstAgent_ = std::make_unique<TavPathElementAgent>("FirstActivity");
  firstAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  secondAgent_ = std::make_unique<TavPathElementAgent>("SecondActivity");
  secondAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  secondAgent_->SetRepeatMode();
  secondAgent_->SetFilter([this](TavAcquisitionAgent* a) { return FilterActivity(a); });
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  applyAgent_ = std::make_unique<TavDialogAgent>("ApplyAgent");
  closeAgent_ = std::make_unique<TavDialogAgent>("CloseAgent");
  dialog_ = std::make_unique<Dlg>();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  applyAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Apply);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);

  auto* select = GetInitialState("SelectFirstActivity");
  auto* second = AddDialogState("SelectSecondActivity");
  select->AddDialogAgent(firstAgent_.get());
  second->AddDialogAgent(secondAgent_.get());
  second->AddDialogAgent(okAgent_.get());
  second->AddDialogAgent(applyAgent_.get());
  second->AddDialogAgent(closeAgent_.get());
  AddTransition(select, second, IsOutputSetCondition(firstAgent_.get()), Action(&Self::ShowDialog), {firstAgent_.get()});
  AddTransition(second, second, IsOutputSetCondition(secondAgent_.get()), Action(&Self::AddLinkToDialog), {secondAgent_.get()});
  AddTransition(second, second, IsOutputSetCondition(applyAgent_.get()), Action(&Self::CreateLinks), {applyAgent_.get()});
  AddTransition(second, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::CreateLinks));
  AddTransition(second, nullptr, IsOutputSetCondition(closeAgent_.get()), Action(&Self::CloseDialog));
}

void OrvVekActivitySynchronisationCmd::ReadPartners() {
  auto c = query<TavISPPProcessConstraintsMgt>(first_);
  for (int selection : {Dlg::kStartStart, Dlg::kEndEnd})
    dialog_->InitializeList(selection, c ? c->GetConstraints(TypeOf(selection)) : std::vector<Ref<TavBaseUnknown>>{});
}

bool OrvVekActivitySynchronisationCmd::ShowDialog() {
  TavTraceScope scope(Trace(), kClass, "ShowDialog");
  first_ = firstAgent_->GetValueObject();
  dialog_->SetFirstActivity(first_);
  dialog_->SetStartEndSelection(Dlg::kStartStart);
  ReadPartners();
  dialog_->SetVisibility(true);
  return true;
}

bool OrvVekActivitySynchronisationCmd::FilterActivity(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "FilterActivity");
  auto pick = static_cast<TavPathElementAgent*>(agent)->GetValueObject();
  const int shown = dialog_->GetStartEndSelection();
  const int other = shown == Dlg::kStartStart ? Dlg::kEndEnd : Dlg::kStartStart;
  auto refuse = [&](const TavUnicodeString& text) {
    agent->SetFilterMessage(text);
    return false;
  };
  if (SameObject(pick, first_)) return refuse(Msg("ToolTip.Text3", "An activity is not synchronised with itself."));
  if (dialog_->IsListed(shown, pick)) return refuse(Msg("ToolTip.Text1", "This activity is in the list already."));
  if (dialog_->IsListed(other, pick)) {
    TavUnicodeString text = Msg("ToolTip.Text2", "This activity is already in the list of the other tab:");
    text += TavUnicodeString(" ");
    text += other == Dlg::kStartStart ? Msg("ToolTip.Text21", "Start-Start.") : Msg("ToolTip.Text22", "End-End.");
    return refuse(text);
  }
  auto mine = query<TavISPPProcessConstraintsMgt>(first_);
  auto theirs = query<TavISPPProcessConstraintsMgt>(pick);
  const int type = TypeOf(shown);
  bool possible = mine && theirs && mine->IsConstraintPossible(pick, type) && theirs->IsConstraintPossible(first_, type);
  for (int selection : {Dlg::kStartStart, Dlg::kEndEnd}) {
    if (!possible) break;
    for (auto& listed : dialog_->GetList(selection)) {
      auto l = query<TavISPPProcessConstraintsMgt>(listed);
      if (theirs->HasIndirectConstraints(listed) || (l && l->HasIndirectConstraints(pick))) {
        possible = false;
        break;
      }
    }
  }
  if (!possible) return refuse(Msg("ToolTip.Text4", "These activities cannot be synchronised: they are constrained already."));
  return true;
}

bool OrvVekActivitySynchronisationCmd::AddLinkToDialog() {
  dialog_->AddToList(secondAgent_->GetValueObject());
  return true;
}

bool OrvVekActivitySynchronisationCmd::CreateLinks() {
  TavTraceScope scope(Trace(), kClass, "CreateLinks");
  CreateStartEndLinksInModel();
  // After Apply the lists show what the model holds, a failed pair included.
  ReadPartners();
  if (!okAgent_->IsValued()) return true;
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekActivitySynchronisationCmd::CreateStartEndLinksInModel() {
  return CreateLinksInModel(Dlg::kStartStart) && CreateLinksInModel(Dlg::kEndEnd);
}

bool OrvVekActivitySynchronisationCmd::CreateLinksInModel(int selection) {
  auto mine = query<TavISPPProcessConstraintsMgt>(first_);
  if (!mine) return false;
  const int type = TypeOf(selection);
  const std::vector<Ref<TavBaseUnknown>> current = mine->GetConstraints(type);
  auto isCurrent = [&](const Ref<TavBaseUnknown>& a) {
    for (auto& c : current)
      if (SameObject(c, a)) return true;
    return false;
  };
  for (auto& a : dialog_->GetList(selection))
    if (!isCurrent(a) && !CreateRemoveLinksInModel(type, a, true)) return false;
  for (auto& c : current)
    if (!dialog_->IsListed(selection, c) && !CreateRemoveLinksInModel(type, c, false)) return false;
  return true;
}

bool OrvVekActivitySynchronisationCmd::CreateRemoveLinksInModel(int type, const Ref<TavBaseUnknown>& other, bool add) {
  auto mine = query<TavISPPProcessConstraintsMgt>(first_);
  auto theirs = query<TavISPPProcessConstraintsMgt>(other);
  // Both sides or neither: a side written alone would leave the pair half made.
  TavSavepoint pair;
  bool ok = mine && theirs;
  if (ok && add) ok = SUCCEEDED(mine->AddConstraint(other, type)) && SUCCEEDED(theirs->AddConstraint(first_, type));
  if (ok && !add) {
    ok = SUCCEEDED(mine->RemoveConstraint(other, type));
    // The partner's side, when it holds one (a pair made elsewhere may lack it).
    if (ok && Holds(theirs, first_, type)) ok = SUCCEEDED(theirs->RemoveConstraint(first_, type));
  }
  if (ok) return true;
  pair.RollBack();
  DisplayErrorPrompt(other);
  return false;
}

void OrvVekActivitySynchronisationCmd::DisplayErrorPrompt(const Ref<TavBaseUnknown>& other) {
  TavUnicodeString text;
  auto part = [&](const TavUnicodeString& t) {
    if (!text.IsEmpty()) text += TavUnicodeString(" ");
    text += t;
  };
  part(Msg("ErrorWnd.Text1", "The synchronisation of"));
  part(Name(first_, "First Activity"));
  part(Msg("ErrorWnd.Text2", "with"));
  part(Name(other, "Second Activity"));
  part(Msg("ErrorWnd.Text3", "could not be written; that pair was left as it was."));
  if (auto e = TavError::TavGetLastError(E_FAIL)) part(e->GetNLSMessage());
  TavError::TavCleanLastError();
  TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
  box.DisplayBox(Msg("ErrorWnd.Title", "Error"), text);
  box.DisplayBlocked();
}

bool OrvVekActivitySynchronisationCmd::CloseDialog() {
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekActivitySynchronisationCmd::Cancel() {
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}
