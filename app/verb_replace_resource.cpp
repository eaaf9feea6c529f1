// mirt replace-resource PLANT --resource PATH --with PATH (--activity PATH... | --all)
// [--remove-context] (-o OUT | --in-place): a new instance of the second resource
// takes the first one's place and its relations in the chosen activities.
#include <iostream>

#include "FileWriter.h"
#include "HostEngine.h"
#include "HostUndo.h"
#include "OrvVekReplaceRescDlg.h"
#include "OrvVekReplaceResourceCmd.h"
#include "OrvVekReplaceResourceServices.h"
#include "Output.h"
#include "PlantDocument.h"
#include "TavResources.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, resource, with, out;
  std::vector<std::string> activities;
  bool all = false, removeContext = false, inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

// The activity holds the resource under some relation.
bool Holds(const Ref<TavISPPActivity>& a, const Ref<TavBaseUnknown>& resource) {
  auto items = query<TavISPPItemMgt>(a);
  return items && !items->GetActivitySpecifications(resource).empty();
}

int Run() {
  Options& o = Opt();
  if (o.activities.empty() == !o.all) throw mirt::VerbError("give the activities with --activity PATH (repeatable), or --all");
  const std::string target = mirt::PlantOutput(o.plant, o.out, o.inPlace);
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  std::string err;

  auto resolve = [&](const std::string& path, const char* what) {
    TavPathElement p = doc->Resolve(path);
    auto product = query<TavIProduct>(p.GetLeaf());
    if (!product) throw mirt::VerbError(std::string(what) + ": no product or resource at '" + path + "'");
    return product;
  };
  OrvVekReplaceResourceCmd cmd;
  TavUnicodeString why;
  auto first = resolve(o.resource, "--resource");
  if (!cmd.AcceptsFirst(first, &why) || !query<TavIResource>(first))
    throw mirt::VerbError("--resource '" + o.resource + "' cannot be replaced: " +
                          (why.IsEmpty() ? std::string("it is no resource") : why.utf8()));
  cmd.SetFirstResource(first);
  auto second = resolve(o.with, "--with");
  if (!cmd.AcceptsSecond(second, &why))
    throw mirt::VerbError("--with '" + o.with + "' cannot replace '" + o.resource + "': " + why.utf8());

  std::vector<Ref<TavISPPActivity>> activities;
  if (o.all) {
    activities = OrvVekReplaceRescDlg::GetAsscActivities(first);
    if (activities.empty()) throw mirt::VerbError("no activity uses '" + o.resource + "': nothing to replace");
  }
  for (const auto& path : o.activities) {
    auto a = query<TavISPPActivity>(doc->Resolve(path).GetLeaf());
    if (!a) throw mirt::VerbError("--activity: no activity at '" + path + "'");
    if (!Holds(a, first)) throw mirt::VerbError("the activity '" + path + "' does not use '" + o.resource + "'");
    activities.push_back(std::move(a));
  }

  // All or nothing: a failure leaves the model as loaded and the file untouched.
  host::UndoScope job(*doc);
  cmd.AddDevice(second);
  Ref<TavIProduct> instance;
  if (FAILED(OrvVekReplaceResourceServices::ReplaceResource(first, second, &activities, 0, 0, &instance)) || !instance)
    throw mirt::VerbError("'" + o.resource + "' could not be replaced: it needs a father product, and a resource at the "
                          "top of the resource list has none");
  // Only a context the resource is itself goes; say so when there was none.
  auto contexts = TavResourceContextsOf(doc);
  const bool wasContext = contexts && contexts->IsResourceContext(first);
  if (o.removeContext) cmd.RemoveDevice();
  const bool contextRemoved = wasContext && !contexts->IsResourceContext(first);
  job.Keep("replace resource");
  if (!host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);

  std::vector<std::string> changed;
  for (const auto& a : activities)
    if (Holds(a, instance)) {
      std::string p = doc->PathString(a);
      if (std::find(changed.begin(), changed.end(), p) == changed.end()) changed.push_back(std::move(p));
    }
  auto identity = query<TavIModelIdentity>(instance);
  const std::string id = identity ? identity->GetId().utf8() : "";
  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"output", target}, {"resource", o.resource}, {"with", o.with},
                                {"new_instance", {{"id", id}, {"name", instance->GetName().utf8()}, {"path", doc->PathString(instance)}}},
                                {"activities", changed}, {"context_removed", contextRemoved}});
  } else {
    std::cout << "replaced " << o.resource << " by " << doc->PathString(instance) << " (#" << id << ", an instance of "
              << o.with << ") in " << changed.size() << (changed.size() == 1 ? " activity" : " activities") << '\n';
    for (const auto& p : changed) std::cout << "  " << p << '\n';
    if (contextRemoved) std::cout << o.resource << " is no resource context any more\n";
    else if (o.removeContext) std::cout << o.resource << " was no resource context: no context removed\n";
    std::cout << "saved " << target << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::ReplaceResourceVerb() {
  return mirt::Verb{"replace-resource", "Put a new instance of another resource in a resource's place, in chosen activities", 36,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to change")->required()->check(CLI::ExistingFile);
      sub.add_option("--resource", o.resource, "The resource instance to replace (path or #id)")->required();
      sub.add_option("--with", o.with, "The resource whose new instance takes its place")->required();
      auto* act = sub.add_option("--activity", o.activities, "An activity that uses the resource (repeatable)");
      sub.add_flag("--all", o.all, "Every activity that uses the resource")->excludes(act);
      sub.add_flag("--remove-context", o.removeContext, "Also remove the replaced resource from the resource contexts");
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("The new instance stands under the replaced resource's father, at its position, and takes over its "
                 "relations (with their attributes) in the chosen activities only; the replaced instance stays. "
                 "Exit 0 when the resource was replaced and the plant saved, 1 on any failure: then nothing is written.");
    },
    Run};
}
