// mirt renumber PLANT -o OUT [--in-place] [--dry-run]: numbers every physical activity hierarchically.
#include <iostream>

#include "FileWriter.h"
#include "HostEngine.h"
#include "HostUndo.h"
#include "OrvVekCommandServices.h"
#include "Output.h"
#include "PlantDocument.h"
#include "TavVekRenumberActCmd.h"
#include "TextTable.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {
std::string g_plant, g_out;
bool g_inPlace = false, g_dryRun = false;
mirt::FormatFlags g_format;

struct Relabel {
  std::string path, before, after;  // path as the input plant names the activity
};

void Report(std::size_t activities, const std::vector<Relabel>& changed, const std::string& target) {
  std::ostream& out = std::cout;
  switch (g_format.Get()) {
    case mirt::Format::Json: {
      mirt::Json labels = mirt::Json::array();
      for (auto& c : changed) labels.push_back({{"path", c.path}, {"old", c.before}, {"new", c.after}});
      mirt::PrintJson(out, {{"plant", g_plant},
                            {"output", target.empty() ? mirt::Json(nullptr) : mirt::Json(target)},
                            {"dry_run", g_dryRun},
                            {"activities", activities},
                            {"changed", changed.size()},
                            {"labels", std::move(labels)}});
      return;
    }
    case mirt::Format::Csv: {
      std::vector<std::vector<std::string>> rows{{"path", "old", "new"}};
      for (auto& c : changed) rows.push_back({c.path, c.before, c.after});
      mirt::PrintCsv(out, rows);
      return;
    }
    case mirt::Format::Text:
      if (!g_dryRun) {
        out << "renumbered " << activities << " activities, " << changed.size() << " labels changed; saved " << target << '\n';
        return;
      }
      std::vector<std::vector<std::string>> rows;
      for (auto& c : changed) rows.push_back({c.path, c.before, "->", c.after});
      mirt::PrintTable(out, rows);
      out << "would renumber " << activities << " activities, " << changed.size() << " labels changed; nothing written\n";
  }
}

int Renumber() {
  if (g_dryRun) {
    if (!g_out.empty() || g_inPlace) throw mirt::VerbError("--dry-run writes nothing: it excludes -o and --in-place");
  } else {
    if (g_out.empty() && !g_inPlace)
      throw mirt::VerbError("give the output with -o OUT, or --in-place to rewrite " + g_plant + " (or --dry-run)");
    if (!g_out.empty() && g_inPlace) throw mirt::VerbError("-o and --in-place exclude each other");
  }
  if (std::string clash = support::OutputIsInput(g_out, {g_plant}); !clash.empty())
    throw mirt::VerbError(clash + "; use --in-place to overwrite it");
  host::HostSession session;
  host::HostEngine engine;
  std::string err;
  auto doc = mirt::LoadPlantForVerb(g_plant, err);
  if (!doc) throw mirt::VerbError(err);
  session.OpenDocument(doc);
  // Labels before and after tell the user what the command did: the activities it
  // works on are those of the planner's list (the process, the TSAs and theirs).
  struct Before {
    Ref<TavISPPActivity> activity;
    TavUnicodeString label;
    std::string path;
  };
  std::vector<Before> before;
  for (auto& a : OrvVekCommandServices::GetAllActivities())
    if (a) before.push_back({a, a->GetLabel(), doc->PathString(a)});
  // All or nothing: a failure half-way leaves the model as loaded, the file untouched.
  host::UndoScope job(*doc);
  if (!engine.Start("OrvVekPlanner", "TavVekRenumberActCmd", &err)) throw mirt::VerbError(err);
  std::vector<Relabel> changed;
  for (auto& b : before)
    if (b.activity->GetLabel() != b.label) changed.push_back({b.path, b.label.utf8(), b.activity->GetLabel().utf8()});
  if (g_dryRun) {  // the scope rolls the model back; nothing is saved
    Report(before.size(), changed, {});
    return 0;
  }
  job.Keep("renumber");
  const std::string target = g_inPlace ? g_plant : g_out;
  if (!host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);
  Report(before.size(), changed, target);
  return 0;
}

}  // namespace

mirt::Verb mirt::RenumberVerb() {
  return mirt::Verb{"renumber", "Number every physical activity of the process hierarchically (Weld.2.3)", 30,
    [](CLI::App& sub) {
      sub.add_option("plant", g_plant, "The plant to renumber")->required()->check(CLI::ExistingFile);
      sub.add_option("-o,--output", g_out, "Where to save the renumbered plant");
      sub.add_flag("--in-place", g_inPlace, "Overwrite the input plant");
      sub.add_flag("--dry-run", g_dryRun, "Show the labels that would change; write nothing (no -o needed)");
      mirt::AddFormatFlags(sub, g_format, "the changed labels (path, old, new)");
      sub.footer("The report counts the activities the command numbered and the labels that changed; "
                 "a label's path is the activity's path in the input plant.");
    },
    Renumber};
}
