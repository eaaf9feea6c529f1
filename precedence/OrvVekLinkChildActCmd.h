#pragma once
// Links (or unlinks) all children of the picked parent activities at once:
// serially, or in parallel between each parent's Start and Stop nodes.
#include <memory>

#include "OrvVekLinkChildActDlg.h"
#include "OrvVekShowErrorsDlg.h"
#include "TavCommand.h"

class OrvVekLinkChildActCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekLinkChildActCmd";
  OrvVekLinkChildActCmd();
  ~OrvVekLinkChildActCmd() override;
  void BuildGraph() override;

  OrvVekLinkChildActDlg* Dialog() const { return dialog_.get(); }
  OrvVekShowErrorsDlg* ErrorWindow() const { return errors_.get(); }
  // Adds the activity's line to the dialog (once per activity).
  void AddItemToList(const Ref<TavBaseUnknown>& activity);
  // Every activity of the root process that holds physical children.
  void ListParents();
  bool MakeLinks(const std::vector<Ref<TavBaseUnknown>>& parents, int linkType);

private:
  bool PickActivities();
  bool ApplyChanges();
  bool ApplyAndCancel();
  bool CancelDlg();
  bool Apply();

  std::unique_ptr<TavPathElementAgent> pickAgent_;
  std::unique_ptr<TavDialogAgent> cancelAgent_, applyAgent_, okAgent_, errorCloseAgent_;
  std::unique_ptr<OrvVekLinkChildActDlg> dialog_;
  std::unique_ptr<OrvVekShowErrorsDlg> errors_;
  bool appliedOnce_ = false;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekLinkChildActCmd();
