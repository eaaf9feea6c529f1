// Where a product hangs (TavIProductPlace) and the objects a deletion talks to: the
// product and resource list places, a resource's model events, the process
// container's resource list, the product root's event dispatcher, and redraws of
// activities. What they are told goes into the document's notifications.
#include <algorithm>
#include <optional>

#include "HostProductEdit.h"
#include "HostProducts.h"
#include "HostResources.h"
#include "TavPlanner.h"

namespace host {

namespace {

Ref<HostProduct> HostProductOf(const Ref<TavBaseUnknown>& o) {
  return std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
}

// The path of an object now: an object about to leave the document is named
// while it still has one.
std::string PathNow(const HostDocument& doc, const Ref<TavBaseUnknown>& o) {
  auto h = std::dynamic_pointer_cast<HostObject>(o ? o->ExtendedObject() : nullptr);
  return h && h->Doc() == &doc ? doc.PathString(h) : std::string("(not in the document)");
}

// The product list or the resource list as the place of its roots.
class HostListPlace final : public virtual TavINavigateObject,
                            public virtual TavIProductInSession,
                            public virtual TavIRedrawEvent,
                            public virtual TavIModelEvents {
public:
  HostListPlace(HostDocument* doc, bool resources) : doc_(doc), resources_(resources) {}
  bool IsResourceList() const { return resources_; }
  std::vector<TavUnicodeString> GetIdentificators() const override { return {resources_ ? "Resource" : "Product"}; }
  void SendProductAdded(const Ref<TavIProduct>&, const Ref<TavIProduct>& added) override {
    NotifyResource(*doc_, "product added: " + PathNow(*doc_, added) + " (" + List() + ")");
  }
  void SendProductRemoved(const Ref<TavIProduct>&, const Ref<TavIProduct>& removed) override {
    NotifyResource(*doc_, "product removed: " + PathNow(*doc_, removed) + " (from the " + List() + ")");
  }
  void SendRootModified() override { NotifyResource(*doc_, List() + " root modified"); }
  void Redraw() override { NotifyResource(*doc_, List() + " redrawn"); }
  void Dispatch(const OrvResourceModifiedNotification& n) override {
    NotifyResource(*doc_, List() + " modified (" + n.GetText().utf8() + ")");
  }

private:
  std::string List() const { return resources_ ? "resource list" : "product list"; }
  HostDocument* doc_;
  bool resources_;
};

// The product (resource) list place of a document; two per document, told apart by kind.
Ref<TavBaseUnknown> PlaceOf(const HostDocument& doc, bool resources) {
  for (auto& c : doc.GetContainers())
    if (auto* p = TavCast<HostListPlace>(c.get()); p && p->IsResourceList() == resources) return c;
  return nullptr;
}

class HostPlace final : public virtual TavIProductPlace {
public:
  explicit HostPlace(Ref<HostProduct> p) : product_(std::move(p)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return product_; }
  Ref<TavBaseUnknown> GetFatherObject() const override {
    if (auto f = product_->Father()) return f;
    const HostDocument* doc = product_->Doc();
    return doc ? PlaceOf(*doc, product_->IsResource()) : nullptr;
  }

private:
  Ref<HostProduct> product_;
};

// A resource's model events. The deletion's "DeletePODSForChildren" takes every link
// into the resource's subtree away, so that the saved plant names no object that
// left; anything else is only reported.
class HostResourceEvents final : public virtual TavIModelEvents {
public:
  explicit HostResourceEvents(Ref<HostProduct> r) : resource_(std::move(r)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return resource_; }
  void Dispatch(const OrvResourceModifiedNotification& n) override {
    HostDocument* doc = resource_->Doc();
    if (!doc) return;
    std::string line = "resource modified (" + n.GetText().utf8() + "): " + doc->PathString(resource_);
    if (n.GetText() == "DeletePODSForChildren") {
      const std::size_t dropped = DropLinksTo(*doc, SubtreeOf(resource_));
      line += ", " + std::to_string(dropped) + (dropped == 1 ? " link" : " links") + " dropped";
    }
    NotifyResource(*doc, std::move(line));
  }

private:
  Ref<HostProduct> resource_;
};

class HostProcessResourceList final : public virtual TavIProcessResourceList {
public:
  explicit HostProcessResourceList(HostDocument* doc) : doc_(doc) {}
  bool HasResource(const Ref<TavBaseUnknown>& resource) const override {
    auto r = HostProductOf(resource);
    if (!r || !r->IsResource() || r->Father() || !doc_->Holds(*r)) return false;
    const auto& roots = doc_->Resources().roots_;
    return std::find(roots.begin(), roots.end(), r) != roots.end();
  }
  HRESULT RemoveResource(const Ref<TavBaseUnknown>& resource) override {
    if (!HasResource(resource)) return E_FAIL;
    auto r = HostProductOf(resource);
    // Links left into the subtree would name an object outside the document, and the
    // saved plant would not load again: they go with it (nothing when already gone).
    DropLinksTo(*doc_, SubtreeOf(r));
    std::string why;
    return DetachProduct(*doc_, r, why) ? S_OK : E_FAIL;
  }

private:
  HostDocument* doc_;
};

class HostProductEventDispatcher final : public virtual TavIProductEventDispatcher {
public:
  explicit HostProductEventDispatcher(HostDocument* doc) : doc_(doc) {}
  void SetCurrentEvent(const TavPrdProductRemovedNotification& event) override { current_ = event; }
  void SetPersistent(bool persistent) override { persistent_ = persistent; }
  bool IsPersistent() const override { return persistent_; }
  void DispatchCurrent() override {
    if (!current_) return;
    std::string line = "product event dispatched: removed " + PathNow(*doc_, current_->GetRemoved());
    if (auto father = current_->GetFather()) {
      auto place = TavCast<HostListPlace>(father.get());
      line += " (from " + (place ? std::string(place->IsResourceList() ? "the resource list" : "the product list")
                                 : PathNow(*doc_, father)) + ")";
    }
    if (persistent_) line += ", kept current";
    NotifyResource(*doc_, std::move(line));
    if (!persistent_) current_.reset();
  }

private:
  HostDocument* doc_;
  std::optional<TavPrdProductRemovedNotification> current_;
  bool persistent_ = false;
};

// An activity redrawn: the tree and the viewer show it again.
class HostActivityRedraw final : public virtual TavIRedrawEvent {
public:
  explicit HostActivityRedraw(Ref<HostActivity> a) : activity_(std::move(a)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return activity_; }
  void Redraw() override {
    if (HostDocument* doc = activity_->Doc())
      if (HostNotifications* n = NotificationsOf(*doc)) n->Add("activity redrawn: ", activity_);
  }

private:
  Ref<HostActivity> activity_;
};

}  // namespace

void NotifyResource(const HostDocument& doc, std::string text, const Ref<TavBaseUnknown>& object) {
  if (HostNotifications* n = NotificationsOf(doc)) n->Add(std::move(text), object ? object->ExtendedObject() : nullptr);
}

Ref<TavBaseUnknown> ResourceListPlace(HostDocument& doc) { return PlaceOf(doc, true); }

void RegisterResourcePlaces() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!PlaceOf(doc, false)) doc.AddContainer(std::make_shared<HostListPlace>(&doc, false));
    if (!PlaceOf(doc, true)) doc.AddContainer(std::make_shared<HostListPlace>(&doc, true));
    if (!doc.FindContainer<HostProcessResourceList>()) doc.AddContainer(std::make_shared<HostProcessResourceList>(&doc));
    if (!doc.FindContainer<HostProductEventDispatcher>())
      doc.AddContainer(std::make_shared<HostProductEventDispatcher>(&doc));
  });
  auto& registry = TavExtensionRegistry::Get();
  auto place = [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto p = HostProductOf(o);
    return p ? std::make_shared<HostPlace>(p) : nullptr;
  };
  for (const char* late : {"TavProduct", "TavResource"}) registry.Register(late, TavIProductPlace::kInterfaceName, place);
  registry.Register("TavResource", TavIModelEvents::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto r = HostProductOf(o);
    return r && r->IsResource() ? std::make_shared<HostResourceEvents>(r) : nullptr;
  });
  registry.RegisterForAnyType(TavIRedrawEvent::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto a = std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
    return a ? std::make_shared<HostActivityRedraw>(a) : nullptr;
  });
}

}  // namespace host
