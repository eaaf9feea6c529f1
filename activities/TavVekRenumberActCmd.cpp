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

void TavVekRenumberActCmd::RenameAct(const Ref<TavISPPActivity>& root) {
  if (!root) return;
  // Iterative depth-first walk, parent before children: deep processes must not
  // exhaust the stack. Each entry carries its number (its label from the first
  // "."), so no label is read twice.
  struct Item {
    Ref<TavISPPActivity> activity;
    std::string number;
  };
  auto numberOf = [](const std::string& label) {
    auto dot = label.find('.');
    return dot == std::string::npos ? std::string() : label.substr(dot);
  };
  std::vector<Item> work;
  work.push_back({root, numberOf(root->GetLabel().utf8())});
  std::vector<Item> next;
  while (!work.empty()) {
    Item item = std::move(work.back());
    work.pop_back();
    auto cm = query<TavISPPChildManagement>(item.activity);
    if (!cm) continue;
    auto children = cm->GetChildren("PhysicalActivity");
    next.clear();
    int i = 0;
    for (std::size_t k = 0; k < children.size(); ++k) {
      ++i;  // every listed child counts, also those that keep their label
      TavPrefetchAhead(children, k);
      auto* a = TavCast<TavISPPActivity>(children[k].get());
      if (!a) continue;
      const TavUnicodeString childLabel = a->GetLabel();
      if (!IsLabelChangable(childLabel)) continue;
      std::string renamed = childLabel.utf8() + item.number + "." + std::to_string(i);
      std::string number = numberOf(renamed);
      a->SetLabel(TavUnicodeString(std::move(renamed)));
      next.push_back({Ref<TavISPPActivity>(std::move(children[k]), a), std::move(number)});
    }
    // Reversed onto the stack so that children are visited in order.
    for (auto it = next.rbegin(); it != next.rend(); ++it) work.push_back(std::move(*it));
  }
}

void TavVekRenumberActCmd::SetUniqueLabel() {
  TavTraceScope scope(Trace(), "TavVekRenumberActCmd", "SetUniqueLabel");
  auto all = OrvVekCommandServices::GetAllActivities();
  for (std::size_t i = 0; i < all.size(); ++i) {
    // The label and the handle's counts sit near the object's start: one load for
    // both, as the handle is dropped right after its label is done.
    TavPrefetchAhead(all, i, 192);
    if (!all[i]) continue;
    TavUnicodeString label = all[i]->GetLabel();
    const std::size_t length = label.utf8().size();
    LabelWithoutNumber(label);  // only ever shortens
    if (label.utf8().size() != length) all[i]->SetLabel(label);
    all[i].reset();
  }
  all.clear();
  Ref<TavISPPActivityRoot> root;
  if (SUCCEEDED(OrvVekCommandServices::GetRootProcess(root, nullptr)) && root) RenameAct(root);
}
