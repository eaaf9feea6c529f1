#include "HostRuntime.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "FileWriter.h"
#include "TavDocWindows.h"
#include "HostUndo.h"

namespace host {

namespace fs = std::filesystem;

namespace {
Diagnostic& Sink() {
  static Diagnostic d = [](const std::string& m) { std::cerr << "mirt: " << m << '\n'; };
  return d;
}
HostSession* g_session = nullptr;

std::optional<std::string> ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// "\n" and "\t" stand for a line break and a tab; a backslash before any other character keeps it.
std::string UnescapeValue(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char c = s[++i];
      out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    } else {
      out += s[i];
    }
  }
  return out;
}
}  // namespace

void SetDiagnosticSink(Diagnostic d) { Sink() = std::move(d); }
void Report(const std::string& message) { Sink()(message); }

fs::path ResourceDir() {
  if (const char* r = std::getenv("MIRT_RESOURCES"); r && *r) return r;
  return MIRT_RESOURCE_DIR;
}

fs::path ConfigDir() {
  if (const char* c = std::getenv("MIRT_CONFIG_DIR"); c && *c) return c;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return fs::path(x) / "mirt";
  if (const char* h = std::getenv("HOME"); h && *h) return fs::path(h) / ".config" / "mirt";
  return fs::temp_directory_path() / "mirt-config";
}

std::string RepositoryNameProblem(std::string_view name) {
  // The name becomes a file name under the configuration folder: it must stay there.
  if (name.empty()) return "a repository name cannot be empty";
  if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos)
    return "a repository name cannot hold a path separator or a NUL";
  if (name.find("..") != std::string_view::npos) return "a repository name cannot hold '..'";
  return {};
}

TavValue RepositoryValueFromText(const std::string& v) {
  std::int64_t i = 0;
  double d = 0;
  const char* end = v.data() + v.size();
  if (v == "true" || v == "false") return v == "true";
  if (auto [p, ec] = std::from_chars(v.data(), end, i); ec == std::errc() && p == end) return i;
  if (auto [q, ec] = std::from_chars(v.data(), end, d); ec == std::errc() && q == end) return d;
  return TavUnicodeString(v);
}

// ------------------------------------------------------------------ catalogues
std::map<std::string, std::string> MessageCatalogs::Parse(const std::string& text, const std::string& fileName,
                                                          std::vector<std::string>* errors) {
  std::map<std::string, std::string> out;
  std::istringstream in(text);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    auto eq = line.find('=');
    std::string key = eq == std::string::npos ? "" : TavUnicodeString(line.substr(0, eq)).Strip().utf8();
    // A key with blanks of its own (" errormessage") is written in double quotes.
    const bool quoted = key.size() > 2 && key.front() == '"' && key.back() == '"';
    if (quoted) key = key.substr(1, key.size() - 2);
    if (key.empty() || (!quoted && key.find_first_of(" \t") != std::string::npos) || key.find('"') != std::string::npos) {
      if (errors) errors->push_back(fileName + ":" + std::to_string(n) + ": expected 'Key = text'");
      continue;
    }
    // Blanks around the text go; an escaped one ("Copy of\ ") stays.
    const std::string raw = line.substr(eq + 1);
    std::string value = TavUnicodeString(raw).Strip().utf8();
    if (!value.empty() && value.back() == '\\') {
      const auto at = raw.rfind('\\');
      if (at + 1 < raw.size()) value += raw[at + 1];
    }
    out[key] = UnescapeValue(value);
  }
  return out;
}

const std::map<std::string, std::string>* MessageCatalogs::Catalog(const std::string& name) {
  auto it = cache_.find(name);
  if (it == cache_.end()) {
    std::optional<std::map<std::string, std::string>> loaded;
    fs::path file = dir_ / "catalogs" / (name + ".msg");
    if (auto text = ReadFile(file)) {
      std::vector<std::string> errors;
      loaded = Parse(*text, file.string(), &errors);
      for (auto& e : errors) Report(e);
    }
    it = cache_.emplace(name, std::move(loaded)).first;
  }
  return it->second ? &*it->second : nullptr;
}

std::optional<std::string> MessageCatalogs::Find(const std::string& catalog, const std::string& key) {
  auto* c = Catalog(catalog);
  if (!c) return std::nullopt;
  auto it = c->find(key);
  if (it == c->end()) return std::nullopt;
  return it->second;
}

// ------------------------------------------------------------------ repositories
namespace {
constexpr const char* kRepoHeader = "mirt-repository 1";

std::string EscapeValue(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else out += c;
  }
  return out;
}
}  // namespace

