#pragma once
// The precedence and flow module's trace channel.
#include "TavServices.h"

inline const TavTrace& PrecedenceTrace() {
  static const TavTrace t("OrvVekProcessConstVerification", "Traces for module OrvVekProcessConstVerification");
  return t;
}
