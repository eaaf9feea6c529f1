#pragma once
// Creates a named state: pick a product, resource or manufactured assembly, then
// define the state in OrvVekNamedStateDlg. A manufacturing kit holds no named
// states (a warning says so); a WSC product is refused.
#include <memory>

#include "OrvVekNamedStateDlg.h"
#include "TavCommand.h"

class OrvStateCreationCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvStateCreationCmd";
  OrvStateCreationCmd();
  ~OrvStateCreationCmd() override;
  void BuildGraph() override;
  bool Cancel() override;
  OrvVekNamedStateDlg* Dialog() const { return dialog_.get(); }

private:
  bool IsNotAWSC();
  bool IsKit();
  bool ShowMfgKitWarning();
  bool CheckKindOfObject();
  bool IsPrdOrRes();
  bool IsAssembly();
  bool ShowNamedStateDlg();
  bool CloseDialog();
  bool EndDialog();

  Ref<TavBaseUnknown> pick_;
  bool isPrdOrRes_ = false, isAssembly_ = false;
  std::unique_ptr<TavPathElementAgent> objectAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvVekNamedStateDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvStateCreationCmd();
