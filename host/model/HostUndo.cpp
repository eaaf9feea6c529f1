#include "HostUndo.h"

#include "HostAssemblyParts.h"
#include "HostChanges.h"

#include "HostProductEdit.h"
#include "HostRelationIndex.h"

#include <algorithm>
#include <utility>

namespace host {

// ------------------------------------------------------------------ applying records
// Each record is checked in full before anything changes, so a record that cannot be
// applied leaves the model as it was; what it changes, it records the reverse of.
std::string UndoName(const HostObject& o) { return "'" + o.DisplayName().utf8() + "' (#" + o.IdString() + ")"; }
bool UndoGone(const HostObject& o, std::string& why) {
  why = UndoName(o) + " is no longer in the document";
  return false;
}

struct UndoAccess {
  static std::string Name(const HostObject& o) { return UndoName(o); }
  static bool Gone(const HostObject& o, std::string& why) { return UndoGone(o, why); }
  static UndoLog& Log(HostDocument& doc) { return *doc.recording_; }
  static UndoLog*& Recording(HostDocument& doc) { return doc.recording_; }

  // Ids of a subtree leave the document or come back.
  template <class T>
  static std::vector<HostObject*> Subtree(T& top) {
    std::vector<HostObject*> out{&top};
    for (std::size_t i = 0; i < out.size(); ++i)
      for (auto& c : static_cast<T*>(out[i])->children_) out.push_back(c.get());
    return out;
  }
  static bool IdsFree(HostDocument& doc, const std::vector<HostObject*>& objects, std::string& why) {
    for (HostObject* o : objects) {
      if (doc.byId_.Find(o->IdString())) {
        why = "the id #" + o->IdString() + " of " + Name(*o) + " is taken by another object";
        return false;
      }
    }
    return true;
  }
  static void Register(HostDocument& doc, const std::vector<HostObject*>& objects) {
    for (HostObject* o : objects) doc.RestoreId(*o);
  }
  static void Unregister(HostDocument& doc, const std::vector<HostObject*>& objects) {
    for (HostObject* o : objects) doc.ReleaseId(*o);
  }

  // ---- fields
  static bool Apply(HostDocument& doc, undo::Text& r, std::string& why) {
    TavUnicodeString* field = nullptr;
    if (!r.object) {
      field = &doc.displayName_;
    } else {
      if (!doc.Holds(*r.object)) return Gone(*r.object, why);
      switch (r.field) {
        case UndoText::Label: field = &static_cast<HostActivity&>(*r.object).label_; break;
        case UndoText::Description: field = &static_cast<HostActivity&>(*r.object).description_; break;
        case UndoText::ResourceType: field = &static_cast<HostProduct&>(*r.object).resourceType_; break;
        case UndoText::Name:
        case UndoText::PartNumber:
          if (auto* p = dynamic_cast<HostProduct*>(r.object.get())) field = r.field == UndoText::Name ? &p->name_ : &p->partNumber_;
          else if (auto* a = dynamic_cast<HostAssembly*>(r.object.get())) field = r.field == UndoText::Name ? &a->name_ : &a->partNumber_;
          break;
        case UndoText::PlanType:
          if (auto* a = dynamic_cast<HostAssembly*>(r.object.get())) field = &a->planType_;
          break;
        case UndoText::DisplayName: break;
      }
      if (!field) {
        why = Name(*r.object) + " has no such text";
        return false;
      }
    }
    std::swap(*field, r.value);
    Log(doc).Add(std::move(r));
    return true;
  }

  static bool Apply(HostDocument& doc, undo::Number& r, std::string& why) {
    if (!doc.Holds(*r.object)) return Gone(*r.object, why);
    double old = 0;
    switch (r.field) {
      case UndoNumber::Time: old = std::exchange(static_cast<HostActivity&>(*r.object).time_, r.value); break;
      case UndoNumber::AssemblyType: {
        int& t = static_cast<HostAssembly&>(*r.object).type_;
        old = std::exchange(t, static_cast<int>(r.value));
        break;
      }
      case UndoNumber::ContentByStructure: old = std::exchange(static_cast<HostAssembly&>(*r.object).byStructure_, r.value != 0); break;
      case UndoNumber::HasPosition: old = std::exchange(static_cast<HostProduct&>(*r.object).hasPosition_, r.value != 0); break;
      case UndoNumber::NotDirectlyChangeable:
        old = std::exchange(static_cast<HostAssembly&>(*r.object).notDirectlyChangeable_, r.value != 0);
        break;
    }
    r.value = old;
    Log(doc).Add(std::move(r));
    return true;
  }

