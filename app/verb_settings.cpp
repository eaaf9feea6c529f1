// mirt settings list|get|set: the setting and preference repositories commands read,
// as kept in the configuration folder (docs/environment.md).
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "HostRuntime.h"
#include "Output.h"
#include "TextTable.h"
#include "Verbs.h"

namespace {

namespace fs = std::filesystem;

struct Options {
  std::string repository, key;
  std::vector<std::string> values;
  bool preferences = false, text = false, strings = false;
  mirt::FormatFlags listFormat, getFormat;
  CLI::App *list = nullptr, *get = nullptr, *set = nullptr;
};
Options& Opt() {
  static Options o;
  return o;
}

const char* Kind() { return Opt().preferences ? "preferences" : "settings"; }
fs::path KindDir() { return host::ConfigDir() / Kind(); }

const char* TypeName(const TavValue& v) {
  if (std::holds_alternative<TavUnicodeString>(v)) return "string";
  if (std::holds_alternative<std::int64_t>(v)) return "int";
  if (std::holds_alternative<double>(v)) return "real";
  if (std::holds_alternative<bool>(v)) return "bool";
  return "none";
}

mirt::Json ValueJson(const TavValue& v) {
  if (auto* s = std::get_if<TavUnicodeString>(&v)) return s->utf8();
  if (auto* i = std::get_if<std::int64_t>(&v)) return *i;
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* b = std::get_if<bool>(&v)) return *b;
  return nullptr;
}

// What a key holds: a single value or an array of strings.
struct Entry {
  std::string type;
  mirt::Json json;
  std::string text;  // one line of the table or CSV
};

Entry Lookup(const host::FileRepository& repo, const std::string& key) {
  if (auto v = repo.Read(key)) return {TypeName(*v), ValueJson(*v), TavValueToText(*v).utf8()};
  mirt::Json list = mirt::Json::array();
  for (auto& s : repo.ReadStrings(key).value_or(std::vector<TavUnicodeString>{})) list.push_back(s.utf8());
  // A JSON array keeps each string's bounds visible even when it holds commas or quotes.
  return {"strings", list, list.dump()};
}

// The repository as commands see it; a name that would leave the folder is refused first.
std::unique_ptr<host::FileRepository> Open(const std::string& name, bool mustExist) {
  if (std::string problem = host::RepositoryNameProblem(name); !problem.empty())
    throw mirt::VerbError(problem + ": '" + name + "'");
  const fs::path file = KindDir() / (name + ".repo");
  std::error_code ec;
  if (mustExist && !fs::exists(file, ec))
    throw mirt::VerbError(std::string("no ") + Kind() + " repository '" + name + "' in " + KindDir().string());
  return std::make_unique<host::FileRepository>(name, file);
}

std::vector<std::string> RepositoryNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(KindDir(), ec), end; !ec && it != end; it.increment(ec))
    if (it->path().extension() == ".repo" && it->is_regular_file(ec)) names.push_back(it->path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

int List() {
  const Options& o = Opt();
  std::ostream& out = std::cout;
  if (o.repository.empty()) {
    const auto names = RepositoryNames();
    switch (o.listFormat.Get()) {
      case mirt::Format::Json:
        mirt::PrintJson(out, {{"kind", Kind()}, {"folder", KindDir().string()}, {"repositories", names}});
        break;
      case mirt::Format::Csv: {
        std::vector<std::vector<std::string>> rows{{"repository"}};
        for (auto& n : names) rows.push_back({n});
        mirt::PrintCsv(out, rows);
        break;
      }
      case mirt::Format::Text:
        for (auto& n : names) out << n << '\n';
    }
    return 0;
  }
  auto repo = Open(o.repository, true);
  switch (o.listFormat.Get()) {
    case mirt::Format::Json: {
      mirt::Json values = mirt::Json::array();
      for (auto& k : repo->Keys()) {
        Entry e = Lookup(*repo, k);
        values.push_back({{"key", k}, {"type", e.type}, {"value", std::move(e.json)}});
      }
      mirt::PrintJson(out, {{"kind", Kind()}, {"repository", o.repository}, {"file", repo->File().string()}, {"values", values}});
      break;
    }
    case mirt::Format::Csv: {
      std::vector<std::vector<std::string>> rows{{"key", "type", "value"}};
      for (auto& k : repo->Keys()) {
        Entry e = Lookup(*repo, k);
        rows.push_back({k, e.type, e.text});
      }
      mirt::PrintCsv(out, rows);
      break;
    }
    case mirt::Format::Text: {
      std::vector<std::vector<std::string>> rows;
      for (auto& k : repo->Keys()) {
        Entry e = Lookup(*repo, k);
        rows.push_back({k, e.type, e.text});
      }
      mirt::PrintTable(out, rows);
    }
  }
  return 0;
}

int Get() {
  const Options& o = Opt();
  auto repo = Open(o.repository, true);
  const auto keys = repo->Keys();
  if (!std::binary_search(keys.begin(), keys.end(), o.key))
    throw mirt::VerbError("no key '" + o.key + "' in " + Kind() + " repository '" + o.repository + "'");
  Entry e = Lookup(*repo, o.key);
  if (o.getFormat.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"kind", Kind()}, {"repository", o.repository}, {"key", o.key}, {"type", e.type},
                                {"value", std::move(e.json)}});
  } else if (e.type == "strings") {
    for (auto& s : e.json) std::cout << s.get<std::string>() << '\n';  // one string a line
  } else {
    std::cout << e.text << '\n';
  }
  return 0;
}

