#pragma once
// Taking an activity's assignments away: what total unassign does to a branch and a
// process copy does to the relations it does not keep. Codes 8 and 16 (attached,
// detached) relate resources as items on this host: they belong to the resource side.
#include <functional>

#include "TavPPR.h"

class OrvVekUnassignServices {
public:
  static constexpr unsigned kProductItemCodes[] = {TavItemCode::Processes, TavItemCode::FirstProcesses,
                                                   TavItemCode::Removes, TavItemCode::ImplementsRequirement};
  static constexpr unsigned kResourceItemCodes[] = {TavItemCode::Attaches, TavItemCode::Detaches};
  static constexpr unsigned kResourceCodes[] = {TavResourceCode::Uses, TavResourceCode::RunsOn};

  // Every product code of every item; an item counts once however many codes held it.
  // Returns the items removed.
  static int RemoveProductItems(const Ref<TavBaseUnknown>& activity);
  // The resources (each counted once) and the resource items (each code counted),
  // except those `keep` answers yes for. Returns the count.
  static int RemoveResourceAssignments(const Ref<TavBaseUnknown>& activity,
                                       const std::function<bool(const Ref<TavBaseUnknown>&)>& keep = {});
};
