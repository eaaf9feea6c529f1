#include "TavVekRenumberActCmd.h"

#include <charconv>

#include "OrvVekCommandServices.h"
#include "TavWalk.h"

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

bool TavVekRenumberActCmd::Cancel() {
  TavTraceScope scope(Trace(), "TavVekRenumberActCmd", "Cancel");
  return true;
}

bool TavVekRenumberActCmd::IsLabelChangable(const TavUnicodeString& label) {
  TavTraceScope scope(Trace(), "TavVekRenumberActCmd", "IsLabelChangable");
  if (label.Contains("http") || label.Contains("www.") || label.Contains(".com")) {
    if (Trace().IsEnabled()) Trace().Print("Label: " + label.utf8() + " is a web address and cannot be Renumbered");
    return false;
  }
  return true;
}

void TavVekRenumberActCmd::LabelWithoutNumber(TavUnicodeString& label) {
  TavTraceScope scope(Trace(), "TavVekRenumberActCmd", "LabelWithoutNumber");
  if (label.IsEmpty()) return;
  const std::string& s = label.utf8();
  auto dot = s.find('.');
  if (dot == std::string::npos) {
    // Most labels of a renumbered process have no dot: no message is built unless traced.
    if (Trace().IsEnabled()) Trace().Print("Label: " + s + " has no dot and will not be truncated");
    return;
  }
  if (!IsLabelChangable(label)) {
    if (Trace().IsEnabled()) Trace().Print("Label: " + s + " cannot be truncated");
    return;
  }
  label = s.substr(0, dot);
}

namespace {
// The number an activity lends its children: its label from the first ".".
std::string_view NumberOf(std::string_view label) {
  auto dot = label.find('.');
  return dot == std::string_view::npos ? std::string_view() : label.substr(dot);
}
}  // namespace

void TavVekRenumberActCmd::RenameAct(const Ref<TavISPPActivity>& root) {
  TavTraceScope scope(Trace(), "TavVekRenumberActCmd", "RenameAct");
  if (!root) return;
  static const TavUnicodeString kPhysical("PhysicalActivity");
  // Depth first, parent before children, as the recursive definition: a child's own
  // children are numbered right after it, while it is still in the cache. The walk is
  // iterative, so deep processes do not exhaust the stack. Each frame holds the list
  // being numbered and the number of its father.
  struct Frame {
    std::vector<Ref<TavISPPActivity>> children;
    std::size_t next;
    std::string number;
  };
  std::vector<Frame> stack;
  auto open = [&](const Ref<TavISPPActivity>& activity, std::string_view number) {
    auto cm = query<TavISPPChildManagement>(activity);
    if (!cm) return;  // no child management: left alone
    auto children = cm->GetChildActivities(kPhysical);
    if (!children.empty()) stack.push_back({std::move(children), 0, std::string(number)});
  };
  open(root, NumberOf(root->GetLabel().utf8()));
  std::string renamed;
  char digits[16];
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.next == f.children.size()) {
      stack.pop_back();
      continue;
    }
    TavWalk::Ahead(f.children, f.next);  // the children of the root are far apart in memory
    // The position counts every listed child, also those that keep their label.
    const std::size_t position = ++f.next;
    Ref<TavISPPActivity> child = std::move(f.children[position - 1]);
    if (!child) continue;
    const TavUnicodeString label = child->GetLabel();
    if (!IsLabelChangable(label)) continue;  // keeps its label; its children are not renumbered
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<int>(position)).ptr;
    renamed.assign(label.utf8()).append(f.number).append(1, '.').append(digits, end);
    child->SetLabel(TavUnicodeString(std::string_view(renamed)));
    open(child, NumberOf(renamed));  // may grow the stack: `f` is not used after this
  }
}

void TavVekRenumberActCmd::SetUniqueLabel() {
  TavTraceScope scope(Trace(), "TavVekRenumberActCmd", "SetUniqueLabel");
  auto all = OrvVekCommandServices::GetAllActivities();
  for (std::size_t i = 0; i < all.size(); ++i) {
    // The label and the handle's counts sit near the object's start: one load for
    // both, as the handle is dropped right after its label is done.
    TavWalk::Ahead(all, i, TavWalkReach::Label);
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
