#include "WexReplacePartsDlg.h"

#include "TavServices.h"

namespace {
TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(WexReplacePartsDlg::kCatalog, key, params, fallback);
}
TavUnicodeString NameOf(const Ref<TavIProduct>& p) { return p ? p->GetName() : TavUnicodeString("?"); }
}  // namespace

WexReplacePartsDlg::WexReplacePartsDlg(TavDlgWidget* father) : TavDlgDialog(father, "WexReplacePartsDlg", 0, kCatalog) {
  SetTitle(Msg("Title", "Replace Parts"));
}

void WexReplacePartsDlg::Build() { Add<TavDlgLabel>("NameLabel"); }

void WexReplacePartsDlg::SetParts(const Ref<TavIProduct>& oldPart, const Ref<TavIProduct>& newPart) {
  if (auto* label = dynamic_cast<TavDlgLabel*>(Find("NameLabel")))
    label->SetTitle(Msg("NameLabel.Title", "Replace /P1 by /P2 wherever the process consumes or outputs it?",
                        {NameOf(oldPart), NameOf(newPart)}));
}
