#pragma once
// A manufacturing component that depends on a product: the product replacement lists
// it (IsReplaceable), names it and its type, and lets it act before and after the
// replacement. Queried on each object that points at the replaced product.
#include "TavPPR.h"

class OrvIReplaceImpactedProduct : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIReplaceImpactedProduct);
  virtual HRESULT DoPreReplaceAction(Ref<TavBaseUnknown>& product) = 0;
  virtual HRESULT DoPostReplaceAction(Ref<TavBaseUnknown>& product) = 0;
  virtual HRESULT Replace(Ref<TavBaseUnknown>& oldProduct, Ref<TavBaseUnknown>& newProduct) = 0;
  // A success code lists the component.
  virtual HRESULT IsReplaceable() = 0;
  virtual HRESULT GetNameofComponent(TavUnicodeString& name) = 0;
  virtual HRESULT GetNLSTypeOfComponent(TavUnicodeString& type) = 0;
};

// The components of the process: flow objects and relations are named after their
// activity, anything else by its alias; all are of type "Manufacturing Assembly".
// They do nothing themselves before, during or after a replacement.
class OrvEReplaceImpactedProduct : public virtual OrvIReplaceImpactedProduct {
public:
  explicit OrvEReplaceImpactedProduct(Ref<TavBaseUnknown> extended) : extended_(std::move(extended)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return extended_; }
  HRESULT DoPreReplaceAction(Ref<TavBaseUnknown>&) override { return E_NOTIMPL; }
  HRESULT DoPostReplaceAction(Ref<TavBaseUnknown>&) override { return E_NOTIMPL; }
  HRESULT Replace(Ref<TavBaseUnknown>&, Ref<TavBaseUnknown>&) override { return E_NOTIMPL; }
  HRESULT IsReplaceable() override { return S_OK; }
  HRESULT GetNameofComponent(TavUnicodeString& name) override;
  HRESULT GetNLSTypeOfComponent(TavUnicodeString& type) override;

private:
  Ref<TavBaseUnknown> extended_;
};

// The components another application adds: listed, nameless unless it says so.
class OrvEExtReplaceImpactedProduct : public virtual OrvIReplaceImpactedProduct {
public:
  explicit OrvEExtReplaceImpactedProduct(Ref<TavBaseUnknown> extended) : extended_(std::move(extended)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return extended_; }
  HRESULT DoPreReplaceAction(Ref<TavBaseUnknown>&) override { return S_OK; }
  HRESULT DoPostReplaceAction(Ref<TavBaseUnknown>&) override { return S_OK; }
  HRESULT Replace(Ref<TavBaseUnknown>&, Ref<TavBaseUnknown>&) override { return S_OK; }
  HRESULT IsReplaceable() override { return S_OK; }
  HRESULT GetNameofComponent(TavUnicodeString&) override { return S_OK; }
  HRESULT GetNLSTypeOfComponent(TavUnicodeString&) override { return S_OK; }

private:
  Ref<TavBaseUnknown> extended_;
};
