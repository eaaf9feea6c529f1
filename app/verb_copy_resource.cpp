// mirt copy-resource PLANT --resource PATH --parent PATH [--name NAME] (-o OUT | --in-place):
// a copy of a resource (its children and behaviour with it) below another resource.
#include <iostream>
#include <optional>

#include "HostUndo.h"
#include "OrvVekCopyResourceCmd.h"
#include "Output.h"
#include "PlantDocument.h"
#include "TavServices.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, resource, parent, out;
  std::optional<std::string> name;
  bool inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

int Run() {
  Options& o = Opt();
  if (o.name && o.name->find_first_not_of(" \t") == std::string::npos)
    throw mirt::VerbError("--name: the copy needs a name");
  const std::string target = mirt::PlantOutput(o.plant, o.out, o.inPlace);
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  TavPathElement resource = doc->Resolve(o.resource), parent = doc->Resolve(o.parent);
  if (resource.IsEmpty()) throw mirt::VerbError("--resource: nothing at '" + o.resource + "'");
  if (parent.IsEmpty()) throw mirt::VerbError("--parent: nothing at '" + o.parent + "'");

  OrvVekCopyResourceCmd cmd;
  TavUnicodeString why;
  if (!cmd.AcceptsResource(resource, &why)) throw mirt::VerbError("--resource '" + o.resource + "': " + why.utf8());
  auto source = query<TavIProduct>(resource.GetLeaf());
  const TavUnicodeString name =
      o.name ? TavUnicodeString(*o.name)
             : TavMsgCatalog::BuildMessage(OrvVekCopyResourceCmd::kCatalog, "OrvVekCopyResourceCmd.CopyPrefix.Text", {}, "Copy of ") +
                   source->GetName();
  // All or nothing: a failure leaves the model as loaded and the file untouched.
  host::UndoScope job(*doc);
  if (!cmd.CopyInBatch(resource, parent, name, &why)) throw mirt::VerbError("--parent '" + o.parent + "': " + why.utf8());
  job.Keep("copy resource");
  std::string err;
  if (!host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);

  const auto& copy = cmd.Copy();
  auto identity = query<TavIModelIdentity>(copy);
  const std::string id = identity ? identity->GetId().utf8() : "";
  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"output", target}, {"resource", o.resource}, {"parent", o.parent},
                                {"copy", {{"id", id}, {"name", copy->GetName().utf8()}, {"part_number", copy->GetPartNumber().utf8()},
                                          {"path", doc->PathString(copy)}, {"children", copy->GetAllDescendants().size()}}}});
  } else {
    std::cout << "copied " << o.resource << " to " << doc->PathString(copy) << " (#" << id << ", part number "
              << copy->GetPartNumber().utf8() << ", " << copy->GetAllDescendants().size() << " resources below it)\n";
    std::cout << "saved " << target << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::CopyResourceVerb() {
  return mirt::Verb{"copy-resource", "Copy a resource, its children and behaviour, below another resource", 36,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to change")->required()->check(CLI::ExistingFile);
      sub.add_option("--resource", o.resource, "The resource to copy (path or #id)")->required();
      sub.add_option("--parent", o.parent, "The resource the copy goes below")->required();
      sub.add_option("--name", o.name, "The copy's name (default: \"Copy of \" and the resource's name)");
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("A device is copied as a new instance of its reference; any other resource as a new reference named "
                 "after the copy. Exit 0 when the copy was made and the plant saved, 1 on any failure: then nothing "
                 "is written.");
    },
    Run};
}
