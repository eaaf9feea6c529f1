// mirt unassign PLANT --activity PATH --what products|resources|all (-o OUT | --in-place):
// removes every product or resource assignment of an activity and its descendants.
#include <iostream>

#include "FileWriter.h"
#include "HostEngine.h"
#include "Output.h"
#include "PlantDocument.h"
#include "VerbPlant.h"
#include "Verbs.h"
#include "WexVekTotalUnassignCmd.h"

namespace {

struct Options {
  std::string plant, activity, what, out;
  bool inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

// The dialog's options, by the names the verb takes.
int OptionOf(const std::string& what) { return what == "products" ? 0 : what == "resources" ? 1 : 2; }

int Run() {
  Options& o = Opt();
  const std::string output = mirt::PlantOutput(o.plant, o.out, o.inPlace);
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  std::string err;

  TavPathElement path = doc->Resolve(o.activity);
  if (path.IsEmpty()) throw mirt::VerbError("no object at '" + o.activity + "'");
  auto activity = query<TavISPPActivity>(path.GetLeaf());
  if (!activity) throw mirt::VerbError("'" + o.activity + "' is no activity");
  // The command refuses the pick too.
  if (activity->GetTypeName() == "AssemblyOperation")
    throw mirt::VerbError("'" + o.activity + "' is an assembly operation: its assignments cannot be removed with this command");

  const int option = OptionOf(o.what);
  WexVekTotalUnassignCmd cmd;
  cmd.SearchAssigments(activity, option);
  const int products = cmd.RemovedProducts(), resources = cmd.RemovedResources();
  // Nothing removed is an answer, not a failure: the command's report, exit 0, and no
  // file written (-o OUT is not created), since there is nothing new to save.
  const int report = WexVekTotalUnassignCmd::ReportCode(option, products, resources);
  const std::string target = report ? std::string() : output;
  if (!report && !host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);

  const std::string reportText = report ? WexVekTotalUnassignCmd::ReportText(report).utf8() : std::string();
  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant},
                                {"output", target.empty() ? mirt::Json(nullptr) : mirt::Json(target)},
                                {"activity", doc->PathString(activity)},
                                {"what", o.what},
                                {"products_removed", products},
                                {"resources_removed", resources},
                                {"report", report ? mirt::Json(reportText) : mirt::Json(nullptr)}});
  } else if (report) {
    std::cout << reportText << "\nnothing written\n";
  } else {
    std::cout << "removed " << products << " product and " << resources << " resource assignments from "
              << doc->PathString(activity) << " and its descendants; saved " << target << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::UnassignVerb() {
  return mirt::Verb{"unassign", "Remove every product or resource assignment of an activity and its descendants", 36,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to change")->required()->check(CLI::ExistingFile);
      sub.add_option("--activity", o.activity, "The activity (path or #id); its descendants are cleared too")->required();
      sub.add_option("--what", o.what, "What to remove: products (items and outputs), resources (used resources and "
                                       "resources attached or detached as items), or all")
          ->required()
          ->check(CLI::IsMember({"products", "resources", "all"}));
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Exit 0 when assignments were removed and the plant saved, and also when there was nothing to "
                 "remove: then the report says so and no file is written (-o OUT is not created). Exit 1 on bad "
                 "input (an unknown path, no activity, an assembly operation) or a failed save: nothing is written.");
    },
    Run};
}
