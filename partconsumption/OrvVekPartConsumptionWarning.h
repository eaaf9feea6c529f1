#pragma once
// The one warning window of a failed report export.
#include <string>

#include "TavString.h"

struct OrvVekWarningRecord {
  std::string catalog;
  TavUnicodeString title, text;
};

// Shows, when the application has a main window, the blocking warning "Warning"
// with the title "WarningWnd.Title" and the text "WarningWnd.FullText" (disk
// full) or "WarningWnd.Text" of the catalogue. /P1 is the path, /P2 the reason.
void OrvVekShowWriteWarning(const char* catalog, bool diskFull, const TavUnicodeString& path, const std::string& reason);
// A blocking box named `name` of `kind` (TavDlgNotify::Kind), its text and title
// from `catalog` with fallbacks; `extraText` is appended to the text.
void OrvVekShowCatalogBox(const char* catalog, const char* name, int kind, const std::string& messageKey,
                          const char* messageFallback, const std::string& titleKey, const char* titleFallback,
                          const TavUnicodeString& extraText, int style);
// The warnings shown so far in this process, oldest first.
int OrvVekWarningCount();
OrvVekWarningRecord OrvVekLastWarning();
