#pragma once
// The part consumption analysis as other components obtain it: by interface
// query on a product or a manufactured assembly.
#include "OrvPartConsumptionAnalysisResult.h"

class OrvIPartConsumptionAnalysis : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIPartConsumptionAnalysis);
  // Either list may be null. Keeps copies, releases every record and starts an
  // empty unassigned list.
  virtual HRESULT SetInputs(const std::vector<Ref<TavBaseUnknown>>* products,
                            const std::vector<TavUnicodeString>* relations) = 0;
  // Appends records and unconsumed products; a second call without SetInputs appends again.
  virtual HRESULT AnalyzeConsumption(bool checkParent, bool checkChildren) = 0;
  // New lists, in order. The records stay the engine's until the next SetInputs.
  virtual std::vector<Ref<TavBaseUnknown>> GetUnassignedParts() const = 0;
  virtual std::vector<Ref<OrvPartConsumptionAnalysisResult>> GetAnalysisResults() const = 0;

  // Convenience for callers that hold plain lists.
  HRESULT SetInputs(const std::vector<Ref<TavBaseUnknown>>& products, const std::vector<TavUnicodeString>& relations) {
    return SetInputs(&products, &relations);
  }
};
