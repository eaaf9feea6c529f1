#include "OrvVekUnassignServices.h"

int OrvVekUnassignServices::RemoveProductItems(const Ref<TavBaseUnknown>& activity) {
  auto items = query<TavISPPItemMgt>(activity);
  if (!items) return 0;
  int removed = 0;
  for (auto& item : items->GetItems("Item", 0)) {
    if (!query<TavISPPItem>(item)) continue;
    bool any = false;
    for (unsigned code : kProductItemCodes)
      if (items->IsItemAssigned(item, code) == S_OK && items->RemoveItem(item, code) == S_OK) any = true;
    if (any) ++removed;
  }
  return removed;
}

int OrvVekUnassignServices::RemoveResourceAssignments(const Ref<TavBaseUnknown>& activity,
                                                      const std::function<bool(const Ref<TavBaseUnknown>&)>& keep) {
  int removed = 0;
  if (auto resources = query<TavISPPResourceManagement>(activity)) {
    for (auto& resource : resources->GetResources(0)) {
      if (!query<TavIProduct>(resource) || (keep && keep(resource))) continue;
      bool any = false;
      for (unsigned code : kResourceCodes)
        if (resources->IsResourceAssigned(resource, code) == S_OK && resources->RemoveResource(resource, code) == S_OK)
          any = true;
      if (any) ++removed;
    }
  }
  if (auto items = query<TavISPPItemMgt>(activity))
    for (unsigned code : kResourceItemCodes)
      for (auto& item : items->GetItems("Item", code))
        if (!(keep && keep(item)) && items->RemoveItem(item, code) == S_OK) ++removed;
  return removed;
}
