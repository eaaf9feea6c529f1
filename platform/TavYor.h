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
