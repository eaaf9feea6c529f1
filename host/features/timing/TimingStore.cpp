#include "TimingStore.h"

#include <algorithm>

#include "TavActivityLib.h"

namespace host {

HostActivity* TopActivity(HostActivity& a) {
  HostActivity* top = &a;
  for (auto f = a.FatherActivity(); f; f = f->FatherActivity()) top = f.get();
  return top;
}

TimingStore* TimingStore::Of(const HostDocument& doc) { return doc.FindContainer<TimingStore>(); }
TimingStore& TimingStore::Make(HostDocument& doc) { return doc.FindOrAddContainer<TimingStore>(); }

HRESULT TimingStore::Solve(HostActivity& node, std::string& error) {
  HostActivity* top = TopActivity(node);
  std::vector<HostActivity*> roots;
  const void* key = top;
  if (top->IsOfType("OrvBehavior")) {
    // Behaviours share one root: they are solved together, from 0.
    key = doc_;
    auto container = query<OrvIBehaviorContainer>(doc_->GetRootContainer(OrvIBehaviorContainer::kInterfaceName));
    for (auto& b : container ? container->GetBehaviors() : std::vector<Ref<TavBaseUnknown>>{})
      if (auto* h = TavCast<HostActivity>(b.get())) roots.push_back(h);
    if (std::find(roots.begin(), roots.end(), top) == roots.end()) roots.push_back(top);
  } else {
    roots.push_back(top);
  }
  // The tree's previous times go first, so that a failure leaves none.
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; }),
                 entries_.end());
  auto solution = std::make_unique<TimeSolution>();
  if (!SolveTimes(*doc_, roots, *solution, error)) return E_FAIL;
  entries_.push_back({key, std::move(solution), ++serial_});
  return S_OK;
}

TimingStore::Hit TimingStore::Find(const HostActivity& a) const {
  Hit best;
  std::uint64_t bestSerial = 0;
  for (auto& e : entries_) {
    const std::uint32_t n = e.solution->Find(a);
    if (n != NodeIndex::kNone && e.serial > bestSerial) {
      best = Hit{e.solution.get(), n};
      bestSerial = e.serial;
    }
  }
  return best;
}

}  // namespace host
