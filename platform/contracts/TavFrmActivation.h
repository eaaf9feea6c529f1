#pragma once
// A window of the layout that a command can bring forward as the current one (a
// graph command that finds its window already open shows it instead of opening
// another).
#include "TavBase.h"

class TavIFrmWindowActivation : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIFrmWindowActivation);
  // S_OK once it is the current window (S_FALSE when it already was); E_FAIL when it
  // is closed.
  virtual HRESULT ActivateWindow() = 0;
};
