// Taking an assembly out of what host features keep about it, when it leaves its
// document: behaviours' items, fasteners' relations, the states it owns (undoable,
// each through its feature's records), and the editors' selection sets (not model
// data: undo does not put a selection back).
#include "HostAssemblies.h"
#include "HostAssemblyRemoval.h"
#include "HostAssignment.h"
#include "HostCompare.h"
#include "HostRuntime.h"
#include "HostStates.h"

namespace host {

namespace {

void DropBehaviorItems(HostDocument& doc, const Ref<HostAssembly>& a) {
  HostAssignmentContainer* assignment = AssignmentOf(doc, false);
  if (!assignment || !assignment->BehaviorCount()) return;
  // Behaviours hang on resources, far fewer than activities.
  std::vector<Ref<HostProduct>> resources = doc.Resources().roots_;
  for (std::size_t i = 0; i < resources.size(); ++i) {
    for (auto& c : resources[i]->Children()) resources.push_back(c);
    auto b = assignment->BehaviorOf(*resources[i]);
    if (!b || b->IsItemAssigned(a) != S_OK) continue;
    b->RemoveInputItem(a);  // E_FAIL when it is an output only
    b->RemoveOutputItem(a);
  }
}

void DropFastenerRelations(HostDocument& doc, const Ref<HostAssembly>& a) {
  if (HostFastenerContainer* fasteners = FastenersOf(doc, false)) fasteners->UnrelateAll(a);
}

void DropOwnedStates(HostDocument& doc, const Ref<HostAssembly>& a) {
  HostStateStore* states = StatesOf(doc);
  const auto* owned = states ? states->StatesOf(*a) : nullptr;
  if (!owned) return;
  // Its conditions and the definitions using it go with each (HostState::Remove).
  for (auto& st : std::vector(*owned))
    if (st->Attached()) st->Remove();
}

// A state the assembly owns held by an activity another user locked cannot go.
bool OwnedStatesMayGo(const HostDocument& doc, const HostAssembly& a) {
  HostStateStore* states = StatesOf(doc);
  const auto* owned = states ? states->StatesOf(a) : nullptr;
  if (!owned) return true;
  for (auto& st : *owned) {
    if (!st->Attached()) continue;
    for (std::size_t k = 0; k < kConditionKinds; ++k)
      for (HostActivity* holder : st->Holders(static_cast<ConditionKind>(k)))
        if (states->Locked(*holder)) return false;  // Locked says why
  }
  return true;
}

bool Names(const TavPathElement& p, const TavBaseUnknown* object) {
  for (auto& o : p.Objects())
    if (o && o->ExtendedObject().get() == object) return true;
  return false;
}

void DropFromSelections(HostDocument& doc, const Ref<HostAssembly>& a) {
  HostSession* session = HostSession::Current();
  if (!session) return;
  for (auto& ed : session->Editors()) {
    if (ed->Document().get() != &doc) continue;
    for (TavSelectionSet* set : {&ed->GetCSO(), &ed->GetHSO(), &ed->GetPSO()})
      for (auto& p : std::vector(set->Items()))
        if (Names(p, a.get())) set->RemoveElement(p);
    if (Names(ed->GetActivePath(), a.get())) ed->SetActivePath(TavPathElement());
  }
}

}  // namespace

void RegisterAssemblyRemovalHooks() {
  RegisterAssemblyRemovalCheck(OwnedStatesMayGo);
  RegisterAssemblyRemovalHook(DropBehaviorItems);
  RegisterAssemblyRemovalHook(DropFastenerRelations);
  RegisterAssemblyRemovalHook(DropOwnedStates);
  RegisterAssemblyRemovalHook(DropFromSelections);
}

}  // namespace host
