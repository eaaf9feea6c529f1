#pragma once
// The windows of the open documents. A command that shows an object of a document
// other than the current editor's (the second plant of a comparison) reaches that
// document's window here: its highlight set and its viewers.
#include <functional>

#include "TavServices.h"

class TavDocumentWindows {
public:
  using Finder = std::function<Ref<TavFrmEditor>(const Ref<TavDocument>&)>;
  // The host says how a document's editor is found; null uninstalls.
  static void Install(Finder finder);
  // The editor showing the document, or null (no such window, no host).
  static Ref<TavFrmEditor> EditorOf(const Ref<TavDocument>& doc);
  // Highlights the path alone in the editor and centres the editor's viewers on it.
  // False for no editor or an empty path.
  static bool HighlightAndCenter(const Ref<TavFrmEditor>& editor, const TavPathElement& path);
};
