#pragma once
// What the manufactured-assembly commands need of the host beyond the model: the
// resource tree's root, hub identities, the session's plan-type catalogue and the
// preview window.
#include <functional>

#include "TavServices.h"

// The resource tree's root product ("Resource.1"), a root container of a document.
// The resource list's roots hang under it in the product structure as planners know
// it; their own GetFatherProduct() stays null, so commands that make, copy or replace
// resources keep placing them in the list.
class TavIResourceTreeRoot : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIResourceTreeRoot);
  virtual Ref<TavIProduct> GetRootProduct() const = 0;
};

// The resource tree's root product of the object's document; null without one.
Ref<TavIProduct> TavResourceTreeRootOf(const Ref<TavBaseUnknown>& object);

// The product a product hangs under in the product structure: its father product,
// for a root resource the resource tree's root product; null above that.
Ref<TavIProduct> TavFatherInProductTree(const Ref<TavIProduct>& product);

// The hub identity of an object (its hub value "PLMID").
class OrvPLMServices {
public:
  // S_OK with the identity; E_FAIL with an empty one outside the hub or when the
  // object has none.
  static HRESULT GetPLMID(const Ref<TavBaseUnknown>& object, TavUnicodeString& id);
};

// The plan types the hub knows, by type name.
class OrvIMHIPTSInfo : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMHIPTSInfo);
  // The sub-types of a type name ("ergocompmanufacturingkit"), in catalogue order;
  // S_OK with none for a type the catalogue does not list.
  virtual HRESULT GetSubTypes(const TavUnicodeString& typeName, std::vector<TavUnicodeString>& subTypes) const = 0;
};

// The plan-type services of a session (a root container of its documents).
class OrvIPLMTypeServices : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIPLMTypeServices);
  virtual HRESULT GetPTSInfo(Ref<OrvIMHIPTSInfo>& info) const = 0;
  // The services of the current editor's document; null without one.
  static Ref<OrvIPLMTypeServices> OfSession();
};

// A window of the editor showing some products on their own; closed by its own
// close buttons.
class VEKPreviewWindow : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(VEKPreviewWindow);
  // A new preview window on the editor; null before the host is started or without an editor.
  static Ref<VEKPreviewWindow> Open(const Ref<TavFrmEditor>& editor);
  using Factory = std::function<Ref<VEKPreviewWindow>(const Ref<TavFrmEditor>&)>;
  static void InstallFactory(Factory f);  // the host's; an empty one uninstalls

  // Replaces the shown products.
  virtual void SetItems(const std::vector<Ref<TavBaseUnknown>>& items) = 0;
  virtual std::vector<Ref<TavBaseUnknown>> GetItems() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool IsVisible() const = 0;
  // The user closed it: it shows nothing any more.
  virtual bool IsClosed() const = 0;
  virtual void Close() = 0;
};

void TavDeclareMfgAssyInterfaces();
