// mirt compare: what changed between two versions of a plant, by kind of object.
#include <unistd.h>

#include <iostream>
#include <map>

#include "FileWriter.h"
#include "HostRuntime.h"
#include "OrvVekCompareDlgBase.h"
#include "Output.h"
#include "PlantDocument.h"
#include "TextTable.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string original, modified;
  std::string kind = "activities";
  std::string root, root2;
  int filter = OrvVekCompareDlgBase::AllAttributes | OrvVekCompareDlgBase::AssignedItems |
               OrvVekCompareDlgBase::AssignedResources | OrvVekCompareDlgBase::Father | OrvVekCompareDlgBase::Children |
               OrvVekCompareDlgBase::Sequence;
  std::vector<std::string> attributes;
  bool hub = false;
  std::string xml;                            // the XML report, as the results dialog exports it
  std::vector<std::string> reportAttributes;  // its attributes (default: the stored choice)
  bool dots = false, noSummaryPage = false;
  CLI::Option *filterOpt = nullptr, *kindOpt = nullptr;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

// Warnings go to the terminal: a batch run has no window to show them in.
class BatchCompare final : public OrvVekCompareDlgBase {
protected:
  void ShowResults() override {}
  void ShowWarning(int, const TavUnicodeString&, const TavUnicodeString& text) override {
    std::cerr << "mirt: warning: " << text.utf8() << '\n';
  }
};

const std::map<std::string, int>& Kinds() {
  static const std::map<std::string, int> k{{"activities", OrvVekCompareDlgBase::Activities},
                                            {"products", OrvVekCompareDlgBase::Products},
                                            {"resources", OrvVekCompareDlgBase::Resources},
                                            {"assemblies", OrvVekCompareDlgBase::ManufacturedAssemblies},
                                            {"fasteners", OrvVekCompareDlgBase::Fasteners}};
  return k;
}

std::vector<std::string> AspectList(int code) {
  static const char* names[] = {"attributes", "items", "resources", "father", "children", "sequence", "fasteners"};
  std::vector<std::string> out;
  for (int b = 0; b < 7; ++b)
    if (code & (1 << b)) out.emplace_back(names[b]);
  return out;
}

std::string Aspects(int code, const char* separator = ", ") {
  std::string out;
  for (auto& a : AspectList(code)) out += (out.empty() ? "" : separator) + a;
  return out;
}

std::string KindName(int kind) {
  for (auto& [name, k] : Kinds())
    if (k == kind) return name;
  return "?";
}

// The sections a root may name whole, with the kind each holds.
const std::map<std::string, int>& Sections() {
  static const std::map<std::string, int> s{{"Products", OrvVekCompareDlgBase::Products},
                                            {"Resources", OrvVekCompareDlgBase::Resources},
                                            {"Assemblies", OrvVekCompareDlgBase::ManufacturedAssemblies}};
  return s;
}

Ref<TavBaseUnknown> SectionOf(const host::HostDocument& doc, const std::string& name) {
  if (name == "Products") return doc.GetRootContainer(TavIPPRProductList::kInterfaceName);
  if (name == "Resources") return doc.GetRootContainer(TavIPPRResourceList::kInterfaceName);
  if (name == "Assemblies") return doc.GetRootContainer(TavIMfgAssemblyContainer::kInterfaceName);
  return nullptr;
}

std::string Describe(const host::HostDocument& doc, const Ref<TavBaseUnknown>& o) {
  if (auto list = query<TavIPPRRootList>(o)) return list->GetListName().utf8();
  if (query<TavIMfgAssemblyContainer>(o)) return "Assemblies";
  if (auto f = query<OrvIBIWFastener>(o)) {
    auto id = query<TavIModelIdentity>(o);
    return f->GetName().utf8() + " (#" + (id ? id->GetId().utf8() : std::string("?")) + ")";
  }
  std::string path = doc.PathString(o);
  if (!path.empty()) return path;
  auto id = query<TavIModelIdentity>(o);
  return id ? "#" + id->GetId().utf8() : "?";
}

// The default root of a kind: the process, the first product or resource root,
// the first assembly no other assembly contains.
Ref<TavBaseUnknown> DefaultRoot(const host::HostDocument& doc, int kind) {
  switch (kind) {
    case OrvVekCompareDlgBase::Activities: {
      auto roots = doc.Process().GetRootActivities();
      return roots.empty() ? nullptr : Ref<TavBaseUnknown>(roots.front());
    }
    case OrvVekCompareDlgBase::Products:
    case OrvVekCompareDlgBase::Fasteners: {
      auto roots = doc.Products().GetRoots();
      return roots.empty() ? nullptr : Ref<TavBaseUnknown>(roots.front());
    }
    case OrvVekCompareDlgBase::Resources: {
      auto roots = doc.Resources().GetRoots();
      return roots.empty() ? nullptr : Ref<TavBaseUnknown>(roots.front());
    }
    default: {
      auto all = doc.Assemblies().GetAssemblies();
      std::unordered_set<const TavBaseUnknown*> contained;
      for (auto& a : all)
        for (auto& c : a->GetChildAssemblies()) contained.insert(c.get());
      for (auto& a : all)
        if (!contained.count(a.get())) return a;
      return nullptr;
    }
  }
}

bool FitsKind(const Ref<TavBaseUnknown>& o, int kind) {
  switch (kind) {
    case OrvVekCompareDlgBase::Activities: return query<TavISPPAbstractActivity>(o) != nullptr;
    case OrvVekCompareDlgBase::Products: {
      auto p = query<TavIProduct>(o);
      return (p && !p->IsResource()) || query<OrvIMfgAssembly>(o);
    }
    case OrvVekCompareDlgBase::Resources: {
      auto p = query<TavIProduct>(o);
      return p && p->IsResource();
    }
    case OrvVekCompareDlgBase::ManufacturedAssemblies: return query<OrvIMfgAssembly>(o) != nullptr;
    default: return query<OrvIBIWFastener>(o) != nullptr;
  }
}

Ref<TavBaseUnknown> RootOf(const host::HostDocument& doc, const std::string& path, int kind, const std::string& file) {
  static const char* what[] = {"an activity", "a product", "a resource", "a manufactured assembly", "a fastener"};
  if (path.empty()) {
    Ref<TavBaseUnknown> r = DefaultRoot(doc, kind);
    if (!r) throw mirt::VerbError(file + " has nothing to compare of that kind");
    return r;
  }
  if (auto it = Sections().find(path); it != Sections().end()) {
    if (it->second != kind)
      throw mirt::VerbError("the section '" + path + "' holds " + KindName(it->second) + ", not " + KindName(kind) +
                            " (give --kind " + KindName(it->second) + ")");
    return SectionOf(doc, path);
  }
  TavPathElement pe = doc.Resolve(path);
  if (pe.IsEmpty()) throw mirt::VerbError("no object '" + path + "' in " + file);
  Ref<TavBaseUnknown> leaf = pe.GetLeaf();
  if (!FitsKind(leaf, kind)) throw mirt::VerbError("'" + path + "' in " + file + " is not " + what[kind]);
  return leaf;
}

void PrintObjects(std::ostream& out, const char* title, const host::HostDocument& doc, const CompareList& list) {
  out << title << " (" << list.size() << "):\n";
  if (list.empty()) out << "  none\n";
  std::vector<std::vector<std::string>> rows;
  std::size_t n = 0;
  for (auto& o : list) rows.push_back({std::to_string(++n), Describe(doc, o)});
  mirt::PrintTable(out, rows, "  ");
}

void PrintModified(std::ostream& out, const char* title, const host::HostDocument& d1, const host::HostDocument& d2,
                   const CompareResults& r) {
  out << title << " (" << r.codes.size() << "):\n";
  if (r.codes.empty()) out << "  none\n";
  for (std::size_t i = 0; i < r.codes.size(); ++i) {
    const std::string a = Describe(d1, r.modifiedOriginal[i]), b = Describe(d2, r.modifiedModified[i]);
    out << "  " << i + 1 << "  " << a << (a == b ? "" : " -> " + b) << "  [" << r.codes[i] << ": " << Aspects(r.codes[i])
        << "]\n";
    if (!(r.codes[i] & OrvVekCompareDlgBase::ModAttributes)) continue;
    auto c = query<OrvICompareObjects>(r.modifiedOriginal[i]);
    if (!c) continue;
    std::vector<TavUnicodeString> names, mine, theirs;
    c->GetChangedAttributes(r.modifiedModified[i], names, mine, theirs);
    for (std::size_t j = 0; j < names.size(); ++j)
      out << "       " << names[j].utf8() << ": \"" << mine[j].utf8() << "\" -> \"" << theirs[j].utf8() << "\"\n";
  }
}

struct Sides {
  const host::HostDocument &d1, &d2;
  const Ref<TavBaseUnknown> &r1, &r2;
};

std::string Conditions(const OrvVekCompareDlgBase& engine, int kind) {
  std::string conditions;
  for (auto& c : engine.CompareConditions(kind)) conditions += (conditions.empty() ? "" : ", ") + c.utf8();
  return conditions;
}

void PrintText(const OrvVekCompareDlgBase& engine, const Sides& s, const CompareResults& r, const CompareResults& f,
               int filter, int shown, bool fastenersOfProducts, const OrvIDSICompareToolSettingAtt& settings) {
  const Options& o = Opt();
  std::ostream& out = std::cout;
  out << "Original: " << o.original << " (" << engine.ProjectName(0).utf8() << "), root " << Describe(s.d1, s.r1) << '\n';
  out << "Modified: " << o.modified << " (" << engine.ProjectName(1).utf8() << "), root " << Describe(s.d2, s.r2) << '\n';
  const std::string conditions = Conditions(engine, fastenersOfProducts ? OrvVekCompareDlgBase::Products : shown);
  out << "Compare conditions: " << (conditions.empty() ? "(none: model numbers)" : conditions) << '\n';
  out << "Filter: " << filter << '\n';
  out << "Tolerances: fastener positions within X " << settings.tolerance[0] << ", Y " << settings.tolerance[1] << ", Z "
      << settings.tolerance[2] << (settings.coordinateCheck ? "" : " (positions not compared)") << "\n\n";
  PrintObjects(out, "Added", s.d2, r.added);
  PrintObjects(out, "Removed", s.d1, r.removed);
  PrintModified(out, "Modified", s.d1, s.d2, r);
  if (shown != OrvVekCompareDlgBase::Fasteners && (!f.added.empty() || !f.removed.empty() || !f.codes.empty())) {
    out << '\n';
    PrintObjects(out, "Fasteners added", s.d2, f.added);
    PrintObjects(out, "Fasteners removed", s.d1, f.removed);
    PrintModified(out, "Fasteners modified", s.d1, s.d2, f);
  }
  out << "\nSummary: ";
  if (!fastenersOfProducts) out << r.matchedOriginal.size() << " paired, ";
  out << r.added.size() << " added, " << r.removed.size() << " removed, " << r.codes.size() << " modified\n";
}

mirt::Json ObjectsJson(const host::HostDocument& doc, const CompareList& list) {
  mirt::Json a = mirt::Json::array();
  for (auto& x : list) a.push_back(Describe(doc, x));
  return a;
}

// The mark columns of the results dialog's Modified list for a kind: key and title.
mirt::Json ColumnsJson(int kind) {
  mirt::Json a = mirt::Json::array();
  for (const auto& c : OrvVekCompareDlgBase::ModifiedColumns(kind))
    if (c.bit) a.push_back({{"key", c.key}, {"title", TavMsgCatalog::BuildMessage("OrvVekCompareDlgBase", c.key, {}, c.key).utf8()}});
  return a;
}

mirt::Json ModifiedJson(const Sides& s, const CompareResults& r, int kind) {
  mirt::Json a = mirt::Json::array();
  for (std::size_t i = 0; i < r.codes.size(); ++i) {
    mirt::Json marks = mirt::Json::array();
    for (const auto& c : OrvVekCompareDlgBase::ModifiedColumns(kind))
      if (c.bit) marks.push_back((r.codes[i] & c.bit) != 0);
    mirt::Json attributes = mirt::Json::array();
    if (r.codes[i] & OrvVekCompareDlgBase::ModAttributes)
      if (auto c = query<OrvICompareObjects>(r.modifiedOriginal[i])) {
        std::vector<TavUnicodeString> names, mine, theirs;
        c->GetChangedAttributes(r.modifiedModified[i], names, mine, theirs);
        for (std::size_t j = 0; j < names.size(); ++j)
          attributes.push_back({{"name", names[j].utf8()}, {"original", mine[j].utf8()}, {"modified", theirs[j].utf8()}});
      }
    a.push_back({{"original", Describe(s.d1, r.modifiedOriginal[i])},
                 {"modified", Describe(s.d2, r.modifiedModified[i])},
                 {"code", r.codes[i]},
                 {"aspects", AspectList(r.codes[i])},
                 {"marks", std::move(marks)},
                 {"attributes", std::move(attributes)}});
  }
  return a;
}

void PrintJson(const OrvVekCompareDlgBase& engine, const Sides& s, const CompareResults& r, const CompareResults& f,
               int filter, int shown, bool fastenersOfProducts, const OrvIDSICompareToolSettingAtt& settings, bool differ) {
  const Options& o = Opt();
  mirt::Json conditions = mirt::Json::array();
  for (auto& c : engine.CompareConditions(fastenersOfProducts ? OrvVekCompareDlgBase::Products : shown))
    conditions.push_back(c.utf8());
  mirt::Json j{
      {"original", {{"file", o.original}, {"project", engine.ProjectName(0).utf8()}, {"root", Describe(s.d1, s.r1)}}},
      {"modified", {{"file", o.modified}, {"project", engine.ProjectName(1).utf8()}, {"root", Describe(s.d2, s.r2)}}},
      {"kind", KindName(shown)},
      {"conditions", std::move(conditions)},
      {"filter", filter},
      {"tolerances",
       {{"x", settings.tolerance[0]}, {"y", settings.tolerance[1]}, {"z", settings.tolerance[2]},
        {"positions_compared", settings.coordinateCheck}}},
      {"added", ObjectsJson(s.d2, r.added)},
      {"removed", ObjectsJson(s.d1, r.removed)},
      {"columns", ColumnsJson(shown)},
      {"changed", ModifiedJson(s, r, shown)}};
  if (shown != OrvVekCompareDlgBase::Fasteners)
    j["fasteners"] = {{"added", ObjectsJson(s.d2, f.added)},
                      {"removed", ObjectsJson(s.d1, f.removed)},
                      {"changed", ModifiedJson(s, f, OrvVekCompareDlgBase::Fasteners)}};
  j["summary"] = {{"paired", fastenersOfProducts ? mirt::Json(nullptr) : mirt::Json(r.matchedOriginal.size())},
                  {"added", r.added.size()},
                  {"removed", r.removed.size()},
                  {"changed", r.codes.size()}};
  j["different"] = differ;
  mirt::PrintJson(std::cout, j);
}

// One row per difference; the related fasteners' rows follow with kind "fasteners".
void PrintCsv(const Sides& s, const CompareResults& r, const CompareResults& f, int shown) {
  std::vector<std::vector<std::string>> rows{{"change", "kind", "original", "modified", "code", "aspects", "attributes"}};
  auto add = [&](const CompareResults& res, const std::string& kind) {
    for (auto& x : res.added) rows.push_back({"added", kind, "", Describe(s.d2, x), "", "", ""});
    for (auto& x : res.removed) rows.push_back({"removed", kind, Describe(s.d1, x), "", "", "", ""});
    for (std::size_t i = 0; i < res.codes.size(); ++i) {
      std::string changes;
      if (res.codes[i] & OrvVekCompareDlgBase::ModAttributes)
        if (auto c = query<OrvICompareObjects>(res.modifiedOriginal[i])) {
          std::vector<TavUnicodeString> names, mine, theirs;
          c->GetChangedAttributes(res.modifiedModified[i], names, mine, theirs);
          for (std::size_t j = 0; j < names.size(); ++j)
            changes += (j ? "; " : "") + names[j].utf8() + ": \"" + mine[j].utf8() + "\" -> \"" + theirs[j].utf8() + "\"";
        }
      rows.push_back({"changed", kind, Describe(s.d1, res.modifiedOriginal[i]), Describe(s.d2, res.modifiedModified[i]),
                      std::to_string(res.codes[i]), Aspects(res.codes[i], ";"), changes});
    }
  };
  add(r, KindName(shown));
  if (shown != OrvVekCompareDlgBase::Fasteners) add(f, "fasteners");
  mirt::PrintCsv(std::cout, rows);
}

// A name's place among the attributes the roots' children offer: own names first,
// then hub names. An unknown name fails with `what` and the names there are.
std::size_t AttributeIndex(const std::string& name, const std::vector<TavUnicodeString>& own,
                           const std::vector<TavUnicodeString>& hub, const char* what) {
  const TavUnicodeString n(name);
  if (auto i = std::find(own.begin(), own.end(), n); i != own.end()) return static_cast<std::size_t>(i - own.begin());
  if (auto h = std::find(hub.begin(), hub.end(), n); h != hub.end()) return own.size() + static_cast<std::size_t>(h - hub.begin());
  std::string known;
  for (const auto* list : {&own, &hub})
    for (auto& x : *list) known += (known.empty() ? "" : ", ") + x.utf8();
  throw mirt::VerbError(std::string("no ") + what + " '" + name + "' on the roots' children (known: " +
                        (known.empty() ? "none" : known) + ")");
}

int Compare() {
  Options& o = Opt();
  host::HostSession session;
  session.SetHasMainWindow(false);
  std::string error;
  Ref<host::HostDocument> d1 = mirt::LoadPlantForVerb(o.original, error);
  if (!d1) throw mirt::VerbError(error);
  Ref<host::HostDocument> d2 = mirt::LoadPlantForVerb(o.modified, error);
  if (!d2) throw mirt::VerbError(error);
  // Both open, as in the interactive tool; the original stays the current one.
  auto first = session.OpenDocument(d1);
  session.OpenDocument(d2);
  session.SetCurrentEditor(first);

  // A whole section as the root compares what it holds, unless --kind says otherwise.
  if (auto it = Sections().find(o.root); !o.kindOpt->count() && it != Sections().end()) o.kind = KindName(it->second);
  const int kind = Kinds().at(o.kind);
  // Fasteners without a root: those related to the products, gathered by comparing them.
  const bool fastenersOfProducts = kind == OrvVekCompareDlgBase::Fasteners && o.root.empty() && o.root2.empty();
  const int engineKind = fastenersOfProducts ? OrvVekCompareDlgBase::Products : kind;
  Ref<TavBaseUnknown> r1 = RootOf(*d1, o.root, engineKind, o.original);
  Ref<TavBaseUnknown> r2 = RootOf(*d2, o.root2.empty() ? o.root : o.root2, engineKind, o.modified);

  const bool hub = o.hub;
  if (hub && (!d1->IsHub() || !d2->IsHub())) throw mirt::VerbError("--hub needs two plants of the hub environment");
  BatchCompare engine;
  engine.SetHxMode(hub);
  engine.SetType(engineKind);
  if (engineKind == OrvVekCompareDlgBase::Activities || engineKind == OrvVekCompareDlgBase::ManufacturedAssemblies) {
    auto l1 = OrvEMfgAssemblyFactory::GetMAsInContainer(d1), l2 = OrvEMfgAssemblyFactory::GetMAsInContainer(d2);
    engine.SetMALists({l1.begin(), l1.end()}, {l2.begin(), l2.end()});
  }
  engine.Initialize(r1, r2, hub ? TavYorAdapterOf(d1) : nullptr, hub ? TavYorAdapterOf(d2) : nullptr, d1, d2);
  if (int rc = engine.CheckComparability())
    throw mirt::VerbError("the two roots cannot be compared (code " + std::to_string(rc) + ")");

  int filter = o.filter;
  std::vector<int> indices;
  std::vector<TavUnicodeString> own, prompts, hubNames;
  if (!o.attributes.empty() || !o.reportAttributes.empty()) engine.GetAttributeList(own, prompts, hubNames);
  if (!o.attributes.empty()) {
    for (auto& name : o.attributes) indices.push_back(static_cast<int>(AttributeIndex(name, own, hubNames, "attribute")));
    if (!o.filterOpt->count()) filter = (filter & ~OrvVekCompareDlgBase::AllAttributes) | OrvVekCompareDlgBase::SelectedAttributes;
  }
  if (!o.xml.empty()) {
    if (std::string clash = support::OutputIsInput(o.xml, {o.original, o.modified}); !clash.empty()) throw mirt::VerbError(clash);
    // The report's attributes must be offered by the roots' children, as in the dialog.
    if (!o.reportAttributes.empty()) {
      std::vector<TavUnicodeString> ownChosen, hubChosen;
      for (auto& name : o.reportAttributes) {
        const std::size_t i = AttributeIndex(name, own, hubNames, "report attribute");
        if (i < own.size()) ownChosen.push_back(own[i]);
        else hubChosen.push_back(hubNames[i - own.size()]);
      }
      engine.SetReportAttributes(std::move(ownChosen), std::move(hubChosen));
    }
    engine.SetSummaryPage(!o.noSummaryPage);
  }
  if (::isatty(2)) std::cerr << "Comparing " << o.kind << "...\n";  // progress for a person, not for a log
  engine.StartComparison(indices, filter);
  if (!o.xml.empty()) {
    // As the dialog: the summary page counts the total, the toggle shows dots.
    if (!o.noSummaryPage) engine.UpdateSummaryPage();
    if (o.dots) engine.OnToggleValue();
    if (!engine.ExportXML(o.xml, &error)) throw mirt::VerbError(error);
  }

  const auto settings = OrvIDSICompareToolSettingAtt::Read();
  const int shown = fastenersOfProducts ? OrvVekCompareDlgBase::Fasteners : kind;
  const CompareResults& r = engine.Results(shown);
  const CompareResults& f = engine.Results(OrvVekCompareDlgBase::Fasteners);
  const bool differ = !r.added.empty() || !r.removed.empty() || !r.codes.empty() || !f.added.empty() || !f.removed.empty() ||
                      !f.codes.empty();
  const Sides sides{*d1, *d2, r1, r2};
  switch (o.format.Get()) {
    case mirt::Format::Json: PrintJson(engine, sides, r, f, filter, shown, fastenersOfProducts, settings, differ); break;
    case mirt::Format::Csv: PrintCsv(sides, r, f, shown); break;
    case mirt::Format::Text: PrintText(engine, sides, r, f, filter, shown, fastenersOfProducts, settings); break;
  }
  return differ ? 1 : 0;
}

