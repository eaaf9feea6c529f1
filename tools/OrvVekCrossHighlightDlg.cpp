#include "OrvVekCrossHighlightDlg.h"

#include <cstring>

#include "TavServices.h"
#include "TavSettingComponents.h"

namespace {
// A box's place in the table, or the table's size for no box.
std::size_t PlaceOf(const char* name) {
  const auto& table = OrvVekCrossHighlightBoxes();
  std::size_t i = 0;
  while (i < table.size() && std::strcmp(table[i].name, name) != 0) ++i;
  return i;
}
}  // namespace

OrvVekCrossHighlightDlg::OrvVekCrossHighlightDlg(TavDlgWidget* father) : TavDlgDialog(father, kName) {}

void OrvVekCrossHighlightDlg::Build() {
  Add<TavDlgLabel>("Label");
  // Three frames one under the other; the boxes in the frames' order.
  const std::array<std::pair<const char*, std::vector<const char*>>, 3> frames = {{
      {"FrameResource", {"PFPP", "PPP", "PCP", "PRP", "PIR"}},
      {"FrameResource2", {"PUR", "PROR", "PAR", "PDR"}},
      {"FrameResource3", {"DC"}},
  }};
  for (const auto& [frameName, names] : frames) {
    auto* frame = Add<TavDlgFrame>(frameName);
    for (const char* name : names) {
      auto* box = frame->Add<TavDlgCheckButton>(name);
      boxes_[PlaceOf(name)] = box;
      AddAnalyseNotificationCB(box, TavDlgNotification::Modify, [this] { OnBoxModified(); });
    }
  }
}

TavDlgCheckButton* OrvVekCrossHighlightDlg::Box(const char* name) const {
  const std::size_t i = PlaceOf(name);
  return i < boxes_.size() ? boxes_[i] : nullptr;
}

void OrvVekCrossHighlightDlg::Update() {
  // Without the settings component every box starts checked, as an unreadable value does.
  const bool available = TavSettingComponents::CanCreate(kSettings);
  const TavRepository* settings = available ? &TavSettingRepository::GetRepository(kSettings) : nullptr;
  const auto& table = OrvVekCrossHighlightBoxes();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (!boxes_[i]) continue;
    bool checked = true;
    if (settings)
      if (auto value = settings->Read(table[i].name))
        if (const bool* b = std::get_if<bool>(&*value)) checked = *b;
    boxes_[i]->SetState(checked);
  }
}

int OrvVekCrossHighlightDlg::GetValues() const {
  const auto& table = OrvVekCrossHighlightBoxes();
  int value = 0;
  for (std::size_t i = 0; i < table.size(); ++i)
    if (boxes_[i] && boxes_[i]->GetState()) value += table[i].value;
  return value;
}

void OrvVekCrossHighlightDlg::OnBoxModified() {
  SetChangeFinished(false);
  Notify(TavDlgNotification::Apply);
}
