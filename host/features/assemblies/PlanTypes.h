#pragma once
// The plan types a plant knows for its kits (and for whatever other type names its
// hub lists), as the plant section <plmTypes> gives them (docs/plant-format.md,
// "Kit plan types"). Every document carries one, empty unless its plant lists some:
// it is the session's OrvIPLMTypeServices, and its own OrvIMHIPTSInfo.
#include <string>
#include <vector>

#include "HostModel.h"
#include "TavMfgAssy.h"

namespace host {

class HostPlanTypes final : public virtual OrvIPLMTypeServices, public virtual OrvIMHIPTSInfo {
public:
  // The type name whose sub-types are the plan types of kits.
  static constexpr const char* kKitType = "ergocompmanufacturingkit";

  struct PlanType {
    std::string name;
    std::vector<std::string> subTypes;  // in file order
  };

  explicit HostPlanTypes(HostDocument*) {}
  HRESULT GetPTSInfo(Ref<OrvIMHIPTSInfo>& info) const override;
  HRESULT GetSubTypes(const TavUnicodeString& typeName, std::vector<TavUnicodeString>& subTypes) const override;

  const std::vector<PlanType>& Types() const { return types_; }
  // Loading: the section's types, checked by its loader.
  void SetTypes(std::vector<PlanType> types) { types_ = std::move(types); }
  // Whether `planType` is one of the kit plan types.
  bool IsKitPlanType(const TavUnicodeString& planType) const;

private:
  std::vector<PlanType> types_;
};

// The document's catalogue (made for every document at its creation).
HostPlanTypes* PlanTypesOf(const HostDocument& doc);

// The document container, the section <plmTypes>, and the rule that an assembly's
// plan type is a kit plan type of the catalogue.
void RegisterPlanTypes();

}  // namespace host
