#pragma once
// The host's planner services that the workbench's services call.
#include "TavPPR.h"

class OrvIResourceBehavior;
class TavPathElement;

class OrvVekServices {
public:
  // The document's TSAs (activity-like objects outside the process tree), in document order.
  static std::vector<Ref<TavBaseUnknown>> GetAllTSAs(const Ref<TavDocument>& doc);

  // Whether the session works on a hub document (the current editor's document).
  static bool IsZarnetSession();

  // Resources and their behaviours.
  static bool IsResource(const Ref<TavBaseUnknown>& object);
  // A work-station cell: a resource of type "WSC".
  static bool IsAWSC(const Ref<TavBaseUnknown>& object);
  // 1 when the resource can carry a behaviour, 0 when not or for no resource.
  static int CanResourceHaveBehavior(const Ref<TavBaseUnknown>& resource);
  // The resource's behaviour, created when missing (`existed` false then). E_FAIL
  // with a null behaviour when the resource has none and cannot have one.
  static HRESULT GetResourceBehavior(const Ref<TavBaseUnknown>& resource, int& canHave,
                                     Ref<OrvIResourceBehavior>& behavior, bool& existed);
  static HRESULT DeleteResourceBehavior(const Ref<TavBaseUnknown>& resource);
  // Whether the object is in the product list (with the document's manufactured
  // assemblies, which the PPR tree shows there) or in the resource list of its document.
  static bool InPPRProductList(const Ref<TavBaseUnknown>& object);
  static bool InPPRResourceList(const Ref<TavBaseUnknown>& object);

  // Resource contexts of a document (TavIResourceContexts): the resource or one of
  // its ancestors is one; add or remove one (S_FALSE when nothing changed, E_FAIL
  // without a document or its contexts).
  static bool IsResourceUnderResourceContext(const Ref<TavBaseUnknown>& resource);
  static HRESULT AddResourceContext(const Ref<TavDocument>& doc, const Ref<TavBaseUnknown>& resource);
  static HRESULT RemoveResourceContext(const Ref<TavDocument>& doc, const Ref<TavBaseUnknown>& resource);

  // Resource copies (TavResourceCopyHost; E_FAIL before the host is started).
  static HRESULT CopyBehavior(const Ref<TavBaseUnknown>& source, const Ref<TavBaseUnknown>& copy);
  static HRESULT SendPrdAddNotification(const Ref<TavBaseUnknown>& father, const Ref<TavBaseUnknown>& added);
  static HRESULT CopySequenceLinks(const std::vector<Ref<TavBaseUnknown>>& sources,
                                   const std::vector<Ref<TavBaseUnknown>>& copies);
  static HRESULT CopyAssignments(const std::vector<Ref<TavBaseUnknown>>& sources,
                                 const std::vector<Ref<TavBaseUnknown>>& copies);
  // The plan type names a child of the path's leaf may have, in a hub document.
  static HRESULT GetAuthorizedChildrenNames(const TavPathElement& parent, std::vector<TavUnicodeString>& names);

  // The behaviours of the current editor's document, in resource tree order (each
  // root resource, then its descendants depth first). Empty without an editor.
  static std::vector<Ref<OrvIResourceBehavior>> GetAllBehavior();
  // What a pick is for an assignment: 1 a product (the path's top is in the product
  // list), 2 a resource (an element of the path is in the resource list, or, when the
  // editor's active path ends in an activity, `product` is in a context of
  // `activity`), 0 neither. `activity` and `product` may be null.
  static int DetermineItemOrResource(const TavPathElement& path, const Ref<TavBaseUnknown>& activity,
                                     const Ref<TavBaseUnknown>& product);
  static bool IsPathInPPRProductList(const TavPathElement& path);
  static bool IsPathInPPRResourceList(const TavPathElement& path);
};
