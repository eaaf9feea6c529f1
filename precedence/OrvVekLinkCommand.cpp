#include "OrvVekLinkCommand.h"

#include <cstdio>
#include <cstdlib>

#include "OrvVekCommandServices.h"
#include "OrvVekLinkActServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekLinkCommand", "Traces for module OrvVekLinkCommand");
  return t;
}
constexpr const char* kClass = "OrvVekLinkCommand";
// Preselection highlighting while the agent waits.
constexpr int kPreselectBehavior = 0x800;

TavUnicodeString Msg(const std::string& key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekLinkCommand::kCatalog, key, params, fallback);
}

TavUnicodeString NameOf(const Ref<TavBaseUnknown>& node) { return OrvVekCommandServices::GetDisplayName(node).Strip(); }

// Exactly one neighbour of type "Activity" on one side, and the node is none of the given types.
bool SingleActivityNeighbour(const Ref<TavBaseUnknown>& node, bool next, const char* type1, const char* type2) {
  auto flow = query<TavISPPFlowMgt>(node);
  if (!flow) return false;
  const TavUnicodeString type = flow->GetNodeType();
  if (type == type1 || type == type2) return false;
  return (next ? flow->GetNextNodes("Activity") : flow->GetPreviousNodes("Activity")).size() == 1;
}
}  // namespace

OrvVekLinkCommand::OrvVekLinkCommand(std::string name) : TavStateCommand(std::move(name)) {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekLinkCommand() { return std::make_unique<OrvVekLinkCommand>(); }

OrvVekLinkCommand::~OrvVekLinkCommand() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekLinkCommand");
  if (dialog_ && choiceAgent_) choiceAgent_->RemoveNotify(dialog_.get());
  dialog_.reset();
}

void OrvVekLinkCommand::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekLinkCommand;
  chain_ = GetArgument() != "SingleShot";
  pickAgent_ = std::make_unique<TavPathElementAgent>("ActivityAcquistion");
  pickAgent_->AddElementType(TavISPPFlowMgt::kInterfaceName);
  pickAgent_->SetBehavior(kPreselectBehavior);
  choiceAgent_ = std::make_unique<TavDialogAgent>("Choice");

  auto* initial = GetInitialState("GetInitialActivity");
  auto* next = AddDialogState("GetNextActivity");
  auto* choice = AddDialogState("GetUserChoice");
  auto* link = AddDialogState("LinkActivities");
  initial->AddDialogAgent(pickAgent_.get());
  next->AddDialogAgent(pickAgent_.get());
  choice->AddDialogAgent(choiceAgent_.get());
  initial->SetEntryAction([this] { ClearSelection(); });
  choice->SetEntryAction([this] { ActivateUserPanel(); });
  choice->SetExitAction([this] {
    if (dialog_) dialog_->SetVisibility(false);
  });
  link->SetEntryAction([this] { Link(); });

  // Evaluated in this order; the first that holds fires.
  const TavCondition picked = IsOutputSetCondition(pickAgent_.get());
  const std::vector<TavAgent*> reset{pickAgent_.get()};
  auto refused = [&](bool (Self::*test)()) { return AndCondition(picked, NotCondition(Condition(test))); };
  AddTransition(initial, initial, refused(&Self::CanLinkFromSelection), Message("WrongFirstSelection"), reset);
  AddTransition(initial, next, picked, Action(&Self::AcceptFirstSelection), reset);
  AddTransition(next, next, refused(&Self::ActivitiesDiffer), Message("CannotLinkToItself"), reset);
  AddTransition(next, next, refused(&Self::CanLinkToSelection), Message("WrongNextSelection"), reset);
  AddTransition(next, next, AndCondition(picked, Condition(&Self::LinkToSelectionRedundant)), Message("AlreadyLinked"), reset);
  AddTransition(next, next, refused(&Self::IsHierachyCorrect), Message("BadHierachy"), reset);
  AddTransition(next, next, refused(&Self::IsPrecedenceCorrect), Message("Error"), reset);
  AddTransition(next, choice, AndCondition(picked, Condition(&Self::IsCardinalityAmbiguous)), Action(&Self::InitializeUserPanel),
                reset);
  AddTransition(next, link, picked, Action(&Self::AcceptNextSelection), reset);
  // The choice dialog is made on first use; its transitions stand from the start,
  // as the engine must not see its table grow while it walks it.
  auto* agent = choiceAgent_.get();
  auto ok = [agent] { return agent->IsValued() && agent->GetLastNotification() == TavDlgNotification::OK; };
  AddTransition(choice, link, ok, Action(&Self::UpdateWithUserChoice), {agent});
  AddTransition(choice, next, IsOutputSetCondition(agent), nullptr, {agent});
  AddTransition(link, nullptr, AndCondition([this] { return chain_; }, Condition(&Self::TargetCannotBeSource)),
                Action(&Self::ClearSelection));
  AddTransition(link, next, [this] { return chain_; }, Action(&Self::SwitchSelection), reset);
  AddTransition(link, nullptr, [this] { return !chain_; }, Action(&Self::ClearSelection));
}

