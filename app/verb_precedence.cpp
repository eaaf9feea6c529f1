// mirt precedence: for activities, what must come before them, what can run beside
// them and what follows (the sets the process constraint verification shows); or a
// check of the whole process for control-flow cycles and links that break a
// precedence.
#include <algorithm>
#include <iostream>
#include <unordered_map>

#include "OrvVekPrecedenceSets.h"
#include "Output.h"
#include "PlantDocument.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant;
  std::vector<std::string> activities;
  bool check = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

using List = std::vector<Ref<TavBaseUnknown>>;
using Sets = OrvVekPrecedenceSetsUtilities;
constexpr int kViolations = 4;

Ref<TavBaseUnknown> TopOf(Ref<TavBaseUnknown> a) {
  while (auto f = Sets::FatherOf(a)) a = f;
  return a;
}

std::vector<std::string> Paths(const host::HostDocument& doc, const List& l) {
  std::vector<std::string> out;
  out.reserve(l.size());
  for (auto& o : l) out.push_back(doc.PathString(o));
  return out;
}

// ---------------------------------------------------------------- --activity
int RunActivities(const host::HostDocument& doc) {
  const Options& o = Opt();
  std::vector<std::pair<Ref<TavBaseUnknown>, std::string>> picked;
  for (auto& path : o.activities) {
    TavPathElement pe = doc.Resolve(path);
    if (pe.IsEmpty()) throw mirt::VerbError("no activity '" + path + "' in " + o.plant);
    if (!query<TavISPPActivity>(pe.GetLeaf())) throw mirt::VerbError("'" + path + "' is not an activity");
    picked.emplace_back(pe.GetLeaf(), doc.PathString(pe.GetLeaf()));
  }
  mirt::Json all = mirt::Json::array();
  for (auto& [activity, path] : picked) {
    OrvVekPrecedenceSets s = Sets::Compute(activity, TopOf(activity));
    const auto previous = Paths(doc, s.previous), others = Paths(doc, s.others), successors = Paths(doc, s.successors);
    if (o.format.Get() == mirt::Format::Json) {
      all.push_back({{"activity", path}, {"previous", previous}, {"others", others}, {"successors", successors}});
      continue;
    }
    std::cout << path << '\n';
    for (auto& [title, list] : {std::pair{"previous", &previous}, {"others", &others}, {"successors", &successors}}) {
      std::cout << "  " << title << " (" << list->size() << ")" << (list->empty() ? ": none\n" : ":\n");
      for (auto& p : *list) std::cout << "    " << p << '\n';
    }
  }
  if (o.format.Get() == mirt::Format::Json) mirt::PrintJson(std::cout, {{"plant", o.plant}, {"activities", std::move(all)}});
  return 0;
}

// ---------------------------------------------------------------- --check
// Every flow node of the processes (activities and control nodes), tree order.
struct Graph {
  List nodes;
  std::unordered_map<const TavBaseUnknown*, std::uint32_t> index;
  std::vector<std::vector<std::uint32_t>> next, before;  // control flow; precedence predecessors
  std::vector<char> activity;
};

Graph BuildGraph(const host::HostDocument& doc) {
  Graph g;
  g.nodes = mirt::ProcessNodes(doc);
  g.index.reserve(g.nodes.size());
  for (std::uint32_t i = 0; i < g.nodes.size(); ++i) g.index.emplace(g.nodes[i].get(), i);
  g.next.resize(g.nodes.size());
  g.before.resize(g.nodes.size());
  g.activity.resize(g.nodes.size());
  auto add = [&](const List& to, std::vector<std::uint32_t>& out) {
    for (auto& t : to)
      if (auto it = g.index.find(t.get()); it != g.index.end()) out.push_back(it->second);
  };
  for (std::uint32_t i = 0; i < g.nodes.size(); ++i) {
    auto flow = query<TavISPPFlowMgt>(g.nodes[i]);
    auto act = query<TavISPPAbstractActivity>(g.nodes[i]);
    g.activity[i] = act && act->IsOfType("Activity");  // control nodes are of no activity type
    if (flow) add(flow->GetNextNodes(), g.next[i]);
    if (auto p = query<TavISPPPrecedenceMgt>(g.nodes[i])) add(p->GetPrecedences(), g.before[i]);
  }
  return g;
}

