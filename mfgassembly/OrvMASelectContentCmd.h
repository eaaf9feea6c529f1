#pragma once
// Selects what a manufactured assembly holds: the pick of an assembly replaces the
// current selection by its content, each product in its product context.
#include <memory>

#include "TavCommand.h"

class OrvMASelectContentCmd : public TavStateCommand {
public:
  OrvMASelectContentCmd();
  void BuildGraph() override;
  // The path from the product's root (a root resource for resources) down to it,
  // as the trees show it; an assembly stands alone.
  static TavPathElement PathOf(const Ref<TavBaseUnknown>& object);

private:
  bool SelectContent();
  std::unique_ptr<TavPathElementAgent> element_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvMASelectContentCmd();
