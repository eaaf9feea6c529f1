#pragma once
// The workbench Mirt of the process workshop "WSPROC": the host's process-planning
// workbench content plus this system's toolbars, submenus and command headers.
#include "TavWorkbench.h"

class Mirt : public OrvEProcessWkbAdapter, public virtual TavIWSPROCConfiguration {
public:
  Mirt();

  void DefineWorkbench() override;
  TavUnicodeString GetAddinInterface() override;
  void GetCustomInterfaces(std::vector<std::string>& defaultInterfaces,
                           std::vector<std::string>& customInterfaces) override;

  // A workbench switch is on when the variable is defined and its value, in
  // upper case, is "TRUE" or "1".
  static bool IsSwitchOn(const char* variable);
};
