// mirt workbench: the workbench Mirt as the user would see it on entering it.
#include <cstdlib>
#include <iostream>

#include "HostRuntime.h"
#include "HostWorkbench.h"
#include "Mirt.h"
#include "PlantDocument.h"
#include "Verbs.h"

namespace {

std::string g_plant;
bool g_hub = false;

int Run() {
  if (g_hub && !g_plant.empty()) throw mirt::VerbError("--hub makes an empty document; a plant file names its own environment");
  host::HostSession session;
  Ref<host::HostDocument> doc;
  if (g_plant.empty()) {
    doc = host::HostDocument::Create(g_hub);
  } else {
    std::string error;
    doc = host::LoadPlant(g_plant, error);
    if (!doc) throw mirt::VerbError(error);
  }
  session.OpenDocument(doc);
  host::HostWorkbenches workbenches;
  std::string error;
  if (!workbenches.Enter("Mirt", &error)) throw mirt::VerbError(error);

  std::cout << "Workbench " << workbenches.CurrentWorkbenchName() << " of workshop " << workbenches.CurrentWorkshopName()
            << ", " << (doc->IsHub() ? "hub" : "local") << " document \"" << doc->GetDisplayName().utf8() << "\"\n";
  std::cout << "Switches:";
  for (const char* v : {"VEK_ENABLE_KWFENN_TOOLBAR", "VEK_VERSION_REPORT_CMD", "VEK_STATIC_VERIFICATION_CMD",
                        "VEK_MfgAssy_ODT_CMD", "WexVEK_ACTIVITY_INCRLOAD"})
    std::cout << ' ' << v << '=' << (Mirt::IsSwitchOn(v) ? "on" : "off");
  for (const char* v : {"ADL_ODT_IN", "VEK_ENABLE_ZARNET"}) {
    const char* value = std::getenv(v);
    std::cout << ' ' << v << '=' << (value ? "\"" + std::string(value) + "\"" : "(undefined)");
  }
  std::cout << "\n" << host::DescribeWorkbench(*workbenches.CurrentLayout());
  return 0;
}

const mirt::VerbRegistrar reg({
    "workbench",
    "Show the workbench Mirt as entered: toolbars, menus and submenus with their headers, titles and availability",
    40,
    [](CLI::App& sub) {
      sub.add_option("--plant", g_plant, "Plant file whose document the workbench is entered in (default: an empty document)")
          ->check(CLI::ExistingFile);
      sub.add_flag("--hub", g_hub, "Enter in an empty hub document instead of a local one");
      sub.footer(
          "The environment switches VEK_ENABLE_KWFENN_TOOLBAR, VEK_VERSION_REPORT_CMD, VEK_STATIC_VERIFICATION_CMD,\n"
          "VEK_MfgAssy_ODT_CMD and WexVEK_ACTIVITY_INCRLOAD (on: TRUE or 1, any case), ADL_ODT_IN and\n"
          "VEK_ENABLE_ZARNET are read as the workbench is defined and entered.");
    },
    Run,
});

}  // namespace
