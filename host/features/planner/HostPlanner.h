#pragma once
// The host's process container extension: mono-process containers, the process
// tree's modification notifications and redraws, and the document's TSAs.
#include "HostModel.h"
#include "TavPlanner.h"

namespace host {

struct ModificationRecord {
  std::string activityId;
  int kind;
  std::string name;  // a named kind ("Add_Context"); empty for a numeric one
};

class HostContExt final : public virtual TavISPPContExt, public virtual TavIRedrawEvent {
public:
  explicit HostContExt(HostDocument* doc) : doc_(doc) {}
  std::vector<Ref<TavISPPMonoProcessContainer>> GetMonoProcessContainers() const override;
  void Redraw() override { ++redraws_; }

  // What the process tree was told, in order (for scripts and tests).
  const std::vector<ModificationRecord>& Modifications() const { return modifications_; }
  int Redraws() const { return redraws_; }
  void Record(const std::string& id, int kind) { modifications_.push_back({id, kind, {}}); }
  void Record(const std::string& id, const std::string& name) { modifications_.push_back({id, 0, name}); }

  // TSAs: activity-like roots outside the process tree, in document order.
  Ref<HostRootActivity> CreateTSA(const std::string& id, const TavUnicodeString& label, const std::string& type = "Activity");
  const std::vector<Ref<HostRootActivity>>& TSAs() const { return tsas_; }

private:
  friend class TsaUndo;
  HostDocument* doc_;
  std::vector<ModificationRecord> modifications_;
  std::vector<Ref<HostRootActivity>> tsas_;
  int redraws_ = 0;
};

// The document's extension (every HostDocument has one).
HostContExt* ContExtOf(const HostDocument& doc);
// Installs the host's planner services (TSAs) behind the platform's static entry points,
// gives every document its process container extension, and registers the plant
// section <tsas> (TsaSection.cpp).
void RegisterPlannerHost();
void RegisterTsaSection();

}  // namespace host
