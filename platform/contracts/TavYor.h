#pragma once
// The hub adapter: how a document opened from the process-engineering hub exposes
// the hub's typed attribute values of its objects. A hub document carries it as a
// root container (`TavYorAdapterOf`); a local document has none.
#include "TavPPR.h"

class TavIYorAdapter : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIYorAdapter);
  // One typed hub value of an object of this document; E_FAIL when the object has
  // no hub record or no such attribute.
  virtual HRESULT GetHubValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& attribute,
                              TavValue& value) const = 0;
  // The object's hub attribute names with their prompts (display names), in the
  // record's order; E_FAIL when the object has no hub record.
  virtual HRESULT GetHubAttributes(const Ref<TavBaseUnknown>& object, std::vector<TavUnicodeString>& names,
                                   std::vector<TavUnicodeString>& prompts) const = 0;
};

// The hub adapter of a document, or null outside the hub.
inline Ref<TavIYorAdapter> TavYorAdapterOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return std::dynamic_pointer_cast<TavIYorAdapter>(doc->GetRootContainer(TavIYorAdapter::kInterfaceName));
}

// Whether a document was opened from the hub (its environment is "YorDocEnv").
inline bool TavIsHubDocument(const Ref<TavDocument>& doc) {
  auto env = doc ? doc->GetDocEnvironment() : nullptr;
  return env && env->GetName() == "YorDocEnv";
}

// One attribute the hub defines for a relation type. Enumerated attributes list
// their allowed internal values and, index-aligned, the texts shown for them.
struct OrvYorAttributeDefinition {
  TavUnicodeString name;         // internal name, under which the value is written
  TavUnicodeString type;         // "KwEPTypeString", "KwEPTypeInteger", "KwEPTypeFloat", "KwEPTypeBool", "KwEPTypeDate"
  TavUnicodeString displayName;
  TavUnicodeString defaultValue;
  int kind = 0;                  // the hub's attribute kind (2: user attribute)
  std::vector<TavUnicodeString> allowedValues, allowedDisplayValues;
};

// The hub layout: which attributes the hub defines for each relation type
// (hub relation names, "relationship_proc_processes_prod", ...).
class OrvIYorLayoutMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIYorLayoutMgt);
  // S_OK with the definitions in layout order (possibly none); E_FAIL for an empty name.
  virtual HRESULT GetAttributeDefinitions(const TavUnicodeString& relationType,
                                          std::vector<OrvYorAttributeDefinition>& definitions) const = 0;
};

// The layout manager of a hub document, or null outside the hub.
inline Ref<OrvIYorLayoutMgt> TavYorLayoutMgtOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return std::dynamic_pointer_cast<OrvIYorLayoutMgt>(doc->GetRootContainer(OrvIYorLayoutMgt::kInterfaceName));
}

// The hub record's own objects of an object of a hub document: the change orders
// "changeorderbegin" and "changeorderend" (the changes the record's revision began
// and ended with), each with the fields "name" and "note". A hub document carries
// it as a root container (`TavYorAttributeMgtOf`).
class TavIYorAttributeMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIYorAttributeMgt);
  static constexpr const char* kChangeOrderBegin = "changeorderbegin";
  static constexpr const char* kChangeOrderEnd = "changeorderend";
  // One field of a record object; E_FAIL when the object has no hub record, the
  // record no such object, or the object no such field.
  virtual HRESULT GetRecordObjectField(const Ref<TavBaseUnknown>& object, const TavUnicodeString& recordObject,
                                       const TavUnicodeString& field, TavUnicodeString& value) const = 0;
  // Writes a field of an existing record object ("note"; "name" is the hub's and
  // refused); E_FAIL, and nothing changes, otherwise.
  virtual HRESULT SetRecordObjectField(const Ref<TavBaseUnknown>& object, const TavUnicodeString& recordObject,
                                       const TavUnicodeString& field, const TavUnicodeString& value) = 0;
};

inline Ref<TavIYorAttributeMgt> TavYorAttributeMgtOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return std::dynamic_pointer_cast<TavIYorAttributeMgt>(doc->GetRootContainer(TavIYorAttributeMgt::kInterfaceName));
}
