#pragma once
// The host's PPR model as the workbench sees it: documents, activities, items,
// products, resources, manufactured assemblies, flows and links.
#include <array>
#include <optional>
#include <variant>

#include "TavBase.h"

// A typed value: user attributes, hub attributes, relation attributes.
using TavValue = std::variant<std::monostate, TavUnicodeString, std::int64_t, double, bool>;
TavUnicodeString TavValueToText(const TavValue& v);  // the value as the user reads it

struct TavAttribute {
  TavUnicodeString name;
  TavValue value;
};

// Objects that carry named user attributes.
class TavIAttributeHolder : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIAttributeHolder);
  virtual std::vector<TavAttribute> GetAttributes() const = 0;
  virtual std::optional<TavValue> GetAttribute(const TavUnicodeString& name) const = 0;
  virtual void SetAttribute(const TavUnicodeString& name, TavValue value) = 0;
  virtual bool RemoveAttribute(const TavUnicodeString& name) = 0;
};

// Navigation identifiers: how the tree and messages name an object.
class TavINavigateObject : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavINavigateObject);
  virtual std::vector<TavUnicodeString> GetIdentificators() const = 0;
};

// The model's integer id and the document's stable string id ("a17").
class TavIModelIdentity : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIModelIdentity);
  virtual int GetModelNumber() const = 0;
  virtual TavUnicodeString GetId() const = 0;
};

class TavDocument;

// Anything that lives in a document knows it.
class TavIDocumentMember : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIDocumentMember);
  virtual Ref<TavDocument> GetDocument() const = 0;
};

// The document an object belongs to; null for no object or one outside documents.
inline Ref<TavDocument> TavDocumentOf(const Ref<TavBaseUnknown>& o) {
  auto m = query<TavIDocumentMember>(o);
  return m ? m->GetDocument() : nullptr;
}

// ---------------------------------------------------------------- items
// Products and manufactured assemblies, as the activities relate them.
class TavISPPItem : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPItem);
};

class TavIProduct : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIProduct);
  virtual TavUnicodeString GetName() const = 0;           // instance name ("Door.1")
  virtual void SetName(const TavUnicodeString& name) = 0;
  virtual TavUnicodeString GetPartNumber() const = 0;
  virtual void SetPartNumber(const TavUnicodeString& pn) = 0;
  virtual Ref<TavIProduct> GetFatherProduct() const = 0;  // null at a root
  virtual std::vector<Ref<TavIProduct>> GetChildren() const = 0;
  virtual int GetChildrenCount() const = 0;
  // Depth-first, parent before children, children in order; the product itself excluded.
  virtual std::vector<Ref<TavIProduct>> GetAllDescendants() const = 0;
  virtual bool IsResource() const = 0;          // lives in the resource list
  virtual TavUnicodeString GetResourceType() const = 0;  // "Station", "Robot", ... (resources)
};

// A product's position: a 4x3 matrix (rotation rows then translation).
class TavIMovable : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIMovable);
  using Position = std::array<double, 12>;
  virtual Position GetPosition() const = 0;
  virtual void SetPosition(const Position& p) = 0;
};

class OrvIMfgAssembly : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMfgAssembly);
  virtual TavUnicodeString GetName() const = 0;
  virtual void SetName(const TavUnicodeString& name) = 0;
  virtual TavUnicodeString GetPartNumber() const = 0;
  virtual void SetPartNumber(const TavUnicodeString& pn) = 0;
  virtual int GetType() const = 0;  // 0 none, 1 assembly, 2 manufacturing kit, 3 output, 4 AST
  virtual void SetType(int type) = 0;
  // The type as text: "" (0), "Assembly", "ManufacturingKit", "MAOutput", "AST".
  virtual TavUnicodeString GetTypeText() const = 0;
  // Sets the type by its text; "Manufacturing Kit" is taken for "ManufacturingKit".
  // E_FAIL (nothing changed) for an unknown text.
  virtual HRESULT SetTypeText(const TavUnicodeString& text) = 0;
  // Marked at creation as not directly changeable: editors refuse to open it.
  virtual bool IsNotDirectlyChangeable() const = 0;
  virtual void SetNotDirectlyChangeable(bool mark) = 0;
  // A kit's plan type (one of the catalogue's kit plan types); empty when none.
  virtual TavUnicodeString GetPlanType() const = 0;
  virtual void SetPlanType(const TavUnicodeString& planType) = 0;
  // The assembly's content. Result 0: `parts` is the content itself; a positive
  // code: `parts` lists products whose descendants make the content; negative: failure.
  virtual HRESULT GetParts(std::vector<Ref<TavBaseUnknown>>& parts) const = 0;
  virtual std::vector<Ref<OrvIMfgAssembly>> GetChildAssemblies() const = 0;
  // Appends a product, resource or assembly. S_FALSE when it is already content;
  // E_FAIL (nothing changed) for another object or an assembly that is this one or
  // contains it, directly or through other assemblies.
  virtual HRESULT AddPart(const Ref<TavBaseUnknown>& part) = 0;
  virtual HRESULT RemovePart(const Ref<TavBaseUnknown>& part) = 0;
};

// ---------------------------------------------------------------- activities
class TavISPPAbstractActivity : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPAbstractActivity);
  virtual TavUnicodeString GetLabel() const = 0;
  virtual void SetLabel(const TavUnicodeString& label) = 0;
  virtual TavUnicodeString GetDescription() const = 0;
  virtual void SetDescription(const TavUnicodeString& d) = 0;
  virtual double GetTime() const = 0;
  virtual void SetTime(double t) = 0;
  virtual TavUnicodeString GetTypeName() const = 0;
  // Type test by name, following the host's type hierarchy ("AssemblyOperation"
  // is a "PhysicalActivity" is an "Activity").
  virtual bool IsOfType(const TavUnicodeString& typeName) const = 0;
  // The father activity, or the resource for a behaviour; null at a root.
  virtual Ref<TavBaseUnknown> GetFather() const = 0;
};

class TavISPPActivity : public virtual TavISPPAbstractActivity {
public:
  TAV_INTERFACE(TavISPPActivity);
};

// The root activity of a process container.
class TavISPPActivityRoot : public virtual TavISPPActivity {
public:
  TAV_INTERFACE(TavISPPActivityRoot);
};

class TavISPPChildManagement : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPChildManagement);
  // Children passing the type test (empty type: all), in order.
  virtual std::vector<Ref<TavBaseUnknown>> GetChildren(const TavUnicodeString& type = {}) const = 0;
  // Depth-first, parent before children, children in order; the object itself excluded.
  virtual std::vector<Ref<TavBaseUnknown>> GetAllChildren(const TavUnicodeString& type = {}) const = 0;
  // The same two lists as activities, for walks over whole processes: element k is
  // element k of GetChildren (GetAllChildren) as a TavISPPActivity, or null when it is
  // none. A host can answer without an interface query per object; these defaults ask.
  virtual std::vector<Ref<TavISPPActivity>> GetChildActivities(const TavUnicodeString& type = {}) const {
    return AsActivities(GetChildren(type));
  }
  virtual std::vector<Ref<TavISPPActivity>> GetAllChildActivities(const TavUnicodeString& type = {}) const {
    return AsActivities(GetAllChildren(type));
  }
  // The 0-based position of a child among all children, or -1 when it is none of
  // this object's. A host can answer without copying the child list; this default asks.
  virtual int GetChildPosition(const Ref<TavBaseUnknown>& child) const {
    const auto children = GetChildren();
    for (std::size_t i = 0; i < children.size(); ++i)
      if (SameObject(children[i], child)) return static_cast<int>(i);
    return -1;
  }
  // A new child of a registered type, appended (position < 0) or inserted at a 0-based position.
  virtual Ref<TavBaseUnknown> CreateChild(const TavUnicodeString& type, const TavUnicodeString& label, int position = -1) = 0;
  virtual HRESULT RemoveChild(const Ref<TavBaseUnknown>& child) = 0;

protected:
  static std::vector<Ref<TavISPPActivity>> AsActivities(std::vector<Ref<TavBaseUnknown>>&& objects) {
    std::vector<Ref<TavISPPActivity>> out;
    out.reserve(objects.size());
    for (auto& o : objects) {
      TavISPPActivity* a = TavCast<TavISPPActivity>(o.get());
      out.push_back(a ? Ref<TavISPPActivity>(std::move(o), a) : nullptr);
    }
    return out;
  }
};

// Item relation codes as the host reports them back.
namespace TavItemCode {
inline constexpr unsigned Processes = 1, FirstProcesses = 2, Removes = 4, Attaches = 8, Detaches = 16,
                          ImplementsRequirement = 32;
}
namespace TavResourceCode {
inline constexpr unsigned Uses = 1, RunsOn = 2;
}

// A relation object: one assignment of an item or resource to an activity.
class TavISPPActivitySpecification : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPActivitySpecification);
  virtual TavUnicodeString GetRelationType() const = 0;
  virtual Ref<TavBaseUnknown> GetTarget() const = 0;
  virtual Ref<TavBaseUnknown> GetOwner() const = 0;
};

class TavISPPItemMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPItemMgt);
  // S_OK when the item is related under the code, S_FALSE when not, E_FAIL on a null item.
  virtual HRESULT IsItemAssigned(const Ref<TavBaseUnknown>& item, unsigned code) const = 0;
  // Items of a kind ("Item") related under the code; code 0: under any code.
  virtual std::vector<Ref<TavBaseUnknown>> GetItems(const TavUnicodeString& kind, unsigned code = 0) const = 0;
  virtual HRESULT AddItem(const Ref<TavBaseUnknown>& item, unsigned code) = 0;
  virtual HRESULT RemoveItem(const Ref<TavBaseUnknown>& item, unsigned code) = 0;
  // The relation objects that relate the item to this activity.
  virtual std::vector<Ref<TavISPPActivitySpecification>> GetActivitySpecifications(const Ref<TavBaseUnknown>& item) const = 0;
};

class TavISPPResourceManagement : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPResourceManagement);
  virtual HRESULT IsResourceAssigned(const Ref<TavBaseUnknown>& resource, unsigned code) const = 0;
  virtual std::vector<Ref<TavBaseUnknown>> GetResources(unsigned code = 0) const = 0;
  virtual HRESULT AddResource(const Ref<TavBaseUnknown>& resource, unsigned code) = 0;
  virtual HRESULT RemoveResource(const Ref<TavBaseUnknown>& resource, unsigned code) = 0;
};

// Relation types an activity offers and their creation.
class TavIPCSRelations : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIPCSRelations);
  // Type names possible between this activity and the target. S_OK with a list,
  // S_OK with std::nullopt when the target offers no relation at all.
  virtual HRESULT GetPossibleRelations(const Ref<TavBaseUnknown>& target,
                                       std::optional<std::vector<TavUnicodeString>>& types) const = 0;
  virtual HRESULT GetDisplayName(const TavUnicodeString& typeName, TavUnicodeString& displayName) const = 0;
  virtual HRESULT CreateRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target,
                                 Ref<TavISPPActivitySpecification>* created = nullptr) = 0;
  virtual HRESULT RemoveRelation(const TavUnicodeString& typeName, const Ref<TavBaseUnknown>& target) = 0;
  // All relations in creation order.
  virtual std::vector<Ref<TavISPPActivitySpecification>> GetRelations() const = 0;
};

// A flow input or output carrying a product.
class TavISPPProductIO : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPProductIO);
  virtual Ref<TavBaseUnknown> GetProduct() const = 0;
  virtual Ref<TavBaseUnknown> GetObject() const = 0;  // the second accessor: the object the IO stands for
};

// A flow node: an activity or a control node ("Switch", "Start", ...).
class TavISPPFlowMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPFlowMgt);
  // Outputs (inputs) of the activity's flow; with an item, only those carrying it.
  virtual std::vector<Ref<TavBaseUnknown>> GetOutputs(const Ref<TavBaseUnknown>& item = nullptr) const = 0;
  virtual std::vector<Ref<TavBaseUnknown>> GetInputs(const Ref<TavBaseUnknown>& item = nullptr) const = 0;
  virtual HRESULT AddOutput(const Ref<TavBaseUnknown>& product) = 0;
  virtual HRESULT RemoveOutput(const Ref<TavBaseUnknown>& product) = 0;
  // Neighbours along control-flow links passing the type test.
  virtual std::vector<Ref<TavBaseUnknown>> GetNextNodes(const TavUnicodeString& type = {}) const = 0;
  virtual std::vector<Ref<TavBaseUnknown>> GetPreviousNodes(const TavUnicodeString& type = {}) const = 0;
  // The node's type name ("Activity", "Switch", "Start", ...).
  virtual TavUnicodeString GetNodeType() const = 0;
  // A link from this node to another: S_OK made, S_FALSE already there, E_FAIL refused.
  virtual HRESULT AddControlFlowLink(const Ref<TavBaseUnknown>& to) = 0;
  virtual HRESULT RemoveControlFlowLink(const Ref<TavBaseUnknown>& to) = 0;
  // Removes every link into and out of the node.
  virtual HRESULT RemoveAllLinks() = 0;
  // The link objects out of (into) the node, in link order.
  virtual std::vector<Ref<TavBaseUnknown>> GetControlFlows(bool outgoing = true) const = 0;
};

// One control-flow link, as an object the user can pick. Its ends are null once
// the link is gone.
class TavISPPControlFlow : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPControlFlow);
  virtual Ref<TavBaseUnknown> GetSourceNode() const = 0;
  virtual Ref<TavBaseUnknown> GetTargetNode() const = 0;
};

// Deletion of a model object through its life cycle.
class TavILifeCycleObject : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavILifeCycleObject);
  virtual HRESULT Remove() = 0;
};

class TavISPPPrecedenceMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPPrecedenceMgt);
  virtual std::vector<Ref<TavBaseUnknown>> GetPrecedences() const = 0;  // activities that must precede
  virtual std::vector<Ref<TavBaseUnknown>> GetSuccessors() const = 0;
  // Activities that may become predecessors: siblings that do not already follow
  // this activity, directly or transitively.
  virtual std::vector<Ref<TavBaseUnknown>> GetAllowedPredecessors() const = 0;
  virtual HRESULT AddPrecedence(const Ref<TavBaseUnknown>& before) = 0;
  virtual HRESULT RemovePrecedence(const Ref<TavBaseUnknown>& before) = 0;
};

// ---------------------------------------------------------------- containers
class TavISPPProcessContainer : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPProcessContainer);
  virtual std::vector<Ref<TavISPPActivityRoot>> GetRootActivities() const = 0;
};

// The document's product list or resource list.
class TavIPPRRootList : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIPPRRootList);
  virtual TavUnicodeString GetListName() const = 0;  // "Products", "Resources"
  virtual std::vector<Ref<TavIProduct>> GetRoots() const = 0;
  virtual bool Contains(const Ref<TavBaseUnknown>& product) const = 0;  // anywhere below a root
};

class TavIPPRProductList : public virtual TavIPPRRootList {
public:
  TAV_INTERFACE(TavIPPRProductList);
};
class TavIPPRResourceList : public virtual TavIPPRRootList {
public:
  TAV_INTERFACE(TavIPPRResourceList);
};

class TavIMfgAssemblyContainer : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIMfgAssemblyContainer);
  virtual std::vector<Ref<OrvIMfgAssembly>> GetAssemblies() const = 0;
  virtual Ref<OrvIMfgAssembly> CreateAssembly(const TavUnicodeString& name, int type) = 0;
  // A new assembly named `name` holding `content` in order, made a part of `father`.
  // E_FAIL, nothing made, when an item cannot be content or would make an assembly
  // contain itself (the father or an assembly containing it among the content).
  virtual HRESULT CreateChildAssembly(const TavUnicodeString& name, const Ref<OrvIMfgAssembly>& father,
                                      const std::vector<Ref<TavBaseUnknown>>& content, Ref<OrvIMfgAssembly>& out) = 0;
  // Takes an assembly out of the document: afterwards nothing points at it (content
  // of other assemblies, activity relations and outputs, behaviours, fasteners,
  // selection sets). Recorded for undo. E_FAIL when it is not in this container.
  virtual HRESULT RemoveAssembly(const Ref<OrvIMfgAssembly>& assembly) = 0;
};

class TavIDocEnvironment : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIDocEnvironment);
  virtual TavUnicodeString GetName() const = 0;      // "YorDocEnv" for the hub
  virtual bool IsAKindOf(const TavUnicodeString& kind) const = 0;
  // The name the environment gives to a document's identifier (a library's title);
  // empty when it gives none.
  virtual TavUnicodeString GetIdentifierName(const Ref<TavBaseUnknown>& /*document*/) const { return {}; }
};

class TavDocument : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavDocument);
  virtual Ref<TavIDocEnvironment> GetDocEnvironment() const = 0;
  // The root container supporting the interface, or null.
  virtual Ref<TavBaseUnknown> GetRootContainer(std::string_view interfaceName) const = 0;
  virtual std::vector<Ref<TavBaseUnknown>> GetContainers() const = 0;
  virtual TavUnicodeString GetDisplayName() const = 0;
  virtual TavUnicodeString GetDocumentKind() const = 0;  // "TavProcess"
  // Finds an object by its stable id, or null.
  virtual Ref<TavBaseUnknown> FindById(const TavUnicodeString& id) const = 0;
};

// The manufactured-assembly factory on a document (null: the current document).
class OrvEMfgAssemblyFactory {
public:
  static std::vector<Ref<OrvIMfgAssembly>> GetMAsInContainer(const Ref<TavDocument>& doc, int subtype = 0);
  static Ref<OrvIMfgAssembly> CreateMfgAssembly(const Ref<TavDocument>& doc, const TavUnicodeString& name, int type = 1);
  // On the current document: an unnamed assembly of type 1, marked not directly
  // changeable on request; a negative result (null `out`) is a failure.
  static HRESULT CreateMfgAssembly(Ref<OrvIMfgAssembly>& out, bool notDirectChangeable = false);
  static HRESULT CreateMAAsChildOfMA(const TavUnicodeString& name, const Ref<OrvIMfgAssembly>& father,
                                     const std::vector<Ref<TavBaseUnknown>>& content, Ref<OrvIMfgAssembly>& out);
  // The life-cycle removal of an assembly of its own document.
  static HRESULT RemoveMfgAssembly(const Ref<OrvIMfgAssembly>& assembly);
};

// Registers the names above for name-based queries.
void TavDeclarePPRInterfaces();
