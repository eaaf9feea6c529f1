#pragma once
// Copies resources (with their children and behaviour) and decides whether a
// resource may be copied and where. Stateless, apart from the two temporary lists
// one copy at a time collects its sources and copies in.
#include <vector>

#include "TavCopy.h"

// Why a resource may not be copied, or not under a parent (0: it may).
enum OrvVekDetermineResult {
  OrvVekAcceptable = 0,
  OrvVekNotAResource = 1,
  OrvVekResourceNotSaved = 2,
  OrvVekWrongPlanType = 3,
  OrvVekParentHasNoChildRights = 4,
};

class OrvVekCopyResourceServices {
public:
  // A copy of `resource` as the last child of `newFather`: devices (and, in a hub
  // document, host-generation products of the engineering database) as a new instance
  // of the same reference; any other resource as a new reference named `newName`, its
  // children copied below it in order and its behaviour copied. The source subtree is
  // taken before anything is made, so a father inside it is safe. A copy that fails
  // half-way leaves the model as it was. E_FAIL with a null copy on failure (also
  // while another copy holds the temporary lists).
  static HRESULT CopyResource(const Ref<TavIProduct>& resource, const Ref<TavIProduct>& newFather,
                              const Ref<TavDocument>& document, const TavUnicodeString& newName,
                              Ref<TavIProduct>& copy);
  static HRESULT CopyAsInstance(const Ref<TavIProduct>& resource, const Ref<TavIProduct>& newFather, Ref<TavIProduct>& copy);
  // A new reference `partNumber` under `newFather` with the resource's type, attributes
  // and position; `instanceName` when given, else the host's first free name.
  static HRESULT CopyOneChildResource(const Ref<TavIProduct>& resource, const Ref<TavIProduct>& newFather,
                                      const TavUnicodeString& partNumber, const TavUnicodeString& instanceName,
                                      Ref<TavIProduct>& copy);
  // Copies each of `children` (a snapshot of a source's children) below `copy`, in order.
  static HRESULT CopyChildrenResources(const std::vector<Ref<TavIProduct>>& children, const Ref<TavIProduct>& copy);

  static bool ResourceIsSaved(const Ref<TavBaseUnknown>& resource);
  static bool IsHubMode(const Ref<TavDocument>& document);
  static bool IsAKwProductInHx(const Ref<TavBaseUnknown>& resource);
  // A resource of type "Device", or one brought into the process as a resource context.
  static bool IsResourceADevice(const Ref<TavBaseUnknown>& resource);

  // The resource at the leaf of the path (null when it is none).
  static Ref<TavIProduct> DetermineResource(const TavPathElement& path);
  static OrvVekDetermineResult DetermineCopyResource(const TavPathElement& path, const Ref<TavISPPProcessContainer>& container,
                                                     const Ref<TavDocument>& document);
  // `planType`: the hub plan type of the resource to go below the parent (empty: none).
  static OrvVekDetermineResult DetermineParentResource(const TavPathElement& path, const Ref<TavISPPProcessContainer>& container,
                                                       const Ref<TavDocument>& document, const TavUnicodeString& planType);
  static bool ResourceCanAddChild(const Ref<TavIProduct>& parent, const Ref<TavDocument>& document);
  static bool ResourceCanCreatePlanType(const TavPathElement& parent, const Ref<TavDocument>& document,
                                        const TavUnicodeString& planType);
  // The hub plan type name of a resource; empty when it has none.
  static TavUnicodeString PlanTypeOf(const Ref<TavBaseUnknown>& resource);
  // The message of a check result ("" for acceptable), from catalogue "OrvVekCopyResourceCmd".
  static TavUnicodeString ResultMessage(OrvVekDetermineResult result, const TavUnicodeString& planType = {});
};
