#pragma once
// The reference host's in-memory PPR model behind the platform interfaces.
#include <unordered_map>

#include <functional>

#include "HostIdTable.h"
#include "TavFlow.h"
#include "TavServices.h"

namespace host {

class HostDocument;
class HostActivity;
class HostProduct;
class HostAssembly;
class HostFlows;
struct TreeDismantler;
struct UndoAccess;  // the undo journal's way into the objects (HostUndo.cpp)
class UndoJournal;
class UndoLog;

// Activity and flow-node types; a type test follows the parent chain.
struct HostType {
  std::string name;
  const HostType* parent = nullptr;
  bool IsA(std::string_view n) const {
    for (auto* t = this; t; t = t->parent)
      if (t->name == n) return true;
    return false;
  }
};
// Registered types: "Activity", "PhysicalActivity", "AssemblyOperation", the flow
// nodes ("Switch", "AndOut", "OrIn", "AndIn", "Start", "Stop", "Feeder", "Deliver"),
// "OrvBehavior" and its "ResourceBehavior", and the types of activity libraries.
// Null for an unknown name.
const HostType* FindType(std::string_view name);
const HostType* RegisterType(const std::string& name, const std::string& parent);

// Relation types an activity can own.
enum class RelationKind { Item, Resource, Output };
struct RelationTypeInfo {
  std::string name;
  RelationKind kind;
  unsigned code;  // item or resource code; 0 for outputs
  bool acceptsProduct, acceptsAssembly, acceptsResource;
};
const RelationTypeInfo* FindRelationType(std::string_view name);
const std::vector<RelationTypeInfo>& RelationTypes();
const RelationTypeInfo* ItemRelationTypeForCode(unsigned code);
const RelationTypeInfo* ResourceRelationTypeForCode(unsigned code);
// "process_uses_resource" -> "Process Uses Resource"
std::string RelationDisplayName(std::string_view typeName);

// The codes an activity holds per related object, by relation kind (an output
// counts as code 1). Most activities relate one or two objects: a short flat list
// answers, with a hash index beside it once the list is long, so that an activity
// with 10^5 relations is not searched per add.
class RelationCodes {
public:
  unsigned Get(RelationKind k, const TavBaseUnknown* o) const;
  // Replaces the codes of one kind; an object left with none leaves the list.
  void Set(RelationKind k, const TavBaseUnknown* o, unsigned codes);
  void Add(RelationKind k, const TavBaseUnknown* o, unsigned codes) { Set(k, o, Get(k, o) | codes); }
  std::size_t ObjectCount() const { return entries_.size(); }

private:
  struct Entry {
    const TavBaseUnknown* object;
    std::uint16_t codes[3];  // by RelationKind
  };
  static constexpr std::size_t kIndexFrom = 16;
  std::size_t Find(const TavBaseUnknown* o) const;  // entries_.size() when absent
  std::vector<Entry> entries_;
  std::unique_ptr<std::unordered_map<const TavBaseUnknown*, std::uint32_t>> index_;
};

// Common state of every model object.
class HostObject : public virtual TavIModelIdentity,
                   public virtual TavIDocumentMember,
                   public virtual TavINavigateObject,
                   public virtual TavIAttributeHolder {
public:
  int GetModelNumber() const override { return modelNumber_; }
  TavUnicodeString GetId() const override { return id_; }
  Ref<TavDocument> GetDocument() const override;
  std::vector<TavUnicodeString> GetIdentificators() const override { return {DisplayName()}; }
  std::vector<TavAttribute> GetAttributes() const override { return attributes_; }
  std::optional<TavValue> GetAttribute(const TavUnicodeString& name) const override;
  void SetAttribute(const TavUnicodeString& name, TavValue value) override;
  bool RemoveAttribute(const TavUnicodeString& name) override;

  virtual TavUnicodeString DisplayName() const = 0;
  HostDocument* Doc() const { return doc_; }
  const std::string& IdString() const { return id_.utf8(); }
  // Without a copy, for whole-plant walks (the writer).
  const std::vector<TavAttribute>& Attributes() const { return attributes_; }
  // Loading: an attribute the loader knows to be new, appended without a search.
  void AppendNewAttribute(TavUnicodeString name, TavValue value) { attributes_.push_back({std::move(name), std::move(value)}); }

protected:
  friend class HostDocument;
  friend struct UndoAccess;
  HostDocument* doc_ = nullptr;  // the document owns its objects and outlives them
  TavUnicodeString id_;
  int modelNumber_ = 0;
  std::vector<TavAttribute> attributes_;
};

class HostProduct final : public HostObject,
                          public virtual TavIProduct,
                          public virtual TavISPPItem,
                          public virtual TavIMovable {
public:
  HostProduct() = default;
  ~HostProduct() override;
  std::string LateType() const override { return resource_ ? "TavResource" : "TavProduct"; }
  TavUnicodeString DisplayName() const override { return name_; }
  TavUnicodeString GetName() const override { return name_; }
  void SetName(const TavUnicodeString& n) override;
  TavUnicodeString GetPartNumber() const override { return partNumber_; }
  void SetPartNumber(const TavUnicodeString& pn) override;
  // Null at a root. The document's resource root ("Resource.1") answers the resource
  // list's roots as its children; they do not answer it as their father, so that
  // resources are made, copied and replaced in the list (TavIResourceTreeRoot).
  Ref<TavIProduct> GetFatherProduct() const override;
  std::vector<Ref<TavIProduct>> GetChildren() const override;
  int GetChildrenCount() const override;
  std::vector<Ref<TavIProduct>> GetAllDescendants() const override;
  bool IsResource() const override { return resource_; }
  TavUnicodeString GetResourceType() const override { return resourceType_; }
  Position GetPosition() const override { return position_ ? *position_ : kNoMove; }
  void SetPosition(const Position& p) override;

  const std::vector<Ref<HostProduct>>& Children() const { return children_; }
  Ref<HostProduct> Father() const { return father_.lock(); }
  const TavUnicodeString& Name() const { return name_; }
  const TavUnicodeString& PartNumber() const { return partNumber_; }
  const TavUnicodeString& ResourceType() const { return resourceType_; }
  void SetResourceType(const TavUnicodeString& t);
  bool HasPosition() const { return hasPosition_; }
  void SetHasPosition(bool b);
  // The document's resource root (HostDocument::ResourceRoot).
  bool IsResourceRoot() const;

private:
  friend class HostDocument;
  friend struct TreeDismantler;
  friend struct UndoAccess;
  TavUnicodeString name_, partNumber_, resourceType_;
  bool resource_ = false;
  bool hasPosition_ = false;
  // Most products are never placed: the identity until a position is set.
  static constexpr Position kNoMove{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  std::unique_ptr<Position> position_;
  void StorePosition(const Position& p);
  std::weak_ptr<HostProduct> father_;
  std::vector<Ref<HostProduct>> children_;
};

class HostAssembly final : public HostObject, public virtual OrvIMfgAssembly, public virtual TavISPPItem {
public:
  std::string LateType() const override { return "OrvMfgAssy"; }
  TavUnicodeString DisplayName() const override { return name_; }
  TavUnicodeString GetName() const override { return name_; }
  void SetName(const TavUnicodeString& n) override;
  TavUnicodeString GetPartNumber() const override { return partNumber_; }
  void SetPartNumber(const TavUnicodeString& pn) override;
  int GetType() const override { return type_; }
  void SetType(int t) override;
  TavUnicodeString GetTypeText() const override;
  HRESULT SetTypeText(const TavUnicodeString& text) override;
  bool IsNotDirectlyChangeable() const override { return notDirectlyChangeable_; }
  void SetNotDirectlyChangeable(bool mark) override;
  TavUnicodeString GetPlanType() const override { return planType_; }
  void SetPlanType(const TavUnicodeString& planType) override;
  HRESULT GetParts(std::vector<Ref<TavBaseUnknown>>& parts) const override;
  std::vector<Ref<OrvIMfgAssembly>> GetChildAssemblies() const override;
  HRESULT AddPart(const Ref<TavBaseUnknown>& part) override;
  HRESULT RemovePart(const Ref<TavBaseUnknown>& part) override;

  const std::vector<Ref<TavBaseUnknown>>& Parts() const { return parts_; }
  const TavUnicodeString& Name() const { return name_; }
  const TavUnicodeString& PartNumber() const { return partNumber_; }
  const TavUnicodeString& PlanType() const { return planType_; }
  // The object (an ExtendedObject) is content.
  bool HasPart(const TavBaseUnknown* part) const;
  // This assembly is `other` or contains it, directly or through other assemblies.
  bool Reaches(const HostAssembly* other) const;
  // The type texts by type, 0..4 ("" for none); -1 for an unknown text.
  static int TypeOfText(const TavUnicodeString& text);
  // Content given by product structure: GetParts answers 1 and the parts' descendants count.
  bool ContentByStructure() const { return byStructure_; }
  void SetContentByStructure(bool b);
  // Loading: a part the loader has checked (new, no cycle), appended without a search.
  void AppendNewPart(Ref<TavBaseUnknown> part) { InsertPart(parts_.size(), std::move(part)); }

private:
  friend class HostDocument;
  friend struct UndoAccess;
  // Every change of the content goes through these two, so the index stays true.
  void InsertPart(std::size_t at, Ref<TavBaseUnknown> part);
  void ErasePart(std::size_t at);
  TavUnicodeString name_, partNumber_, planType_;
  int type_ = 1;
  bool byStructure_ = false;
  bool notDirectlyChangeable_ = false;
  std::vector<Ref<TavBaseUnknown>> parts_;
  // Membership of a long content, so that adding to it is not a search per item;
  // made once the content outgrows a short scan.
  static constexpr std::size_t kIndexFrom = 16;
  std::unique_ptr<std::unordered_map<const TavBaseUnknown*, std::uint32_t>> index_;
};

// One relation owned by an activity.
class HostRelation final : public virtual TavISPPActivitySpecification, public virtual TavIAttributeHolder {
public:
  HostRelation(const RelationTypeInfo* t, Ref<TavBaseUnknown> target, std::weak_ptr<TavBaseUnknown> owner)
      : type_(t), target_(std::move(target)), targetObject_(TavCast<HostObject>(target_.get())), owner_(std::move(owner)) {}
  TavUnicodeString GetRelationType() const override { return type_->name; }
  Ref<TavBaseUnknown> GetTarget() const override { return target_; }
  Ref<TavBaseUnknown> GetOwner() const override { return owner_.lock(); }
  std::vector<TavAttribute> GetAttributes() const override { return attributes_; }
  std::optional<TavValue> GetAttribute(const TavUnicodeString& name) const override;
  void SetAttribute(const TavUnicodeString& name, TavValue value) override;
  bool RemoveAttribute(const TavUnicodeString& name) override;
  const RelationTypeInfo* Type() const { return type_; }
  const Ref<TavBaseUnknown>& Target() const { return target_; }
  // The target as a model object (null for another kind of target): the writer reads
  // its id without a cast through the target's bases.
  const HostObject* TargetObject() const { return targetObject_; }
  const std::vector<TavAttribute>& Attributes() const { return attributes_; }
  // Loading: an attribute the loader knows to be new, appended without a search.
  void AppendNewAttribute(TavUnicodeString name, TavValue value) { attributes_.push_back({std::move(name), std::move(value)}); }

private:
  friend struct UndoAccess;
  const RelationTypeInfo* type_;
  Ref<TavBaseUnknown> target_;
  const HostObject* targetObject_;
  std::weak_ptr<TavBaseUnknown> owner_;
  std::vector<TavAttribute> attributes_;
};

// A product output (or input) of an activity's flow.
class HostProductIO final : public virtual TavISPPProductIO {
public:
  explicit HostProductIO(Ref<TavBaseUnknown> product) : product_(std::move(product)) {}
  Ref<TavBaseUnknown> GetProduct() const override { return std::dynamic_pointer_cast<TavIProduct>(product_) ? product_ : nullptr; }
  Ref<TavBaseUnknown> GetObject() const override { return product_; }

private:
  Ref<TavBaseUnknown> product_;
};

class HostActivity : public HostObject,
                     public virtual TavISPPActivity,
                     public virtual TavISPPChildManagement,
                     public virtual TavISPPItemMgt,
                     public virtual TavISPPResourceManagement,
                     public virtual TavIPCSRelations,
                     public virtual TavISPPFlowMgt,
                     public virtual TavISPPPrecedenceMgt,
                     public virtual TavISPPProcessConstraintsMgt,
                     public virtual OrvIVekVisuConsToPrevCycle {
public:
  HostActivity() = default;
  ~HostActivity() override;
  std::string LateType() const override { return type_->name; }
  TavUnicodeString DisplayName() const override { return label_; }
  // activity
  TavUnicodeString GetLabel() const override { return label_; }
  void SetLabel(const TavUnicodeString& l) override;
  TavUnicodeString GetDescription() const override { return description_; }
  void SetDescription(const TavUnicodeString& d) override;
  double GetTime() const override { return time_; }
  void SetTime(double t) override;
  TavUnicodeString GetTypeName() const override { return type_->name; }
  bool IsOfType(const TavUnicodeString& typeName) const override { return type_->IsA(typeName.utf8()); }
  Ref<TavBaseUnknown> GetFather() const override { return father_.lock(); }
  // child management
  std::vector<Ref<TavBaseUnknown>> GetChildren(const TavUnicodeString& type = {}) const override;
  std::vector<Ref<TavBaseUnknown>> GetAllChildren(const TavUnicodeString& type = {}) const override;
  std::vector<Ref<TavISPPActivity>> GetChildActivities(const TavUnicodeString& type = {}) const override;
  std::vector<Ref<TavISPPActivity>> GetAllChildActivities(const TavUnicodeString& type = {}) const override;
  int GetChildPosition(const Ref<TavBaseUnknown>& child) const override;
  Ref<TavBaseUnknown> CreateChild(const TavUnicodeString& type, const TavUnicodeString& label, int position = -1) override;
  HRESULT RemoveChild(const Ref<TavBaseUnknown>& child) override;
  // items
  HRESULT IsItemAssigned(const Ref<TavBaseUnknown>& item, unsigned code) const override;
  std::vector<Ref<TavBaseUnknown>> GetItems(const TavUnicodeString& kind, unsigned code = 0) const override;
  HRESULT AddItem(const Ref<TavBaseUnknown>& item, unsigned code) override;
  HRESULT RemoveItem(const Ref<TavBaseUnknown>& item, unsigned code) override;
  std::vector<Ref<TavISPPActivitySpecification>> GetActivitySpecifications(const Ref<TavBaseUnknown>& item) const override;
  // resources
  HRESULT IsResourceAssigned(const Ref<TavBaseUnknown>& resource, unsigned code) const override;
  std::vector<Ref<TavBaseUnknown>> GetResources(unsigned code = 0) const override;
  HRESULT AddResource(const Ref<TavBaseUnknown>& resource, unsigned code) override;
  HRESULT RemoveResource(const Ref<TavBaseUnknown>& resource, unsigned code) override;
  // relations
  HRESULT GetPossibleRelations(const Ref<TavBaseUnknown>& target,
                               std::optional<std::vector<TavUnicodeString>>& types) const override;
  HRESULT GetDisplayName(const TavUnicodeString& typeName, TavUnicodeString& displayName) const override;
  HRESULT CreateRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target,
                         Ref<TavISPPActivitySpecification>* created = nullptr) override;
  HRESULT RemoveRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target) override;
  std::vector<Ref<TavISPPActivitySpecification>> GetRelations() const override { return {relations_.begin(), relations_.end()}; }
  // flow
  std::vector<Ref<TavBaseUnknown>> GetOutputs(const Ref<TavBaseUnknown>& item = nullptr) const override;
  std::vector<Ref<TavBaseUnknown>> GetInputs(const Ref<TavBaseUnknown>& item = nullptr) const override;
  HRESULT AddOutput(const Ref<TavBaseUnknown>& product) override;
  HRESULT RemoveOutput(const Ref<TavBaseUnknown>& product) override;
  std::vector<Ref<TavBaseUnknown>> GetNextNodes(const TavUnicodeString& type = {}) const override;
  std::vector<Ref<TavBaseUnknown>> GetPreviousNodes(const TavUnicodeString& type = {}) const override;
  TavUnicodeString GetNodeType() const override { return type_->name; }
  HRESULT AddControlFlowLink(const Ref<TavBaseUnknown>& to) override;
  HRESULT RemoveControlFlowLink(const Ref<TavBaseUnknown>& to) override;
  HRESULT RemoveAllLinks() override;
  std::vector<Ref<TavBaseUnknown>> GetControlFlows(bool outgoing = true) const override;
  // precedence
  std::vector<Ref<TavBaseUnknown>> GetPrecedences() const override;
  std::vector<Ref<TavBaseUnknown>> GetSuccessors() const override;
  std::vector<Ref<TavBaseUnknown>> GetAllowedPredecessors() const override;
  HRESULT AddPrecedence(const Ref<TavBaseUnknown>& before) override;
  HRESULT RemovePrecedence(const Ref<TavBaseUnknown>& before) override;
  // process constraints and constraints to the previous cycle
  std::vector<Ref<TavBaseUnknown>> GetConstraints(int type = TavConstraintType::Any) const override;
  HRESULT AddConstraint(const Ref<TavBaseUnknown>& other, int type = TavConstraintType::Plain) override;
  HRESULT RemoveConstraint(const Ref<TavBaseUnknown>& other, int type = TavConstraintType::Plain) override;
  bool IsConstraintPossible(const Ref<TavBaseUnknown>& other, int type) const override;
  bool HasIndirectConstraints(const Ref<TavBaseUnknown>& other) const override;
  std::vector<Ref<TavBaseUnknown>> GetPrevCycleConstraints() const override;
  HRESULT SetPrevCycleConstraints(const std::vector<Ref<TavBaseUnknown>>& activities) override;

  const HostType* Type() const { return type_; }
  const TavUnicodeString& Label() const { return label_; }
  const TavUnicodeString& Description() const { return description_; }
  const std::vector<Ref<HostActivity>>& Children() const { return children_; }
  Ref<HostActivity> FatherActivity() const { return std::dynamic_pointer_cast<HostActivity>(father_.lock()); }
  const std::vector<Ref<HostRelation>>& Relations() const { return relations_; }
  const std::vector<std::weak_ptr<HostActivity>>& Next() const { return next_; }
  const std::vector<std::weak_ptr<HostActivity>>& Before() const { return before_; }
  const std::vector<std::weak_ptr<HostActivity>>& Previous() const { return previous_; }
  // A control-flow link from this node to `to` exists.
  bool LinksTo(const HostActivity* to) const;
  const std::vector<std::weak_ptr<HostActivity>>& After() const { return after_; }
  // Constraints (to the previous cycle) this activity holds; empty when it holds none.
  const std::vector<std::weak_ptr<HostActivity>>& ConstraintList() const;
  const std::vector<std::weak_ptr<HostActivity>>& PrevCycleList() const;
  // The synchronisation partners of one kind (TavConstraintType StartStart or EndEnd).
  const std::vector<std::weak_ptr<HostActivity>>& SyncList(int type) const;
  // Whether the activity is locked by another user of the hub; sets the last error.
  bool ConstraintsLocked() const;
  // Adds or removes a constraint without the lock check: taking a removed activity's
  // constraints away must not stop at a locked partner.
  HRESULT ChangeConstraint(const Ref<TavBaseUnknown>& other, int type, bool add);
  // Loading: links the loader has checked (new, not to itself), made without a search.
  static void AppendNewFlow(const Ref<HostActivity>& from, const Ref<HostActivity>& to) {
    from->next_.push_back(to);
    to->previous_.push_back(from);
  }
  static void AppendNewPrecedence(const Ref<HostActivity>& before, const Ref<HostActivity>& after) {
    after->before_.push_back(before);
    before->after_.push_back(after);
  }
  static void AppendNewConstraint(const Ref<HostActivity>& from, const Ref<HostActivity>& to, bool prevCycle);
  // Loading: a synchronisation the loader has checked, made on both activities.
  static void AppendNewSync(const Ref<HostActivity>& a, const Ref<HostActivity>& b, int type);

protected:
  friend class HostDocument;
  friend struct TreeDismantler;
  friend struct UndoAccess;
  const HostType* type_ = nullptr;
  TavUnicodeString label_, description_;
  double time_ = 0;
  std::weak_ptr<TavBaseUnknown> father_;
  std::vector<Ref<HostActivity>> children_;
  std::vector<Ref<HostRelation>> relations_;  // creation order
  RelationCodes codes_;  // O(1) relation queries
  std::vector<Ref<HostProductIO>> outputs_;
  std::vector<std::weak_ptr<HostActivity>> next_, previous_, before_, after_;
  // Few activities carry constraints: their lists live apart, made on first use.
  struct ConstraintLinks {
    std::vector<std::weak_ptr<HostActivity>> constraints, constrainedBy, prevCycle, prevCycleOf;
    // Synchronisations by kind - 1: this activity's side, and the partners holding
    // one with this activity (their side).
    std::vector<std::weak_ptr<HostActivity>> sync[2], syncOf[2];
    // The reachability walk's visit stamp: only activities with constraints are walked.
    mutable std::uint64_t visited = 0;
  };
  std::unique_ptr<ConstraintLinks> constraintLinks_;
  ConstraintLinks& Constraints();

  HRESULT AddRelation(const RelationTypeInfo* t, const Ref<TavBaseUnknown>& target, Ref<HostRelation>* out);

public:
  // A relation of type t to obj (an extended object) exists.
  bool IsRelated(const RelationTypeInfo* t, const TavBaseUnknown* obj) const;
  // Loading: a relation the loader has checked (accepted target, new), made without a search.
  Ref<HostRelation> AppendNewRelation(const RelationTypeInfo* t, Ref<TavBaseUnknown> target);

protected:

private:
  template <class Handle>
  std::vector<Handle> ChildrenAs(const TavUnicodeString& type) const;
  template <class Handle>
  std::vector<Handle> AllChildrenAs(const TavUnicodeString& type) const;
};

class HostRootActivity final : public HostActivity, public virtual TavISPPActivityRoot {};

class HostProcessContainer final : public virtual TavISPPProcessContainer {
public:
  std::vector<Ref<TavISPPActivityRoot>> GetRootActivities() const override { return {roots_.begin(), roots_.end()}; }
  std::vector<Ref<HostRootActivity>> roots_;
};

class HostRootList final : public virtual TavIPPRProductList, public virtual TavIPPRResourceList {
public:
  explicit HostRootList(std::string name) : name_(std::move(name)) {}
  TavUnicodeString GetListName() const override { return name_; }
  std::vector<Ref<TavIProduct>> GetRoots() const override { return {roots_.begin(), roots_.end()}; }
  bool Contains(const Ref<TavBaseUnknown>& product) const override;
  std::vector<Ref<HostProduct>> roots_;

private:
  std::string name_;
};

class HostAssemblyContainer final : public virtual TavIMfgAssemblyContainer {
public:
  explicit HostAssemblyContainer(HostDocument* d) : doc_(d) {}
  std::string LateType() const override { return "OrvMfgAssyContainer"; }
  std::vector<Ref<OrvIMfgAssembly>> GetAssemblies() const override { return {assemblies_.begin(), assemblies_.end()}; }
  Ref<OrvIMfgAssembly> CreateAssembly(const TavUnicodeString& name, int type) override;
  HRESULT CreateChildAssembly(const TavUnicodeString& name, const Ref<OrvIMfgAssembly>& father,
                              const std::vector<Ref<TavBaseUnknown>>& content, Ref<OrvIMfgAssembly>& out) override;
  HRESULT RemoveAssembly(const Ref<OrvIMfgAssembly>& assembly) override;
  HostDocument* Doc() const { return doc_; }
  std::vector<Ref<HostAssembly>> assemblies_;

private:
  HostDocument* doc_;
};

class HostDocEnvironment final : public virtual TavIDocEnvironment {
public:
  explicit HostDocEnvironment(std::string n) : name_(std::move(n)) {}
  TavUnicodeString GetName() const override { return name_; }
  bool IsAKindOf(const TavUnicodeString& kind) const override { return kind == name_ || kind == "TavDocEnvironment"; }

private:
  std::string name_;
};

// A plant document: the root containers and every object in them.
class HostDocument final : public virtual TavDocument {
public:
  // A new empty document; every registered initialiser then adds what its feature
  // hangs on documents (RegisterDocumentInitialiser).
  static Ref<HostDocument> Create(bool hub = false);
  // Objects kept beyond the document (by a command, a selection) learn that it is
  // gone: their GetDocument() answers null from then on.
  ~HostDocument() override;

  Ref<TavIDocEnvironment> GetDocEnvironment() const override { return environment_; }
  Ref<TavBaseUnknown> GetRootContainer(std::string_view interfaceName) const override;
  std::vector<Ref<TavBaseUnknown>> GetContainers() const override;
  TavUnicodeString GetDisplayName() const override { return displayName_; }
  TavUnicodeString GetDocumentKind() const override { return "TavProcess"; }
  Ref<TavBaseUnknown> FindById(const TavUnicodeString& id) const override;
  // The same without making a string of the id (the loader's references).
  Ref<TavBaseUnknown> ObjectById(std::string_view id) const { return byId_.Lock(id); }

  bool IsHub() const { return hub_; }
  void SetDisplayName(const TavUnicodeString& n);
  const std::string& FilePath() const { return filePath_; }
  void SetFilePath(const std::string& p) { filePath_ = p; }

  // Construction. An empty id gets a fresh one; a taken id throws std::invalid_argument.
  Ref<HostRootActivity> CreateRootProcess(const std::string& id, const TavUnicodeString& label, const std::string& type = "Activity");
  // A root activity kept outside the process container (TSAs).
  Ref<HostRootActivity> CreateDetachedRoot(const std::string& id, const TavUnicodeString& label, const std::string& type);
  Ref<HostActivity> CreateActivity(const Ref<HostActivity>& father, const std::string& type, const std::string& id,
                                   const TavUnicodeString& label, int position = -1);
  Ref<HostProduct> CreateProduct(const Ref<HostProduct>& father, const std::string& id, const TavUnicodeString& name,
                                 const TavUnicodeString& partNumber = {}, bool resource = false);
  Ref<HostAssembly> CreateAssembly(const std::string& id, const TavUnicodeString& name, int type = 1);
  // Detaches an activity subtree; its relations and links go with it.
  void RemoveActivity(const Ref<HostActivity>& a);
  // Takes an assembly out: first what points at it (content of other assemblies,
  // activity relations and outputs, then every removal hook), recorded for undo.
  // False when it is not an assembly of this document.
  bool RemoveAssembly(const Ref<HostAssembly>& a);
  // The resource tree's root product ("Resource.1", TavIResourceTreeRoot); it is no
  // object of the document (no id, never saved).
  const Ref<HostProduct>& ResourceRoot() const { return resourceRoot_; }

  HostProcessContainer& Process() { return *process_; }
  const HostProcessContainer& Process() const { return *process_; }
  HostRootList& Products() { return *products_; }
  const HostRootList& Products() const { return *products_; }
  HostRootList& Resources() { return *resources_; }
  const HostRootList& Resources() const { return *resources_; }
  HostAssemblyContainer& Assemblies() { return *assemblies_; }
  const HostAssemblyContainer& Assemblies() const { return *assemblies_; }
  // Control-flow links as objects (HostFlow.h).
  HostFlows& Flows() { return *flows_; }
  const HostFlows& Flows() const { return *flows_; }
  std::size_t ObjectCount() const { return byId_.Size(); }
  // Room for n ids, so that a load of n objects never regrows the id table.
  void ReserveIds(std::size_t n) { byId_.Reserve(n); }
  // Every object of the document, in no particular order.
  template <class F>
  void ForEachObject(F&& f) const {
    byId_.ForEach(f);
  }

  // Objects by path ("Process/Body Shop/Weld.2", "Products/Door/Hinge.1",
  // "Resources/Station.1", "Assemblies/DoorAssy") or id ("#a17"). The path
  // element runs from the tree root to the object. Empty when not found.
  TavPathElement Resolve(std::string_view path) const;
  // The path element of an object from its tree root.
  TavPathElement PathOf(const Ref<TavBaseUnknown>& o) const;
  // The printable path of an object, the inverse of Resolve.
  std::string PathString(const Ref<TavBaseUnknown>& o) const;

  std::string NewId(char prefix);
  // Gives an object made by a host extension (fasteners, behaviours, ...) its id and
  // model number in this document; a taken id throws std::invalid_argument.
  void AdoptObject(HostObject& o, const std::string& id, char prefix) { Adopt(o, id, prefix); }

private:
  HostDocument() = default;
  TavPathElement ResolveTreePath(std::string_view path) const;
  TavPathElement ResolveIdOrTreePath(std::string_view path) const;
  void Adopt(HostObject& o, const std::string& id, char prefix);
  Ref<HostRootActivity> MakeRoot(const std::string& id, const TavUnicodeString& label, const std::string& type, char prefix);

  bool hub_ = false;
  Ref<HostDocEnvironment> environment_;
  Ref<HostProcessContainer> process_;
  Ref<HostRootList> products_, resources_;
  Ref<HostAssemblyContainer> assemblies_;
  Ref<HostProduct> resourceRoot_;
  std::unique_ptr<HostFlows> flows_;
  std::vector<Ref<TavBaseUnknown>> extraContainers_;
  struct FoundContainer {
    const std::type_info* type;
    void* found;  // a C*, or null
  };
  mutable std::vector<FoundContainer> containerCache_;
  TavUnicodeString displayName_ = "Plant";
  std::string filePath_;
  IdTable byId_;
  int nextModelNumber_ = 1;
  std::unordered_map<char, long> nextId_;

public:
  // ---- undo (HostUndo.h). The journal of this document's changes; the records of
  // the open transaction, null while nothing records (the mutators' only test).
  UndoJournal& Journal() { return *journal_; }
  const UndoJournal& Journal() const { return *journal_; }
  UndoLog* Recording() const { return recording_; }
  // Changes since the last save (or the load), following undo back to the saved state.
  bool IsModified() const;
  void MarkSaved();
  // Whether the object is in this document now (not taken out by a removal).
  bool Holds(const HostObject& o) const { return o.Doc() == this; }
  // For features that undo the creation of an object they adopted: it leaves the
  // document with its id, and comes back (false when another object took the id).
  void ReleaseId(HostObject& o);
  bool RestoreId(HostObject& o);

private:
  friend class UndoJournal;
  friend struct UndoAccess;
  std::unique_ptr<UndoJournal> journal_;
  UndoLog* recording_ = nullptr;

public:
  // Extra containers a subsystem of the host hangs on the document ("TavSPPContExt", ...).
  void AddContainer(Ref<TavBaseUnknown> c) {
    extraContainers_.push_back(std::move(c));
    containerCache_.clear();
  }
  // The extra container of type C; null when there is none. Savers and hooks ask per
  // object, so each answer is remembered (absence too) until a container is added.
  template <class C>
  C* FindContainer() const {
    const std::type_info* type = &typeid(C);
    for (const FoundContainer& f : containerCache_)
      if (f.type == type) return static_cast<C*>(f.found);
    C* x = nullptr;
    for (auto& c : extraContainers_)
      if ((x = TavCast<C>(c.get()))) break;
    containerCache_.push_back({type, x});
    return x;
  }
  // The extra container of type C, made (as C(this)) on first use.
  template <class C>
  C& FindOrAddContainer() {
    if (C* x = FindContainer<C>()) return *x;
    auto c = std::make_shared<C>(this);
    AddContainer(c);
    return *c;
  }

  // The depth-first order below a process root, kept until the next structural
  // change (an activity made or removed): whole-process walks then read one flat
  // list instead of chasing pointers down the tree. Null for other activities.
  struct TreeOrderList {
    std::vector<Ref<HostActivity>> activities;
    std::vector<const HostType*> types;  // of each activity (fixed at creation): type tests touch no activity
  };
  const TreeOrderList* TreeOrder(const HostActivity& root) const;

private:
  mutable std::unordered_map<const HostActivity*, TreeOrderList> treeOrder_;
};

// Host features that hang containers on every document (the process container
// extension, the hub adapter of hub documents, ...) register here at start-up.
void RegisterDocumentInitialiser(std::function<void(HostDocument&)> init);

// Host features that keep references to assemblies (behaviours, fasteners, selection
// sets) register here: an assembly being removed is first taken out of them, each
// recording its own undo.
void RegisterAssemblyRemovalHook(std::function<void(HostDocument&, const Ref<HostAssembly>&)> hook);

// Objects a host feature keeps under a product, resource or assembly (states,
// stored positions): paths name them "OWNER/kind:NAME", after the tree is tried.
struct SubObjectKind {
  std::string kind;  // "state"
  // The object of that name under the owner; null when none.
  std::function<Ref<TavBaseUnknown>(const Ref<TavBaseUnknown>& owner, const TavUnicodeString& name)> find;
  // The owner of an object of this kind; null when the object is of another kind.
  std::function<Ref<TavBaseUnknown>(const Ref<TavBaseUnknown>& object)> ownerOf;
};
void RegisterSubObjectKind(SubObjectKind k);

// The activity a host feature keeps under a resource (its behaviour): tree paths go
// on from the resource through it ("Resources/Robot.1/Robot.1 Behavior/Weld.1").
void RegisterResourceActivity(std::function<Ref<HostActivity>(const HostProduct& resource)> find);

}  // namespace host
