// A resource's properties (TavIPrdProperties): its user attributes as knowledge
// parameters, in order.
#include "HostGantt.h"
#include "HostModel.h"
#include "TavGantt.h"

namespace host {

namespace {

class HostParameter final : public virtual TavICkeParm {
public:
  HostParameter(Ref<HostProduct> owner, TavAttribute a) : owner_(std::move(owner)), a_(std::move(a)) {}
  TavUnicodeString GetName() const override { return a_.name; }
  TavValue GetValue() const override { return a_.value; }

private:
  Ref<HostProduct> owner_;  // a parameter keeps its resource as a handle does
  TavAttribute a_;
};

class HostResourceProperties final : public virtual TavIPrdProperties {
public:
  explicit HostResourceProperties(Ref<HostProduct> r) : r_(std::move(r)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return r_; }
  std::vector<Ref<TavICkeParm>> GetParameters() const override {
    std::vector<Ref<TavICkeParm>> out;
    for (auto& a : r_->Attributes()) out.push_back(std::make_shared<HostParameter>(r_, a));
    return out;
  }

private:
  Ref<HostProduct> r_;
};

}  // namespace

void RegisterResourceParameters() {
  // Products of the resource list and everything below them carry the late type
  // "TavResource"; products of the product list have no parameters here.
  TavExtensionRegistry::Get().Register("TavResource", TavIPrdProperties::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                         auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
                                         return p && p->IsResource() ? std::make_shared<HostResourceProperties>(p) : nullptr;
                                       });
}

}  // namespace host
