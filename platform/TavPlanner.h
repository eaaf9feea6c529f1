#pragma once
// The host's planner services that the workbench's services call.
#include "TavPPR.h"

class OrvVekServices {
public:
  // The document's TSAs (activity-like objects outside the process tree), in document order.
  static std::vector<Ref<TavBaseUnknown>> GetAllTSAs(const Ref<TavDocument>& doc);
};

// What the host installs behind OrvVekServices.
class TavPlannerHost {
public:
  virtual ~TavPlannerHost() = default;
  static TavPlannerHost* Get();
  static void Install(TavPlannerHost* p);
  virtual std::vector<Ref<TavBaseUnknown>> GetAllTSAs(const Ref<TavDocument>& doc) = 0;
};
