#pragma once
// Removes, in one step, the product relations, the resource relations or both
// from a picked activity and from all its descendants. An assembly operation
// cannot be picked. When nothing was found to remove, a box says so.
#include <memory>

#include "TavCommand.h"
#include "TavPPR.h"
#include "WexVekTotalUnassignDlg.h"

class WexVekTotalUnassignCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "WexVekTotalUnassignCmd";
  static constexpr int kAgentBehavior = 0x800800;  // the pick's behaviour flags (the host's value)

  WexVekTotalUnassignCmd();
  ~WexVekTotalUnassignCmd() override;
  void BuildGraph() override;
  bool Cancel() override;

  bool IsAssemblyOperation();
  bool IsAssemblyOperationBasic(TavPathElementAgent* agent);
  bool TreatError();
  void ThrowErrorMessage();
  void ClearHSO(TavPathElementAgent* agent);
  virtual bool ActionOne();
  virtual bool Exit();
  virtual bool OnOK();

  // Removes by option (0 products, 1 resources, 2 both; above 2 nothing) from the
  // activity and then from its descendants, depth first, each activity before its
  // children. The counters add up across calls.
  void SearchAssigments(const Ref<TavISPPActivity>& activity, int option);
  void DeleteProdAssigments(const Ref<TavISPPActivity>& activity);
  void DeleteResAssigments(const Ref<TavISPPActivity>& activity);
  // The report that nothing was removed: 1 products, 2 resources, 3 both.
  void ShowErrorDlg(int code);

  // The report box's title and text (code 1, 2 or 3), as the catalogue gives them.
  static TavUnicodeString ReportTitle();
  static TavUnicodeString ReportText(int code);
  // The report due after a removal by `option` with these counts; 0 when none is.
  static int ReportCode(int option, int products, int resources);

  int RemovedProducts() const { return removedProducts_; }
  int RemovedResources() const { return removedResources_; }
  WexVekTotalUnassignDlg* Dialog() const { return dialog_.get(); }
  const Ref<TavISPPActivity>& Activity() const { return activity_; }

private:
  std::unique_ptr<TavPathElementAgent> activityAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<WexVekTotalUnassignDlg> dialog_;
  Ref<TavISPPActivity> activity_;
  TavPathElement activityPath_;
  int removedProducts_ = 0, removedResources_ = 0;
};

std::unique_ptr<TavStateCommand> fctCreateWexVekTotalUnassignCmd();
