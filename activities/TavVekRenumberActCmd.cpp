#include "TavVekRenumberActCmd.h"


#include "OrvVekCommandServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("TavVekRenumberAct", "Traces for module TavVekRenumberAct");
  return t;
}
}  // namespace

TavVekRenumberActCmd::TavVekRenumberActCmd() : TavStateCommand("TavVekRenumberActCmd") {}

std::unique_ptr<TavStateCommand> fctCreateTavVekRenumberActCmd() { return std::make_unique<TavVekRenumberActCmd>(); }

void TavVekRenumberActCmd::BuildGraph() {
  TavTraceScope scope(Trace(), "TavVekRenumberActCmd", "BuildGraph");
  TavApplicationFrame::SetBusyCursor(true);
  SetUniqueLabel();
  TavApplicationFrame::SetBusyCursor(false);
  TavDialogState* dummy = AddDialogState("DummyState1");
  AddTransition(dummy, nullptr, nullptr, nullptr);
}

bool TavVekRenumberActCmd::IsLabelChangable(const TavUnicodeString& label) {
  if (label.Contains("http") || label.Contains("www.") || label.Contains(".com")) {
    Trace().Print("Label: " + label.utf8() + " is a web address and cannot be Renumbered");
    return false;
  }
  return true;
}

void TavVekRenumberActCmd::LabelWithoutNumber(TavUnicodeString& label) {
  if (label.IsEmpty()) return;
  const std::string& s = label.utf8();
  auto dot = s.find('.');
  if (dot == std::string::npos) {
    Trace().Print("Label: " + s + " has no dot and will not be truncated");
    return;
  }
  if (!IsLabelChangable(label)) {
    Trace().Print("Label: " + s + " cannot be truncated");
    return;
  }
  label = s.substr(0, dot);
}

void TavVekRenumberActCmd::RenameAct(const Ref<TavISPPActivity>& root, int* changed) {
  if (!root) return;
  // Iterative depth-first walk, parent before children: deep processes must not
  // exhaust the stack. Each entry carries the number its children extend.
  std::vector<Ref<TavISPPActivity>> work{root};
  while (!work.empty()) {
    Ref<TavISPPActivity> act = std::move(work.back());
    work.pop_back();
    auto cm = query<TavISPPChildManagement>(act);
    if (!cm) continue;
    const TavUnicodeString label = act->GetLabel();
    auto dot = label.utf8().find('.');
    const std::string number = dot == std::string::npos ? std::string() : label.utf8().substr(dot);
    auto children = cm->GetChildren("PhysicalActivity");
    std::vector<Ref<TavISPPActivity>> next;
    next.reserve(children.size());
    int i = 0;
    for (auto& c : children) {
      ++i;  // every listed child counts, also those that keep their label
      auto child = std::dynamic_pointer_cast<TavISPPActivity>(c);
      if (!child) continue;
      TavUnicodeString childLabel = child->GetLabel();
      if (!IsLabelChangable(childLabel)) continue;
      TavUnicodeString renamed = childLabel.utf8() + number + "." + std::to_string(i);
      if (changed && !(renamed == childLabel)) ++*changed;
      child->SetLabel(renamed);
      next.push_back(std::move(child));
    }
    // Reversed onto the stack so that children are visited in order.
    for (auto it = next.rbegin(); it != next.rend(); ++it) work.push_back(std::move(*it));
  }
}

int TavVekRenumberActCmd::SetUniqueLabel() {
  TavTraceScope scope(Trace(), "TavVekRenumberActCmd", "SetUniqueLabel");
  auto all = OrvVekCommandServices::GetAllActivities();
  // The old labels, index-aligned with the list, tell how many labels changed.
  std::vector<TavUnicodeString> before(all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!all[i]) continue;
    before[i] = all[i]->GetLabel();
    TavUnicodeString label = before[i];
    LabelWithoutNumber(label);
    if (!(label == before[i])) all[i]->SetLabel(label);
  }
  Ref<TavISPPActivityRoot> root;
  if (SUCCEEDED(OrvVekCommandServices::GetRootProcess(root, nullptr)) && root) RenameAct(root);
  int changed = 0;
  for (std::size_t i = 0; i < all.size(); ++i)
    if (all[i] && !(before[i] == all[i]->GetLabel())) ++changed;
  return changed;
}
