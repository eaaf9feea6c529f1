#include "OrvVekActivitySynchronisationDlg.h"

#include <algorithm>

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekActivitySynchronisationDlg::kCatalog, key, params, fallback);
}
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

TavUnicodeString Label(const Ref<TavBaseUnknown>& o) {
  auto a = query<TavISPPAbstractActivity>(o);
  return a ? a->GetLabel() : TavUnicodeString();
}
constexpr const char* kPages[2] = {"StartStartTab", "EndEndTab"};
}  // namespace

OrvVekActivitySynchronisationDlg::OrvVekActivitySynchronisationDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekActivitySynchronisationDlg", 0, kCatalog) {
  SetVisibility(false);
  SetTitle(Text("BaseTitle", "Activity Synchronisation"));
  auto* frame = Add<TavDlgFrame>("FrameActSync");
  tabs_ = frame->Add<TavDlgTabContainer>("TabContainer");
  const char* lists[2] = {"StartStartList", "EndEndList"};
  const char* headers[2] = {"StartStartListHeader", "EndEndListHeader"};
  const char* fallbacks[2] = {"Activities starting together", "Activities ending together"};
  for (int i = 0; i < 2; ++i) {
    auto* page = tabs_->Add<TavDlgTabPage>(kPages[i]);
    page->SetTitle(Text((std::string(kPages[i]) + ".Title").c_str(), i ? "End-End" : "Start-Start"));
    lists_[i].widget = page->Add<TavDlgMultiList>(lists[i]);
    lists_[i].widget->SetColumnTitles({Text(headers[i], fallbacks[i])});
    lists_[i].widget->SetMultiSelect(true);
  }
  tabs_->SetSelectedPage(kPages[0]);
  remove_ = frame->Add<TavDlgPushButton>("Remove");
  remove_->SetTitle(Text("Remove.Title", "Remove"));
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  apply_ = AddNotifyingButton("Apply", TavDlgNotification::Apply, "Apply");
  close_ = AddNotifyingButton("Close", TavDlgNotification::Close, "Close");
  AddAnalyseNotificationCB(remove_, TavDlgNotification::Activate, [this] { OnRemove(); });
  AddAnalyseNotificationCB(tabs_, TavDlgNotification::Select, [this] { OnTabSelect(); });
}

OrvVekActivitySynchronisationDlg::~OrvVekActivitySynchronisationDlg() {
  for (auto* w : {ok_, apply_, close_, remove_}) RemoveAnalyseNotificationCB(w, TavDlgNotification::Activate);
  RemoveAnalyseNotificationCB(tabs_, TavDlgNotification::Select);
}

void OrvVekActivitySynchronisationDlg::SetFirstActivity(const Ref<TavBaseUnknown>& activity) {
  SetTitle(Text("BaseTitle", "Activity Synchronisation of /P1", {Label(activity)}));
}

void OrvVekActivitySynchronisationDlg::InitializeList(int selection, const std::vector<Ref<TavBaseUnknown>>& activities) {
  List& l = lists_[Index(selection)];
  l.activities.clear();
  l.members.clear();
  for (auto& a : activities)
    if (a && l.members.insert(Key(a)).second) l.activities.push_back(a);
  Refill(selection);
}

bool OrvVekActivitySynchronisationDlg::AddToList(const Ref<TavBaseUnknown>& activity) {
  List& l = lists_[Index(shown_)];
  if (!activity || !l.members.insert(Key(activity)).second) return false;
  l.activities.push_back(activity);
  Refill(shown_);
  return true;
}

bool OrvVekActivitySynchronisationDlg::IsListed(int selection, const Ref<TavBaseUnknown>& activity) const {
  return activity && lists_[Index(selection)].members.count(Key(activity)) != 0;
}

void OrvVekActivitySynchronisationDlg::SetStartEndSelection(int selection) {
  shown_ = Index(selection);
  tabs_->SetSelectedPage(kPages[shown_]);
}

void OrvVekActivitySynchronisationDlg::OnRemove() {
  List& l = lists_[Index(shown_)];
  auto rows = l.widget->GetSelect();
  std::sort(rows.rbegin(), rows.rend());
  for (int r : rows)
    if (r >= 0 && r < static_cast<int>(l.activities.size())) {
      l.members.erase(Key(l.activities[r]));
      l.activities.erase(l.activities.begin() + r);
    }
  Refill(shown_);
}

void OrvVekActivitySynchronisationDlg::OnTabSelect() { shown_ = tabs_->GetSelectedPage() == kPages[1] ? kEndEnd : kStartStart; }

void OrvVekActivitySynchronisationDlg::Refill(int selection) {
  List& l = lists_[Index(selection)];
  l.widget->ClearLine();
  for (auto& a : l.activities) l.widget->SetColumnItem(0, Label(a));
}