namespace {
const char* TypeName(const TavValue& v) {
  return std::holds_alternative<TavUnicodeString>(v) ? "string"
         : std::holds_alternative<std::int64_t>(v)   ? "int"
         : std::holds_alternative<double>(v)         ? "real"
         : std::holds_alternative<bool>(v)           ? "bool"
                                                     : nullptr;
}

std::string ValueLine(const std::string& key, const TavValue& v) {
  const char* type = TypeName(v);
  if (!type) return {};  // an empty value has no text to keep
  return EscapeValue(key) + "\t" + type + "\t" + EscapeValue(TavValueToText(v).utf8()) + "\n";
}

std::string ArrayLine(const std::string& key, const std::vector<TavUnicodeString>& strings) {
  std::string out = EscapeValue(key) + "\tstrings\t" + std::to_string(strings.size());
  for (auto& s : strings) out += "\t" + EscapeValue(s.utf8());
  return out + "\n";
}

TavValue ParseValue(const std::string& type, const std::string& val, int n) {
  auto bad = [&] { return std::runtime_error("line " + std::to_string(n) + ": bad " + type + " value '" + val + "'"); };
  if (type == "string") return TavUnicodeString(val);
  if (type == "int") {
    std::size_t pos = 0;
    long long v = 0;
    try { v = std::stoll(val, &pos); } catch (...) { throw bad(); }
    if (pos != val.size()) throw bad();
    return static_cast<std::int64_t>(v);
  }
  if (type == "real") {
    std::size_t pos = 0;
    double v = 0;
    try { v = std::stod(val, &pos); } catch (...) { throw bad(); }
    if (pos != val.size()) throw bad();
    return v;
  }
  if (type == "bool") {
    if (val != "true" && val != "false") throw bad();
    return val == "true";
  }
  throw std::runtime_error("line " + std::to_string(n) + ": unknown type '" + type + "'");
}

// `fields` is what follows "KEY<TAB>strings<TAB>": the count, then that many strings.
std::vector<TavUnicodeString> ParseArray(const std::string& key, std::string_view fields, int n) {
  const auto at = [&] { return "line " + std::to_string(n) + ": array '" + key + "'"; };
  const std::size_t tab = std::min(fields.find('\t'), fields.size());
  const std::string_view count = fields.substr(0, tab);
  std::size_t announced = 0;
  const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), announced);
  if (count.empty() || ec != std::errc() || end != count.data() + count.size())
    throw std::runtime_error(at() + ": bad string count '" + std::string(count) + "'");
  // The count is checked against the strings present, never used to reserve.
  std::vector<TavUnicodeString> strings;
  for (std::size_t from = tab; from < fields.size();) {
    const std::size_t next = std::min(fields.find('\t', from + 1), fields.size());
    strings.emplace_back(UnescapeValue(std::string(fields.substr(from + 1, next - from - 1))));
    from = next;
  }
  if (strings.size() != announced)
    throw std::runtime_error(at() + " announces " + std::to_string(announced) + " strings but holds " +
                             std::to_string(strings.size()));
  return strings;
}
}  // namespace

std::string FileRepository::Serialize(const RepositoryContents& contents) {
  // One ascending walk over both maps: the text does not depend on which kind a key holds.
  std::string out = std::string(kRepoHeader) + "\n";
  auto v = contents.values.begin();
  auto a = contents.arrays.begin();
  while (v != contents.values.end() || a != contents.arrays.end()) {
    if (a == contents.arrays.end() || (v != contents.values.end() && v->first < a->first)) {
      out += ValueLine(v->first, v->second);
      ++v;
    } else {
      // A key in both maps breaks the class's rule; the array, written last, wins.
      if (v != contents.values.end() && v->first == a->first) ++v;
      out += ArrayLine(a->first, a->second);
      ++a;
    }
  }
  return out;
}

RepositoryContents FileRepository::Deserialize(const std::string& text) {
  RepositoryContents out;
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kRepoHeader) throw std::runtime_error("line 1: not a repository file");
  int n = 1;
  while (std::getline(in, line)) {
    ++n;
    if (line.empty()) continue;
    auto t1 = line.find('\t');
    auto t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
    const bool array = t1 != std::string::npos && line.compare(t1 + 1, std::string::npos, "strings") == 0;
    if (t2 == std::string::npos && !array)
      throw std::runtime_error("line " + std::to_string(n) + ": expected key, type and value");
    std::string key = UnescapeValue(line.substr(0, t1)), type = line.substr(t1 + 1, t2 == std::string::npos ? t2 : t2 - t1 - 1);
    // A key read twice keeps its last line, whichever kind that is.
    if (type == "strings") {
      out.values.erase(key);
      out.arrays[key] = ParseArray(key, t2 == std::string::npos ? std::string_view() : std::string_view(line).substr(t2 + 1), n);
    } else {
      out.arrays.erase(key);
      out.values[key] = ParseValue(type, UnescapeValue(line.substr(t2 + 1)), n);
    }
  }
  return out;
}

FileRepository::FileRepository(std::string name, fs::path file) : name_(std::move(name)), file_(std::move(file)) {
  auto text = ReadFile(file_);
  if (!text) return;
  try {
    contents_ = Deserialize(*text);
  } catch (const std::exception& e) {
    fs::path aside = file_;
    aside += ".corrupt";
    std::error_code ec;
    fs::rename(file_, aside, ec);
    Report(file_.string() + ":" + e.what() + "; the repository starts empty" +
           (ec ? std::string(" (could not set the file aside: ") + ec.message() + ")" : "; the file was kept as " + aside.string()));
  }
}

