#pragma once
// One finding of the part consumption analysis: which activity consumes which
// part under which relation, or the summary of an analysed product's children.
#include <vector>

#include "TavPPR.h"

class OrvPartConsumptionAnalysisResult : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvPartConsumptionAnalysisResult);

  // A null part or parent leaves that field as it is; the label is kept only
  // when there is no activity. `unused` is accepted and not stored.
  void SetDisplayInfo(const Ref<TavBaseUnknown>& part, const Ref<TavBaseUnknown>& parent, const TavUnicodeString& unused,
                      const Ref<TavBaseUnknown>& activity, const TavUnicodeString& activityLabel, bool hasChildren,
                      bool allChildrenAssigned, bool isChild, const TavUnicodeString& relation, bool activityLoaded,
                      const TavUnicodeString& effectivity);
  void GetDisplayObjects(Ref<TavBaseUnknown>& part, Ref<TavBaseUnknown>& parent, Ref<TavBaseUnknown>& activity,
                         TavUnicodeString& relation) const;
  // Part name, activity path, relation, parent name, effectivity.
  std::vector<TavUnicodeString> GetDisplayInfo() const;

  bool HasAssignedActivity() const { return activity_ != nullptr || !activityLabel_.IsEmpty(); }
  bool HasChildren() const { return hasChildren_; }
  bool AllChildrenAssigned() const { return allChildrenAssigned_; }
  void SetChildAssignment(bool all) { allChildrenAssigned_ = all; }
  bool IsChild() const { return isChild_; }
  bool IsAssocActLoaded() const { return activityLoaded_; }
  void SetAssocActLoaded(bool loaded) { activityLoaded_ = loaded; }

  const Ref<TavBaseUnknown>& GetSelPrd() const { return part_; }
  const Ref<TavBaseUnknown>& GetParent() const { return parent_; }
  const Ref<TavBaseUnknown>& GetAssocAct() const { return activity_; }
  const TavUnicodeString& GetActivityLabel() const { return activityLabel_; }
  const TavUnicodeString& GetRelation() const { return relation_; }
  const TavUnicodeString& GetEffectivity() const { return effectivity_; }

  // The name shown for a product or a manufactured assembly; empty otherwise.
  static TavUnicodeString NameOf(const Ref<TavBaseUnknown>& object);
  // "Root/Parent/Activity"; through a resource behaviour the resource's product
  // path comes first.
  static TavUnicodeString ActivityPath(const Ref<TavBaseUnknown>& activity);

private:
  Ref<TavBaseUnknown> part_, parent_, activity_;
  TavUnicodeString activityLabel_;
  bool hasChildren_ = false;
  bool allChildrenAssigned_ = false;
  bool isChild_ = false;
  TavUnicodeString relation_;
  bool activityLoaded_ = false;
  TavUnicodeString effectivity_;
};

using OrvPartConsumptionRecords = std::vector<Ref<OrvPartConsumptionAnalysisResult>>;