TavAction OrvVekLinkCommand::Message(const char* key) {
  return [this, key] {
    DisplayMessageBox(key);
    return true;
  };
}

Ref<TavBaseUnknown> OrvVekLinkCommand::Picked() const { return pickAgent_ ? pickAgent_->GetValueObject() : nullptr; }

bool OrvVekLinkCommand::CanLinkFromSelection() {
  TavTraceScope scope(Trace(), kClass, "CanLinkFromSelection");
  return TavSPPLinkServices::CanLinkFrom(Picked()) == 0;
}

bool OrvVekLinkCommand::ActivitiesDiffer() {
  TavTraceScope scope(Trace(), kClass, "ActivitiesDiffer");
  return !SameObject(Picked(), Current().First);
}

bool OrvVekLinkCommand::CanLinkToSelection() {
  TavTraceScope scope(Trace(), kClass, "CanLinkToSelection");
  if (TavSPPLinkServices::CanLinkTo(Picked()) != 0) return false;
  return std::getenv(kAllowCycles) != nullptr || IsControlFlowPossible();
}

bool OrvVekLinkCommand::IsControlFlowPossible() {
  TavTraceScope scope(Trace(), kClass, "IsControlFlowPossible");
  // Over every kind of flow node: a control node between two activities is part of
  // the path that the new link would close.
  const auto pick = Picked();
  for (const auto& p : OrvVekLinkActServices::GetAllPredecessorsFromControlFlow(Current().First))
    if (SameObject(p, pick)) return false;
  return true;
}

bool OrvVekLinkCommand::LinkToSelectionRedundant() {
  TavTraceScope scope(Trace(), kClass, "LinkToSelectionRedundant");
  const auto pick = Picked();
  const auto& first = Current().First;
  return TavSPPLinkServices::AreAllreadyLinked(first, pick) == 0 || TavSPPLinkServices::AreAllreadyLinked(pick, first) == 0;
}

bool OrvVekLinkCommand::IsHierachyCorrect() {
  TavTraceScope scope(Trace(), kClass, "IsHierachyCorrect");
  return TavSPPLinkServices::LinkViolatesHierachy(Current().First, Picked()) == 1;
}

bool OrvVekLinkCommand::IsPrecedenceCorrect() {
  TavTraceScope scope(Trace(), kClass, "IsPrecedenceCorrect");
  const HRESULT hr = TavSPPLinkServices::IsLinkOkForPrecedence(Current().First, Picked());
  if (hr == 0) return true;
  keptError_ = TavError::TavGetLastError(hr);  // may be null: the code is shown then
  keptCode_ = hr;
  TavError::TavCleanLastError();
  return false;
}

bool OrvVekLinkCommand::IsCardinalityAmbiguous() {
  TavTraceScope scope(Trace(), kClass, "IsCardinalityAmbiguous");
  return SingleActivityNeighbour(Current().First, true, "Switch", "AndOut") ||
         SingleActivityNeighbour(Picked(), false, "OrIn", "AndIn");
}

bool OrvVekLinkCommand::TargetCannotBeSource() { return TavSPPLinkServices::CanLinkFrom(target_) != 0; }

bool OrvVekLinkCommand::ClearSelection() {
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  return true;
}

bool OrvVekLinkCommand::AcceptFirstSelection() {
  TavTraceScope scope(Trace(), kClass, "AcceptFirstSelection");
  if (auto ed = TavFrmEditor::GetCurrentEditor()) {
    ed->GetCSO().Empty();
    ed->GetCSO().AddElement(pickAgent_->GetValue());
  }
  Current().First = Picked();
  return true;
}

bool OrvVekLinkCommand::AcceptNextSelection() {
  TavTraceScope scope(Trace(), kClass, "AcceptNextSelection");
  target_ = Picked();
  targetPath_ = pickAgent_->GetValue();
  Current().Second = target_;
  return true;
}

