#include "OrvVekCompareChangeOrderDlg.h"

#include "TavServices.h"

namespace {
constexpr const char* kCatalog = "OrvVekCompareChangeOrderDlg";
TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(kCatalog, key, params, fallback);
}
}  // namespace

OrvVekCompareChangeOrderBase::OrvVekCompareChangeOrderBase(TavDlgWidget* father, std::string name, Ref<TavIYorAttributeMgt> mgt,
                                                           Ref<TavBaseUnknown> object, std::vector<OrvVekCompareChangeOrder> orders,
                                                           std::function<void(bool)> done)
    : TavDlgDialog(father, std::move(name), 0, kCatalog),
      orders_(std::move(orders)),
      mgt_(std::move(mgt)),
      object_(std::move(object)),
      done_(std::move(done)) {
  for (auto& o : orders_) edited_.push_back(o.note);
  SetTitle(Text("ChangeOrderDlg.Title", "Change-Order Notes"));
}

TavUnicodeString OrvVekCompareChangeOrderBase::SlotText(const TavUnicodeString& slot) const {
  return slot == TavIYorAttributeMgt::kChangeOrderBegin ? Text("ChangeOrderBegin", "Change order (begin)")
                                                        : Text("ChangeOrderEnd", "Change order (end)");
}

bool OrvVekCompareChangeOrderBase::WriteNotes() {
  if (notes_ && shown_ >= 0 && static_cast<std::size_t>(shown_) < edited_.size()) edited_[static_cast<std::size_t>(shown_)] = notes_->GetText();
  for (std::size_t i = 0; i < orders_.size(); ++i) {
    if (edited_[i] == orders_[i].note) continue;
    if (!mgt_ || mgt_->SetRecordObjectField(object_, orders_[i].slot, "note", edited_[i]) != S_OK) {
      TavDlgNotify box(nullptr, "OrvVekCompareChangeOrderError", TavDlgNotify::Error);
      box.DisplayBox(Text("Error.Title", "Change-Order Notes"),
                     Text("WriteFailed", "The note of /P1 could not be written onto the hub record.", {orders_[i].name}));
      box.DisplayBlocked();
      return false;
    }
    orders_[i].note = edited_[i];
  }
  SetVisibility(false);
  if (done_) done_(true);
  return true;
}

OrvVekCompareChangeOrderDlg::OrvVekCompareChangeOrderDlg(TavDlgWidget* father, Ref<TavIYorAttributeMgt> mgt,
                                                         Ref<TavBaseUnknown> object, OrvVekCompareChangeOrder order,
                                                         std::function<void(bool)> done)
    : OrvVekCompareChangeOrderBase(father, "OrvVekCompareChangeOrderDlg", std::move(mgt), std::move(object), {std::move(order)},
                                   std::move(done)) {
  auto* nameFrame = Add<TavDlgFrame>("ChangeOrderNameFrame");
  nameFrame->Add<TavDlgLabel>("ChangeOrderNameLabel")->SetTitle(SlotText(orders_[0].slot));
  auto* name = nameFrame->Add<TavDlgEditor>("ChangeOrderName");
  name->SetText(orders_[0].name);
  name->SetReadOnly(true);  // the hub's name of the change order
  auto* notesFrame = Add<TavDlgFrame>("ChangeOrderNotesFrame");
  notesFrame->Add<TavDlgLabel>("ChangeOrderNotesLabel");
  notes_ = notesFrame->Add<TavDlgEditor>("ChangeOrderNotes");
  notes_->SetText(orders_[0].note);
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(this, TavDlgNotification::OK, [this] { OnChangeOrderDlgOK(); });
  AddAnalyseNotificationCB(this, TavDlgNotification::Cancel, [this] { SetVisibility(false); });
}

OrvVekCompareChangeOrderComboDlg::OrvVekCompareChangeOrderComboDlg(TavDlgWidget* father, Ref<TavIYorAttributeMgt> mgt,
                                                                   Ref<TavBaseUnknown> object,
                                                                   std::vector<OrvVekCompareChangeOrder> orders,
                                                                   std::function<void(bool)> done)
    : OrvVekCompareChangeOrderBase(father, "OrvVekCompareChangeOrderComboDlg", std::move(mgt), std::move(object), std::move(orders),
                                   std::move(done)) {
  auto* comboFrame = Add<TavDlgFrame>("ChangeOrderComboFrame");
  comboFrame->Add<TavDlgLabel>("ChangeOrderComboLabel");
  combo_ = comboFrame->Add<TavDlgCombo>("ChangeOrderCombo");
  for (auto& o : orders_) combo_->SetLine(SlotText(o.slot) + ": " + o.name);
  combo_->SetSelect(0);
  auto* notesFrame = Add<TavDlgFrame>("ChangeOrderNotesFrame");
  notesFrame->Add<TavDlgLabel>("ChangeOrderNotesLabel");
  notes_ = notesFrame->Add<TavDlgEditor>("ChangeOrderNotes");
  notes_->SetText(orders_.empty() ? TavUnicodeString() : orders_[0].note);
  AddAnalyseNotificationCB(combo_, TavDlgNotification::Select, [this] { OnComboSelect(); });
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(this, TavDlgNotification::OK, [this] { OnChangeOrderComboDlgOK(); });
  AddAnalyseNotificationCB(this, TavDlgNotification::Cancel, [this] { SetVisibility(false); });
}

// The note being edited stays with its change order while the other one is shown.
void OrvVekCompareChangeOrderComboDlg::OnComboSelect() {
  const auto sel = combo_->GetSelect();
  if (sel.empty() || static_cast<std::size_t>(sel[0]) >= orders_.size()) return;
  edited_[static_cast<std::size_t>(shown_)] = notes_->GetText();
  shown_ = sel[0];
  notes_->SetText(edited_[static_cast<std::size_t>(shown_)]);
}
