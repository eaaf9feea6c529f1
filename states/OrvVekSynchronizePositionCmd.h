#pragma once
// Applies a stored position or a state to the model: pick it.
#include <memory>

#include "TavCommand.h"

class OrvVekSynchronizePositionCmd : public TavStateCommand {
public:
  OrvVekSynchronizePositionCmd();
  void BuildGraph() override;

private:
  bool SynchronizePosition();
  std::unique_ptr<TavPathElementAgent> agent_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekSynchronizePositionCmd();
