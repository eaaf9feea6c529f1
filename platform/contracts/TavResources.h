#pragma once
// Product structure editing and resource devices: instances of a product's
// reference, block-movable placement, product notifications, the document's
// resource contexts, activity modification events, and plant files read as a
// source of resources.
#include "TavPPR.h"

// A resource of the resource list (and of nothing else).
class TavIResource : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIResource);
};

// A flow output (or input) that carries control rather than a product.
class TavISPPControlIO : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPControlIO);
};

// What the process tree is told when an activity changed: a numeric kind
// (TavActivityModification) or a named one ("Add_Context", "Remove_Context").
class TavISPPActivityModificationEvents : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPActivityModificationEvents);
  virtual void SendModification(int kind) = 0;
  virtual void SendModification(const TavUnicodeString& kind) = 0;
};

// A product as the father of instances. Products with one part number share one
// reference: its structure is what a new instance receives.
class TavIProductInstances : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIProductInstances);
  // A new child instance of the reference of `of` (a product of any document): fresh
  // ids, the same part number, resource type, attributes and placement, an instance
  // name unique among this product's children ("Robot.2" when "Robot.1" is taken),
  // and the reference's children instantiated below it. E_FAIL when `of` is null,
  // is this product or one of its ancestors, or is a product where this is a resource
  // (or the reverse).
  virtual HRESULT AddInstance(const Ref<TavIProduct>& of, Ref<TavIProduct>& created) = 0;
  // Takes a child instance and its subtree out of the document; the activities'
  // relations and outputs naming them go too. E_FAIL when it is no child of this one.
  virtual HRESULT RemoveInstance(const Ref<TavIProduct>& child) = 0;
};

// Whether a product moves as one block with its children (a product's default: yes).
class TavIBlockMovable : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIBlockMovable);
  virtual bool IsBlockMovable() const = 0;
  virtual HRESULT SetBlockMovable(int value) = 0;  // 0 no, anything else yes
};

// The product structure's notifications, sent through any product of the document;
// the PPR tree listens to them.
class TavIProductInSession : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIProductInSession);
  virtual void SendProductAdded(const Ref<TavIProduct>& father, const Ref<TavIProduct>& added) = 0;
  virtual void SendProductRemoved(const Ref<TavIProduct>& father, const Ref<TavIProduct>& removed) = 0;
  // The product (resource) root changed: a context came or went.
  virtual void SendRootModified() = 0;
};

// The document's resource contexts: resources brought into the process as devices.
// A root container of process documents.
class TavIResourceContexts : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIResourceContexts);
  virtual std::vector<Ref<TavIProduct>> GetResourceContexts() const = 0;  // in the order added
  // S_FALSE when it is one already; E_FAIL for no resource of this document.
  virtual HRESULT AddResourceContext(const Ref<TavBaseUnknown>& resource) = 0;
  // S_FALSE when it is none.
  virtual HRESULT RemoveResourceContext(const Ref<TavBaseUnknown>& resource) = 0;
  // The resource itself is a context.
  virtual bool IsResourceContext(const Ref<TavBaseUnknown>& resource) const = 0;
  // The resource or one of its ancestors is a context.
  virtual bool IsUnderResourceContext(const Ref<TavBaseUnknown>& resource) const = 0;
};

inline Ref<TavIResourceContexts> TavResourceContextsOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return query<TavIResourceContexts>(doc->GetRootContainer(TavIResourceContexts::kInterfaceName));
}

// Plant files read as a source of resources (the file and catalogue browsers).
class TavPlantFileReader {
public:
  virtual ~TavPlantFileReader() = default;
  static TavPlantFileReader* Get();  // null before the host is started
  static void Install(TavPlantFileReader* reader);
  // The roots of the file's resource list, in order; the file stays open for the
  // session, so the handles stay valid. E_FAIL with a message naming the file when
  // it cannot be read.
  virtual HRESULT ReadResources(const std::string& path, std::vector<Ref<TavIProduct>>& resources,
                                std::string& error) = 0;
};

void TavDeclareResourceInterfaces();
