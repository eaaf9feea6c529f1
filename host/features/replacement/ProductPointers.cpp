// What points at a product, answered from reverse indexes: the model's relation index
// for activity relations and flow outputs, and one index per document, made on
// demand, for assembly content, behaviour items and 3D contexts.
#include <algorithm>
#include <unordered_map>

#include "HostAssignment.h"
#include "HostChanges.h"
#include "HostProducts.h"
#include "HostRelationIndex.h"
#include "HostReplacement.h"
#include "TavCopy.h"
#include "TavResources.h"

namespace host {

namespace {

// A pointing object without a relation of its own (an assembly's content, a 3D
// context): what it is, and the activity or assembly it belongs to. Its late type
// says which kind it is, so that components register for the kinds they are
// (docs/product-replacement.md).
class HostPointer final : public virtual TavISpecObject, public virtual TavIAlias {
public:
  HostPointer(std::string lateType, Ref<HostObject> owner) : lateType_(std::move(lateType)), owner_(std::move(owner)) {}
  std::string LateType() const override { return lateType_; }
  Ref<TavBaseUnknown> GetSpecAttribute(const TavUnicodeString& name) const override {
    if (name != "PhysicActivity") return nullptr;
    return std::dynamic_pointer_cast<HostActivity>(owner_) ? owner_ : nullptr;
  }
  TavUnicodeString GetAlias() const override { return owner_->DisplayName(); }

private:
  std::string lateType_;
  Ref<HostObject> owner_;
};

// An item or resource relation of an activity.
class HostRelationPointer final : public virtual TavISPPActivitySpecification, public virtual TavISpecObject {
public:
  explicit HostRelationPointer(Ref<HostRelation> r) : relation_(std::move(r)) {}
  std::string LateType() const override { return "TavSPPActivitySpecification"; }
  TavUnicodeString GetRelationType() const override { return relation_->GetRelationType(); }
  Ref<TavBaseUnknown> GetTarget() const override { return relation_->GetTarget(); }
  Ref<TavBaseUnknown> GetOwner() const override { return relation_->GetOwner(); }
  Ref<TavBaseUnknown> GetSpecAttribute(const TavUnicodeString& name) const override {
    return name == "PhysicActivity" ? relation_->GetOwner() : nullptr;
  }

private:
  Ref<HostRelation> relation_;
};

// A flow output of an activity.
class HostOutputPointer final : public virtual TavISPPProductIO, public virtual TavISpecObject {
public:
  explicit HostOutputPointer(Ref<HostRelation> r) : relation_(std::move(r)) {}
  std::string LateType() const override { return "TavSPPProductIO"; }
  Ref<TavBaseUnknown> GetProduct() const override { return relation_->GetTarget(); }
  Ref<TavBaseUnknown> GetObject() const override { return relation_->GetTarget(); }
  Ref<TavBaseUnknown> GetSpecAttribute(const TavUnicodeString& name) const override {
    return name == "PhysicActivity" ? relation_->GetOwner() : nullptr;
  }

private:
  Ref<HostRelation> relation_;
};

// A behaviour's input or output item: the control a resource's program has of it.
class HostControlPointer final : public virtual TavISPPControlIO, public virtual TavISpecObject {
public:
  HostControlPointer(Ref<HostObject> behaviour, Ref<HostRelation> r) : behaviour_(std::move(behaviour)), relation_(std::move(r)) {}
  std::string LateType() const override { return "OrvBehaviorItem"; }
  Ref<TavBaseUnknown> GetSpecAttribute(const TavUnicodeString& name) const override {
    return name == "PhysicActivity" ? behaviour_ : nullptr;
  }

private:
  Ref<HostObject> behaviour_;
  Ref<HostRelation> relation_;
};

// Where each product is pointed at from outside the relation index, kept per
// document and made again after any change of assembly content or any change
// recorded for undo (a session records every change; a load makes none).
class PointerIndex final : public virtual TavBaseUnknown {
public:
  explicit PointerIndex(HostDocument* doc) : doc_(doc) {}
  const std::vector<ProductPointer>* Of(const TavBaseUnknown* product) {
    Refresh();
    auto it = byProduct_.find(product);
    return it == byProduct_.end() ? nullptr : &it->second;
  }

private:
  void Refresh() {
    const std::uint64_t now = ModelChangeCount();
    if (built_ && now == stamp_) return;
    built_ = true;
    stamp_ = now;
    byProduct_.clear();
    for (auto& a : doc_->Assemblies().assemblies_) {
      const auto& parts = a->Parts();
      for (std::size_t i = 0; i < parts.size(); ++i)
        if (parts[i])
          byProduct_[parts[i]->ExtendedObject().get()].push_back(
              {ProductPointer::AssemblyContent, a, nullptr, a->GetModelNumber(), i});
    }
    if (HostAssignmentContainer* assignment = AssignmentOf(*doc_, false)) {
      for (auto& b : assignment->BehaviorsInResourceOrder()) {
        std::size_t place = 0;
        for (auto& r : b->GetRelations()) {
          auto relation = std::dynamic_pointer_cast<HostRelation>(r);
          if (!relation || !relation->Target()) continue;
          byProduct_[relation->Target()->ExtendedObject().get()].push_back(
              {ProductPointer::BehaviourItem, b, relation, b->GetModelNumber(), place++});
        }
      }
      for (auto& [key, products] : assignment->ContextMap()) {
        auto activity = std::dynamic_pointer_cast<HostActivity>(const_cast<TavBaseUnknown*>(key)->self());
        if (!activity || !doc_->Holds(*activity)) continue;
        for (std::size_t i = 0; i < products.size(); ++i)
          if (products[i])
            byProduct_[products[i]->ExtendedObject().get()].push_back(
                {ProductPointer::Context, activity, nullptr, activity->GetModelNumber(), kContextPlace + i});
      }
    }
  }
  // A context comes after the relations of its activity.
  static constexpr std::size_t kContextPlace = std::size_t{1} << 40;

  HostDocument* doc_;
  bool built_ = false;
  std::uint64_t stamp_ = 0;
  std::unordered_map<const TavBaseUnknown*, std::vector<ProductPointer>> byProduct_;
};

class HostPointing final : public virtual TavIPointingObjects {
public:
  explicit HostPointing(Ref<HostProduct> p) : product_(std::move(p)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return product_; }
  std::vector<Ref<TavBaseUnknown>> GetPointingObjects() const override { return PointingObjects(*product_); }

private:
  Ref<HostProduct> product_;
};

class HostAlias final : public virtual TavIAlias {
public:
  explicit HostAlias(Ref<HostObject> o) : object_(std::move(o)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return object_; }
  TavUnicodeString GetAlias() const override { return object_->DisplayName(); }

private:
  Ref<HostObject> object_;
};

// A product's model events: each one is reported (TavModify after a replacement).
class HostProductEvents final : public virtual TavIModelEvents {
public:
  explicit HostProductEvents(Ref<HostProduct> p) : product_(std::move(p)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return product_; }
  void Dispatch(const OrvResourceModifiedNotification& n) override {
    if (HostDocument* doc = product_->Doc())
      if (HostNotifications* notes = NotificationsOf(*doc))
        notes->Add("product modified (" + n.GetText().utf8() + "): ", product_);
  }

private:
  Ref<HostProduct> product_;
};

}  // namespace

std::vector<ProductPointer> PointersTo(const HostProduct& product) {
  std::vector<ProductPointer> out;
  HostDocument* doc = product.Doc();
  if (!doc || !doc->Holds(product)) return out;
  if (const RelationIndex* index = RelationIndex::Of(*doc)) {
    std::size_t place = 0;
    for (auto& r : index->Naming(&product)) {
      auto owner = std::dynamic_pointer_cast<HostActivity>(r->GetOwner());
      // A behaviour's items are its controls, listed from the pointer index.
      if (!owner || std::dynamic_pointer_cast<HostBehavior>(owner)) continue;
      const auto kind = r->Type()->kind == RelationKind::Output ? ProductPointer::Output : ProductPointer::Relation;
      out.push_back({kind, owner, r, owner->GetModelNumber(), place++});
    }
  }
  if (const auto* more = doc->FindOrAddContainer<PointerIndex>().Of(&product)) out.insert(out.end(), more->begin(), more->end());
  std::stable_sort(out.begin(), out.end(), [](const ProductPointer& a, const ProductPointer& b) {
    return a.order != b.order ? a.order < b.order : a.place < b.place;
  });
  return out;
}

std::vector<Ref<TavBaseUnknown>> PointingObjects(const HostProduct& product) {
  std::vector<Ref<TavBaseUnknown>> out;
  for (const ProductPointer& p : PointersTo(product)) {
    switch (p.kind) {
      case ProductPointer::Relation: out.push_back(std::make_shared<HostRelationPointer>(p.relation)); break;
      case ProductPointer::Output: out.push_back(std::make_shared<HostOutputPointer>(p.relation)); break;
      case ProductPointer::BehaviourItem: out.push_back(std::make_shared<HostControlPointer>(p.owner, p.relation)); break;
      case ProductPointer::AssemblyContent: out.push_back(std::make_shared<HostPointer>("OrvMfgAssyContent", p.owner)); break;
      case ProductPointer::Context: out.push_back(std::make_shared<HostPointer>("TavSPPContext", p.owner)); break;
    }
  }
  return out;
}

void RegisterProductPointers() {
  auto& registry = TavExtensionRegistry::Get();
  for (const char* late : {"TavProduct", "TavResource"})
    registry.Register(late, TavIPointingObjects::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
      auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
      return p ? std::make_shared<HostPointing>(p) : nullptr;
    });
  registry.Register("TavProduct", TavIModelEvents::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
    return p ? std::make_shared<HostProductEvents>(p) : nullptr;
  });
  registry.RegisterForAnyType(TavIAlias::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto h = std::dynamic_pointer_cast<HostObject>(o ? o->ExtendedObject() : nullptr);
    return h ? std::make_shared<HostAlias>(h) : nullptr;
  });
}

}  // namespace host