// Strongly connected components of the control flow with a cycle (two nodes or
// more, or a node linked to itself); iterative, so long chains cannot overflow.
std::vector<std::vector<std::uint32_t>> FlowCycles(const Graph& g) {
  const std::uint32_t n = static_cast<std::uint32_t>(g.nodes.size()), none = UINT32_MAX;
  std::vector<std::uint32_t> order(n, none), low(n, 0), stack;
  std::vector<char> onStack(n, 0);
  std::vector<std::vector<std::uint32_t>> cycles;
  std::uint32_t counter = 0;
  struct Frame {
    std::uint32_t node, edge;
  };
  for (std::uint32_t s = 0; s < n; ++s) {
    if (order[s] != none) continue;
    std::vector<Frame> work{{s, 0}};
    order[s] = low[s] = counter++;
    stack.push_back(s);
    onStack[s] = 1;
    while (!work.empty()) {
      Frame& f = work.back();
      const std::uint32_t v = f.node;
      if (f.edge < g.next[v].size()) {
        const std::uint32_t w = g.next[v][f.edge++];
        if (order[w] == none) {
          order[w] = low[w] = counter++;
          stack.push_back(w);
          onStack[w] = 1;
          work.push_back({w, 0});
        } else if (onStack[w]) {
          low[v] = std::min(low[v], order[w]);
        }
        continue;
      }
      work.pop_back();
      if (!work.empty()) low[work.back().node] = std::min(low[work.back().node], low[v]);
      if (low[v] != order[v]) continue;
      std::vector<std::uint32_t> scc;
      std::uint32_t w = none;
      do {
        w = stack.back();
        stack.pop_back();
        onStack[w] = 0;
        scc.push_back(w);
      } while (w != v);
      const bool selfLoop = std::find(g.next[v].begin(), g.next[v].end(), v) != g.next[v].end();
      if (scc.size() > 1 || selfLoop) {
        std::sort(scc.begin(), scc.end());  // tree order
        cycles.push_back(std::move(scc));
      }
    }
  }
  std::sort(cycles.begin(), cycles.end());
  return cycles;
}

struct Violation {
  std::uint32_t from, to;
};

// Links a -> b (through control nodes) where b must come before a by precedence,
// directly or transitively. A topological rank of the precedence graph rules most
// links out at once; only a link against the rank is searched for.
std::vector<Violation> PrecedenceViolations(const Graph& g) {
  const std::uint32_t n = static_cast<std::uint32_t>(g.nodes.size()), none = UINT32_MAX;
  // rank: position in a topological order of "before -> after"; none inside a precedence cycle.
  std::vector<std::vector<std::uint32_t>> after(n);
  std::vector<std::uint32_t> indegree(n, 0), rank(n, none), ready;
  for (std::uint32_t a = 0; a < n; ++a)
    for (std::uint32_t b : g.before[a]) {
      after[b].push_back(a);
      ++indegree[a];
    }
  for (std::uint32_t v = 0; v < n; ++v)
    if (indegree[v] == 0) ready.push_back(v);
  for (std::uint32_t r = 0; !ready.empty(); ++r) {
    const std::uint32_t v = ready.back();
    ready.pop_back();
    rank[v] = r;
    for (std::uint32_t w : after[v])
      if (--indegree[w] == 0) ready.push_back(w);
  }
  // Whether b is among a's transitive predecessors.
  std::vector<std::uint32_t> seenAt(n, none), work;
  auto mustPrecede = [&](std::uint32_t b, std::uint32_t a) {
    if (rank[a] != none && rank[b] != none && rank[b] >= rank[a]) return false;
    work.assign(1, a);
    seenAt[a] = a;
    while (!work.empty()) {
      const std::uint32_t v = work.back();
      work.pop_back();
      for (std::uint32_t p : g.before[v]) {
        if (p == b) return true;
        if (seenAt[p] != a) {
          seenAt[p] = a;
          work.push_back(p);
        }
      }
    }
    return false;
  };
  std::vector<Violation> out;
  std::vector<std::uint32_t> visitedFrom(n, none), through;
  for (std::uint32_t a = 0; a < n; ++a) {
    if (!g.activity[a]) continue;
    // The activities a link out of `a` reaches, passing through control nodes.
    std::vector<std::uint32_t> targets;
    through.assign(g.next[a].begin(), g.next[a].end());
    while (!through.empty()) {
      const std::uint32_t v = through.back();
      through.pop_back();
      if (visitedFrom[v] == a) continue;
      visitedFrom[v] = a;
      if (g.activity[v]) targets.push_back(v);
      else through.insert(through.end(), g.next[v].begin(), g.next[v].end());
    }
    std::sort(targets.begin(), targets.end());
    for (std::uint32_t b : targets)
      if (b != a && mustPrecede(b, a)) out.push_back({a, b});
  }
  return out;
}

