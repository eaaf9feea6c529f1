#include "OrvMfgAssyPartsList.h"

void OrvMfgAssyPartsList::SetRowIcon(int row, std::string icon) {
  if (row < 0 || row >= GetLineCount()) return;
  if (icons_.size() < static_cast<std::size_t>(GetLineCount())) icons_.resize(static_cast<std::size_t>(GetLineCount()));
  icons_[static_cast<std::size_t>(row)] = std::move(icon);
}

std::string OrvMfgAssyPartsList::GetRowIcon(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < icons_.size() ? icons_[static_cast<std::size_t>(row)] : std::string();
}

void OrvMfgAssyPartsList::ClearRows() {
  ClearLine();
  icons_.clear();
}

void OrvMfgAssyPartsList::DumpDetails(std::string& out, int indent) const {
  const std::string pad(static_cast<std::size_t>(indent + 1) * 2, ' ');
  out += " (" + std::to_string(visibleLines_) + " lines)";
  out += '\n' + pad + "columns:";
  for (auto& c : GetColumnTitles()) out += " | " + c.utf8();
  for (int i = 0; i < GetLineCount(); ++i) {
    out += '\n' + pad + (IsSelected(i) ? "* " : "- ") + std::to_string(i) + ":";
    for (int c = 0; c < GetColumnCount(); ++c) out += " | " + GetColumnItem(c, i).utf8();
    if (auto icon = GetRowIcon(i); !icon.empty()) out += " [icon " + icon + "]";
  }
}
