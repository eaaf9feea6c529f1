// mirt replace-part PLANT --old PATH --new PATH (-o OUT | --in-place) [--json]: the new
// part takes the old one's place in every relation of the process that consumes or
// outputs it, as the replace-parts command does.
#include <iostream>

#include "HostUndo.h"
#include "Output.h"
#include "PlantDocument.h"
#include "VerbPlant.h"
#include "Verbs.h"
#include "WexReplacePartsCmd.h"

namespace {

struct Options {
  std::string plant, oldPart, newPart, out;
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

  auto resolve = [&](const std::string& path, const char* option, const Ref<TavIProduct>& oldPart) {
    TavPathElement p = doc->Resolve(path);
    if (p.IsEmpty()) throw mirt::VerbError(std::string(option) + ": no object at '" + path + "'");
    auto product = WexReplacePartsCmd::DetermineProduct(p);
    TavUnicodeString why;
    if (!WexReplacePartsCmd::Accepts(product, oldPart, &why))
      throw mirt::VerbError(std::string(option) + " '" + path + "': " + why.utf8());
    return product;
  };
  auto oldPart = resolve(o.oldPart, "--old", nullptr);
  auto newPart = resolve(o.newPart, "--new", oldPart);

  // All or nothing: a failure leaves the model as loaded and the file untouched.
  host::UndoScope job(*doc);
  std::vector<WexReplacePartsCmd::Change> changes;
  if (FAILED(WexReplacePartsCmd::Replace(oldPart, newPart, &changes)))
    throw mirt::VerbError("'" + o.oldPart + "' could not be replaced by '" + o.newPart + "' in every activity: nothing was written");
  if (changes.empty()) throw mirt::VerbError("no activity consumes or outputs '" + o.oldPart + "': nothing to replace");
  job.Keep("replace parts");
  std::string err;
  if (!host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);

  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json rows = mirt::Json::array();
    for (const auto& c : changes)
      rows.push_back({{"activity", doc->PathString(c.activity)}, {"relation", c.relation.utf8()}, {"merged", c.merged}});
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"output", target}, {"old", doc->PathString(oldPart)},
                                {"new", doc->PathString(newPart)}, {"relations", rows}});
  } else {
    std::cout << "replaced " << doc->PathString(oldPart) << " by " << doc->PathString(newPart) << " in " << changes.size()
              << (changes.size() == 1 ? " relation" : " relations") << '\n';
    for (const auto& c : changes)
      std::cout << "  " << doc->PathString(c.activity) << ": " << c.relation.utf8()
                << (c.merged ? " (already related to the new part: the old relation went)" : "") << '\n';
    std::cout << "saved " << target << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::ReplacePartVerb() {
  return mirt::Verb{"replace-part", "Put a part in another part's place wherever the process consumes or outputs it", 36,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to change")->required()->check(CLI::ExistingFile);
      sub.add_option("--old", o.oldPart, "The part to replace (path or #id)")->required();
      sub.add_option("--new", o.newPart, "The part that takes its place (path or #id)")->required();
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Every relation of an activity (the root process too) that processes, removes or outputs the old part "
                 "names the new part instead, keeping its type and attributes; an activity that relates the new part so "
                 "already keeps that relation alone. Exit 0 when the parts were replaced and the plant saved, 1 on any "
                 "failure (a path that is no part, a resource, the same part twice, a part no activity uses): then "
                 "nothing is written.");
    },
    Run};
}
