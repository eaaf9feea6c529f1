#include "ActivitiesModule.h"

#include "OrvEInsertActivityDlgServices.h"
#include "TavINavigateObjectActivityImpl.h"
#include "TavModules.h"
#include "TavOrvAddActivityCmd.h"
#include "TavVekRenumberActCmd.h"

void RegisterActivitiesModule() {
  for (const char* module : {"OrvVekPlanner", "Mirtcommands"}) {
    TavModuleRegistry::Get().Register(module, "TavVekRenumberActCmd", fctCreateTavVekRenumberActCmd);
    TavModuleRegistry::Get().Register(module, "TavOrvAddActivityCmd", fctCreateTavOrvAddActivityCmd);
  }
  RegisterInsertActivityDlgServices();
  RegisterActivityLibraryNavigation();
}
