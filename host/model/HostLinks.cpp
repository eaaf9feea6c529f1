// Activities' links to one another: control flow, precedences, plain constraints,
// start-start and end-end synchronisations and previous-cycle constraints; each change
// recorded with the reverse change, and the reachability questions asked of them.
#include <algorithm>

#include "HostFlow.h"
#include "HostModel.h"
#include "HostUndo.h"
#include "TavPlanner.h"

namespace host {

namespace {
std::vector<Ref<TavBaseUnknown>> Live(const std::vector<std::weak_ptr<HostActivity>>& v, const TavUnicodeString& type) {
  std::vector<Ref<TavBaseUnknown>> out;
  for (auto& w : v)
    if (auto a = w.lock())
      if (type.IsEmpty() || a->Type()->IsA(type.utf8())) out.push_back(a);
  return out;
}
using Links = std::vector<std::weak_ptr<HostActivity>>;
// Adds or removes the pair (from's forward entry, to's backward entry), recording
// the reverse change. `back` gives the target's backward list.
template <class Back>
HRESULT Link(HostActivity* from, const Ref<TavBaseUnknown>& to, Links& fwd, Back back, bool add, UndoLinkKind kind) {
  auto t = std::dynamic_pointer_cast<HostActivity>(to ? to->ExtendedObject() : nullptr);
  if (!t || t.get() == from) return E_FAIL;
  auto me = std::dynamic_pointer_cast<HostActivity>(from->self());
  auto has = [](auto& v, auto* p) { return std::any_of(v.begin(), v.end(), [&](auto& w) { return w.lock().get() == p; }); };
  UndoLog* log = RecorderOf(*from);
  if (add) {
    if (has(fwd, t.get())) return S_FALSE;
    Links& bwd = back(*t);
    if (log) log->Add(undo::Link{me, t, 0, 0, kind, false});
    fwd.push_back(t);
    bwd.push_back(me);
    return S_OK;
  }
  auto f = std::find_if(fwd.begin(), fwd.end(), [&](auto& w) { return w.lock() == t; });
  if (f == fwd.end()) return E_FAIL;
  Links& bwd = back(*t);
  auto b = std::find_if(bwd.begin(), bwd.end(), [&](auto& w) { return w.lock().get() == from; });
  if (log && b != bwd.end())
    log->Add(undo::Link{me, t, static_cast<std::uint32_t>(f - fwd.begin()), static_cast<std::uint32_t>(b - bwd.begin()), kind, true});
  fwd.erase(f);
  if (b != bwd.end()) bwd.erase(b);
  return S_OK;
}
const Links kNoLinks;
}  // namespace

bool HostActivity::LinksTo(const HostActivity* to) const {
  return std::any_of(next_.begin(), next_.end(), [&](const auto& w) { return w.lock().get() == to; });
}

HostActivity::ConstraintLinks& HostActivity::Constraints() {
  if (!constraintLinks_) constraintLinks_ = std::make_unique<ConstraintLinks>();
  return *constraintLinks_;
}
const std::vector<std::weak_ptr<HostActivity>>& HostActivity::ConstraintList() const {
  return constraintLinks_ ? constraintLinks_->constraints : kNoLinks;
}
const std::vector<std::weak_ptr<HostActivity>>& HostActivity::PrevCycleList() const {
  return constraintLinks_ ? constraintLinks_->prevCycle : kNoLinks;
}
void HostActivity::AppendNewConstraint(const Ref<HostActivity>& from, const Ref<HostActivity>& to, bool prevCycle) {
  auto& f = from->Constraints();
  auto& t = to->Constraints();
  (prevCycle ? f.prevCycle : f.constraints).push_back(to);
  (prevCycle ? t.prevCycleOf : t.constrainedBy).push_back(from);
}

std::vector<Ref<TavBaseUnknown>> HostActivity::GetNextNodes(const TavUnicodeString& type) const { return Live(next_, type); }
std::vector<Ref<TavBaseUnknown>> HostActivity::GetPreviousNodes(const TavUnicodeString& type) const { return Live(previous_, type); }
HRESULT HostActivity::AddControlFlowLink(const Ref<TavBaseUnknown>& to) {
  return Link(this, to, next_, [](HostActivity& t) -> Links& { return t.previous_; }, true, UndoLinkKind::Flow);
}
HRESULT HostActivity::RemoveControlFlowLink(const Ref<TavBaseUnknown>& to) {
  return Link(this, to, next_, [](HostActivity& t) -> Links& { return t.previous_; }, false, UndoLinkKind::Flow);
}
HRESULT HostActivity::RemoveAllLinks() {
  auto me = std::dynamic_pointer_cast<HostActivity>(self());
  for (auto& n : GetNextNodes()) RemoveControlFlowLink(n);
  for (auto& p : GetPreviousNodes())
    if (auto pa = std::dynamic_pointer_cast<HostActivity>(p)) pa->RemoveControlFlowLink(me);
  return S_OK;
}
std::vector<Ref<TavBaseUnknown>> HostActivity::GetControlFlows(bool outgoing) const {
  std::vector<Ref<TavBaseUnknown>> out;
  if (!doc_) return out;
  auto me = std::dynamic_pointer_cast<HostActivity>(const_cast<HostActivity*>(this)->self());
  for (auto& w : outgoing ? next_ : previous_)
    if (auto other = w.lock())
      if (auto f = outgoing ? doc_->Flows().Of(me, other) : doc_->Flows().Of(other, me)) out.push_back(f);
  return out;
}
std::vector<Ref<TavBaseUnknown>> HostActivity::GetPrecedences() const { return Live(before_, {}); }
std::vector<Ref<TavBaseUnknown>> HostActivity::GetSuccessors() const { return Live(after_, {}); }
std::vector<Ref<TavBaseUnknown>> HostActivity::GetAllowedPredecessors() const {
  // Siblings that are neither this activity nor among its transitive successors
  // (which would close a cycle of precedences).
  std::vector<Ref<TavBaseUnknown>> out;
  auto father = FatherActivity();
  if (!father) return out;
  std::unordered_set<const HostActivity*> after{this};
  std::vector<const HostActivity*> todo{this};
  while (!todo.empty()) {
    const HostActivity* a = todo.back();
    todo.pop_back();
    for (auto& w : a->after_)
      if (auto s = w.lock())
        if (after.insert(s.get()).second) todo.push_back(s.get());
  }
  for (auto& c : father->Children())
    if (c->Type()->IsA("Activity") && !after.count(c.get())) out.push_back(c);
  return out;
}
HRESULT HostActivity::AddPrecedence(const Ref<TavBaseUnknown>& before) {
  return Link(this, before, before_, [](HostActivity& t) -> Links& { return t.after_; }, true, UndoLinkKind::Precedence);
}
HRESULT HostActivity::RemovePrecedence(const Ref<TavBaseUnknown>& before) {
  return Link(this, before, before_, [](HostActivity& t) -> Links& { return t.after_; }, false, UndoLinkKind::Precedence);
}
namespace {
bool IsSyncType(int type) { return type == TavConstraintType::StartStart || type == TavConstraintType::EndEnd; }
UndoLinkKind SyncKind(int type) { return type == TavConstraintType::StartStart ? UndoLinkKind::StartStart : UndoLinkKind::EndEnd; }
void ConstraintFailure(const std::string& message) {
  TavError::TavSetLastError(std::make_shared<TavError>(E_FAIL, "Process constraints", message, ""));
}
}  // namespace

const std::vector<std::weak_ptr<HostActivity>>& HostActivity::SyncList(int type) const {
  return constraintLinks_ && IsSyncType(type) ? constraintLinks_->sync[type - 1] : kNoLinks;
}
void HostActivity::AppendNewSync(const Ref<HostActivity>& a, const Ref<HostActivity>& b, int type) {
  auto& fa = a->Constraints();
  auto& fb = b->Constraints();
  fa.sync[type - 1].push_back(b);
  fb.syncOf[type - 1].push_back(a);
  fb.sync[type - 1].push_back(a);
  fa.syncOf[type - 1].push_back(b);
}

std::vector<Ref<TavBaseUnknown>> HostActivity::GetConstraints(int type) const {
  if (IsSyncType(type)) return Live(SyncList(type), {});
  if (type != TavConstraintType::Any) return type == TavConstraintType::Plain ? Live(ConstraintList(), {}) : std::vector<Ref<TavBaseUnknown>>{};
  auto out = Live(ConstraintList(), {});
  for (int t : {TavConstraintType::StartStart, TavConstraintType::EndEnd})
    for (auto& a : Live(SyncList(t), {}))
      if (std::find(out.begin(), out.end(), a) == out.end()) out.push_back(a);
  return out;
}
bool HostActivity::ConstraintsLocked() const {
  auto authority = TavModificationAuthorityOf(doc_ ? std::dynamic_pointer_cast<TavDocument>(doc_->self()) : nullptr);
  if (!authority) return false;
  const TavUnicodeString owner = authority->GetLockOwner(const_cast<HostActivity*>(this)->self());
  if (owner.IsEmpty() || owner == TavUnicodeString("CurrentUser")) return false;
  ConstraintFailure(label_.utf8() + " is locked by " + owner.utf8() + ": its constraints cannot change");
  return true;
}
HRESULT HostActivity::ChangeConstraint(const Ref<TavBaseUnknown>& other, int type, bool add) {
  auto t = std::dynamic_pointer_cast<HostActivity>(other ? other->ExtendedObject() : nullptr);
  if (!t || t.get() == this || !(type == TavConstraintType::Plain || IsSyncType(type))) return E_FAIL;
  if (!add && !constraintLinks_) return E_FAIL;
  if (type == TavConstraintType::Plain)
    return Link(this, other, Constraints().constraints, [](HostActivity& x) -> Links& { return x.Constraints().constrainedBy; }, add,
                UndoLinkKind::Constraint);
  const int k = type - 1;
  return Link(this, other, Constraints().sync[k], [k](HostActivity& x) -> Links& { return x.Constraints().syncOf[k]; }, add,
              SyncKind(type));
}
HRESULT HostActivity::AddConstraint(const Ref<TavBaseUnknown>& other, int type) {
  auto t = std::dynamic_pointer_cast<HostActivity>(other ? other->ExtendedObject() : nullptr);
  if (!t || t.get() == this) {
    ConstraintFailure(label_.utf8() + " can only be constrained with another activity");
    return E_FAIL;
  }
  if (!(type == TavConstraintType::Plain || IsSyncType(type))) {
    ConstraintFailure("unknown kind of process constraint " + std::to_string(type));
    return E_FAIL;
  }
  if (IsSyncType(type) && (!type_->IsA("Activity") || !t->Type()->IsA("Activity"))) {
    ConstraintFailure("a synchronisation joins activities, not flow nodes");
    return E_FAIL;
  }
  if (ConstraintsLocked()) return E_FAIL;
  return ChangeConstraint(other, type, true);
}
HRESULT HostActivity::RemoveConstraint(const Ref<TavBaseUnknown>& other, int type) {
  if (ConstraintsLocked()) return E_FAIL;
  const HRESULT hr = ChangeConstraint(other, type, false);
  if (FAILED(hr)) ConstraintFailure(label_.utf8() + " holds no such constraint");
  return hr;
}
bool HostActivity::IsConstraintPossible(const Ref<TavBaseUnknown>& other, int type) const {
  auto t = std::dynamic_pointer_cast<HostActivity>(other ? other->ExtendedObject() : nullptr);
  if (!t || t.get() == this || !(type == TavConstraintType::Plain || IsSyncType(type))) return false;
  if (!type_->IsA("Activity") || !t->Type()->IsA("Activity")) return false;
  // Activities of which one runs after the other cannot also start or end together.
  // `to` runs after `from` when a walk along control flow and precedences, from `from`
  // or one of its fathers, reaches `to` or one of its fathers: children run within
  // their father, so a flow between two stations orders all of their children.
  auto follows = [](const HostActivity* from, const HostActivity* to) {
    std::unordered_set<const HostActivity*> targets;
    for (auto t = to->FatherActivity(); t; t = t->FatherActivity()) targets.insert(t.get());
    targets.insert(to);
    std::unordered_set<const HostActivity*> seen;
    std::vector<const HostActivity*> todo;
    auto visit = [&](const HostActivity* a) {
      if (seen.insert(a).second) todo.push_back(a);
    };
    visit(from);
    for (auto f = from->FatherActivity(); f; f = f->FatherActivity()) visit(f.get());
    while (!todo.empty()) {
      const HostActivity* a = todo.back();
      todo.pop_back();
      for (const Links* l : {&a->next_, &a->after_})
        for (auto& w : *l)
          if (auto n = w.lock()) {
            if (targets.count(n.get())) return true;
            visit(n.get());
          }
    }
    return false;
  };
  return !follows(this, t.get()) && !follows(t.get(), this);
}
bool HostActivity::HasIndirectConstraints(const Ref<TavBaseUnknown>& other) const {
  auto* target = TavCast<HostActivity>(other ? other->ExtendedObject().get() : nullptr);
  if (!target || !constraintLinks_ || !target->constraintLinks_) return false;
  // Every constraint of every kind is an edge both ways (the graph is symmetric for
  // synchronisations, so all cycles): a stamp per walk marks what was seen, without a
  // set to clear or hash.
  static std::uint64_t stamp = 0;
  const std::uint64_t mark = ++stamp;
  std::vector<const HostActivity*> todo{this};
  constraintLinks_->visited = mark;
  while (!todo.empty()) {
    const HostActivity* a = todo.back();
    todo.pop_back();
    const ConstraintLinks& c = *a->constraintLinks_;
    for (const Links* l : {&c.constraints, &c.constrainedBy, &c.sync[0], &c.syncOf[0], &c.sync[1], &c.syncOf[1]})
      for (auto& w : *l) {
        const HostActivity* n = w.lock().get();
        if (!n || !n->constraintLinks_ || n->constraintLinks_->visited == mark) continue;
        if (n == target) return true;
        n->constraintLinks_->visited = mark;
        todo.push_back(n);
      }
  }
  return false;
}
std::vector<Ref<TavBaseUnknown>> HostActivity::GetPrevCycleConstraints() const { return Live(PrevCycleList(), {}); }
HRESULT HostActivity::SetPrevCycleConstraints(const std::vector<Ref<TavBaseUnknown>>& activities) {
  std::vector<Ref<HostActivity>> wanted;
  for (auto& a : activities) {
    auto h = std::dynamic_pointer_cast<HostActivity>(a ? a->ExtendedObject() : nullptr);
    if (!h || h.get() == this || !h->Type()->IsA("Activity")) return E_FAIL;
    if (std::find(wanted.begin(), wanted.end(), h) == wanted.end()) wanted.push_back(h);
  }
  auto back = [](HostActivity& t) -> Links& { return t.Constraints().prevCycleOf; };
  // Taken out and put back in the new order: the list is the user's order.
  for (auto& old : GetPrevCycleConstraints()) Link(this, old, Constraints().prevCycle, back, false, UndoLinkKind::PrevCycle);
  for (auto& w : wanted) Link(this, w, Constraints().prevCycle, back, true, UndoLinkKind::PrevCycle);
  return S_OK;
}

}  // namespace host
