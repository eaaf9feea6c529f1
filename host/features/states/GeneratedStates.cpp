// States for synthetic plants: benchmarks and `mirt generate --states-every N`.
#include "HostProductWalk.h"
#include "HostStates.h"

namespace host {

std::size_t AddGeneratedStates(HostDocument& doc, std::size_t every) {
  HostStateStore* store = StatesOf(doc);
  if (!store || every == 0) return 0;
  std::size_t n = 0, made = 0;
  auto visit = [&](const Ref<HostProduct>& p) {
    if (n++ % every != 0) return;
    TavIMovable::Position open = p->GetPosition(), closed = open;
    open[11] += 50;
    auto qo = store->MakePosition({}, p, "Open", open);
    auto qc = store->MakePosition({}, p, "Closed", closed);
    auto so = store->MakeState({}, "Open");
    auto sc = store->MakeState({}, "Closed");
    so->SetOwner(p);
    sc->SetOwner(p);
    so->SetRelation(qo, OrvStateRelation::AddPosition);
    sc->SetRelation(qc, OrvStateRelation::AddPosition);
    made += 2;
  };
  ForEachProductInTreeOrder(doc, visit);
  store->ClearCalls();
  return made;
}

}  // namespace host
