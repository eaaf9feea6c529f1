#include "OrvVekYorPartConsumptionAnalysis.h"

#include "TavRequirements.h"

OrvVekYorPartConsumptionAnalysis::OrvVekYorPartConsumptionAnalysis(const Ref<TavDocument>& document) {
  if (auto info = OrvMHIDocInfoOf(document)) {
    TavUnicodeString name;
    if (info->GetHubInfoName(name) == S_OK) hubInfoName_ = name;
  }
}

void OrvVekYorPartConsumptionAnalysis::SetStartObjects(const std::vector<Ref<TavBaseUnknown>>&) {}

void OrvVekYorPartConsumptionAnalysis::SetStartSetting(bool, const std::vector<TavUnicodeString>&, const TavUnicodeString&) {}

HRESULT OrvVekYorPartConsumptionAnalysis::AnalyzePartConsumption(const TavUnicodeString&) { return S_OK; }

HRESULT OrvVekYorPartConsumptionAnalysis::IsAssigned() {
  // Each identifier would be looked up in the hub; none was ever given.
  if (hubIdentifiers_.empty()) return S_FALSE;
  return S_OK;
}

OrvPartConsumptionRecords OrvVekYorPartConsumptionAnalysis::GetResultList() const {
  OrvPartConsumptionRecords out;
  for (auto& r : records_)
    if (r && (r->HasChildren() || !r->IsAssocActLoaded())) out.push_back(r);
  return out;
}
