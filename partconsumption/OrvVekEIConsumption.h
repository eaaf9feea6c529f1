#pragma once
// The engineering-requirement state of picked products: whether the process
// implements what engineering requires of each product and its descendants.
#include <vector>

#include "OrvVekGenPartConsumptionXML.h"
#include "TavPPR.h"

struct OrvVekEIState {
  Ref<TavBaseUnknown> product;
  TavUnicodeString state;
};

class OrvVekEIConsumption {
public:
  static constexpr const char* kNone = "No Engineering Requirements to implement";
  static constexpr const char* kAll = "All Engineering Requirements fully implemented";
  static constexpr const char* kNotAll = "At least one Engineering Requirements not fully implemented";

  // One state per product that answers the reconciliation query, in the order of
  // `selected`. A product that cannot answer has no state at all, so every state
  // stays paired with its own product. A descendant's requirements count for the
  // product: any descendant with requirements makes it "all implemented" unless
  // one of them is not fully implemented, which is final.
  static std::vector<OrvVekEIState> Analyze(const std::vector<Ref<TavBaseUnknown>>& selected);
  // The state text of a level (0, 1 or 2); empty for another level.
  static TavUnicodeString StateText(int level);
};

// Engineering-requirement states as the report's EI rows, for callers without
// the dialog (batch runs): the rows the dialog would show for the same states.
class OrvVekEIRows : public OrvIPartConsumptionEIInfo {
public:
  explicit OrvVekEIRows(std::vector<OrvVekEIState> states) : states_(std::move(states)) {}
  int GetEIInfoListSize() const override { return static_cast<int>(states_.size()); }
  const std::vector<OrvVekEIState>& Rows() const { return states_; }
  HRESULT GetEIInfo(int index, int& number, TavUnicodeString& productName, TavUnicodeString& consumptionState) const override;

private:
  std::vector<OrvVekEIState> states_;
};
