// The hub session of a hub document: whether its process is partially read-only
// with a persistent control flow, who holds which lock, and the modification log of
// each process. All three are the hub's records, kept with the plant in
// <hubSession>; they are not model changes, so undo leaves them as they are.
#include <map>

#include "HostFlowFeature.h"
#include "HostModel.h"
#include "PlantSections.h"

namespace host {
namespace {

class HostHubSession final : public virtual TavIModificationAuthority {
public:
  explicit HostHubSession(HostDocument& doc) : doc_(doc) {}
  HRESULT Lock(const Ref<TavBaseUnknown>& object, const TavUnicodeString& user, const TavUnicodeString& plmId) override {
    auto id = query<TavIModelIdentity>(object);
    if (!id || user.IsEmpty()) return E_FAIL;
    auto [it, fresh] = locks_.try_emplace(id->GetId().utf8(), user.utf8());
    if (!fresh && it->second != user.utf8()) return E_FAIL;
    if (fresh) entries_.push_back("locked " + id->GetId().utf8() + " (" + plmId.utf8() + ") for " + user.utf8());
    return S_OK;
  }
  TavUnicodeString GetLockOwner(const Ref<TavBaseUnknown>& object) const override {
    auto id = query<TavIModelIdentity>(object);
    if (!id) return {};
    auto it = locks_.find(id->GetId().utf8());
    return it == locks_.end() ? TavUnicodeString() : TavUnicodeString(it->second);
  }
  bool IsPartialReadOnly() const override { return partialReadOnly_; }
  bool IsControlFlowPersistent() const override { return persistentFlow_; }

  HostDocument& doc_;
  bool partialReadOnly_ = false, persistentFlow_ = false;
  std::map<std::string, std::string> locks_;          // object id -> user
  std::vector<std::string> entries_;                  // modification entries, in order
  std::map<std::string, std::vector<std::string>> logs_;  // process id -> log entries
  std::map<std::string, bool> open_;                      // process id -> an entry is open
};

HostHubSession* SessionOf(const HostDocument& doc) { return doc.FindContainer<HostHubSession>(); }

// The log of a process root of a hub document.
class HostProcessLog final : public virtual TavISPPLogActivity {
public:
  HostProcessLog(Ref<HostActivity> root, HostHubSession& s) : root_(std::move(root)), session_(s) {}
  HRESULT StartLogEntry(const TavUnicodeString& text) override {
    auto& log = session_.logs_[root_->IdString()];
    log.push_back(text.utf8());
    session_.open_[root_->IdString()] = true;
    return S_OK;
  }
  HRESULT EndLogEntry() override {
    auto it = session_.open_.find(root_->IdString());
    if (it == session_.open_.end() || !it->second) return S_FALSE;
    it->second = false;
    return S_OK;
  }
  std::vector<TavUnicodeString> GetLogEntries() const override {
    std::vector<TavUnicodeString> out;
    auto it = session_.logs_.find(root_->IdString());
    if (it != session_.logs_.end())
      for (auto& e : it->second) out.emplace_back(e);
    return out;
  }
  Ref<TavBaseUnknown> ExtendedObject() override { return root_; }

private:
  Ref<HostActivity> root_;
  HostHubSession& session_;
};

bool LoadHubSession(const PlantElement& section, PlantLoadContext& ctx) {
  HostHubSession* s = SessionOf(ctx.doc);
  if (!s) {
    ctx.Error(&section, "a hub session needs a hub plant (environment=\"hub\")");
    return false;
  }
  std::optional<std::string> ro, persistent;
  if (!ctx.ReadAttributes(section, {{"partialReadOnly", &ro, false}, {"persistentFlow", &persistent, false}})) return false;
  if (ro && !ctx.ParseBool(section, "partialReadOnly", *ro, s->partialReadOnly_)) return false;
  if (persistent && !ctx.ParseBool(section, "persistentFlow", *persistent, s->persistentFlow_)) return false;
  for (const PlantElement* e : ctx.Children(section)) {
    if (e->Name() == "lock") {
      std::optional<std::string> object, user;
      if (!ctx.ReadAttributes(*e, {{"object", &object, true}, {"user", &user, true}})) return false;
      if (!ctx.Lookup(*object)) {
        ctx.Error(e, "a lock on unknown object '" + *object + "'");
        return false;
      }
      if (user->empty()) {
        ctx.Error(e, "a lock needs a user");
        return false;
      }
      if (!s->locks_.emplace(*object, *user).second) {
        ctx.Error(e, "object '" + *object + "' is locked twice");
        return false;
      }
    } else if (e->Name() == "log") {
      std::optional<std::string> process, text;
      if (!ctx.ReadAttributes(*e, {{"process", &process, true}, {"text", &text, true}})) return false;
      if (!ctx.Lookup(*process)) {
        ctx.Error(e, "a log entry of unknown process '" + *process + "'");
        return false;
      }
      s->logs_[*process].push_back(*text);
    } else if (e->Name() == "entry") {
      std::optional<std::string> text;
      if (!ctx.ReadAttributes(*e, {{"text", &text, true}})) return false;
      s->entries_.push_back(*text);
    } else {
      ctx.Error(e, "unknown element <" + e->Name() + "> in <hubSession> (lock, log, entry)");
      return false;
    }
  }
  return !ctx.Failed();
}

void SaveHubSession(const HostDocument& doc, PlantWriter& w) {
  HostHubSession* s = SessionOf(doc);
  if (!s) return;
  w.Start("hubSession");
  if (s->partialReadOnly_) w.Attr("partialReadOnly", "true");
  if (s->persistentFlow_) w.Attr("persistentFlow", "true");
  for (auto& [object, user] : s->locks_) {
    w.Start("lock");
    w.Attr("object", object);
    w.Attr("user", user);
    w.End();
  }
  for (auto& e : s->entries_) {
    w.Start("entry");
    w.Attr("text", e);
    w.End();
  }
  for (auto& [process, entries] : s->logs_)
    for (auto& e : entries) {
      w.Start("log");
      w.Attr("process", process);
      w.Attr("text", e);
      w.End();
    }
  w.End();
}

}  // namespace

void InstallLinkServices();

void RegisterFlowHost() {
  InstallLinkServices();
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (doc.IsHub() && !SessionOf(doc)) doc.AddContainer(std::make_shared<HostHubSession>(doc));
  });
  // The root activities of hub documents keep a modification log.
  TavExtensionRegistry::Get().RegisterForAnyType(TavISPPLogActivity::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto a = std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
    if (!a || a->FatherActivity() || !a->Doc()) return nullptr;
    HostHubSession* s = SessionOf(*a->Doc());
    return s ? std::make_shared<HostProcessLog>(a, *s) : nullptr;
  });
  RegisterPlantSection("hubSession", LoadHubSession, SaveHubSession);
}

}  // namespace host
