// mirt renumber PLANT -o OUT [--in-place]: numbers every physical activity hierarchically.
#include <iostream>

#include "FileWriter.h"
#include "HostEngine.h"
#include "HostUndo.h"
#include "OrvVekCommandServices.h"
#include "PlantDocument.h"
#include "TavVekRenumberActCmd.h"
#include "Verbs.h"

namespace {
std::string g_plant, g_out;
bool g_inPlace = false;

int Renumber() {
  if (g_out.empty() && !g_inPlace) throw mirt::VerbError("give the output with -o OUT, or --in-place to rewrite " + g_plant);
  if (!g_out.empty() && g_inPlace) throw mirt::VerbError("-o and --in-place exclude each other");
  if (std::string clash = support::OutputIsInput(g_out, {g_plant}); !clash.empty())
    throw mirt::VerbError(clash + "; use --in-place to overwrite it");
  host::HostSession session;
  host::HostEngine engine;
  std::string err;
  auto doc = host::LoadPlant(g_plant, err);
  if (!doc) throw mirt::VerbError(err);
  session.OpenDocument(doc);
  // Labels before and after tell the user what the command did: the activities it
  // works on are those of the planner's list (the process, the TSAs and theirs).
  std::vector<std::pair<Ref<TavISPPActivity>, TavUnicodeString>> before;
  for (auto& a : OrvVekCommandServices::GetAllActivities())
    if (a) before.emplace_back(a, a->GetLabel());
  // All or nothing: a failure half-way leaves the model as loaded, the file untouched.
  host::UndoScope job(*doc);
  if (!engine.Start("OrvVekPlanner", "TavVekRenumberActCmd", &err)) throw mirt::VerbError(err);
  job.Keep("renumber");
  int changed = 0;
  for (auto& [a, label] : before) changed += a->GetLabel() == label ? 0 : 1;
  const std::string target = g_inPlace ? g_plant : g_out;
  if (!host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);
  std::cout << "renumbered " << before.size() << " activities, " << changed << " labels changed; saved " << target << '\n';
  return 0;
}

mirt::VerbRegistrar reg({"renumber", "Number every physical activity of the process hierarchically (Weld.2.3)", 30,
                         [](CLI::App& sub) {
                           sub.add_option("plant", g_plant, "The plant to renumber")->required()->check(CLI::ExistingFile);
                           sub.add_option("-o,--output", g_out, "Where to save the renumbered plant");
                           sub.add_flag("--in-place", g_inPlace, "Overwrite the input plant");
                         },
                         Renumber});
}  // namespace
