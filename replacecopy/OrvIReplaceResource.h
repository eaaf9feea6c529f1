#pragma once
// A resource's own replacement: a resource that supports it brings its own dialog,
// decides whether it can stand in for the first resource, and replaces it.
#include <memory>

#include "OrvGenericReplaceRsrcDlg.h"

class OrvIReplaceResource : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIReplaceResource);
  // A new dialog for the replacement of this resource; false (and none) when the
  // standard dialog serves.
  virtual bool GetDialogObject(std::unique_ptr<OrvGenericReplaceRsrcDlg>& dialog, TavDlgWidget* father) = 0;
  // Whether this resource can replace the first one; a refusal may say why.
  virtual bool CanReplace(const Ref<TavIProduct>& first, TavUnicodeString& message) = 0;
  virtual HRESULT ReplaceResource(const Ref<TavIProduct>& first, const Ref<TavIProduct>& second,
                                  std::vector<Ref<TavISPPActivity>>& activities) = 0;
};
