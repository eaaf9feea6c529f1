#include "OrvVekNamedStateDlg.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "OrvVekUtilities.h"
#include "TavFlow.h"
#include "TavServices.h"

namespace {

constexpr const char* kClass = "OrvVekNamedStateDlg";
using Entry = OrvVekNamedStateDlg::Entry;

const TavTrace& Trace() {
  static const TavTrace t("OrvVekNamedState", "Traces for module OrvVekNamedState");
  return t;
}

TavUnicodeString Text(const std::string& key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekNamedStateDlg::kCatalog, key, params, fallback);
}

// One key per object, whatever interface its handle was taken through.
const void* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

void Erase(std::vector<Entry>& list, const Ref<TavBaseUnknown>& o) {
  std::erase_if(list, [&](const Entry& e) { return SameObject(e.object, o); });
}

// The host's words for the last refusal, when it kept any.
TavUnicodeString HostReason() {
  auto err = TavError::TavGetLastError(E_FAIL);
  return err ? err->GetNLSMessage() : Text("OrvVekNamedStateDlg.NoReason", "the host refused it");
}

TavUnicodeString OwnerName(const Ref<TavBaseUnknown>& owner) {
  if (auto ma = query<OrvIMfgAssembly>(owner)) return ma->GetName();
  if (auto p = query<TavIProduct>(owner)) return p->GetName();
  return {};
}

Entry EntryOf(const Ref<TavBaseUnknown>& o) {
  if (auto pos = query<TavIPcsPosition>(o)) return {o, pos->GetName(), true};
  if (auto st = query<OrvIState>(o)) return {o, st->GetName(), false};
  return {o, {}, false};
}

}  // namespace

OrvVekNamedStateDlg::OrvVekNamedStateDlg(Mode mode, TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekNamedStateDlg", 0, kCatalog), mode_(mode) {
  TavTraceScope scope(Trace(), kClass, "OrvVekNamedStateDlg");
  SetVisibility(false);
  SetTitle(mode == Mode::Create ? Text("DlgTitle", "Named State Creation") : Text("ChgDlgTitle", "Named State Change"));
  auto* head = Add<TavDlgFrame>("pFrameResource");
  head->Add<TavDlgLabel>("pLabel")->SetTitle(Text("pLabel.Title", "Object:"));
  ownerLabel_ = head->Add<TavDlgLabel>("pLabelName");
  head->Add<TavDlgLabel>("pLabel1")->SetTitle(Text("pLabel1.Title", "Name:"));
  nameEditor_ = head->Add<TavDlgEditor>("pNameEditor");

  candidateTabs_ = Add<TavDlgTabContainer>("pStatesTabContainer");
  auto* statesPage = candidateTabs_->Add<TavDlgTabPage>("pStatesTabPage");
  statesPage->SetTitle(Text("pStatesTabPage.Title", "States"));
  statesList_ = statesPage->Add<TavDlgSelectorList>("pStatesSelectorList");
  auto* positionsPage = candidateTabs_->Add<TavDlgTabPage>("pPositionsTabPage");
  positionsPage->SetTitle(Text("pPositionsTabPage.Title", "Positions"));
  positionsList_ = positionsPage->Add<TavDlgSelectorList>("pPositionsSelectorList");
  candidateTabs_->SetSelectedPage("pStatesTabPage");

  auto* buttons = Add<TavDlgFrame>("pButtonFrame");
  add_ = buttons->Add<TavDlgPushButton>("pAddPb");
  add_->SetTitle(Text("pAddPb.Title", "Add"));
  remove_ = buttons->Add<TavDlgPushButton>("pRemPb");
  remove_->SetTitle(Text("pRemPb.Title", "Remove"));

  auto* definitionTabs = Add<TavDlgTabContainer>("pDefinitionTabContainer");
  auto* definitionPage = definitionTabs->Add<TavDlgTabPage>("pDefinitionTabPage");
  definitionPage->SetTitle(Text("pDefinitionTabPage.Title", "Definition"));
  definitionTabs->SetSelectedPage("pDefinitionTabPage");
  definitionList_ = definitionPage->Add<TavDlgSelectorList>("pDefinitionSelectorList");
  definitionList_->SetMultiSelect(true);

  sync_ = Add<TavDlgCheckButton>("_pSyncStateCheckButton");
  sync_->SetTitle(Text("_pSyncStateCheckButton.Title", "Synchronize"));
  ok_ = Add<TavDlgPushButton>("OK");
  ok_->SetTitle(Text("OK.Title", "OK"));
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");

  for (TavDlgWidget* w : {static_cast<TavDlgWidget*>(statesList_), static_cast<TavDlgWidget*>(positionsList_),
                          static_cast<TavDlgWidget*>(definitionList_), static_cast<TavDlgWidget*>(candidateTabs_)})
    AddAnalyseNotificationCB(w, TavDlgNotification::Select, [this] { UpdateButtons(); });
  AddAnalyseNotificationCB(add_, TavDlgNotification::Activate, [this] { WhenAddButtonPushed(); });
  AddAnalyseNotificationCB(remove_, TavDlgNotification::Activate, [this] { WhenRemoveButtonPushed(); });
  AddAnalyseNotificationCB(ok_, TavDlgNotification::Activate, [this] { OKPushed(); });
  UpdateButtons();
}

OrvVekNamedStateDlg::~OrvVekNamedStateDlg() { TavTraceScope scope(Trace(), kClass, "~OrvVekNamedStateDlg"); }

bool OrvVekNamedStateDlg::Initialize(const Ref<TavIProduct>& owner) { return InitializeOwner(owner); }
bool OrvVekNamedStateDlg::Initialize(const Ref<OrvIMfgAssembly>& owner) { return InitializeOwner(owner); }

bool OrvVekNamedStateDlg::Initialize(const Ref<OrvIState>& state) {
  TavTraceScope scope(Trace(), kClass, "Initialize");
  if (!state || !state->GetOwner()) return false;
  state_ = state;
  if (!InitializeOwner(state->GetOwner())) return false;
  nameEditor_->SetText(state->GetName());
  CreateDefinitionList();
  Refill();
  return true;
}

bool OrvVekNamedStateDlg::InitializeOwner(const Ref<TavBaseUnknown>& owner) {
  TavTraceScope scope(Trace(), kClass, "Initialize");
  owner_ = owner;
  ownerLabel_->SetTitle(OwnerName(owner));
  auto doc = TavDocumentOf(owner);
  if (!doc)
    if (auto editor = TavFrmEditor::GetCurrentEditor()) doc = editor->GetDocument();
  factory_.emplace(doc);
  FillProductsList();
  CreateStateList();
  CreatePositionList();
  Refill();
  return doc != nullptr;
}

// The owner and everything below it: a product's descendants; an assembly's parts
// with their descendants and its child assemblies, each once.
void OrvVekNamedStateDlg::FillProductsList() {
  TavTraceScope scope(Trace(), kClass, "FillProductsList");
  products_.clear();
  std::unordered_set<const void*> seen;
  std::vector<Ref<TavBaseUnknown>> todo{owner_};
  while (!todo.empty()) {
    Ref<TavBaseUnknown> o = todo.back();
    todo.pop_back();
    if (!o || !seen.insert(Key(o)).second) continue;
    products_.push_back(o);
    if (auto ma = query<OrvIMfgAssembly>(o)) {
      std::vector<Ref<TavBaseUnknown>> parts;
      if (SUCCEEDED(ma->GetParts(parts)))
        for (auto it = parts.rbegin(); it != parts.rend(); ++it) todo.push_back(*it);
      auto children = ma->GetChildAssemblies();
      for (auto it = children.rbegin(); it != children.rend(); ++it) todo.push_back(*it);
    } else if (auto p = query<TavIProduct>(o)) {
      for (auto& d : p->GetAllDescendants())
        if (seen.insert(Key(d)).second) products_.push_back(d);
    }
  }
}

// Every state of the structure except the edited one and those whose definition
// reaches it: either would make the edited state part of itself.
void OrvVekNamedStateDlg::CreateStateList() {
  TavTraceScope scope(Trace(), kClass, "CreateStateList");
  states_.clear();
  std::unordered_map<const void*, bool> reaches;  // state -> its definition reaches the edited one
  std::function<bool(const Ref<TavBaseUnknown>&)> reachesEdited = [&](const Ref<TavBaseUnknown>& s) -> bool {
    if (!state_) return false;
    if (SameObject(s, state_)) return true;
    auto [it, fresh] = reaches.try_emplace(Key(s), false);
    if (!fresh) return it->second;  // known, or on the walk's path (a cycle the host refuses)
    bool found = false;
    if (auto mgt = query<OrvIStateMgt>(s))
      for (auto& d : mgt->GetDefinition())
        if (query<OrvIState>(d) && reachesEdited(d)) {
          found = true;
          break;
        }
    reaches[Key(s)] = found;
    return found;
  };
  for (auto& p : products_)
    for (auto& s : factory_->GetStates(p))
      if (s && !reachesEdited(s)) states_.push_back({s, s->GetName(), false});
}

void OrvVekNamedStateDlg::CreatePositionList() {
  TavTraceScope scope(Trace(), kClass, "CreatePositionList");
  positions_.clear();
  for (auto& p : products_)
    for (auto& pos : factory_->GetPositions(p))
      if (pos) positions_.push_back({pos, pos->GetName(), true});
}

void OrvVekNamedStateDlg::CreateDefinitionList() {
  TavTraceScope scope(Trace(), kClass, "CreateDefinitionList");
  definition_.clear();
  initialDefinition_.clear();
  auto mgt = query<OrvIStateMgt>(state_);
  if (!mgt) return;
  for (auto& o : mgt->GetDefinition()) {
    if (!o) continue;
    initialDefinition_.push_back(o);
    definition_.push_back(EntryOf(o));
    Erase(states_, o);
    Erase(positions_, o);
  }
}

void OrvVekNamedStateDlg::Refill() {
  auto fill = [](TavDlgSelectorList* list, const std::vector<Entry>& entries) {
    list->ClearLine();
    for (auto& e : entries) list->SetLine(e.name);
  };
  fill(statesList_, states_);
  fill(positionsList_, positions_);
  fill(definitionList_, definition_);
  UpdateButtons();
}

bool OrvVekNamedStateDlg::ShowingPositions() const { return candidateTabs_->GetSelectedPage() == "pPositionsTabPage"; }

void OrvVekNamedStateDlg::UpdateButtons() {
  auto* shown = ShowingPositions() ? positionsList_ : statesList_;
  add_->SetSensitivity(shown->GetSelectCount() == 1);
  remove_->SetSensitivity(definitionList_->GetSelectCount() > 0);
}

void OrvVekNamedStateDlg::WhenAddButtonPushed() {
  TavTraceScope scope(Trace(), kClass, "WhenAddButtonPushed");
  const bool positions = ShowingPositions();
  auto* list = positions ? positionsList_ : statesList_;
  auto& candidates = positions ? positions_ : states_;
  const auto rows = list->GetSelect();
  if (rows.size() != 1 || rows.front() < 0 || rows.front() >= static_cast<int>(candidates.size())) return;
  Entry e = candidates[static_cast<std::size_t>(rows.front())];
  candidates.erase(candidates.begin() + rows.front());
  definition_.push_back(e);
  Refill();
  if (sync_->GetState()) ApplyEntry(e);
}

void OrvVekNamedStateDlg::WhenRemoveButtonPushed() {
  TavTraceScope scope(Trace(), kClass, "WhenRemoveButtonPushed");
  auto rows = definitionList_->GetSelect();
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  std::vector<Entry> back;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    if (*it < 0 || *it >= static_cast<int>(definition_.size())) continue;
    back.insert(back.begin(), definition_[static_cast<std::size_t>(*it)]);
    definition_.erase(definition_.begin() + *it);
  }
  // Later entries moved last: their products go back first.
  for (auto it = back.rbegin(); it != back.rend(); ++it) SetBackPosition(it->object);
  for (auto& e : back) (e.position ? positions_ : states_).push_back(e);
  Refill();
}

// Applies a position or state at once, remembering where its products stood.
void OrvVekNamedStateDlg::ApplyEntry(const Entry& e) {
  TavTraceScope scope(Trace(), kClass, "ApplyEntry");
  auto exec = query<OrvIStateExecutionMgt>(e.object);
  if (!exec) return ShowError(ApplyRefused, e.name, HostReason());
  Moved moved{e.object, {}};
  for (auto& p : exec->GetMovedProducts())
    if (auto m = query<TavIMovable>(p)) moved.before.emplace_back(m, m->GetPosition());
  TavError::TavCleanLastError();
  if (FAILED(exec->Apply())) {
    for (auto it = moved.before.rbegin(); it != moved.before.rend(); ++it) it->first->SetPosition(it->second);
    return ShowError(ApplyRefused, e.name, HostReason());
  }
  moved_.push_back(std::move(moved));
}

// The products an entry moved go back to where they stood before it was applied.
void OrvVekNamedStateDlg::SetBackPosition(const Ref<TavBaseUnknown>& entry) {
  TavTraceScope scope(Trace(), kClass, "SetBackPosition");
  auto it = std::find_if(moved_.begin(), moved_.end(), [&](const Moved& m) { return SameObject(m.entry, entry); });
  if (it == moved_.end()) return;
  for (auto b = it->before.rbegin(); b != it->before.rend(); ++b) b->first->SetPosition(b->second);
  moved_.erase(it);
}

void OrvVekNamedStateDlg::RestoreSyncMoves() {
  TavTraceScope scope(Trace(), kClass, "RestoreSyncMoves");
  for (auto m = moved_.rbegin(); m != moved_.rend(); ++m)
    for (auto b = m->before.rbegin(); b != m->before.rend(); ++b) b->first->SetPosition(b->second);
  moved_.clear();
}

bool OrvVekNamedStateDlg::IsNameAlreadyExisting(const TavUnicodeString& name) const {
  if (!factory_ || !factory_->IsValid()) return false;
  for (auto& s : factory_->GetStates(owner_))
    if (s && s->GetName() == name && !SameObject(s, state_)) return true;
  return false;
}

void OrvVekNamedStateDlg::ShowError(Error e, const TavUnicodeString& detail, const TavUnicodeString& reason) {
  static const std::unordered_map<int, std::pair<const char*, const char*>> texts = {
      {NoFactory, {"OrvVekNamedStateDlg.NoFactoryAvailable", "The document keeps no states."}},
      {NoName, {"OrvVekNamedStateDlg.NoNameAvailable", "Give the state a name."}},
      {EmptyDefinition, {"OrvVekNamedStateDlg.EmptyDefinitionList", "Add at least one state or position to the definition."}},
      {NameTaken, {"OrvVekNamedStateDlg.NameAlreadyExisting", "A state of that name already exists."}},
      {StateNotCreated, {"OrvVekNamedStateDlg.StateNotCreated", "The state /P1 could not be created: /P2"}},
      {EntryRefused, {"OrvVekNamedStateDlg.EntryRefused", "/P1 cannot be part of the definition: /P2"}},
      {ApplyRefused, {"OrvVekNamedStateDlg.ApplyRefused", "/P1 could not be applied (/P2): the products stay where they were."}},
      {RenameRefused, {"OrvVekNamedStateDlg.RenameRefused", "The state cannot be named /P1: /P2"}},
  };
  const auto& [key, fallback] = texts.at(e);
  TavDlgNotify box(nullptr, "OrvVekNamedStateErrorDlg", TavDlgNotify::Error);
  box.DisplayBox(Text("OrvVekNamedStateDlg.InfoWnd.Title", "Named State"), Text(key, fallback, {detail, reason}));
  box.DisplayBlocked();
}

void OrvVekNamedStateDlg::TakeBack(TavSavepoint& mark, const Ref<OrvIState>& created) {
  // The explicit removal holds where nothing records changes; the rollback takes
  // back whatever else the failed OK wrote.
  if (auto life = query<TavILifeCycleObject>(created)) life->Remove();
  mark.RollBack();
}

bool OrvVekNamedStateDlg::OnOK() {
  TavTraceScope scope(Trace(), kClass, "OnOK");
  const TavUnicodeString name = nameEditor_->GetText().Strip();
  if (name.IsEmpty()) return ShowError(NoName), false;
  if (definition_.empty()) return ShowError(EmptyDefinition), false;
  if (!factory_ || !factory_->IsValid()) return ShowError(NoFactory), false;
  if (IsNameAlreadyExisting(name)) return ShowError(NameTaken), false;

  TavSavepoint mark;
  TavError::TavCleanLastError();
  auto state = factory_->CreateState(name);
  if (!state || FAILED(state->SetOwner(owner_))) {
    const TavUnicodeString reason = HostReason();
    TakeBack(mark, state);
    return ShowError(StateNotCreated, name, reason), false;
  }
  auto mgt = query<OrvIStateMgt>(state);
  for (auto& e : definition_) {
    TavError::TavCleanLastError();
    const int code = e.position ? OrvStateRelation::AddPosition : OrvStateRelation::AddState;
    if (!mgt || FAILED(mgt->SetRelation(e.object, code))) {
      const TavUnicodeString reason = HostReason();
      TakeBack(mark, state);
      return ShowError(EntryRefused, e.name, reason), false;
    }
  }
  state_ = state;
  OrvVekUtilities::RedrawFakeNode(TavDocumentOf(state));
  return true;
}

bool OrvVekNamedStateDlg::OnOKChangeDlg() {
  TavTraceScope scope(Trace(), kClass, "OnOKChangeDlg");
  const TavUnicodeString name = nameEditor_->GetText().Strip();
  if (name.IsEmpty()) return ShowError(NoName), false;
  if (IsNameAlreadyExisting(name)) return ShowError(NameTaken), false;
  if (definition_.empty()) return ShowError(EmptyDefinition), false;
  if (!factory_ || !factory_->IsValid()) return ShowError(NoFactory), false;
  auto mgt = query<OrvIStateMgt>(state_);
  if (!mgt) return ShowError(EntryRefused, definition_.front().name, HostReason()), false;

  // The host appends what is added: keep the longest head of the new definition that
  // the old one holds in that order, take the rest of the old one out and add the
  // rest of the new one. Plain removals and additions are exactly those entries; an
  // entry taken out and put back at the end moves there.
  std::size_t kept = 0, j = 0;
  for (; kept < definition_.size(); ++kept) {
    while (j < initialDefinition_.size() && !SameObject(initialDefinition_[j], definition_[kept].object)) ++j;
    if (j == initialDefinition_.size()) break;
    ++j;
  }
  std::vector<Ref<TavBaseUnknown>> keep;
  for (std::size_t i = 0; i < kept; ++i) keep.push_back(definition_[i].object);

  TavSavepoint mark;
  TavError::TavCleanLastError();
  if (name != state_->GetName() && FAILED(state_->SetName(name))) {
    const TavUnicodeString reason = HostReason();
    TakeBack(mark, nullptr);
    return ShowError(RenameRefused, name, reason), false;
  }
  for (auto& o : initialDefinition_) {
    const bool stays = std::any_of(keep.begin(), keep.end(), [&](auto& k) { return SameObject(k, o); });
    if (stays) continue;
    const Entry e = EntryOf(o);
    TavError::TavCleanLastError();
    if (FAILED(mgt->SetRelation(o, e.position ? OrvStateRelation::RemovePosition : OrvStateRelation::RemoveState))) {
      const TavUnicodeString reason = HostReason();
      TakeBack(mark, nullptr);
      return ShowError(EntryRefused, e.name, reason), false;
    }
  }
  for (std::size_t i = kept; i < definition_.size(); ++i) {
    const Entry& e = definition_[i];
    TavError::TavCleanLastError();
    if (FAILED(mgt->SetRelation(e.object, e.position ? OrvStateRelation::AddPosition : OrvStateRelation::AddState))) {
      const TavUnicodeString reason = HostReason();
      TakeBack(mark, nullptr);
      return ShowError(EntryRefused, e.name, reason), false;
    }
  }
  OrvVekUtilities::RedrawFakeNode(TavDocumentOf(state_));
  return true;
}

void OrvVekNamedStateDlg::OKPushed() {
  const bool done = mode_ == Mode::Create ? OnOK() : OnOKChangeDlg();
  if (!done) return;
  moved_.clear();  // the synchronised moves stay with the state
  Notify(TavDlgNotification::OK);
}
