#pragma once
// Versions the manufactured assemblies that changed since their last version, and the
// assemblies containing them: contained assemblies first, each once.
#include <memory>
#include <unordered_set>

#include "OrvVekMAVersioningDlg.h"
#include "OrvVekMAVersioningIndex.h"
#include "TavCommand.h"

class OrvVekMAVersioningCmd : public TavStateCommand {
public:
  OrvVekMAVersioningCmd();
  ~OrvVekMAVersioningCmd() override;
  void BuildGraph() override;
  bool Cancel() override;
  OrvVekMAVersioningDlg* Dialog() const { return dialog_.get(); }

  // The logged assemblies that really changed, in log order.
  static std::vector<Ref<OrvIMfgAssembly>> ModifiedMAs(const Ref<TavBaseUnknown>& container);
  // Versions the assemblies of `toVersion` reached from `list`, contained ones first,
  // each at most once; `versioned` collects those given a new version, `failed` those
  // whose version could not be made.
  static void VersionModMAs(const std::vector<Ref<OrvIMfgAssembly>>& list, const std::vector<Ref<OrvIMfgAssembly>>& toVersion,
                            std::vector<Ref<OrvIMfgAssembly>>& versioned, std::vector<Ref<OrvIMfgAssembly>>* failed = nullptr);

private:
  void InitializeDialog();
  bool ClickOKOnDialog();
  bool ClickCloseOnDialog();

  std::vector<Ref<OrvIMfgAssembly>> all_, modified_, toVersion_, versioned_;
  std::unique_ptr<OrvVekMAVersioningIndex> index_;
  std::unique_ptr<TavDialogAgent> okAgent_, closeAgent_;
  std::unique_ptr<OrvVekMAVersioningDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekMAVersioningCmd();
