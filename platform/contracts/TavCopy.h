#pragma once
// Copying activity subtrees and resources, making and deleting resources: the
// editor's copy-and-paste actor, new products through a father's products
// collection, the resource factory and its type libraries, what links to a
// resource, whether a product is saved, and the hub's rights and flags on products.
#include "TavResources.h"
#include "TavServices.h"

// ---------------------------------------------------------------- copy and paste
// The copy-and-paste actor of an editor (an extension of TavFrmEditor). Mode 1
// copies: it keeps a snapshot of the selected activity subtrees, so that a later
// paste does not depend on the sources (and a paste under one of them cannot walk
// its own copy). Mode 4 pastes the snapshot under the one selected parent.
class TavCCP_Actor : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavCCP_Actor);
  static constexpr int kCopyMode = 1, kPasteMode = 4;
  virtual void SetMode(int mode) = 0;
  virtual int GetMode() const = 0;
  // Mode 1: the selection is not empty and every element ends at an activity of the
  // editor's document (a process root too). Mode 4: a snapshot is held and the
  // selection is one activity or resource behaviour of that document.
  virtual bool IsAllowed(const TavSelectionSet& selection) const = 0;
  // Mode 1 only; E_FAIL (snapshot unchanged) when not allowed.
  virtual HRESULT Copy(const TavSelectionSet& selection) = 0;
  // Mode 4 only: each snapshot subtree becomes a new last child of the parent, with
  // fresh ids and the labels, types, times, descriptions and attributes of the
  // sources; their relations (with attributes), flow outputs and 3D contexts; the
  // control-flow links, precedences and constraints among the copied activities.
  // Recorded for undo. E_FAIL, nothing changed, when not allowed or when the parent
  // refuses a child of that type.
  virtual HRESULT Paste(const TavSelectionSet& selection) = 0;
};

// ---------------------------------------------------------------- products and resources
// A product (or resource) as the father of new products.
class TavIAProducts : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIAProducts);
  // A new reference with this part number as the last child, named after it with the
  // first free ".N" among the children ("Gun" -> "Gun.1"); a resource under a
  // resource. Recorded for undo. E_FAIL for an empty part number.
  virtual HRESULT AddProduct(const TavUnicodeString& partNumber, Ref<TavIProduct>& created) = 0;
};

// The resource factory of a document (a root container).
class TavIResourceFactory : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIResourceFactory);
  // Gives a product of the resource list its instance name and resource type, and
  // the attributes "Category" (text), "MTBF" and "MTTR" (integers). E_FAIL for no
  // resource of this document, an empty name or type.
  virtual HRESULT MakeResource(const Ref<TavIProduct>& product, const TavUnicodeString& name,
                               const TavUnicodeString& type, const TavUnicodeString& category, int mtbf,
                               int mttr) = 0;
};

// The resource type libraries ("ResourceWex.feat"), read from the host's resource
// type folder.
class TavResourceTypeList {
public:
  virtual ~TavResourceTypeList() = default;
  static TavResourceTypeList* Get();  // null before the host is started
  static void Install(TavResourceTypeList* list);
  // The types of the library in file order; E_FAIL with a message naming the file
  // when it is missing or malformed.
  virtual HRESULT GetResourceTypes(const TavUnicodeString& library, std::vector<TavUnicodeString>& types,
                                   std::string& error) = 0;
};

// Where a product hangs: its father product, or for a root the document's product
// or resource list, an object whose identificator (TavINavigateObject) is "Product"
// or "Resource" and which takes the product notifications (TavIProductInSession)
// and redraws (TavIRedrawEvent) like a product.
class TavIProductPlace : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIProductPlace);
  virtual Ref<TavBaseUnknown> GetFatherObject() const = 0;
};

// The process container's resource list (a root container of process documents):
// the top-level resources.
class TavIProcessResourceList : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIProcessResourceList);
  virtual bool HasResource(const Ref<TavBaseUnknown>& resource) const = 0;  // a root of the list
  // Takes a root and its subtree out of the document. Recorded for undo. E_FAIL when
  // it is no root of the list. Activities naming it are the caller's business.
  virtual HRESULT RemoveResource(const Ref<TavBaseUnknown>& resource) = 0;
};

inline Ref<TavIProcessResourceList> TavProcessResourceListOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return query<TavIProcessResourceList>(doc->GetRootContainer(TavIProcessResourceList::kInterfaceName));
}

