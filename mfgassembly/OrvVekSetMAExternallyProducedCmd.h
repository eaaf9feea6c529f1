#pragma once
// Toggles whether a manufactured assembly is produced outside the plant: pick it. The
// change is redrawn and logged for the versioning.
#include <memory>

#include "TavCommand.h"

class OrvVekSetMAExternallyProducedCmd : public TavStateCommand {
public:
  OrvVekSetMAExternallyProducedCmd() : TavStateCommand("OrvVekSetMAExternallyProducedCmd") {}
  void BuildGraph() override;
  // The toggle itself, for the command and `mirt assemblies`; false for no assembly.
  static bool Toggle(const Ref<TavBaseUnknown>& assembly);

private:
  bool SetExternallyProduced();
  std::unique_ptr<TavPathElementAgent> agent_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekSetMAExternallyProducedCmd();
