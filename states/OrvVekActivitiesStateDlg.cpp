#include "OrvVekActivitiesStateDlg.h"

#include "OrvVekServices.h"
#include "TavAssignment.h"
#include "TavFlow.h"

namespace {

constexpr const char* kClass = "OrvVekActivitiesStateDlg";
constexpr const char* kPageNames[] = {"pBeginTabPage", "p3DTabPage", "pEndCondTabPage"};
constexpr int kLinked[] = {OrvStateRelation::BeginLinked, OrvStateRelation::ContextLinked, OrvStateRelation::EndLinked};
constexpr int kUnlinked[] = {OrvStateRelation::BeginUnlinked, OrvStateRelation::ContextUnlinked, OrvStateRelation::EndUnlinked};
constexpr int kNoBehavior = -2;  // WriteSteps' answer when the resource's behaviour could not be had

TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekActivitiesStateDlg::kCatalog, key, params, fallback);
}

bool Contains(const OrvVekActivitiesStateDlg::States& list, const Ref<OrvIState>& state) {
  for (auto& s : list)
    if (SameObject(s, state)) return true;
  return false;
}

}  // namespace

// The three lists of the object OK writes to, whichever interfaces hold them.
class OrvVekActivitiesStateDlg::ConditionLists {
public:
  virtual ~ConditionLists() = default;
  virtual States Get(Page page) const = 0;
  virtual HRESULT Remove(Page page, const States& states) = 0;
  virtual HRESULT Add(Page page, const States& states) = 0;
};

namespace {

using Dlg = OrvVekActivitiesStateDlg;

// An activity: begin and end conditions through one interface, the 3D context through another.
class ActivityLists : public OrvVekActivitiesStateDlg::ConditionLists {
public:
  explicit ActivityLists(const Ref<TavBaseUnknown>& activity)
      : cond_(query<TavISPP3DStateCondition>(activity)), context_(query<TavISPPActivity3DContext>(activity)) {}
  Dlg::States Get(Dlg::Page page) const override {
    if (page == Dlg::Context3D) return context_ ? context_->Get3DContext() : Dlg::States{};
    return cond_ ? cond_->GetStateConditions(Kind(page)) : Dlg::States{};
  }
  HRESULT Remove(Dlg::Page page, const Dlg::States& states) override {
    if (page == Dlg::Context3D) return context_ ? context_->Remove3DContext(states) : E_FAIL;
    return cond_ ? cond_->RemoveStateConditions(Kind(page), states) : E_FAIL;
  }
  HRESULT Add(Dlg::Page page, const Dlg::States& states) override {
    if (page == Dlg::Context3D) return context_ ? context_->Add3DContext(states) : E_FAIL;
    return cond_ ? cond_->AddStateConditions(Kind(page), states) : E_FAIL;
  }

private:
  static int Kind(Dlg::Page page) { return page == Dlg::Begin ? TavStateConditionKind::Begin : TavStateConditionKind::End; }
  Ref<TavISPP3DStateCondition> cond_;
  Ref<TavISPPActivity3DContext> context_;
};

// A resource's behaviour: the three lists through one interface.
class BehaviorLists : public OrvVekActivitiesStateDlg::ConditionLists {
public:
  explicit BehaviorLists(Ref<OrvIResourceStatesCondition> cond) : cond_(std::move(cond)) {}
  Dlg::States Get(Dlg::Page page) const override { return cond_ ? cond_->GetConditions(Kind(page)) : Dlg::States{}; }
  HRESULT Remove(Dlg::Page page, const Dlg::States& states) override {
    return cond_ ? cond_->RemoveConditions(Kind(page), states) : E_FAIL;
  }
  HRESULT Add(Dlg::Page page, const Dlg::States& states) override {
    return cond_ ? cond_->AddConditions(Kind(page), states) : E_FAIL;
  }

private:
  static int Kind(Dlg::Page page) {
    return page == Dlg::Begin ? TavStateConditionKind::Begin
                                : page == Dlg::End ? TavStateConditionKind::End : TavStateConditionKind::Context3D;
  }
  Ref<OrvIResourceStatesCondition> cond_;
};

}  // namespace

const TavTrace& OrvVekActivitiesStateDlg::Trace() {
  static const TavTrace t("OrvVekActivitiesState", "Traces for module OrvVekActivitiesState");
  return t;
}

OrvVekActivitiesStateDlg::OrvVekActivitiesStateDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekActivitiesStateDlg", 0, kCatalog) {
  SetVisibility(false);
}

OrvVekActivitiesStateDlg::~OrvVekActivitiesStateDlg() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekActivitiesStateDlg");
}

void OrvVekActivitiesStateDlg::Build() {
  TavTraceScope scope(Trace(), kClass, "Build");
  auto* frame = Add<TavDlgFrame>("pResourceFrame");
  leftTabs_ = frame->Add<TavDlgTabContainer>("pItemResTabContainer");
  struct LeftNames {
    const char *page, *label, *objects, *statesLabel, *states;
  };
  const LeftNames names[] = {
      {"pItemTabPage", "pItmLabel", "pItemSelectorList", "pItmStatesLabel", "pItmStatesSelectorList"},
      {"pResourceTabPage", "pResLabel", "pResSelectorList", "presStatesLabel", "pResStatesSelectorList"}};
  for (int side = Items; side <= Resources; ++side) {
    auto* page = leftTabs_->Add<TavDlgTabPage>(names[side].page);
    page->Add<TavDlgLabel>(names[side].label);
    left_[side].objects = page->Add<OrvVekStateSelectorList>(names[side].objects);
    page->Add<TavDlgLabel>(names[side].statesLabel);
    left_[side].states = page->Add<OrvVekStateSelectorList>(names[side].states);
    left_[side].states->SetMultiSelect(true);
    const Side s = static_cast<Side>(side);
    AddAnalyseNotificationCB(left_[side].objects, TavDlgNotification::Select, [this, s] {
      ShowStatesOfSelected(s);
      UpdateButtons();
    });
    AddAnalyseNotificationCB(left_[side].states, TavDlgNotification::Select, [this] { UpdateButtons(); });
  }
  leftTabs_->SetSelectedPage(names[Items].page);
  AddAnalyseNotificationCB(leftTabs_, TavDlgNotification::Select, [this] { UpdateButtons(); });

  auto* buttons = frame->Add<TavDlgFrame>("pButtonFrame");
  add_ = buttons->Add<TavDlgPushButton>("pAddPb");
  remove_ = buttons->Add<TavDlgPushButton>("pRemPb");
  AddAnalyseNotificationCB(add_, TavDlgNotification::Activate, [this] { WhenAddButtonPushed(); });
  AddAnalyseNotificationCB(remove_, TavDlgNotification::Activate, [this] { WhenRemoveButtonPushed(); });

  rightTabs_ = frame->Add<TavDlgTabContainer>("pBegEnd3DTabContainer");
  const char* labels[] = {"pLabel1", "pLabel3", "pLabel4"};
  const char* lists[] = {"pBeginSelectorList", "p3DSelectorList", "pEndSelectorList"};
  for (int p = Begin; p <= End; ++p) {
    auto* page = rightTabs_->Add<TavDlgTabPage>(kPageNames[p]);
    page->Add<TavDlgLabel>(labels[p]);
    right_[p] = page->Add<OrvVekStateSelectorList>(lists[p]);
    right_[p]->SetMultiSelect(true);
    AddAnalyseNotificationCB(right_[p], TavDlgNotification::Select, [this] { UpdateButtons(); });
  }
  rightTabs_->SetSelectedPage(kPageNames[Begin]);
  AddAnalyseNotificationCB(rightTabs_, TavDlgNotification::Select, [this] { WhenRightPageChanged(); });

  auto* findFrame = Add<TavDlgFrame>("pFindFrame");
  findFrame->Add<TavDlgLabel>("pFindLabel");
  find_ = findFrame->Add<TavDlgEditor>("pFindEditor");
  AddAnalyseNotificationCB(find_, TavDlgNotification::Leave, [this] { SearchListForName(); });

  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  // The dialog's OK, from its button or from the window, writes first; the command
  // reads IsOKDone when the same notification reaches it.
  AddAnalyseNotificationCB(this, TavDlgNotification::OK, [this] { OnOK(); });
  UpdateButtons();
}

void OrvVekActivitiesStateDlg::Initialize(const Ref<TavBaseUnknown>& object) {
  TavTraceScope scope(Trace(), kClass, "Initialize");
  auto editor = TavFrmEditor::GetCurrentEditor();
  auto doc = editor ? editor->GetDocument() : nullptr;
  if (!doc || !object) return;
  object_ = object;
  isActivity_ = query<TavISPPActivity>(object) != nullptr;
  okDone_ = false;
  factory_ = OrvFactoryOnState(doc);
  SetTitle(Text("myTitle", "State Conditions of") + " " + NameOf(object));
  if (rightTabs_) rightTabs_->SetSelectedPage(kPageNames[Begin]);
  FillLeftLists();
  ReadExistingConditions();
  UpdateButtons();
}

OrvVekActivitiesStateDlg::Page OrvVekActivitiesStateDlg::ShownPage() const {
  const std::string shown = rightTabs_ ? rightTabs_->GetSelectedPage() : std::string();
  for (int p = Begin; p <= End; ++p)
    if (shown == kPageNames[p]) return static_cast<Page>(p);
  return Begin;
}

OrvVekActivitiesStateDlg::Side OrvVekActivitiesStateDlg::ShownSide() const {
  return leftTabs_ && leftTabs_->GetSelectedPage() == "pResourceTabPage" ? Resources : Items;
}

void OrvVekActivitiesStateDlg::WhenRightPageChanged() {
  TavTraceScope scope(Trace(), kClass, "WhenRightPageChanged");
  FillLeftLists();
  SearchListForName();
  UpdateButtons();
}

OrvVekActivitiesStateDlg::States OrvVekActivitiesStateDlg::SelectedLeftStates() const {
  States out;
  const auto& page = left_[ShownSide()];
  if (!page.states) return out;
  for (int r : page.states->GetSelect())
    if (r >= 0 && r < static_cast<int>(page.shownStates.size())) out.push_back(page.shownStates[static_cast<std::size_t>(r)]);
  return out;
}

void OrvVekActivitiesStateDlg::UpdateButtons() {
  if (!add_ || !remove_) return;
  const Page page = ShownPage();
  bool canAdd = false;
  for (auto& s : SelectedLeftStates()) canAdd = canAdd || CanAdd(page, s);
  add_->SetSensitivity(canAdd);
  remove_->SetSensitivity(right_[page] && right_[page]->GetSelectCount() > 0);
}

void OrvVekActivitiesStateDlg::SearchListForName() {
  TavTraceScope scope(Trace(), kClass, "SearchListForName");
  if (!find_) return;
  const std::string text = find_->GetText().ToLower().utf8();
  if (text.empty()) return;  // an empty text would select every line
  auto matching = [&](const TavDlgLines* list) {
    std::vector<int> rows;
    for (int i = 0; list && i < list->GetLineCount(); ++i)
      if (list->GetLine(i).ToLower().Contains(text)) rows.push_back(i);
    return rows;
  };
  const Side side = ShownSide();
  auto& page = left_[side];
  // The object list selects one line: the first object that matches shows its states.
  if (auto rows = matching(page.objects); !rows.empty() && page.objects) {
    page.objects->SelectRows({rows.front()});
    ShowStatesOfSelected(side);
  }
  if (page.states) page.states->SelectRows(matching(page.states));
  if (auto* list = right_[ShownPage()]) list->SelectRows(matching(list));
  UpdateButtons();
}

bool OrvVekActivitiesStateDlg::OnOK() {
  TavTraceScope scope(Trace(), kClass, "OnOK");
  okDone_ = false;
  if (!object_) return false;
  if (!isActivity_) return CreateConditionsForResourceBehavior();
  TavSavepoint mark;  // a failed step takes back the steps before it
  TavError::TavCleanLastError();
  ActivityLists lists(object_);
  return FinishOK(WriteSteps(lists, object_), mark);
}

bool OrvVekActivitiesStateDlg::CreateConditionsForResourceBehavior() {
  TavTraceScope scope(Trace(), kClass, "CreateConditionsForResourceBehavior");
  okDone_ = false;
  if (!object_) return false;
  TavSavepoint mark;  // takes back a behaviour made here too
  TavError::TavCleanLastError();
  int canHave = 0;
  bool existed = false;
  Ref<OrvIResourceBehavior> behavior;
  if (FAILED(OrvVekServices::GetResourceBehavior(object_, canHave, behavior, existed)) || !behavior)
    return FinishOK(kNoBehavior, mark);
  BehaviorLists lists(query<OrvIResourceStatesCondition>(behavior));
  return FinishOK(WriteSteps(lists, behavior), mark);
}

int OrvVekActivitiesStateDlg::WriteSteps(ConditionLists& lists, const Ref<TavBaseUnknown>& holder) {
  for (int p = Begin; p <= End; ++p) {
    const Page page = static_cast<Page>(p);
    if (FAILED(lists.Remove(page, lists.Get(page)))) return p;
    if (FAILED(lists.Add(page, lists_[p]))) return p;
    for (auto& s : lists_[p]) {
      auto mgt = query<OrvIStateMgt>(s);
      if (!mgt || FAILED(mgt->SetRelation(holder, kLinked[p]))) return p;
    }
    for (auto& s : existing_[p]) {
      if (Contains(lists_[p], s)) continue;
      auto mgt = query<OrvIStateMgt>(s);
      if (!mgt || FAILED(mgt->SetRelation(holder, kUnlinked[p]))) return p;
    }
  }
  return -1;
}

bool OrvVekActivitiesStateDlg::FinishOK(int failedPage, TavSavepoint& mark) {
  if (failedPage < 0 && failedPage != kNoBehavior) {
    okDone_ = true;
    SetVisibility(false);
    return true;
  }
  // The host's reason, read before the roll-back can replace it.
  TavUnicodeString reason;
  if (auto e = TavError::TavGetLastError(E_FAIL)) reason = e->GetNLSMessage();
  TavError::TavCleanLastError();
  std::string rollbackError;
  const bool back = mark.RollBack(&rollbackError);

  static const char* kKindKeys[] = {"Kind.Begin", "Kind.Context3D", "Kind.End"};
  static const char* kKindFallbacks[] = {"begin conditions", "3D context", "end conditions"};
  const TavUnicodeString kind = failedPage == kNoBehavior
                                    ? Text("Kind.Behavior", "behaviour of the resource")
                                    : Text(kKindKeys[failedPage], kKindFallbacks[failedPage]);
  TavUnicodeString text = Text("Error.Message", "The /P1 could not be written; nothing was changed.", {kind});
  if (!reason.IsEmpty()) text += " " + reason;
  if (!back)
    text += " " + Text("Error.NotTakenBack", "The changes made before could not be taken back: /P1", {rollbackError});
  TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
  box.DisplayBox(Text("Error.Title", "State Conditions"), text);
  box.DisplayBlocked();
  return false;
}
