// mirt gantt-search PLANT [--root PATH] (--quick TEXT | --query ELEMENT... | --saved NAME)
// [--columns A,B] [--list-saved] [--json|--csv]: the rows of a Gantt chart that match.
#include <iostream>

#include "GanttWindow.h"
#include "OrvGanttSearchQueries.h"
#include "OrvGanttSerachPreferencesServices.h"
#include "Output.h"
#include "TextTable.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, root, quick, saved, columns;
  std::vector<std::string> query;
  bool listSaved = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

using Strings = std::vector<TavUnicodeString>;

Strings SplitColumns(const std::string& text) {
  Strings out;
  std::size_t from = 0;
  while (from <= text.size()) {
    const std::size_t comma = std::min(text.find(',', from), text.size());
    const TavUnicodeString piece = TavUnicodeString(text.substr(from, comma - from)).Strip();
    if (piece.IsEmpty()) throw mirt::VerbError("--columns: an empty column name in '" + text + "'");
    out.push_back(piece);
    from = comma + 1;
  }
  return out;
}

int ListSaved() {
  Strings names;
  if (FAILED(OrvGanttSerachPreferencesServices::GetListOfSavedQueryNames(names)))
    throw mirt::VerbError("the saved queries cannot be read: " + OrvGanttSerachPreferencesServices::LastError());
  mirt::Json list = mirt::Json::array();
  for (const auto& n : names) {
    Strings q;
    const bool ok = SUCCEEDED(OrvGanttSerachPreferencesServices::GetSavedQuery(n, q));
    const std::string why = ok ? std::string() : OrvGanttSerachPreferencesServices::LastError();
    mirt::Json strings = mirt::Json::array();
    for (const auto& s : q) strings.push_back(s.utf8());
    list.push_back({{"name", n.utf8()}, {"query", strings}, {"damaged", why}});
  }
  const Options& o = Opt();
  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"saved_queries", list}});
  } else if (o.format.Get() == mirt::Format::Csv) {
    std::vector<std::vector<std::string>> rows{{"name", "query"}};
    for (const auto& q : list) {
      std::string text;
      for (const auto& s : q["query"]) text += (text.empty() ? "" : " ") + s.get<std::string>();
      rows.push_back({q["name"].get<std::string>(), text});
    }
    mirt::PrintCsv(std::cout, rows);
  } else {
    if (list.empty()) std::cout << "no saved queries\n";
    for (const auto& q : list) {
      std::cout << q["name"].get<std::string>() << ":";
      if (!q["damaged"].get<std::string>().empty()) std::cout << " (damaged: " << q["damaged"].get<std::string>() << ")";
      for (const auto& s : q["query"]) std::cout << ' ' << s.get<std::string>();
      std::cout << '\n';
    }
  }
  return 0;
}

int Run() {
  Options& o = Opt();
  const int modes = !o.quick.empty() + !o.query.empty() + !o.saved.empty();
  if (modes > 1) throw mirt::VerbError("give one of --quick, --query and --saved");
  if (modes == 0 && !o.listSaved) throw mirt::VerbError("nothing to search: give --quick TEXT, --query ELEMENT... or --saved NAME");
  mirt::VerbSession plant(o.plant);
  if (modes == 0) return ListSaved();
  if (o.listSaved) ListSaved();

  Ref<TavBaseUnknown> root;
  if (o.root.empty()) {
    const auto roots = plant.doc->Process().GetRootActivities();
    if (roots.empty()) throw mirt::VerbError("the plant has no process to search");
    root = roots.front();
  } else {
    root = plant.doc->Resolve(o.root).GetLeaf();
    if (!root) throw mirt::VerbError("--root: nothing at '" + o.root + "'");
  }
  std::string error;
  auto window = host::OpenGanttWindow(root, error);
  if (!window) throw mirt::VerbError("--root '" + (o.root.empty() ? plant.doc->PathString(root) : o.root) + "': " + error);
  if (!o.columns.empty()) {
    window->AddColumns(SplitColumns(o.columns));
    window->UpdateGanttTable();
  }
  auto table = query<OrvIGanttTableDataAccessor>(window);
  auto utility = query<OrvISearchUtility>(window);

  Strings strings;
  bool quick = false;
  if (!o.quick.empty()) {
    Strings headers;
    table->GetVisibleColumnHeaders(headers);
    strings = OrvGanttSearchQueries::FormQueriesForQuickSearch(o.quick, headers, [&](const TavUnicodeString& h) {
      bool numeric = false;
      return SUCCEEDED(table->IsColumnNumeric(h, numeric)) && numeric;
    });
    if (strings.empty()) throw mirt::VerbError("--quick '" + o.quick + "': no column holds text, and it is no number");
    quick = true;
  } else if (!o.saved.empty()) {
    if (FAILED(OrvGanttSerachPreferencesServices::GetSavedQuery(o.saved, strings)))
      throw mirt::VerbError("--saved '" + o.saved + "': " + OrvGanttSerachPreferencesServices::LastError());
  } else {
    for (const auto& s : o.query) strings.push_back(s);
  }

  std::vector<OrvGanttSearchRecord> results;
  TavUnicodeString why;
  if (FAILED(utility->RunQuery(strings, quick, results, why))) throw mirt::VerbError(why.utf8());

  const std::string rootPath = plant.doc->PathString(root);
  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json q = mirt::Json::array(), rows = mirt::Json::array();
    for (const auto& s : strings) q.push_back(s.utf8());
    for (const auto& r : results) {
      mirt::Json cols = mirt::Json::array();
      for (const auto& c : r.columns) cols.push_back(c.utf8());
      rows.push_back({{"row", r.row}, {"name", r.name.utf8()}, {"path", r.accessPath.utf8()}, {"columns", cols}});
    }
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"root", rootPath}, {"query", q}, {"count", results.size()}, {"rows", rows}});
  } else if (o.format.Get() == mirt::Format::Csv) {
    std::vector<std::vector<std::string>> out{{"row", "name", "path", "columns"}};
    for (const auto& r : results) {
      std::string cols;
      for (const auto& c : r.columns) cols += (cols.empty() ? "" : ";") + c.utf8();
      out.push_back({std::to_string(r.row), r.name.utf8(), r.accessPath.utf8(), cols});
    }
    mirt::PrintCsv(std::cout, out);
  } else {
    std::string text;
    for (const auto& s : strings) text += (text.empty() ? "" : " ") + s.utf8();
    std::cout << "searched " << rootPath << " for " << text << '\n';
    std::cout << results.size() << (results.size() == 1 ? " row matches" : " rows match") << '\n';
    for (const auto& r : results) {
      std::string cols;
      for (const auto& c : r.columns) cols += (cols.empty() ? "" : ", ") + c.utf8();
      std::cout << "  " << r.row << "  " << r.accessPath.utf8() << "  [" << cols << "]\n";
    }
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::GanttSearchVerb() {
  return mirt::Verb{"gantt-search", "Find the rows of a Gantt chart matching a quick text or a query", 40,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to search")->required()->check(CLI::ExistingFile);
      sub.add_option("--root", o.root, "The activity whose Gantt chart is searched (path or #id; default: the first process)");
      sub.add_option("--quick", o.quick, "Search every visible column for this text (numbers also numeric columns)");
      sub.add_option("--query", o.query,
                     "A composed query: conditions 'Column'op'Value' (op = == != < <= > >=) alternating with AND/OR")
          ->expected(1, -1);
      sub.add_option("--saved", o.saved, "Run the query saved under this name in the search dialog");
      sub.add_option("--columns", o.columns, "Attribute columns to show (and search) besides the standard ones, comma-separated");
      sub.add_flag("--list-saved", o.listSaved, "List the saved queries");
      mirt::AddFormatFlags(sub, o.format, "the matching rows");
      sub.footer("Text columns: '=' compares the whole cell ignoring case, with * and ? wildcards; '==' heeds case. "
                 "Numeric columns compare numbers; a value that is no number matches nothing. AND binds before OR "
                 "(docs/gantt-query.md). Exit 0 when the search ran (no match too), 1 on bad input.");
    },
    Run};
}
