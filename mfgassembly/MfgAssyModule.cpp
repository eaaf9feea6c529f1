#include "MfgAssyModule.h"

#include "TavModules.h"

void RegisterMfgAssyModule() {}
