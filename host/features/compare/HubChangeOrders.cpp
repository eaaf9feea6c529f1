// The change orders of hub records (TavIYorAttributeMgt): per object of a hub
// document, "changeorderbegin" and "changeorderend" with a name and a note, kept in
// the plant section <changeOrders> (docs/plant-format.md, "Hub change orders").
// The name is the hub's; a session writes only notes, each recorded for undo.
#include <map>

#include "HostCompare.h"
#include "HostUndo.h"
#include "PlantSections.h"

namespace host {

namespace {

bool IsSlot(std::string_view s) {
  return s == TavIYorAttributeMgt::kChangeOrderBegin || s == TavIYorAttributeMgt::kChangeOrderEnd;
}

class HostChangeOrders final : public virtual TavIYorAttributeMgt {
public:
  struct Entry {
    Ref<HostObject> object;
    std::string slot;
    TavUnicodeString name, note;
  };

  HRESULT GetRecordObjectField(const Ref<TavBaseUnknown>& object, const TavUnicodeString& recordObject,
                               const TavUnicodeString& field, TavUnicodeString& value) const override {
    const Entry* e = Find(object, recordObject.utf8());
    if (!e) return E_FAIL;
    if (field == "name") value = e->name;
    else if (field == "note") value = e->note;
    else return E_FAIL;
    return S_OK;
  }

  HRESULT SetRecordObjectField(const Ref<TavBaseUnknown>& object, const TavUnicodeString& recordObject,
                               const TavUnicodeString& field, const TavUnicodeString& value) override {
    Entry* e = const_cast<Entry*>(Find(object, recordObject.utf8()));
    if (!e || field != "note") return E_FAIL;
    SetNote(*e, value);
    return S_OK;
  }

  // False when the object has that change order already.
  bool Add(Ref<HostObject> o, std::string slot, TavUnicodeString name, TavUnicodeString note) {
    if (!index_.emplace(Key{o.get(), slot}, entries_.size()).second) return false;
    entries_.push_back({std::move(o), std::move(slot), std::move(name), std::move(note)});
    return true;
  }
  const std::vector<Entry>& Entries() const { return entries_; }
  void SetNote(Entry& e, const TavUnicodeString& note);

private:
  using Key = std::pair<const HostObject*, std::string>;
  const Entry* Find(const Ref<TavBaseUnknown>& object, const std::string& slot) const {
    const auto* h = TavCast<HostObject>(object ? object->ExtendedObject().get() : nullptr);
    auto it = h ? index_.find(Key{h, slot}) : index_.end();
    return it == index_.end() ? nullptr : &entries_[it->second];
  }
  std::vector<Entry> entries_;
  std::map<Key, std::size_t> index_;  // entries hold the objects: no address reuse
};

// Puts a note back; records the note it replaces, so that redo writes it again.
class ChangeOrderNoteUndo final : public UndoAction {
public:
  ChangeOrderNoteUndo(HostChangeOrders& store, std::size_t entry, TavUnicodeString note)
      : store_(store), entry_(entry), note_(std::move(note)) {}
  bool Apply(HostDocument&, std::string&) override {
    store_.SetNote(const_cast<HostChangeOrders::Entry&>(store_.Entries()[entry_]), note_);
    return true;
  }
  std::size_t Bytes() const override { return sizeof(*this) + note_.utf8().capacity(); }

private:
  HostChangeOrders& store_;  // the document's: it outlives the journal
  std::size_t entry_;        // entries are never removed
  TavUnicodeString note_;
};

void HostChangeOrders::SetNote(Entry& e, const TavUnicodeString& note) {
  if (e.note == note) return;
  if (UndoLog* log = RecorderOf(*e.object))
    log->Add(std::make_unique<ChangeOrderNoteUndo>(*this, static_cast<std::size_t>(&e - entries_.data()), e.note));
  e.note = note;
}

HostChangeOrders* ChangeOrdersOf(const HostDocument& doc) { return doc.FindContainer<HostChangeOrders>(); }

bool LoadChangeOrders(const PlantElement& section, PlantLoadContext& ctx) {
  HostChangeOrders* store = ChangeOrdersOf(ctx.doc);
  if (!store) {
    ctx.Error(&section, "change orders need a hub plant (environment=\"hub\")");
    return false;
  }
  if (!ctx.ReadAttributes(section, {})) return false;
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "changeOrder")) return false;
    std::optional<std::string> ref, slot, name, note;
    if (!ctx.ReadAttributes(*e, {{"ref", &ref, true}, {"slot", &slot, true}, {"name", &name, true}, {"note", &note, false}}))
      return false;
    auto o = std::dynamic_pointer_cast<HostObject>(ctx.Lookup(*ref));
    if (!o) {
      ctx.Error(e, "'" + *ref + "' is no object of this plant");
      return false;
    }
    if (!IsSlot(*slot)) {
      ctx.Error(e, "slot=\"" + *slot + "\" is neither changeorderbegin nor changeorderend");
      return false;
    }
    if (!store->Add(o, *slot, TavUnicodeString(*name), TavUnicodeString(note.value_or("")))) {
      ctx.Error(e, "'" + *ref + "' has a " + *slot + " already");
      return false;
    }
  }
  return !ctx.Failed();
}

void SaveChangeOrders(const HostDocument& doc, PlantWriter& w) {
  const HostChangeOrders* store = ChangeOrdersOf(doc);
  if (!store) return;
  w.Start("changeOrders");
  for (auto& e : store->Entries()) {
    if (!doc.Holds(*e.object)) continue;  // left the plant
    w.Start("changeOrder");
    w.Attr("ref", e.object->IdString());
    w.Attr("slot", e.slot);
    w.Attr("name", e.name);
    if (!e.note.IsEmpty()) w.Attr("note", e.note);
    w.End();
  }
  w.End();  // nothing listed: an empty element, which the writer drops
}

}  // namespace

void RegisterHubChangeOrders() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (doc.IsHub() && !ChangeOrdersOf(doc)) doc.AddContainer(std::make_shared<HostChangeOrders>());
  });
  RegisterPlantSection("changeOrders", LoadChangeOrders, SaveChangeOrders);
}

}  // namespace host
