#pragma once
// Sets the type of a manufactured assembly: pick it, choose its type, OK.
#include <memory>

#include "OrvAssyTypesDlg.h"
#include "TavCommand.h"

class OrvAssyTypesCmd : public TavStateCommand {
public:
  OrvAssyTypesCmd();
  ~OrvAssyTypesCmd() override;
  void BuildGraph() override;
  bool Cancel() override;
  OrvAssyTypesDlg* Dialog() const { return dialog_.get(); }

private:
  bool ShowDialog();
  bool OnOK();
  bool OnCancel();
  bool Is(const char* notification) const;

  Ref<OrvIMfgAssembly> ma_;
  std::unique_ptr<TavPathElementAgent> selectAgent_;
  std::unique_ptr<TavDialogAgent> dialogAgent_;
  std::unique_ptr<OrvAssyTypesDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvAssyTypesCmd();
