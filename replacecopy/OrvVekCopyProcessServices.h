#pragma once
// Copies an activity (with all its sub-activities) under another activity or a
// resource behaviour, keeps or drops the copy's relations, and moves its resource
// relations to fresh copies of the resources. Stateless.
#include <vector>

#include "TavCopy.h"

// What happens to the copy's relations (the copy dialog's three check buttons).
enum OrvVekCopyOption {
  OrvVekCopyNothing = 0,          // drop product and resource relations
  OrvVekCopyResources = 1,        // resources copied, product relations dropped
  OrvVekCopyResourcesAndPrd = 2,  // resources copied, product relations kept
  OrvVekKeepRscLinks = 3,         // resource relations kept, product relations dropped
  OrvVekKeepRscAndPrdLinks = 4,   // both kept
  OrvVekKeepPrdLinks = 5,         // product relations kept, resource relations dropped
};

// One resource attached to the tree to copy, with the activity that holds it.
struct OrvVekAttachedResource {
  Ref<TavIProduct> resource;
  Ref<TavISPPActivity> activity;
  int type = 0;  // DetermineAssignmentType
  // Set on a resource below another attached resource: its copy is made with its father's.
  bool childOfAssigned = false;
};

class OrvVekCopyProcessServices {
public:
  // 0x80004005 with nothing changed when the process or the new parent is missing,
  // when the input lists differ in length (options 1 and 2), when the copy or the
  // paste is refused or makes no child. Otherwise the copy is renamed `copyName`, its
  // relations kept or dropped by `options`, and with options 1 and 2 each attached
  // resource is copied once (`copiedResources` gets the copies in row order) and
  // related to the copied activity; a resource whose copy fails gets no relation.
  static HRESULT CopyProcessAndResource(const Ref<TavISPPActivity>& process, const Ref<TavBaseUnknown>& newParent,
                                        const TavUnicodeString& copyName, const std::vector<Ref<TavIProduct>>& resources,
                                        const std::vector<Ref<TavIProduct>>& newFathers,
                                        const std::vector<int>& assignmentTypes,
                                        const std::vector<TavUnicodeString>& newNames,
                                        const std::vector<Ref<TavISPPActivity>>& activities,
                                        const std::vector<bool>& childFlags, std::vector<Ref<TavIProduct>>& copiedResources,
                                        int options, Ref<TavISPPActivity>* copy = nullptr);

  // The first activity of `after` that is not in `before`.
  static Ref<TavISPPActivity> GetTopChild(const std::vector<Ref<TavBaseUnknown>>& before,
                                          const std::vector<Ref<TavBaseUnknown>>& after);
  // The process followed by all its descendant activities, depth first, in child order.
  static void GetAllActivities(const Ref<TavISPPActivity>& process, std::vector<Ref<TavISPPActivity>>& list);
  // Product items (resource items, codes 8 and 16, stay) and product outputs.
  static void DeleteProdAssigments(const Ref<TavISPPActivity>& activity);
  // Resources and resource items; in a hub document with options 1 and 2 the
  // host-generation products of the engineering database stay.
  static void DeleteResAssigments(const Ref<TavISPPActivity>& activity, int options);
  static void RemoveStatesFromContext(const Ref<TavISPPActivity>& activity);
  // Types 1-4 of the relation table; 0x80004005 for any other.
  static HRESULT AssignResourceToProcess(const Ref<TavISPPActivity>& activity, const Ref<TavIProduct>& resource, int type);
  // The element of `copies` at the position of `source` in `sources` (null when absent).
  static Ref<TavISPPActivity> GetCopyOfProcess(const Ref<TavISPPActivity>& source,
                                               const std::vector<Ref<TavISPPActivity>>& sources,
                                               const std::vector<Ref<TavISPPActivity>>& copies);

  // 1 uses, 2 runs on, 3 attaches, 4 detaches: the first kind (1, 2, 8, 16) the
  // activity holds the resource under; 0 when none.
  static int DetermineAssignmentType(const Ref<TavISPPActivity>& activity, const Ref<TavBaseUnknown>& resource);
  // Every resource related to the process or a sub-activity (resource relations, then
  // resource items), once per activity, with its type; resources below another
  // attached resource are marked.
  static std::vector<OrvVekAttachedResource> GetAttachedResources(const Ref<TavISPPActivity>& process);
  static bool IsCopyingResources(int options) { return options == OrvVekCopyResources || options == OrvVekCopyResourcesAndPrd; }
  static int OptionsFrom(bool copyResources, bool keepResourceLinks, bool keepProductLinks);
};
