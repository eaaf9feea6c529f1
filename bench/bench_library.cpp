// Activity libraries of 10^2, 10^3 and 10^4 types: reading a library (its types then
// known to the host), and what the add-activity dialog asks per type while it builds
// its tree: the type by name, its icon and its sub-activity types.
// Target: the per-type cost at 10^4 at most 2x that at 10^2 (types found by hash).
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "ActivityLibrary.h"
#include "BenchMain.h"

namespace {

// N types, a third of them with three sub types; supers chain in groups of ten.
std::string LibraryText(std::size_t n, const std::string& prefix) {
  std::string out = "<activityLibrary name=\"Generated\">\n";
  for (std::size_t i = 0; i < n; ++i) {
    const std::string name = prefix + std::to_string(i);
    const std::string super = i % 10 ? prefix + std::to_string(i - 1) : "PhysicalActivity";
    out += "  <type name=\"" + name + "\" super=\"" + super + "\" icon=\"I_" + name + "\"";
    if (i % 3 || i + 3 >= n) {
      out += "/>\n";
      continue;
    }
    out += ">\n";
    for (std::size_t k = 1; k <= 3; ++k) out += "    <subType name=\"" + prefix + std::to_string(i + k) + "\"/>\n";
    out += "  </type>\n";
  }
  return out + "</activityLibrary>\n";
}

const host::ActivityLibraryFile& Library(std::size_t n) {
  static std::map<std::size_t, const host::ActivityLibraryFile*> cache;
  auto& f = cache[n];
  if (!f) {
    std::string error;
    f = host::ActivityLibraries::Get().Parse(LibraryText(n, "G" + std::to_string(n) + "_"), "bench.act", error);
    if (!f) throw std::runtime_error(error);
  }
  return *f;
}

void BM_ReadLibrary(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::string text = LibraryText(n, "R" + std::to_string(n) + "_");
  std::string error;
  for (auto _ : state) {
    // Checked, not registered: every round reads the same file anew.
    bool ok = host::ActivityLibraries::Get().Check(text, "bench.act", error);
    benchmark::DoNotOptimize(ok);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}

void BM_TypeTree(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const auto& lib = Library(n);
  OrvVekPlantypeCache* cache = OrvVekPlantypeCache::GetInstance();
  for (auto _ : state) {
    std::size_t icons = 0;
    for (auto& t : lib.Types()) {
      TavUnicodeString bitmap;
      auto found = cache->FindType(t->GetName());
      icons += cache->BitmapName(t->GetName(), bitmap) == S_OK;
      for (auto& sub : found->GetSubActivityTypes()) icons += cache->BitmapName(sub, bitmap) == S_OK;
    }
    benchmark::DoNotOptimize(icons);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}

BENCHMARK(BM_ReadLibrary)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeTree)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
