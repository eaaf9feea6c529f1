#pragma once
// Entry and transition extension of the workbench (late types "Mirt_init" and
// "Mirt_trans"): switches headers available or unavailable by document kind and
// environment each time the workbench is entered.
#include "TavWorkbench.h"

class TavMirtWorkbenchInit : public OrvEProcessTransition {
public:
  explicit TavMirtWorkbenchInit(Ref<TavBaseUnknown> extended = nullptr) : OrvEProcessTransition(std::move(extended)) {}
  void Init() override;
  void Dispose() override;
};
