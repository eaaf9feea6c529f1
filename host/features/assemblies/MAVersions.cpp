#include "MAVersions.h"

#include <algorithm>
#include <unordered_set>

#include "HostAssemblyEdits.h"
#include "HostUndo.h"

namespace host {

namespace {
const HostAssembly* AssemblyOf(const Ref<TavBaseUnknown>& o) {
  return o ? TavCast<HostAssembly>(o->ExtendedObject().get()) : nullptr;
}
const MARecord kNoRecord;
}  // namespace

// An assembly's record as it was.
class MARecordUndo final : public UndoAction {
public:
  MARecordUndo(HostMAVersions& store, Ref<HostAssembly> a, MARecord before) : store_(store), a_(std::move(a)), before_(std::move(before)) {}
  bool Apply(HostDocument& doc, std::string&) override {
    doc.Recording()->Add(std::make_unique<MARecordUndo>(store_, a_, store_.Record(*a_)));
    store_.records_[a_->GetModelNumber()] = before_;
    return true;
  }
  std::size_t Bytes() const override { return sizeof(*this) + (before_.last ? before_.last->parts.size() * sizeof(Ref<TavBaseUnknown>) : 0); }
  const void* FieldOwner() const override { return a_.get(); }
  bool FieldUnchanged() const override { return store_.Record(*a_) == before_; }

private:
  HostMAVersions& store_;  // the document's: it outlives the document's undo steps
  Ref<HostAssembly> a_;
  MARecord before_;
};

// The log as it was: an entry appended is taken off again, entries taken into a
// version are modifications again.
class MALogUndo final : public UndoAction {
public:
  MALogUndo(HostMAVersions& store, bool pop, std::vector<std::size_t> entries, bool versioned)
      : store_(store), pop_(pop), entries_(std::move(entries)), versioned_(versioned) {}
  bool Apply(HostDocument& doc, std::string& why) override {
    if (pop_) {
      if (store_.log_.empty()) {
        why = "the modification log lost an entry";
        return false;
      }
      HostMAVersions::Entry e = store_.log_.back();
      store_.PopEntry();
      // Redone, the entry comes back as it was.
      doc.Recording()->Add(std::make_unique<MALogRestore>(store_, std::move(e)));
      return true;
    }
    store_.SetVersioned(entries_, versioned_);
    doc.Recording()->Add(std::make_unique<MALogUndo>(store_, false, entries_, !versioned_));
    return true;
  }
  std::size_t Bytes() const override { return sizeof(*this) + entries_.size() * sizeof(std::size_t); }

  // An entry taken off by undo, put back by redo.
  class MALogRestore final : public UndoAction {
  public:
    MALogRestore(HostMAVersions& store, HostMAVersions::Entry e) : store_(store), e_(std::move(e)) {}
    bool Apply(HostDocument& doc, std::string&) override {
      store_.AppendLoaded(e_);
      doc.Recording()->Add(std::make_unique<MALogUndo>(store_, true, std::vector<std::size_t>{}, false));
      return true;
    }
    std::size_t Bytes() const override { return sizeof(*this) + e_.attribute.utf8().size(); }

