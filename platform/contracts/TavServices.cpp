#include "TavServices.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <unordered_map>

namespace {
TavHostServices* g_host = nullptr;

// Used when no host is installed (unit tests of a single subsystem): values
// live in memory only.
class MemoryRepository final : public TavRepository {
public:
  explicit MemoryRepository(std::string n) : name_(std::move(n)) {}
  const std::string& GetName() const override { return name_; }
  std::optional<TavValue> Read(const std::string& key) const override {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  void Write(const std::string& key, TavValue value) override { values_[key] = std::move(value); }
  bool Delete(const std::string& key) override { return values_.erase(key) > 0; }
  std::vector<std::string> Keys() const override {
    std::vector<std::string> k;
    for (auto& [key, v] : values_) k.push_back(key);
    return k;
  }
  bool Save(std::string*) override { return true; }

private:
  std::string name_;
  std::map<std::string, TavValue> values_;
};

TavRepository& MemoryRepo(const std::string& ns, const std::string& name) {
  static std::unordered_map<std::string, std::unique_ptr<MemoryRepository>> repos;
  auto& r = repos[ns + "/" + name];
  if (!r) r = std::make_unique<MemoryRepository>(name);
  return *r;
}

bool TraceEnabled(const std::string& channel) {
  const char* v = std::getenv("MIRT_TRACE");
  if (!v || !*v) return false;
  std::stringstream ss(v);
  std::string item;
  while (std::getline(ss, item, ','))
    if (item == "all" || item == channel) return true;
  return false;
}
}  // namespace

TavHostServices* TavHostServices::Get() { return g_host; }
void TavHostServices::Install(TavHostServices* host) { g_host = host; }

bool operator==(const TavPathElement& a, const TavPathElement& b) {
  if (a.objects_.size() != b.objects_.size()) return false;
  for (std::size_t i = 0; i < a.objects_.size(); ++i)
    if (!SameObject(a.objects_[i], b.objects_[i])) return false;
  return true;
}

namespace {
const TavBaseUnknown* LeafKey(const TavPathElement& p) {
  auto leaf = p.GetLeaf();
  return leaf ? leaf->ExtendedObject().get() : nullptr;
}
// Equal paths (SameObject at each place) hash alike.
std::size_t PathHash(const TavPathElement& p) {
  std::size_t h = p.Objects().size();
  for (const auto& o : p.Objects())
    h = h * 1000003u ^ std::hash<const void*>{}(o ? o->ExtendedObject().get() : nullptr);
  return h;
}
}  // namespace

void TavSelectionSet::AddElement(const TavPathElement& p) {
  if (p.IsEmpty() || Contains(p)) return;
  paths_.emplace(PathHash(p), static_cast<std::uint32_t>(items_.size()));
  items_.push_back(p);
  ++leaves_[LeafKey(p)];
}
bool TavSelectionSet::RemoveElement(const TavPathElement& p) {
  if (!Contains(p)) return false;
  const std::size_t removed = std::erase_if(items_, [&](const TavPathElement& e) { return e == p; });
  auto it = leaves_.find(LeafKey(p));
  if ((it->second -= static_cast<std::uint32_t>(removed)) == 0) leaves_.erase(it);
  // Later elements moved up: their places are written again.
  paths_.clear();
  for (std::size_t i = 0; i < items_.size(); ++i) paths_.emplace(PathHash(items_[i]), static_cast<std::uint32_t>(i));
  return true;
}
bool TavSelectionSet::Contains(const TavPathElement& p) const {
  // Only elements ending at the same object can be equal: most tests end here.
  if (!ContainsObject(p.GetLeaf())) return false;
  const auto [from, to] = paths_.equal_range(PathHash(p));
  for (auto it = from; it != to; ++it)
    if (items_[it->second] == p) return true;
  return false;
}
bool TavSelectionSet::ContainsObject(const Ref<TavBaseUnknown>& o) const {
  return leaves_.count(o ? o->ExtendedObject().get() : nullptr) > 0;
}

Ref<TavFrmEditor> TavFrmEditor::GetCurrentEditor() { return g_host ? g_host->CurrentEditor() : nullptr; }

std::vector<Ref<TavIViewer3D>> TavFrmLayout::GetCurrentViewers() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  return ed ? ed->GetViewers3D() : std::vector<Ref<TavIViewer3D>>{};
}

