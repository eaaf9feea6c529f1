#pragma once
// Ties activities start-start or end-end: pick the first activity, then its partners
// for the shown tab; OK or Apply writes both lists as process constraints held by
// both activities of each pair.
#include <memory>

#include "OrvVekActivitySynchronisationDlg.h"
#include "TavCommand.h"

class OrvVekActivitySynchronisationCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekActivitySynchronisationCmd";
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
  // Both kinds, start-start first; end-end only when that succeeded.
  bool CreateStartEndLinksInModel();
  // One kind: adds the listed partners that are not partners yet, then removes the
  // partners no longer listed; each pair is written on both activities or not at all.
  bool CreateLinksInModel(int selection);
  bool CreateRemoveLinksInModel(int type, const Ref<TavBaseUnknown>& other, bool add);
  void DisplayErrorPrompt(const Ref<TavBaseUnknown>& other);
  // The dialog's lists as the model holds them.
  void ReadPartners();

  Ref<TavBaseUnknown> first_;
  std::unique_ptr<TavPathElementAgent> firstAgent_, secondAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, applyAgent_, closeAgent_;
  std::unique_ptr<OrvVekActivitySynchronisationDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekActivitySynchronisationCmd();
