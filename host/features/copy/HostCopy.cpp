#include "HostCopy.h"

#include "HostModel.h"

namespace host {

// The body-in-white activity types the copy rules name, so that plants may use them.
// The workbench's library (registered before) already gives some of them, under its
// "BIWActivity"; registering an existing type changes nothing.
void RegisterBodyInWhiteTypes() {
  RegisterType("BIWActivity", "PhysicalActivity");
  for (const char* t : {"BIWActivityGrouping", "BIWActivityStation"}) RegisterType(t, "Activity");
  for (const char* t : {"BIWActivityInlineInspection", "BIWActivityHemming", "BIWActivityLoading", "BIWActivityUnloading",
                        "BIWActivityClamping", "BIWActivityUnclamping", "BIWActivitySpotWelding", "BIWActivityStudWelding",
                        "BIWActivitySpotGluing", "BIWActivityClinching", "BIWActivityArcWelding",
                        "BIWActivityAdhesiveApplication", "BIWActivitySealantApplication", "BIWActivityScrewing",
                        "BIWActivityRiveting", "BIWActivityDrilling"})
    RegisterType(t, "BIWActivity");
}

void RegisterCopyHost() {
  RegisterBodyInWhiteTypes();
  RegisterCopyPasteActor();
  RegisterSavedState();
  RegisterHubProducts();
  InstallResourceCopyHost();
}

}  // namespace host
