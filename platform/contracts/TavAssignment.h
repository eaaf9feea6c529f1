#pragma once
// What relating items to activities and to resource behaviours relies on:
// behaviours and their input and output items, resource attributes, contexts,
// hub attribute values on relations, and the host's magnitude decoding.
#include "TavPPR.h"

// ---------------------------------------------------------------- behaviours
// The activity-like object a resource carries (its father is the resource).
class OrvIResourceBehavior : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIResourceBehavior);
  virtual Ref<TavIProduct> GetResource() const = 0;
};

// A resource's behaviour, created on demand.
class OrvIResourceBehaviorManager : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIResourceBehaviorManager);
  // Whether this resource's kind can carry a behaviour at all.
  virtual bool CanHaveBehavior() const = 0;
  // The behaviour, or null when there is none.
  virtual Ref<OrvIResourceBehavior> GetBehavior() const = 0;
  // The behaviour, made when missing; null when the resource cannot have one.
  virtual Ref<OrvIResourceBehavior> CreateBehavior() = 0;
  // Removes the behaviour with its items; E_FAIL when there is none.
  virtual HRESULT RemoveBehavior() = 0;
};

// The input and output items of a behaviour.
class OrvIResourceItemMgmt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIResourceItemMgmt);
  // S_OK when added, S_FALSE when the item was there already, E_FAIL when refused.
  virtual HRESULT AddInputItem(const Ref<TavBaseUnknown>& item) = 0;
  virtual HRESULT AddOutputItem(const Ref<TavBaseUnknown>& item) = 0;
  // S_OK when removed, E_FAIL when the item was not there.
  virtual HRESULT RemoveInputItem(const Ref<TavBaseUnknown>& item) = 0;
  virtual HRESULT RemoveOutputItem(const Ref<TavBaseUnknown>& item) = 0;
  virtual std::vector<Ref<TavBaseUnknown>> GetInputItems() const = 0;
  virtual std::vector<Ref<TavBaseUnknown>> GetOutputItems() const = 0;
  // S_OK when the item is an input or an output, S_FALSE when not, E_FAIL for a null item.
  virtual HRESULT IsItemAssigned(const Ref<TavBaseUnknown>& item) const = 0;
};

// A behaviour that derives its outputs from its items.
class OrvIOutputUpdate : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIOutputUpdate);
  virtual HRESULT UpdateOutputs() = 0;
};

// A resource's attributes, loaded on demand.
class OrvIResourceAttrAccess : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIResourceAttrAccess);
  virtual bool AreAttributesLoaded() const = 0;
  virtual HRESULT LoadAttributes() = 0;
  // E_FAIL when the attribute is missing or no boolean.
  virtual HRESULT GetBooleanAttribute(const TavUnicodeString& name, bool& value) const = 0;
};

// What kind of resource this is, as far as item relations care.
class OrvIGetResourceType : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIGetResourceType);
  virtual TavUnicodeString GetResourceTypeName() const = 0;
  // Whether the input items of its behaviour are gathered in an output assembly.
  virtual bool KeepsOutputAssembly() const = 0;
};

// ---------------------------------------------------------------- resource relations of items
enum OrvResourceRelationType { OrvResourceInputItem = 1, OrvResourceOutputItem = 2 };

// An item (product or manufactured assembly) related to a resource's behaviour.
class OrvIResourceRelations : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIResourceRelations);
  virtual HRESULT AddResourceRelation(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type, unsigned char,
                                      unsigned char) = 0;
  virtual HRESULT RemoveResourceRelation(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type, unsigned char,
                                         unsigned char) = 0;
  virtual HRESULT IsValidToAssign(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type) = 0;
  virtual HRESULT IsAssigned(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type) = 0;
};

// ---------------------------------------------------------------- contexts
// The document's record of which products make the 3D context of which activities.
class TavISPPContextContainer : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPContextContainer);
  virtual std::vector<Ref<TavBaseUnknown>> GetContexts(const Ref<TavBaseUnknown>& activity) const = 0;
  virtual HRESULT AddContext(const Ref<TavBaseUnknown>& activity, const Ref<TavBaseUnknown>& product) = 0;
};

class TavSPPContextsServices {
public:
  // Whether the product (or one of its ancestors) is in a context of the activity
  // or of one of the activity's ancestors.
  static bool SearchInContexts(const Ref<TavBaseUnknown>& product, const Ref<TavBaseUnknown>& activity);
};

// ---------------------------------------------------------------- hub attribute values
// Writes typed hub attribute values onto relation objects and flow outputs of a hub document.
class OrvIMHIAttributeMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMHIAttributeMgt);
  // E_FAIL for an object that cannot carry hub values, or an empty value.
  virtual HRESULT SetAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name,
                                    const TavValue& value) = 0;
  virtual HRESULT GetAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name,
                                    TavValue& value) const = 0;
  virtual HRESULT RemoveAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name) = 0;
};

// The hub attribute service of a document, or null outside the hub.
Ref<OrvIMHIAttributeMgt> OrvMHIAttributeMgtOf(const Ref<TavDocument>& doc);

// ---------------------------------------------------------------- magnitudes
// The host's integer and real magnitudes: a number with an optional unit ("12.5 mm",
// "3min", "-2"). Values come back in the magnitude's base unit (mm, kg, s, deg, N,
// N*m); a unit must be one the host knows and an integer must stay whole.
class TavParmDictionary {
public:
  static HRESULT DecodeInteger(const TavUnicodeString& text, std::int64_t& value);
  static HRESULT DecodeReal(const TavUnicodeString& text, double& value);
};

void TavDeclareAssignmentInterfaces();
