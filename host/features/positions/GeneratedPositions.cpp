// Placements and synchronisations for synthetic plants: benchmarks and
// `mirt generate --displaced-every N --sync-every N`.
#include "HostPositions.h"
#include "HostProductWalk.h"

namespace host {

std::size_t AddGeneratedPlacements(HostDocument& doc, std::size_t displacedEvery) {
  HostDesignStore* store = DesignPositionsOf(doc);
  if (!store || displacedEvery == 0) return 0;
  std::size_t n = 0, displaced = 0;
  ForEachProductInTreeOrder(doc, [&](const Ref<HostProduct>& p) {
    // Each product stands somewhere of its own, where its design puts it; every Nth
    // was moved since (a shift, or a quarter turn for every other one).
    TavIMovable::Position design{1, 0, 0, 0, 1, 0, 0, 0, 1, 10.0 * static_cast<double>(n % 1000), 5.0 * static_cast<double>(n / 1000), 0};
    TavIMovable::Position now = design;
    if (n++ % displacedEvery == displacedEvery - 1) {
      if (displaced++ % 2) now[11] += 100;
      else now = {0, 1, 0, -1, 0, 0, 0, 0, 1, design[9], design[10], design[11]};
    }
    store->SetDesign(*p, design);
    p->SetPosition(now);
  });
  return displaced;
}

std::size_t AddGeneratedSynchronisations(HostDocument& doc, std::size_t every) {
  if (every == 0) return 0;
  std::size_t n = 0, made = 0;
  for (auto& root : doc.Process().roots_) {
    std::vector<Ref<HostActivity>> stack{root};
    while (!stack.empty()) {
      Ref<HostActivity> a = stack.back();
      stack.pop_back();
      // Neighbouring sibling activities start (or, every other pair, end) together,
      // unless one runs after the other.
      const auto& c = a->Children();
      for (std::size_t i = 0; i + 1 < c.size(); ++i) {
        if (!c[i]->Type()->IsA("Activity") || !c[i + 1]->Type()->IsA("Activity") || n++ % every != 0) continue;
        const int type = made % 2 ? TavConstraintType::EndEnd : TavConstraintType::StartStart;
        if (!c[i]->IsConstraintPossible(c[i + 1], type)) continue;
        HostActivity::AppendNewSync(c[i], c[i + 1], type);
        ++made;
      }
      for (auto it = c.rbegin(); it != c.rend(); ++it) stack.push_back(*it);
    }
  }
  return made;
}

}  // namespace host
