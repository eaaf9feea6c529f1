#pragma once
// What another application implements on a product extension to put its own data of
// that product back when the product is restored to its design position.
#include "TavBase.h"

class OrvIRestoreDesignState : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIRestoreDesignState);
  // S_OK restored; a failure is the application's and does not stop the restore.
  virtual HRESULT RestoreDesignState() = 0;
};

// The interface's identifier, exported for the applications that implement it.
extern const char* const IID_OrvIRestoreDesignState;

void OrvDeclareRestoreDesignState();
