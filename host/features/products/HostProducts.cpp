#include "HostProducts.h"

#include "HostPlanner.h"

namespace host {

HostNotifications* NotificationsOf(const HostDocument& doc) { return doc.FindContainer<HostNotifications>(); }

namespace {

// How a notification line names an object: its path in its own document.
std::string PathOf(const Ref<TavBaseUnknown>& o) {
  auto* h = dynamic_cast<HostObject*>(o ? o->ExtendedObject().get() : nullptr);
  if (!h || !h->Doc()) return "(not in a document)";
  return h->Doc()->PathString(h->self());
}

HostNotifications* NotificationsThrough(const HostObject& through) {
  return through.Doc() ? NotificationsOf(*through.Doc()) : nullptr;
}

void Notify(const HostObject& through, std::string line) {
  if (HostNotifications* n = NotificationsThrough(through)) n->Add(std::move(line));
}

// A line naming an object (and a second one) by path when it is read.
void Notify(const HostObject& through, std::string text, const Ref<TavBaseUnknown>& object, std::string middle = {},
            const Ref<TavBaseUnknown>& other = nullptr, std::string tail = {}) {
  if (HostNotifications* n = NotificationsThrough(through))
    n->Add(std::move(text), object ? object->ExtendedObject() : nullptr, std::move(middle),
           other ? other->ExtendedObject() : nullptr, std::move(tail));
}

// A resource of the resource list.
class HostResourceMark final : public virtual TavIResource {
public:
  explicit HostResourceMark(Ref<HostProduct> r) : resource_(std::move(r)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return resource_; }

private:
  Ref<HostProduct> resource_;
};

// A product or resource as the father of instances, its block-movable setting, and
// the product structure's notifications sent through it.
class HostProductExtension final : public virtual TavIProductInstances,
                                   public virtual TavIBlockMovable,
                                   public virtual TavIProductInSession,
                                   public virtual TavIRedrawEvent {
public:
  explicit HostProductExtension(Ref<HostProduct> p) : product_(std::move(p)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return product_; }

  HRESULT AddInstance(const Ref<TavIProduct>& of, Ref<TavIProduct>& created) override {
    Ref<HostProduct> made;
    std::string why;
    const HRESULT hr = AddProductInstance(product_, of, made, why);
    created = made;
    return hr;
  }
  HRESULT RemoveInstance(const Ref<TavIProduct>& child) override {
    std::string why;
    auto c = std::dynamic_pointer_cast<HostProduct>(child ? child->ExtendedObject() : nullptr);
    return RemoveProductInstance(product_, c, why);
  }

  bool IsBlockMovable() const override {
    const HostBlockMovable* store = product_->Doc() ? BlockMovableOf(*product_->Doc()) : nullptr;
    return !store || store->IsBlockMovable(*product_);
  }
  HRESULT SetBlockMovable(int value) override {
    HostBlockMovable* store = product_->Doc() ? BlockMovableOf(*product_->Doc()) : nullptr;
    if (!store) return E_FAIL;
    store->Set(product_, value != 0);
    return S_OK;
  }

  void SendProductAdded(const Ref<TavIProduct>& father, const Ref<TavIProduct>& added) override {
    if (father) Notify(*product_, "product added: ", added, " (under ", father, ")");
    else Notify(*product_, "product added: ", added);
  }
  void SendProductRemoved(const Ref<TavIProduct>& father, const Ref<TavIProduct>& removed) override {
    std::string line = "product removed: " + PathOf(removed);
    if (father) line += " (from " + PathOf(father) + ")";
    Notify(*product_, std::move(line));
  }
  void SendRootModified() override { Notify(*product_, "product root modified"); }
  void Redraw() override { Notify(*product_, "product redrawn: ", product_); }

private:
  Ref<HostProduct> product_;
};

// What the process tree is told about an activity: kept in the planner's record and
// in the document's notifications.
class HostActivityEvents final : public virtual TavISPPActivityModificationEvents {
public:
  explicit HostActivityEvents(Ref<HostActivity> a) : activity_(std::move(a)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return activity_; }
  void SendModification(int kind) override {
    if (HostContExt* ext = activity_->Doc() ? ContExtOf(*activity_->Doc()) : nullptr) ext->Record(activity_->IdString(), kind);
    Notify(*activity_, "activity modified: ", activity_, " (" + std::to_string(kind) + ")");
  }
  void SendModification(const TavUnicodeString& kind) override {
    if (HostContExt* ext = activity_->Doc() ? ContExtOf(*activity_->Doc()) : nullptr) ext->Record(activity_->IdString(), kind.utf8());
    Notify(*activity_, "activity modified: ", activity_, " (" + kind.utf8() + ")");
  }

private:
  Ref<HostActivity> activity_;
};

}  // namespace

void HostNotifications::Add(std::string text, std::weak_ptr<TavBaseUnknown> object, std::string middle,
                            std::weak_ptr<TavBaseUnknown> other, std::string tail) {
  if (entries_.size() == kMaxEntries) {
    entries_.pop_front();
    ++dropped_;
  }
  entries_.push_back({std::move(text), std::move(middle), std::move(tail), std::move(object), std::move(other)});
}

std::vector<std::string> HostNotifications::Take() {
  std::vector<std::string> out;
  out.reserve(entries_.size() + 1);
  if (dropped_) out.push_back(std::to_string(dropped_) + " earlier notifications not kept");
  auto path = [](const std::weak_ptr<TavBaseUnknown>& o) {
    auto locked = o.lock();
    return locked ? PathOf(locked) : std::string();
  };
  for (auto& e : entries_) {
    out.push_back(e.text + path(e.object) + e.middle + path(e.other) + e.tail);
  }
  entries_.clear();
  dropped_ = 0;
  return out;
}

void RegisterProductsHost() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!NotificationsOf(doc)) doc.AddContainer(std::make_shared<HostNotifications>(&doc));
    if (!ResourceContextsOf(doc)) doc.AddContainer(std::make_shared<HostResourceContexts>(&doc));
    if (!BlockMovableOf(doc)) doc.AddContainer(std::make_shared<HostBlockMovable>(&doc));
  });
  auto& registry = TavExtensionRegistry::Get();
  registry.Register("TavResource", TavIResource::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto r = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
    return r && r->IsResource() ? std::make_shared<HostResourceMark>(r) : nullptr;
  });
  auto product = [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
    return p ? std::make_shared<HostProductExtension>(p) : nullptr;
  };
  for (const char* late : {"TavProduct", "TavResource"})
    for (const char* i : {TavIProductInstances::kInterfaceName, TavIBlockMovable::kInterfaceName,
                          TavIProductInSession::kInterfaceName, TavIRedrawEvent::kInterfaceName})
      registry.Register(late, i, product);
  registry.RegisterForAnyType(TavISPPActivityModificationEvents::kInterfaceName,
                              [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                auto a = std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
                                return a ? std::make_shared<HostActivityEvents>(a) : nullptr;
                              });
  RegisterProductsPlant();
}

}  // namespace host