std::optional<TavValue> FileRepository::Read(const std::string& key) const {
  auto it = contents_.values.find(key);
  if (it == contents_.values.end()) return std::nullopt;
  return it->second;
}
void FileRepository::Write(const std::string& key, TavValue value) {
  contents_.arrays.erase(key);
  // An empty value has no text in the file: keeping it would make it vanish on the
  // next load only, so it leaves the key empty now.
  if (std::holds_alternative<std::monostate>(value))
    contents_.values.erase(key);
  else
    contents_.values[key] = std::move(value);
}
std::optional<std::vector<TavUnicodeString>> FileRepository::ReadStrings(const std::string& key) const {
  auto it = contents_.arrays.find(key);
  if (it == contents_.arrays.end()) return std::nullopt;
  return it->second;
}
int FileRepository::WriteStrings(const std::string& key, std::vector<TavUnicodeString> strings) {
  contents_.values.erase(key);
  auto& kept = contents_.arrays[key] = std::move(strings);
  return static_cast<int>(std::min<std::size_t>(kept.size(), INT_MAX));
}
bool FileRepository::Delete(const std::string& key) {
  return (contents_.values.erase(key) + contents_.arrays.erase(key)) > 0;
}
std::vector<std::string> FileRepository::Keys() const {
  std::vector<std::string> out;
  for (auto& [k, v] : contents_.values) out.push_back(k);
  for (auto& [k, v] : contents_.arrays) out.push_back(k);
  std::sort(out.begin(), out.end());
  return out;
}
bool FileRepository::Save(std::string* error) {
  // The configuration folder is the program's own: made on first save, unlike the
  // folders of files the user names.
  std::error_code ec;
  fs::create_directories(file_.parent_path(), ec);
  if (ec) {
    if (error) *error = "cannot write '" + file_.string() + "': cannot create its folder: " + ec.message();
    return false;
  }
  return support::WriteFile(file_, Serialize(contents_), error);
}

// ------------------------------------------------------------------ editors and session
HostEditor::HostEditor(Ref<HostDocument> doc) : doc_(std::move(doc)) {}

HostSession::HostSession() : previous_(TavHostServices::Get()), catalogs_(ResourceDir()) {
  TavHostServices::Install(this);
  g_session = this;
  TavDocumentWindows::Install([](const Ref<TavDocument>& doc) -> Ref<TavFrmEditor> {
    if (!g_session) return nullptr;
    for (auto& e : g_session->Editors())
      if (static_cast<const TavDocument*>(e->Document().get()) == doc.get()) return e;
    return nullptr;
  });
}

HostSession::~HostSession() {
  while (!editors_.empty()) CloseEditor(editors_.back());
  TavHostServices::Install(previous_);
  g_session = nullptr;
}

HostSession* HostSession::Current() { return g_session; }

Ref<HostEditor> HostSession::OpenDocument(Ref<HostDocument> doc) {
  auto ed = std::make_shared<HostEditor>(std::move(doc));
  editors_.push_back(ed);
  current_ = ed;
  return ed;
}

void HostSession::CloseEditor(const Ref<HostEditor>& closing) {
  const Ref<HostEditor> ed = closing;  // may be an element of editors_
  std::erase(editors_, ed);
  if (current_ == ed) current_ = editors_.empty() ? nullptr : editors_.back();
  // A document no editor shows is closed: nothing of its undo steps outlives that.
  const auto& doc = ed ? ed->Document() : nullptr;
  if (doc && std::none_of(editors_.begin(), editors_.end(), [&](const Ref<HostEditor>& e) { return e->Document() == doc; }))
    doc->Journal().Clear();
}

void HostSession::SetBusyCursor(bool busy) {
  busy_ = busy;
  if (busy) ++busyCount_;
}

std::string HostSession::TemporaryDirectory() const {
  const char* t = std::getenv("TMPDIR");
  return t && *t ? t : "/tmp";
}

TavUnicodeString HostSession::BuildMessage(const std::string& catalog, const std::string& key,
                                           const std::vector<TavUnicodeString>& params, const TavUnicodeString& fallback) {
  auto text = catalogs_.Find(catalog, key);
  return TavSubstituteParameters(text ? TavUnicodeString(*text) : fallback, params);
}

bool HostSession::HasMessageKey(const std::string& catalog, const std::string& key) {
  return catalogs_.Find(catalog, key).has_value();
}

TavRepository& HostSession::Repo(const std::string& kind, const std::string& name) {
  if (std::string problem = RepositoryNameProblem(name); !problem.empty())
    throw std::invalid_argument(problem + ": '" + name + "'");
  auto& r = repos_[kind + "/" + name];
  if (!r) r = std::make_unique<FileRepository>(name, ConfigDir() / kind / (name + ".repo"));
  return *r;
}
TavRepository& HostSession::Settings(const std::string& name) { return Repo("settings", name); }
TavRepository& HostSession::Preferences(const std::string& name) { return Repo("preferences", name); }

}  // namespace host
