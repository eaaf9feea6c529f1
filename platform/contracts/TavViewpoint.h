#pragma once
// The main 3D viewpoint of a navigation window (an editor's 3D viewer): only what
// is attached to it, or lies under an attached product, can be shown and
// highlighted there. Products and resources are always attached; a manufactured
// assembly is attached when a command first needs it shown.
#include <vector>

#include "TavBase.h"

class TavI3DViewpoint : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavI3DViewpoint);
  virtual bool IsAttached(const Ref<TavBaseUnknown>& object) const = 0;
  // S_OK attached now, S_FALSE attached already, E_FAIL for null.
  virtual HRESULT Attach(const Ref<TavBaseUnknown>& object) = 0;
  // What was attached, in the order of attachment (objects gone since are left out).
  virtual std::vector<Ref<TavBaseUnknown>> GetAttached() const = 0;
};

// The main viewpoint of the current editor's navigation window, or null.
Ref<TavI3DViewpoint> TavMainViewpoint();
