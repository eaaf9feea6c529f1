#include "TimeSolver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace host {

// ------------------------------------------------------------------ node index
void NodeIndex::Reset(std::size_t count) {
  std::size_t cap = 16;
  while (cap < count * 2) cap <<= 1;  // at most half full
  keys_.assign(cap, nullptr);
  values_.assign(cap, kNone);
  mask_ = cap - 1;
}

std::size_t NodeIndex::Slot(const HostActivity* a) const {
  auto h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(a)) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(h >> 32) & mask_;
}

void NodeIndex::Insert(const HostActivity* a, std::uint32_t n) {
  for (std::size_t s = Slot(a);; s = (s + 1) & mask_)
    if (!keys_[s] || keys_[s] == a) {
      keys_[s] = a;
      values_[s] = n;
      return;
    }
}

std::uint32_t NodeIndex::Find(const HostActivity* a) const {
  if (keys_.empty() || !a) return kNone;
  for (std::size_t s = Slot(a);; s = (s + 1) & mask_) {
    if (keys_[s] == a) return values_[s];
    if (!keys_[s]) return kNone;
  }
}

std::uint32_t TimeSolution::Find(const HostActivity& a) const {
  const std::uint32_t n = index.Find(&a);
  return n != NodeIndex::kNone && modelNumbers[n] == a.GetModelNumber() ? n : NodeIndex::kNone;
}

// ------------------------------------------------------------------ helpers
bool IsControlNode(const HostActivity& a) {
  // Type tests walk the type chain with string compares: remember them per type.
  thread_local std::vector<std::pair<const HostType*, bool>> known;
  const HostType* t = a.Type();
  for (auto& k : known)
    if (k.first == t) return k.second;
  bool control = false;
  for (const char* n : {"Switch", "AndOut", "OrIn", "AndIn", "Start", "Stop", "Feeder", "Deliver"})
    control = control || (t && t->IsA(n));
  known.emplace_back(t, control);
  return control;
}

namespace {

constexpr std::size_t kNamed = 10;

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

std::string Names(const HostDocument& doc, const std::vector<HostActivity*>& list,
                  const std::vector<std::string>& suffix = {}) {
  std::string s;
  for (std::size_t i = 0; i < list.size() && i < kNamed; ++i) {
    if (i) s += ", ";
    s += doc.PathString(list[i]->self());
    if (i < suffix.size()) s += suffix[i];
  }
  if (list.size() > kNamed) s += ", ...";
  return s;
}

// The events of node i: 2i its start, 2i+1 its end.
inline std::uint32_t Start(std::uint32_t i) { return 2 * i; }
inline std::uint32_t End(std::uint32_t i) { return 2 * i + 1; }

// The activities of one cycle among the events Kahn's pass could not order: every
// one of them has a predecessor among them, so walking back always goes on and
// comes round.
std::vector<HostActivity*> FindCycle(const TimeSolution& s, const std::vector<std::uint32_t>& offsets,
                                     const std::vector<std::uint32_t>& targets, const std::vector<std::uint32_t>& indegree) {
  const std::size_t events = offsets.size() - 1;
  std::vector<std::uint32_t> predOffsets(events + 1, 0), preds(targets.size());
  for (std::uint32_t v = 0; v < events; ++v)
    for (std::uint32_t e = offsets[v]; e < offsets[v + 1]; ++e) ++predOffsets[targets[e] + 1];
  for (std::size_t v = 0; v < events; ++v) predOffsets[v + 1] += predOffsets[v];
  std::vector<std::uint32_t> fill(predOffsets.begin(), predOffsets.end() - 1);
  for (std::uint32_t v = 0; v < events; ++v)
    for (std::uint32_t e = offsets[v]; e < offsets[v + 1]; ++e) preds[fill[targets[e]]++] = v;

  std::uint32_t v = 0;
  while (indegree[v] == 0) ++v;
  std::vector<std::int64_t> seenAt(events, -1);
  std::vector<std::uint32_t> walk;
  while (seenAt[v] < 0) {
    seenAt[v] = static_cast<std::int64_t>(walk.size());
    walk.push_back(v);
    for (std::uint32_t e = predOffsets[v]; e < predOffsets[v + 1]; ++e)
      if (indegree[preds[e]] != 0) {
        v = preds[e];
        break;
      }
  }
  // walk[seenAt[v]..] runs against the links: turn it round.
  std::vector<HostActivity*> cycle;
  std::vector<std::uint8_t> named(s.nodes.size(), 0);
  for (std::size_t k = walk.size(); k-- > static_cast<std::size_t>(seenAt[v]);) {
    const std::uint32_t node = walk[k] / 2;
    if (!named[node]) cycle.push_back(s.nodes[node]);
    named[node] = 1;
  }
  // From the node first in the tree's order, so one plant always names it alike.
  auto first = std::min_element(cycle.begin(), cycle.end(), [&](HostActivity* x, HostActivity* y) {
    return s.index.Find(x) < s.index.Find(y);
  });
  std::rotate(cycle.begin(), first, cycle.end());
  return cycle;
}

}  // namespace

