#include "TavDocWindows.h"

namespace {
TavDocumentWindows::Finder& Installed() {
  static TavDocumentWindows::Finder f;
  return f;
}
}  // namespace

void TavDocumentWindows::Install(Finder finder) { Installed() = std::move(finder); }

Ref<TavFrmEditor> TavDocumentWindows::EditorOf(const Ref<TavDocument>& doc) {
  return doc && Installed() ? Installed()(doc) : nullptr;
}

bool TavDocumentWindows::HighlightAndCenter(const Ref<TavFrmEditor>& editor, const TavPathElement& path) {
  if (!editor || path.IsEmpty()) return false;
  TavSelectionSet& hso = editor->GetHSO();
  hso.Empty();
  hso.AddElement(path);
  for (auto& v : editor->GetViewers3D())
    if (v) v->Reframe(hso);
  return true;
}
