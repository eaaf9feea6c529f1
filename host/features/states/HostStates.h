#pragma once
// States and stored positions of the reference host, and the state conditions of
// activities and resource behaviours (begin, 3D context, end). One store per
// document keeps them all: the condition lists are the one truth, and each state's
// list of the activities holding it follows them, so the two sides never disagree.
// Every change is an undoable model change; plant files keep them in <states> and
// <condition> elements.
#include <unordered_map>

#include "HostModel.h"
#include "TavStates.h"

namespace host {

class HostStateStore;

class HostPosition final : public HostObject, public virtual TavIPcsPosition, public virtual OrvIStateExecutionMgt {
public:
  HostPosition(Ref<HostProduct> product, TavUnicodeString name, const TavIMovable::Position& m)
      : product_(std::move(product)), name_(std::move(name)), matrix_(m) {}
  std::string LateType() const override { return "TavPcsPosition"; }
  TavUnicodeString DisplayName() const override { return name_; }
  TavUnicodeString GetName() const override { return name_; }
  Ref<TavBaseUnknown> GetProduct() const override { return product_; }
  TavIMovable::Position GetMatrix() const override { return matrix_; }
  HRESULT SetMatrix(const TavIMovable::Position& m) override;
  HRESULT Apply() override;
  std::vector<Ref<TavBaseUnknown>> GetMovedProducts() const override { return {product_}; }
  const Ref<HostProduct>& Product() const { return product_; }

private:
  friend class PositionUndo;
  Ref<HostProduct> product_;
  TavUnicodeString name_;
  TavIMovable::Position matrix_;
};

// Condition kinds as the store indexes them.
enum class ConditionKind : std::uint8_t { Begin, Context, End };
inline constexpr std::size_t kConditionKinds = 3;
const char* ConditionKindName(ConditionKind k);  // "begin", "context", "end"

class HostState final : public HostObject,
                        public virtual OrvIState,
                        public virtual OrvIStateMgt,
                        public virtual OrvIStateExecutionMgt,
                        public virtual TavILifeCycleObject {
public:
  explicit HostState(HostStateStore& store) : store_(store) {}
  std::string LateType() const override { return "OrvState"; }
  TavUnicodeString DisplayName() const override { return name_; }
  TavUnicodeString GetName() const override { return name_; }
  HRESULT SetName(const TavUnicodeString& name) override;
  Ref<TavBaseUnknown> GetOwner() const override { return owner_; }
  HRESULT SetOwner(const Ref<TavBaseUnknown>& owner) override;
  HRESULT SetRelation(const Ref<TavBaseUnknown>& other, int code) override;
  std::vector<Ref<TavBaseUnknown>> GetDefinition() const override { return {definition_.begin(), definition_.end()}; }
  std::vector<Ref<TavBaseUnknown>> GetRelated(int code) const override;
  HRESULT Apply() override;
  std::vector<Ref<TavBaseUnknown>> GetMovedProducts() const override;
  HRESULT Remove() override;

  const Ref<HostObject>& Owner() const { return owner_; }
  const std::vector<Ref<HostObject>>& Definition() const { return definition_; }
  // The activities and behaviours holding this state, by kind, in the order linked.
  const std::vector<HostActivity*>& Holders(ConditionKind k) const { return holders_[static_cast<std::size_t>(k)]; }
  bool Attached() const { return attached_; }
  // Whether this state is `target` or holds it in its definition, at any depth.
  bool Reaches(const HostState& target) const;

private:
  friend class HostStateStore;
  friend struct StateAccess;
  HostStateStore& store_;  // the document's: it outlives the state's use
  TavUnicodeString name_;
  Ref<HostObject> owner_;
  std::vector<Ref<HostObject>> definition_;  // HostPosition or HostState
  std::vector<HostActivity*> holders_[kConditionKinds];
  bool attached_ = false;  // in the store (not made and dropped, nor removed)
};

// The three condition lists of one activity or behaviour.
struct ConditionLists {
  Ref<HostActivity> holder;
  std::vector<Ref<HostState>> lists[kConditionKinds];
  std::vector<Ref<HostState>>& operator[](ConditionKind k) { return lists[static_cast<std::size_t>(k)]; }
  const std::vector<Ref<HostState>>& operator[](ConditionKind k) const { return lists[static_cast<std::size_t>(k)]; }
};

class HostStateStore final : public virtual OrvIStateContainer {
public:
  explicit HostStateStore(HostDocument* doc) : doc_(*doc) {}
  std::vector<Ref<OrvIState>> GetStates(const Ref<TavBaseUnknown>& owner) const override;
  std::vector<Ref<TavIPcsPosition>> GetPositions(const Ref<TavBaseUnknown>& product) const override;
  Ref<OrvIState> CreateState(const TavUnicodeString& name) override;

