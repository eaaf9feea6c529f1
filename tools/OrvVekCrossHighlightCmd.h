#pragma once
// Highlights and selects the other side of the PPR relations of what the planner
// picks: an activity's products and resources, or the activities relating a
// product or resource. The options dialog stays open beside the picks; the command
// runs until another one takes over.
#include <memory>
#include <vector>

#include "OrvVekCrossHighlightDlg.h"
#include "OrvVekCrossHighlightRelations.h"
#include "TavCommand.h"
#include "TavViewpoint.h"

class OrvVekCrossHighlightCmd : public TavStateCommand {
public:
  OrvVekCrossHighlightCmd();
  ~OrvVekCrossHighlightCmd() override;
  void BuildGraph() override;

  bool UpdateAfterSelection();
  bool UpdateAfterOptionsModification();
  bool CloseOptionsDialog();
  void GetAndHighlightObjects();

  // A resource: the product, or a product above it, is named "Resource.1", or it
  // lives in the resource list.
  static bool IsAResource(const Ref<TavBaseUnknown>& item);

  OrvVekCrossHighlightDlg* Dialog() const { return dialog_.get(); }
  const OrvVekCrossHighlightFlags& Flags() const { return flags_; }
  const std::vector<TavPathElement>& PickedPaths() const { return picked_; }

private:
  void ShowActivityRelations(const Ref<TavBaseUnknown>& activity);
  void ShowItemRelations(const Ref<TavBaseUnknown>& item);
  void HighlightObjects(const std::vector<Ref<TavBaseUnknown>>& list);
  void GetChecks();

  std::unique_ptr<TavPathElementAgent> selectAgent_;
  std::unique_ptr<TavDialogAgent> applyAgent_, closeAgent_;
  std::unique_ptr<OrvVekCrossHighlightDlg> dialog_;
  std::vector<TavPathElement> picked_;
  Ref<TavI3DViewpoint> viewpoint_;
  bool viewpointSought_ = false;
  OrvVekCrossHighlightFlags flags_;
  OrvVekCrossHighlightIndex index_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekCrossHighlightCmd();
