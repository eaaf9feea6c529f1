#include "OrvVekPartConsumptionRecords.h"

#include <unordered_set>

int OrvVekPartConsumptionRecords::LocateInAnalysisResult(const OrvPartConsumptionRecords& results,
                                                         const Ref<TavBaseUnknown>& product, int from) {
  if (from < 0) from = 0;
  for (std::size_t i = static_cast<std::size_t>(from); i < results.size(); ++i)
    if (results[i] && SameObject(results[i]->GetSelPrd(), product)) return static_cast<int>(i);
  return -1;
}

HRESULT OrvVekPartConsumptionRecords::AddToAnalysisResults(OrvPartConsumptionRecords* results,
                                                           const OrvPartConsumptionRecords* records) {
  if (!records) return S_OK;
  if (!results) return E_FAIL;
  if (results->empty()) {
    for (auto& r : *records)
      if (r) results->push_back(r);
    return S_OK;
  }
  for (auto& r : *records) {
    if (!r) continue;
    const Ref<TavBaseUnknown>& key = r->IsChild() ? r->GetParent() : r->GetSelPrd();
    int last = -1;
    for (int pos = LocateInAnalysisResult(*results, key, 0); pos >= 0; pos = LocateInAnalysisResult(*results, key, pos + 1))
      last = pos;
    if (last < 0) {
      results->push_back(r);
      continue;
    }
    const Ref<OrvPartConsumptionAnalysisResult> found = (*results)[static_cast<std::size_t>(last)];
    auto after = results->begin() + last + 1;
    if (!r->HasChildren()) {
      results->insert(after, r);
    } else if (r->HasAssignedActivity() && found->HasAssignedActivity()) {
      results->insert(after, r);
    } else if (found->HasAssignedActivity()) {
      // The product already has its consuming records: only the children's verdict is kept.
      if (r->AllChildrenAssigned()) found->SetChildAssignment(true);
    }
  }
  return S_OK;
}

void OrvVekPartConsumptionRecords::CleanUnassignedList(const OrvPartConsumptionRecords& results,
                                                       std::vector<Ref<TavBaseUnknown>>& unassigned) {
  std::unordered_set<const TavBaseUnknown*> parts;
  for (auto& r : results)
    if (r && r->GetSelPrd()) parts.insert(r->GetSelPrd()->ExtendedObject().get());
  std::erase_if(unassigned, [&](const Ref<TavBaseUnknown>& p) { return !p || parts.count(p->ExtendedObject().get()); });
  std::unordered_set<const TavBaseUnknown*> seen;
  std::erase_if(unassigned, [&](const Ref<TavBaseUnknown>& p) { return !seen.insert(p->ExtendedObject().get()).second; });
}

OrvPartConsumptionRecords OrvVekPartConsumptionRecords::GatherReportRecords(const OrvPartConsumptionRecords& results,
                                                                           const std::vector<Ref<TavBaseUnknown>>& unassigned) {
  OrvPartConsumptionRecords out = results;
  out.reserve(results.size() + unassigned.size());
  for (auto& p : unassigned) {
    auto r = std::make_shared<OrvPartConsumptionAnalysisResult>();
    r->SetDisplayInfo(p, nullptr, {}, nullptr, {}, false, false, false, {}, false, "---");
    out.push_back(std::move(r));
  }
  return out;
}
