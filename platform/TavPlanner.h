#pragma once
// The host's planner services that the workbench's services call.
#include "TavPPR.h"

class OrvIResourceBehavior;

class OrvVekServices {
public:
  // The document's TSAs (activity-like objects outside the process tree), in document order.
  static std::vector<Ref<TavBaseUnknown>> GetAllTSAs(const Ref<TavDocument>& doc);

  // Resources and their behaviours (TavAssignment.cpp).
  static bool IsResource(const Ref<TavBaseUnknown>& object);
  // A work-station cell: a resource of type "WSC".
  static bool IsAWSC(const Ref<TavBaseUnknown>& object);
  // 1 when the resource can carry a behaviour, 0 when not or for no resource.
  static int CanResourceHaveBehavior(const Ref<TavBaseUnknown>& resource);
  // The resource's behaviour, created when missing (`existed` false then). E_FAIL
  // with a null behaviour when the resource has none and cannot have one.
  static HRESULT GetResourceBehavior(const Ref<TavBaseUnknown>& resource, int& canHave,
                                     Ref<OrvIResourceBehavior>& behavior, bool& existed);
  static HRESULT DeleteResourceBehavior(const Ref<TavBaseUnknown>& resource);
  // Whether the object is in the product list (with the document's manufactured
  // assemblies, which the PPR tree shows there) or in the resource list of its document.
  static bool InPPRProductList(const Ref<TavBaseUnknown>& object);
  static bool InPPRResourceList(const Ref<TavBaseUnknown>& object);
};

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
