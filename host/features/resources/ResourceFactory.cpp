// New products under a father (TavIAProducts) and the document's resource factory.
#include "HostProducts.h"
#include "HostResources.h"

namespace host {

namespace {

Ref<HostProduct> HostProductOf(const Ref<TavBaseUnknown>& o) {
  return std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
}

// A product or resource as the father of new references.
class HostProductsCollection final : public virtual TavIAProducts {
public:
  explicit HostProductsCollection(Ref<HostProduct> father) : father_(std::move(father)) {}
  // Its automation (replacing a child from a product document) is an extension.
  std::string LateType() const override { return "TavAProducts"; }
  Ref<TavBaseUnknown> ExtendedObject() override { return father_; }

  HRESULT AddProduct(const TavUnicodeString& partNumber, Ref<TavIProduct>& created) override {
    created = nullptr;
    HostDocument* doc = father_->Doc();
    if (!doc || partNumber.IsEmpty()) return E_FAIL;
    // The first free ".N" among the children; the resource flag follows the father.
    created = doc->CreateProduct(father_, {}, InstanceName(*father_, partNumber), partNumber);
    return S_OK;
  }

private:
  Ref<HostProduct> father_;
};

class HostResourceFactory final : public virtual TavIResourceFactory {
public:
  explicit HostResourceFactory(HostDocument* doc) : doc_(doc) {}

  HRESULT MakeResource(const Ref<TavIProduct>& product, const TavUnicodeString& name, const TavUnicodeString& type,
                       const TavUnicodeString& category, int mtbf, int mttr) override {
    auto r = HostProductOf(product);
    if (!r || !r->IsResource() || !doc_->Holds(*r) || name.IsEmpty() || type.IsEmpty() || mtbf < 0 || mttr < 0)
      return E_FAIL;
    r->SetName(name);
    r->SetResourceType(type);
    r->SetAttribute("Category", category);
    r->SetAttribute("MTBF", std::int64_t{mtbf});
    r->SetAttribute("MTTR", std::int64_t{mttr});
    return S_OK;
  }

private:
  HostDocument* doc_;
};

}  // namespace

void RegisterResourceFactory() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!doc.FindContainer<HostResourceFactory>()) doc.AddContainer(std::make_shared<HostResourceFactory>(&doc));
  });
  auto collection = [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto p = HostProductOf(o);
    return p ? std::make_shared<HostProductsCollection>(p) : nullptr;
  };
  for (const char* late : {"TavProduct", "TavResource"})
    TavExtensionRegistry::Get().Register(late, TavIAProducts::kInterfaceName, collection);
}

}  // namespace host
