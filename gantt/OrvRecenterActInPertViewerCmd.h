#pragma once
// Recentres a picked activity (or item) in every open PPR tree window and PERT chart
// of the current layout.
#include <memory>

#include "TavCommand.h"
#include "TavGraph.h"

class OrvRecenterActInPertViewerCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvRecenterActInPertViewerCmd";
  OrvRecenterActInPertViewerCmd();
  void BuildGraph() override;

  // Trees get the object expanded, made visible and decorated; PERT charts are
  // reframed on it, with an error shown when one does not show it.
  bool RecenterInViewers();
  // Reframes the picked object in one PERT window. False when the reframing failed
  // (nothing shown then); true otherwise, after the error when the window does not
  // show the object.
  bool RecenterInPertViewer(const Ref<OrvVekPertChartWindow>& window);

private:
  std::unique_ptr<TavPathElementAgent> agent_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvRecenterActInPertViewerCmd();
