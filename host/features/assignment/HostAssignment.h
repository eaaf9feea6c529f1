#pragma once
// Assignment support of the reference host: resource behaviours with their input
// and output items, resource attributes, activity contexts, and in hub documents the
// layout of hub attributes per relation type and typed hub values on relations.
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "HostModel.h"
#include "TavAssignment.h"
#include "TavYor.h"

namespace host {

// Relation type names a behaviour offers; its items keep them as relations too.
inline constexpr const char* kBehaviorInputType = "behavior_input_item";
inline constexpr const char* kBehaviorOutputType = "behavior_output_item";

// A behaviour's input or output items in the order offered, with a count of items
// per target beside them: "already held?" answers without a search, so a behaviour
// with tens of thousands of items loads and builds in linear time.
class BehaviorItems {
public:
  const std::vector<Ref<HostRelation>>& List() const { return list_; }
  std::size_t size() const { return list_.size(); }
  bool Holds(const TavBaseUnknown* target) const { return held_.count(target) > 0; }
  void Insert(std::size_t at, Ref<HostRelation> r);
  void Erase(std::size_t at);
  // The position of r, or size() when it is not here.
  std::size_t Find(const HostRelation* r) const;

private:
  std::vector<Ref<HostRelation>> list_;
  std::unordered_map<const TavBaseUnknown*, std::uint32_t> held_;
};

// The activity-like object under a resource. Its items are the behaviour's only
// relations: inputs first offered, then outputs.
class HostBehavior final : public HostActivity,
                           public virtual OrvIResourceBehavior,
                           public virtual OrvIResourceItemMgmt,
                           public virtual OrvIOutputUpdate {
public:
  explicit HostBehavior(const Ref<HostProduct>& resource, const TavUnicodeString& label);
  Ref<TavIProduct> GetResource() const override;

  HRESULT AddInputItem(const Ref<TavBaseUnknown>& item) override { return Add(inputs_, kInput(), item); }
  HRESULT AddOutputItem(const Ref<TavBaseUnknown>& item) override { return Add(outputs_, kOutput(), item); }
  HRESULT RemoveInputItem(const Ref<TavBaseUnknown>& item) override { return Remove(inputs_, item); }
  HRESULT RemoveOutputItem(const Ref<TavBaseUnknown>& item) override { return Remove(outputs_, item); }
  std::vector<Ref<TavBaseUnknown>> GetInputItems() const override { return Targets(inputs_); }
  std::vector<Ref<TavBaseUnknown>> GetOutputItems() const override { return Targets(outputs_); }
  HRESULT IsItemAssigned(const Ref<TavBaseUnknown>& item) const override;
  using HostActivity::IsItemAssigned;  // the activity's test by relation code stays
  // Items under a code: the activity's own relations, and the behaviour's inputs and
  // outputs under code 1 ("processes"; docs/cross-highlight.md), each once.
  std::vector<Ref<TavBaseUnknown>> GetItems(const TavUnicodeString& kind, unsigned code = 0) const override;
  HRESULT UpdateOutputs() override {
    ++outputUpdates_;
    return S_OK;
  }
  int OutputUpdates() const { return outputUpdates_; }

  // Relations: "behavior_input_item" and "behavior_output_item", always both and in
  // that order while one of them is still free for the target; none for a resource.
  HRESULT GetPossibleRelations(const Ref<TavBaseUnknown>& target,
                               std::optional<std::vector<TavUnicodeString>>& types) const override;
  HRESULT GetDisplayName(const TavUnicodeString& typeName, TavUnicodeString& displayName) const override;
  HRESULT CreateRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target,
                         Ref<TavISPPActivitySpecification>* created = nullptr) override;
  HRESULT RemoveRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target) override;
  std::vector<Ref<TavISPPActivitySpecification>> GetRelations() const override;
  std::vector<Ref<TavISPPActivitySpecification>> GetActivitySpecifications(const Ref<TavBaseUnknown>& item) const override;

  static const RelationTypeInfo* kInput();
  static const RelationTypeInfo* kOutput();

private:
  friend struct AssignmentUndo;
  HRESULT Add(BehaviorItems& list, const RelationTypeInfo* type, const Ref<TavBaseUnknown>& item);
  HRESULT Remove(BehaviorItems& list, const Ref<TavBaseUnknown>& item);
  static std::vector<Ref<TavBaseUnknown>> Targets(const BehaviorItems& list);
  BehaviorItems inputs_, outputs_;
  int outputUpdates_ = 0;
};

// Behaviours, loaded attributes and activity contexts of one document.
class HostAssignmentContainer final : public virtual TavISPPContextContainer {
public:
  explicit HostAssignmentContainer(HostDocument* d) : doc_(d) {}
  // The resource's behaviour, or null.
  Ref<HostBehavior> BehaviorOf(const HostProduct& resource) const;
  // A new behaviour; an empty id gets a fresh one; a taken id throws std::invalid_argument.
  Ref<HostBehavior> CreateBehavior(const Ref<HostProduct>& resource, const std::string& id, const TavUnicodeString& label);
  bool RemoveBehavior(const HostProduct& resource);
  std::size_t BehaviorCount() const { return behaviors_.size(); }
  // The behaviours of the document's resources, the resource tree level by level.
  std::vector<Ref<HostBehavior>> BehaviorsInResourceOrder() const;

  bool AttributesLoaded(const HostProduct& r) const { return loaded_.count(&r) > 0; }
  void MarkAttributesLoaded(const HostProduct& r) { loaded_.insert(&r); }

  std::vector<Ref<TavBaseUnknown>> GetContexts(const Ref<TavBaseUnknown>& activity) const override;
  // S_FALSE when the product is already a context of the activity.
  HRESULT AddContext(const Ref<TavBaseUnknown>& activity, const Ref<TavBaseUnknown>& product) override;
  // Drops every context naming one of `products` (products leaving the document).
  void RemoveContextsOf(const std::unordered_set<const TavBaseUnknown*>& products);
  // Each activity that has contexts, with them.
  const std::unordered_map<const TavBaseUnknown*, std::vector<Ref<TavBaseUnknown>>>& ContextMap() const { return contexts_; }

private:
  friend struct AssignmentUndo;
  HostDocument* doc_;
  std::unordered_map<const HostProduct*, Ref<HostBehavior>> behaviors_;
  std::unordered_set<const HostProduct*> loaded_;
  std::unordered_map<const TavBaseUnknown*, std::vector<Ref<TavBaseUnknown>>> contexts_;
};

// The container of a document; created on first use when `create`.
HostAssignmentContainer* AssignmentOf(HostDocument& doc, bool create);

// The hub layout of a hub document: attribute definitions per hub relation type,
// and the typed values written on relations, kept on them as attributes "hub:<name>".
class HostHubLayout final : public virtual OrvIYorLayoutMgt, public virtual OrvIMHIAttributeMgt {
public:
  HRESULT GetAttributeDefinitions(const TavUnicodeString& relationType,
                                  std::vector<OrvYorAttributeDefinition>& definitions) const override;
  HRESULT SetAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name, const TavValue& value) override;
  HRESULT GetAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name, TavValue& value) const override;
  HRESULT RemoveAttributeValue(const Ref<TavBaseUnknown>& object, const TavUnicodeString& name) override;

  // False when the relation type already defines an attribute of that name.
  bool Define(const TavUnicodeString& relationType, OrvYorAttributeDefinition def);
  const std::map<TavUnicodeString, std::vector<OrvYorAttributeDefinition>>& Definitions() const { return defs_; }
  // The hub's attribute types.
  static bool IsKnownType(const TavUnicodeString& type);

private:
  std::map<TavUnicodeString, std::vector<OrvYorAttributeDefinition>> defs_;
};

// The hub layout of a document; null for a local one.
HostHubLayout* HubLayoutOf(const HostDocument& doc);

// Registers the behaviour and resource extensions, the hub layout that every hub
// document gets, and the plant sections "hubAttributes", resource "behavior" and
// activity "context".
void RegisterAssignmentHost();

}  // namespace host
