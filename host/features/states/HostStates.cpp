#include "HostStates.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "HostUndo.h"
#include "TavFlow.h"

namespace host {

const char* ConditionKindName(ConditionKind k) {
  switch (k) {
    case ConditionKind::Begin: return "begin";
    case ConditionKind::Context: return "context";
    case ConditionKind::End: return "end";
  }
  return "?";
}

// ---------------------------------------------------------------------- undo

struct StateAccess {
  struct Snapshot {
    TavUnicodeString name;
    Ref<HostObject> owner;
    std::vector<Ref<HostObject>> definition;
    bool attached;
    bool operator==(const Snapshot&) const = default;
  };
  static Snapshot Take(const HostState& s) { return {s.name_, s.owner_, s.definition_, s.attached_}; }
  static void PutConditions(HostStateStore& store, HostActivity& holder, const ConditionLists& lists) {
    store.PutConditions(holder, lists, true);
  }
  static void Put(HostState& s, Snapshot v) {
    s.name_ = std::move(v.name);
    s.owner_ = std::move(v.owner);
    s.definition_ = std::move(v.definition);
    s.attached_ = v.attached;
  }
};

namespace {

// A state's whole record (name, owner, definition, in the store or not) as it was;
// applying it puts that back and records what it replaced.
class StateUndo final : public UndoAction {
public:
  StateUndo(Ref<HostState> s, StateAccess::Snapshot before) : s_(std::move(s)), before_(std::move(before)) {}
  bool Apply(HostDocument& doc, std::string& why) override {
    StateAccess::Snapshot now = StateAccess::Take(*s_);
    if (before_.attached && !now.attached && !doc.RestoreId(*s_)) {
      why = "the id #" + s_->IdString() + " of state " + s_->GetName().utf8() + " is taken by another object";
      return false;
    }
    if (!before_.attached && now.attached) doc.ReleaseId(*s_);
    StateAccess::Put(*s_, before_);
    doc.Recording()->Add(std::make_unique<StateUndo>(s_, std::move(now)));
    return true;
  }
  std::size_t Bytes() const override { return sizeof(*this) + before_.definition.size() * sizeof(Ref<HostObject>); }
  const void* FieldOwner() const override { return s_.get(); }
  bool FieldUnchanged() const override { return StateAccess::Take(*s_) == before_; }

private:
  Ref<HostState> s_;
  StateAccess::Snapshot before_;
};

// An activity's three condition lists as they were.
class ConditionUndo final : public UndoAction {
public:
  ConditionUndo(HostStateStore& store, ConditionLists& entry, ConditionLists before)
      : store_(store), entry_(entry), before_(std::move(before)) {}
  bool Apply(HostDocument&, std::string&) override {
    StateAccess::PutConditions(store_, *entry_.holder, before_);
    return true;
  }
  std::size_t Bytes() const override {
    std::size_t n = sizeof(*this);
    for (auto& l : before_.lists) n += l.size() * sizeof(Ref<HostState>);
    return n;
  }
  const void* FieldOwner() const override { return &entry_; }
  bool FieldUnchanged() const override {
    for (std::size_t k = 0; k < kConditionKinds; ++k)
      if (entry_.lists[k] != before_.lists[k]) return false;
    return true;
  }

private:
  HostStateStore& store_;
  ConditionLists& entry_;  // the store's: entries are never erased
  ConditionLists before_;
};

void RecordState(HostState& s) {
  if (UndoLog* log = s.Doc() ? s.Doc()->Recording() : nullptr)
    log->Add(std::make_unique<StateUndo>(SelfRef<HostState>(s), StateAccess::Take(s)));
}

bool IsOwnerKind(TavBaseUnknown* o) { return TavCast<HostProduct>(o) || TavCast<HostAssembly>(o); }

bool Blank(const TavUnicodeString& s) {
  return s.utf8().find_first_not_of(" \t\r\n") == std::string::npos;
}

void Fail(const std::string& message) {
  TavError::TavSetLastError(std::make_shared<TavError>(E_FAIL, "States", message, ""));
}

ConditionKind KindOfCode(int code) {
  return code <= 5 ? ConditionKind::Begin : code <= 7 ? ConditionKind::End : ConditionKind::Context;
}

}  // namespace

// --------------------------------------------------------------------- positions

// A stored position's matrix as it was.
class PositionUndo final : public UndoAction {
public:
  PositionUndo(Ref<HostPosition> p, const TavIMovable::Position& before) : p_(std::move(p)), before_(before) {}
  bool Apply(HostDocument& doc, std::string&) override {
    doc.Recording()->Add(std::make_unique<PositionUndo>(p_, p_->matrix_));
    p_->matrix_ = before_;
    return true;
  }
  std::size_t Bytes() const override { return sizeof(*this); }
  const void* FieldOwner() const override { return p_.get(); }
  bool FieldUnchanged() const override { return p_->matrix_ == before_; }

private:
  Ref<HostPosition> p_;
  TavIMovable::Position before_;
};

HRESULT HostPosition::SetMatrix(const TavIMovable::Position& m) {
  if (!std::all_of(m.begin(), m.end(), [](double v) { return std::isfinite(v); })) return E_FAIL;
  if (m == matrix_) return S_OK;
  if (UndoLog* log = Doc() ? Doc()->Recording() : nullptr) log->Add(std::make_unique<PositionUndo>(SelfRef<HostPosition>(*this), matrix_));
  matrix_ = m;
  return S_OK;
}

HRESULT HostPosition::Apply() {
  if (!product_ || !product_->Doc()) return E_FAIL;
  if (product_->GetPosition() != matrix_) product_->SetPosition(matrix_);
  return S_OK;
}

// ------------------------------------------------------------------------ states

HRESULT HostState::SetName(const TavUnicodeString& name) {
  if (Blank(name)) return E_FAIL;
  if (name == name_) return S_FALSE;
  RecordState(*this);
  name_ = name;
  return S_OK;
}

HRESULT HostState::SetOwner(const Ref<TavBaseUnknown>& owner) {
  Ref<TavBaseUnknown> o = owner ? owner->ExtendedObject() : nullptr;
  auto* ho = TavCast<HostObject>(o.get());
  if (owner_ || !ho || !IsOwnerKind(ho) || ho->Doc() != Doc()) return E_FAIL;
  RecordState(*this);
  owner_ = Ref<HostObject>(o, ho);
  // The owner's list keeps a state once, whatever undo does to its owner since.
  auto& list = store_.MakeOwnerList(*ho);
  if (std::none_of(list.begin(), list.end(), [&](const Ref<HostState>& x) { return x.get() == this; }))
    list.push_back(SelfRef<HostState>(*this));
  return S_OK;
}

bool HostState::Reaches(const HostState& target) const {
  std::vector<const HostState*> stack{this};
  std::unordered_set<const HostState*> seen;
  while (!stack.empty()) {
    const HostState* s = stack.back();
    stack.pop_back();
    if (s == &target) return true;
    if (!seen.insert(s).second) continue;
    for (auto& e : s->definition_)
      if (auto* sub = TavCast<HostState>(e.get())) stack.push_back(sub);
  }
  return false;
}

HRESULT HostState::SetRelation(const Ref<TavBaseUnknown>& other, int code) {
  Ref<TavBaseUnknown> o = other ? other->ExtendedObject() : nullptr;
  auto* ho = TavCast<HostObject>(o.get());
  store_.calls_.push_back({IdString(), ho ? ho->IdString() : std::string(), code});
  if (!ho || ho->Doc() != Doc() || !attached_ || code < 0 || code > 9) return E_FAIL;
  if (code <= 3) {
    const bool position = code <= 1;
    if (position ? !TavCast<HostPosition>(ho) : !TavCast<HostState>(ho)) return E_FAIL;
    auto at = std::find_if(definition_.begin(), definition_.end(), [&](auto& e) { return e.get() == ho; });
    if (code % 2 == 1) {
      if (at == definition_.end()) return S_FALSE;
      RecordState(*this);
      definition_.erase(at);
      return S_OK;
    }
    if (at != definition_.end()) return S_FALSE;
    if (auto* sub = TavCast<HostState>(ho); sub && sub->Reaches(*this)) {
      Fail("State " + sub->GetName().utf8() + " cannot be part of " + name_.utf8() + ": it would contain itself");
      return E_FAIL;
    }
    RecordState(*this);
    definition_.push_back(Ref<HostObject>(o, ho));
    return S_OK;
  }
  auto* holder = TavCast<HostActivity>(ho);
  if (!holder) return E_FAIL;
  std::vector<Ref<OrvIState>> me{SelfRef<HostState>(*this)};
  const ConditionKind k = KindOfCode(code);
  const ConditionLists* lists = store_.ConditionsOf(*holder);
  const bool held = lists && std::find((*lists)[k].begin(), (*lists)[k].end(), me.front()) != (*lists)[k].end();
  if (held == (code % 2 == 0)) return S_FALSE;
  return code % 2 == 0 ? store_.AddConditions(*holder, k, me) : store_.RemoveConditions(*holder, k, me);
}

std::vector<Ref<TavBaseUnknown>> HostState::GetRelated(int code) const {
  std::vector<Ref<TavBaseUnknown>> out;
  if (code != 4 && code != 6 && code != 8) return out;
  for (HostActivity* a : holders_[static_cast<std::size_t>(KindOfCode(code))])
    if (a->Doc() == Doc()) out.push_back(SelfRef<HostActivity>(*a));
  return out;
}

HRESULT HostState::Apply() {
  // Each state of the definition once: a definition reached twice applies once.
  std::unordered_set<const HostState*> seen;
  std::vector<HostPosition*> order;
  // Depth first in definition order, so later entries win where two move one product.
  std::vector<std::pair<const HostState*, std::size_t>> walk{{this, 0}};
  seen.insert(this);
  while (!walk.empty()) {
    auto& [s, i] = walk.back();
    if (i == s->definition_.size()) {
      walk.pop_back();
      continue;
    }
    HostObject* e = s->definition_[i++].get();
    if (auto* p = TavCast<HostPosition>(e)) order.push_back(p);
    else if (auto* sub = TavCast<HostState>(e); sub && seen.insert(sub).second) walk.push_back({sub, 0});
  }
  for (HostPosition* p : order)
    if (FAILED(p->Apply())) return E_FAIL;
  return S_OK;
}

std::vector<Ref<TavBaseUnknown>> HostState::GetMovedProducts() const {
  std::vector<Ref<TavBaseUnknown>> out;
  std::unordered_set<const TavBaseUnknown*> products;
  std::vector<const HostState*> stack{this};
  std::unordered_set<const HostState*> seen;
  while (!stack.empty()) {
    const HostState* s = stack.back();
    stack.pop_back();
    if (!seen.insert(s).second) continue;
    for (auto& e : s->definition_) {
      if (auto* p = TavCast<HostPosition>(e.get())) {
        if (products.insert(p->Product().get()).second) out.push_back(p->Product());
      } else if (auto* sub = TavCast<HostState>(e.get())) {
        stack.push_back(sub);
      }
    }
  }
  return out;
}

HRESULT HostState::Remove() {
  if (!attached_ || !Doc()) return E_FAIL;
  HostDocument& doc = *Doc();
  auto self = SelfRef<HostState>(*this);
  // Its links go first: conditions that hold it, and definitions that use it.
  for (std::size_t k = 0; k < kConditionKinds; ++k) {
    std::vector<HostActivity*> holders = holders_[k];
    for (HostActivity* a : holders) {
      if (store_.Locked(*a)) return E_FAIL;
    }
  }
  for (std::size_t k = 0; k < kConditionKinds; ++k) {
    std::vector<HostActivity*> holders = holders_[k];
    for (HostActivity* a : holders) store_.RemoveConditions(*a, static_cast<ConditionKind>(k), {self});
  }
  for (auto& s : store_.states_)
    if (s.get() != this && s->attached_ &&
        std::any_of(s->definition_.begin(), s->definition_.end(), [&](auto& e) { return e.get() == this; }))
      s->SetRelation(self, OrvStateRelation::RemoveState);
  RecordState(*this);
  attached_ = false;
  doc.ReleaseId(*this);
  return S_OK;
}

// ------------------------------------------------------------------------- store

HostStateStore* StatesOf(const HostDocument& doc) { return doc.FindContainer<HostStateStore>(); }

Ref<HostState> HostStateStore::MakeState(const std::string& id, const TavUnicodeString& name) {
  auto s = std::make_shared<HostState>(*this);
  doc_.AdoptObject(*s, id, 's');
  s->name_ = name;
  s->attached_ = true;
  states_.push_back(s);
  return s;
}

Ref<HostPosition> HostStateStore::MakePosition(const std::string& id, const Ref<HostProduct>& product,
                                               const TavUnicodeString& name, const TavIMovable::Position& matrix) {
  auto p = std::make_shared<HostPosition>(product, name, matrix);
  doc_.AdoptObject(*p, id, 'q');
  positions_.push_back(p);
  positionsOf_[product.get()].push_back(p);
  const auto n = static_cast<std::size_t>(product->GetModelNumber());
  if (mayHavePositions_.size() <= n) mayHavePositions_.resize(n + 1);
  mayHavePositions_[n] = true;
  return p;
}

Ref<OrvIState> HostStateStore::CreateState(const TavUnicodeString& name) {
  if (Blank(name)) return nullptr;
  auto s = MakeState({}, name);
  // Made: undo takes it out of the store again.
  if (UndoLog* log = doc_.Recording()) {
    StateAccess::Snapshot before = StateAccess::Take(*s);
    before.attached = false;
    log->Add(std::make_unique<StateUndo>(s, std::move(before)));
  }
  return s;
}

std::vector<Ref<HostState>>& HostStateStore::MakeOwnerList(const HostObject& owner) {
  const auto n = static_cast<std::size_t>(owner.GetModelNumber());
  if (mayOwn_.size() <= n) mayOwn_.resize(n + 1);
  mayOwn_[n] = true;
  return byOwner_[&owner];
}

const std::vector<Ref<HostState>>* HostStateStore::OwnerList(const HostObject& owner) const {
  const auto n = static_cast<std::size_t>(owner.GetModelNumber());
  if (n >= mayOwn_.size() || !mayOwn_[n]) return nullptr;
  auto it = byOwner_.find(&owner);
  return it == byOwner_.end() ? nullptr : &it->second;
}

const std::vector<Ref<HostState>>* HostStateStore::StatesOf(const HostObject& owner) const { return OwnerList(owner); }

std::vector<Ref<OrvIState>> HostStateStore::GetStates(const Ref<TavBaseUnknown>& owner) const {
  std::vector<Ref<OrvIState>> out;
  Ref<TavBaseUnknown> o = owner ? owner->ExtendedObject() : nullptr;
  auto* ho = TavCast<HostObject>(o.get());
  if (const auto* list = ho ? StatesOf(*ho) : nullptr)
    for (auto& s : *list)
      if (s->attached_ && s->owner_.get() == ho) out.push_back(s);
  return out;
}

Ref<HostState> HostStateStore::FindState(const HostObject& owner, const TavUnicodeString& name) const {
  if (const auto* list = StatesOf(owner))
    for (auto& s : *list)
      if (s->attached_ && s->owner_.get() == &owner && s->name_ == name) return s;
  return nullptr;
}

const std::vector<Ref<HostPosition>>* HostStateStore::PositionsOf(const HostProduct& product) const {
  const auto n = static_cast<std::size_t>(product.GetModelNumber());
  if (n >= mayHavePositions_.size() || !mayHavePositions_[n]) return nullptr;
  auto it = positionsOf_.find(&product);
  return it == positionsOf_.end() ? nullptr : &it->second;
}

std::vector<Ref<TavIPcsPosition>> HostStateStore::GetPositions(const Ref<TavBaseUnknown>& product) const {
  std::vector<Ref<TavIPcsPosition>> out;
  Ref<TavBaseUnknown> o = product ? product->ExtendedObject() : nullptr;
  if (auto* p = TavCast<HostProduct>(o.get()))
    if (const auto* list = PositionsOf(*p)) out.assign(list->begin(), list->end());
  return out;
}

const ConditionLists* HostStateStore::ConditionsOf(const HostActivity& a) const {
  auto it = conditions_.find(&a);
  return it == conditions_.end() ? nullptr : it->second.get();
}

ConditionLists& HostStateStore::ListsOf(HostActivity& a) {
  auto& entry = conditions_[&a];
  if (!entry) {
    entry = std::make_unique<ConditionLists>();
    entry->holder = SelfRef<HostActivity>(a);
  }
  return *entry;
}

std::vector<Ref<OrvIState>> HostStateStore::Conditions(const HostActivity& holder, ConditionKind k) const {
  const ConditionLists* lists = ConditionsOf(holder);
  return lists ? std::vector<Ref<OrvIState>>((*lists)[k].begin(), (*lists)[k].end()) : std::vector<Ref<OrvIState>>{};
}

bool HostStateStore::Locked(const HostActivity& holder) const {
  auto authority = TavModificationAuthorityOf(std::dynamic_pointer_cast<TavDocument>(doc_.self()));
  if (!authority) return false;
  const TavUnicodeString owner = authority->GetLockOwner(SelfRef<HostActivity>(const_cast<HostActivity&>(holder)));
  if (owner.IsEmpty() || owner == TavUnicodeString("CurrentUser")) return false;
  Fail(holder.Label().utf8() + " is locked by " + owner.utf8() + ": its conditions cannot change");
  return true;
}

void HostStateStore::PutConditions(HostActivity& holder, const ConditionLists& next, bool record) {
  ConditionLists& entry = ListsOf(holder);
  if (record)
    if (UndoLog* log = doc_.Recording()) {
      ConditionLists before;
      before.holder = entry.holder;
      for (std::size_t k = 0; k < kConditionKinds; ++k) before.lists[k] = entry.lists[k];
      log->Add(std::make_unique<ConditionUndo>(*this, entry, std::move(before)));
    }
  for (std::size_t k = 0; k < kConditionKinds; ++k) {
    const auto& old = entry.lists[k];
    const auto& now = next.lists[k];
    for (auto& s : old)
      if (std::find(now.begin(), now.end(), s) == now.end()) std::erase(s->holders_[k], &holder);
    for (auto& s : now)
      if (std::find(old.begin(), old.end(), s) == old.end()) s->holders_[k].push_back(&holder);
    entry.lists[k] = now;
  }
}

HRESULT HostStateStore::RemoveConditions(HostActivity& holder, ConditionKind k, const std::vector<Ref<OrvIState>>& states) {
  if (holder.Doc() != &doc_ || Locked(holder)) return E_FAIL;
  ConditionLists next = ListsOf(holder);
  auto& list = next[k];
  for (auto& s : states) {
    auto* hs = TavCast<HostState>(s ? s->ExtendedObject().get() : nullptr);
    if (!hs || hs->Doc() != &doc_) return E_FAIL;
    std::erase_if(list, [&](const Ref<HostState>& x) { return x.get() == hs; });
  }
  if (list != ListsOf(holder)[k]) PutConditions(holder, next, true);
  return S_OK;
}

HRESULT HostStateStore::AddConditions(HostActivity& holder, ConditionKind k, const std::vector<Ref<OrvIState>>& states) {
  if (holder.Doc() != &doc_ || Locked(holder)) return E_FAIL;
  ConditionLists next = ListsOf(holder);
  auto& list = next[k];
  for (auto& s : states) {
    auto* hs = TavCast<HostState>(s ? s->ExtendedObject().get() : nullptr);
    if (!hs || hs->Doc() != &doc_ || !hs->attached_) return E_FAIL;
    if (std::none_of(list.begin(), list.end(), [&](const Ref<HostState>& x) { return x.get() == hs; }))
      list.push_back(SelfRef<HostState>(*hs));
  }
  if (list != ListsOf(holder)[k]) PutConditions(holder, next, true);
  return S_OK;
}

bool HostStateStore::AppendCondition(HostActivity& holder, ConditionKind k, const Ref<HostState>& s) {
  ConditionLists& entry = ListsOf(holder);
  auto& list = entry[k];
  if (std::find(list.begin(), list.end(), s) != list.end()) return false;
  list.push_back(s);
  s->holders_[static_cast<std::size_t>(k)].push_back(&holder);
  return true;
}

}  // namespace host
