#include "OrvVekEIConsumption.h"

#include "TavRequirements.h"

namespace {
bool LevelOf(const Ref<TavBaseUnknown>& object, int& level) {
  auto reconciliation = query<OrvIReconciliationAnalysisForEngRequirement>(object);
  return reconciliation && reconciliation->GetReconciliationLevel(level) == S_OK;
}
}  // namespace

TavUnicodeString OrvVekEIConsumption::StateText(int level) {
  switch (level) {
    case OrvIReconciliationAnalysisForEngRequirement::kNoRequirement: return kNone;
    case OrvIReconciliationAnalysisForEngRequirement::kFullyImplemented: return kAll;
    case OrvIReconciliationAnalysisForEngRequirement::kNotFullyImplemented: return kNotAll;
    default: return {};
  }
}

std::vector<OrvVekEIState> OrvVekEIConsumption::Analyze(const std::vector<Ref<TavBaseUnknown>>& selected) {
  std::vector<OrvVekEIState> states;
  for (auto& object : selected) {
    auto product = query<TavIProduct>(object);
    int level = 0;
    if (!product || !LevelOf(object, level)) continue;
    TavUnicodeString state = StateText(level);
    if (state.IsEmpty()) continue;
    for (auto& descendant : product->GetAllDescendants()) {
      if (state == kNotAll) break;
      int below = 0;
      if (!LevelOf(descendant, below) || below == 0) continue;
      if (below == OrvIReconciliationAnalysisForEngRequirement::kFullyImplemented) state = kAll;
      else if (below == OrvIReconciliationAnalysisForEngRequirement::kNotFullyImplemented) state = kNotAll;
    }
    states.push_back({object, state});
  }
  return states;
}

HRESULT OrvVekEIRows::GetEIInfo(int index, int& number, TavUnicodeString& productName,
                                TavUnicodeString& consumptionState) const {
  if (index < 1 || index > GetEIInfoListSize()) return E_FAIL;
  const OrvVekEIState& row = states_[static_cast<std::size_t>(index - 1)];
  number = index;
  auto product = query<TavIProduct>(row.product);
  productName = product ? product->GetName() : TavUnicodeString();
  consumptionState = row.state;
  return S_OK;
}
