#pragma once
// The change-order notes of a hub comparison, taken when the results dialog closes
// with OK: the note of the modified root's one change order, or (with both a begin
// and an end change order) of the one chosen in a combo. OK writes the edited notes
// onto the hub record; Cancel changes nothing.
#include <functional>
#include <vector>

#include "TavDialog.h"
#include "TavYor.h"

struct OrvVekCompareChangeOrder {
  TavUnicodeString slot;  // TavIYorAttributeMgt::kChangeOrderBegin or kChangeOrderEnd
  TavUnicodeString name, note;
};

// What both dialogs share: the record, the notes editor and the answer.
class OrvVekCompareChangeOrderBase : public TavDlgDialog {
public:
  // `done(true)` once the notes are written, `done(false)` on Cancel.
  OrvVekCompareChangeOrderBase(TavDlgWidget* father, std::string name, Ref<TavIYorAttributeMgt> mgt,
                               Ref<TavBaseUnknown> object, std::vector<OrvVekCompareChangeOrder> orders,
                               std::function<void(bool)> done);
  const std::vector<OrvVekCompareChangeOrder>& Orders() const { return orders_; }

protected:
  // Writes every note edited; false with an error window (the record keeps the
  // notes not yet written) when one cannot be written.
  bool WriteNotes();
  TavUnicodeString SlotText(const TavUnicodeString& slot) const;
  TavDlgEditor* notes_ = nullptr;
  std::vector<OrvVekCompareChangeOrder> orders_;
  std::vector<TavUnicodeString> edited_;  // per order, the note as the user left it
  int shown_ = 0;                         // the order the editor shows

private:
  Ref<TavIYorAttributeMgt> mgt_;
  Ref<TavBaseUnknown> object_;
  std::function<void(bool)> done_;
};

// One change order: its name shown, its note edited.
class OrvVekCompareChangeOrderDlg : public OrvVekCompareChangeOrderBase {
public:
  OrvVekCompareChangeOrderDlg(TavDlgWidget* father, Ref<TavIYorAttributeMgt> mgt, Ref<TavBaseUnknown> object,
                              OrvVekCompareChangeOrder order, std::function<void(bool)> done);
  bool OnChangeOrderDlgOK() { return WriteNotes(); }
};

// The begin and the end change orders: the combo chooses whose note is edited.
class OrvVekCompareChangeOrderComboDlg : public OrvVekCompareChangeOrderBase {
public:
  OrvVekCompareChangeOrderComboDlg(TavDlgWidget* father, Ref<TavIYorAttributeMgt> mgt, Ref<TavBaseUnknown> object,
                                   std::vector<OrvVekCompareChangeOrder> orders, std::function<void(bool)> done);
  bool OnChangeOrderComboDlgOK() { return WriteNotes(); }

private:
  void OnComboSelect();
  TavDlgCombo* combo_ = nullptr;
};
