#pragma once
// States and stored positions of products, resources and manufactured assemblies,
// and the state conditions that activities and resource behaviours hold: the begin
// conditions, the 3D context and the end conditions.
#include "TavServices.h"

// Relation codes of OrvIStateMgt: an even code adds a relation, the next odd one
// takes it away.
namespace OrvStateRelation {
inline constexpr int AddPosition = 0, RemovePosition = 1;  // a position of the definition
inline constexpr int AddState = 2, RemoveState = 3;        // a state of the definition
inline constexpr int BeginLinked = 4, BeginUnlinked = 5;   // a begin condition of the activity
inline constexpr int EndLinked = 6, EndUnlinked = 7;       // an end condition of the activity
inline constexpr int ContextLinked = 8, ContextUnlinked = 9;  // part of the activity's 3D context
}  // namespace OrvStateRelation

// Condition kinds of TavISPP3DStateCondition and OrvIResourceStatesCondition.
namespace TavStateConditionKind {
inline constexpr int Begin = 1, End = 2;
inline constexpr int Context3D = 3;  // OrvIResourceStatesCondition only
}  // namespace TavStateConditionKind

// A named configuration of one product, resource or manufactured assembly (its
// owner), defined by an ordered list of stored positions and other states.
class OrvIState : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIState);
  virtual TavUnicodeString GetName() const = 0;
  // E_FAIL for a name that is empty or blank.
  virtual HRESULT SetName(const TavUnicodeString& name) = 0;
  // The product, resource or manufactured assembly; null before SetOwner.
  virtual Ref<TavBaseUnknown> GetOwner() const = 0;
  // E_FAIL when `owner` is no product, resource or manufactured assembly of the
  // state's document, or the state has an owner already.
  virtual HRESULT SetOwner(const Ref<TavBaseUnknown>& owner) = 0;
};

// The relations of a state (codes in OrvStateRelation).
class OrvIStateMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIStateMgt);
  // Codes 0-3: `other` is a stored position (0/1) or a state (2/3) of the definition;
  // an added entry goes to the end. Codes 4-9: `other` is an activity or a resource
  // behaviour holding the state as a condition; linking puts the state in that
  // condition list of `other` when it is not there yet, unlinking takes it out.
  // S_OK changed; S_FALSE already so; E_FAIL refused (wrong kind of object, another
  // document, a definition that would contain the state itself, a locked activity).
  virtual HRESULT SetRelation(const Ref<TavBaseUnknown>& other, int code) = 0;
  // The definition: stored positions and states, in order.
  virtual std::vector<Ref<TavBaseUnknown>> GetDefinition() const = 0;
  // The activities and behaviours holding the state by code 4 (begin), 6 (end) or
  // 8 (3D context), in the order they were linked (a loaded plant: file order).
  virtual std::vector<Ref<TavBaseUnknown>> GetRelated(int code) const = 0;
};

// Applying a state or a stored position to the model.
class OrvIStateExecutionMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIStateExecutionMgt);
  // Moves the products: a position puts its product where it was stored; a state
  // applies its definition in order. E_FAIL when a product refuses to move.
  virtual HRESULT Apply() = 0;
  // The products Apply moves (each once), so that a caller can keep where they stood.
  virtual std::vector<Ref<TavBaseUnknown>> GetMovedProducts() const = 0;
};

// A stored position of a product or resource.
class TavIPcsPosition : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIPcsPosition);
  virtual TavUnicodeString GetName() const = 0;
  virtual Ref<TavBaseUnknown> GetProduct() const = 0;
  virtual TavIMovable::Position GetMatrix() const = 0;
  // Stores a new matrix (an undoable change); E_FAIL when a number is not finite.
  virtual HRESULT SetMatrix(const TavIMovable::Position& m) = 0;
};

// The begin (kind 1) and end (kind 2) conditions of an activity.
class TavISPP3DStateCondition : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPP3DStateCondition);
  virtual std::vector<Ref<OrvIState>> GetStateConditions(int kind) const = 0;
  // S_OK (states already absent or present are passed over); E_FAIL, nothing
  // changed, for an unknown kind, a state of another document, or a locked activity.
  virtual HRESULT RemoveStateConditions(int kind, const std::vector<Ref<OrvIState>>& states) = 0;
  virtual HRESULT AddStateConditions(int kind, const std::vector<Ref<OrvIState>>& states) = 0;
};

// The states that make up an activity's 3D context (apart from its product contexts).
class TavISPPActivity3DContext : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPActivity3DContext);
  virtual std::vector<Ref<OrvIState>> Get3DContext() const = 0;
  // As TavISPP3DStateCondition.
  virtual HRESULT Remove3DContext(const std::vector<Ref<OrvIState>>& states) = 0;
  virtual HRESULT Add3DContext(const std::vector<Ref<OrvIState>>& states) = 0;
};

// The same three lists on a resource behaviour: kinds 1 (begin), 2 (end), 3 (3D context).
class OrvIResourceStatesCondition : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIResourceStatesCondition);
  virtual std::vector<Ref<OrvIState>> GetConditions(int kind) const = 0;
  virtual HRESULT RemoveConditions(int kind, const std::vector<Ref<OrvIState>>& states) = 0;
  virtual HRESULT AddConditions(int kind, const std::vector<Ref<OrvIState>>& states) = 0;
};

// The states of one document (a container of the document); reached through
// OrvFactoryOnState.
class OrvIStateContainer : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIStateContainer);
  // The states owned by a product, resource or manufactured assembly, in creation order.
  virtual std::vector<Ref<OrvIState>> GetStates(const Ref<TavBaseUnknown>& owner) const = 0;
  // The stored positions of a product or resource, in creation order.
  virtual std::vector<Ref<TavIPcsPosition>> GetPositions(const Ref<TavBaseUnknown>& product) const = 0;
  // A new state without an owner; null when refused (a blank name).
  virtual Ref<OrvIState> CreateState(const TavUnicodeString& name) = 0;
};

// The state factory of a document.
class OrvFactoryOnState {
public:
  explicit OrvFactoryOnState(const Ref<TavDocument>& doc);
  // False when the document keeps no states (or there is no document).
  bool IsValid() const { return container_ != nullptr; }
  std::vector<Ref<OrvIState>> GetStates(const Ref<TavBaseUnknown>& owner) const;
  std::vector<Ref<TavIPcsPosition>> GetPositions(const Ref<TavBaseUnknown>& product) const;
  Ref<OrvIState> CreateState(const TavUnicodeString& name);

private:
  Ref<OrvIStateContainer> container_;
};

// Typed boolean values a product carries ("YorWSC", ...).
class TavISpecAttrAccess : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISpecAttrAccess);
  // S_OK with the value; E_FAIL when the object has no boolean value of that name.
  virtual HRESULT GetBooleanAttribute(const TavUnicodeString& name, bool& value) const = 0;
  // The attribute keys the object exposes for specification: on an activity type the
  // built-in keys every activity of it carries ("SpecifiedCT", ...), on an activity its
  // own attributes' names. None by default.
  virtual std::vector<TavUnicodeString> ListAttributeKeys() const { return {}; }
};

// What a double click on an object in the tree runs (the host's edit extension,
// registered per late type).
class TavIEditExtension : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIEditExtension);
  // `path` ends at the object double-clicked. S_OK when an editor opened.
  virtual HRESULT Activate(const TavPathElement& path) = 0;
};

// The host's feature flags (setting repository "TavSPPFeatures").
class TavFeatureFlags {
public:
  // Key "BIWResources": resources are picked as body-in-white resources (off by default).
  static bool IsBIWResourcesOn();
};

void TavDeclareStateInterfaces();
