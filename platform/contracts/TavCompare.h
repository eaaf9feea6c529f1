#pragma once
// What makes objects comparable: attribute access and compare conditions, fasteners
// with their relations to parts, and the comparison tool's settings.
#include <array>
#include <utility>

#include "TavPPR.h"

// The comparable face of a model object (activity, product, resource, assembly,
// fastener). Values are texts as the user reads them.
class OrvICompareObjects : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvICompareObjects);
  virtual std::vector<TavUnicodeString> GetAttributeNames() const = 0;
  virtual HRESULT GetAttributeValue(const TavUnicodeString& name, TavUnicodeString& value) const = 0;
  // Values in the order of the names; E_FAIL when one of them is unknown.
  virtual HRESULT GetAttributeValues(const std::vector<TavUnicodeString>& names,
                                     std::vector<TavUnicodeString>& values) const = 0;
  // Whole-attribute equality.
  virtual bool IsEqualTo(const Ref<TavBaseUnknown>& other) const = 0;
  // The key attributes that identify the object across two versions of a plant.
  virtual std::vector<TavUnicodeString> GetCompareConditionNames() const = 0;
  virtual void GetAttributeNamesAndValues(std::vector<TavUnicodeString>& names,
                                          std::vector<TavUnicodeString>& values) const = 0;
  // Names whose values differ, with this object's and the other's values.
  virtual void GetChangedAttributes(const Ref<TavBaseUnknown>& other, std::vector<TavUnicodeString>& names,
                                    std::vector<TavUnicodeString>& mine, std::vector<TavUnicodeString>& theirs) const = 0;
  virtual void GetAllAttributeValues(const Ref<TavBaseUnknown>& other, std::vector<TavUnicodeString>& names,
                                     std::vector<TavUnicodeString>& mine, std::vector<TavUnicodeString>& theirs) const = 0;
};

// A body-in-white fastener (spot weld, rivet, ...). Its design and manufacturing
// positions are the attributes "DesignPosition_X" ... "ManufPosition_Z".
class OrvIBIWFastener : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIBIWFastener);
  static constexpr std::array<const char*, 6> kCoordinateNames = {"DesignPosition_X", "DesignPosition_Y", "DesignPosition_Z",
                                                                  "ManufPosition_X",  "ManufPosition_Y",  "ManufPosition_Z"};
  virtual TavUnicodeString GetName() const = 0;
};

// The document's fastener relation container ("OrvFPPContainer"): which fasteners
// join which parts and are made by which activities.
class OrvIBIWFeaturePartRelations : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIBIWFeaturePartRelations);
  static constexpr const char* kContainerName = "OrvFPPContainer";
  // The fasteners related to a product, assembly or activity, in relation order.
  virtual HRESULT GetFastenersOfPart(const Ref<TavBaseUnknown>& part, std::vector<Ref<TavBaseUnknown>>& fasteners) const = 0;
  virtual std::vector<Ref<TavBaseUnknown>> GetAllFasteners() const = 0;
};

// The document's fastener relation container, or null.
inline Ref<OrvIBIWFeaturePartRelations> OrvFastenerRelationsOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  for (auto& c : doc->GetContainers())
    if (auto f = std::dynamic_pointer_cast<OrvIBIWFeaturePartRelations>(c)) return f;
  return nullptr;
}

// The comparison tool's settings, from the setting repository "OrvDSICompareToolSettingCtrl".
// Kinds are indexed 0 activities, 1 products, 2 resources, 3 manufactured assemblies, 4 fasteners.
class OrvIDSICompareToolSettingAtt {
public:
  static constexpr const char* kRepository = "OrvDSICompareToolSettingCtrl";
  using KeyPair = std::pair<TavUnicodeString, TavUnicodeString>;  // (original document name, modified document name)

  std::array<double, 3> tolerance{0.1, 0.1, 0.1};  // fastener position tolerance along X, Y, Z
  std::array<bool, 5> rootCheck{};                  // the two roots must agree on their compare conditions
  bool coordinateCheck = true;                      // fasteners compare by position
  // Hub mode only.
  std::array<bool, 5> ownMatching{true, true, true, true, true};
  std::array<bool, 5> identityMatching{};
  std::array<std::vector<KeyPair>, 5> hubKeys;  // pairs with both names non-blank

  // Keys: "ToleranceX", "ToleranceY", "ToleranceZ", "CheckRoot.<k>", "CoordinateCheck",
  // "OwnMatching.<k>", "IdentityMatching.<k>", "HubKey<n>.<k>.Original" / ".Modified" (n = 1..3).
  // The report attributes, one text for every feature (OrvVekCompareUtilities reads
  // and writes it), byte for byte:
  //   "$$" feature "$" then per attribute: name "|" kind "|"      (kind "V" own, "E" hub)
  // e.g. "$$P1$A|V|B|E|$$P2$C|V|". A block ends at the first "$" after its head; names
  // hold no "$" or "|"; a root without a feature is "FeatureNameNotAvailable".
  static constexpr const char* kReportAttributesKey = "ReportAttributes";
  static OrvIDSICompareToolSettingAtt Read();
};

void TavDeclareCompareInterfaces();
