#pragma once
// A double click on a state in the tree: the named state dialog in change mode.
// The dialog runs inside a small command of its own, so that its changes are one
// undo step and its OK, Cancel and Close reach it like any command's.
#include <memory>

#include "OrvVekNamedStateDlg.h"
#include "TavCommand.h"

class OrvVekStateEditDblClick final : public virtual TavIEditExtension {
public:
  static constexpr const char* kLateType = "OrvState";
  explicit OrvVekStateEditDblClick(Ref<TavBaseUnknown> state) : state_(std::move(state)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return state_; }
  // E_FAIL when the path ends at no state, the state has no owner, or no command can start.
  HRESULT Activate(const TavPathElement& path) override;
  static void Register();

private:
  Ref<TavBaseUnknown> state_;
};

// The command the editor starts: shows the dialog and waits for OK or Cancel/Close.
class OrvVekStateEditCmd : public TavStateCommand {
public:
  explicit OrvVekStateEditCmd(Ref<OrvIState> state);
  ~OrvVekStateEditCmd() override;
  void BuildGraph() override;
  bool Cancel() override;
  OrvVekNamedStateDlg* Dialog() const { return dialog_.get(); }

private:
  bool EndDialog();
  bool CloseDialog();

  Ref<OrvIState> state_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvVekNamedStateDlg> dialog_;
};