  static bool Apply(HostDocument& doc, undo::Position& r, std::string& why) {
    if (!doc.Holds(*r.product)) return Gone(*r.product, why);
    const auto now = r.product->GetPosition();
    r.product->StorePosition(*r.value);
    *r.value = now;
    Log(doc).Add(std::move(r));
    return true;
  }

  static bool Apply(HostDocument& doc, undo::Attribute& r, std::string& why) {
    std::vector<TavAttribute>* list = nullptr;
    HostObject* anchor = nullptr;  // what must still be in the document
    if (auto* o = dynamic_cast<HostObject*>(r.holder.get())) {
      list = &o->attributes_;
      anchor = o;
    } else if (auto* rel = dynamic_cast<HostRelation*>(r.holder.get())) {
      list = &rel->attributes_;
      anchor = dynamic_cast<HostObject*>(rel->owner_.lock().get());
    }
    if (!list || !anchor) {
      why = "the holder of attribute '" + r.state->name.utf8() + "' is gone";
      return false;
    }
    if (!doc.Holds(*anchor)) return Gone(*anchor, why);
    auto& s = *r.state;
    auto it = std::find_if(list->begin(), list->end(), [&](const TavAttribute& a) { return a.name == s.name; });
    auto inverse = std::make_unique<undo::AttributeState>();
    inverse->name = s.name;
    inverse->index = static_cast<std::uint32_t>(it - list->begin());
    if (it != list->end()) inverse->value = it->value;
    if (s.value) {
      if (it != list->end()) it->value = std::move(*s.value);
      else list->insert(list->begin() + std::min<std::size_t>(s.index, list->size()), TavAttribute{s.name, std::move(*s.value)});
    } else if (it != list->end()) {
      list->erase(it);
    }
    Log(doc).Add(undo::Attribute{std::move(r.holder), std::move(inverse)});
    return true;
  }

  // ---- activities
  static bool Apply(HostDocument& doc, undo::Child& r, std::string& why) {
    HostActivity& child = *r.child;
    if (!r.attach) {
      if (!doc.Holds(child)) return Gone(child, why);
      doc.RemoveActivity(r.child);  // records its links and where the subtree was
      return true;
    }
    if (doc.Holds(child) || child.father_.lock() || child.doc_) {
      why = Name(child) + " is in the document already";
      return false;
    }
    if (r.father && !doc.Holds(*r.father)) return Gone(*r.father, why);
    const std::size_t size = r.father ? r.father->children_.size() : doc.process_->roots_.size();
    auto root = std::dynamic_pointer_cast<HostRootActivity>(r.child);
    if (r.index > size || (!r.father && !root)) {
      why = "the place of " + Name(child) + " is gone";
      return false;
    }
    auto subtree = Subtree(child);
    if (!IdsFree(doc, subtree, why)) return false;
    for (HostObject* o : subtree)
      if (o->doc_) {
        why = Name(*o) + " is in the document already";
        return false;
      }
    if (r.father) {
      r.father->children_.insert(r.father->children_.begin() + r.index, r.child);
      child.father_ = r.father;
    } else {
      doc.process_->roots_.insert(doc.process_->roots_.begin() + r.index, root);
    }
    Register(doc, subtree);
    doc.treeOrder_.clear();
    Log(doc).Add(undo::Child{std::move(r.child), nullptr, 0, false});
    return true;
  }

