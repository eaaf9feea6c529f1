// mirt consumption: which activities consume the named products, as the
// activities-of-product command shows it, with the XML report on request.
#include <iostream>
#include <optional>

#include "FileWriter.h"
#include "HostRuntime.h"
#include "OrvEPartConsumptionAnalysis.h"
#include "OrvVekGenPartConsumptionXML.h"
#include "OrvVekPartConsumptionRecords.h"
#include "OrvVekPartConsumptionUtilities.h"
#include "PartConsumptionModule.h"
#include "PlantDocument.h"
#include "TextTable.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant;
  std::vector<std::string> products;
  std::vector<std::string> relations;
  bool checkParent = false, checkChildren = false, childAssignCheck = false;
  int effectivity = 0;
  std::string xml;
  CLI::Option *relationOpt = nullptr, *parentOpt = nullptr, *childrenOpt = nullptr, *childCheckOpt = nullptr,
              *effectivityOpt = nullptr;
};
Options& Opt() {
  static Options o;
  return o;
}

using mirt::PrintTable;

const char* EffectivityTitle(int mode) {
  switch (mode) {
    case 1: return "Line Effectivity";
    case 2: return "Date Effectivity";
    case 3: return "Label Effectivity";
    case 4: return "Extended Effectivity";
    default: return nullptr;
  }
}

int Run() {
  Options& o = Opt();
  if (std::string clash = support::OutputIsInput(o.xml, {o.plant}); !clash.empty()) throw mirt::VerbError(clash);
  host::HostSession session;
  session.SetHasMainWindow(false);  // a batch run: failures are reported here, not in windows
  std::string error;
  Ref<host::HostDocument> doc = host::LoadPlant(o.plant, error);
  if (!doc) throw mirt::VerbError(error);
  session.OpenDocument(doc);
  RegisterPartConsumptionModule();
  OrvVekPartConsumptionUtilities::InitTavSetting();

  std::vector<Ref<TavBaseUnknown>> selected;
  for (auto& path : o.products) {
    TavPathElement pe = doc->Resolve(path);
    if (pe.IsEmpty()) throw mirt::VerbError("no product or manufactured assembly '" + path + "' in " + o.plant);
    Ref<TavBaseUnknown> leaf = pe.GetLeaf();
    if (!query<TavIProduct>(leaf) && !query<OrvIMfgAssembly>(leaf))
      throw mirt::VerbError("'" + path + "' is not a product or manufactured assembly");
    selected.push_back(leaf);
  }
  RemoveDuplicates(selected);

  std::vector<TavUnicodeString> relations;
  if (o.relationOpt->count()) {
    for (auto& r : o.relations)
      if (!r.empty()) relations.emplace_back(r);
  } else {
    relations = OrvVekPartConsumptionUtilities::GetRelations();
  }
  const bool checkParent = o.parentOpt->count() ? o.checkParent : OrvVekPartConsumptionUtilities::IsParentAssignCheckEnlable();
  const bool checkChildren = o.childrenOpt->count() ? o.checkChildren : OrvVekPartConsumptionUtilities::IsChildAssignCheckEnabled();
  const bool childCheck = o.childCheckOpt->count() ? o.childAssignCheck : OrvVekPartConsumptionUtilities::IsChildAssignCheckEnabled();
  int mode = o.effectivity;
  if (!o.effectivityOpt->count()) OrvVekPartConsumptionUtilities::GetEffectivityTypeToShow(mode);

  auto engine = query<OrvIPartConsumptionAnalysis>(selected.front());
  if (!engine) throw mirt::VerbError("the part consumption analysis is not available for '" + o.products.front() + "'");
  engine->SetInputs(&selected, &relations);
  engine->AnalyzeConsumption(checkParent, checkChildren);
  OrvPartConsumptionRecords results;
  const OrvPartConsumptionRecords found = engine->GetAnalysisResults();
  OrvVekPartConsumptionRecords::AddToAnalysisResults(&results, &found);
  std::vector<Ref<TavBaseUnknown>> unassigned = engine->GetUnassignedParts();
  OrvVekPartConsumptionRecords::CleanUnassignedList(results, unassigned);

  if (o.xml == "-") {  // the report alone on standard output, for a pipe
    std::string error;
    const std::string report =
        OrvVekGenPartConsumptionXML::BuildReport(results, unassigned, mode, nullptr, childCheck);
    if (!support::WriteFile("-", report, &error, {.dashIsStdout = true})) throw mirt::VerbError(error);
    return 0;
  }
  std::ostream& out = std::cout;
  out << "Relations: ";
  for (std::size_t i = 0; i < relations.size(); ++i) out << (i ? ", " : "") << relations[i].utf8();
  out << (relations.empty() ? "(none)" : "") << '\n';
  out << "Checks: parent " << (checkParent ? "on" : "off") << ", children " << (checkChildren ? "on" : "off") << "\n\n";

  const char* effTitle = EffectivityTitle(mode);
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> head{"No", "Product"};
  if (childCheck) head.insert(head.end(), {"Children Assigned", "Child"});
  head.insert(head.end(), {"Activity", "Relation", "Parent", "Loaded"});
  if (effTitle) head.push_back(effTitle);
  rows.push_back(head);
  int n = 0;
  for (auto& r : results) {
    auto d = r->GetDisplayInfo();
    std::vector<std::string> row{std::to_string(++n)};
    const bool asChild = childCheck && r->IsChild();
    row.push_back(asChild ? "" : d[0].utf8());
    if (childCheck) {
      row.push_back(r->HasChildren() ? (r->AllChildrenAssigned() ? "Yes" : "No") : "");
      row.push_back(asChild ? d[0].utf8() : "");
    }
    row.insert(row.end(), {d[1].utf8(), d[2].utf8(), d[3].utf8(), r->IsAssocActLoaded() ? "Yes" : "No"});
    if (effTitle) row.push_back(d[4].utf8());
    rows.push_back(std::move(row));
  }
  out << "Consuming activities (" << results.size() << "):\n";
  if (results.empty()) out << "  none\n";
  else PrintTable(out, rows);

  out << "\nUnconsumed products (" << unassigned.size() << "):\n";
  if (unassigned.empty()) out << "  none\n";
  std::vector<std::vector<std::string>> un;
  n = 0;
  for (auto& p : unassigned) un.push_back({std::to_string(++n), doc->PathString(p)});
  PrintTable(out, un);

  if (!o.xml.empty()) {
    OrvVekXMLExportStatus st;
    if (FAILED(OrvVekGenPartConsumptionXML::CreateXMLFile(o.xml, results, unassigned, mode, nullptr, childCheck, &st)))
      throw mirt::VerbError(st.message);
    out << "\nReport written to " << o.xml << '\n';
  }
  return 0;
}

