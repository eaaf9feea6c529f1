#include "OrvVekActivitySynchronisationDlg.h"

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekActivitySynchronisationDlg::kCatalog, key, params, fallback);
}
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
    widgets_[i] = page->Add<TavDlgMultiList>(lists[i]);
    widgets_[i]->SetColumnTitles({Text(headers[i], fallbacks[i])});
    widgets_[i]->SetMultiSelect(true);
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
  lists_[Index(selection)].Assign(activities);
  Refill(selection);
}

bool OrvVekActivitySynchronisationDlg::AddToList(const Ref<TavBaseUnknown>& activity) {
  if (!lists_[Index(shown_)].Add(activity)) return false;
  Refill(shown_);
  return true;
}

bool OrvVekActivitySynchronisationDlg::IsListed(int selection, const Ref<TavBaseUnknown>& activity) const {
  return lists_[Index(selection)].Contains(activity);
}

void OrvVekActivitySynchronisationDlg::SetStartEndSelection(int selection) {
  shown_ = Index(selection);
  tabs_->SetSelectedPage(kPages[shown_]);
}

void OrvVekActivitySynchronisationDlg::OnRemove() {
  lists_[Index(shown_)].RemoveRows(widgets_[Index(shown_)]->GetSelect());
  Refill(shown_);
}

void OrvVekActivitySynchronisationDlg::OnTabSelect() { shown_ = tabs_->GetSelectedPage() == kPages[1] ? kEndEnd : kStartStart; }

void OrvVekActivitySynchronisationDlg::Refill(int selection) {
  TavDlgMultiList* widget = widgets_[Index(selection)];
  widget->ClearLine();
  for (auto& a : lists_[Index(selection)].Items()) widget->SetColumnItem(0, Label(a));
}
