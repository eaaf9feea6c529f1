#pragma once
// Activities of product: the planner picks products or manufactured assemblies
// (a selection made before counts as the first pick; picking one again takes it
// out) and sees which activities consume them, which parts nothing consumes and
// each product's engineering-requirement state.
#include <memory>

#include "OrvVekEIConsumption.h"
#include "OrvVekListActAssOfProdDlg.h"
#include "OrvVekPartConsumptionMerge.h"
#include "TavCommand.h"

class OrvVekListActAssOfProdCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekListActAssOfProdCmd";
  static constexpr int kPreSelectBehavior = 0x40000;
  static constexpr int kPickBehavior = 0x800800;
  static constexpr int kErrorStyle = 0x10000000;

  OrvVekListActAssOfProdCmd();
  ~OrvVekListActAssOfProdCmd() override;
  void BuildGraph() override;
  bool Cancel() override;

  // Conditions and actions.
  bool ValidateSelection();
  bool ValidateSelectionList();
  bool IsPreAcquiredProducts();
  bool IsPostAcquiredProducts();
  bool CloseDisplay();
  bool ExitMessage();
  // The filter of later picks.
  bool IsValidProduct();
  virtual bool HighlightUnassigned();

  void AnalyzePartConsumption();
  void AnalyzePartConsumptionYor();
  void CheckPartConsumption(const Ref<TavBaseUnknown>& object, OrvPartConsumptionRecords& results,
                            std::vector<Ref<TavBaseUnknown>>& unassigned);
  void AnalyzeEIConsumption();
  HRESULT AddToAnalysisResults(const OrvPartConsumptionRecords* records);
  int LocateInAnalysisResult(const Ref<TavBaseUnknown>& product, int from) const;
  void CleanUnassignedList();
  void HSOAndHighlightUnassigned();
  bool IsValidSelection(const TavPathElement& path) const;
  static void ShowError(TavDlgWidget* parent, const std::string& messageKey, const std::string& titleKey,
                        const TavUnicodeString& extraText, int style);
  void PerformTaskWithoutIProgress(class OrvVekYorPartConsumptionAnalysis& hubAnalysis);
  static const char* GetCatalogName() { return "OrvVekListActAssOfProdDlg"; }
  static const char* GetIcon() { return "I_OrvVekQueryHub"; }

  // The object a pick stands for: the product nearest the leaf, else an assembly.
  static Ref<TavBaseUnknown> PickedObject(const TavPathElement& path);

  const std::vector<Ref<TavBaseUnknown>>& Selected() const { return selected_; }
  const OrvPartConsumptionRecords& Results() const { return results_; }
  const std::vector<Ref<TavBaseUnknown>>& Unassigned() const { return unassigned_; }
  const std::vector<OrvVekEIState>& EIStates() const { return eiStates_; }
  OrvVekListActAssOfProdDlg* Dialog() const { return dialog_.get(); }
  bool IsHub() const { return hub_; }

private:
  void Refresh();
  // The engine's analysis of `objects` (asked of the first), its records and
  // unconsumed parts appended.
  void RunEngine(const std::vector<Ref<TavBaseUnknown>>& objects, OrvPartConsumptionRecords& records,
                 std::vector<Ref<TavBaseUnknown>>& unassigned);
  // The hub's analysis of `objects`, its records and unconsumed parts appended.
  void RunHubAnalysis(const std::vector<Ref<TavBaseUnknown>>& objects, OrvPartConsumptionRecords& records,
                      std::vector<Ref<TavBaseUnknown>>& unassigned);

  std::unique_ptr<TavPathElementAgent> preSelect_, postSelect_;
  std::unique_ptr<TavDialogAgent> indication_;
  std::unique_ptr<OrvVekListActAssOfProdDlg> dialog_;
  std::vector<Ref<TavBaseUnknown>> selected_;
  std::vector<TavPathElement> selectionSet_;
  bool hasSelectionSet_ = false;
  OrvVekPartConsumptionMerge merge_;
  OrvPartConsumptionRecords results_;  // the merge's records, in order
  std::vector<Ref<TavBaseUnknown>> unassigned_;
  std::vector<OrvVekEIState> eiStates_;
  Ref<TavDocument> document_;
  TavUnicodeString environment_;
  bool hub_ = false;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekListActAssOfProdCmd();
