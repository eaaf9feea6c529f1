#include "Startup.h"

#include "ActivitiesModule.h"
#include "AssignmentModule.h"
#include "CompareModule.h"
#include "GanttModule.h"
#include "HostStartup.h"
#include "MfgAssyModule.h"
#include "PartConsumptionModule.h"
#include "PrecedenceModule.h"
#include "ReplaceCopyModule.h"
#include "StatesModule.h"
#include "TavActivityLib.h"
#include "TavFlow.h"
#include "TavGantt.h"
#include "TavGraph.h"
#include "TavMfgAssy.h"
#include "TavAssignment.h"
#include "TavCompare.h"
#include "TavCopy.h"
#include "TavDevices.h"
#include "TavPPR.h"
#include "TavMfgVersioning.h"
#include "TavPositions.h"
#include "TavResources.h"
#include "TavStates.h"
#include "TavTreeWindow.h"
#include "TavVisu.h"
#include "ToolsModule.h"
#include "TavWorkbench.h"
#include "WorkbenchModule.h"

namespace mirt {

void StartUp() {
  static bool started = false;
  if (started) return;
  started = true;

  // 1. The platform's interfaces, queryable by name.
  TavDeclarePPRInterfaces();
  TavDeclareCompareInterfaces();
  TavDeclareAssignmentInterfaces();
  TavDeclareWorkbenchInterfaces();
  TavDeclareFlowInterfaces();
  TavDeclarePositionInterfaces();
  TavDeclareMfgVersioningInterfaces();
  TavDeclareVisuInterfaces();
  TavDeclareStateInterfaces();
  TavDeclareActivityLibInterfaces();
  TavDeclareResourceInterfaces();
  TavDeclareCopyInterfaces();
  TavDeclareGanttInterfaces();
  TavDeclareMfgAssyInterfaces();
  TavDeclareGraphInterfaces();
  TavDeclareDeviceInterfaces();
  TavDeclareTreeWindowInterfaces();

  // 2. The reference host (host/HostStartup.cpp lists its units).
  host::RegisterHost();

  // 3. The workbench's subsystems: commands, extensions and services. Real command
  // classes first, then the workbench, whose placeholders fill only what is left.
  RegisterActivitiesModule();
  RegisterAssignmentModule();
  RegisterReplaceCopyModule();
  RegisterPartConsumptionModule();
  RegisterPrecedenceModule();
  RegisterStatesModule();
  RegisterGanttModule();
  RegisterMfgAssyModule();
  RegisterCompareModule();
  RegisterToolsModule();
  RegisterWorkbenchModule();
}

}  // namespace mirt
