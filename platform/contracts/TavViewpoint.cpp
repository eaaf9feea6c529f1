#include "TavViewpoint.h"

#include "TavServices.h"

Ref<TavI3DViewpoint> TavMainViewpoint() {
  for (const auto& viewer : TavFrmLayout::GetCurrentViewers())
    if (auto viewpoint = query<TavI3DViewpoint>(viewer)) return viewpoint;
  // A host whose editor is its one navigation window answers on the editor.
  return query<TavI3DViewpoint>(TavFrmEditor::GetCurrentEditor());
}
