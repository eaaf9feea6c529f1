#include "HostGraph.h"

#include "GraphNode.h"
#include "GraphPositions.h"
#include "PertBackend.h"
#include "PertWindow.h"

namespace host {

void RegisterGraphHost() {
  RegisterGraphPositions();
  RegisterGraphNodes();
  OrvPertGraphBackend::Install(&HostPertBackend::Instance());
  OrvVekPertChartWindow::InstallFactory(OpenPertWindow);
}

}  // namespace host
