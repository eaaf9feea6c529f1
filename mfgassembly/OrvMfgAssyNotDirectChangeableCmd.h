#pragma once
// Creates manufactured assemblies marked as not directly changeable: a double
// click on one explains why it opens no editor.
#include "OrvMfgAssyCmd.h"

class OrvMfgAssyNotDirectChangeableCmd : public OrvMfgAssyCmd {
public:
  OrvMfgAssyNotDirectChangeableCmd() : OrvMfgAssyCmd("OrvMfgAssyNotDirectChangeableCmd", nullptr) {}

protected:
  bool MarksNotDirectlyChangeable() const override { return true; }
};

std::unique_ptr<TavStateCommand> fctCreateOrvMfgAssyNotDirectChangeableCmd();
