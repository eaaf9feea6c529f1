#include "OrvVekLinkDialog.h"

#include <algorithm>

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekLinkDialog::kCatalog, key, {}, fallback);
}

TavUnicodeString Padded(const TavUnicodeString& text, std::size_t width) {
  std::string s = text.utf8();
  const std::size_t length = text.GetLengthInChar();
  if (length < width) s.append(width - length, ' ');
  return TavUnicodeString(std::move(s));
}
}  // namespace

OrvVekLinkDialog::OrvVekLinkDialog(TavDlgWidget* father) : TavDlgDialog(father, "OrvVekLinkDialog", 0, kCatalog) {
  SetVisibility(false);
  SetTitle(Text("Title", "Link Activities"));
  output_ = MakeRow("Output");
  input_ = MakeRow("Input");
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

OrvVekLinkDialog::~OrvVekLinkDialog() {
  RemoveAnalyseNotificationCB(ok_, TavDlgNotification::Activate);
  RemoveAnalyseNotificationCB(cancel_, TavDlgNotification::Activate);
}

OrvVekLinkDialog::Row OrvVekLinkDialog::MakeRow(const char* prefix) {
  const std::string p(prefix);
  Row r{};
  r.frame = Add<TavDlgFrame>(p + "Frame");
  r.label = r.frame->Add<TavDlgLabel>(p + "Label");
  r.text = r.frame->Add<TavDlgEditor>(p + "Text");
  r.text->SetReadOnly(true);
  r.check = r.frame->Add<TavDlgCheckButton>(p + "Check");
  r.check->SetTitle(Text((p + "Check.Title").c_str(), prefix == std::string("Output") ? "Insert a Switch" : "Insert an OrIn"));
  return r;
}

void OrvVekLinkDialog::UpdateDialog(const TavUnicodeString& firstName, int firstNeedChoice, int addSwitch,
                                    const TavUnicodeString& secondName, int secondNeedChoice, int addOrIn) {
  auto line = [](const TavUnicodeString& name, int need) {
    return name + " " + (need ? Text("ActivityLinked", "(already linked)") : Text("ActivityNotLinked", "(no choice needed)"));
  };
  const TavUnicodeString first = line(firstName, firstNeedChoice), second = line(secondName, secondNeedChoice);
  const std::size_t width = std::max(first.GetLengthInChar(), second.GetLengthInChar());
  auto fill = [&](Row& r, const TavUnicodeString& text, int need, int flag) {
    r.check->SetState(flag != 0);
    r.text->SetText(Padded(text, width));
    r.label->SetTitle(need ? Text("ChoiceText", "Choose:") : Text("NoChoiceText", "Nothing to choose:"));
    r.frame->SetSensitivity(need != 0);
  };
  fill(output_, first, firstNeedChoice, addSwitch);
  fill(input_, second, secondNeedChoice, addOrIn);
}

void OrvVekLinkDialog::GetData(int* addSwitch, int* addOrIn) const {
  if (addSwitch) *addSwitch = output_.frame->IsSensitive() && output_.check->GetState() ? 1 : 0;
  if (addOrIn) *addOrIn = input_.frame->IsSensitive() && input_.check->GetState() ? 1 : 0;
}
