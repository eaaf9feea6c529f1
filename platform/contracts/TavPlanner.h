#pragma once
// The host's planner services that the workbench's services call.
#include "TavPPR.h"

// What the host installs behind OrvVekServices.
class TavPlannerHost {
public:
  virtual ~TavPlannerHost() = default;
  static TavPlannerHost* Get();
  static void Install(TavPlannerHost* p);
  virtual std::vector<Ref<TavBaseUnknown>> GetAllTSAs(const Ref<TavDocument>& doc) = 0;
};

// Activity modification kinds the process tree listens to.
namespace TavActivityModification {
inline constexpr int AddContext = 13, CreateChild = 9, AddChild = 27;
}

// One process of the process container extension, with its root activity.
class TavISPPMonoProcessContainer : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPMonoProcessContainer);
  virtual Ref<TavISPPActivity> GetRootActivity() const = 0;
  // Tells the process tree that the activity changed.
  virtual void SendModification(const Ref<TavISPPActivity>& activity, int kind) = 0;
};

// The process container extension of a document (container kind "TavSPPContExt").
class TavISPPContExt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPContExt);
  static constexpr const char* kContainerKind = "TavSPPContExt";
  virtual std::vector<Ref<TavISPPMonoProcessContainer>> GetMonoProcessContainers() const = 0;
};

// Redraws the process tree.
class TavIRedrawEvent : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIRedrawEvent);
  virtual void Redraw() = 0;
};