void TavApplicationFrame::SetBusyCursor(bool busy) {
  if (g_host) g_host->SetBusyCursor(busy);
}
void TavApplicationFrame::SetStatusText(const TavUnicodeString& text) {
  if (g_host) g_host->SetStatusText(text);
}
TavUnicodeString TavApplicationFrame::GetStatusText() { return g_host ? g_host->StatusText() : TavUnicodeString(); }
bool TavApplicationFrame::IsBusy() { return g_host && g_host->IsBusy(); }
bool TavApplicationFrame::HasMainWindow() { return g_host && g_host->HasMainWindow(); }
std::string TavApplicationFrame::GetTemporaryDirectory() {
  if (g_host) return g_host->TemporaryDirectory();
  const char* t = std::getenv("TMPDIR");
  return t && *t ? t : "/tmp";
}

TavUnicodeString TavSubstituteParameters(const TavUnicodeString& text, const std::vector<TavUnicodeString>& params) {
  // "/P1", "/P2", ... stand for the parameters, read once from left to right so that
  // a value holding "/P2" stays as it is; the longest number a parameter has wins
  // ("/P10" with ten parameters, "/P1" then "0" with fewer).
  const std::string s = text.utf8();
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    if (s.compare(i, 2, "/P") == 0) {
      std::size_t digits = 0, best = 0, number = 0, chosen = 0;
      while (i + 2 + digits < s.size() && digits < 9 && s[i + 2 + digits] >= '0' && s[i + 2 + digits] <= '9') {
        number = number * 10 + static_cast<std::size_t>(s[i + 2 + digits] - '0');
        ++digits;
        if (number >= 1 && number <= params.size()) {
          best = digits;
          chosen = number;
        }
      }
      if (best > 0) {
        out += params[chosen - 1].utf8();
        i += 2 + best;
        continue;
      }
    }
    out += s[i++];
  }
  return out;
}

TavUnicodeString TavMsgCatalog::BuildMessage(const std::string& catalog, const std::string& key,
                                             const std::vector<TavUnicodeString>& params,
                                             const TavUnicodeString& fallback) {
  if (g_host) return g_host->BuildMessage(catalog, key, params, fallback);
  return TavSubstituteParameters(fallback, params);
}

bool TavMsgCatalog::HasKey(const std::string& catalog, const std::string& key) {
  return g_host && g_host->HasMessageKey(catalog, key);
}

TavTrace::TavTrace(std::string name, std::string description)
    : name_(std::move(name)), description_(std::move(description)), enabled_(TraceEnabled(name_)) {}

// Every line begins with its direction, so that entries and exits line up and can be
// filtered; the channel closes the line. A message belongs to the operation it is
// written in, so it reads as going in.
void TavTrace::Print(std::string_view line) const {
  if (enabled_) std::cerr << "--> " << line << " [" << name_ << "]\n";
}
void TavTrace::Enter(std::string_view cls, std::string_view op) const {
  if (enabled_) std::cerr << "--> " << cls << "::" << op << " [" << name_ << "]\n";
}
void TavTrace::Exit(std::string_view cls, std::string_view op) const {
  if (enabled_) std::cerr << "<-- " << cls << "::" << op << " [" << name_ << "]\n";
}

bool TavRepository::ReadBool(const std::string& key, bool def) const {
  auto v = Read(key);
  if (!v) return def;
  if (auto b = std::get_if<bool>(&*v)) return *b;
  if (auto i = std::get_if<std::int64_t>(&*v)) return *i != 0;
  return def;
}
std::int64_t TavRepository::ReadInt(const std::string& key, std::int64_t def) const {
  auto v = Read(key);
  if (!v) return def;
  if (auto i = std::get_if<std::int64_t>(&*v)) return *i;
  if (auto b = std::get_if<bool>(&*v)) return *b ? 1 : 0;
  return def;
}
double TavRepository::ReadReal(const std::string& key, double def) const {
  auto v = Read(key);
  if (!v) return def;
  if (auto d = std::get_if<double>(&*v)) return *d;
  if (auto i = std::get_if<std::int64_t>(&*v)) return static_cast<double>(*i);
  return def;
}
TavUnicodeString TavRepository::ReadString(const std::string& key, const TavUnicodeString& def) const {
  auto v = Read(key);
  if (!v) return def;
  if (auto s = std::get_if<TavUnicodeString>(&*v)) return *s;
  return def;
}

TavRepository& TavSettingRepository::GetRepository(const std::string& name) {
  return g_host ? g_host->Settings(name) : MemoryRepo("settings", name);
}
TavRepository& TavSysPreferenceRepository::GetRepository(const std::string& name) {
  return g_host ? g_host->Preferences(name) : MemoryRepo("preferences", name);
}
