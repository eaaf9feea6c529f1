#include "HostAssemblies.h"

#include "HubImport.h"
#include "MAVersions.h"
#include "PlanTypes.h"
#include "PreviewWindow.h"

namespace host {

void RegisterAssembliesHost() {
  RegisterPlanTypes();             // the catalogue of every document, <plmTypes>, the plan-type rule
  RegisterAssemblyRedraws();       // "assembly redrawn", "assemblies redrawn"
  RegisterAssemblyRemovalHooks();  // behaviours, fasteners, states, selection sets
  RegisterPreviewWindow();         // VEKPreviewWindow
  RegisterMAVersions();            // versions, reference products, the modification log
  RegisterHubImport();             // the MA-context import of hub documents
}

}  // namespace host
