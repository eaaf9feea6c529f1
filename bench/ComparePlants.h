#pragma once
// Two versions of a generated process for the comparison benchmarks: the modified
// one differs in 1% of its activities (a third retimed, a third removed, a third
// added), made once per size.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "HostRuntime.h"
#include "PlantDocument.h"
#include "PlantGenerator.h"

namespace {

struct Pair {
  Ref<host::HostDocument> original, modified;
  std::vector<std::string> originalKeys, modifiedKeys;
};

std::vector<std::string> Keys(const host::HostDocument& d) {
  Ref<TavBaseUnknown> root = d.Process().GetRootActivities()[0];
  std::vector<std::string> keys{query<TavIModelIdentity>(root)->GetId().utf8()};
  for (auto& a : query<TavISPPChildManagement>(root)->GetAllChildren()) keys.push_back(query<TavIModelIdentity>(a)->GetId().utf8());
  return keys;
}

const Pair& Plants(std::size_t n) {
  static std::map<std::size_t, Pair> cache;
  Pair& p = cache[n];
  if (p.original) return p;
  host::PlantSpec spec;
  spec.activities = n;
  spec.products = std::max<std::size_t>(n / 10, 10);
  spec.resources = 50;
  spec.depth = 6;
  spec.seed = 11;
  p.original = host::GeneratePlant(spec);
  std::string error;
  p.modified = host::ParsePlant(host::SerializePlant(*p.original), "modified.xml", error);
  Ref<TavBaseUnknown> root = p.modified->Process().GetRootActivities()[0];
  std::vector<Ref<host::HostActivity>> leaves;
  for (auto& a : query<TavISPPChildManagement>(root)->GetAllChildren()) {
    auto h = std::dynamic_pointer_cast<host::HostActivity>(a);
    if (h && h->GetChildren().empty()) leaves.push_back(h);
  }
  std::size_t changes = 0;
  for (std::size_t i = 0; i < leaves.size() && changes < n / 100; i += 97, ++changes) {
    auto& a = leaves[i];
    switch (changes % 3) {
      case 0: a->SetTime(a->GetTime() + 1); break;
      case 1: p.modified->RemoveActivity(a); break;
      default: p.modified->CreateActivity(a, "PhysicalActivity", "", "Added");
    }
  }
  p.originalKeys = Keys(*p.original);
  p.modifiedKeys = Keys(*p.modified);
  return p;
}

}  // namespace
