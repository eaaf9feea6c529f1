// mirt sync PLANT [--activity PATH [--start-with PATH...] [--end-with PATH...]
// [--remove PATH...] (-o OUT | --in-place)] [--json]: the activities synchronised
// start-start or end-end, and changing an activity's partners as the synchronisation
// dialog does (the same checks, each pair written on both activities).
#include <algorithm>
#include <iostream>
#include <set>
#include <string_view>

#include "OrvVekActivitySynchronisation.h"
#include "Output.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

using Sync = OrvVekActivitySynchronisation;

struct Options {
  std::string plant, activity, out;
  std::vector<std::string> startWith, endWith, remove;
  bool inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

const char* TypeName(int selection) { return selection == Sync::kEndEnd ? "endEnd" : "startStart"; }
const char* TypeText(int selection) { return selection == Sync::kEndEnd ? "end-end" : "start-start"; }

Ref<TavBaseUnknown> ActivityAt(const host::HostDocument& doc, const std::string& option, const std::string& path) {
  auto leaf = doc.Resolve(path).GetLeaf();
  if (!leaf) throw mirt::VerbError(option + ": nothing at '" + path + "' in " + Opt().plant);
  if (!query<TavISPPActivity>(leaf)) throw mirt::VerbError(option + ": '" + path + "' is no activity");
  return leaf;
}

std::vector<std::string> Paths(const host::HostDocument& doc, const std::vector<Ref<TavBaseUnknown>>& list) {
  std::vector<std::string> out;
  for (auto& a : list) out.push_back(doc.PathString(a));
  return out;
}

// Every synchronised pair of the plant once, at the activity that comes first in the
// process tree.
int ListPairs(const host::HostDocument& doc) {
  const Options& o = Opt();
  const std::vector<Ref<TavBaseUnknown>> activities = mirt::ProcessNodes(doc);
  mirt::Json pairs = mirt::Json::array();
  std::vector<std::string> lines;
  for (int selection : {Sync::kStartStart, Sync::kEndEnd}) {
    std::set<std::pair<const void*, const void*>> seen;
    for (auto& a : activities)
      for (auto& p : Sync(a).Partners(selection)) {
        const void* x = a->ExtendedObject().get();
        const void* y = p->ExtendedObject().get();
        if (!seen.insert({std::min(x, y), std::max(x, y)}).second) continue;
        const std::string first = doc.PathString(a), second = doc.PathString(p);
        pairs.push_back({{"type", TypeName(selection)}, {"first", first}, {"second", second}});
        std::string type = TypeText(selection);
        type.resize(std::string_view("start-start").size(), ' ');  // the two kinds in one column
        lines.push_back("  " + type + "  " + first + "  " + second);
      }
  }
  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"pairs", pairs}});
    return 0;
  }
  std::cout << "synchronised pairs: " << lines.size() << '\n';
  for (auto& l : lines) std::cout << l << '\n';
  return 0;
}

void PrintPartners(const host::HostDocument& doc, const Sync& sync) {
  std::cout << doc.PathString(sync.First()) << '\n';
  for (int selection : {Sync::kStartStart, Sync::kEndEnd}) {
    const auto partners = Paths(doc, sync.Partners(selection));
    std::cout << (selection == Sync::kStartStart ? "  starts with: " : "  ends with: ") << partners.size() << '\n';
    for (auto& p : partners) std::cout << "    " << p << '\n';
  }
}

mirt::Json Changes(const host::HostDocument& doc, const std::vector<std::pair<int, Ref<TavBaseUnknown>>>& pairs) {
  mirt::Json out = mirt::Json::array();
  for (auto& [selection, a] : pairs) out.push_back({{"type", TypeName(selection)}, {"activity", doc.PathString(a)}});
  return out;
}

