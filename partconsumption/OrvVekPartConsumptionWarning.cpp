#include "OrvVekPartConsumptionWarning.h"

#include "TavDialog.h"
#include "TavServices.h"

namespace {
constexpr int kWarningStyle = 0x8100200;
struct Shown {
  int count = 0;
  OrvVekWarningRecord last;
};
Shown& State() {
  static Shown s;
  return s;
}
}  // namespace

void OrvVekShowWriteWarning(const char* catalog, bool diskFull, const TavUnicodeString& path, const std::string& reason) {
  if (!TavApplicationFrame::HasMainWindow()) return;
  const std::vector<TavUnicodeString> params{path, TavUnicodeString(reason)};
  OrvVekWarningRecord w;
  w.catalog = catalog;
  w.title = TavMsgCatalog::BuildMessage(catalog, "WarningWnd.Title", params, "Part Consumption - Warning");
  w.text = diskFull ? TavMsgCatalog::BuildMessage(catalog, "WarningWnd.FullText", params,
                                                  "The disk is full: the report /P1 could not be written.")
                    : TavMsgCatalog::BuildMessage(catalog, "WarningWnd.Text", params,
                                                  "The report /P1 could not be written: /P2.");
  {
    // Blocking, and released once answered.
    TavDlgNotify box(nullptr, "Warning", TavDlgNotify::Warning, kWarningStyle);
    box.DisplayBox(w.title, w.text);
    box.DisplayBlocked();
  }
  auto& s = State();
  ++s.count;
  s.last = std::move(w);
}

int OrvVekWarningCount() { return State().count; }
OrvVekWarningRecord OrvVekLastWarning() { return State().last; }

void OrvVekShowCatalogBox(const char* catalog, const char* name, int kind, const std::string& messageKey,
                          const char* messageFallback, const std::string& titleKey, const char* titleFallback,
                          const TavUnicodeString& extraText, int style) {
  TavUnicodeString text = TavMsgCatalog::BuildMessage(catalog, messageKey, {}, messageFallback);
  text += extraText;
  TavDlgNotify box(nullptr, name, static_cast<TavDlgNotify::Kind>(kind), style);
  box.DisplayBox(TavMsgCatalog::BuildMessage(catalog, titleKey, {}, titleFallback), text);
  box.DisplayBlocked();
}
