// mirt delete-resource PLANT --resource PATH (-o OUT | --in-place): a resource and
// its subtree leave the plant, with every relation and context naming them.
#include <iostream>

#include "HostEngine.h"
#include "HostUndo.h"
#include "OrvVekDeleteResourceCmd.h"
#include "Output.h"
#include "PlantDocument.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, resource, out;
  bool inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

int Run() {
  Options& o = Opt();
  const std::string target = mirt::PlantOutput(o.plant, o.out, o.inPlace);
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  auto resource = query<TavIProduct>(doc->Resolve(o.resource).GetLeaf());
  if (!resource) throw mirt::VerbError("--resource: no resource at '" + o.resource + "'");
  if (!resource->IsResource()) throw mirt::VerbError("--resource '" + o.resource + "' is a product, not a resource");
  const std::string path = doc->PathString(resource);
  const std::size_t below = resource->GetAllDescendants().size();

  // All or nothing: a failure leaves the file untouched.
  host::UndoScope job(*doc);
  OrvVekDeleteResourceCmd cmd;
  TavUnicodeString why;
  if (!cmd.DeleteConfirmed(resource, &why)) throw mirt::VerbError(why.utf8());
  job.Keep("delete resource");
  std::string error;
  if (!host::SavePlant(*doc, target, error)) throw mirt::VerbError(error);

  std::vector<std::string> activities;
  for (auto& a : cmd.Redrawn()) activities.push_back(doc->PathString(a));
  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"output", target}, {"resource", path},
                                {"resources_removed", below + 1}, {"activities", activities}});
  } else {
    std::cout << "deleted " << path;
    if (below) std::cout << " and " << below << (below == 1 ? " resource" : " resources") << " below it";
    std::cout << "; " << activities.size() << (activities.size() == 1 ? " activity" : " activities")
              << " no longer use it\n";
    for (auto& p : activities) std::cout << "  " << p << '\n';
    std::cout << "saved " << target << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::DeleteResourceVerb() {
  return mirt::Verb{"delete-resource", "Delete a resource with its subtree and every link into it", 38,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to change")->required()->check(CLI::ExistingFile);
      sub.add_option("--resource", o.resource, "The resource to delete (path or #id)")->required();
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("The activities' relations, flow outputs and 3D contexts naming the resource or one below it go "
                 "with it, and so do resource contexts and behaviour items; the activities stay. Exit 0 when the "
                 "resource was deleted and the plant saved, 1 on any failure: then nothing is written.");
    },
    Run};
}