// Exit codes as diff's: 0 no difference, 1 differences, 2 trouble.
int Run() {
  try {
    return Compare();
  } catch (const mirt::VerbError& e) {
    std::cerr << "mirt compare: " << e.what() << '\n';
    return 2;
  }
}

}  // namespace

mirt::Verb mirt::CompareVerb() {
  return mirt::Verb{
    "compare", "What was added, removed and modified between two versions of a plant", 30,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("original", o.original, "The plant as it was")->required()->check(CLI::ExistingFile);
      sub.add_option("modified", o.modified, "The plant as changed")->required()->check(CLI::ExistingFile);
      o.kindOpt = sub.add_option("--kind,-k", o.kind, "What to compare (default: activities, or what a whole-section --root holds)")
          ->check(CLI::IsMember({"activities", "products", "resources", "assemblies", "fasteners"}));
      sub.add_option("--root", o.root,
                     "Root in the original plant: a path such as \"Process/Body Shop\", an id such as #op20, or a "
                     "whole section: Products, Resources or Assemblies (default: the process, the first product or "
                     "resource root, the first top assembly)");
      sub.add_option("--root2", o.root2, "Root in the modified plant (default: the same path as --root)");
      o.filterOpt = sub.add_option("--filter", o.filter,
                                   "Checks as a bit mask: 1 selected attributes, 2 all attributes, 4 no attributes, "
                                   "8 assigned items, 16 assigned resources, 32 father, 64 children, 128 sequence "
                                   "(default 250: everything but selected attributes)")
                        ->check(CLI::Range(0, 255));
      sub.add_option("--attribute,-a", o.attributes,
                     "Compare only this attribute (repeatable; sets filter bit 1 instead of 2 unless --filter is given)")
          ->allow_extra_args(false);
      mirt::AddFormatFlags(sub, o.format, "the differences, one row each");
      sub.add_flag("--hub", o.hub, "Both plants come from the hub: also key and compare by hub attributes");
      sub.add_option("--xml", o.xml, "Also write the comparison's XML report, as the results dialog exports it");
      sub.add_option("--report-attribute", o.reportAttributes,
                     "An attribute whose values the XML report lists (repeatable; default: the choice stored for the "
                     "root's feature)")
          ->allow_extra_args(false);
      sub.add_flag("--dots", o.dots, "In the XML report, write the revision's unchanged values as dots");
      sub.add_flag("--no-summary-page", o.noSummaryPage, "The XML report's total as without a summary page: 0");
      sub.footer("Objects pair by their compare conditions (the comparison settings' \"CompareConditions.<Family>\", "
                 "\"Id\" by default). Related fasteners are always checked. --kind fasteners without --root shows the "
                 "fasteners related to the compared products.\n"
                 "Exit status as diff's: 0 no difference, 1 differences, 2 trouble.");
    },
    Run, 2};
}
