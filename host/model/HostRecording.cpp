// The model's field setters, each recording the value it replaces while a
// transaction is open (HostUndo.h), and the document's side of undo.
#include <algorithm>
#include <utility>

#include "HostAssemblyEdits.h"
#include "HostSaved.h"
#include "HostUndo.h"

namespace host {

namespace {
// The old value goes into the record by move: recording costs no copy of the text.
void SetText(HostObject& o, TavUnicodeString& field, const TavUnicodeString& value, UndoText which) {
  if (field == value) return;  // nothing changes, nothing to undo
  if (UndoLog* log = RecorderOf(o)) log->Add(undo::Text{SelfRef<HostObject>(o), std::exchange(field, value), which});
  else field = value;
}
template <class T>
void SetNumber(HostObject& o, T& field, T value, UndoNumber which) {
  if (field == value) return;
  if (UndoLog* log = RecorderOf(o)) log->Add(undo::Number{SelfRef<HostObject>(o), static_cast<double>(field), which});
  field = value;
}
}  // namespace

void RecordAttribute(UndoLog& log, Ref<TavBaseUnknown> holder, const std::vector<TavAttribute>& list, const TavUnicodeString& name) {
  auto it = std::find_if(list.begin(), list.end(), [&](const TavAttribute& a) { return a.name == name; });
  auto state = std::make_unique<undo::AttributeState>();
  state->name = name;
  state->index = static_cast<std::uint32_t>(it - list.begin());
  if (it != list.end()) state->value = it->value;
  log.Add(undo::Attribute{std::move(holder), std::move(state)});
}

// ------------------------------------------------------------------ attributes (order kept: undo puts one back in its place)
namespace {
std::optional<TavValue> FindAttr(const std::vector<TavAttribute>& v, const TavUnicodeString& n) {
  for (auto& a : v)
    if (a.name == n) return a.value;
  return std::nullopt;
}
void SetAttr(std::vector<TavAttribute>& v, const TavUnicodeString& n, TavValue val) {
  for (auto& a : v)
    if (a.name == n) { a.value = std::move(val); return; }
  v.push_back({n, std::move(val)});
}
bool RemoveAttr(std::vector<TavAttribute>& v, const TavUnicodeString& n) {
  return std::erase_if(v, [&](const TavAttribute& a) { return a.name == n; }) > 0;
}
}  // namespace

std::optional<TavValue> HostObject::GetAttribute(const TavUnicodeString& n) const { return FindAttr(attributes_, n); }
void HostObject::SetAttribute(const TavUnicodeString& n, TavValue v) {
  if (UndoLog* log = RecorderOf(*this)) RecordAttribute(*log, self(), attributes_, n);
  SetAttr(attributes_, n, std::move(v));
}
bool HostObject::RemoveAttribute(const TavUnicodeString& n) {
  if (UndoLog* log = RecorderOf(*this); log && FindAttr(attributes_, n)) RecordAttribute(*log, self(), attributes_, n);
  return RemoveAttr(attributes_, n);
}
std::optional<TavValue> HostRelation::GetAttribute(const TavUnicodeString& n) const { return FindAttr(attributes_, n); }
namespace {
// A relation's changes are recorded in its owner's document.
UndoLog* RelationRecorder(const Ref<TavBaseUnknown>& owner) {
  auto* o = dynamic_cast<const HostObject*>(owner.get());
  return o ? RecorderOf(*o) : nullptr;
}
}  // namespace
void HostRelation::SetAttribute(const TavUnicodeString& n, TavValue v) {
  if (UndoLog* log = RelationRecorder(owner_.lock())) RecordAttribute(*log, self(), attributes_, n);
  SetAttr(attributes_, n, std::move(v));
}
bool HostRelation::RemoveAttribute(const TavUnicodeString& n) {
  if (UndoLog* log = RelationRecorder(owner_.lock()); log && FindAttr(attributes_, n)) RecordAttribute(*log, self(), attributes_, n);
  return RemoveAttr(attributes_, n);
}

void HostProduct::SetName(const TavUnicodeString& n) { SetText(*this, name_, n, UndoText::Name); }
void HostProduct::SetPartNumber(const TavUnicodeString& pn) { SetText(*this, partNumber_, pn, UndoText::PartNumber); }
void HostProduct::SetResourceType(const TavUnicodeString& t) { SetText(*this, resourceType_, t, UndoText::ResourceType); }
void HostProduct::SetHasPosition(bool b) { SetNumber(*this, hasPosition_, b, UndoNumber::HasPosition); }
void HostProduct::StorePosition(const Position& p) {
  if (position_) *position_ = p;
  else position_ = std::make_unique<Position>(p);
}
void HostProduct::SetPosition(const Position& p) {
  if (UndoLog* log = RecorderOf(*this))
    log->Add(undo::Position{SelfRef<HostProduct>(*this), std::make_unique<Position>(GetPosition())});
  StorePosition(p);
}

namespace {
std::vector<std::function<void(HostAssembly&, AssemblyEdit)>>& AssemblyEditListeners() {
  static std::vector<std::function<void(HostAssembly&, AssemblyEdit)>> v;
  return v;
}
// A recorded change of an assembly's text is an edit the listeners hear of.
void SetAssemblyText(HostAssembly& a, TavUnicodeString& field, const TavUnicodeString& value, UndoText which, AssemblyEdit what) {
  if (field == value) return;
  const bool recorded = RecorderOf(a) != nullptr;
  SetText(a, field, value, which);
  if (recorded) NotifyAssemblyEdit(a, what);
}
}  // namespace

void RegisterAssemblyEditListener(std::function<void(HostAssembly&, AssemblyEdit)> listener) {
  AssemblyEditListeners().push_back(std::move(listener));
}
void NotifyAssemblyEdit(HostAssembly& a, AssemblyEdit what) {
  for (auto& listener : AssemblyEditListeners()) listener(a, what);
}

void HostAssembly::SetName(const TavUnicodeString& n) { SetAssemblyText(*this, name_, n, UndoText::Name, AssemblyEdit::Name); }
void HostAssembly::SetPartNumber(const TavUnicodeString& pn) {
  SetAssemblyText(*this, partNumber_, pn, UndoText::PartNumber, AssemblyEdit::PartNumber);
}
void HostAssembly::SetType(int t) { SetNumber(*this, type_, t, UndoNumber::AssemblyType); }
void HostAssembly::SetContentByStructure(bool b) { SetNumber(*this, byStructure_, b, UndoNumber::ContentByStructure); }
void HostAssembly::SetNotDirectlyChangeable(bool b) { SetNumber(*this, notDirectlyChangeable_, b, UndoNumber::NotDirectlyChangeable); }
void HostAssembly::SetPlanType(const TavUnicodeString& t) { SetText(*this, planType_, t, UndoText::PlanType); }

void HostActivity::SetLabel(const TavUnicodeString& l) { SetText(*this, label_, l, UndoText::Label); }
void HostActivity::SetDescription(const TavUnicodeString& d) { SetText(*this, description_, d, UndoText::Description); }
void HostActivity::SetTime(double t) { SetNumber(*this, time_, t, UndoNumber::Time); }

void HostDocument::SetDisplayName(const TavUnicodeString& n) {
  if (recording_) recording_->Add(undo::Text{nullptr, std::exchange(displayName_, n), UndoText::DisplayName});
  else displayName_ = n;
}

// ------------------------------------------------------------------ the document's side
bool HostDocument::IsModified() const { return journal_->IsModified(); }
namespace {
std::vector<std::function<void(HostDocument&, int)>>& SavedListeners() {
  static std::vector<std::function<void(HostDocument&, int)>> v;
  return v;
}
}  // namespace

void RegisterSavedListener(std::function<void(HostDocument&, int)> listener) { SavedListeners().push_back(std::move(listener)); }

void HostDocument::MarkSaved() {
  journal_->MarkSaved();
  for (auto& listener : SavedListeners()) listener(*this, nextModelNumber_);
}

void HostDocument::ReleaseId(HostObject& o) {
  byId_.Erase(o);
  if (o.doc_ == this) o.doc_ = nullptr;
}

bool HostDocument::RestoreId(HostObject& o) {
  if (!byId_.Insert(o)) return false;
  o.doc_ = this;
  return true;
}

}  // namespace host
