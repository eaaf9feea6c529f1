#include "TavPPR.h"

#include <cstdio>

#include "TavPlanner.h"
#include "TavServices.h"

TavUnicodeString TavValueToText(const TavValue& v) {
  struct V {
    TavUnicodeString operator()(std::monostate) const { return {}; }
    TavUnicodeString operator()(const TavUnicodeString& s) const { return s; }
    TavUnicodeString operator()(std::int64_t i) const { return std::to_string(i); }
    TavUnicodeString operator()(double d) const {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.17g", d);
      return buf;
    }
    TavUnicodeString operator()(bool b) const { return b ? "true" : "false"; }
  };
  return std::visit(V{}, v);
}

static Ref<TavIMfgAssemblyContainer> AssemblyContainer(const Ref<TavDocument>& doc) {
  Ref<TavDocument> d = doc;
  if (!d)
    if (auto ed = TavFrmEditor::GetCurrentEditor()) d = ed->GetDocument();
  if (!d) return nullptr;
  return query<TavIMfgAssemblyContainer>(d->GetRootContainer(TavIMfgAssemblyContainer::kInterfaceName));
}

std::vector<Ref<OrvIMfgAssembly>> OrvEMfgAssemblyFactory::GetMAsInContainer(const Ref<TavDocument>& doc, int subtype) {
  std::vector<Ref<OrvIMfgAssembly>> out;
  auto c = AssemblyContainer(doc);
  if (!c) return out;
  for (auto& a : c->GetAssemblies())
    if (subtype == 0 || a->GetType() == subtype) out.push_back(a);
  return out;
}

Ref<OrvIMfgAssembly> OrvEMfgAssemblyFactory::CreateMfgAssembly(const Ref<TavDocument>& doc, const TavUnicodeString& name, int type) {
  auto c = AssemblyContainer(doc);
  return c ? c->CreateAssembly(name, type) : nullptr;
}

HRESULT OrvEMfgAssemblyFactory::CreateMfgAssembly(Ref<OrvIMfgAssembly>& out, bool notDirectChangeable) {
  out = nullptr;
  auto c = AssemblyContainer(nullptr);
  if (!c) return E_FAIL;
  out = c->CreateAssembly({}, 1);
  if (!out) return E_FAIL;
  if (notDirectChangeable) out->SetNotDirectlyChangeable(true);
  return S_OK;
}

HRESULT OrvEMfgAssemblyFactory::CreateMAAsChildOfMA(const TavUnicodeString& name, const Ref<OrvIMfgAssembly>& father,
                                                    const std::vector<Ref<TavBaseUnknown>>& content,
                                                    Ref<OrvIMfgAssembly>& out) {
  out = nullptr;
  auto c = father ? AssemblyContainer(TavDocumentOf(father)) : nullptr;
  return c ? c->CreateChildAssembly(name, father, content, out) : E_FAIL;
}

HRESULT OrvEMfgAssemblyFactory::RemoveMfgAssembly(const Ref<OrvIMfgAssembly>& assembly) {
  auto doc = TavDocumentOf(assembly);
  auto c = doc ? AssemblyContainer(doc) : nullptr;
  return c ? c->RemoveAssembly(assembly) : E_FAIL;
}

void TavDeclarePPRInterfaces() {
  TavInterfaceNames::Declare<TavIAttributeHolder>();
  TavInterfaceNames::Declare<TavINavigateObject>();
  TavInterfaceNames::Declare<TavIModelIdentity>();
  TavInterfaceNames::Declare<TavIDocumentMember>();
  TavInterfaceNames::Declare<TavISPPItem>();
  TavInterfaceNames::Declare<TavIProduct>();
  TavInterfaceNames::Declare<TavIMovable>();
  TavInterfaceNames::Declare<OrvIMfgAssembly>();
  TavInterfaceNames::Declare<TavISPPAbstractActivity>();
  TavInterfaceNames::Declare<TavISPPActivity>();
  TavInterfaceNames::Declare<TavISPPActivityRoot>();
  TavInterfaceNames::Declare<TavISPPChildManagement>();
  TavInterfaceNames::Declare<TavISPPActivitySpecification>();
  TavInterfaceNames::Declare<TavISPPItemMgt>();
  TavInterfaceNames::Declare<TavISPPResourceManagement>();
  TavInterfaceNames::Declare<TavIPCSRelations>();
  TavInterfaceNames::Declare<TavISPPProductIO>();
  TavInterfaceNames::Declare<TavISPPFlowMgt>();
  TavInterfaceNames::Declare<TavISPPControlFlow>();
  TavInterfaceNames::Declare<TavILifeCycleObject>();
  TavInterfaceNames::Declare<TavISPPPrecedenceMgt>();
  TavInterfaceNames::Declare<TavISPPProcessContainer>();
  TavInterfaceNames::Declare<TavIPPRRootList>();
  TavInterfaceNames::Declare<TavIPPRProductList>();
  TavInterfaceNames::Declare<TavIPPRResourceList>();
  TavInterfaceNames::Declare<TavIMfgAssemblyContainer>();
  TavInterfaceNames::Declare<TavIDocEnvironment>();
  TavInterfaceNames::Declare<TavDocument>();
  TavInterfaceNames::Declare<TavFrmEditor>();
  TavInterfaceNames::Declare<TavIViewer3D>();
  TavInterfaceNames::Declare<TavISPPMonoProcessContainer>();
  TavInterfaceNames::Declare<TavISPPContExt>();
  TavInterfaceNames::Declare<TavIRedrawEvent>();
}
