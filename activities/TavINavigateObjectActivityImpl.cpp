#include "TavINavigateObjectActivityImpl.h"

#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("TavINavigateObjectActivityImpl", "Traces for the activity library navigation");
  return t;
}
}  // namespace

std::vector<TavUnicodeString> TavINavigateObjectActivityImpl::GetIdentificators() const {
  TavTraceScope scope(Trace(), "TavINavigateObjectActivityImpl", "GetIdentificators");
  auto library = query<TavIActivityLibrary>(container_);
  if (!library) return {};
  auto doc = library->GetLibraryDocument();
  if (!doc) return {TavUnicodeString()};
  TavUnicodeString name;
  auto env = doc->GetDocEnvironment();
  if (env && env->GetName() != "YorDocEnv") name = env->GetIdentifierName(doc);
  if (name.IsEmpty()) name = doc->GetDisplayName();
  if (name.IsEmpty()) name = doc->GetStorageName();
  return {name};
}

std::vector<Ref<TavBaseUnknown>> TavINavigateObjectActivityImpl::GetChildren() const {
  TavTraceScope scope(Trace(), "TavINavigateObjectActivityImpl", "GetChildren");
  std::vector<Ref<TavBaseUnknown>> out;
  auto library = query<TavIActivityLibrary>(container_);
  if (!library) return out;
  auto doc = library->GetLibraryDocument();
  if (doc && doc->GetFileExtension() == "feat") return out;
  const TavUnicodeString storage = doc ? doc->GetStorageName() : TavUnicodeString();
  for (const auto& type : library->GetActivityTypes()) {
    auto super = type ? type->GetSuperType() : nullptr;
    if (!super) continue;
    auto superDoc = super->GetLibraryDocument();
    const TavUnicodeString superStorage = superDoc ? superDoc->GetStorageName() : TavUnicodeString();
    if (super->GetName() == "PhysicalActivity" || superStorage != storage) out.push_back(type);
  }
  return out;
}

void TavNavigModifyActivity::UpdateElem(TavNavigNode& node) {
  auto type = query<TavIActivityType>(node.GetObject());
  if (!type || type->GetKind() != "Activity") return;
  if (type->GetName() == "PhysicalActivity") {
    node.SetDefaultLook();
    return;
  }
  node.SetIconName(type->GetIconName());
}

void RegisterActivityLibraryNavigation() {
  auto& registry = TavExtensionRegistry::Get();
  registry.Register("SPPLibCont", TavINavigateObjectActivity::kInterfaceName,
                    [](const Ref<TavBaseUnknown>& c) -> Ref<TavBaseUnknown> {
                      return std::make_shared<TavINavigateObjectActivityImpl>(c);
                    });
  // The box asks for TavINavigateObject too when it only wants the node's text.
  registry.Register("SPPLibCont", TavINavigateObject::kInterfaceName, [](const Ref<TavBaseUnknown>& c) -> Ref<TavBaseUnknown> {
    return std::make_shared<TavINavigateObjectActivityImpl>(c);
  });
  registry.Register("LibraryActivity_node", TavINavigModify::kInterfaceName,
                    [](const Ref<TavBaseUnknown>&) -> Ref<TavBaseUnknown> { return std::make_shared<TavNavigModifyActivity>(); });
}
