#pragma once
// Relates one product, resource or manufactured assembly to one activity (or to a
// resource's behaviour) through a relation the user chooses among those the
// activity offers. Picks come in either order. In hub mode a relation type that
// carries hub attributes asks for their values first, and they are written onto
// the relation made.
#include <memory>

#include "TavAssignment.h"
#include "TavCommand.h"
#include "VekAttributesOnRelationDialog.h"
#include "VekGeneralAssignDialog.h"

class WexVekGeneralAssignmentCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "WexVekGeneralAssignmentCmd";
  // The picks' behaviour flags (the host's value).
  static constexpr int kAgentBehavior = 0x800800;

  WexVekGeneralAssignmentCmd();
  ~WexVekGeneralAssignmentCmd() override;
  void BuildGraph() override;
  bool Cancel() override;

  // Actions and conditions, in the order the command declares them.
  virtual bool ProcessSelection();
  virtual bool ProcessSelectionPost();
  virtual bool ProductResourceSelection();
  virtual bool ProductResourceSelectionPost();
  virtual bool Exit();
  virtual bool AssignAccordingToOptions();
  virtual bool AssignAccordingOnAttributeToOptions();
  virtual bool IsValidProduct(const TavPathElement& path);
  virtual bool IsValidResource(const TavPathElement& path);
  virtual bool IsValidItem();
  virtual bool CheckType();
  virtual bool IsItem();
  virtual bool IsResourceWithBehaviorOrAct(TavAcquisitionAgent* agent);
  virtual bool IsWSC(TavAcquisitionAgent* agent);
  virtual bool IsResOrActivityButNotAO();
  virtual bool AlwaysTrue() { return true; }
  virtual bool BuildDialog();
  virtual bool IsHubMode();
  virtual bool BuildAttributeDialog();
  virtual bool IsProduct();
  virtual bool HasAttributes();
  virtual bool IsCorrectValue();
  virtual bool TestCorrectValue();
  virtual bool FilterActAndResourceWithBehavior(TavAcquisitionAgent* agent);
  virtual bool GetPossibleRelations(const TavPathElement& path);
  virtual bool CheckPossibleRelations();
  virtual bool ShowNotifyDlg();
  virtual void ShowErrorWindow(EPPErrorTypes errorType, const TavUnicodeString& magnitude);

  bool IsAssemblyOperation1();
  bool IsAssemblyOperation2();
  bool TreatError1();
  bool TreatError2();
  bool ShowErrorBox();
  int DetermineItemOrResource();
  TavUnicodeString GetUnicodeOfAssignmentType();
  static bool IsODTReplay() { return VekAttributesOnRelationDialog::IsODTReplay(); }
  void ThrowErrorMessage();
  void ClearHSO(TavPathElementAgent* agent);
  // The hub's name of a relation type ("process_processes_product" -> "relationship_proc_processes_prod").
  static TavUnicodeString MapToHubRelationName(const TavUnicodeString& typeName);

  // State the tests look at.
  const std::vector<TavUnicodeString>& Options() const { return options_; }
  const std::vector<TavUnicodeString>& TypeNames() const { return typeNames_; }
  int ItemKind() const { return itemKind_; }
  bool IsBehaviorTarget() const { return behaviorTarget_; }
  VekGeneralAssignDialog* Dialog() const { return dialog_.get(); }
  VekAttributesOnRelationDialog* AttributeDialog() const { return attrDialog_.get(); }

private:
  // What one assignment made, so that a later failure can take it back.
  struct Made {
    Ref<TavBaseUnknown> object;
    TavUnicodeString typeName;           // a relation of the activity, or
    OrvResourceRelationType resourceType{};  // an item relation of the resource (0: none)
    std::vector<Ref<TavISPPActivitySpecification>> relations;  // the relation objects it added
    bool done = false;
  };
  bool Assign(Made& made);
  void Undo(const Made& made);
  void ReportFailure(const TavUnicodeString& option);
  void Highlight(const TavPathElement& path);
  Ref<TavDocument> CurrentDocument() const;
  void DropUnusedBehavior();

  // Agents, dialogs and the message window, owned here.
  std::unique_ptr<TavPathElementAgent> activityItemAgent_, activityAgent_, productResourceAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_, attrOkAgent_, attrCancelAgent_, messageOkAgent_;
  std::unique_ptr<VekGeneralAssignDialog> dialog_;
  std::unique_ptr<VekAttributesOnRelationDialog> attrDialog_;
  std::unique_ptr<TavDlgNotify> messageWindow_;

  Ref<TavBaseUnknown> activity_;  // an activity, or a resource's behaviour standing in for one
  Ref<TavIProduct> product_;
  Ref<OrvIMfgAssembly> assembly_;
  Ref<TavIProduct> resource_;  // the resource whose behaviour is the activity
  TavPathElement itemPath_;
  std::vector<TavUnicodeString> typeNames_, options_;
  std::vector<TavPathElement> highlighted_;

  bool itemFirst_ = false, activityFirst_ = false, resourceToResource_ = false, behaviorTarget_ = false,
       noRelationList_ = false;
  int itemKind_ = 0;
  bool behaviorExisted_ = true;
};

std::unique_ptr<TavStateCommand> fctCreateWexVekGeneralAssignmentCmd();