bool OrvVekLinkCommand::InitializeUserPanel() {
  TavTraceScope scope(Trace(), kClass, "InitializeUserPanel");
  if (!dialog_) {
    dialog_ = std::make_unique<OrvVekLinkDialog>();
    for (const char* n : {TavDlgNotification::OK, TavDlgNotification::Cancel, TavDlgNotification::Close})
      choiceAgent_->AcceptOnNotify(dialog_.get(), n);
  }
  target_ = Picked();
  targetPath_ = pickAgent_->GetValue();
  LinkStep& r = Current();
  r.FirstNeedChoice = SingleActivityNeighbour(r.First, true, "Switch", "AndOut") ? 1 : 0;
  r.SecondNeedChoice = SingleActivityNeighbour(target_, false, "OrIn", "AndIn") ? 1 : 0;
  r.AddASwitch = r.AddAnOrIn = 0;
  return true;
}

void OrvVekLinkCommand::ActivateUserPanel() {
  TavTraceScope scope(Trace(), kClass, "ActivateUserPanel");
  if (!dialog_) return;
  const LinkStep& r = Current();
  dialog_->UpdateDialog(NameOf(r.First), r.FirstNeedChoice, r.AddASwitch, NameOf(target_), r.SecondNeedChoice, r.AddAnOrIn);
  dialog_->SetVisibility(true);
}

bool OrvVekLinkCommand::UpdateWithUserChoice() {
  TavTraceScope scope(Trace(), kClass, "UpdateWithUserChoice");
  LinkStep& chosen = Current();
  if (dialog_) dialog_->GetData(&chosen.AddASwitch, &chosen.AddAnOrIn);
  chosen.Second = target_;
  LinkStep& r = history_.AddLCS();
  if (!r.AddASwitch && !r.AddAnOrIn) return true;
  // The inserted nodes belong to this link: a link that then fails takes them back.
  insertMark_ = std::make_unique<TavSavepoint>();
  Ref<TavBaseUnknown> made;
  if (r.AddASwitch && SUCCEEDED(TavSPPLinkServices::InsertSwitchAfter(r.First, made)) && made) r.First = made;
  made = nullptr;
  if (r.AddAnOrIn && SUCCEEDED(TavSPPLinkServices::InsertOrInBefore(r.Second, made)) && made) r.Second = made;
  return true;
}

bool OrvVekLinkCommand::SwitchSelection() {
  TavTraceScope scope(Trace(), kClass, "SwitchSelection");
  LinkStep& r = history_.AddLCS();
  if (auto ed = TavFrmEditor::GetCurrentEditor()) {
    ed->GetCSO().Empty();
    if (!targetPath_.IsEmpty()) ed->GetCSO().AddElement(targetPath_);
  }
  r.First = target_;
  r.Second = nullptr;
  return true;
}

bool OrvVekLinkCommand::Link() { return BaseLink(); }

void OrvVekLinkCommand::AbandonInsertions() {
  if (!insertMark_) return;
  insertMark_->RollBack();
  insertMark_.reset();
  // The record names the nodes the link was meant for again.
  LinkStep& r = Current();
  if (r.Previous) r.First = r.Previous->First;
  r.Second = target_;
}

bool OrvVekLinkCommand::BaseLink() {
  TavTraceScope scope(Trace(), kClass, "Link");
  const LinkStep& r = Current();
  const HRESULT hr = TavSPPLinkServices::Link(r.First, r.Second);
  if (SUCCEEDED(hr)) {
    insertMark_.reset();
    return true;
  }
  TavUnicodeString reason;
  OrvVekLinkActServices::GetNLSError(hr, reason);
  AbandonInsertions();
  DisplayMessageBox(TargetCannotBeSource() ? "FailedAndExit" : "LinkFailed", {reason});
  return false;
}

void OrvVekLinkCommand::DisplayMessageBox(const std::string& key, const std::vector<TavUnicodeString>& params) {
  TavTraceScope scope(Trace(), kClass, "DisplayMessageBox");
  TavDlgNotify box(nullptr, key.empty() ? "Unexpected" : key, TavDlgNotify::Error);
  if (key == "Error") {
    if (keptError_) {
      TavUnicodeString text = keptError_->GetNLSMessage();
      if (!keptError_->GetNLSRequest().IsEmpty()) {
        if (!text.EndsWith(".")) text += ".";
        text += " " + keptError_->GetNLSRequest();
      }
      box.DisplayBox(keptError_->GetNLSHeading(), text);
      keptError_.reset();
    } else {
      char code[16];
      std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(keptCode_));
      box.DisplayBox(Msg("Error.Title", "Error"), Msg("Error.NoReason", "SomethingWentWrong", {TavUnicodeString(code)}));
    }
  } else {
    box.DisplayBox(Msg(key + ".Title", "Error"), Msg(key + ".Message", "SomethingWentWrong", params));
  }
  box.DisplayBlocked();
}
