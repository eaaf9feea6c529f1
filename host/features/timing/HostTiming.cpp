#include "HostTiming.h"

#include "TavGraph.h"
#include "TimingStore.h"

namespace host {

namespace {

// The solved times of one node, read from its document's store at each call, so a
// handle kept across solves answers the latest ones.
class TimedActivity final : public virtual OrvITimedActivity {
public:
  explicit TimedActivity(Ref<HostActivity> a) : a_(std::move(a)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return a_; }
  bool IsTimed() const override { return static_cast<bool>(Hit()); }
  double GetBeginTime() const override { return Get(&NodeTimes::begin); }
  double GetEndTime() const override { return Get(&NodeTimes::end); }
  double GetLatestBeginTime() const override { return Get(&NodeTimes::latestBegin); }
  double GetLatestEndTime() const override { return Get(&NodeTimes::latestEnd); }
  double GetDuration() const override { return GetEndTime() - GetBeginTime(); }
  double GetSlack() const override { return GetLatestBeginTime() - GetBeginTime(); }
  bool IsCritical() const override {
    auto h = Hit();
    return h && h.Critical();
  }

private:
  TimingStore::Hit Hit() const {
    const TimingStore* store = a_->Doc() ? TimingStore::Of(*a_->Doc()) : nullptr;
    return store ? store->Find(*a_) : TimingStore::Hit{};
  }
  double Get(double NodeTimes::*field) const {
    auto h = Hit();
    return h ? h.Times().*field : 0;
  }
  Ref<HostActivity> a_;
};

HRESULT Solve(const Ref<TavBaseUnknown>& root, TavUnicodeString& error) {
  auto a = std::dynamic_pointer_cast<HostActivity>(root->ExtendedObject());
  if (!a) {
    error = "only the tree of an activity or a behaviour can be timed";
    return E_FAIL;
  }
  if (!a->Doc()) {
    error = "the activity " + a->Label().utf8() + " is in no document";
    return E_FAIL;
  }
  std::string why;
  const HRESULT hr = TimingStore::Make(*a->Doc()).Solve(*a, why);
  error = why;
  return hr;
}

}  // namespace

void RegisterTimingHost() {
  OrvModelTimeSolver::InstallEngine(Solve);
  // Activities' late types are their type names, which plants add to: any late type,
  // answering for activities and control nodes only.
  TavExtensionRegistry::Get().RegisterForAnyType(OrvITimedActivity::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto a = std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
    return a ? std::make_shared<TimedActivity>(std::move(a)) : nullptr;
  });
}

}  // namespace host
