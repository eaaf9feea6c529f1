#include "Modules.h"

#include "ActivitiesModule.h"
#include "AssignmentModule.h"
#include "PartConsumptionModule.h"
#include "WorkbenchModule.h"

namespace mirt {
void RegisterModules() {
  static const bool once = [] {
    RegisterActivitiesModule();
    RegisterAssignmentModule();
    RegisterPartConsumptionModule();
    RegisterWorkbenchModule();  // last: its placeholders fill only the classes not built yet
    return true;
  }();
  (void)once;
}
}  // namespace mirt
