#pragma once
// The interface through which other components contribute toolbars and headers
// to the workbench Mirt: implement it and register the add-in under its name.
#include "TavWorkbench.h"

class TavIMirtConfigurationAddin : public virtual TavIWorkbenchAddin {
public:
  TAV_INTERFACE(TavIMirtConfigurationAddin);
};
