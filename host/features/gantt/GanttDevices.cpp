// Devices (OrvIDeviceManager): a resource whose child resources include mechanisms
// (resource type "Mechanism": a robot's arm and its rail, a positioner's tables).
// A resource Gantt picked on a device shows its first mechanism's lane.
#include "HostGantt.h"
#include "HostModel.h"
#include "TavDevices.h"

namespace host {

namespace {

constexpr const char* kMechanismType = "Mechanism";

class HostDeviceManager final : public virtual OrvIDeviceManager {
public:
  explicit HostDeviceManager(Ref<HostProduct> device) : device_(std::move(device)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return device_; }
  HRESULT GetMechanisms(std::vector<TavUnicodeString>& names, std::vector<Ref<TavBaseUnknown>>& mechanisms,
                        std::vector<Ref<TavBaseUnknown>>& products) const override {
    names.clear();
    mechanisms.clear();
    products.clear();
    for (auto& c : device_->GetChildren()) {
      if (c->GetResourceType() != kMechanismType) continue;
      names.push_back(c->GetName());
      mechanisms.push_back(c);
      products.push_back(c);
    }
    return S_OK;
  }

private:
  Ref<HostProduct> device_;
};

bool HasMechanism(const HostProduct& p) {
  for (auto& c : p.GetChildren())
    if (c->GetResourceType() == kMechanismType) return true;
  return false;
}

}  // namespace

void RegisterDevices() {
  TavExtensionRegistry::Get().Register("TavResource", OrvIDeviceManager::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                         auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
                                         return p && p->IsResource() && HasMechanism(*p)
                                                    ? std::make_shared<HostDeviceManager>(p)
                                                    : nullptr;
                                       });
}

}  // namespace host
