// mirt consumption: which activities consume the named products, as the
// activities-of-product command shows it, with the XML report on request.
#include <iostream>
#include <optional>

#include "FileWriter.h"
#include "HostRuntime.h"
#include "OrvEPartConsumptionAnalysis.h"
#include "OrvVekEIConsumption.h"
#include "OrvVekGenPartConsumptionXML.h"
#include "OrvVekPartConsumptionRecords.h"
#include "OrvVekPartConsumptionUtilities.h"
#include "Output.h"
#include "PartConsumptionModule.h"
#include "PlantDocument.h"
#include "TextTable.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant;
  std::vector<std::string> products;
  std::vector<std::string> relations;
  bool checkParent = false, checkChildren = false, childAssignCheck = false, ei = false;
  int effectivity = 0;
  std::string xml;
  mirt::FormatFlags format;
  CLI::Option *relationOpt = nullptr, *parentOpt = nullptr, *childrenOpt = nullptr, *childCheckOpt = nullptr,
              *effectivityOpt = nullptr, *eiOpt = nullptr;
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

// The relations the analysis knows, in the order the help lists them.
const std::vector<std::string>& KnownRelations() {
  static const std::vector<std::string> r{"Process Processes Product", "Process First Processes Product",
                                          "Process Creates Product", "Process Removes Product",
                                          "Process Implements Requirement"};
  return r;
}

// The options alone, before any file is read: a typo costs no plant load.
void CheckOptions(const Options& o) {
  if (o.effectivity < 0 || o.effectivity > 4)
    throw mirt::VerbError("--effectivity " + std::to_string(o.effectivity) +
                          " is out of range: 0 to 4 (0 none, 1 line, 2 date, 3 label, 4 extended)");
  for (auto& r : o.relations) {
    if (r.empty()) continue;
    const auto& known = KnownRelations();
    if (std::find(known.begin(), known.end(), r) != known.end()) continue;
    std::string list;
    for (auto& k : known) list += (list.empty() ? "\"" : ", \"") + k + "\"";
    throw mirt::VerbError("unknown relation '" + r + "'; the relations are " + list);
  }
  if (o.format.Get() != mirt::Format::Text && o.xml == "-")
    throw mirt::VerbError("--xml - prints the report on standard output: it excludes --json and --csv");
}

// What a product path names, refused with what it is when it is not a product or assembly.
Ref<TavBaseUnknown> ProductOf(const host::HostDocument& doc, const std::string& path, const std::string& plant) {
  TavPathElement pe = doc.Resolve(path);
  if (pe.IsEmpty()) throw mirt::VerbError("no product or manufactured assembly '" + path + "' in " + plant);
  Ref<TavBaseUnknown> leaf = pe.GetLeaf();
  auto product = query<TavIProduct>(leaf);
  if (product && product->IsResource())
    throw mirt::VerbError("'" + path + "' is a resource, not a product or manufactured assembly");
  if (query<TavISPPAbstractActivity>(leaf))
    throw mirt::VerbError("'" + path + "' is an activity, not a product or manufactured assembly");
  if (!product && !query<OrvIMfgAssembly>(leaf))
    throw mirt::VerbError("'" + path + "' is not a product or manufactured assembly");
  return leaf;
}

struct Row {
  std::string product, child, activity, relation, parent, effectivity;
  bool isChild = false, loaded = false;
  std::optional<bool> childrenAssigned;  // only for a product with children, under --child-assign-check
};

std::vector<Row> Rows(const OrvPartConsumptionRecords& results, bool childCheck) {
  std::vector<Row> rows;
  for (auto& r : results) {
    auto d = r->GetDisplayInfo();
    Row row;
    row.isChild = childCheck && r->IsChild();
    (row.isChild ? row.child : row.product) = d[0].utf8();
    if (childCheck && r->HasChildren()) row.childrenAssigned = r->AllChildrenAssigned();
    row.activity = d[1].utf8();
    row.relation = d[2].utf8();
    row.parent = d[3].utf8();
    row.loaded = r->IsAssocActLoaded();
    row.effectivity = d[4].utf8();
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::string> Head(bool childCheck, const char* effTitle) {
  std::vector<std::string> head{"No", "Product"};
  if (childCheck) head.insert(head.end(), {"Children Assigned", "Child"});
  head.insert(head.end(), {"Activity", "Relation", "Parent", "Loaded"});
  if (effTitle) head.push_back(effTitle);
  return head;
}

// The table as the part consumption window shows it.
std::vector<std::vector<std::string>> Table(const std::vector<Row>& rows, bool childCheck, const char* effTitle) {
  std::vector<std::vector<std::string>> table{Head(childCheck, effTitle)};
  int n = 0;
  for (auto& r : rows) {
    std::vector<std::string> row{std::to_string(++n), r.product};
    if (childCheck) row.insert(row.end(), {r.childrenAssigned ? (*r.childrenAssigned ? "Yes" : "No") : "", r.child});
    row.insert(row.end(), {r.activity, r.relation, r.parent, r.loaded ? "Yes" : "No"});
    if (effTitle) row.push_back(r.effectivity);
    table.push_back(std::move(row));
  }
  return table;
}

// The engineering-requirement states, or null without --ei.
using States = std::optional<std::vector<OrvVekEIState>>;

void PrintText(const std::vector<TavUnicodeString>& relations, bool checkParent, bool checkChildren, bool childCheck,
               const char* effTitle, const std::vector<Row>& rows, const std::vector<std::string>& unconsumed,
               const States& states) {
  std::ostream& out = std::cout;
  out << "Relations: ";
  for (std::size_t i = 0; i < relations.size(); ++i) out << (i ? ", " : "") << relations[i].utf8();
  out << (relations.empty() ? "(none)" : "") << '\n';
  out << "Checks: parent " << (checkParent ? "on" : "off") << ", children " << (checkChildren ? "on" : "off") << "\n\n";
  out << "Consuming activities (" << rows.size() << "):\n";
  if (rows.empty()) out << "  none\n";
  else PrintTable(out, Table(rows, childCheck, effTitle));
  out << "\nUnconsumed products (" << unconsumed.size() << "):\n";
  if (unconsumed.empty()) out << "  none\n";
  std::vector<std::vector<std::string>> un;
  int n = 0;
  for (auto& p : unconsumed) un.push_back({std::to_string(++n), p});
  PrintTable(out, un);
  if (!states) return;
  out << "\nEngineering requirements (" << states->size() << "):\n";
  if (states->empty()) out << "  none\n";
  std::vector<std::vector<std::string>> ei;
  n = 0;
  for (auto& s : *states) ei.push_back({std::to_string(++n), OrvPartConsumptionAnalysisResult::NameOf(s.product).utf8(), s.state.utf8()});
  PrintTable(out, ei);
}

void PrintCsv(const std::vector<Row>& rows, bool childCheck, const char* effTitle) {
  mirt::PrintCsv(std::cout, Table(rows, childCheck, effTitle));
}

void PrintJson(const std::vector<TavUnicodeString>& relations, bool checkParent, bool checkChildren, bool childCheck,
               int mode, const std::vector<Row>& rows, const std::vector<std::string>& unconsumed, const States& states,
               const host::HostDocument& doc) {
  mirt::Json names = mirt::Json::array(), consuming = mirt::Json::array();
  for (auto& r : relations) names.push_back(r.utf8());
  const char* effTitle = EffectivityTitle(mode);
  for (auto& r : rows)
    consuming.push_back({{"product", r.isChild ? r.child : r.product},
                         {"is_child", r.isChild},
                         {"children_assigned", r.childrenAssigned ? mirt::Json(*r.childrenAssigned) : mirt::Json(nullptr)},
                         {"activity", r.activity},
                         {"relation", r.relation},
                         {"parent", r.parent},
                         {"loaded", r.loaded},
                         {"effectivity", effTitle ? mirt::Json(r.effectivity) : mirt::Json(nullptr)}});
  mirt::Json requirements = nullptr;
  if (states) {
    requirements = mirt::Json::array();
    for (auto& st : *states)
      requirements.push_back({{"product", doc.PathString(st.product)}, {"state", st.state.utf8()}});
  }
  mirt::PrintJson(std::cout, {{"plant", Opt().plant},
                              {"relations", std::move(names)},
                              {"checks", {{"parent", checkParent}, {"children", checkChildren}, {"child_assign", childCheck}}},
                              {"effectivity", effTitle ? mirt::Json(effTitle) : mirt::Json(nullptr)},
                              {"consuming", std::move(consuming)},
                              {"unconsumed", unconsumed},
                              {"requirements", std::move(requirements)}});
}

int Run() {
  Options& o = Opt();
  CheckOptions(o);
  if (std::string clash = support::OutputIsInput(o.xml, {o.plant}); !clash.empty()) throw mirt::VerbError(clash);
  host::HostSession session;
  session.SetHasMainWindow(false);  // a batch run: failures are reported here, not in windows
  std::string error;
  Ref<host::HostDocument> doc = mirt::LoadPlantForVerb(o.plant, error);
  if (!doc) throw mirt::VerbError(error);
  session.OpenDocument(doc);
  RegisterPartConsumptionModule();
  OrvVekPartConsumptionUtilities::InitTavSetting();

  std::vector<Ref<TavBaseUnknown>> selected;
  for (auto& path : o.products) selected.push_back(ProductOf(*doc, path, o.plant));
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
  const bool withEI = o.eiOpt->count() ? o.ei : OrvVekPartConsumptionUtilities::CheckProcessIntentRelation();
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
  States states;
  if (withEI) states = OrvVekEIConsumption::Analyze(selected);
  const OrvVekEIRows eiRows(states ? *states : std::vector<OrvVekEIState>{});
  const OrvIPartConsumptionEIInfo* ei = states ? &eiRows : nullptr;

  if (o.xml == "-") {  // the report alone on standard output, for a pipe
    std::string error;
    const std::string report =
        OrvVekGenPartConsumptionXML::BuildReport(results, unassigned, mode, ei, childCheck);
    if (!support::WriteFile("-", report, &error, {.dashIsStdout = true})) throw mirt::VerbError(error);
    return 0;
  }
  const char* effTitle = EffectivityTitle(mode);
  const std::vector<Row> rows = Rows(results, childCheck);
  std::vector<std::string> unconsumed;
  for (auto& p : unassigned) unconsumed.push_back(doc->PathString(p));
  std::ostream& out = std::cout;
  switch (o.format.Get()) {
    case mirt::Format::Json:
      PrintJson(relations, checkParent, checkChildren, childCheck, mode, rows, unconsumed, states, *doc);
      break;
    case mirt::Format::Csv: PrintCsv(rows, childCheck, effTitle); break;
    case mirt::Format::Text:
      PrintText(relations, checkParent, checkChildren, childCheck, effTitle, rows, unconsumed, states);
      break;
  }
  if (!o.xml.empty()) {
    OrvVekXMLExportStatus st;
    if (FAILED(OrvVekGenPartConsumptionXML::CreateXMLFile(o.xml, results, unassigned, mode, ei, childCheck, &st)))
      throw mirt::VerbError(st.message);
    // Machine-readable output stays one document; the note goes where a person sees it.
    (o.format.Get() == mirt::Format::Text ? out : std::cerr) << (o.format.Get() == mirt::Format::Text ? "\n" : "")
                                                              << "Report written to " << o.xml << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::ConsumptionVerb() {
  return mirt::Verb{
    "consumption", "Which activities consume the given products, and the part consumption XML report", 20,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "Plant file")->required()->check(CLI::ExistingFile);
      sub.add_option("--product,-p", o.products,
                     "Products or manufactured assemblies to analyse: paths such as Products/Body/Door.1 or "
                     "Assemblies/DoorAssy, or ids such as #d3 (several after one -p, or -p repeated; "
                     "not resources or activities)")
          ->required()
          ->expected(1, -1);
      o.relationOpt = sub.add_option("--relation,-r", o.relations,
                                     "Relation name to test: \"Process Processes Product\", \"Process First Processes "
                                     "Product\", \"Process Creates Product\", \"Process Removes Product\" or "
                                     "\"Process Implements Requirement\" (repeatable; an empty name tests none; "
                                     "default: the part consumption settings)")
                         ->allow_extra_args(false);
      o.parentOpt = sub.add_flag("--check-parent,!--no-check-parent", o.checkParent,
                                 "A product whose father or containing assembly is consumed counts as consumed");
      o.childrenOpt = sub.add_flag("--check-children,!--no-check-children", o.checkChildren,
                                   "Analyse the direct children of an unconsumed product");
      o.childCheckOpt = sub.add_flag("--child-assign-check,!--no-child-assign-check", o.childAssignCheck,
                                     "Show children and their assignment in the table and the report");
      o.effectivityOpt = sub.add_option("--effectivity", o.effectivity,
                                        "Effectivity to show: 0 none, 1 line, 2 date, 3 label, 4 extended");
      o.eiOpt = sub.add_flag("--ei,!--no-ei", o.ei,
                             "Show each product's engineering-requirement state (table, --json and the report's EI elements)");
      mirt::AddFormatFlags(sub, o.format, "the table of consuming activities (the unconsumed products are in --json)");
      sub.add_option("--xml", o.xml, "Write the part consumption XML report to this file (\"-\": standard output, instead of the table)");
      sub.footer("Without an option the planner's part consumption settings decide (relations "
                 "\"Process Processes Product\", \"Process First Processes Product\", \"Process Creates Product\"; "
                 "every check off, no effectivity, no engineering-requirement states, unless changed). "
                 "Exit status: 0 done, 1 bad input or a failure (no report written).");
    },
    Run};
}
