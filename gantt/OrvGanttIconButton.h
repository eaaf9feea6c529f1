#pragma once
// A push button that shows an icon (the arrows of the column dialog, the search
// dialog's save, delete and show-results buttons). The toolkit's buttons carry no
// image, so the icon's name is kept here and shown in the dump.
#include <string>

#include "TavDialog.h"

class OrvGanttIconButton : public TavDlgPushButton {
public:
  OrvGanttIconButton(TavDlgWidget* father, std::string name, std::string icon)
      : TavDlgPushButton(father, std::move(name)), icon_(std::move(icon)) {}
  const std::string& GetIconName() const { return icon_; }
  void SetIconName(std::string icon) { icon_ = std::move(icon); }

protected:
  void DumpDetails(std::string& out, int indent) const override;

private:
  std::string icon_;
};
