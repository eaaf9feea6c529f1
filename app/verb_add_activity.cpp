// mirt add-activity PLANT --type T (--under|--after|--resource PATH) [--label L] (-o OUT|--in-place):
// adds one activity of a library type; --list-types shows the types on offer.
#include <iostream>

#include "FileWriter.h"
#include "HostEngine.h"
#include "HostUndo.h"
#include "Output.h"
#include "PlantDocument.h"
#include "TavOrvAddActivityCmd.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, type, under, after, resource, label, out;
  bool inPlace = false, listTypes = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

// The type tree the dialog shows: libraries, their types, the types' sub types.
int ListTypes(const TavOrvAddActivityCmd& cmd) {
  const auto &types = cmd.Types(), &subs = cmd.SubTypes(), &icons = cmd.Icons(), &subIcons = cmd.SubIcons();
  mirt::Json libraries = mirt::Json::array();
  std::string text;
  std::string lastType;
  for (std::size_t i = 0; i < types.size(); ++i) {
    const std::string& t = types[i].utf8();
    if (t.size() > 4 && t.compare(t.size() - 4, 4, ".act") == 0) {
      libraries.push_back({{"library", t}, {"types", mirt::Json::array()}});
      text += t + '\n';
      lastType.clear();
      continue;
    }
    if (libraries.empty()) continue;
    auto& list = libraries.back()["types"];
    if (t != lastType) {
      list.push_back({{"type", t}, {"icon", icons[i].utf8()}, {"sub_types", mirt::Json::array()}});
      text += "  " + t + (icons[i].IsEmpty() ? "" : " [" + icons[i].utf8() + "]") + '\n';
      lastType = t;
    }
    if (!subs[i].IsEmpty()) {
      list.back()["sub_types"].push_back({{"type", subs[i].utf8()}, {"icon", subIcons[i].utf8()}});
      text += "    " + subs[i].utf8() + (subIcons[i].IsEmpty() ? "" : " [" + subIcons[i].utf8() + "]") + '\n';
    }
  }
  if (Opt().format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", Opt().plant}, {"libraries", std::move(libraries)}});
  } else {
    std::cout << (text.empty() ? "the plant names no activity library\n" : text);
  }
  return 0;
}

int Run() {
  Options& o = Opt();
  const int targets = !o.under.empty() + !o.after.empty() + !o.resource.empty();
  if (!o.listTypes) {
    if (o.type.empty()) throw mirt::VerbError("give the activity type with --type (see --list-types)");
    if (targets != 1) throw mirt::VerbError("give exactly one of --under, --after and --resource");
    mirt::PlantOutput(o.plant, o.out, o.inPlace);
  }
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  std::string err;
  TavOrvAddActivityCmd cmd;
  cmd.BuildGraphInitialize();
  if (o.listTypes) return ListTypes(cmd);

  auto* cache = OrvVekPlantypeCache::GetInstance();
  auto type = cache ? cache->FindType(o.type) : nullptr;
  if (!type || type->GetKind() != "Activity" || o.type == "OrvBehavior")
    throw mirt::VerbError("no library defines the activity type '" + o.type + "' (see --list-types)");
  const std::string& where = !o.under.empty() ? o.under : !o.after.empty() ? o.after : o.resource;
  TavPathElement path = doc->Resolve(where);
  if (path.IsEmpty()) throw mirt::VerbError("no object at '" + where + "'");
  auto leaf = path.GetLeaf();
  if (!o.resource.empty()) {
    if (!TavOrvAddActivityCmd::IsResource(leaf)) throw mirt::VerbError("'" + where + "' is no resource");
  } else if (!query<TavISPPAbstractActivity>(leaf)) {
    throw mirt::VerbError("'" + where + "' is no activity");
  } else if (!o.after.empty() && query<TavISPPActivityRoot>(leaf)) {
    throw mirt::VerbError("'" + where + "' is a process root: it has no successor place");
  }
  cmd.SetTarget(path);
  cmd.SetChosenType(o.type);
  cmd.SetInsertOption(o.after.empty() ? OrvAddActivityDlg::AddAsChild : OrvAddActivityDlg::AddAsSuccessor);
  cmd.SetLabel(o.label);

  // All or nothing: a failure leaves the model as loaded and the file untouched.
  host::UndoScope job(*doc);
  if (!cmd.InsertActivity() || cmd.GetCreated().empty()) {
    const std::string why = cmd.GetLastError().IsEmpty() ? "the activity could not be added" : cmd.GetLastError().utf8();
    throw mirt::VerbError(why + " ('" + o.type + "' at '" + where + "')");
  }
  job.Keep("add activity");
  const std::string target = o.inPlace ? o.plant : o.out;
  if (!host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);

  auto made = cmd.GetCreated().back();
  auto identity = query<TavIModelIdentity>(made);
  auto activity = query<TavISPPAbstractActivity>(made);
  const std::string id = identity ? identity->GetId().utf8() : "";
  const std::string label = activity ? activity->GetLabel().utf8() : "";
  const std::string how = !o.under.empty() ? "child" : !o.after.empty() ? "successor" : "resource";
  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"output", target}, {"type", o.type}, {"label", label}, {"id", id},
                                {"path", doc->PathString(made)}, {"placed_as", how}, {"target", where}});
  } else {
    std::cout << "added " << o.type << " '" << label << "' (#" << id << ") as " << how << " of " << where << "; saved "
              << target << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::AddActivityVerb() {
  return mirt::Verb{"add-activity", "Add an activity of a library type as a child, a successor or under a resource", 35,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to add to")->required()->check(CLI::ExistingFile);
      sub.add_option("--type", o.type, "The activity type (see --list-types)");
      auto* under = sub.add_option("--under", o.under, "Add as the last child of this activity (path or #id)");
      auto* after = sub.add_option("--after", o.after, "Add as this activity's successor in its chain");
      auto* resource = sub.add_option("--resource", o.resource, "Add under this resource's behaviour");
      under->excludes(after)->excludes(resource);
      after->excludes(resource);
      sub.add_option("--label", o.label, "The new activity's label (default: the type's name)");
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      sub.add_flag("--list-types", o.listTypes, "List the libraries' types and sub types; change nothing");
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Exit 0 when the activity was added and saved (or the types listed), 1 on any failure: "
                 "then nothing is written.");
    },
    Run};
}
