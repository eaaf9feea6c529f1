#pragma once
// Deletes the selected control-flow links; in a partially read-only hub process
// their nodes are locked first and each deletion is logged.
#include <memory>

#include "TavCommand.h"

class OrvControlFlowDeleteCmd : public TavStateCommand {
public:
  OrvControlFlowDeleteCmd();
  void BuildGraph() override;
  // Deletes each control flow whose two nodes exist; how many went.
  static int DeleteFlows(const std::vector<Ref<TavBaseUnknown>>& flows);

private:
  bool DeleteSelection();
  std::unique_ptr<TavPathElementAgent> agent_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvControlFlowDeleteCmd();
