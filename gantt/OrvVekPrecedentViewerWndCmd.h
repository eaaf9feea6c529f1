#pragma once
// Opens a precedence viewer window on a picked activity (or a resource's
// behaviour), or brings forward the one already open on it.
#include "OrvVekCreateGraphWndCmd.h"

class OrvVekPrecedentViewerWndCmd : public OrvVekCreateGraphWndCmd {
public:
  static constexpr const char* kCatalog = "OrvVekPrecedentViewerWndCmd";
  OrvVekPrecedentViewerWndCmd();

protected:
  // A hub session's precedence viewer starts from the PERT chart's positions.
  void PositionChildren(const Ref<TavIGENode>& node) override;
  bool CreateWindowAction() override { return CreatePrecedenceWindow(); }
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekPrecedentViewerWndCmd();
