#include "OrvVekCopyProcessAttachedRscDlg.h"

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekCopyProcessAttachedRscDlg::kCatalog, key, {}, fallback);
}
std::string Named(const char* widget, std::size_t row) { return std::string(widget) + "#" + std::to_string(row + 1); }
}  // namespace

OrvVekCopyProcessAttachedRscDlg::OrvVekCopyProcessAttachedRscDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekCopyProcessAttachedRscDlg", 0, kCatalog) {
  SetTitle(Text("OrvVekCopyProcessAttachedRscDlg.Title", "Resources to Copy"));
  resources_ = Add<TavDlgFrame>("ResourcesFrame");
  resources_->SetTitle(Text("ResourcesFrame.Title", "Resource"));
  names_ = Add<TavDlgFrame>("NewNameFrame");
  names_->SetTitle(Text("NewNameFrame.Title", "Name of the copy"));
  parents_ = Add<TavDlgFrame>("ParentFrame");
  parents_->SetTitle(Text("ParentFrame.Title", "Father of the copy"));
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

void OrvVekCopyProcessAttachedRscDlg::SetRows(const std::vector<Row>& rows) {
  for (auto& w : rows_) {
    RemoveAnalyseNotificationCB(w.remove, TavDlgNotification::Activate);
    RemoveAnalyseNotificationCB(w.dot, TavDlgNotification::Activate);
    RemoveAnalyseNotificationCB(w.name, TavDlgNotification::Modify);
  }
  rows_.clear();
  dots_.clear();
  for (auto* f : {resources_, names_, parents_}) f->RemoveChildren();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Widgets w{};
    w.resource = resources_->Add<TavDlgEditor>(Named("ResourceTextEditor", i));
    w.resource->SetText(rows[i].resource);
    w.resource->SetReadOnly(true);
    w.name = names_->Add<TavDlgEditor>(Named("NewNameTextEditor", i));
    w.name->SetText(rows[i].newName);
    w.parent = parents_->Add<TavDlgEditor>(Named("ParentTextEditor", i));
    w.parent->SetText(rows[i].parent);
    w.parent->SetReadOnly(true);
    w.remove = parents_->Add<TavDlgPushButton>(Named("RemoveParentButton", i));
    w.remove->SetTitle(Text("RemoveParentButton.Title", "X"));
    w.dot = parents_->Add<TavDlgPushButton>(Named("DotPushButton", i));
    w.dot->SetTitle(Text("DotPushButton.Title", "..."));
    for (TavDlgWidget* x : std::initializer_list<TavDlgWidget*>{w.name, w.parent, w.remove, w.dot})
      x->SetSensitivity(rows[i].editable);
    const int row = static_cast<int>(i);
    AddAnalyseNotificationCB(w.remove, TavDlgNotification::Activate, [this, row] { SetParentName(row, {}); });
    AddAnalyseNotificationCB(w.dot, TavDlgNotification::Activate, [this, row] { pushed_ = row; });
    AddAnalyseNotificationCB(w.name, TavDlgNotification::Modify, [this, row] {
      if (onName_) onName_(row);
    });
    rows_.push_back(w);
    dots_.push_back(w.dot);
  }
}

TavUnicodeString OrvVekCopyProcessAttachedRscDlg::GetNewName(int row) const {
  return row >= 0 && row < GetRowCount() ? rows_[row].name->GetText() : TavUnicodeString();
}

TavUnicodeString OrvVekCopyProcessAttachedRscDlg::GetParentName(int row) const {
  return row >= 0 && row < GetRowCount() ? rows_[row].parent->GetText() : TavUnicodeString();
}

void OrvVekCopyProcessAttachedRscDlg::SetParentName(int row, const TavUnicodeString& name) {
  if (row >= 0 && row < GetRowCount()) rows_[row].parent->SetText(name);
}

void OrvVekCopyProcessAttachedRscDlg::SetNewName(int row, const TavUnicodeString& name) {
  if (row >= 0 && row < GetRowCount()) rows_[row].name->SetText(name);
}
