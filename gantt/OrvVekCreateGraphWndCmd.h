#pragma once
// Opens a PERT chart window on a picked activity (or a resource's behaviour), or
// brings forward the one already open on it. OrvVekPrecedentViewerWndCmd opens the
// precedence viewer the same way.
#include <memory>

#include "TavCommand.h"
#include "TavGraph.h"

class OrvVekCreateGraphWndCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekCreateGraphWndCmd";
  static constexpr const char* kAlreadyOpen = "Window already exists for current Level";

  OrvVekCreateGraphWndCmd();
  ~OrvVekCreateGraphWndCmd() override;
  void BuildGraph() override;

  // Agent filter: an activity, or a resource whose behaviour exists.
  bool IsActOrResourceWithBehaviour(TavAcquisitionAgent* agent);
  // The actions: open or reuse the window of the command's kind on the pick.
  bool CreatePertWindow();
  bool CreatePrecedenceWindow();
  // The same for an object, without a pick: false when no window was opened or reused.
  bool CreateGraphWindow(const Ref<TavBaseUnknown>& picked);

  TavPathElementAgent* Agent() const { return agent_.get(); }

protected:
  // What tells the PERT chart and the precedence viewer apart.
  struct Kind {
    int viewerKind;      // passed to the window and compared with open ones
    const char* suffix;  // after the activity's name in the window's name
    const char* catalog;
  };
  OrvVekCreateGraphWndCmd(std::string name, Kind kind);
  const Kind& GetKind() const { return kind_; }
  // The child positions a new window needs (index 1; the precedence viewer also 2).
  virtual void PositionChildren(const Ref<TavIGENode>& node);
  // The state machine's action.
  virtual bool CreateWindowAction() { return CreatePertWindow(); }

private:
  void ShowWrongTypeError() const;

  Kind kind_;
  std::unique_ptr<TavPathElementAgent> agent_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekCreateGraphWndCmd();
