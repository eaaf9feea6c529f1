#pragma once
// The factory interface of the workbench Mirt on the application frame.
#include "TavWorkbench.h"

class TavIMirtConfigurationFactory : public virtual TavIGenericFactory {
public:
  TAV_INTERFACE(TavIMirtConfigurationFactory);
};
