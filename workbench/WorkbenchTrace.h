#pragma once
// The workbench module's trace channel.
#include "TavServices.h"

inline const TavTrace& WorkbenchTrace() {
  static const TavTrace t("MirtWorkbench", "Traces for module MirtWorkbench");
  return t;
}
