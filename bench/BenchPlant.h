#pragma once
// Generated plants for benchmarks, made once per shape and kept for every round:
// generating a 10^6-activity plant costs more than most of what is timed on it.
#include <functional>
#include <map>
#include <tuple>

#include "PlantGenerator.h"

// `prepare` runs once, on the new plant (attributes a benchmark needs, ...).
inline Ref<host::HostDocument> CachedPlant(std::size_t activities, std::size_t resources, int depth, std::uint64_t seed,
                                           const std::function<void(host::HostDocument&)>& prepare = {}) {
  static std::map<std::tuple<std::size_t, std::size_t, int, std::uint64_t>, Ref<host::HostDocument>> cache;
  auto& d = cache[{activities, resources, depth, seed}];
  if (!d) {
    host::PlantSpec spec;
    spec.activities = activities;
    spec.products = 1000;
    spec.resources = resources;
    spec.depth = depth;
    spec.seed = seed;
    d = host::GeneratePlant(spec);
    if (prepare) prepare(*d);
  }
  return d;
}
