// mirt create-resource PLANT --parent PATH --name NAME --type TYPE [--quantity N]
// [--category C] [--mtbf N] [--mttr N] (-o OUT | --in-place): new resources under a
// resource, as the create-resource form makes them.
#include <iostream>

#include "HostUndo.h"
#include "OrvVekCreateResourceCmd.h"
#include "Output.h"
#include "PlantDocument.h"
#include "TavCopy.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, parent, name, type, category = "Physical", out;
  long long quantity = 1, mtbf = 0, mttr = 0;
  bool inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

void CheckRange(const char* option, long long value, long long min, long long max) {
  if (value < min || value > max)
    throw mirt::VerbError(std::string(option) + " " + std::to_string(value) + " is outside " + std::to_string(min) + ".." +
                          std::to_string(max));
}

int Run() {
  Options& o = Opt();
  if (o.name.find_first_not_of(" \t") == std::string::npos) throw mirt::VerbError("--name: a resource needs a name");
  CheckRange("--quantity", o.quantity, 1, OrvVekResourceDlgBox::kMaxQuantity);
  CheckRange("--mtbf", o.mtbf, 0, OrvVekResourceDlgBox::kMaxTime);
  CheckRange("--mttr", o.mttr, 0, OrvVekResourceDlgBox::kMaxTime);
  const std::string target = mirt::PlantOutput(o.plant, o.out, o.inPlace);

  // The type must be one the form offers.
  std::vector<TavUnicodeString> types;
  std::string error;
  auto* library = TavResourceTypeList::Get();
  if (!library || FAILED(library->GetResourceTypes(OrvVekResourceDlgBox::kTypeLibrary, types, error)))
    throw mirt::VerbError("the resource types cannot be read: " + error);
  if (std::find(types.begin(), types.end(), TavUnicodeString(o.type)) == types.end()) {
    std::string known;
    for (auto& t : types) known += (known.empty() ? "" : ", ") + t.utf8();
    throw mirt::VerbError("--type '" + o.type + "' is not a type of " + OrvVekResourceDlgBox::kTypeLibrary + " (" + known + ")");
  }

  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  auto parent = query<TavIProduct>(doc->Resolve(o.parent).GetLeaf());
  if (!parent) throw mirt::VerbError("--parent: no resource at '" + o.parent + "'");
  if (!OrvVekCreateResourceCmd::AcceptsTarget(parent))
    throw mirt::VerbError("--parent '" + o.parent + "' is no resource of the resource list");

  OrvVekResourceValues values;
  values.name = o.name;
  values.type = o.type;
  values.category = o.category;
  values.quantity = static_cast<int>(o.quantity);
  values.mtbf = static_cast<int>(o.mtbf);
  values.mttr = static_cast<int>(o.mttr);
  // All or nothing: a failure leaves the file untouched.
  host::UndoScope job(*doc);
  std::vector<Ref<TavIProduct>> made;
  TavUnicodeString why;
  if (!OrvVekCreateResourceCmd::MakeResources(parent, values, &made, &why)) throw mirt::VerbError(why.utf8());
  job.Keep("create resource");
  if (!host::SavePlant(*doc, target, error)) throw mirt::VerbError(error);

  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json list = mirt::Json::array();
    for (auto& r : made) {
      auto identity = query<TavIModelIdentity>(r);
      list.push_back({{"id", identity ? identity->GetId().utf8() : ""}, {"name", r->GetName().utf8()}, {"path", doc->PathString(r)}});
    }
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"output", target}, {"parent", doc->PathString(parent)},
                                {"type", o.type}, {"category", o.category}, {"mtbf", o.mtbf}, {"mttr", o.mttr},
                                {"created", list}});
  } else {
    std::cout << "created " << made.size() << (made.size() == 1 ? " resource" : " resources") << " of type " << o.type
              << " under " << doc->PathString(parent) << '\n';
    for (auto& r : made) {
      auto identity = query<TavIModelIdentity>(r);
      std::cout << "  " << doc->PathString(r) << " (#" << (identity ? identity->GetId().utf8() : "") << ")\n";
    }
    std::cout << "saved " << target << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::CreateResourceVerb() {
  return mirt::Verb{"create-resource", "Create resources under a resource of the resource list", 37,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to change")->required()->check(CLI::ExistingFile);
      sub.add_option("--parent", o.parent, "The resource the new ones go under (path or #id)")->required();
      sub.add_option("--name", o.name, "The new resources' name")->required();
      sub.add_option("--type", o.type, "Their resource type, one of the library ResourceWex.feat")->required();
      sub.add_option("--quantity", o.quantity, "How many (1 to 5000, default 1)");
      sub.add_option("--category", o.category, "Their category (default Physical)");
      sub.add_option("--mtbf", o.mtbf, "Mean time between failures (0 to 500000, default 0)");
      sub.add_option("--mttr", o.mttr, "Mean time to repair (0 to 500000, default 0)");
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Every new resource gets the same name, type, category and times, as the create-resource form "
                 "gives them. Exit 0 when the resources were made and the plant saved, 1 on any failure: then "
                 "nothing is written.");
    },
    Run};
}