  // ---- products and assemblies
  static bool Apply(HostDocument& doc, undo::Product& r, std::string& why) {
    HostProduct& p = *r.product;
    std::vector<Ref<HostProduct>>& roots = (p.resource_ ? doc.resources_ : doc.products_)->roots_;
    if (!r.attach) {
      if (!doc.Holds(p)) return Gone(p, why);
      auto father = p.father_.lock();
      auto& list = father ? father->children_ : roots;
      auto at = std::find(list.begin(), list.end(), r.product);
      if (at == list.end()) {
        why = "the place of " + Name(p) + " is gone";
        return false;
      }
      const auto index = static_cast<std::uint32_t>(at - list.begin());
      list.erase(at);
      p.father_.reset();
      Unregister(doc, Subtree(p));
      Log(doc).Add(undo::Product{std::move(r.product), std::move(father), index, true});
      return true;
    }
    if (doc.Holds(p)) {
      why = Name(p) + " is in the document already";
      return false;
    }
    if (r.father && !doc.Holds(*r.father)) return Gone(*r.father, why);
    auto& list = r.father ? r.father->children_ : roots;
    if (r.index > list.size()) {
      why = "the place of " + Name(p) + " is gone";
      return false;
    }
    auto subtree = Subtree(p);
    if (!IdsFree(doc, subtree, why)) return false;
    list.insert(list.begin() + r.index, r.product);
    p.father_ = r.father;
    Register(doc, subtree);
    Log(doc).Add(undo::Product{std::move(r.product), nullptr, 0, false});
    return true;
  }

  static bool Apply(HostDocument& doc, undo::Assembly& r, std::string& why) {
    HostAssembly& a = *r.assembly;
    auto& list = doc.assemblies_->assemblies_;
    if (!r.attach) {
      auto at = std::find(list.begin(), list.end(), r.assembly);
      if (!doc.Holds(a) || at == list.end()) return Gone(a, why);
      const auto index = static_cast<std::uint32_t>(at - list.begin());
      list.erase(at);
      doc.ReleaseId(a);
      Log(doc).Add(undo::Assembly{std::move(r.assembly), index, true});
      return true;
    }
    if (r.index > list.size() || std::find(list.begin(), list.end(), r.assembly) != list.end()) {
      why = "the place of " + Name(a) + " is gone";
      return false;
    }
    if (!IdsFree(doc, {&a}, why)) return false;
    list.insert(list.begin() + r.index, r.assembly);
    Register(doc, {&a});
    Log(doc).Add(undo::Assembly{std::move(r.assembly), 0, false});
    return true;
  }

  // ---- relations, links and parts
  static bool TargetHeld(HostDocument& doc, const Ref<TavBaseUnknown>& target, std::string& why) {
    auto* o = dynamic_cast<HostObject*>(target.get());
    return !o || doc.Holds(*o) || Gone(*o, why);
  }

  static void Reindex(HostActivity& a, const RelationTypeInfo* t, const Ref<TavBaseUnknown>& obj) {
    unsigned codes = 0;
    for (auto& r : a.relations_)
      if (r->target_ == obj && r->type_->kind == t->kind) codes |= r->type_->kind == RelationKind::Output ? 1 : r->type_->code;
    a.codes_.Set(t->kind, obj.get(), codes);
  }

  static bool Apply(HostDocument& doc, undo::Relation& r, std::string& why) {
    HostActivity& a = *r.owner;
    if (!doc.Holds(a)) return Gone(a, why);
    const RelationTypeInfo* t = r.relation->type_;
    const Ref<TavBaseUnknown>& target = r.relation->target_;
    auto& list = a.relations_;
    auto at = std::find(list.begin(), list.end(), r.relation);
    if (!r.attach) {
      if (at == list.end()) {
        why = "a relation of " + Name(a) + " is gone";
        return false;
      }
      const auto index = static_cast<std::uint32_t>(at - list.begin());
      IndexRelationRemoved(a, *r.relation);
      list.erase(at);
      Reindex(a, t, target);
      if (t->kind == RelationKind::Output)
        std::erase_if(a.outputs_, [&](const Ref<HostProductIO>& io) { return io->GetObject() == target; });
      Log(doc).Add(undo::Relation{std::move(r.owner), std::move(r.relation), index, true});
      return true;
    }
    if (at != list.end() || r.index > list.size()) {
      why = "the place of a relation of " + Name(a) + " is gone";
      return false;
    }
    for (auto& other : list)
      if (other->type_ == t && other->target_ == target) {
        why = Name(a) + " has that relation already";
        return false;
      }
    if (!TargetHeld(doc, target, why)) return false;
    if (t->kind == RelationKind::Output) {
      // Outputs follow the order of the output relations.
      auto before = std::count_if(list.begin(), list.begin() + r.index, [](auto& x) { return x->type_->kind == RelationKind::Output; });
      a.outputs_.insert(a.outputs_.begin() + before, std::make_shared<HostProductIO>(target));
    }
    list.insert(list.begin() + r.index, r.relation);
    IndexRelationAdded(a, r.relation);
    Reindex(a, t, target);
    Log(doc).Add(undo::Relation{std::move(r.owner), std::move(r.relation), 0, false});
    return true;
  }

