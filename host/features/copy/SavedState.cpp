// Whether a product is in its document's file: made before the document was last
// loaded or saved (TavISavedState).
#include "HostCopy.h"
#include "HostSaved.h"
#include "TavCopy.h"

namespace host {

namespace {

// The first model number made after the last load or save; 0 (nothing saved) for a
// document that was neither.
class HostSavedMark final : public virtual TavBaseUnknown {
public:
  explicit HostSavedMark(HostDocument*) {}
  int firstUnsaved = 0;
};

HostSavedMark* SavedMarkOf(const HostDocument& doc) { return doc.FindContainer<HostSavedMark>(); }

class HostSavedState final : public virtual TavISavedState {
public:
  explicit HostSavedState(Ref<HostProduct> p) : product_(std::move(p)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return product_; }
  bool IsSaved() const override {
    const HostDocument* doc = product_->Doc();  // none once taken out of the document
    const HostSavedMark* mark = doc ? SavedMarkOf(*doc) : nullptr;
    return mark && product_->GetModelNumber() < mark->firstUnsaved;
  }

private:
  Ref<HostProduct> product_;
};

}  // namespace

void RegisterSavedState() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!SavedMarkOf(doc)) doc.AddContainer(std::make_shared<HostSavedMark>(&doc));
  });
  RegisterSavedListener([](HostDocument& doc, int nextModelNumber) {
    if (HostSavedMark* mark = SavedMarkOf(doc)) mark->firstUnsaved = nextModelNumber;
  });
  for (const char* late : {"TavProduct", "TavResource"})
    TavExtensionRegistry::Get().Register(late, TavISavedState::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
      auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
      return p ? std::make_shared<HostSavedState>(p) : nullptr;
    });
}

}  // namespace host
