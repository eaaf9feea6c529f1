#pragma once
// Creates a precedence constraint: the second picked activity follows the first.
// Assembly operations are refused at either pick.
#include <memory>

#include "TavCommand.h"

class OrvVekCreatePrecedenceCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekCreatePrecedenceCmd";
  OrvVekCreatePrecedenceCmd();
  void BuildGraph() override;

  // False for the same or null activities, activities constrained with each
  // other, a direct flow successor, or a predecessor by precedence or flow.
  static bool IsConstraintPossible(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  // Every activity before `a` by precedences and control flow, each once.
  static std::vector<Ref<TavBaseUnknown>> GetAllPredecessors(const Ref<TavBaseUnknown>& a);
  const Ref<TavBaseUnknown>& First() const { return first_; }

private:
  bool InitialIsAssemblyOperation();
  bool NextIsAssemblyOperation();
  bool RefuseInitial();
  bool RefuseNext();
  bool OnActSelected();
  bool CreatePrecedenceConstraint();
  bool FilterActivity(TavAcquisitionAgent* agent);
  void PrecedenceErrorMessage(const TavPathElement& pick);

  Ref<TavBaseUnknown> first_;
  std::unique_ptr<TavPathElementAgent> initialAgent_, nextAgent_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekCreatePrecedenceCmd();
