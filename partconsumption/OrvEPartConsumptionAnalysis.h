#pragma once
// The part consumption analysis engine: which activities consume the given
// products (related under a relation name, output, or used as a resource),
// looking up through fathers and containing manufactured assemblies and down
// into children as asked.
#include <memory>
#include <optional>

#include "OrvIPartConsumptionAnalysis.h"

class OrvPartConsumptionFinder;

class OrvEPartConsumptionAnalysis : public virtual OrvIPartConsumptionAnalysis {
public:
  // Indexed answers every query from maps built once per AnalyzeConsumption;
  // Literal walks every activity for every product, as the definition reads.
  // Both give the same records in the same order; Literal is kept as the oracle.
  enum class Strategy { Indexed, Literal };

  // `extended` is the object the engine was asked on (it may be null).
  explicit OrvEPartConsumptionAnalysis(Ref<TavBaseUnknown> extended = nullptr);
  ~OrvEPartConsumptionAnalysis() override;
  static Ref<OrvEPartConsumptionAnalysis> Create(Ref<TavBaseUnknown> extended = nullptr) {
    return std::make_shared<OrvEPartConsumptionAnalysis>(std::move(extended));
  }

  Ref<TavBaseUnknown> ExtendedObject() override;

  HRESULT SetInputs(const std::vector<Ref<TavBaseUnknown>>* products, const std::vector<TavUnicodeString>* relations) override;
  using OrvIPartConsumptionAnalysis::SetInputs;
  HRESULT AnalyzeConsumption(bool checkParent, bool checkChildren) override;
  std::vector<Ref<TavBaseUnknown>> GetUnassignedParts() const override;
  std::vector<Ref<OrvPartConsumptionAnalysisResult>> GetAnalysisResults() const override;

  void SetStrategy(Strategy s) { strategy_ = s; }
  Strategy GetStrategy() const { return strategy_; }
  // The current editor's document when the engine was made.
  Ref<TavDocument> GetDocument() const { return document_.lock(); }

  // The item relation code a relation name is tested under; 0 for names tested otherwise.
  static unsigned AssignmentTypeCode(const TavUnicodeString& relationName);
  static constexpr const char* kCreatesRelation = "Process Creates Product";

private:
  bool IsAssigned(OrvPartConsumptionFinder& finder, const Ref<TavBaseUnknown>& product, bool isChild, bool swap,
                  const Ref<TavBaseUnknown>& other);

  Ref<TavBaseUnknown> extended_;
  std::weak_ptr<TavDocument> document_;
  std::optional<std::vector<Ref<TavBaseUnknown>>> products_;
  std::optional<std::vector<TavUnicodeString>> relations_;
  std::vector<Ref<TavBaseUnknown>> unassigned_;
  OrvPartConsumptionRecords results_;
  Strategy strategy_ = Strategy::Indexed;
};
