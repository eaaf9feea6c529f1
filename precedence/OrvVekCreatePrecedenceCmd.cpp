#include "OrvVekCreatePrecedenceCmd.h"

#include <unordered_set>

#include "OrvVekCommandServices.h"
#include "TavFlow.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCreatePrecedence", "Traces for module OrvVekCreatePrecedence");
  return t;
}
constexpr const char* kClass = "OrvVekCreatePrecedenceCmd";

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekCreatePrecedenceCmd::kCatalog, key, {}, fallback);
}

bool IsAssemblyOperation(const Ref<TavBaseUnknown>& o) {
  auto a = query<TavISPPActivity>(o);
  return a && a->GetTypeName() == "AssemblyOperation";
}

bool Contains(const std::vector<Ref<TavBaseUnknown>>& list, const Ref<TavBaseUnknown>& o) {
  for (const auto& e : list)
    if (SameObject(e, o)) return true;
  return false;
}

void ShowError(const TavUnicodeString& text) {
  TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
  box.DisplayBox(Msg("OrvVekCreatePrecedenceCmd.ErrorWnd.Title", "Error"), text);
  box.DisplayBlocked();
}
}  // namespace

OrvVekCreatePrecedenceCmd::OrvVekCreatePrecedenceCmd() : TavStateCommand("OrvVekCreatePrecedenceCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekCreatePrecedenceCmd() { return std::make_unique<OrvVekCreatePrecedenceCmd>(); }

void OrvVekCreatePrecedenceCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekCreatePrecedenceCmd;
  initialAgent_ = std::make_unique<TavPathElementAgent>("InitialActivity");
  initialAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  nextAgent_ = std::make_unique<TavPathElementAgent>("NextActivity");
  nextAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  nextAgent_->SetFilter([this](TavAcquisitionAgent* a) { return FilterActivity(a); });
  auto* initial = GetInitialState("GetInitialActivity");
  auto* next = AddDialogState("GetNextActivity");
  initial->AddDialogAgent(initialAgent_.get());
  next->AddDialogAgent(nextAgent_.get());
  auto* ia = initialAgent_.get();
  auto* na = nextAgent_.get();
  AddTransition(initial, initial, AndCondition(IsOutputSetCondition(ia), Condition(&Self::InitialIsAssemblyOperation)),
                Action(&Self::RefuseInitial), {ia});
  AddTransition(initial, next, IsOutputSetCondition(ia), Action(&Self::OnActSelected), {ia});
  AddTransition(next, next, AndCondition(IsOutputSetCondition(na), Condition(&Self::NextIsAssemblyOperation)),
                Action(&Self::RefuseNext), {na});
  AddTransition(next, nullptr, IsOutputSetCondition(na), Action(&Self::CreatePrecedenceConstraint), {na});
}

bool OrvVekCreatePrecedenceCmd::InitialIsAssemblyOperation() { return IsAssemblyOperation(initialAgent_->GetValueObject()); }
bool OrvVekCreatePrecedenceCmd::NextIsAssemblyOperation() { return IsAssemblyOperation(nextAgent_->GetValueObject()); }

bool OrvVekCreatePrecedenceCmd::RefuseInitial() {
  PrecedenceErrorMessage(initialAgent_->GetValue());
  return true;
}

bool OrvVekCreatePrecedenceCmd::RefuseNext() {
  PrecedenceErrorMessage(nextAgent_->GetValue());
  return true;
}

void OrvVekCreatePrecedenceCmd::PrecedenceErrorMessage(const TavPathElement& pick) {
  TavTraceScope scope(Trace(), kClass, "PrecedenceErrorMessage");
  ShowError(Msg("OrvVekCreatePrecedenceCmd.PrecedenceErrorWnd.ErrorMsg", "An assembly operation cannot take a precedence constraint.") +
            " " + Msg("OrvVekCreatePrecedenceCmd.ErrorWnd.Text4", "Pick another activity."));
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetHSO().RemoveElement(pick);
}

bool OrvVekCreatePrecedenceCmd::OnActSelected() {
  TavTraceScope scope(Trace(), kClass, "OnActSelected");
  first_ = initialAgent_->GetValueObject();
  return true;
}

bool OrvVekCreatePrecedenceCmd::FilterActivity(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "FilterActivity");
  auto next = static_cast<TavPathElementAgent*>(agent)->GetValueObject();
  if (!SameObject(next, first_) && IsConstraintPossible(first_, next)) return true;
  agent->SetFilterMessage(Msg("OrvVekCreatePrecedenceCmd.Filter.Message",
                              "this activity cannot follow the first one: they are the same, constrained with each other, "
                              "linked, or it already comes before it"));
  return false;
}

std::vector<Ref<TavBaseUnknown>> OrvVekCreatePrecedenceCmd::GetAllPredecessors(const Ref<TavBaseUnknown>& a) {
  TavTraceScope scope(Trace(), kClass, "GetAllPredecessors");
  std::vector<Ref<TavBaseUnknown>> out;
  std::unordered_set<const void*> seen;
  auto visit = [&](const Ref<TavBaseUnknown>& node) {
    auto add = [&](std::vector<Ref<TavBaseUnknown>>&& list) {
      for (auto& p : list)
        if (p && seen.insert(dynamic_cast<const void*>(p.get())).second) out.push_back(std::move(p));
    };
    if (auto prec = query<TavISPPPrecedenceMgt>(node)) add(prec->GetPrecedences());
    if (auto flow = query<TavISPPFlowMgt>(node)) add(flow->GetPreviousNodes("Activity"));
  };
  visit(a);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const Ref<TavBaseUnknown> node = out[i];  // visiting grows `out`
    visit(node);
  }
  return out;
}

bool OrvVekCreatePrecedenceCmd::IsConstraintPossible(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  TavTraceScope scope(Trace(), kClass, "IsConstraintPossible");
  if (!a || !b || SameObject(a, b)) return false;
  auto ca = query<TavISPPProcessConstraintsMgt>(a), cb = query<TavISPPProcessConstraintsMgt>(b);
  if (ca && Contains(ca->GetConstraints(), b)) return false;
  if (cb && Contains(cb->GetConstraints(), a)) return false;
  if (auto flow = query<TavISPPFlowMgt>(a); flow && Contains(flow->GetNextNodes("Activity"), b)) return false;
  return !Contains(GetAllPredecessors(a), b);
}

bool OrvVekCreatePrecedenceCmd::CreatePrecedenceConstraint() {
  TavTraceScope scope(Trace(), kClass, "CreatePrecedenceConstraint");
  auto second = nextAgent_->GetValueObject();
  auto prec = query<TavISPPPrecedenceMgt>(second);
  bool made = false;
  if (prec && Contains(prec->GetAllowedPredecessors(), first_) && !Contains(prec->GetPrecedences(), first_))
    made = prec->AddPrecedence(first_) == S_OK;
  if (!made) {
    auto name = [](const Ref<TavBaseUnknown>& o) { return OrvVekCommandServices::GetDisplayName(o).Strip(); };
    // The pieces are whole words; the blanks between them are the window's.
    ShowError(Msg("OrvVekCreatePrecedenceCmd.ErrorWnd.Text1", "The precedence constraint from") + " " + name(first_) + " " +
              Msg("OrvVekCreatePrecedenceCmd.ErrorWnd.Text2", "to") + " " + name(second) + " " +
              Msg("OrvVekCreatePrecedenceCmd.ErrorWnd.Text3", "cannot be created.") + " " +
              Msg("OrvVekCreatePrecedenceCmd.ErrorWnd.Text4", "Pick another activity."));
  }
  return true;
}
