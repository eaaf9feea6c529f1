// Redraws of assemblies and of their container: the tree would show the change; the
// host records it among the document's notifications (`print notifications`).
#include "HostAssemblies.h"
#include "HostProducts.h"
#include "TavPlanner.h"

namespace host {

namespace {

class AssemblyRedraw final : public virtual TavIRedrawEvent {
public:
  explicit AssemblyRedraw(Ref<HostAssembly> a) : a_(std::move(a)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return a_; }
  void Redraw() override {
    // The path is made when the line is read: a redraw names the assembly as it is then.
    if (HostNotifications* n = a_->Doc() ? NotificationsOf(*a_->Doc()) : nullptr) n->Add("assembly redrawn: ", a_);
  }

private:
  Ref<HostAssembly> a_;
};

class ContainerRedraw final : public virtual TavIRedrawEvent {
public:
  explicit ContainerRedraw(Ref<HostAssemblyContainer> c) : c_(std::move(c)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return c_; }
  void Redraw() override {
    if (HostNotifications* n = c_->Doc() ? NotificationsOf(*c_->Doc()) : nullptr) n->Add("assemblies redrawn");
  }

private:
  Ref<HostAssemblyContainer> c_;
};

}  // namespace

void RegisterAssemblyRedraws() {
  auto& registry = TavExtensionRegistry::Get();
  registry.Register("OrvMfgAssy", TavIRedrawEvent::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto a = std::dynamic_pointer_cast<HostAssembly>(o ? o->ExtendedObject() : nullptr);
    return a ? std::make_shared<AssemblyRedraw>(a) : nullptr;
  });
  registry.Register("OrvMfgAssyContainer", TavIRedrawEvent::kInterfaceName,
                    [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                      auto c = std::dynamic_pointer_cast<HostAssemblyContainer>(o ? o->ExtendedObject() : nullptr);
                      return c ? std::make_shared<ContainerRedraw>(c) : nullptr;
                    });
}

}  // namespace host
