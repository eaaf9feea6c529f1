#pragma once
// Deletes a resource (and its subtree) after confirmation: the links into it go
// first, then the resource leaves its father, and the activities that used it are
// redrawn. Undo and redo redraw the father again.
#include <memory>

#include "TavCommand.h"

class OrvVekDeleteResourceCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekDeleteResourceCmd";
  // The host's answer value of a confirmation's "yes".
  static constexpr int kAnswerYes = 3;

  OrvVekDeleteResourceCmd();
  ~OrvVekDeleteResourceCmd() override;
  void BuildGraph() override;

  bool IsResource(TavAcquisitionAgent* agent);
  // Asks for confirmation, then deletes the picked resource.
  virtual bool DeleteResource();
  // The deletion itself, steps after the confirmation; false with the reason, the
  // model as before, when the resource cannot go.
  bool DeleteConfirmed(const Ref<TavIProduct>& resource, TavUnicodeString* why = nullptr);
  Ref<TavCommandGlobalUndo> GetGlobalUndo() const override;
  static void RefreshParentResourceTree(const Ref<TavBaseUnknown>& father);
  // Appends the activities owning a relation that names `resource`.
  static HRESULT GetLinkedAssemblyOperations(const Ref<TavBaseUnknown>& resource,
                                             std::vector<Ref<TavISPPActivity>>& operations);
  // The host's answer text as its answer value ("YES" is 3).
  static int AnswerValue(const std::string& answer);

  // State the tests look at: the activities redrawn by the last deletion.
  const std::vector<Ref<TavISPPActivity>>& Redrawn() const { return redrawn_; }
  const Ref<TavBaseUnknown>& Father() const { return father_; }

private:
  void ShowErrorDlg(const TavUnicodeString& reason);
  std::unique_ptr<TavPathElementAgent> resourceAgent_;
  Ref<TavBaseUnknown> father_;
  std::vector<Ref<TavISPPActivity>> redrawn_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekDeleteResourceCmd();
