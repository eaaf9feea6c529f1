#include "OrvVekMfgAssyUtilities.h"

#include "OrvVekPartConsumptionUtilities.h"
#include "TavMfgAssy.h"
#include "TavPlanner.h"

namespace {
Ref<TavDocument> CurrentDocument() {
  auto editor = TavFrmEditor::GetCurrentEditor();
  return editor ? editor->GetDocument() : nullptr;
}
}  // namespace

void OrvVekMfgAssyUtilities::RedrawMAContainer() {
  auto doc = CurrentDocument();
  if (!doc) return;
  if (auto redraw = query<TavIRedrawEvent>(doc->GetRootContainer(TavIMfgAssemblyContainer::kInterfaceName)))
    redraw->Redraw();
}

void OrvVekMfgAssyUtilities::RedrawMA(const Ref<OrvIMfgAssembly>& ma) {
  if (auto redraw = query<TavIRedrawEvent>(ma)) redraw->Redraw();
}

TavUnicodeString OrvVekMfgAssyUtilities::GetDisplayName(const Ref<TavBaseUnknown>& object) {
  if (auto ma = query<OrvIMfgAssembly>(object)) return ma->GetName();
  auto product = query<TavIProduct>(object);
  if (!product) return {};
  TavUnicodeString name = product->GetName();
  if (!name.IsEmpty()) return name;
  if (auto nav = query<TavINavigateObject>(object))
    for (const auto& id : nav->GetIdentificators())
      if (!id.IsEmpty()) return id;
  return product->GetPartNumber();
}

bool OrvVekMfgAssyUtilities::IsUnderResourceRoot(const Ref<TavIProduct>& product) {
  // Bounded by the depth of the tree; a loop in a broken tree cannot hold us.
  int guard = 100000;
  for (auto p = product; p && guard-- > 0; p = TavFatherInProductTree(p))
    if (p->GetName() == kResourceRootName) return true;
  return false;
}

TavUnicodeString OrvVekMfgAssyUtilities::GetKitTypeText(const Ref<TavBaseUnknown>& object) {
  if (auto ma = query<OrvIMfgAssembly>(object))
    return ma->GetTypeText() == "ManufacturingKit" ? "ManufacturingKit" : "Assembly";
  if (auto product = query<TavIProduct>(object)) return IsUnderResourceRoot(product) ? "Resource" : "Produkt";
  return {};
}

bool OrvVekMfgAssyUtilities::Reaches(const Ref<OrvIMfgAssembly>& outer, const Ref<OrvIMfgAssembly>& inner) {
  if (!outer || !inner) return false;
  if (SameObject(outer, inner)) return true;
  for (const auto& ma : OrvVekPartConsumptionUtilities::GetMAList(outer))
    if (SameObject(ma, inner)) return true;
  return false;
}

bool OrvVekMfgAssyUtilities::IsResourceTreeRoot(const Ref<TavIProduct>& product) {
  auto root = TavResourceTreeRootOf(product);
  return root && SameObject(root, product);
}

Ref<OrvIMfgAssembly> OrvVekMfgAssyUtilities::AssemblyOf(const TavPathElement& path, const Ref<TavBaseUnknown>& fallback) {
  if (auto ma = query<OrvIMfgAssembly>(path.GetLeaf())) return ma;
  return query<OrvIMfgAssembly>(fallback);
}
