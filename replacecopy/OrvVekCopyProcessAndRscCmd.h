#pragma once
// Copies an activity with its sub-activities under another activity or a resource's
// behaviour: pick the process, pick the new parent, name the copy and choose what
// becomes of its relations; when its resources are copied too, a second dialog
// shows every attached resource with the name and father its copy gets.
#include <memory>
#include <unordered_map>
#include <vector>

#include "OrvVekCopyProcessAndRscDlg.h"
#include "OrvVekCopyProcessAttachedRscDlg.h"
#include "TavCommand.h"
#include "TavCopy.h"

class OrvVekCopyProcessAndRscCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekCopyProcessAndRscCmd";

  OrvVekCopyProcessAndRscCmd();
  ~OrvVekCopyProcessAndRscCmd() override;
  void BuildGraph() override;

  // Agent filters.
  bool IsValidCopyProcess(TavAcquisitionAgent* agent);
  bool IsValidParentProcess(TavAcquisitionAgent* agent);
  bool IsActOrResourceWithBehaviour(TavAcquisitionAgent* agent);
  bool IsValidParentResource(TavAcquisitionAgent* agent);
  bool WillParentResourceBeCopied(TavAcquisitionAgent* agent);
  // The same tests without a pick (batch jobs): false with the reason.
  bool AcceptsProcess(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why = nullptr);
  bool AcceptsParent(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why = nullptr);

  // Actions.
  bool TakeProcess();
  bool ShowDialog();
  bool WillResourcesBeCopied();
  bool ShowAttachedResourcesDlg();
  bool TakeDotPush();
  bool SetParentResource();
  bool CopyProcessAndResources();

  void GetAttachedResourcesOfRootAndSubActivities(const Ref<TavISPPActivity>& process);
  // The father product proposed for the copies: the new parent's resource (a
  // behaviour's own, else the first resource of the parent or its nearest ancestor).
  Ref<TavIProduct> GetDefaultParentResource(const Ref<TavBaseUnknown>& newParent);
  void RemoveResourcesWithoutValidParent();
  void ShowNoResourcesDialog();

  // Batch jobs: set the picks and choices directly.
  void SetProcess(const Ref<TavISPPActivity>& p) { process_ = p; }
  void SetNewParent(const Ref<TavBaseUnknown>& p) { parent_ = p; }
  // Runs the copy with these choices; rows come from the process (new names and
  // fathers as proposed). False with the reason (`why`) when nothing was copied.
  bool CopyInBatch(const TavUnicodeString& name, int options, TavUnicodeString* why);

  // State the tests and verbs look at.
  OrvVekCopyProcessAndRscDlg* Dialog() const { return dialog_.get(); }
  OrvVekCopyProcessAttachedRscDlg* AttachedDialog() const { return attached_.get(); }
  const std::vector<Ref<TavIProduct>>& Resources() const { return resources_; }
  const std::vector<Ref<TavIProduct>>& NewFathers() const { return newFathers_; }
  const std::vector<TavUnicodeString>& NewNames() const { return newNames_; }
  const std::vector<Ref<TavIProduct>>& CopiedResources() const { return copied_; }
  const Ref<TavISPPActivity>& Copy() const { return copy_; }
  // Attached resources whose row had no father for the copy, so were not copied.
  const std::vector<TavUnicodeString>& NotCopied() const { return notCopied_; }

private:
  // False with the reason when the candidate is the process to copy or lies below it.
  bool IsOutsideProcess(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why);
  bool IsCopied(const Ref<TavBaseUnknown>& product) const;
  Ref<TavBaseUnknown> NewParentForCopy();
  void ClearRows();
  void ShowWarning();
  void ShowError(const TavUnicodeString& text);
  // The row whose values a row follows: its first row for a resource shown again.
  int LeadRow(std::size_t row) const;
  // The rows' index: the first row of each resource, and each row's lead.
  void IndexRows();
  void OnNameChange(int row);

  std::unique_ptr<TavPathElementAgent> object_, object2_, parentResource_;
  std::unique_ptr<TavDialogAgent> okCopy_, cancelCopy_, okAttached_, cancelAttached_, dot_;
  std::unique_ptr<OrvVekCopyProcessAndRscDlg> dialog_;
  std::unique_ptr<OrvVekCopyProcessAttachedRscDlg> attached_;
  Ref<TavISPPActivity> process_, copy_;
  Ref<TavBaseUnknown> parent_;  // an activity, or a resource whose behaviour takes the copy
  // One entry per attached resource.
  std::vector<Ref<TavIProduct>> resources_, newFathers_;
  std::vector<Ref<TavISPPActivity>> activities_;
  std::vector<int> types_;
  std::vector<TavUnicodeString> newNames_;
  std::vector<bool> childFlags_;
  std::unordered_map<const TavBaseUnknown*, std::size_t> rowOf_;
  std::vector<std::size_t> lead_;
  std::vector<Ref<TavIProduct>> copied_;
  std::vector<TavUnicodeString> notCopied_;
  int row_ = -1;  // the row whose father is being picked
  TavUnicodeString bracketsOpen_, bracketsClose_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekCopyProcessAndRscCmd();
