#pragma once
// Synthetic plants for tests, benchmarks and `mirt generate`: the same spec gives the
// same plant on every machine (own PRNG, no library distributions).
#include <cstdint>

#include "HostModel.h"

namespace host {

struct PlantSpec {
  std::size_t activities = 100;  // in the process tree, the root process included (0: no process)
  std::size_t products = 100;    // product instances in the product tree
  std::size_t resources = 10;    // stations, robots, tools and workers
  int depth = 4;                 // deepest activity below the root
  std::uint64_t seed = 1;
};

// A process tree of mostly "PhysicalActivity" under "Activity" groups with a few
// "AssemblyOperation"s, labels "Op12", "Weld.3", "Station 4"; a product tree of
// "Part.17" instances with part numbers; stations with robots and tools; assemblies
// (some nested, some kits); item, output and resource relations; flow links and
// precedences between siblings. Time and memory are linear in the counts.
Ref<HostDocument> GeneratePlant(const PlantSpec& spec);

// splitmix64: small, fast and the same everywhere.
class SplitMix64 {
public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // In [0, n); n > 0. The slight modulo bias does not matter here.
  std::uint64_t Below(std::uint64_t n) { return Next() % n; }
  bool Percent(unsigned p) { return Below(100) < p; }

private:
  std::uint64_t state_;
};

}  // namespace host
