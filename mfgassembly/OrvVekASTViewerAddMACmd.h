#pragma once
// Adds a new child assembly under a picked assembly and, where the picked one is
// produced by an operation, a new assembly operation that makes the child for it.
#include <memory>

#include "OrvVekASTViewerAddItemDlg.h"
#include "TavCommand.h"

class OrvVekASTViewerAddMACmd : public TavStateCommand {
public:
  OrvVekASTViewerAddMACmd();
  ~OrvVekASTViewerAddMACmd() override;
  void BuildGraph() override;
  bool Cancel() override;
  OrvVekASTViewerAddItemDlg* Dialog() const { return dialog_.get(); }

  struct Made {
    Ref<OrvIMfgAssembly> assembly;
    Ref<TavBaseUnknown> operation;  // null when the father has no producing operation (or it no father)
  };
  // CreateMA on its own, for the command and `mirt assemblies --add-child`: all or
  // nothing; false (nothing made) when the assembly cannot be made or added.
  static bool CreateMA(const Ref<OrvIMfgAssembly>& father, const TavUnicodeString& name, Made& made);
  // The first activity of the processes whose flow outputs include the assembly.
  static Ref<TavISPPActivity> GetProducingOperation(const Ref<TavDocument>& doc, const Ref<TavBaseUnknown>& assembly);

private:
  bool LaunchAddMADialog();
  bool CreateMA();
  bool CloseAssignWeldDlg();
  std::unique_ptr<TavPathElementAgent> maAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, closeAgent_;
  std::unique_ptr<OrvVekASTViewerAddItemDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekASTViewerAddMACmd();