int RunCheck(const host::HostDocument& doc) {
  const Options& o = Opt();
  const Graph g = BuildGraph(doc);
  const auto cycles = FlowCycles(g);
  const auto violations = PrecedenceViolations(g);
  auto path = [&](std::uint32_t i) { return doc.PathString(g.nodes[i]); };
  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json jc = mirt::Json::array(), jv = mirt::Json::array();
    for (auto& c : cycles) {
      mirt::Json nodes = mirt::Json::array();
      for (auto i : c) nodes.push_back(path(i));
      jc.push_back(std::move(nodes));
    }
    for (auto& v : violations) jv.push_back({{"from", path(v.from)}, {"to", path(v.to)}});
    mirt::PrintJson(std::cout, {{"plant", o.plant},
                                {"clean", cycles.empty() && violations.empty()},
                                {"cycles", std::move(jc)},
                                {"violations", std::move(jv)}});
  } else {
    std::cout << "Control-flow cycles (" << cycles.size() << ")" << (cycles.empty() ? ": none\n" : ":\n");
    for (auto& c : cycles) {
      std::cout << "  ";
      for (std::size_t k = 0; k < c.size(); ++k) std::cout << (k ? ", " : "") << path(c[k]);
      std::cout << '\n';
    }
    std::cout << "Links against a precedence (" << violations.size() << ")" << (violations.empty() ? ": none\n" : ":\n");
    for (auto& v : violations)
      std::cout << "  " << path(v.from) << " -> " << path(v.to) << " (" << path(v.to) << " must come first)\n";
  }
  return cycles.empty() && violations.empty() ? 0 : kViolations;
}

int Run() {
  Options& o = Opt();
  if (o.check == !o.activities.empty())
    throw mirt::VerbError("give either --activity PATH... or --check");
  std::string error;
  Ref<host::HostDocument> doc = mirt::LoadPlantForVerb(o.plant, error);
  if (!doc) throw mirt::VerbError(error);
  return o.check ? RunCheck(*doc) : RunActivities(*doc);
}

}  // namespace

mirt::Verb mirt::PrecedenceVerb() {
  return mirt::Verb{
    "precedence", "What comes before, beside and after activities by precedence; or a check of the control flow", 25,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "Plant file")->required()->check(CLI::ExistingFile);
      sub.add_option("--activity,-a", o.activities,
                     "Activities to examine: paths such as \"Process/Body Shop/Framing/Load\" or ids such as #op10 "
                     "(several after one -a, or -a repeated)")
          ->expected(1, -1);
      sub.add_flag("--check", o.check,
                   "Report control-flow cycles (through control nodes) and links a -> b where b must come before a "
                   "by precedence; exit 4 when there are any");
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Exit codes: 0 done (--check: clean), 1 bad input, 4 cycles or violations found.");
    },
    Run};
}