  using Links = std::vector<std::weak_ptr<HostActivity>>;
  static std::pair<Links*, Links*> LinkLists(undo::Link& r) {
    switch (r.kind) {
      case UndoLinkKind::Flow: return {&r.from->next_, &r.to->previous_};
      case UndoLinkKind::Precedence: return {&r.from->before_, &r.to->after_};
      case UndoLinkKind::Constraint: return {&r.from->Constraints().constraints, &r.to->Constraints().constrainedBy};
      case UndoLinkKind::PrevCycle: return {&r.from->Constraints().prevCycle, &r.to->Constraints().prevCycleOf};
      case UndoLinkKind::StartStart: return {&r.from->Constraints().sync[0], &r.to->Constraints().syncOf[0]};
      case UndoLinkKind::EndEnd: return {&r.from->Constraints().sync[1], &r.to->Constraints().syncOf[1]};
    }
    return {nullptr, nullptr};
  }
  static std::ptrdiff_t Find(const Links& l, const HostActivity* a) {
    auto it = std::find_if(l.begin(), l.end(), [&](const std::weak_ptr<HostActivity>& w) { return w.lock().get() == a; });
    return it == l.end() ? -1 : it - l.begin();
  }

  static bool Apply(HostDocument& doc, undo::Link& r, std::string& why) {
    if (!doc.Holds(*r.from)) return Gone(*r.from, why);
    if (!doc.Holds(*r.to)) return Gone(*r.to, why);
    auto [fwd, back] = LinkLists(r);
    const auto f = Find(*fwd, r.to.get()), b = Find(*back, r.from.get());
    if (!r.attach) {
      if (f < 0 || b < 0) {
        why = "the link from " + Name(*r.from) + " to " + Name(*r.to) + " is gone";
        return false;
      }
      fwd->erase(fwd->begin() + f);
      back->erase(back->begin() + b);
      r.forward = static_cast<std::uint32_t>(f);
      r.backward = static_cast<std::uint32_t>(b);
    } else {
      if (f >= 0 || b >= 0 || r.forward > fwd->size() || r.backward > back->size()) {
        why = "the link from " + Name(*r.from) + " to " + Name(*r.to) + " cannot be put back";
        return false;
      }
      fwd->insert(fwd->begin() + r.forward, r.to);
      back->insert(back->begin() + r.backward, r.from);
    }
    r.attach = !r.attach;
    Log(doc).Add(std::move(r));
    return true;
  }

  static bool Apply(HostDocument& doc, undo::Part& r, std::string& why) {
    HostAssembly& a = *r.assembly;
    if (!doc.Holds(a)) return Gone(a, why);
    auto& parts = a.parts_;
    if (!r.attach) {
      // From the back: content is emptied last to first.
      auto at = std::find(parts.rbegin(), parts.rend(), r.part);
      if (at == parts.rend()) {
        why = "a part of " + Name(a) + " is gone";
        return false;
      }
      r.index = static_cast<std::uint32_t>(parts.rend() - at - 1);
      a.ErasePart(r.index);
    } else {
      if (a.HasPart(r.part.get()) || r.index > parts.size()) {
        why = "the place of a part of " + Name(a) + " is gone";
        return false;
      }
      if (!TargetHeld(doc, r.part, why)) return false;
      a.InsertPart(r.index, r.part);
    }
    r.attach = !r.attach;
    Log(doc).Add(std::move(r));
    return true;
  }

  static bool Apply(HostDocument& doc, undo::Custom& r, std::string& why) { return r.action->Apply(doc, why); }

  // ---- a step's net change
  // A field's records: which field of which object (0 for any other record), and
  // whether the field holds the recorded value again.
  static std::uint64_t FieldKey(const UndoRecord& r) {
    auto key = [](const void* o, unsigned code) { return (reinterpret_cast<std::uintptr_t>(o) << 4) | code; };
    if (auto* t = std::get_if<undo::Text>(&r)) return key(t->object.get(), static_cast<unsigned>(t->field) + 1);
    if (auto* n = std::get_if<undo::Number>(&r)) return key(n->object.get(), static_cast<unsigned>(n->field) + 8);
    if (auto* p = std::get_if<undo::Position>(&r)) return key(p->product.get(), 15);
    if (auto* c = std::get_if<undo::Custom>(&r))
      if (const void* owner = c->action->FieldOwner()) return key(owner, 0);
    return 0;
  }
  static bool Unchanged(const HostDocument& doc, const UndoRecord& r) {
    if (auto* t = std::get_if<undo::Text>(&r)) {
      if (!t->object) return doc.displayName_ == t->value;
      switch (t->field) {
        case UndoText::Label: return static_cast<const HostActivity&>(*t->object).label_ == t->value;
        case UndoText::Description: return static_cast<const HostActivity&>(*t->object).description_ == t->value;
        case UndoText::ResourceType: return static_cast<const HostProduct&>(*t->object).resourceType_ == t->value;
        default: return false;  // names are rare: kept as recorded
      }
    }
    if (auto* n = std::get_if<undo::Number>(&r)) {
      switch (n->field) {
        case UndoNumber::Time: return static_cast<const HostActivity&>(*n->object).time_ == n->value;
        case UndoNumber::AssemblyType: return static_cast<const HostAssembly&>(*n->object).type_ == n->value;
        case UndoNumber::ContentByStructure: return static_cast<const HostAssembly&>(*n->object).byStructure_ == (n->value != 0);
        case UndoNumber::HasPosition: return static_cast<const HostProduct&>(*n->object).hasPosition_ == (n->value != 0);
        case UndoNumber::NotDirectlyChangeable:
          return static_cast<const HostAssembly&>(*n->object).notDirectlyChangeable_ == (n->value != 0);
      }
    }
    if (auto* p = std::get_if<undo::Position>(&r)) return p->product->GetPosition() == *p->value;
    if (auto* c = std::get_if<undo::Custom>(&r)) return c->action->FieldUnchanged();
    return false;
  }
  // Of each field only the oldest value counts, and a field that holds it again did
  // not change: relabelling twice leaves one record per label, or none. Field records
  // need no order among the others (they only need their object), so dropping some
  // keeps the rest correct. An open-addressed table, as steps reach 10^6 records.
  static void Coalesce(const HostDocument& doc, std::vector<UndoRecord>& records) {
    std::size_t fields = 0;
    for (auto& r : records) fields += FieldKey(r) != 0;
    if (fields == 0) return Annihilate(records);
    std::size_t size = 16;
    while (size < 2 * fields) size *= 2;
    std::vector<std::uint64_t> seen(size, 0);
    std::vector<bool> drop(records.size(), false);
    for (std::size_t i = 0; i < records.size(); ++i) {
      const std::uint64_t k = FieldKey(records[i]);
      if (!k) continue;
      std::size_t h = (k * 0x9E3779B97F4A7C15ull) >> 20 & (size - 1);
      while (seen[h] && seen[h] != k) h = (h + 1) & (size - 1);
      drop[i] = seen[h] == k || Unchanged(doc, records[i]);
      seen[h] = k;
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < records.size(); ++i)
      if (!drop[i]) {
        if (out != i) records[out] = std::move(records[i]);
        ++out;
      }
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(out), records.end());
    Annihilate(records);
  }

  // `earlier` undoes the making of something that `later`, right after it, undoes
  // the taking away of: together they change nothing.
  static bool Cancels(const UndoRecord& earlier, const UndoRecord& later) {
    if (auto* a = std::get_if<undo::Child>(&earlier)) {
      auto* b = std::get_if<undo::Child>(&later);
      return b && !a->attach && b->attach && a->child == b->child;
    }
    if (auto* a = std::get_if<undo::Relation>(&earlier)) {
      auto* b = std::get_if<undo::Relation>(&later);
      return b && !a->attach && b->attach && a->relation == b->relation;
    }
    if (auto* a = std::get_if<undo::Link>(&earlier)) {
      auto* b = std::get_if<undo::Link>(&later);
      return b && !a->attach && b->attach && a->from == b->from && a->to == b->to && a->kind == b->kind;
    }
    if (auto* a = std::get_if<undo::Part>(&earlier)) {
      auto* b = std::get_if<undo::Part>(&later);
      return b && !a->attach && b->attach && a->assembly == b->assembly && a->part == b->part;
    }
    if (auto* a = std::get_if<undo::Custom>(&earlier)) {
      auto* b = std::get_if<undo::Custom>(&later);
      return b && a->action->Cancels(*b->action);
    }
    return false;
  }
  // Pairs that cancel go, innermost first, as brackets match: a behaviour made for a
  // pick and dropped on cancel leaves no step.
  static void Annihilate(std::vector<UndoRecord>& records) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (out > 0 && Cancels(records[out - 1], records[i])) {
        --out;
        continue;
      }
      if (out != i) records[out] = std::move(records[i]);
      ++out;
    }
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(out), records.end());
  }
};

namespace {
bool ApplyRecord(HostDocument& doc, UndoRecord& r, std::string& why) {
  return std::visit([&](auto& rec) { return UndoAccess::Apply(doc, rec, why); }, r);
}

std::size_t Heap(const TavUnicodeString& s) {
  // Short strings live inside the object; longer ones own a buffer.
  return s.utf8().capacity() > 15 ? s.utf8().capacity() + 1 : 0;
}
}  // namespace

bool DetachProduct(HostDocument& doc, const Ref<HostProduct>& product, std::string& why) {
  if (!product || !doc.Holds(*product)) {
    why = product ? UndoName(*product) + " is not in this document" : "no product to take out";
    return false;
  }
  // The detach record does the work and logs its inverse; with nothing recording,
  // the inverse goes to a log nobody keeps.
  UndoLog scratch;
  UndoLog*& recording = UndoAccess::Recording(doc);
  UndoLog* const was = recording;
  if (!was) recording = &scratch;
  undo::Product r{product, nullptr, 0, false};
  const bool done = UndoAccess::Apply(doc, r, why);
  recording = was;
  return done;
}

std::size_t RecordBytes(const UndoRecord& r) {
  std::size_t extra = 0;
  if (auto* t = std::get_if<undo::Text>(&r)) extra = Heap(t->value);
  else if (std::holds_alternative<undo::Position>(r)) extra = sizeof(TavIMovable::Position);
  else if (auto* a = std::get_if<undo::Attribute>(&r)) {
    extra = sizeof(undo::AttributeState) + Heap(a->state->name);
    if (a->state->value)
      if (auto* s = std::get_if<TavUnicodeString>(&*a->state->value)) extra += Heap(*s);
  } else if (auto* c = std::get_if<undo::Custom>(&r)) extra = c->action->Bytes();
  return sizeof(UndoRecord) + extra;
}

// ------------------------------------------------------------------ the journal
UndoJournal::~UndoJournal() = default;  // the document is going: its members are not touched

void UndoJournal::Record(UndoLog* log) { doc_.recording_ = log; }

void UndoJournal::Begin() {
  if (depth_++ > 0) return;
  ++serial_;
  open_.Records().clear();
  Record(&open_);
}

bool UndoJournal::Commit(const std::string& name, Ref<TavCommandGlobalUndo> global) {
  if (depth_ == 0 || --depth_ > 0) return false;
  Record(nullptr);
  auto& records = open_.Records();
  UndoAccess::Coalesce(doc_, records);
  if (records.empty()) return false;
  // A new step drops the redo branch; the saved state may have been on it.
  if (saved_ && *saved_ > base_ + position_) saved_.reset();
  while (steps_.size() > position_) {
    bytes_ -= steps_.back().bytes;
    steps_.pop_back();
  }
  Step s;
  s.name = name;
  s.global = std::move(global);
  s.records = std::move(records);
  if (s.records.capacity() > s.records.size() + s.records.size() / 4) s.records.shrink_to_fit();
  for (auto& r : s.records) s.bytes += RecordBytes(r);
  records.clear();
  bytes_ += s.bytes;
  steps_.push_back(std::move(s));
  ++position_;
  Trim();
  return true;
}

