// Activity library files in, strictly: the first problem ends the read with its
// place, and a library registers its types only once the whole file is known good.
#include "ActivityLibrary.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "HostRuntime.h"
#include "PlantXml.h"

namespace host {

namespace fs = std::filesystem;

// ------------------------------------------------------------------ documents
Ref<TavLibraryDocument> ActivityType::GetLibraryDocument() const { return library_ ? library_->Document() : nullptr; }

LibraryDocument::LibraryDocument(const ActivityLibraryFile& file, Ref<TavIDocEnvironment> environment)
    : file_(file), environment_(std::move(environment)) {}
TavUnicodeString LibraryDocument::GetStorageName() const { return file_.Path(); }
TavUnicodeString LibraryDocument::GetDisplayName() const { return file_.FileName(); }
TavUnicodeString LibraryDocument::GetFileExtension() const { return file_.Extension(); }

TavUnicodeString LibraryEnvironment::GetIdentifierName(const Ref<TavBaseUnknown>& document) const {
  auto* d = TavCast<LibraryDocument>(document.get());
  return d ? TavUnicodeString(d->File().Title()) : TavUnicodeString();
}

Ref<LibraryEnvironment> LibraryEnvironment::Local() {
  static const Ref<LibraryEnvironment> env = std::make_shared<LibraryEnvironment>();
  return env;
}

// ------------------------------------------------------------------ the reader
namespace {

std::string Quote(std::string_view s) { return "'" + std::string(s) + "'"; }

// Type names are single words: plan types list them separated by blanks.
bool ValidTypeName(std::string_view n) {
  if (n.empty()) return false;
  for (unsigned char c : n)
    if (c <= ' ' || c == 0x7F) return false;
  return true;
}

struct PendingType {
  std::string name, super, icon;
  struct Sub {
    std::string name;
    std::uint32_t line, column;
  };
  std::vector<Sub> subs;
};

class LibraryReader final : public plant::XmlSink {
public:
  LibraryReader(const std::string& fileName, const ActivityLibraries& known) : fileName_(fileName), known_(known) {}

  bool Start(const plant::XmlStart& e) override {
    ++depth_;
    switch (depth_) {
      case 1: {
        if (e.name != "activityLibrary") return Fail(e, "the root element must be <activityLibrary>, not <" + std::string(e.name) + ">");
        std::string_view title;
        std::string_view* slots[] = {&title};
        if (!Attributes(e, {"name"}, slots, {false})) return false;
        title_ = title;  // the parser's views last for this call only
        root_ = true;
        return true;
      }
      case 2: return StartType(e);
      case 3: return StartSubType(e);
      default: return Fail(e, "unknown element <" + std::string(e.name) + "> in <subType>");
    }
  }
  bool Text() override {
    static const char* names[] = {"", "activityLibrary", "type", "subType"};
    error_ = Where(lastLine_, lastColumn_) + "unexpected text in <" + names[depth_ < 4 ? depth_ : 3] + ">";
    return false;
  }
  bool End() override {
    --depth_;
    return true;
  }

  // After the stream: every sub type is defined somewhere.
  bool Finish() {
    if (!root_) {
      error_ = fileName_ + ":1:1: no <activityLibrary> element";
      return false;
    }
    for (auto& t : types_)
      for (auto& s : t.subs)
        if (!byName_.count(s.name) && !known_.Find(s.name)) {
          error_ = Where(s.line, s.column) + "sub type " + Quote(s.name) + " of " + Quote(t.name) +
                   " is defined nowhere (not in this file, not built in, not by a loaded library)";
          return false;
        }
    return true;
  }

  const std::string& Error() const { return error_; }
  const std::string& Title() const { return title_; }
  std::vector<PendingType>& Types() { return types_; }

private:
  std::string Where(std::uint32_t line, std::uint32_t column) const {
    return fileName_ + ":" + std::to_string(line) + ":" + std::to_string(column) + ": ";
  }
  bool Fail(const plant::XmlStart& e, const std::string& message) {
    error_ = Where(e.line, e.column) + message;
    return false;
  }
  // Only the named attributes; a required one missing, or any other, is an error.
  template <std::size_t N>
  bool Attributes(const plant::XmlStart& e, const char* const (&names)[N], std::string_view* (&slots)[N], const bool (&required)[N]) {
    lastLine_ = e.line;
    lastColumn_ = e.column;
    bool seen[N] = {};
    for (std::size_t i = 0; i < e.count; ++i) {
      std::size_t k = 0;
      while (k < N && e.attrs[i].name != names[k]) ++k;
      if (k == N) return Fail(e, "unknown attribute " + Quote(e.attrs[i].name) + " on <" + std::string(e.name) + ">");
      *slots[k] = e.attrs[i].value;
      seen[k] = true;
    }
    for (std::size_t k = 0; k < N; ++k)
      if (required[k] && !seen[k]) return Fail(e, "<" + std::string(e.name) + "> lacks the required attribute " + Quote(names[k]));
    return true;
  }

  bool StartType(const plant::XmlStart& e) {
    if (e.name != "type") return Fail(e, "unknown element <" + std::string(e.name) + "> in <activityLibrary>");
    std::string_view name, super, icon;
    std::string_view* slots[] = {&name, &super, &icon};
    if (!Attributes(e, {"name", "super", "icon"}, slots, {true, false, false})) return false;
    if (!ValidTypeName(name)) return Fail(e, "bad type name " + Quote(name) + " (one word, no blanks)");
    if (byName_.count(std::string(name))) return Fail(e, "duplicate type " + Quote(name));
    if (!super.empty() && !byName_.count(std::string(super)) && !known_.Find(std::string(super)))
      return Fail(e, "unknown super type " + Quote(super) + " of " + Quote(name) +
                         " (not built in, not defined earlier in this file nor by a loaded library)");
    if (const ActivityType* other = known_.Find(std::string(name))) {
      auto s = other->GetSuperType();
      const std::string otherSuper = s ? s->GetName().utf8() : std::string();
      if (otherSuper != super) {
        std::string where = other->Library() ? other->Library()->Path() : std::string("the host");
        return Fail(e, "type " + Quote(name) + " is defined by " + where + " with super type " +
                           Quote(otherSuper.empty() ? "(none)" : otherSuper) + ", here with " + Quote(super.empty() ? "(none)" : super));
      }
    }
    byName_.insert(std::string(name));
    types_.push_back({std::string(name), std::string(super), std::string(icon), {}});
    return true;
  }

  bool StartSubType(const plant::XmlStart& e) {
    if (e.name != "subType") return Fail(e, "unknown element <" + std::string(e.name) + "> in <type>");
    std::string_view name;
    std::string_view* slots[] = {&name};
    if (!Attributes(e, {"name"}, slots, {true})) return false;
    if (!ValidTypeName(name)) return Fail(e, "bad type name " + Quote(name) + " (one word, no blanks)");
    auto& subs = types_.back().subs;
    for (auto& s : subs)
      if (s.name == name) return Fail(e, "duplicate sub type " + Quote(name) + " of " + Quote(types_.back().name));
    subs.push_back({std::string(name), e.line, e.column});
    return true;
  }

