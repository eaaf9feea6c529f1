#pragma once
// Comparison support of the reference host: every host object comparable (an
// extension), fasteners with their relations, the hub adapter of hub documents.
#include <unordered_map>

#include "HostModel.h"
#include "TavCompare.h"
#include "TavYor.h"

namespace host {

class HostFastener final : public HostObject, public virtual OrvIBIWFastener {
public:
  std::string LateType() const override { return "OrvBIWFastener"; }
  TavUnicodeString DisplayName() const override { return name_; }
  TavUnicodeString GetName() const override { return name_; }
  void SetName(const TavUnicodeString& n);
  // Coordinates 0..5 in the order of OrvIBIWFastener::kCoordinateNames.
  double Coordinate(int i) const;
  void SetCoordinate(int i, double v);

private:
  friend struct CompareUndo;
  TavUnicodeString name_;
};

// The document's "OrvFPPContainer": fasteners and the parts, assemblies and
// activities each one is related to.
class HostFastenerContainer final : public virtual OrvIBIWFeaturePartRelations {
public:
  explicit HostFastenerContainer(HostDocument* d) : doc_(d) {}
  HRESULT GetFastenersOfPart(const Ref<TavBaseUnknown>& part, std::vector<Ref<TavBaseUnknown>>& fasteners) const override;
  std::vector<Ref<TavBaseUnknown>> GetAllFasteners() const override { return {fasteners_.begin(), fasteners_.end()}; }
  // An empty id gets a fresh one; a taken id throws std::invalid_argument.
  Ref<HostFastener> CreateFastener(const std::string& id, const TavUnicodeString& name);
  // Relates once; a repeated pair is ignored and gives false.
  bool Relate(const Ref<HostFastener>& f, const Ref<TavBaseUnknown>& object);
  // Ends every fastener's relation to the object (one going out of the document),
  // each recorded for undo; the number ended.
  std::size_t UnrelateAll(const Ref<TavBaseUnknown>& object);
  const std::vector<Ref<HostFastener>>& Fasteners() const { return fasteners_; }
  // What the fastener is related to and still exists, in relation order.
  std::vector<Ref<TavBaseUnknown>> RelatedTo(const HostFastener& f) const;

private:
  friend struct CompareUndo;
  HostDocument* doc_;
  std::vector<Ref<HostFastener>> fasteners_;
  std::unordered_map<const TavBaseUnknown*, std::vector<Ref<TavBaseUnknown>>> byObject_;
  // Weak, so that a fastener related to an activity does not keep the activity alive.
  std::unordered_map<const HostFastener*, std::vector<std::weak_ptr<TavBaseUnknown>>> related_;
};

// The document's fastener container; created on first use when `create`.
HostFastenerContainer* FastenersOf(HostDocument& doc, bool create);

// Hub values live on objects of hub documents as attributes named "hub:<name>".
inline constexpr std::string_view kHubAttributePrefix = "hub:";

// Compare conditions per object family come from the comparison settings
// ("CompareConditions.Activity", ".Product", ".Resource", ".Assembly", ".Fastener":
// comma-separated attribute names), "Id" by default: a renamed object still pairs.
// Registers the comparable extension of host objects, the hub adapter that hub
// documents carry as a root container, and the "fasteners" plant section.
void RegisterCompareHost();
// HubChangeOrders.cpp: the hub records' change orders (TavIYorAttributeMgt), <changeOrders>.
void RegisterHubChangeOrders();

}  // namespace host