  HostDocument& Doc() const { return doc_; }
  // A new state (an empty id gets a fresh one; a taken one throws std::invalid_argument).
  Ref<HostState> MakeState(const std::string& id, const TavUnicodeString& name);
  Ref<HostPosition> MakePosition(const std::string& id, const Ref<HostProduct>& product, const TavUnicodeString& name,
                                 const TavIMovable::Position& matrix);
  // Every state in the store, in creation (file) order; owners' lists as the file lists them.
  const std::vector<Ref<HostState>>& States() const { return states_; }
  const std::vector<Ref<HostState>>* StatesOf(const HostObject& owner) const;
  const std::vector<Ref<HostPosition>>* PositionsOf(const HostProduct& product) const;
  // A state of the owner by name; null when none.
  Ref<HostState> FindState(const HostObject& owner, const TavUnicodeString& name) const;
  const std::vector<Ref<HostPosition>>& Positions() const { return positions_; }

  // Conditions. Null when the activity holds none.
  const ConditionLists* ConditionsOf(const HostActivity& a) const;
  // Whether the holder refuses condition changes (a hub lock of another user); sets the last error.
  bool Locked(const HostActivity& holder) const;
  // Removes (adds) the states from (to) one list; S_OK, E_FAIL when locked or a state
  // is foreign. Adding a state the list holds adds nothing.
  HRESULT RemoveConditions(HostActivity& holder, ConditionKind k, const std::vector<Ref<OrvIState>>& states);
  HRESULT AddConditions(HostActivity& holder, ConditionKind k, const std::vector<Ref<OrvIState>>& states);
  std::vector<Ref<OrvIState>> Conditions(const HostActivity& holder, ConditionKind k) const;
  // Loading: a condition the loader has checked, appended without a record.
  bool AppendCondition(HostActivity& holder, ConditionKind k, const Ref<HostState>& s);

  // Every SetRelation call, for tests: state id, other's id, code.
  struct Call {
    std::string state, other;
    int code;
  };
  const std::vector<Call>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

private:
  friend class HostState;
  friend struct StateAccess;
  // Sets a holder's lists, recording the old ones, and keeps the states' holder lists in step.
  void PutConditions(HostActivity& holder, const ConditionLists& lists, bool record);
  ConditionLists& ListsOf(HostActivity& a);
  // Owner lists: most objects own no state, and the bit by model number says so
  // without a hash lookup, which at 10^5 objects misses the cache every time.
  std::vector<Ref<HostState>>& MakeOwnerList(const HostObject& owner);
  const std::vector<Ref<HostState>>* OwnerList(const HostObject& owner) const;
  HostDocument& doc_;
  std::vector<Ref<HostState>> states_;
  std::unordered_map<const HostObject*, std::vector<Ref<HostState>>> byOwner_;
  std::vector<bool> mayOwn_, mayHavePositions_;  // by model number
  std::vector<Ref<HostPosition>> positions_;
  std::unordered_map<const HostProduct*, std::vector<Ref<HostPosition>>> positionsOf_;
  // Never erased: an entry's address names its field in undo records.
  std::unordered_map<const HostActivity*, std::unique_ptr<ConditionLists>> conditions_;
  std::vector<Call> calls_;
};

HostStateStore* StatesOf(const HostDocument& doc);

// Synthetic states: every `every`-th product and resource (tree order) gets stored
// positions "Open" and "Closed" and states of those names. The number of states made.
std::size_t AddGeneratedStates(HostDocument& doc, std::size_t every);

// Registers the store on every document, the state interfaces on activities,
// behaviours and products, the plant section <states> and the <condition> and
// <placement> elements, and the state paths ("OWNER/state:NAME", "PRODUCT/position:NAME").
void RegisterStatesHost();

}  // namespace host
