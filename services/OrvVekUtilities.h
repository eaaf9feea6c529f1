#pragma once
// Output products of activities and the notifications that keep the process tree current.
#include "TavPlanner.h"

class OrvVekUtilities {
public:
  // Appends every product the activity outputs; duplicates are then removed from the whole list.
  static HRESULT GetOutputItems(const Ref<TavBaseUnknown>& activity, std::vector<Ref<TavBaseUnknown>>& list);
  static HRESULT GetAllOutputItems(std::vector<Ref<TavBaseUnknown>>& list);
  static HRESULT DispatchAddContextNotif(const Ref<TavDocument>& document);
  static HRESULT DispatchCreateChildNotif(const Ref<TavDocument>& document);
  static HRESULT DispatchAddChildNotif(const Ref<TavDocument>& document);
  static HRESULT RedrawFakeNode(const Ref<TavDocument>& document);

private:
  static HRESULT Dispatch(const Ref<TavDocument>& document, int kind);
};
