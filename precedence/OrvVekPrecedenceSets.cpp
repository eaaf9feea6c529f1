#include "OrvVekPrecedenceSets.h"

#include <unordered_map>
#include <unordered_set>

namespace {

using List = std::vector<Ref<TavBaseUnknown>>;

List PredecessorsOf(const Ref<TavBaseUnknown>& a) {
  auto p = query<TavISPPPrecedenceMgt>(a);
  return p ? p->GetPrecedences() : List{};
}

// One level: the sets of `activity` among `children`, appended to `out`.
void AddLevel(const Ref<TavBaseUnknown>& activity, const List& children, OrvVekPrecedenceSets& out) {
  std::unordered_map<const TavBaseUnknown*, std::size_t> position;
  position.reserve(children.size());
  for (std::size_t i = 0; i < children.size(); ++i) position.emplace(children[i].get(), i);

  // previous: the transitive predecessors that are siblings, in walk order.
  std::vector<char> taken(children.size(), 0);
  for (auto& q : OrvVekPrecedenceSetsUtilities::GetPreviousAct(activity)) {
    auto it = position.find(q.get());
    if (it == position.end() || taken[it->second]) continue;
    taken[it->second] = 1;
    out.previous.push_back(q);
  }

  // nextOf[j]: the siblings that name child j as a direct predecessor.
  std::vector<std::vector<std::size_t>> nextOf(children.size());
  for (std::size_t c = 0; c < children.size(); ++c)
    for (auto& q : PredecessorsOf(children[c])) {
      auto it = position.find(q.get());
      if (it != position.end()) nextOf[it->second].push_back(c);
    }

  // successors: depth first along nextOf from the activity's position, each sibling once.
  std::vector<char> follows(children.size(), 0);
  if (auto self = position.find(activity.get()); self != position.end()) {
    follows[self->second] = 1;  // in a cycle the activity would follow itself
    struct Frame {
      std::size_t child, next;
    };
    std::vector<Frame> stack{{self->second, 0}};
    while (!stack.empty()) {
      Frame& f = stack.back();
      if (f.next == nextOf[f.child].size()) {
        stack.pop_back();
        continue;
      }
      const std::size_t s = nextOf[f.child][f.next++];
      if (follows[s]) continue;
      follows[s] = 1;
      out.successors.push_back(children[s]);
      stack.push_back({s, 0});
    }
  }

  // others: the rest of the level, the activity itself excepted.
  for (std::size_t c = 0; c < children.size(); ++c)
    if (!taken[c] && !follows[c] && children[c].get() != activity.get()) out.others.push_back(children[c]);
}

}  // namespace

Ref<TavBaseUnknown> OrvVekPrecedenceSetsUtilities::FatherOf(const Ref<TavBaseUnknown>& activity) {
  auto a = query<TavISPPAbstractActivity>(activity);
  if (!a) return nullptr;
  auto father = a->GetFather();
  return query<TavISPPActivity>(father) ? father : nullptr;
}

List OrvVekPrecedenceSetsUtilities::PhysicalChildren(const Ref<TavBaseUnknown>& activity) {
  auto cm = query<TavISPPChildManagement>(activity);
  return cm ? cm->GetChildren("PhysicalActivity") : List{};
}

List OrvVekPrecedenceSetsUtilities::GetPreviousAct(const Ref<TavBaseUnknown>& activity) {
  List out;
  std::unordered_set<const TavBaseUnknown*> seen{activity.get()};
  struct Frame {
    List preds;
    std::size_t next;
  };
  std::vector<Frame> stack;
  stack.push_back({PredecessorsOf(activity), 0});
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.next == f.preds.size()) {
      stack.pop_back();
      continue;
    }
    Ref<TavBaseUnknown> q = f.preds[f.next++];
    if (!q || !seen.insert(q.get()).second) continue;
    out.push_back(q);
    stack.push_back({PredecessorsOf(q), 0});  // invalidates f: taken last
  }
  return out;
}

OrvVekPrecedenceSets OrvVekPrecedenceSetsUtilities::Compute(const Ref<TavBaseUnknown>& activity,
                                                            const Ref<TavBaseUnknown>& root) {
  OrvVekPrecedenceSets sets;
  Ref<TavBaseUnknown> current = activity;
  // Each level is the father's; the tree is finite, so the walk ends at a root.
  while (current) {
    Ref<TavBaseUnknown> father = FatherOf(current);
    if (!father) break;
    List children = PhysicalChildren(father);
    if (children.empty()) break;
    AddLevel(current, children, sets);
    if (SameObject(father, root)) break;
    current = father;
  }
  return sets;
}
