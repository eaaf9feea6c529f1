#pragma once
// Ties activities start-start or end-end: pick the first activity, then its partners
// for the shown tab; OK or Apply writes both lists as process constraints held by
// both activities of each pair.
#include <memory>

#include "OrvVekActivitySynchronisation.h"
#include "OrvVekActivitySynchronisationDlg.h"
#include "TavCommand.h"

class OrvVekActivitySynchronisationCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = OrvVekActivitySynchronisation::kCatalog;
  OrvVekActivitySynchronisationCmd();
  ~OrvVekActivitySynchronisationCmd() override;
  void BuildGraph() override;
  bool Cancel() override;
  OrvVekActivitySynchronisationDlg* Dialog() const { return dialog_.get(); }

private:
  bool ShowDialog();
  bool FilterActivity(TavAcquisitionAgent* agent);
  bool AddLinkToDialog();
  bool CreateLinks();
  bool CloseDialog();
  // Both lists through the shared writing; a failed pair shows the error prompt.
  bool CreateStartEndLinksInModel();
  void DisplayErrorPrompt();
  // The dialog's lists as the model holds them.
  void ReadPartners();

  std::unique_ptr<OrvVekActivitySynchronisation> sync_;
  std::unique_ptr<TavPathElementAgent> firstAgent_, secondAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, applyAgent_, closeAgent_;
  std::unique_ptr<OrvVekActivitySynchronisationDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekActivitySynchronisationCmd();
