#pragma once
// Items (products and manufactured assemblies) as inputs and outputs of a
// resource's behaviour. Adding an input also puts the item under the resource's
// output manufactured assembly, made on demand. The extension keeps no state.
#include <string_view>

#include "TavAssignment.h"

class OrvEResourceRelationsForItems final : public virtual OrvIResourceRelations {
public:
  explicit OrvEResourceRelationsForItems(Ref<TavBaseUnknown> item) : item_(std::move(item)) {}
  static constexpr const char* kClassName = "OrvEResourceRelationsForItems";
  static const char* GetClassName() { return kClassName; }
  static bool IsA(std::string_view name) { return name == kClassName || name == OrvIResourceRelations::kInterfaceName; }
  Ref<TavBaseUnknown> ExtendedObject() override { return item_; }

  HRESULT AddResourceRelation(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type, unsigned char,
                              unsigned char) override;
  HRESULT RemoveResourceRelation(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type, unsigned char,
                                 unsigned char) override;
  HRESULT IsValidToAssign(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type) override;
  HRESULT IsAssigned(const Ref<TavBaseUnknown>& resource, OrvResourceRelationType type) override;

  // The behaviour's item management. With `create`, a missing behaviour is made and
  // `created` tells so, for the caller to take it back when it ends up unused.
  static HRESULT GetResourceItemMgt(const Ref<TavBaseUnknown>& resource, Ref<OrvIResourceItemMgmt>& itemMgmt,
                                    bool create = false, bool* created = nullptr);
  static HRESULT PostUpdateAddItem(const Ref<TavBaseUnknown>& item, const Ref<TavBaseUnknown>& resource);
  static HRESULT PostUpdateRemoveItem(const Ref<TavBaseUnknown>& item, const Ref<TavBaseUnknown>& resource);
  static bool IsItemOutputOfResource(const Ref<TavBaseUnknown>& assembly, const Ref<TavBaseUnknown>& resource);
  // The first output item of the behaviour that is a manufactured assembly.
  static HRESULT GetOutputItem(const Ref<TavBaseUnknown>& resource, Ref<OrvIMfgAssembly>& assembly);
  // A new output assembly "MA_<resource name>", an output item of the behaviour.
  static HRESULT CreateOutputItem(const Ref<TavBaseUnknown>& resource, Ref<OrvIMfgAssembly>& assembly);
  static HRESULT ReassignResourceRelation() { return E_NOTIMPL; }

private:
  static bool IsFasteningResource(const Ref<TavBaseUnknown>& resource);
  Ref<TavBaseUnknown> item_;
};

// Makes the extension reachable on products and manufactured assemblies. Idempotent.
void RegisterResourceRelationsForItems();