const mirt::VerbRegistrar reg{mirt::Verb{
    "consumption", "Which activities consume the given products, and the part consumption XML report", 20,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "Plant file")->required()->check(CLI::ExistingFile);
      sub.add_option("--product,-p", o.products,
                     "Product or manufactured assembly to analyse: a path such as Products/Body/Door.1 or "
                     "Assemblies/DoorAssy, or an id such as #d3 (repeatable)")
          ->required()
          ->allow_extra_args(false);
      o.relationOpt = sub.add_option("--relation,-r", o.relations,
                                     "Relation name to test, such as \"Process Processes Product\" (repeatable; "
                                     "an empty name tests none; default: the part consumption settings)")
                         ->allow_extra_args(false);
      o.parentOpt = sub.add_flag("--check-parent,!--no-check-parent", o.checkParent,
                                 "A product whose father or containing assembly is consumed counts as consumed");
      o.childrenOpt = sub.add_flag("--check-children,!--no-check-children", o.checkChildren,
                                   "Analyse the direct children of an unconsumed product");
      o.childCheckOpt = sub.add_flag("--child-assign-check,!--no-child-assign-check", o.childAssignCheck,
                                     "Show children and their assignment in the table and the report");
      o.effectivityOpt = sub.add_option("--effectivity", o.effectivity,
                                        "Effectivity to show: 1 line, 2 date, 3 label, 4 extended, 0 none");
      sub.add_option("--xml", o.xml, "Write the part consumption XML report to this file (\"-\": standard output, instead of the table)");
      sub.footer("Without an option the planner's part consumption settings decide (relations "
                 "\"Process Processes Product\", \"Process First Processes Product\", \"Process Creates Product\"; "
                 "every check off, no effectivity, unless changed).");
    },
    Run}};

}  // namespace