  private:
    HostMAVersions& store_;
    HostMAVersions::Entry e_;
  };

private:
  HostMAVersions& store_;
  bool pop_;
  std::vector<std::size_t> entries_;
  bool versioned_;
};

const MARecord& HostMAVersions::Record(const HostAssembly& a) const {
  auto it = records_.find(a.GetModelNumber());
  return it == records_.end() ? kNoRecord : it->second;
}

void HostMAVersions::Put(const HostAssembly& a, MARecord r) {
  const MARecord& old = Record(a);
  if (old == r) return;
  if (UndoLog* log = doc_.Recording())
    log->Add(std::make_unique<MARecordUndo>(*this, SelfRef<HostAssembly>(const_cast<HostAssembly&>(a)), old));
  records_[a.GetModelNumber()] = std::move(r);
}

MAState HostMAVersions::Current(const HostAssembly& a) const {
  const MARecord& r = Record(a);
  return MAState{a.Name(), a.PartNumber(), a.GetType(), r.externallyProduced, RefEbom(a), a.Parts()};
}

Ref<HostProduct> HostMAVersions::RefEbom(const HostAssembly& a) const {
  const Ref<HostProduct>& p = Record(a).refEbom;
  return p && p->Doc() == a.Doc() ? p : nullptr;
}

void HostMAVersions::AppendLoaded(Entry e) {
  const int key = e.object->GetModelNumber();
  if (!e.versioned) entriesOf_[key].push_back(log_.size());
  log_.push_back(std::move(e));
}

void HostMAVersions::PopEntry() {
  const Entry& e = log_.back();
  if (!e.versioned) {
    auto& mine = entriesOf_[e.object->GetModelNumber()];
    if (!mine.empty() && mine.back() == log_.size() - 1) mine.pop_back();
  }
  log_.pop_back();
}

void HostMAVersions::SetVersioned(const std::vector<std::size_t>& entries, bool versioned) {
  for (std::size_t i : entries) {
    if (i >= log_.size()) continue;
    Entry& e = log_[i];
    auto& mine = entriesOf_[e.object->GetModelNumber()];
    if (versioned) std::erase(mine, i);
    else if (e.versioned) mine.insert(std::upper_bound(mine.begin(), mine.end(), i), i);
    e.versioned = versioned;
  }
}

HRESULT HostMAVersions::LogModification(const Ref<TavBaseUnknown>& object, int code, const TavUnicodeString& attribute) {
  auto o = object ? std::dynamic_pointer_cast<HostObject>(object->ExtendedObject()) : nullptr;
  if (!o || o->Doc() != &doc_) return E_FAIL;
  AppendLoaded({o, code, attribute, false});
  if (UndoLog* log = doc_.Recording()) log->Add(std::make_unique<MALogUndo>(*this, true, std::vector<std::size_t>{}, false));
  return S_OK;
}

bool HostMAVersions::NewestEntryIs(const HostObject& o, int code) const {
  auto it = entriesOf_.find(o.GetModelNumber());
  return it != entriesOf_.end() && !it->second.empty() && log_[it->second.back()].code == code;
}

std::vector<TavModificationEntry> HostMAVersions::GetModificationLog() const {
  std::vector<TavModificationEntry> out;
  for (auto& e : log_)
    if (!e.versioned) out.push_back({e.object, e.code, e.attribute});
  return out;
}

std::vector<Ref<OrvIMfgAssembly>> HostMAVersions::GetModifiedMAsFromLog() const {
  std::vector<Ref<OrvIMfgAssembly>> out;
  std::unordered_set<const HostObject*> seen;
  for (auto& e : log_)
    if (!e.versioned && e.object->Doc() == &doc_)
      if (auto ma = std::dynamic_pointer_cast<HostAssembly>(e.object); ma && seen.insert(ma.get()).second) out.push_back(ma);
  return out;
}

bool HostMAVersions::WasMAReallyMod(const Ref<OrvIMfgAssembly>& ma) const {
  const HostAssembly* a = AssemblyOf(ma);
  if (!a || a->Doc() != &doc_) return false;
  const MARecord& r = Record(*a);
  // Never versioned: what the log names has changed since the assembly was made.
  if (!r.last) return true;
  return !(Current(*a) == *r.last);
}

HRESULT HostMAVersions::CreateNewMAVersion(const Ref<OrvIMfgAssembly>& ma) {
  const HostAssembly* a = AssemblyOf(ma);
  if (!a || a->Doc() != &doc_) return E_FAIL;
  MARecord r = Record(*a);
  r.version += 1;
  r.last = Current(*a);
  Put(*a, std::move(r));
  auto it = entriesOf_.find(a->GetModelNumber());
  if (it != entriesOf_.end() && !it->second.empty()) {
    std::vector<std::size_t> taken = it->second;
    SetVersioned(taken, true);
    if (UndoLog* log = doc_.Recording()) log->Add(std::make_unique<MALogUndo>(*this, false, std::move(taken), false));
  }
  return S_OK;
}

HostMAVersions* MAVersionsOf(const HostDocument& doc) { return doc.FindContainer<HostMAVersions>(); }

namespace {

// The assembly's side of the store.
class HostMAReference final : public virtual OrvIMfgAssemblyReference {
public:
  HostMAReference(Ref<HostAssembly> a, HostMAVersions& store) : a_(std::move(a)), store_(store) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return a_; }
  TavUnicodeString GetTypeName() const override {
    switch (a_->GetType()) {
      case 1: return "Manufactured Assembly";
      case 2: return "Manufacturing Kit";
      case 3: return "Manufactured Assembly Output";
      case 4: return "Assembly Structure Tree";
      default: return "";
    }
  }
  bool IsExternallyProduced() const override { return store_.Record(*a_).externallyProduced; }
  void SetExternallyProduced(bool produced) override {
    MARecord r = store_.Record(*a_);
    r.externallyProduced = produced;
    store_.Put(*a_, std::move(r));
  }
  Ref<TavBaseUnknown> GetRefEbomProduct() const override { return store_.RefEbom(*a_); }
  HRESULT LinkRefEbom(const Ref<TavBaseUnknown>& product) override {
    auto p = product ? std::dynamic_pointer_cast<HostProduct>(product->ExtendedObject()) : nullptr;
    if (!p || p->IsResource() || p->Doc() != a_->Doc()) return E_FAIL;
    MARecord r = store_.Record(*a_);
    r.refEbom = p;
    store_.Put(*a_, std::move(r));
    return S_OK;
  }
  HRESULT UnlinkRefEbom() override {
    MARecord r = store_.Record(*a_);
    if (!store_.RefEbom(*a_)) return E_FAIL;
    r.refEbom = nullptr;
    store_.Put(*a_, std::move(r));
    return S_OK;
  }
  int GetVersion() const override { return store_.Record(*a_).version; }

private:
  Ref<HostAssembly> a_;
  HostMAVersions& store_;
};

}  // namespace

