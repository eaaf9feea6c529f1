// What the hub records of the products of a hub document (OrvIMHIProductAccess):
// the access management's child right and the host-generation flag, kept in the
// plant section <hubProducts> (docs/plant-format.md, "Hub products").
#include <unordered_map>

#include "HostCopy.h"
#include "PlantSections.h"
#include "TavCopy.h"

namespace host {

namespace {

// The products of a hub document that differ from the defaults (child right granted,
// no host-generation product), in the order the file gave them, so that a plant saves
// as it was read. The hub's records: nothing in a session changes them.
class HostHubProducts final : public virtual TavBaseUnknown {
public:
  explicit HostHubProducts(HostDocument*) {}
  struct Entry {
    Ref<HostProduct> product;
    bool childRight, kwProduct;
  };
  const Entry* Find(const HostProduct& p) const {
    auto it = index_.find(&p);
    return it == index_.end() ? nullptr : &entries_[it->second];
  }
  // False when the product is listed already.
  bool Add(Ref<HostProduct> p, bool childRight, bool kwProduct) {
    if (!index_.emplace(p.get(), entries_.size()).second) return false;
    entries_.push_back({std::move(p), childRight, kwProduct});
    return true;
  }
  const std::vector<Entry>& Entries() const { return entries_; }

private:
  std::vector<Entry> entries_;
  std::unordered_map<const HostProduct*, std::size_t> index_;  // entries hold the products: no address reuse
};

HostHubProducts* HubProductsOf(const HostDocument& doc) { return doc.FindContainer<HostHubProducts>(); }

class HostProductAccess final : public virtual OrvIMHIProductAccess {
public:
  explicit HostProductAccess(Ref<HostProduct> p) : product_(std::move(p)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return product_; }
  bool HasChildRight() const override {
    const auto* e = Entry();
    return !e || e->childRight;
  }
  bool IsAKwProductInHx() const override {
    const auto* e = Entry();
    return e && e->kwProduct;
  }

private:
  // Through the document each time: a product outliving it, or taken out, has the defaults.
  const HostHubProducts::Entry* Entry() const {
    const HostHubProducts* store = product_->Doc() ? HubProductsOf(*product_->Doc()) : nullptr;
    return store ? store->Find(*product_) : nullptr;
  }
  Ref<HostProduct> product_;
};

// A flag that only its non-default value may give: the default is left out of the
// file, so that what is read is written back the same.
bool ReadFlag(const PlantElement& e, std::string_view name, const std::optional<std::string>& text, bool fallback,
              bool& value, PlantLoadContext& ctx) {
  value = fallback;
  if (!text) return true;
  if (!ctx.ParseBool(e, name, *text, value)) return false;
  if (value == fallback) {
    ctx.Error(&e, std::string(name) + "=\"" + *text + "\" is the default: leave the attribute out");
    return false;
  }
  return true;
}

bool LoadHubProducts(const PlantElement& section, PlantLoadContext& ctx) {
  HostHubProducts* store = HubProductsOf(ctx.doc);
  if (!store) {
    ctx.Error(&section, "hub products need a hub plant (environment=\"hub\")");
    return false;
  }
  if (!ctx.ReadAttributes(section, {})) return false;
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "product")) return false;
    std::optional<std::string> ref, childRight, kwProduct;
    if (!ctx.ReadAttributes(*e, {{"ref", &ref, true}, {"childRight", &childRight, false}, {"kwProduct", &kwProduct, false}}))
      return false;
    auto p = std::dynamic_pointer_cast<HostProduct>(ctx.Lookup(*ref));
    if (!p) {
      ctx.Error(e, "'" + *ref + "' is no product or resource of this plant");
      return false;
    }
    bool right = true, kw = false;
    if (!ReadFlag(*e, "childRight", childRight, true, right, ctx) || !ReadFlag(*e, "kwProduct", kwProduct, false, kw, ctx))
      return false;
    if (!childRight && !kwProduct) {
      ctx.Error(e, "hub product '" + *ref + "' says nothing (childRight=\"false\" or kwProduct=\"true\")");
      return false;
    }
    if (!store->Add(p, right, kw)) {
      ctx.Error(e, "duplicate hub product '" + *ref + "'");
      return false;
    }
  }
  return !ctx.Failed();
}

void SaveHubProducts(const HostDocument& doc, PlantWriter& w) {
  const HostHubProducts* store = HubProductsOf(doc);
  if (!store) return;
  w.Start("hubProducts");
  for (auto& e : store->Entries()) {
    if (!doc.Holds(*e.product)) continue;  // left the plant
    w.Start("product");
    w.Attr("ref", e.product->IdString());
    if (!e.childRight) w.Attr("childRight", "false");
    if (e.kwProduct) w.Attr("kwProduct", "true");
    w.End();
  }
  w.End();  // nothing listed: an empty element, which the writer drops
}

}  // namespace

void RegisterHubProducts() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (doc.IsHub() && !HubProductsOf(doc)) doc.AddContainer(std::make_shared<HostHubProducts>(&doc));
  });
  for (const char* late : {"TavProduct", "TavResource"})
    TavExtensionRegistry::Get().Register(late, OrvIMHIProductAccess::kInterfaceName,
                                         [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                           auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
                                           const HostHubProducts* store = p && p->Doc() ? HubProductsOf(*p->Doc()) : nullptr;
                                           return store ? std::make_shared<HostProductAccess>(p) : nullptr;
                                         });
  RegisterPlantSection("hubProducts", LoadHubProducts, SaveHubProducts);
}

}  // namespace host