// Whether a product is in the document's file: not made since the last load or save.
class TavISavedState : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISavedState);
  virtual bool IsSaved() const = 0;
};

// ---------------------------------------------------------------- links to a resource
// An object that activity relations point at.
class TavILinkableObject : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavILinkableObject);
  // The spec objects (one per relation naming this object), in document order.
  virtual std::vector<Ref<TavBaseUnknown>> GetLinkedObjects() const = 0;
};

// A spec object: named references; "PhysicActivity" is the activity owning a relation.
class TavISpecObject : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISpecObject);
  // Null when the attribute is missing or holds no value.
  virtual Ref<TavBaseUnknown> GetSpecAttribute(const TavUnicodeString& name) const = 0;
};

// ---------------------------------------------------------------- resource events
// A notification about a resource; the host acts on some texts:
// "DeletePODSForChildren" drops every relation, flow output, behaviour item, 3D
// context and resource context naming the resource or a descendant (recorded for
// undo) so that the resource can go; "ResourceDeactivated" is only reported.
class OrvResourceModifiedNotification {
public:
  explicit OrvResourceModifiedNotification(TavUnicodeString text) : text_(std::move(text)) {}
  const TavUnicodeString& GetText() const { return text_; }

private:
  TavUnicodeString text_;
};

// A resource's (or resource list's) model events.
class TavIModelEvents : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIModelEvents);
  virtual void Dispatch(const OrvResourceModifiedNotification& notification) = 0;
};

class TavPrdProductRemovedNotification {
public:
  TavPrdProductRemovedNotification(Ref<TavBaseUnknown> father, Ref<TavBaseUnknown> removed)
      : father_(std::move(father)), removed_(std::move(removed)) {}
  const Ref<TavBaseUnknown>& GetFather() const { return father_; }
  const Ref<TavBaseUnknown>& GetRemoved() const { return removed_; }

private:
  Ref<TavBaseUnknown> father_, removed_;
};

// The product root's event dispatcher (a root container of process documents).
class TavIProductEventDispatcher : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIProductEventDispatcher);
  virtual void SetCurrentEvent(const TavPrdProductRemovedNotification& event) = 0;
  // Persistent: the event stays current after it was dispatched, for late listeners.
  virtual void SetPersistent(bool persistent) = 0;
  virtual bool IsPersistent() const = 0;
  // Sends the current event to the listeners; nothing when there is none.
  virtual void DispatchCurrent() = 0;
};

// ---------------------------------------------------------------- hub products
// What the hub knows of a product of a hub document (an extension of products).
class OrvIMHIProductAccess : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMHIProductAccess);
  // The hub's access management grants the child right (may receive children).
  virtual bool HasChildRight() const = 0;
  // A host-generation product stored in the engineering database.
  virtual bool IsAKwProductInHx() const = 0;
};

// ---------------------------------------------------------------- host copy services
// What the host installs behind OrvVekServices' copy operations.
class TavResourceCopyHost {
public:
  virtual ~TavResourceCopyHost() = default;
  static TavResourceCopyHost* Get();  // null before the host is started
  static void Install(TavResourceCopyHost* host);
  // Gives `copy` a behaviour like the source resource's: label, child activities
  // (as a paste would copy them) and items. S_FALSE when the source has none.
  virtual HRESULT CopyBehavior(const Ref<TavBaseUnknown>& source, const Ref<TavBaseUnknown>& copy) = 0;
  // The product-added notification of the product structure.
  virtual HRESULT SendPrdAddNotification(const Ref<TavBaseUnknown>& father, const Ref<TavBaseUnknown>& added) = 0;
  // Control-flow links between activities of the sources' behaviours, made between
  // the matching activities of the copies' behaviours (same position in the subtree).
  virtual HRESULT CopySequenceLinks(const std::vector<Ref<TavBaseUnknown>>& sources,
                                    const std::vector<Ref<TavBaseUnknown>>& copies) = 0;
  // Every activity relation naming a source gets a twin naming its copy.
  virtual HRESULT CopyAssignments(const std::vector<Ref<TavBaseUnknown>>& sources,
                                  const std::vector<Ref<TavBaseUnknown>>& copies) = 0;
  // The plan type names a child of the path's leaf may have (the allowed child types
  // of its plan type in a hub document); E_FAIL outside the hub or without a plan type.
  virtual HRESULT GetAuthorizedChildrenNames(const TavPathElement& parent, std::vector<TavUnicodeString>& names) = 0;
};

void TavDeclareCopyInterfaces();
