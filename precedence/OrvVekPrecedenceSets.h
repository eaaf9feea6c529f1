#pragma once
// The three sets of process constraint verification for one activity A, level by
// level from A's parent up to the root process:
//   previous:   siblings that must be done before (transitive predecessors);
//   successors: siblings that can only start after (transitive successors);
//   others:     the remaining siblings, unordered with respect to the examined one;
// then the same for A's father among its siblings, and so on up to (without) the
// root's level. Walks are iterative and visit each activity once, so a 10^5 chain
// or a precedence cycle neither overflows the stack nor loops.
#include <vector>

#include "TavPPR.h"

struct OrvVekPrecedenceSets {
  std::vector<Ref<TavBaseUnknown>> previous, successors, others;
};

class OrvVekPrecedenceSetsUtilities {
public:
  // The three sets of `activity`, stopping at `root` (the root process); every
  // missing interface counts as nothing to add.
  static OrvVekPrecedenceSets Compute(const Ref<TavBaseUnknown>& activity, const Ref<TavBaseUnknown>& root);

  // The activity's transitive predecessors by precedence, in the order a depth-first
  // walk meets them (each predecessor, then its own predecessors); each once.
  static std::vector<Ref<TavBaseUnknown>> GetPreviousAct(const Ref<TavBaseUnknown>& activity);
  // The father activity, or null.
  static Ref<TavBaseUnknown> FatherOf(const Ref<TavBaseUnknown>& activity);
  // The "PhysicalActivity" children of an activity.
  static std::vector<Ref<TavBaseUnknown>> PhysicalChildren(const Ref<TavBaseUnknown>& activity);
};
