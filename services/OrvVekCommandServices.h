#pragma once
// Stateless services many commands use: the process of the current document,
// all of its activities, display names, reframing.
#include "TavServices.h"

class OrvVekCommandServices {
public:
  static HRESULT GetProcessContainer(Ref<TavISPPProcessContainer>& container, const Ref<TavBaseUnknown>& activity);
  static HRESULT GetRootProcess(Ref<TavISPPActivityRoot>& root, const Ref<TavBaseUnknown>& activity);
  // Root descendants of type "Activity", then every TSA, then each TSA's descendants.
  static std::vector<Ref<TavISPPActivity>> GetAllActivities();
  static TavUnicodeString GetDisplayName(const Ref<TavBaseUnknown>& object);
  static void ReframeOnCSO();
  // The pick path of an activity (or behaviour): its fathers from the process root
  // (or the behaviour) down to it, as the tree shows it.
  static TavPathElement GetActivityPath(const Ref<TavBaseUnknown>& activity);
};
