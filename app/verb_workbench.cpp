// mirt workbench: the workbench Mirt as the user would see it on entering it.
#include <cstdlib>
#include <iostream>
#include <unordered_set>

#include "HostRuntime.h"
#include "HostWorkbench.h"
#include "Mirt.h"
#include "Output.h"
#include "PlantDocument.h"
#include "TavModules.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

std::string g_plant;
bool g_hub = false;
mirt::FormatFlags g_format;

const char* const kSwitches[] = {"VEK_ENABLE_KWFENN_TOOLBAR", "VEK_VERSION_REPORT_CMD", "VEK_STATIC_VERIFICATION_CMD",
                                 "VEK_MfgAssy_ODT_CMD", "WexVEK_ACTIVITY_INCRLOAD"};
const char* const kTexts[] = {"ADL_ODT_IN", "VEK_ENABLE_ZARNET"};

// Whether the header's class is only a placeholder in this build, as the text form marks it.
bool NotBuiltYet(const TavCommandHeader& h) {
  const auto& reg = TavModuleRegistry::Get();
  const std::string cls = h.GetClassName().utf8(), mod = h.GetModuleName().utf8();
  for (auto& [m, c] : reg.Classes())
    if (c == cls && (mod.empty() || m == mod)) return reg.IsPlaceholder(m, c);
  return false;
}

mirt::Json HeaderJson(const TavUnicodeString& id) {
  const TavCommandHeader* h = TavCommandHeader::GetHeaderFromList(id, 0);
  if (!h) return {{"id", id.utf8()}, {"exists", false}, {"title", nullptr}, {"available", false}, {"built", false}};
  return {{"id", id.utf8()},
          {"exists", true},
          {"title", host::HeaderTitle(*h).text},
          {"available", h->IsAvailable()},
          {"built", !NotBuiltYet(*h)}};
}

mirt::Json MenuJson(const TavWorkbenchLayout& layout, const TavWorkbenchMenu& menu, int depth) {
  mirt::Json entries = mirt::Json::array();
  for (auto& e : menu.entries) {
    if (!e.submenu) {
      entries.push_back(HeaderJson(e.name));
      continue;
    }
    const TavWorkbenchMenu* sub = layout.FindMenu(e.name);
    // The same depth bound as the text form: a foreign layout cannot loop.
    entries.push_back(sub && depth < 16 ? MenuJson(layout, *sub, depth + 1)
                                        : mirt::Json{{"submenu", e.name.utf8()}, {"entries", mirt::Json::array()}});
  }
  return {{"submenu", menu.name.utf8()}, {"entries", std::move(entries)}};
}

void PrintJson(const host::HostWorkbenches& w, const host::HostDocument& doc) {
  const TavWorkbenchLayout& layout = *w.CurrentLayout();
  mirt::Json switches = mirt::Json::object(), texts = mirt::Json::object(), toolbars = mirt::Json::array(),
             menus = mirt::Json::array(), unplaced = mirt::Json::array(), dropped = mirt::Json::array();
  for (const char* v : kSwitches) switches[v] = Mirt::IsSwitchOn(v);
  for (const char* v : kTexts) {
    const char* value = std::getenv(v);
    texts[v] = value ? mirt::Json(value) : mirt::Json(nullptr);
  }
  for (auto& t : layout.toolbars) {
    mirt::Json headers = mirt::Json::array();
    for (auto& h : t.headers) headers.push_back(HeaderJson(h));
    toolbars.push_back({{"name", t.name.utf8()}, {"headers", std::move(headers)}});
  }
  for (auto& m : layout.menus) {
    if (!m.parent.IsEmpty()) continue;
    mirt::Json menu = MenuJson(layout, m, 0);
    menus.push_back({{"name", m.name.utf8()}, {"entries", std::move(menu["entries"])}});
  }
  std::unordered_set<std::string> placed;
  for (auto& p : layout.PlacedHeaders()) placed.insert(p.utf8());
  for (auto* h : TavCommandHeader::GetList())
    if (!placed.count(h->GetID().utf8())) unplaced.push_back(HeaderJson(h->GetID()));
  for (auto& d : layout.dropped)
    dropped.push_back({{"item", d.item.utf8()}, {"container", d.container.utf8()}, {"toolbar", d.toolbar}});
  mirt::PrintJson(std::cout, {{"workbench", w.CurrentWorkbenchName()},
                              {"workshop", w.CurrentWorkshopName()},
                              {"environment", doc.IsHub() ? "hub" : "local"},
                              {"document", doc.GetDisplayName().utf8()},
                              {"switches", std::move(switches)},
                              {"texts", std::move(texts)},
                              {"toolbars", std::move(toolbars)},
                              {"menus", std::move(menus)},
                              {"unplaced", std::move(unplaced)},
                              {"dropped", std::move(dropped)}});
}

int Run() {
  if (g_hub && !g_plant.empty()) throw mirt::VerbError("--hub makes an empty document; a plant file names its own environment");
  host::HostSession session;
  Ref<host::HostDocument> doc;
  if (g_plant.empty()) {
    doc = host::HostDocument::Create(g_hub);
  } else {
    std::string error;
    doc = mirt::LoadPlantForVerb(g_plant, error);
    if (!doc) throw mirt::VerbError(error);
  }
  session.OpenDocument(doc);
  host::HostWorkbenches workbenches;
  std::string error;
  if (!workbenches.Enter("Mirt", &error)) throw mirt::VerbError(error);

  if (g_format.Get() == mirt::Format::Json) {
    PrintJson(workbenches, *doc);
    return 0;
  }
  std::cout << "Workbench " << workbenches.CurrentWorkbenchName() << " of workshop " << workbenches.CurrentWorkshopName()
            << ", " << (doc->IsHub() ? "hub" : "local") << " document \"" << doc->GetDisplayName().utf8() << "\"\n";
  std::cout << "Switches:";
  for (const char* v : kSwitches)
    std::cout << ' ' << v << '=' << (Mirt::IsSwitchOn(v) ? "on" : "off");
  for (const char* v : kTexts) {
    const char* value = std::getenv(v);
    std::cout << ' ' << v << '=' << (value ? "\"" + std::string(value) + "\"" : "(undefined)");
  }
  std::cout << "\n" << host::DescribeWorkbench(*workbenches.CurrentLayout());
  return 0;
}

}  // namespace

mirt::Verb mirt::WorkbenchVerb() {
  return mirt::Verb{
    "workbench",
    "Show the workbench Mirt as entered: toolbars, menus and submenus with their headers, titles and availability",
    40,
    [](CLI::App& sub) {
      sub.add_option("--plant", g_plant, "Plant file whose document the workbench is entered in (default: an empty document)")
          ->check(CLI::ExistingFile);
      sub.add_flag("--hub", g_hub, "Enter in an empty hub document instead of a local one");
      mirt::AddFormatFlags(sub, g_format);
      sub.footer(
          "The environment switches VEK_ENABLE_KWFENN_TOOLBAR, VEK_VERSION_REPORT_CMD, VEK_STATIC_VERIFICATION_CMD,\n"
          "VEK_MfgAssy_ODT_CMD and WexVEK_ACTIVITY_INCRLOAD (on: TRUE or 1, any case), ADL_ODT_IN and\n"
          "VEK_ENABLE_ZARNET are read as the workbench is defined and entered.");
    },
    Run,
};
}
