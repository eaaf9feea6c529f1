// The solver against a plain relaxation written here: every constraint applied over
// and over until nothing changes, on generated plants of several shapes, with
// precedences and control nodes added.
#include <cmath>
#include <map>

#include "PlantGenerator.h"
#include "TimingTestSupport.h"

using namespace timingtest;

namespace {

struct OracleTimes {
  double es = 0, ef = 0, ls = 0, lf = 0;
};

bool Control(const HostActivity& a) {
  for (const char* n : {"Switch", "AndOut", "OrIn", "AndIn", "Start", "Stop", "Feeder", "Deliver"})
    if (a.IsOfType(n)) return true;
  return false;
}

// Repeated relaxation to a fixpoint: earliest start/finish up, latest down.
std::map<const HostActivity*, OracleTimes> Relax(const std::vector<Ref<HostActivity>>& all) {
  std::map<const HostActivity*, OracleTimes> t;
  std::map<const HostActivity*, bool> in;
  for (auto& a : all) in[a.get()] = true;
  auto dur = [](const HostActivity& a) { return a.Children().empty() && !Control(a) ? a.GetTime() : 0.0; };
  for (bool changed = true; changed;) {
    changed = false;
    for (auto& a : all) {
      double es = 0;
      if (auto f = a->FatherActivity(); f && in.count(f.get())) es = std::max(es, t[f.get()].es);
      for (auto& p : a->Previous())
        if (auto pa = p.lock(); pa && in.count(pa.get())) es = std::max(es, t[pa.get()].ef);
      for (auto& p : a->Before())
        if (auto pa = p.lock(); pa && in.count(pa.get())) es = std::max(es, t[pa.get()].ef);
      double ef = es + dur(*a);
      for (auto& c : a->Children()) ef = std::max(ef, t[c.get()].ef);
      if (es != t[a.get()].es || ef != t[a.get()].ef) changed = true;
      t[a.get()].es = es;
      t[a.get()].ef = ef;
    }
  }
  double span = 0;
  for (auto& [a, x] : t) span = std::max(span, x.ef);
  for (auto& [a, x] : t) x.ls = x.lf = span;
  for (bool changed = true; changed;) {
    changed = false;
    for (auto& a : all) {
      double lf = span;
      if (auto f = a->FatherActivity(); f && in.count(f.get())) lf = std::min(lf, t[f.get()].lf);
      for (auto& n : a->Next())
        if (auto na = n.lock(); na && in.count(na.get())) lf = std::min(lf, t[na.get()].ls);
      for (auto& n : a->After())
        if (auto na = n.lock(); na && in.count(na.get())) lf = std::min(lf, t[na.get()].ls);
      double ls = lf - dur(*a);
      for (auto& c : a->Children()) ls = std::min(ls, t[c.get()].ls);
      if (ls != t[a.get()].ls || lf != t[a.get()].lf) changed = true;
      t[a.get()].ls = ls;
      t[a.get()].lf = lf;
    }
  }
  return t;
}

std::vector<Ref<HostActivity>> TreeOf(const Ref<HostActivity>& root) {
  std::vector<Ref<HostActivity>> out{root};
  for (std::size_t i = 0; i < out.size(); ++i)
    for (auto& c : out[i]->Children()) out.push_back(c);
  return out;
}

// Pre-order numbers and the last number in each subtree: a precedence from i to a
// node numbered after i's whole subtree can close no cycle.
void AddPrecedencesAndControls(HostDocument& doc, const Ref<HostActivity>& root, host::SplitMix64& rng) {
  // Control nodes closing some groups: an OrIn after the last child.
  for (auto& a : TreeOf(root))
    if (!a->Children().empty() && !Control(*a) && rng.Percent(30)) {
      auto last = a->Children().back();
      auto orIn = doc.CreateActivity(a, rng.Percent(50) ? "OrIn" : "AndIn", "", "Join");
      ASSERT_EQ(last->AddControlFlowLink(orIn), S_OK);
      auto after = doc.CreateActivity(a, "PhysicalActivity", "", "After");
      after->SetTime(static_cast<double>(rng.Below(50)) / 4);
      ASSERT_EQ(orIn->AddControlFlowLink(after), S_OK);
    }
  std::vector<Ref<HostActivity>> order;
  std::vector<std::size_t> lastInSubtree;
  // Iterative pre-order with subtree ends.
  std::vector<std::pair<HostActivity*, std::size_t>> st{{root.get(), 0}};
  std::map<const HostActivity*, std::size_t> pre;
  while (!st.empty()) {
    auto [a, k] = st.back();
    if (k == 0) {
      pre[a] = order.size();
      order.push_back(std::dynamic_pointer_cast<HostActivity>(a->self()));
      lastInSubtree.push_back(0);
    }
    if (k < a->Children().size()) {
      st.back().second++;
      st.emplace_back(a->Children()[k].get(), 0);
    } else {
      lastInSubtree[pre[a]] = order.size() - 1;
      st.pop_back();
    }
  }
  const std::size_t n = order.size();
  for (std::size_t k = 0; k < n / 10; ++k) {
    const std::size_t i = rng.Below(n);
    if (lastInSubtree[i] + 1 >= n) continue;
    const std::size_t j = lastInSubtree[i] + 1 + rng.Below(n - lastInSubtree[i] - 1);
    if (Control(*order[i]) || Control(*order[j])) continue;
    order[j]->AddPrecedence(order[i]);  // a repeat is refused, which is fine
  }
}

TEST(TimeSolverOracle, GeneratedPlantsMatchARelaxation) {
  struct Shape {
    std::size_t activities;
    int depth;
    std::uint64_t seed;
    bool extra;
  };
  for (const Shape& shape : {Shape{300, 2, 1, false}, Shape{800, 4, 2, true}, Shape{1500, 6, 3, true},
                             Shape{1200, 8, 4, true}, Shape{60, 3, 5, true}}) {
    SCOPED_TRACE("seed " + std::to_string(shape.seed));
    host::PlantSpec spec;
    spec.activities = shape.activities;
    spec.depth = shape.depth;
    spec.seed = shape.seed;
    spec.products = 50;
    spec.resources = 10;
    auto doc = host::GeneratePlant(spec);
    Ref<HostActivity> root = doc->Process().roots_.front();
    host::SplitMix64 rng(shape.seed * 7919);
    if (shape.extra) AddPrecedencesAndControls(*doc, root, rng);
    std::string error;
    ASSERT_EQ(Solve(root, &error), S_OK) << error;
    const auto all = TreeOf(root);
    const auto want = Relax(all);
    double span = 0;
    for (auto& [a, x] : want) span = std::max(span, x.ef);
    std::size_t critical = 0;
    for (auto& a : all) {
      const OracleTimes& w = want.at(a.get());
      auto t = Timed(a);
      ASSERT_TRUE(t->IsTimed());
      EXPECT_NEAR(t->GetBeginTime(), w.es, 1e-9) << a->Label().utf8();
      EXPECT_NEAR(t->GetEndTime(), w.ef, 1e-9) << a->Label().utf8();
      EXPECT_NEAR(t->GetLatestBeginTime(), w.ls, 1e-9) << a->Label().utf8();
      EXPECT_NEAR(t->GetLatestEndTime(), w.lf, 1e-9) << a->Label().utf8();
      EXPECT_EQ(t->IsCritical(), std::abs(w.ls - w.es) <= 1e-9 * std::max(1.0, span)) << a->Label().utf8();
      critical += t->IsCritical();
    }
    EXPECT_GT(critical, 1u);
    EXPECT_LT(critical, all.size());
  }
}

}  // namespace
