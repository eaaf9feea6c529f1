// Making the new activity: as a child, as a successor in the chain, under a
// resource's behaviour, or as a quick sequence over the selected products. Each
// creation is all or nothing: a step that fails takes back the steps before it.
#include <algorithm>

#include "OrvVekLinkActServices.h"
#include "TavAssignment.h"
#include "TavOrvAddActivityCmd.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
constexpr const char* kClass = "TavOrvAddActivityCmd";

// Takes back what the savepoint saw; the trace says when the host could not.
void RollBack(TavSavepoint& mark, const TavTrace& trace) {
  std::string why;
  if (mark.IsRecording() && !mark.RollBack(&why) && trace.IsEnabled()) trace.Print("Roll back failed: " + why);
}
}  // namespace

Ref<TavBaseUnknown> TavOrvAddActivityCmd::NewChild(const Ref<TavBaseUnknown>& father, const Ref<TavBaseUnknown>& after) {
  auto cm = query<TavISPPChildManagement>(father);
  if (!cm || !typeChosen_) return nullptr;
  // Right after `after` in the tree, as the chain reads.
  const int at = after ? cm->GetChildPosition(after) : -1;
  const int position = at < 0 ? -1 : at + 1;
  auto made = cm->CreateChild(chosenType_, label_.IsEmpty() ? chosenType_ : label_, position);
  if (made) created_.push_back(made);
  return made;
}

bool TavOrvAddActivityCmd::InsertActivity() {
  TavTraceScope scope(Trace(), kClass, "InsertActivity");
  created_.clear();
  TavSavepoint mark;
  if (resourceTarget_) {
    if (AddActivityToResource()) return true;
    RollBack(mark, Trace());
    created_.clear();
    AddActivityCmdErrorBox("AddActivityToResourceFailed");
    return false;
  }
  // SetTarget found out whether the target lies under a behaviour.
  bool ok = false;
  switch (GetInsertOption()) {
    case OrvAddActivityDlg::AddAsChild: {
      Ref<TavBaseUnknown> made;
      ok = AddActivity(made);
      break;
    }
    case OrvAddActivityDlg::AddAsSuccessor:
      ok = underBehavior_ ? AddActivityToResource() : AddActivityAsSuccessor(target_);
      break;
    default:
      break;
  }
  if (ok) return true;
  RollBack(mark, Trace());
  created_.clear();
  AddActivityCmdErrorBox("AddActivityFailed");
  return false;
}

bool TavOrvAddActivityCmd::AddActivity(Ref<TavBaseUnknown>& newActivity) {
  TavTraceScope scope(Trace(), kClass, "AddActivity");
  newActivity = NewChild(target_, nullptr);
  return newActivity != nullptr;
}

bool TavOrvAddActivityCmd::AddActivityAsSuccessor(const Ref<TavBaseUnknown>& target) {
  TavTraceScope scope(Trace(), kClass, "AddActivityAsSuccessor");
  using Services = OrvVekLinkActServices;
  auto activity = query<TavISPPAbstractActivity>(target);
  auto flow = query<TavISPPFlowMgt>(target);
  if (!activity || !flow) return false;
  Ref<TavBaseUnknown> father = underBehavior_ && behavior_ ? behavior_ : activity->GetFather();
  if (!father) return false;
  // Only an activity continues the chain: a control node next is no successor.
  const auto next = flow->GetNextNodes("Activity");
  Ref<TavBaseUnknown> successor = next.empty() ? nullptr : next.front();

  const bool locking = Services::IsPartialReadOnlyAndPersistCF();
  Services::Nodes startStopBefore;
  if (locking) {
    auto editor = TavFrmEditor::GetCurrentEditor();
    auto doc = editor ? editor->GetDocument() : TavDocumentOf(target);
    Services::Nodes toLock{father, target};
    if (successor) toLock.push_back(successor);
    // Asked before any lock is taken: a user who does not go on leaves the hub's
    // locks as they were, not half taken.
    auto authority = TavModificationAuthorityOf(doc);
    const bool heldByOthers = std::any_of(toLock.begin(), toLock.end(), [&](const Ref<TavBaseUnknown>& n) {
      const TavUnicodeString owner = authority ? authority->GetLockOwner(n) : TavUnicodeString();
      return !owner.IsEmpty() && owner != Services::kCurrentUser;
    });
    if (heldByOthers && !Services::GoOnAfterDisplayWarning()) return false;
    if (FAILED(Services::LockNodes(toLock, doc)) && !heldByOthers && !Services::GoOnAfterDisplayWarning()) return false;
    startStopBefore = Services::GetChildStartStop(father);
  }
  auto made = NewChild(father, target);
  auto madeFlow = query<TavISPPFlowMgt>(made);
  if (!madeFlow) return false;
  if (successor) {
    if (FAILED(flow->RemoveControlFlowLink(successor))) return false;
    if (FAILED(madeFlow->AddControlFlowLink(successor))) return false;
  }
  if (FAILED(flow->AddControlFlowLink(made))) return false;
  if (locking) {
    Services::LockChildStartStopAct(startStopBefore, Services::GetChildStartStop(father));
    Services::KwLock(made);
  }
  return true;
}

Ref<TavBaseUnknown> TavOrvAddActivityCmd::GetActResourceBehavior(const Ref<TavBaseUnknown>& resource) {
  TavTraceScope scope(Trace(), kClass, "GetActResourceBehavior");
  // Asked, never made: adding an activity must not leave a new behaviour behind.
  auto manager = query<OrvIResourceBehaviorManager>(resource);
  Ref<TavBaseUnknown> behavior = manager ? manager->GetBehavior() : nullptr;
  if (!behavior && Trace().IsEnabled()) Trace().Print("ResourceWithoutBehaviour");
  return behavior;
}

bool TavOrvAddActivityCmd::AddActivityToResource() {
  TavTraceScope scope(Trace(), kClass, "AddActivityToResource");
  if (!resource_) return false;
  Ref<TavBaseUnknown> behavior = behavior_ ? behavior_ : GetActResourceBehavior(resource_);
  if (!behavior) return false;
  auto made = NewChild(behavior, underBehavior_ ? target_ : nullptr);
  auto relations = query<TavIPCSRelations>(made);
  return relations && SUCCEEDED(relations->CreateRelation("process_uses_resource", resource_));
}

bool TavOrvAddActivityCmd::QuickSequenceAssign() {
  TavTraceScope scope(Trace(), kClass, "QuickSequenceAssign");
  created_.clear();
  TavSavepoint mark;
  Ref<TavBaseUnknown> previous;
  bool ok = !quickObjects_.empty();
  for (const auto& object : quickObjects_) {
    Ref<TavBaseUnknown> made;
    if (!previous) {
      ok = AddActivity(made);
    } else {
      made = NewChild(target_, previous);
      auto flow = query<TavISPPFlowMgt>(previous);
      ok = made && flow && SUCCEEDED(flow->AddControlFlowLink(made));
    }
    auto items = query<TavISPPItemMgt>(made);
    ok = ok && items && SUCCEEDED(items->AddItem(object, TavItemCode::Processes));
    if (!ok) break;
    previous = made;
  }
  if (ok) return true;
  // The activities this run made go again, with their links and items.
  RollBack(mark, Trace());
  created_.clear();
  AddActivityCmdErrorBox("AddActivityFailed");
  return false;
}
