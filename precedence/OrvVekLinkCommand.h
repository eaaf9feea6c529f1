#pragma once
// The interactive linker: the user picks a source and a target flow node; the pair
// is checked, a "Switch" after the source or an "OrIn" before the target is offered
// where the branching would be ambiguous, and the link is made. In chain mode (no
// "SingleShot" argument) the target becomes the next source.
#include <memory>

#include "LinkStep.h"
#include "OrvVekLinkDialog.h"
#include "TavCommand.h"
#include "TavFlow.h"
#include "TavUndo.h"

class OrvVekLinkCommand : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekLinkCommand";
  static constexpr const char* kAllowCycles = "ORV_ALLOW_CYCLIC_CONSTRAINT_CREATION_ODT_ENV";
  explicit OrvVekLinkCommand(std::string name = "OrvVekLinkCommand");
  ~OrvVekLinkCommand() override;
  void BuildGraph() override;

  bool IsChainMode() const { return chain_; }
  LinkHistory& History() { return history_; }
  LinkStep& Current() { return history_.Current(); }
  OrvVekLinkDialog* Dialog() const { return dialog_.get(); }
  // The linker's own undo and redo of its steps; false at either end.
  bool UndoStep() { return history_.Undo(); }
  bool RedoStep() { return history_.Redo(); }

  // Conditions, on the pick the agent holds.
  bool CanLinkFromSelection();
  bool ActivitiesDiffer();
  bool CanLinkToSelection();
  bool IsControlFlowPossible();
  bool LinkToSelectionRedundant();
  bool IsHierachyCorrect();
  bool IsPrecedenceCorrect();
  bool IsCardinalityAmbiguous();
  bool TargetCannotBeSource();

protected:
  // Makes the link First -> Second; on failure the nodes inserted for it go again
  // and the user is told. Returns whether the link was made.
  virtual bool Link();
  bool BaseLink();
  // Takes back the Switch or OrIn inserted for the current link.
  void AbandonInsertions();
  Ref<TavBaseUnknown> Picked() const;
  Ref<TavBaseUnknown> Target() const { return target_; }

private:
  // Actions.
  bool AcceptFirstSelection();
  bool AcceptNextSelection();
  bool InitializeUserPanel();
  bool UpdateWithUserChoice();
  bool SwitchSelection();
  bool ClearSelection();
  void ActivateUserPanel();
  void DisplayMessageBox(const std::string& key, const std::vector<TavUnicodeString>& params = {});
  TavAction Message(const char* key);

  LinkStep first_;
  LinkHistory history_{first_};
  bool chain_ = true;
  Ref<TavBaseUnknown> target_;  // the node the user picked as target (before any OrIn)
  TavPathElement targetPath_;
  Ref<TavError> keptError_;     // why the host refused the last pair
  HRESULT keptCode_ = S_OK;
  std::unique_ptr<TavSavepoint> insertMark_;  // before a Switch or OrIn was inserted for this link
  std::unique_ptr<TavPathElementAgent> pickAgent_;
  std::unique_ptr<TavDialogAgent> choiceAgent_;
  std::unique_ptr<OrvVekLinkDialog> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekLinkCommand();