bool SolveTimes(const HostDocument& doc, const std::vector<HostActivity*>& roots, TimeSolution& out, std::string& error) {
  out = TimeSolution{};
  TimeSolution s;
  // Dense numbers, depth first; each node's father number beside it.
  std::vector<std::uint32_t> father;
  {
    std::vector<std::pair<HostActivity*, std::uint32_t>> work;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) work.emplace_back(*it, NodeIndex::kNone);
    while (!work.empty()) {
      auto [a, f] = work.back();
      work.pop_back();
      const auto n = static_cast<std::uint32_t>(s.nodes.size());
      s.nodes.push_back(a);
      father.push_back(f);
      const auto& kids = a->Children();
      for (auto it = kids.rbegin(); it != kids.rend(); ++it) work.emplace_back(it->get(), n);
    }
  }
  const std::size_t n = s.nodes.size();
  s.modelNumbers.resize(n);
  s.index.Reset(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    s.index.Insert(s.nodes[i], i);
    s.modelNumbers[i] = s.nodes[i]->GetModelNumber();
  }

  // Durations: a leaf's own time; control nodes and parents none.
  std::vector<double> duration(n, 0);
  std::vector<HostActivity*> negative;
  std::vector<std::string> negativeTimes;
  for (std::size_t i = 0; i < n; ++i) {
    const HostActivity& a = *s.nodes[i];
    if (!a.Children().empty() || IsControlNode(a)) continue;
    const double t = a.GetTime();
    if (!(t >= 0) || !std::isfinite(t)) {
      negative.push_back(s.nodes[i]);
      negativeTimes.push_back(" (" + Number(t) + ")");
    }
    duration[i] = t;
  }
  if (!negative.empty()) {
    error = std::string(negative.size() == 1 ? "a negative duration: " : "negative durations: ") +
            Names(doc, negative, negativeTimes);
    return false;
  }

  // The links as a flat out-edge list per event (CSR). Tree links come from the
  // father numbers; flows and precedences are looked up once and kept.
  const std::size_t events = 2 * n;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> links;  // end event -> start event
  for (std::uint32_t i = 0; i < n; ++i) {
    const HostActivity& a = *s.nodes[i];
    for (auto& w : a.Next()) {
      auto to = w.lock();
      const std::uint32_t t = to ? s.index.Find(to.get()) : NodeIndex::kNone;
      if (t != NodeIndex::kNone) links.emplace_back(End(i), Start(t));
    }
    for (auto& w : a.Before()) {
      auto from = w.lock();
      const std::uint32_t f = from ? s.index.Find(from.get()) : NodeIndex::kNone;
      if (f != NodeIndex::kNone) links.emplace_back(End(f), Start(i));
    }
  }
  std::vector<std::uint32_t> offsets(events + 1, 0);
  for (std::uint32_t i = 0; i < n; ++i) {
    ++offsets[Start(i) + 1];  // start -> end
    if (father[i] != NodeIndex::kNone) {
      ++offsets[Start(father[i]) + 1];
      ++offsets[End(i) + 1];
    }
  }
  for (auto& l : links) ++offsets[l.first + 1];
  for (std::size_t v = 0; v < events; ++v) offsets[v + 1] += offsets[v];
  std::vector<std::uint32_t> targets(offsets.back()), fill(offsets.begin(), offsets.end() - 1);
  for (std::uint32_t i = 0; i < n; ++i) {
    targets[fill[Start(i)]++] = End(i);
    if (father[i] != NodeIndex::kNone) {
      targets[fill[Start(father[i])]++] = Start(i);
      targets[fill[End(i)]++] = End(father[i]);
    }
  }
  for (auto& l : links) targets[fill[l.first]++] = l.second;
  links = {};
  fill = {};
  // The only weighted link is a node's start -> its own end.
  auto weight = [&](std::uint32_t from, std::uint32_t to) { return (from & 1) == 0 && to == from + 1 ? duration[from / 2] : 0.0; };

  // Kahn's order.
  std::vector<std::uint32_t> indegree(events, 0), order;
  order.reserve(events);
  for (std::uint32_t t : targets) ++indegree[t];
  for (std::uint32_t v = 0; v < events; ++v)
    if (indegree[v] == 0) order.push_back(v);
  for (std::size_t k = 0; k < order.size(); ++k) {
    const std::uint32_t v = order[k];
    for (std::uint32_t e = offsets[v]; e < offsets[v + 1]; ++e)
      if (--indegree[targets[e]] == 0) order.push_back(targets[e]);
  }
  if (order.size() < events) {
    error = "a cycle through " + Names(doc, FindCycle(s, offsets, targets, indegree)) +
            " (control flow, precedences and parents spanning their children)";
    return false;
  }

  // Forward: earliest times; back from the span: latest times.
  std::vector<double> earliest(events, 0), latest;
  for (std::uint32_t v : order)
    for (std::uint32_t e = offsets[v]; e < offsets[v + 1]; ++e) {
      const std::uint32_t t = targets[e];
      earliest[t] = std::max(earliest[t], earliest[v] + weight(v, t));
    }
  for (double t : earliest) s.span = std::max(s.span, t);
  latest.assign(events, s.span);
  for (std::size_t k = events; k-- > 0;) {
    const std::uint32_t v = order[k];
    if (offsets[v] == offsets[v + 1]) continue;
    double l = std::numeric_limits<double>::infinity();
    for (std::uint32_t e = offsets[v]; e < offsets[v + 1]; ++e) l = std::min(l, latest[targets[e]] - weight(v, targets[e]));
    latest[v] = l;
  }

  // Sums forward and differences back need not meet exactly: slack within a
  // relative tolerance of the span is none.
  const double tolerance = 1e-9 * std::max(1.0, s.span);
  s.times.resize(n);
  s.critical.resize(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    NodeTimes& t = s.times[i];
    t = {earliest[Start(i)], earliest[End(i)], latest[Start(i)], latest[End(i)]};
    if (std::abs(t.latestBegin - t.begin) <= tolerance) t.latestBegin = t.begin;
    if (std::abs(t.latestEnd - t.end) <= tolerance) t.latestEnd = t.end;
    s.critical[i] = t.latestBegin == t.begin;
  }
  out = std::move(s);
  return true;
}

}  // namespace host
