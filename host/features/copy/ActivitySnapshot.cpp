#include "ActivitySnapshot.h"

#include <unordered_set>

#include "HostAssignment.h"
#include "HostLibrary.h"
#include "HostUndo.h"

namespace host {

namespace {

// A pasted subtree is undone as a whole: taking a top copy out of the document takes
// its subtree with everything inside it (relations, attributes, the links among the
// copies) and keeps it for redo. The paste's own records for objects inside the copy
// are therefore dropped after it, keeping the records of its tops and those of the
// features (3D contexts, keyed apart from the activities). Undoing a large paste then
// costs one detach per top instead of one per activity, each searching its father's
// children.
void KeepTopRecords(UndoLog& log, std::size_t mark, const std::vector<Ref<HostActivity>>& tops) {
  std::unordered_set<const HostActivity*> top;
  for (auto& t : tops) top.insert(t.get());
  auto& records = log.Records();
  std::size_t kept = mark;
  for (std::size_t i = mark; i < records.size(); ++i) {
    const auto* child = std::get_if<undo::Child>(&records[i]);
    const bool keep = std::holds_alternative<undo::Custom>(records[i]) || (child && top.count(child->child.get()));
    if (!keep) continue;
    if (kept != i) records[kept] = std::move(records[i]);
    ++kept;
  }
  records.erase(records.begin() + static_cast<std::ptrdiff_t>(kept), records.end());
}

bool InDocument(const HostDocument& doc, const Ref<TavBaseUnknown>& o) {
  const auto* h = dynamic_cast<const HostObject*>(o.get());
  return h && h->Doc() == &doc;
}

}  // namespace

ActivitySnapshot ActivitySnapshot::Take(const std::vector<Ref<HostActivity>>& tops) {
  ActivitySnapshot s;
  for (auto& t : tops)
    if (t && t->Doc()) {
      s.doc_ = t->Doc();
      break;
    }
  if (!s.doc_) return s;
  std::unordered_set<const HostActivity*> chosen;
  for (auto& t : tops)
    if (t) chosen.insert(t.get());
  HostAssignmentContainer* contexts = AssignmentOf(*s.doc_, false);

  std::vector<const HostActivity*> sources;
  std::unordered_map<const HostActivity*, std::uint32_t> index;
  for (auto& t : tops) {
    if (!t || t->Doc() != s.doc_ || index.count(t.get())) continue;
    bool under = false;
    for (auto f = t->FatherActivity(); f && !under; f = f->FatherActivity()) under = chosen.count(f.get()) > 0;
    if (under) continue;
    // Depth first without recursion: a deep process cannot overflow the stack.
    std::vector<std::pair<const HostActivity*, std::uint32_t>> stack{{t.get(), kTop}};
    while (!stack.empty()) {
      auto [a, parent] = stack.back();
      stack.pop_back();
      const auto at = static_cast<std::uint32_t>(s.nodes_.size());
      index.emplace(a, at);
      sources.push_back(a);
      if (parent == kTop) s.tops_.push_back(at);
      Node n;
      n.parent = parent;
      n.type = a->Type();
      n.label = a->Label();
      n.description = a->Description();
      n.time = a->GetTime();
      n.attributes = a->Attributes();
      n.relations.reserve(a->Relations().size());
      for (auto& r : a->Relations()) n.relations.push_back({r->Type(), r->Target(), r->Attributes()});
      if (contexts) n.contexts = contexts->GetContexts(const_cast<HostActivity*>(a)->self());
      n.planType = PlanTypeNameOf(*a);
      s.nodes_.push_back(std::move(n));
      for (auto it = a->Children().rbegin(); it != a->Children().rend(); ++it) stack.emplace_back(it->get(), at);
    }
  }

  // Links with both ends copied; one that leaves the copy is not taken.
  auto linkTo = [&](std::uint32_t from, const std::weak_ptr<HostActivity>& w, LinkKind kind, bool reversed) {
    auto other = w.lock();
    auto it = other ? index.find(other.get()) : index.end();
    if (it == index.end()) return;
    s.links_.push_back(reversed ? Link{it->second, from, kind} : Link{from, it->second, kind});
  };
  for (std::uint32_t i = 0; i < sources.size(); ++i) {
    const HostActivity* a = sources[i];
    for (auto& w : a->Next()) linkTo(i, w, LinkKind::Flow, false);
    for (auto& w : a->Before()) linkTo(i, w, LinkKind::Precedence, true);
    for (auto& w : a->ConstraintList()) linkTo(i, w, LinkKind::Constraint, false);
    for (auto& w : a->PrevCycleList()) linkTo(i, w, LinkKind::PrevCycle, false);
  }
  return s;
}

bool ActivitySnapshot::CanPasteUnder(const HostActivity& parent) const {
  return !Empty() && parent.Doc() && parent.Doc() == doc_ && parent.Type()->IsA("Activity");
}

std::vector<Ref<HostActivity>> ActivitySnapshot::PasteUnder(const Ref<HostActivity>& parent) const {
  std::vector<Ref<HostActivity>> tops;
  if (!parent || !CanPasteUnder(*parent)) return tops;
  HostDocument& doc = *parent->Doc();
  UndoLog* log = doc.Recording();
  const std::size_t mark = log ? log->Records().size() : 0;
  // Constraints are the process's: a behaviour (and whatever lies under it) holds none.
  bool inBehavior = false;
  for (const HostActivity* a = parent.get(); a && !inBehavior; a = a->FatherActivity().get())
    inBehavior = a->Type()->IsA("OrvBehavior");

  std::vector<Ref<HostActivity>> copies(nodes_.size());
  HostAssignmentContainer* contexts = nullptr;
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    const Node& n = nodes_[i];
    const Ref<HostActivity>& father = n.parent == kTop ? parent : copies[n.parent];
    Ref<HostActivity> c = doc.CreateActivity(father, n.type->name, "", n.label);
    if (n.parent == kTop) tops.push_back(c);
    c->SetDescription(n.description);
    c->SetTime(n.time);
    for (auto& a : n.attributes) c->SetAttribute(a.name, a.value);
    for (auto& r : n.relations) {
      if (!InDocument(doc, r.target)) continue;  // removed since the copy
      Ref<TavISPPActivitySpecification> made;
      if (c->CreateRelation(r.type->name, r.target, &made) != S_OK) continue;
      if (auto holder = std::dynamic_pointer_cast<TavIAttributeHolder>(made))
        for (auto& a : r.attributes) holder->SetAttribute(a.name, a.value);
    }
    for (auto& p : n.contexts) {
      if (!InDocument(doc, p)) continue;
      if (!contexts) contexts = AssignmentOf(doc, true);
      contexts->AddContext(c, p);
    }
    if (!n.planType.empty()) AssignPlanType(*c, n.planType);
    copies[i] = std::move(c);
  }

  std::vector<std::vector<Ref<TavBaseUnknown>>> prevCycle;
  for (const Link& l : links_) {
    const Ref<HostActivity>& from = copies[l.from];
    const Ref<HostActivity>& to = copies[l.to];
    switch (l.kind) {
      case LinkKind::Flow: from->AddControlFlowLink(to); break;
      case LinkKind::Precedence: to->AddPrecedence(from); break;
      case LinkKind::Constraint:
        if (!inBehavior) from->AddConstraint(to);
        break;
      case LinkKind::PrevCycle:
        if (inBehavior) break;
        if (prevCycle.empty()) prevCycle.resize(copies.size());
        prevCycle[l.from].push_back(to);
        break;
    }
  }
  for (std::size_t i = 0; i < prevCycle.size(); ++i)
    if (!prevCycle[i].empty()) copies[i]->SetPrevCycleConstraints(prevCycle[i]);

  if (log) KeepTopRecords(*log, mark, tops);
  return tops;
}

}  // namespace host
