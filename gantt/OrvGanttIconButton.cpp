#include "OrvGanttIconButton.h"

void OrvGanttIconButton::DumpDetails(std::string& out, int indent) const {
  TavDlgPushButton::DumpDetails(out, indent);
  if (!icon_.empty()) out += " [icon " + icon_ + "]";
}
