#pragma once
// The linker's choice: insert a "Switch" after the source, an "OrIn" before the
// target, or neither. A row is sensitive only where a choice is needed.
#include "TavDialog.h"

class OrvVekLinkDialog : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekLinkDialog";
  explicit OrvVekLinkDialog(TavDlgWidget* father = nullptr);
  ~OrvVekLinkDialog() override;
  void UpdateDialog(const TavUnicodeString& firstName, int firstNeedChoice, int addSwitch, const TavUnicodeString& secondName,
                    int secondNeedChoice, int addOrIn);
  // 1 for a flag only when its row is sensitive and checked.
  void GetData(int* addSwitch, int* addOrIn) const;

private:
  struct Row {
    TavDlgFrame* frame;
    TavDlgLabel* label;
    TavDlgEditor* text;
    TavDlgCheckButton* check;
  };
  Row MakeRow(const char* prefix);
  Row output_{}, input_{};
  TavDlgPushButton *ok_ = nullptr, *cancel_ = nullptr;
};
