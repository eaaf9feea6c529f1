#include "OrvVekConstraintToPrevCycleDlg.h"

#include <algorithm>

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekConstraintToPrevCycleDlg::kCatalog, key, params, fallback);
}

int ModelNumber(const Ref<TavBaseUnknown>& o) {
  auto id = query<TavIModelIdentity>(o);
  return id ? id->GetModelNumber() : -1;
}

TavUnicodeString Label(const Ref<TavBaseUnknown>& o) {
  auto a = query<TavISPPAbstractActivity>(o);
  return a ? a->GetLabel() : TavUnicodeString();
}
}  // namespace

OrvVekConstraintToPrevCycleDlg::OrvVekConstraintToPrevCycleDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekConstraintToPrevCycleDlg", 0, kCatalog) {
  SetVisibility(false);
  auto* frame = Add<TavDlgFrame>("FrameConstraint");
  rows_ = frame->Add<TavDlgMultiList>("ConstraintsList");
  rows_->SetColumnTitles({Text("ConstraintsList.Column", "Previous Cycle Constraints"), Text("ConstraintsList.IdColumn", "Id")});
  remove_ = frame->Add<TavDlgPushButton>("Remove");
  remove_->SetTitle(Text("Remove.Title", "Remove"));
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(remove_, TavDlgNotification::Activate, [this] { RemoveSelected(); });
}

OrvVekConstraintToPrevCycleDlg::~OrvVekConstraintToPrevCycleDlg() {
  for (auto* w : {ok_, cancel_, remove_}) RemoveAnalyseNotificationCB(w, TavDlgNotification::Activate);
}

void OrvVekConstraintToPrevCycleDlg::SetActivity(const Ref<TavBaseUnknown>& activity,
                                                 const std::vector<Ref<TavBaseUnknown>>& constraints) {
  SetTitle(Text("BaseTitle", "Constraints to the Previous Cycle of /P1", {Label(activity)}));
  list_.clear();
  ids_.clear();
  for (const auto& c : constraints) AddToList(c);
  Refill();
}

bool OrvVekConstraintToPrevCycleDlg::AddToList(const Ref<TavBaseUnknown>& activity) {
  const int id = ModelNumber(activity);
  if (id < 0 || std::find(ids_.begin(), ids_.end(), id) != ids_.end()) return false;
  list_.push_back(activity);
  ids_.push_back(id);
  Refill();
  return true;
}

void OrvVekConstraintToPrevCycleDlg::RemoveSelected() {
  auto rows = rows_->GetSelect();
  std::sort(rows.rbegin(), rows.rend());
  for (int r : rows)
    if (r >= 0 && r < static_cast<int>(list_.size())) {
      list_.erase(list_.begin() + r);
      ids_.erase(ids_.begin() + r);
    }
  Refill();
}

void OrvVekConstraintToPrevCycleDlg::Refill() {
  rows_->ClearLine();
  for (std::size_t i = 0; i < list_.size(); ++i) {
    rows_->SetColumnItem(0, Label(list_[i]));
    rows_->SetColumnItem(1, TavUnicodeString(std::to_string(ids_[i])), static_cast<int>(i));
  }
}
