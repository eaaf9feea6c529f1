#include "OrvMADeleteRefEbomCmd.h"

std::unique_ptr<TavStateCommand> fctCreateOrvMADeleteRefEbomCmd() { return std::make_unique<OrvMADeleteRefEbomCmd>(); }
