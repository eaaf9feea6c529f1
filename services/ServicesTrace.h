#pragma once
// The planner services module's trace channel.
#include "TavServices.h"

inline const TavTrace& ServicesTrace() {
  static const TavTrace t("OrvVekCommandServices", "Traces for module OrvVekCommandServices");
  return t;
}
