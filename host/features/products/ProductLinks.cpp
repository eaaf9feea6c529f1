// Dropping every link into a product or resource subtree before it leaves the
// document: the saved plant would otherwise name objects it no longer holds.
#include <algorithm>
#include <unordered_set>

#include "HostAssignment.h"
#include "HostProducts.h"
#include "HostRelationIndex.h"
#include "HostStates.h"

namespace host {

std::vector<Ref<HostProduct>> SubtreeOf(const Ref<HostProduct>& resource) {
  std::vector<Ref<HostProduct>> out;
  if (!resource) return out;
  // Parent before children, children in order, without recursion.
  std::vector<Ref<HostProduct>> stack{resource};
  while (!stack.empty()) {
    auto p = std::move(stack.back());
    stack.pop_back();
    for (auto it = p->Children().rbegin(); it != p->Children().rend(); ++it) stack.push_back(*it);
    out.push_back(std::move(p));
  }
  return out;
}

std::size_t DropLinksTo(HostDocument& doc, const std::vector<Ref<HostProduct>>& gone) {
  std::size_t dropped = 0;
  std::unordered_set<const TavBaseUnknown*> set;
  for (auto& g : gone) set.insert(g.get());
  // Relations and flow outputs, from the index: no walk over the process.
  if (const RelationIndex* index = RelationIndex::Of(doc))
    for (auto& g : gone)
      for (auto& r : index->Naming(g.get(), false))
        if (auto owner = std::dynamic_pointer_cast<HostActivity>(r->GetOwner()))
          if (SUCCEEDED(owner->HostActivity::RemoveRelation(r->GetRelationType(), g))) ++dropped;
  // Behaviour items: behaviours hang on resources, far fewer than activities.
  if (HostAssignmentContainer* assignment = AssignmentOf(doc, false))
    for (auto& b : assignment->BehaviorsInResourceOrder()) {
      for (auto& item : b->GetInputItems())
        if (set.count(item.get()) && SUCCEEDED(b->RemoveInputItem(item))) ++dropped;
      for (auto& item : b->GetOutputItems())
        if (set.count(item.get()) && SUCCEEDED(b->RemoveOutputItem(item))) ++dropped;
    }
  // Named states of the subtree go with their conditions and the definitions using
  // them, and other states stop using the subtree's stored positions: the plant file
  // would otherwise name states and positions it no longer holds.
  if (HostStateStore* states = StatesOf(doc)) {
    for (auto& g : gone)
      if (const auto* owned = states->StatesOf(*g))
        for (auto& st : std::vector(*owned))
          if (st->Attached() && SUCCEEDED(st->Remove())) ++dropped;
    for (auto& g : gone)
      if (const auto* positions = states->PositionsOf(*g))
        for (auto& p : *positions)
          for (auto& st : std::vector(states->States()))
            if (st->Attached() && std::find(st->Definition().begin(), st->Definition().end(), p) != st->Definition().end() &&
                SUCCEEDED(st->SetRelation(p, OrvStateRelation::RemovePosition)))
              ++dropped;
  }
  // Assembly content: a part outside the document could not be saved.
  for (auto& assembly : doc.Assemblies().assemblies_)
    for (auto& part : std::vector(assembly->Parts()))
      if (part && set.count(part->ExtendedObject().get()) && SUCCEEDED(assembly->RemovePart(part))) ++dropped;
  if (HostAssignmentContainer* assignment = AssignmentOf(doc, false)) assignment->RemoveContextsOf(set);
  if (HostResourceContexts* contexts = ResourceContextsOf(doc))
    for (auto& r : std::vector(contexts->List()))
      if (set.count(r.get())) contexts->RemoveResourceContext(r);
  return dropped;
}

}  // namespace host
