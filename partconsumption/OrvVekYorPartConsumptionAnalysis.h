#pragma once
// The hub's own part consumption analysis, run beside the engine in a hub
// document. It analyses the hub identifiers it is given, and the activities-of-
// product command gives it none: it makes no record and finds nothing
// unconsumed, so the findings a planner sees are the engine's.
#include <vector>

#include "OrvPartConsumptionAnalysisResult.h"

class OrvVekYorPartConsumptionAnalysis : public TavBaseUnknown {
public:
  // Reads the document's hub information name (empty outside the hub).
  explicit OrvVekYorPartConsumptionAnalysis(const Ref<TavDocument>& document);

  const TavUnicodeString& GetHubInfoName() const { return hubInfoName_; }
  // The three inputs are taken and not kept.
  void SetStartObjects(const std::vector<Ref<TavBaseUnknown>>& objects);
  void SetStartSetting(bool useRights, const std::vector<TavUnicodeString>& attributeNames, const TavUnicodeString& type);
  HRESULT AnalyzePartConsumption(const TavUnicodeString& relationName);
  // Analyses the hub identifiers held; without any it finds no input and makes no record.
  HRESULT IsAssigned();
  // New lists: the records with children or whose activity is not loaded, and the unconsumed parts.
  OrvPartConsumptionRecords GetResultList() const;
  std::vector<Ref<TavBaseUnknown>> GetUnassignedList() const { return unassigned_; }

private:
  TavUnicodeString hubInfoName_;
  std::vector<TavUnicodeString> hubIdentifiers_;
  OrvPartConsumptionRecords records_;
  std::vector<Ref<TavBaseUnknown>> unassigned_;
};
