#include "HostStartup.h"

#include "HostAssemblies.h"
#include "HostAssignment.h"
#include "HostCompare.h"
#include "HostCopy.h"
#include "HostEngine.h"
#include "HostFlowFeature.h"
#include "HostGantt.h"
#include "HostGraph.h"
#include "HostHighlight.h"
#include "HostLibrary.h"
#include "HostPlanner.h"
#include "HostPositions.h"
#include "HostProducts.h"
#include "HostReplacement.h"
#include "HostRequirements.h"
#include "HostResources.h"
#include "HostStates.h"
#include "HostTiming.h"
#include "HostTree.h"
#include "HostVisu.h"
#include "ScriptAssemblies.h"
#include "ScriptCompare.h"
#include "ScriptGraph.h"
#include "ScriptTree.h"
#include "ScriptUndo.h"
#include "ScriptLibrary.h"
#include "ScriptProducts.h"
#include "ScriptRequirements.h"
#include "ScriptViewpoint.h"
#include "ScriptStates.h"
#include "ScriptTiming.h"
#include "ScriptViewer.h"
#include "ScriptWindows.h"
#include "HostWalk.h"
#include "HostWorkbench.h"

namespace host {

void RegisterHost() {
  InstallWalkHint();
  // Features, each extending the model and the plant format.
  RegisterLibraryHost();     // activity libraries, type icons, plan types, <activityLibraries>
  RegisterPlannerHost();     // process container extension, TSAs and <tsas>
  RegisterCompareHost();     // comparable objects, hub adapter, <fasteners>
  RegisterAssignmentHost();  // behaviours, contexts, hub layout, <hubAttributes>
  RegisterFlowHost();        // link services, locks and logs, <hubSession>
  RegisterVisuHost();        // viewer colours and show state, <visuals>
  RegisterPositionsHost();   // design positions, tags and cable marks, <placement>
  RegisterStatesHost();      // states, stored positions, conditions, <states>
  RegisterProductsHost();    // instances, block-movable, notifications, resource contexts, plant files as resources
  RegisterResourcesHost();   // new products, resource factory and types, links into resources, resource events
  RegisterReplacementHost();  // what points at a product, aliases, product documents replacing an instance
  RegisterCopyHost();        // copy-and-paste actor, resource copies, saved state, <hubProducts>, body-in-white types
  RegisterGanttHost();       // windows, Gantt tables and search, activity type attributes, <activityTypes>
  RegisterAssembliesHost();  // plan-type catalogue, assembly marks, redraws, removal hooks, preview window, double click
  RegisterTimingHost();      // the time solver and solved times
  RegisterGraphHost();       // graph nodes and positions, PERT charts and precedence viewers, <graphPosition>
  RegisterTreeHost();        // the PPR tree window
  RegisterRequirementsHost();  // engineering requirements, <requirements>, hub document information, kinds
  RegisterHighlightHost();   // the model change counter, each editor's main 3D viewpoint
  // The host's own command classes, not carried by this host.
  RegisterHostCommandClasses();
  // Undo: savepoints for commands and services, and the session statements.
  InstallSavepoints();
  RegisterUndoStatements();  // undo, redo, print undo
  RegisterViewerStatements();  // print viewer, expect colour|hidden|shown
  RegisterStateStatements();   // print states, expect position, edit
  RegisterLibraryStatements(); // library modified
  RegisterProductStatements(); // print notifications
  RegisterWindowStatements();  // window, print window(s), expect window
  RegisterAssemblyStatements();  // expect refused
  RegisterGraphStatements();     // pick graph
  RegisterTreeStatements();      // the PPR tree window
  RegisterRequirementStatements();  // print highlight, expect highlighted
  RegisterViewpointStatements();    // print viewpoint
  RegisterTimingStatements();    // print times
  RegisterCompareStatements();   // print centred, print setting
}

}  // namespace host
