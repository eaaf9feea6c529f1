#pragma once
// Creates manufactured assemblies inside an existing one: the father is picked
// first, then the content as for any assembly. Neither the father nor an assembly
// holding it can be content: the new assembly would hold its own father.
#include "OrvMfgAssyCmd.h"

class OrvMfgAssyAsChildCmd : public OrvMfgAssyCmd {
public:
  OrvMfgAssyAsChildCmd() : OrvMfgAssyCmd("OrvMfgAssyAsChildCmd", nullptr) {}
  Ref<OrvIMfgAssembly> GetFather() const { return father_; }

protected:
  TavDialogState* BuildLeadingStates(TavDialogState* parts) override;
  bool AcceptAssembly(const Ref<OrvIMfgAssembly>& ma, TavUnicodeString& why) override;
  HRESULT CreateNew(Ref<OrvIMfgAssembly>& out) override;
  // The father comes first: a selection taken at start would be content.
  bool TakesSelection() const override { return false; }

private:
  bool OnFatherSelected();
  std::unique_ptr<TavPathElementAgent> fatherAgent_;
  Ref<OrvIMfgAssembly> father_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvMfgAssyAsChildCmd();
