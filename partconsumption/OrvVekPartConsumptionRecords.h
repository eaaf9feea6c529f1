#pragma once
// Gathering and merging of part consumption records, as the activities-of-product
// command keeps them across picks and hands them to the XML report.
#include "OrvPartConsumptionAnalysisResult.h"

class OrvVekPartConsumptionRecords {
public:
  // Merges `records` into `results`, keeping records grouped by product with
  // children after their parent. Nothing for a null list; E_FAIL without results.
  static HRESULT AddToAnalysisResults(OrvPartConsumptionRecords* results, const OrvPartConsumptionRecords* records);
  // The first position at or after `from` whose record's part is the product, or -1.
  static int LocateInAnalysisResult(const OrvPartConsumptionRecords& results, const Ref<TavBaseUnknown>& product, int from);
  // Removes every product that is the part of a record, then duplicates.
  static void CleanUnassignedList(const OrvPartConsumptionRecords& results, std::vector<Ref<TavBaseUnknown>>& unassigned);
  // What the report writes: the records in order, then one record per
  // unconsumed product (part only, effectivity "---").
  static OrvPartConsumptionRecords GatherReportRecords(const OrvPartConsumptionRecords& results,
                                                       const std::vector<Ref<TavBaseUnknown>>& unassigned);
};