void UndoJournal::Discard() {
  depth_ = 0;
  Record(nullptr);
  open_.Records().clear();
}

bool UndoJournal::Abort(std::string* error) {
  if (depth_ == 0) return true;
  bool ok = RollBack(0, error);
  Discard();
  return ok;
}

bool UndoJournal::RollBack(std::size_t mark, std::string* error) {
  auto& records = open_.Records();
  if (depth_ == 0 || mark >= records.size()) return true;
  std::vector<UndoRecord> tail(std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(mark)),
                               std::make_move_iterator(records.end()));
  records.resize(mark);
  UndoLog scratch;
  const bool ok = ApplyAll(tail, scratch, error);
  Record(&open_);
  if (!ok) records.insert(records.end(), std::make_move_iterator(tail.begin()), std::make_move_iterator(tail.end()));
  return ok;
}

std::uint64_t ModelChangeCount() { return g_recordedChanges + AssemblyContentGeneration(); }

bool UndoJournal::ApplyAll(std::vector<UndoRecord>& records, UndoLog& out, std::string* error) {
  UndoLog* const previous = doc_.recording_;
  Record(&out);
  std::string why;
  while (!records.empty()) {
    UndoRecord r = std::move(records.back());
    records.pop_back();
    if (ApplyRecord(doc_, r, why)) {
      ++g_recordedChanges;  // counted even where the inverse records nothing
      continue;
    }
    records.push_back(std::move(r));
    // Put back what was applied: `out` reverses it, last first, and reversing that
    // gives the same changes as the records taken, in their order.
    UndoLog back;
    Record(&back);
    std::string lost;
    auto& done = out.Records();
    if (!ApplyAll(done, back, &lost))
      why += " (and the changes already reversed could not be put back: " + lost + ")";
    for (auto& b : back.Records()) records.push_back(std::move(b));
    done.clear();
    if (error) *error = why;
    Record(previous);
    return false;
  }
  Record(previous);
  return true;
}

bool UndoJournal::Undo(std::string* error) {
  if (depth_ > 0 || position_ == 0) {
    if (error) *error = depth_ > 0 ? "changes are being recorded" : "nothing to undo";
    return false;
  }
  Step& s = steps_[position_ - 1];
  UndoLog redo;
  if (!ApplyAll(s.records, redo, error)) return false;
  s.records = std::move(redo.Records());
  --position_;
  return true;
}

bool UndoJournal::Redo(std::string* error) {
  if (depth_ > 0 || position_ == steps_.size()) {
    if (error) *error = depth_ > 0 ? "changes are being recorded" : "nothing to redo";
    return false;
  }
  Step& s = steps_[position_];
  UndoLog undo;
  if (!ApplyAll(s.records, undo, error)) return false;
  s.records = std::move(undo.Records());
  ++position_;
  return true;
}

void UndoJournal::MarkSaved() { saved_ = base_ + position_; }

bool UndoJournal::IsModified() const {
  return !open_.Records().empty() || !saved_ || *saved_ != base_ + position_;
}

void UndoJournal::SetLimits(std::size_t maxSteps, std::size_t maxBytes) {
  maxSteps_ = std::max<std::size_t>(1, maxSteps);
  maxBytes_ = maxBytes;
  Trim();
}

void UndoJournal::Trim() {
  // Only applied steps go: a redo step depends on every step below it.
  while (steps_.size() > 1 && position_ > 0 && (steps_.size() > maxSteps_ || bytes_ > maxBytes_)) {
    bytes_ -= steps_.front().bytes;
    steps_.pop_front();
    --position_;
    ++base_;
  }
}

void UndoJournal::Clear() {
  Discard();
  steps_.clear();
  bytes_ = 0;
  base_ += position_;
  position_ = 0;
  saved_ = base_;
}

}  // namespace host
