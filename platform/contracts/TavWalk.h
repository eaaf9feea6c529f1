#pragma once
// Walks over every object of a large plant (renumbering, comparison) read objects
// that lie far apart in memory. The host knows how its objects lie and may start
// loading those a walk will reach soon; without a host hint a walk is a plain loop.
#include <cstddef>
#include <vector>

#include "TavBase.h"

// How much of each object a walk reads: its label and counts, or most of it.
enum class TavWalkReach { Label, Whole };

class TavWalk {
public:
  // `handles` is the data of a std::vector<Ref<T>> of `count` handles.
  using Hint = void (*)(const void* handles, std::size_t count, std::size_t at, TavWalkReach reach);
  static void Install(Hint hint) { hint_ = hint; }

  // Called at position `at` of a walk over `v`, before the walk reads v[at].
  template <class T>
  static void Ahead(const std::vector<Ref<T>>& v, std::size_t at, TavWalkReach reach = TavWalkReach::Whole) {
    if (hint_) hint_(v.data(), v.size(), at, reach);
  }

private:
  static inline Hint hint_ = nullptr;
};
