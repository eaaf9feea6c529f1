#pragma once
// Devices among the resources (a resource that moves through mechanisms of its own)
// and tasks (activities that run on a device rather than in the process tree).
#include <vector>

#include "TavPPR.h"

// A device's mechanisms. The three lists run in step: entry k of each is the k-th
// mechanism's name, the mechanism and the product that carries it.
class OrvIDeviceManager : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIDeviceManager);
  virtual HRESULT GetMechanisms(std::vector<TavUnicodeString>& names, std::vector<Ref<TavBaseUnknown>>& mechanisms,
                                std::vector<Ref<TavBaseUnknown>>& products) const = 0;
};

// An activity that is a device's task; its tasks activity holds it.
class OrvITask : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvITask);
  virtual Ref<TavBaseUnknown> GetTasksActivity() const = 0;
};

void TavDeclareDeviceInterfaces();