int Set() {
  const Options& o = Opt();
  if (o.key.empty()) throw mirt::VerbError("a key cannot be empty");
  // The file format keeps one key per line with tabs between the fields.
  if (o.key.find_first_of("\t\n") != std::string::npos) throw mirt::VerbError("a key cannot hold a tab or a line break");
  if (!o.strings && o.values.size() != 1)
    throw mirt::VerbError(o.values.empty() ? "set needs a VALUE" : "set takes one VALUE; --strings writes several as an array");
  auto repo = Open(o.repository, false);
  if (o.strings)
    repo->WriteStrings(o.key, std::vector<TavUnicodeString>(o.values.begin(), o.values.end()));
  else
    repo->Write(o.key, o.text ? TavValue(TavUnicodeString(o.values[0])) : host::RepositoryValueFromText(o.values[0]));
  std::string error;
  if (!repo->Save(&error)) throw mirt::VerbError(error);
  return 0;
}

int Run() {
  const Options& o = Opt();
  if (o.list->parsed()) return List();
  if (o.get->parsed()) return Get();
  return Set();
}

}  // namespace

mirt::Verb mirt::SettingsVerb() {
  return mirt::Verb{
    "settings", "List, read and change the setting and preference repositories commands use", 50,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.require_subcommand(1);
      sub.add_flag("--preferences", o.preferences, "Work on the preference repositories instead of the setting ones");
      o.list = sub.add_subcommand("list", "Without REPOSITORY the repositories; with one, its keys, types and values");
      o.list->add_option("REPOSITORY", o.repository, "A repository name, such as OrvVekPartConsumption");
      mirt::AddFormatFlags(*o.list, o.listFormat, "the repositories or the keys, types and values");
      o.get = sub.add_subcommand("get", "Print one value (exit 1 when the repository or the key is unknown)");
      o.get->add_option("REPOSITORY", o.repository, "The repository name")->required();
      o.get->add_option("KEY", o.key, "The key")->required();
      mirt::AddFormatFlags(*o.get, o.getFormat);
      o.set = sub.add_subcommand("set", "Write one value and save the repository (made on first use)");
      o.set->add_option("REPOSITORY", o.repository, "The repository name")->required();
      o.set->add_option("KEY", o.key, "The key")->required();
      o.set->add_option("VALUE", o.values, "true or false, an integer, a number, else a text; with --strings, the array's strings");
      o.set->add_flag("--text", o.text, "Keep VALUE as a text even when it reads as a number or true/false");
      o.set->add_flag("--strings", o.strings, "Write the VALUEs (none or more) as one array of strings");
      for (CLI::App* s : {o.list, o.get, o.set}) s->fallthrough();
      sub.footer("Repositories live in $MIRT_CONFIG_DIR/settings and $MIRT_CONFIG_DIR/preferences (default "
                 "configuration folder: $XDG_CONFIG_HOME/mirt). A name is a plain name: no '/', no '..'.\n"
                 "Example: mirt settings set OrvVekPartConsumption ParentAssignCheck true\n"
                 "         mirt settings --preferences set OrvGanttSearch SavedQueryList --strings Welds Late");
    },
    Run};
}
