#pragma once
// Stores a product's current position into one of its stored positions: pick the
// stored position.
#include <memory>

#include "TavCommand.h"

class OrvVekModifyPositionCmd : public TavStateCommand {
public:
  OrvVekModifyPositionCmd();
  void BuildGraph() override;

private:
  bool ModifyPosition();
  std::unique_ptr<TavPathElementAgent> positionAgent_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekModifyPositionCmd();