int Run() {
  const Options& o = Opt();
  const bool change = !o.startWith.empty() || !o.endWith.empty() || !o.remove.empty();
  if (o.activity.empty() && change) throw mirt::VerbError("--start-with, --end-with and --remove need --activity");
  if (!change && (!o.out.empty() || o.inPlace))
    throw mirt::VerbError("-o and --in-place save a change: give --start-with, --end-with or --remove");
  const std::string target = change ? mirt::PlantOutput(o.plant, o.out, o.inPlace) : std::string();
  std::string error;
  Ref<host::HostDocument> doc = mirt::LoadPlantForVerb(o.plant, error);
  if (!doc) throw mirt::VerbError(error);
  if (o.activity.empty()) return ListPairs(*doc);

  Sync sync(ActivityAt(*doc, "--activity", o.activity));
  const bool json = o.format.Get() == mirt::Format::Json;
  if (!change) {
    if (json)
      mirt::PrintJson(std::cout, {{"plant", o.plant}, {"activity", doc->PathString(sync.First())},
                                  {"startStart", Paths(*doc, sync.Partners(Sync::kStartStart))},
                                  {"endEnd", Paths(*doc, sync.Partners(Sync::kEndEnd))}});
    else
      PrintPartners(*doc, sync);
    return 0;
  }

  // The lists start as the plant holds them. Removals are written first, so that a
  // partner taken off one kind may join the other in the same call; then each new
  // partner passes the dialog's pick checks against the lists so far. Nothing is saved
  // unless all of it worked.
  Sync::Lists lists;
  sync.ReadPartners(lists);
  for (auto& path : o.remove) {
    auto a = ActivityAt(*doc, "--remove", path);
    bool found = false;
    for (auto& list : lists) found = list.Remove(a) || found;
    if (!found) throw mirt::VerbError("--remove: '" + path + "' is not synchronised with '" + o.activity + "'; nothing was written");
  }
  if (!sync.CreateStartEndLinksInModel(lists)) throw mirt::VerbError(sync.ErrorText().utf8() + " Nothing was written.");
  const auto removed = sync.Removed();
  for (int selection : {Sync::kStartStart, Sync::kEndEnd})
    for (auto& path : selection == Sync::kStartStart ? o.startWith : o.endWith) {
      const std::string option = selection == Sync::kStartStart ? "--start-with" : "--end-with";
      auto a = ActivityAt(*doc, option, path);
      const auto refusal = sync.FilterActivity(a, selection, lists);
      if (refusal != Sync::Refusal::None)
        throw mirt::VerbError(option + " '" + path + "': " + Sync::RefusalText(refusal, selection).utf8() + " Nothing was written.");
      lists[selection].Add(a);
    }
  if (!sync.CreateStartEndLinksInModel(lists)) throw mirt::VerbError(sync.ErrorText().utf8() + " Nothing was written.");
  const auto& added = sync.Added();
  if (!host::SavePlant(*doc, target, error)) throw mirt::VerbError(error);

  if (json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"activity", doc->PathString(sync.First())},
                                {"added", Changes(*doc, added)}, {"removed", Changes(*doc, removed)},
                                {"startStart", Paths(*doc, sync.Partners(Sync::kStartStart))},
                                {"endEnd", Paths(*doc, sync.Partners(Sync::kEndEnd))}, {"output", target}});
    return 0;
  }
  for (auto& [selection, a] : removed) std::cout << "removed " << TypeText(selection) << ' ' << doc->PathString(a) << '\n';
  for (auto& [selection, a] : added) std::cout << "added " << TypeText(selection) << ' ' << doc->PathString(a) << '\n';
  PrintPartners(*doc, sync);
  std::cout << "saved " << target << '\n';
  return 0;
}

}  // namespace

mirt::Verb mirt::SyncVerb() {
  return mirt::Verb{
    "sync", "List activities that start or end together, or change an activity's start-start and end-end partners", 29,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "Plant file")->required()->check(CLI::ExistingFile);
      sub.add_option("--activity,-a", o.activity,
                     "The activity whose partners are listed or changed (path or #id); default: list every pair");
      sub.add_option("--start-with", o.startWith, "Make these activities start with the activity")->expected(1, -1);
      sub.add_option("--end-with", o.endWith, "Make these activities end with the activity")->expected(1, -1);
      sub.add_option("--remove", o.remove, "Take these activities off the activity's partners, of either kind")
          ->expected(1, -1);
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Removals come first, then new partners, each checked as a pick in the synchronisation dialog is: "
                 "not the activity itself, not listed already, not following it by precedences, not a flow node, "
                 "not constrained with a partner already (docs/positions.md). Each pair is written on both "
                 "activities.\n"
                 "Exit codes: 0 done, 1 bad input (a plant that does not load, an unknown path, a refused partner, "
                 "a locked activity): then nothing is written.");
    },
    Run};
}