  std::string fileName_;
  const ActivityLibraries& known_;
  int depth_ = 0;
  bool root_ = false;
  std::uint32_t lastLine_ = 1, lastColumn_ = 1;
  std::string title_;
  std::vector<PendingType> types_;
  std::unordered_set<std::string> byName_;
  std::string error_;
};

}  // namespace

// ------------------------------------------------------------------ the registry
ActivityLibraries& ActivityLibraries::Get() {
  static ActivityLibraries libraries;
  return libraries;
}

ActivityLibraries::ActivityLibraries() {
  AddOwn("Activity", "Activity", "");
  AddOwn("PhysicalActivity", "Activity", "Activity");
  AddOwn("AssemblyOperation", "Activity", "PhysicalActivity");
  AddOwn("OrvBehavior", "Activity", "Activity");
  AddOwn("ResourceBehavior", "Activity", "OrvBehavior");
  for (const char* n : {"Switch", "AndOut", "OrIn", "AndIn", "Start", "Stop", "Feeder", "Deliver"}) AddOwn(n, "ControlFlow", "");
}

void ActivityLibraries::AddOwn(const std::string& name, const std::string& kind, const std::string& super) {
  Ref<TavIActivityType> s;
  if (!super.empty()) s = types_.at(super);
  types_[name] = std::make_shared<ActivityType>(name, kind, std::move(s), "", std::vector<TavUnicodeString>{}, nullptr);
}

const ActivityType* ActivityLibraries::Find(const std::string& name) const {
  auto it = types_.find(name);
  return it == types_.end() ? nullptr : it->second.get();
}

Ref<TavIActivityType> ActivityLibraries::FindType(const TavUnicodeString& name) const {
  auto it = types_.find(name.utf8());
  return it == types_.end() ? nullptr : it->second;
}

HRESULT ActivityLibraries::BitmapName(const TavUnicodeString& type, TavUnicodeString& bitmap) const {
  bitmap = TavUnicodeString();
  const ActivityType* t = Find(type.utf8());
  if (!t) return E_FAIL;
  if (t->Icon().empty()) return S_FALSE;
  bitmap = t->Icon();
  return S_OK;
}

const ActivityLibraryFile* ActivityLibraries::Load(const std::string& path, std::string& error) {
  error.clear();
  std::error_code ec;
  const fs::path absolute = fs::absolute(fs::path(path), ec).lexically_normal();
  const fs::path canonical = fs::weakly_canonical(absolute, ec);
  const std::string key = ec ? absolute.string() : canonical.string();
  if (auto it = files_.find(key); it != files_.end()) return it->second.get();
  // Libraries are small: read whole, quietly (no progress line, unlike a plant).
  std::ifstream in(absolute, std::ios::binary);
  std::ostringstream bytes;
  if (fs::is_regular_file(absolute, ec) && in) bytes << in.rdbuf();
  if (!fs::is_regular_file(absolute, ec) || !in || in.bad()) {
    error = path + ":1:1: cannot read the activity library file (" +
            (fs::exists(absolute, ec) ? "not a readable file" : "no such file") + ")";
    return nullptr;
  }
  return Read(bytes.str(), path, absolute.string(), true, error);
}

const ActivityLibraryFile* ActivityLibraries::Parse(const std::string& bytes, const std::string& fileName, std::string& error) {
  return Read(bytes, fileName, fileName, false, error);
}

bool ActivityLibraries::IsWorkbenchLibrary(const std::string& fileName) {
  return fileName == "OrvBIWActivityLibrary.feat" || fileName == "VEKAssistantProcessLibrary.feat";
}

const ActivityLibraryFile* ActivityLibraries::LoadWorkbenchLibrary(const std::string& fileName, std::string& error) {
  if (!IsWorkbenchLibrary(fileName)) {
    error = Quote(fileName) + " is not a library of the workbench (OrvBIWActivityLibrary.feat, VEKAssistantProcessLibrary.feat)";
    return nullptr;
  }
  return Load((ResourceDir() / "libraries" / fileName).string(), error);
}

bool ActivityLibraries::Check(const std::string& bytes, const std::string& fileName, std::string& error) const {
  error.clear();
  LibraryReader reader(fileName, *this);
  if (plant::ReadXml(&bytes, nullptr, fileName, reader, error) && reader.Finish()) return true;
  if (error.empty()) error = reader.Error();
  if (error.empty()) error = fileName + ":1:1: the library could not be read";
  return false;
}

const ActivityLibraryFile* ActivityLibraries::Read(const std::string& bytes, const std::string& fileName, const std::string& absolute,
                                                   bool cache, std::string& error) {
  error.clear();
  LibraryReader reader(fileName, *this);
  if (!plant::ReadXml(&bytes, nullptr, fileName, reader, error) || !reader.Finish()) {
    if (error.empty()) error = reader.Error();
    if (error.empty()) error = fileName + ":1:1: the library could not be read";
    return nullptr;
  }
  auto file = std::make_unique<ActivityLibraryFile>();
  file->path_ = absolute;
  file->fileName_ = fs::path(absolute).filename().string();
  std::string ext = fs::path(absolute).extension().string();
  file->extension_ = ext.empty() ? ext : ext.substr(1);
  file->title_ = reader.Title();
  file->document_ = std::make_shared<LibraryDocument>(*file, LibraryEnvironment::Local());
  // Known good: the types join the run's table, supers before the types below them.
  std::unordered_map<std::string, Ref<ActivityType>> local;
  for (auto& p : reader.Types()) {
    Ref<TavIActivityType> super;
    std::string kind = "Activity";
    if (!p.super.empty()) {
      auto it = local.find(p.super);
      Ref<ActivityType> s = it != local.end() ? it->second : types_.at(p.super);
      kind = s->GetKind().utf8();
      super = s;
    }
    std::vector<TavUnicodeString> subs;
    for (auto& s : p.subs) subs.emplace_back(s.name);
    auto t = std::make_shared<ActivityType>(p.name, kind, std::move(super), p.icon, std::move(subs), file.get());
    local[p.name] = t;
    file->types_.push_back(t);
    if (types_.emplace(p.name, t).second) RegisterType(p.name, p.super);
  }
  const ActivityLibraryFile* out = file.get();
  if (cache) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(fs::path(absolute), ec);
    files_[ec ? absolute : canonical.string()] = std::move(file);
  } else {
    parsed_.push_back(std::move(file));
  }
  return out;
}

}  // namespace host
