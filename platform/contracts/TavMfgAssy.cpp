#include "TavMfgAssy.h"

#include "TavYor.h"

Ref<TavIProduct> TavResourceTreeRootOf(const Ref<TavBaseUnknown>& object) {
  auto doc = TavDocumentOf(object);
  auto tree = doc ? query<TavIResourceTreeRoot>(doc->GetRootContainer(TavIResourceTreeRoot::kInterfaceName)) : nullptr;
  return tree ? tree->GetRootProduct() : nullptr;
}

Ref<TavIProduct> TavFatherInProductTree(const Ref<TavIProduct>& product) {
  if (!product) return nullptr;
  if (auto father = product->GetFatherProduct()) return father;
  if (!product->IsResource()) return nullptr;
  auto root = TavResourceTreeRootOf(product);
  return root && !SameObject(root, product) ? root : nullptr;
}

HRESULT OrvPLMServices::GetPLMID(const Ref<TavBaseUnknown>& object, TavUnicodeString& id) {
  id = {};
  auto adapter = TavYorAdapterOf(TavDocumentOf(object));
  TavValue v;
  if (!adapter || FAILED(adapter->GetHubValue(object, "PLMID", v))) return E_FAIL;
  id = TavValueToText(v);
  return id.IsEmpty() ? E_FAIL : S_OK;
}

Ref<OrvIPLMTypeServices> OrvIPLMTypeServices::OfSession() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  auto doc = ed ? ed->GetDocument() : nullptr;
  return doc ? query<OrvIPLMTypeServices>(doc->GetRootContainer(kInterfaceName)) : nullptr;
}

namespace {
VEKPreviewWindow::Factory& PreviewFactory() {
  static VEKPreviewWindow::Factory f;
  return f;
}
}  // namespace

Ref<VEKPreviewWindow> VEKPreviewWindow::Open(const Ref<TavFrmEditor>& editor) {
  return editor && PreviewFactory() ? PreviewFactory()(editor) : nullptr;
}
void VEKPreviewWindow::InstallFactory(Factory f) { PreviewFactory() = std::move(f); }

void TavDeclareMfgAssyInterfaces() {
  TavInterfaceNames::Declare<TavIResourceTreeRoot>();
  TavInterfaceNames::Declare<OrvIMHIPTSInfo>();
  TavInterfaceNames::Declare<OrvIPLMTypeServices>();
  TavInterfaceNames::Declare<VEKPreviewWindow>();
}