void RegisterMAVersionStore() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!MAVersionsOf(doc)) doc.AddContainer(std::make_shared<HostMAVersions>(&doc));
  });
  RegisterAssemblyEditListener([](HostAssembly& a, AssemblyEdit what) {
    HostMAVersions* store = a.Doc() ? MAVersionsOf(*a.Doc()) : nullptr;
    if (!store || store->NewestEntryIs(a, static_cast<int>(what))) return;
    static_assert(static_cast<int>(AssemblyEdit::Content) == TavModificationCode::Content &&
                  static_cast<int>(AssemblyEdit::Name) == TavModificationCode::Name &&
                  static_cast<int>(AssemblyEdit::PartNumber) == TavModificationCode::PartNumber);
    switch (what) {
      case AssemblyEdit::Content: store->LogModification(SelfRef<HostAssembly>(a), TavModificationCode::Content, "content"); break;
      case AssemblyEdit::Name: store->LogModification(SelfRef<HostAssembly>(a), TavModificationCode::Name, "name"); break;
      case AssemblyEdit::PartNumber:
        store->LogModification(SelfRef<HostAssembly>(a), TavModificationCode::PartNumber, "partnumber");
        break;
    }
  });
  TavExtensionRegistry::Get().Register("OrvMfgAssy", OrvIMfgAssemblyReference::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                         auto a = std::dynamic_pointer_cast<HostAssembly>(o ? o->ExtendedObject() : nullptr);
                                         HostMAVersions* store = a && a->Doc() ? MAVersionsOf(*a->Doc()) : nullptr;
                                         return store ? std::make_shared<HostMAReference>(a, *store) : nullptr;
                                       });
}

}  // namespace host
