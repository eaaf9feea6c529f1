#include "OrvMfgAssyNotDirectChangeableCmd.h"

std::unique_ptr<TavStateCommand> fctCreateOrvMfgAssyNotDirectChangeableCmd() {
  return std::make_unique<OrvMfgAssyNotDirectChangeableCmd>();
}
