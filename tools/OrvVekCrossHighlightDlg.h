#pragma once
// The cross highlight's options: which relation kinds count. It stays open while the
// planner picks; each change of a box is applied at once (the dialog's APPLY), and
// closing or cancelling it sends its CLOSE.
#include <array>

#include "OrvVekCrossHighlightRelations.h"
#include "TavDialog.h"

class OrvVekCrossHighlightDlg : public TavDlgDialog {
public:
  static constexpr const char* kName = "OrvVekCrossHighlightDlg";
  // The planner's settings: one bool per box, under the box's name.
  static constexpr const char* kSettings = "OrvDSICrossHighlightSettingCtrl";

  explicit OrvVekCrossHighlightDlg(TavDlgWidget* father = nullptr);
  void Build() override;
  // Each box from the settings, in the table's order; one that cannot be read starts checked.
  void Update();
  // The sum of the checked boxes' values.
  int GetValues() const;
  OrvVekCrossHighlightFlags GetChecks() const { return OrvVekCrossHighlightFlags::FromValue(GetValues()); }
  TavDlgCheckButton* Box(const char* name) const;

  // Cleared by every change of a box; the command sets it once it has applied the change.
  void SetChangeFinished(bool finished) { changeFinished_ = finished; }
  bool GetChangeFinished() const { return changeFinished_; }

private:
  void OnBoxModified();
  std::array<TavDlgCheckButton*, 10> boxes_{};  // in the table's order
  bool changeFinished_ = true;
};
