// mirt copy-process PLANT --process PATH --parent PATH --name NAME
// [--copy-resources | --keep-resource-links] [--keep-product-links] (-o OUT | --in-place):
// the process and its sub-activities copied under another activity or a resource's
// behaviour, its relations kept, dropped or moved to fresh copies of its resources.
#include <iostream>

#include "HostUndo.h"
#include "OrvVekCopyProcessAndRscCmd.h"
#include "OrvVekCopyProcessServices.h"
#include "Output.h"
#include "PlantDocument.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, process, parent, name, out;
  bool copyResources = false, keepResourceLinks = false, keepProductLinks = false, inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

bool Blank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

int Run() {
  Options& o = Opt();
  if (Blank(o.name)) throw mirt::VerbError("--name: the copy needs a name");
  const std::string target = mirt::PlantOutput(o.plant, o.out, o.inPlace);
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;

  auto process = query<TavISPPActivity>(doc->Resolve(o.process).GetLeaf());
  if (!process) throw mirt::VerbError("--process: no activity at '" + o.process + "'");
  auto parent = doc->Resolve(o.parent).GetLeaf();
  if (!parent) throw mirt::VerbError("--parent: nothing at '" + o.parent + "'");
  OrvVekCopyProcessAndRscCmd cmd;
  TavUnicodeString why;
  if (!cmd.AcceptsProcess(process, &why)) throw mirt::VerbError("--process '" + o.process + "' cannot be copied: " + why.utf8());
  cmd.SetProcess(process);
  if (!cmd.AcceptsParent(parent, &why))
    throw mirt::VerbError("--parent '" + o.parent + "' cannot take a copy of '" + o.process + "': " + why.utf8());
  cmd.SetNewParent(parent);

  const int options = OrvVekCopyProcessServices::OptionsFrom(o.copyResources, o.keepResourceLinks, o.keepProductLinks);
  // All or nothing: a failure leaves the model as loaded and the file untouched.
  host::UndoScope job(*doc);
  if (!cmd.CopyInBatch(TavUnicodeString(o.name), options, &why)) throw mirt::VerbError(why.utf8());
  job.Keep("copy process");
  std::string err;
  if (!host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);

  const std::string copyPath = doc->PathString(cmd.Copy());
  std::vector<std::string> copies;
  for (const auto& r : cmd.CopiedResources()) copies.push_back(doc->PathString(r));
  std::vector<std::string> notCopied;
  for (const auto& n : cmd.NotCopied()) notCopied.push_back(n.utf8());
  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"output", target}, {"process", o.process}, {"parent", o.parent},
                                {"options", options}, {"copy", copyPath}, {"copied_resources", copies},
                                {"not_copied", notCopied}});
  } else {
    std::cout << "copied " << o.process << " to " << copyPath << " (option " << options << ")\n";
    for (const auto& c : copies) std::cout << "  resource copy " << c << '\n';
    for (const auto& n : notCopied) std::cout << "  not copied (no father for its copy): " << n << '\n';
    std::cout << "saved " << target << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::CopyProcessVerb() {
  return mirt::Verb{"copy-process", "Copy an activity and its sub-activities, with or without its relations and resources", 36,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to change")->required()->check(CLI::ExistingFile);
      sub.add_option("--process", o.process, "The activity to copy (path or #id)")->required();
      sub.add_option("--parent", o.parent, "The activity, or the resource whose behaviour, that takes the copy")->required();
      sub.add_option("--name", o.name, "The copy's name")->required();
      auto* copy = sub.add_flag("--copy-resources", o.copyResources, "Copy the attached resources and relate the copies");
      sub.add_flag("--keep-resource-links", o.keepResourceLinks, "Keep the relations to the source resources")->excludes(copy);
      sub.add_flag("--keep-product-links", o.keepProductLinks, "Keep the relations to the products");
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Without --keep-resource-links or --copy-resources the copy has no resource relations; without "
                 "--keep-product-links no product relations. With --copy-resources each attached resource is copied "
                 "once, below the parent's resource (else beside itself), and its children with it. Exit 0 when the "
                 "copy was made and the plant saved, 1 on any failure: then nothing is written.");
    },
    Run};
}
