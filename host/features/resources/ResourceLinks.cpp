// What links to a product or resource (TavILinkableObject): one spec object per
// relation naming it, answered from the model's reverse index.

#include "HostProducts.h"
#include "HostRelationIndex.h"
#include "HostResources.h"

namespace host {

namespace {

// A relation seen as a spec object: "PhysicActivity" is the activity owning it.
class HostRelationSpec final : public virtual TavISpecObject {
public:
  explicit HostRelationSpec(Ref<HostRelation> r) : relation_(std::move(r)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return relation_; }
  Ref<TavBaseUnknown> GetSpecAttribute(const TavUnicodeString& name) const override {
    return name == "PhysicActivity" ? relation_->GetOwner() : nullptr;
  }

private:
  Ref<HostRelation> relation_;
};

class HostLinkable final : public virtual TavILinkableObject {
public:
  explicit HostLinkable(Ref<HostObject> o) : object_(std::move(o)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return object_; }
  std::vector<Ref<TavBaseUnknown>> GetLinkedObjects() const override {
    std::vector<Ref<TavBaseUnknown>> out;
    const HostDocument* doc = object_->Doc();
    const RelationIndex* index = doc ? RelationIndex::Of(*doc) : nullptr;
    if (!index) return out;
    for (auto& r : index->Naming(object_.get())) out.push_back(std::make_shared<HostRelationSpec>(std::move(r)));
    return out;
  }

private:
  Ref<HostObject> object_;
};

}  // namespace

void RegisterResourceLinks() {
  auto linkable = [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto h = std::dynamic_pointer_cast<HostObject>(o ? o->ExtendedObject() : nullptr);
    return h ? std::make_shared<HostLinkable>(h) : nullptr;
  };
  for (const char* late : {"TavProduct", "TavResource", "OrvMfgAssy"})
    TavExtensionRegistry::Get().Register(late, TavILinkableObject::kInterfaceName, linkable);
}

}  // namespace host
